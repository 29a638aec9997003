// The scene machine: the step that runs once per frame after the draw (every
// GameState and its moves), the title sequence, the credit pages, the state
// after a game, and the hooks through which the editor and the music join it.
#pragma once
#include <functional>
#include <string>

#include "zubroll/play/hooks.h"
#include "zubroll/sprite/sprite.h"

namespace zubroll {

class TMainZubForm;

// Units that are not part of the scene machine plug in here; an empty hook does nothing.
struct TSceneHooks {
  std::function<void(TMainZubForm&)> OpenEditor;  // state 16, once (stage editor)
  std::function<void(int stage)> ChooseBlindMusic; // a blind towards `stage` starts
  std::function<void()> BlindClosed;               // the blind covers the field
};
TSceneHooks& SceneHooks();

// Connects the play units' scene hooks (blind, game over, stage play reset) to the
// scene machine. Called once the form's engine exists.
void InstallSceneHooks(TMainZubForm& form);

// The attract replay files of the title, by AttractIndex.
extern const char* const kAttractReplays[8];

// One line of a credit page.
struct TCreditLine {
  int X, Y, Size;
  const char* Text;
  bool Shadowed;  // black at (X, Y) and the page colour at (X - 1, Y - 1); else black only
};
struct TCreditPage {
  TRGB Colour;
  int Count;
  TCreditLine Lines[6];
};
// The page of states 8 .. 11 (nullptr for other states).
const TCreditPage* CreditPage(int state);
void DrawCreditPage(TCanvas& canvas, int state);

// The version text of the about screen's first page.
constexpr const char* kVersionText = "V1.0.8E";

// Every live top-level actor of class T in the engine.
template <class T>
int CountActors(TSpriteEngine& e) {
  int n = 0;
  for (int i = 0; i < e.Count(); ++i)
    if (auto* s = dynamic_cast<T*>(e.Items(i)))
      if (!s->Deaded()) ++n;
  return n;
}
template <class T>
T* FindActor(TSpriteEngine& e) {
  for (int i = 0; i < e.Count(); ++i)
    if (auto* s = dynamic_cast<T*>(e.Items(i)))
      if (!s->Deaded()) return s;
  return nullptr;
}
template <class T>
void KillActors(TSpriteEngine& e) {
  for (int i = 0; i < e.Count(); ++i)
    if (auto* s = dynamic_cast<T*>(e.Items(i))) s->Dead();
}

}  // namespace zubroll
