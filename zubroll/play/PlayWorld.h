// A self-contained play world for tests and benchmarks: the surface, image
// list, sprite engine and tables of the main form, wired into the play host,
// and a frame step with the main form's order (move, collisions, removal,
// score step, roulette step, draw, play rules). The play rules are the scene
// flow's play states (run start, stage start, play, clear, miss, game over),
// kept to what a stage needs; the shell's scene step replaces them in the game.
#pragma once
#include <string>
#include <vector>

#include "zubroll/play/Field.h"

namespace zubroll {

class TPlayWorld {
 public:
  // Images from `data_folder` ("<name>.bmp" per catalogue item) when given and
  // present, else plain pictures made from the catalogue.
  explicit TPlayWorld(const std::string& data_folder = "");
  ~TPlayWorld();
  TPlayWorld(const TPlayWorld&) = delete;
  TPlayWorld& operator=(const TPlayWorld&) = delete;

  TDirectDrawSurface Surface;
  TDXImageList Images;
  TSpriteEngine Engine{&Surface};
  TLookupTable LTable;

  int PointerX = 200;      // surface x of the pointer
  bool ButtonDown = false; // the serve button
  bool Autoplay = false;   // the demo player steers and serves
  bool Draw = true;        // draw each frame
  std::vector<std::string> Sounds;  // every sound played, in order
  long Frames = 0;
  int PaddleX = 168, PaddleY = 378;

  // A stage set in memory: `cells` rows of 34 characters ('0'..'9', ' ' empty,
  // 'a'..'d' for the boss codes 10..13) for stage `stage`, parameters as the
  // blank defaults, clear count from the breakable eggs.
  static void PutStage(TStageSet& set, int stage, const std::vector<std::string>& rows);
  // Begins a run at `stage` of StageSet (state 1, as the main form's game start).
  void StartRun(int stage, int difficulty = 0);
  void Frame();
  void RunFrames(int n);
  // Runs until `pred` or `limit` frames; true when pred held.
  template <class P>
  bool RunUntil(P pred, int limit) {
    for (int i = 0; i < limit; ++i) {
      if (pred()) return true;
      Frame();
    }
    return pred();
  }
  bool Played(const std::string& name) const;
  bool SavePng(const std::string& path) const;

 private:
  void PlayRules();
  void BuildField(int stage);
};

}  // namespace zubroll
