// The play field's common ground: the services the play actors use from the
// main form (engine, images, tables, sounds, the serve button, the cursor),
// the hooks through which later units (stage sets, monsters, bosses, music,
// replays, ending) plug in, safe references between actors, and the field
// operations the scene flow calls.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <type_traits>

#include "platform/trace.h"
#include "zubroll/shell/Lkuptabl.h"
#include "zubroll/shell/gamestate.h"
#include "zubroll/sprite/sprite.h"

namespace zubroll {

// Base of every play actor: registered while alive, so that other actors can
// hold a TRef to it without ever touching freed memory.
class TPlayActor : public TImageSprite {
 public:
  explicit TPlayActor(TSpriteEngine* engine);
  ~TPlayActor() override;
  uint64_t Serial() const { return serial_; }
  // Boss and ending classes answer true: ClearFieldActors removes them.
  virtual bool ClearedWithField() const { return false; }
  // Boss heads (GBos, BBos, QBos, EggKing) answer true while alive.
  virtual bool IsBossHead() const { return false; }
  // Sets the image by name from the play host's image list.
  void UseImage(const char* name);

 private:
  uint64_t serial_;
};

// True while the actor with this address and serial has not been freed.
bool ActorAlive(const TPlayActor* a, uint64_t serial);

template <class T>
class TRef {
 public:
  TRef() = default;
  TRef(T* p) { *this = p; }  // NOLINT: implicit on purpose
  TRef& operator=(T* p) {
    ptr_ = p;
    serial_ = p ? p->Serial() : 0;
    return *this;
  }
  T* get() const { return ptr_ && ActorAlive(ptr_, serial_) ? ptr_ : nullptr; }
  T* operator->() const { return get(); }
  explicit operator bool() const { return get() != nullptr; }
  // Alive and not yet dead.
  T* live() const {
    T* p = get();
    return p && !p->Deaded() ? p : nullptr;
  }

 private:
  T* ptr_ = nullptr;
  uint64_t serial_ = 0;
};

// A monster of the stage (collision groups -4, -5, -6): what the ball and the
// mole need to know of it. The monster unit derives its actors from this.
class TMonsterActor : public TPlayActor {
 public:
  using TPlayActor::TPlayActor;
  virtual bool MonsterIdle() const = 0;      // may grab the mole
  virtual bool MonsterDying() const = 0;     // no "HitKaizyu" any more
  virtual void MonsterGrab() = 0;            // enters its grabbing state (10)
  virtual bool MonsterGrabbing() const = 0;  // still in that state
  virtual void MonsterRelease(int wait) = 0; // back to idle after `wait` frames
};

// What the play actors use from the main form and the other units. The shell
// fills it once at start-up; tests and benchmarks fill it with their own.
struct TPlayHost {
  TSpriteEngine* Engine = nullptr;
  TDXImageList* Images = nullptr;
  const TLookupTable* LTable = nullptr;
  std::function<void(const std::string& name, int x, bool wait)> PlaySound;
  std::function<bool()> ButtonPressed;               // the serve button
  std::function<void(int x, int y)> SetCursorToPaddle;
  std::function<int()> PaddleX, PaddleY;             // the pointer as the game sees it

  // Hooks of later units; an empty hook does nothing (or what is said).
  std::function<void(int stage)> ApplyStageParameters;  // empty: copies the five values here
  std::function<void(int stage)> SpawnMonster;
  std::function<void()> StartRecording;
  std::function<void()> SaveReplay;
  std::function<void()> BgmSetSpeed;                    // after every change of BallsInPlay
  std::function<void()> MoleLostBall;                   // an awake EggKing laughs
  // Boss cells 10..13 of a stage at the cell's position.
  std::function<void(int code, int x, int y)> CreateBoss;
  // The ball met a boss part (groups 70, 71, 80, 81, 90, 91, 100, 101, 104).
  std::function<void(class TDevadivSprite* ball, TSprite* part)> BallHitsBoss;
  // Scene flow pieces the play states use.
  std::function<void()> DismissMonsters;          // every monster leaves (stage cleared)
  std::function<void(int difficulty)> StartEnding;
  // The stage-change blind towards a stage; empty: the field is rebuilt at once
  // when the mole has left (TitleLocked), without a curtain.
  std::function<void(int stage)> StartBlind;
  std::function<void()> ResetStagePlay;           // empty: ResetPlayCounters
  std::function<void()> WriteRunRecovery;         // stage cleared
  std::function<void()> GameOverBegins;           // save the replay, stop the music, letters...
};
extern TPlayHost PlayHost;

// Through the host (nothing when the hook is empty).
void PlaySound(const std::string& name, int x, bool wait = false);
void ApplyStageParametersOf(int stage);

// The sine and cosine tables (values x 1000) of the host's LTable; degrees
// outside 0..360 are taken modulo 360.
int SinOf(int degrees);
int CosOf(int degrees);

// Integer division truncating toward zero of a 64-bit fixed-point value.
inline int UnitsToPixels(int64_t units) { return int(units / 4096); }

// Every top-level actor of class T, in engine order.
template <class T, class F>
void ForEachActor(F&& f) {
  TSpriteEngine* e = PlayHost.Engine;
  if (!e) return;
  for (int i = 0; i < e->Count(); ++i)
    if (T* a = dynamic_cast<T*>(e->Items(i)))
      if (!a->Deaded()) f(a);
}

// The play states of the scene step: 3 (the stage rules: cleared when no egg
// hit is left, a miss when no ball, chick or blast is left), 5 (stage change),
// 40 and 41 (game over). Other states are left alone.
void PlayStateStep();
// Program start: the play units' own globals (note counters, aiming anchor, flash
// cooldown, the stand-in blind's pending lay-out) back to their start values.
void ResetFieldGlobals();
// Signboards folded, coin rain, chick chain, chick and blast counters cleared.
void ResetPlayCounters();
// Clears the field and lays out `stage` of the current set with its tally.
void BuildStageField(int stage);

// The play values of the --trace line: ChickChain, RouletteSlot, RouletteTimer,
// ExtraLetters, ChickLampCount, and Speed and Heading of the first ball (0 without one).
void AddPlayTraceFields(platform::TraceLine& t);

// The field operations the scene flow and the editor call.
void LayOutStage(TStageSet& set, int stage);
void ClearFieldActors();
void StageClearBonus();
void BurstAllEggs();

}  // namespace zubroll
