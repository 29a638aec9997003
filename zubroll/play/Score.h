// Score, status panel and bonuses: the score and roulette steps, the panel
// actors, chick lamps, EXTRA letters, coins and coin rain, signboards.
#pragma once
#include "zubroll/play/Field.h"

namespace zubroll {

// The five bonus values, in the order they are stored together.
struct TBonusState {
  int RouletteSlot = 0, ExtraLetters = 0, ChickLampCount = 0, RouletteTimer = 0, RoulettePending = 0;
  bool operator==(const TBonusState&) const = default;
};

extern int ChickLampCount, RoulettePending, RouletteTimer, RouletteSlot, RouletteFlash;
extern int ExtraLetters, CoinRainTime, BigTime;
extern bool SlowTrigger, HyperTrigger;
extern TBonusState RouletteSnapshot, SavedBonusState;
extern bool RouletteRestore;

TBonusState LiveBonusState();
void SetLiveBonusState(const TBonusState& s);
// Program start: every bonus value, copy and flag back to 0.
void ResetBonusGlobals();

// Creates the status panel actors (once, when the main form starts).
void CreateStatusPanel();
void ScoreStep();
// Draws `value` in the score digits (ShownScore is left alone).
void ShowScoreDigits(int value);
void RouletteStep();
void LightChickLamp();
void LightExtraLetter();
void ShowLives();
void ShowStageTally(int Stage);
void ShowExtraLetters(int n);
void ShowChickLamps(int n);
void TurnOffChickLamps();  // a new game: lit lamps go dark, ChickLampCount 0
void FoldSignboards();
void PutUpSignboards();
void SaveBonusState();
void RestoreBonusState();
void StopRoulette();
void PayPrize(int slot);
void DropCoin(int x, int y, int spinDir);

class TScoreSprite : public TPlayActor {
 public:
  TScoreSprite(TSpriteEngine* e, int digit);
  ~TScoreSprite() override;
  int Digit;
};
class TSButaSprite : public TPlayActor {
 public:
  TSButaSprite(TSpriteEngine* e, int i);
  ~TSButaSprite() override;
  int Index;
};
class TSEggSprite : public TPlayActor {
 public:
  TSEggSprite(TSpriteEngine* e, int i);
  ~TSEggSprite() override;
  int Index;
};
class TSPiyoSprite : public TPlayActor {
 public:
  TSPiyoSprite(TSpriteEngine* e, int i);
  ~TSPiyoSprite() override;
  int Index;
  int LampState = 0;
  void DoMove(int MoveCount) override;
};
class TItemSprite : public TPlayActor {
 public:
  TItemSprite(TSpriteEngine* e, int slot);
  int Slot;
  void DoMove(int MoveCount) override;
};
class TBPiyoSprite : public TPlayActor {
 public:
  explicit TBPiyoSprite(TSpriteEngine* e);
  void DoMove(int MoveCount) override;
};
class TExtraSprite : public TPlayActor {
 public:
  TExtraSprite(TSpriteEngine* e, int i);
  ~TExtraSprite() override;
  int Index;
  int Counter = 0;
  void DoMove(int MoveCount) override;
};

class TBCoinSprite : public TPlayActor {
 public:
  TBCoinSprite(TSpriteEngine* e, int x, int y, int spinDir);
  int Spin = 0, SpinDir = 0;
  void DoMove(int MoveCount) override;
  void DoCollision(TSprite* S, bool& Done) override;
};

class TKanbanSprite : public TPlayActor {
 public:
  TKanbanSprite(TSpriteEngine* e, int x, int slot, int state);
  int Slot = 0, BoardState = 0;
  void DoMove(int MoveCount) override;
  void DoCollision(TSprite* S, bool& Done) override;
};

// Panel look-ups (tests and the trace).
TSPiyoSprite* ChickLamp(int i);
TExtraSprite* ExtraLetter(int i);
TSEggSprite* TallyIcon(int i);
TScoreSprite* ScoreDigit(int i);
TSButaSprite* LifeIcon(int i);

}  // namespace zubroll
