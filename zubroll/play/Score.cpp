#include "zubroll/play/Score.h"

#include <algorithm>

#include "zubroll/play/Devadiv.h"
#include "zubroll/play/Point.h"
#include "zubroll/play/ZubZub.h"

namespace zubroll {

int ChickLampCount = 0, RoulettePending = 0, RouletteTimer = 0, RouletteSlot = 0, RouletteFlash = 0;
int ExtraLetters = 0, CoinRainTime = 0, BigTime = 0;
bool SlowTrigger = false, HyperTrigger = false;
TBonusState RouletteSnapshot, SavedBonusState;
bool RouletteRestore = false;

namespace {
TScoreSprite* g_digits[8] = {};
TSButaSprite* g_lives[5] = {};
TSEggSprite* g_tally[10] = {};
TSPiyoSprite* g_lamps[12] = {};
TExtraSprite* g_extra[5] = {};

const int kSlotX[12] = {431, 456, 474, 481, 474, 457, 431, 405, 388, 382, 390, 407};
const int kSlotY[12] = {98, 104, 121, 146, 173, 191, 197, 191, 173, 146, 123, 104};
const int kSlotIcon[12] = {6, 2, 7, 1, 8, 2, 3, 1, 4, 0, 5, 1};
const int kExtraX[5] = {412, 424, 435, 447, 460};

void PanelSound(const char* name) { PlaySound(name, 400); }

template <class T>
void Unlist(T** table, int n, T* self) {
  for (int i = 0; i < n; ++i)
    if (table[i] == self) table[i] = nullptr;
}

void PanelActor(TPlayActor* a, const char* image, int x, int y) {
  a->UseImage(image);
  a->SetZ(23);  // over the right panel
  a->Passive = true;
  a->Collisioned = false;
  a->X = x;
  a->Y = y;
}
}  // namespace

TBonusState LiveBonusState() {
  return TBonusState{RouletteSlot, ExtraLetters, ChickLampCount, RouletteTimer, RoulettePending};
}

void SetLiveBonusState(const TBonusState& s) {
  RouletteSlot = s.RouletteSlot;
  ExtraLetters = s.ExtraLetters;
  ChickLampCount = s.ChickLampCount;
  RouletteTimer = s.RouletteTimer;
  RoulettePending = s.RoulettePending;
}

void ResetBonusGlobals() {
  SetLiveBonusState(TBonusState{});
  RouletteFlash = CoinRainTime = BigTime = 0;
  SlowTrigger = HyperTrigger = false;
  RouletteSnapshot = SavedBonusState = TBonusState{};
  RouletteRestore = false;
}

TScoreSprite::TScoreSprite(TSpriteEngine* e, int digit) : TPlayActor(e), Digit(digit) {
  PanelActor(this, "Score", 488 - 12 * digit, 22);
  g_digits[digit] = this;
}
TScoreSprite::~TScoreSprite() { Unlist(g_digits, 8, this); }

TSButaSprite::TSButaSprite(TSpriteEngine* e, int i) : TPlayActor(e), Index(i) {
  PanelActor(this, "SButa", 480 - 24 * i, 67);
  g_lives[i] = this;
}
TSButaSprite::~TSButaSprite() { Unlist(g_lives, 5, this); }

TSEggSprite::TSEggSprite(TSpriteEngine* e, int i) : TPlayActor(e), Index(i) {
  PanelActor(this, "SEgg", 480 - 8 * i, 244);
  Visible = false;
  g_tally[i] = this;
}
TSEggSprite::~TSEggSprite() { Unlist(g_tally, 10, this); }

TSPiyoSprite::TSPiyoSprite(TSpriteEngine* e, int i) : TPlayActor(e), Index(i) {
  PanelActor(this, "SPiyo", 385 + 10 * i, 227);
  Visible = false;
  g_lamps[i] = this;
}
TSPiyoSprite::~TSPiyoSprite() { Unlist(g_lamps, 12, this); }

void TSPiyoSprite::DoMove(int) {
  int& s = LampState;
  if (s <= 0) {
    s = 0;
    Visible = false;
  } else if (s >= 10) {
    Visible = true;
    AnimPos = 0;
    s = 9;
  } else if (s == 9) {
    Visible = true;
    AnimPos = 1;
  } else {
    Visible = true;
    AnimPos = s == 1 ? 0 : 1;
    --s;
  }
}

TItemSprite::TItemSprite(TSpriteEngine* e, int slot) : TPlayActor(e), Slot(slot) {
  PanelActor(this, "Items", kSlotX[slot], kSlotY[slot]);
  AnimPos = kSlotIcon[slot];
  Visible = false;
}
void TItemSprite::DoMove(int) { Visible = RouletteSlot == Slot; }

TBPiyoSprite::TBPiyoSprite(TSpriteEngine* e) : TPlayActor(e) {
  PanelActor(this, "BPiyo", 405, 121);
  Visible = false;
}
void TBPiyoSprite::DoMove(int) { Visible = RouletteTimer != 0 && (RouletteTimer / 2) % 2 == 0; }

TExtraSprite::TExtraSprite(TSpriteEngine* e, int i) : TPlayActor(e), Index(i) {
  PanelActor(this, "Extra", kExtraX[i], 170);
  AnimPos = i;
  Visible = false;
  g_extra[i] = this;
}
TExtraSprite::~TExtraSprite() { Unlist(g_extra, 5, this); }

void TExtraSprite::DoMove(int) {
  if (Counter <= 0) {
    Counter = 0;
    Visible = false;
  } else if (Counter == 20) {
    Visible = true;
  } else {
    --Counter;
    Visible = Counter % 2 == 0 && Counter > 0;
  }
}

TSPiyoSprite* ChickLamp(int i) { return i >= 0 && i < 12 ? g_lamps[i] : nullptr; }
TExtraSprite* ExtraLetter(int i) { return i >= 0 && i < 5 ? g_extra[i] : nullptr; }
TSEggSprite* TallyIcon(int i) { return i >= 0 && i < 10 ? g_tally[i] : nullptr; }
TScoreSprite* ScoreDigit(int i) { return i >= 0 && i < 8 ? g_digits[i] : nullptr; }
TSButaSprite* LifeIcon(int i) { return i >= 0 && i < 5 ? g_lives[i] : nullptr; }

void CreateStatusPanel() {
  TSpriteEngine* e = PlayHost.Engine;
  if (!e) return;
  for (int i = 0; i < 8; ++i) new TScoreSprite(e, i);
  for (int i = 0; i < 5; ++i) new TSButaSprite(e, i);
  for (int i = 0; i < 10; ++i) new TSEggSprite(e, i);
  for (int i = 0; i < 12; ++i) new TSPiyoSprite(e, i);
  for (int i = 0; i < 12; ++i) new TItemSprite(e, i);
  new TBPiyoSprite(e);
  for (int i = 0; i < 5; ++i) new TExtraSprite(e, i);
  ShownScore = -1;
  ScoreStep();
  ShowLives();
}

void ScoreStep() {
  if (Score == ShownScore) return;
  if (GameRec) {
    const int d = GameRec->Difficulty;
    if (Score > GameRec->HighScoreToBeat && d >= 0 && d <= 2 && !SecretUnlocked) {
      PanelSound("NewHero");
      GameRec->HighScoreToBeat = 1000000000;
    }
    if (Score > NextExtraLife) {
      NextExtraLife += 100000;
      PanelSound("Special");
      ++GameRec->Lives;
      ShowLives();
    }
  }
  ShowScoreDigits(Score);
  ShownScore = Score;
}

void ShowScoreDigits(int value) {
  int64_t p = 1;
  for (int i = 0; i < 8; ++i, p *= 10) {
    TScoreSprite* s = g_digits[i];
    if (!s) continue;
    const int64_t q = value / p;
    s->AnimPos = int(q % 10 < 0 ? -(q % 10) : q % 10);
    s->Visible = q != 0 || i == 0;
  }
}

void ShowLives() {
  const int lives = GameRec ? GameRec->Lives : 0;
  for (int i = 0; i < 5; ++i)
    if (g_lives[i]) g_lives[i]->Visible = i < lives;
}

void ShowStageTally(int Stage) {
  const int n = Stage >= 100 ? 99 : std::max(Stage + 1, 0);
  int k = 0;
  auto put = [&](int pattern) {
    if (k >= 10) return;
    if (g_tally[k]) {
      g_tally[k]->AnimPos = pattern;
      g_tally[k]->Visible = true;
    }
    ++k;
  };
  for (int i = 0; i < n % 5; ++i) put(0);
  if (n % 10 > 4) put(1);
  for (int i = 0; i < n / 10; ++i) put(2);
  for (; k < 10; ++k)
    if (g_tally[k]) g_tally[k]->Visible = false;
}

void ShowExtraLetters(int n) {
  for (int i = 0; i < 5; ++i)
    if (g_extra[i]) g_extra[i]->Counter = i < n ? 20 : 0;
}

void ShowChickLamps(int n) {
  for (int i = 0; i < 12; ++i)
    if (g_lamps[i]) g_lamps[i]->LampState = i < n ? 9 : 0;
}

void TurnOffChickLamps() {
  ChickLampCount = 0;
  for (int i = 0; i < 12; ++i)
    if (g_lamps[i] && g_lamps[i]->LampState >= 9) g_lamps[i]->LampState = 2;
}

void LightChickLamp() {
  if (GameState >= 40) return;
  if (ChickLampCount < 11) {
    if (g_lamps[ChickLampCount]) g_lamps[ChickLampCount]->LampState = 10;
    ++ChickLampCount;
    return;
  }
  ChickLampCount = 0;
  for (int i = 0; i < 12; ++i)
    if (g_lamps[i]) g_lamps[i]->LampState = 8;
  ++RoulettePending;
}

void LightExtraLetter() {
  if (ExtraLetters < 4) {
    for (int i = 0; i < ExtraLetters; ++i)
      if (g_extra[i]) g_extra[i]->Counter = 20;
    if (g_extra[ExtraLetters]) g_extra[ExtraLetters]->Counter = 26;
    ++ExtraLetters;
    PanelSound("LitExtra");
    return;
  }
  for (int i = 0; i < 5; ++i)
    if (g_extra[i]) g_extra[i]->Counter = 18 + i % 2;
  ExtraLetters = 0;
  if (GameRec) ++GameRec->Lives;
  Score += 10000;
  ShowLives();
  PanelSound("Special");
}

void PayPrize(int slot) {
  switch (slot) {
    case 0: LightExtraLetter(); break;
    case 1:
    case 5:
      Score += 5000;
      PanelSound("GetCoin");
      break;
    case 2:
      PutUpSignboards();
      PanelSound("EnterKanban");
      break;
    case 3:
    case 7:
    case 11:
      Score += 1000;
      PanelSound("GetCoin");
      break;
    case 4:
      SlowTrigger = true;
      PanelSound("SlowButa");
      break;
    case 6:
      CoinRainTime += 150;
      PanelSound("Bcstart");
      break;
    case 8:
      HyperTrigger = true;
      PanelSound("HypButa");
      break;
    case 9:
      Score += 10000;
      PanelSound("Get10k");
      break;
    case 10:
      BigTime += 1500;
      PanelSound("Dekazub1");
      break;
    default: break;
  }
}

void RouletteStep() {
  if (GameState >= 40 || GameState == 31) {
    RouletteTimer = 0;
    RoulettePending = 0;
    return;
  }
  if (CoinRainTime > 0) {
    --CoinRainTime;
    if (random(16) < 3) {
      const int x = 16 + 16 * random(21);
      DropCoin(x, -16, random(2));
    }
  }
  SlowTrigger = false;
  HyperTrigger = false;
  if (RouletteTimer == 0) {
    if (RoulettePending > 0) {
      --RoulettePending;
      RouletteTimer = 60 + random(12);
    }
  } else if (RouletteTimer == 1) {
    ++RouletteFlash;
    if (RouletteFlash > 12) {
      RouletteFlash = 0;
      RouletteTimer = 0;
    }
  } else if (RouletteTimer == 2) {
    RouletteTimer = 1;
    if (GameState != 3) {
      RouletteTimer = 25;
      return;
    }
    PayPrize(RouletteSlot);
  } else {
    --RouletteTimer;
    RouletteSlot = (RouletteSlot + 1) % 12;
    if (RouletteSlot % 3 == 0) PanelSound("Spin");
  }
  if (RouletteRestore) {
    SetLiveBonusState(RouletteSnapshot);
    RouletteRestore = false;
  }
  RouletteSnapshot = LiveBonusState();
}

void SaveBonusState() { SavedBonusState = LiveBonusState(); }

void RestoreBonusState() {
  SetLiveBonusState(SavedBonusState);
  ShowExtraLetters(ExtraLetters);
  ShowChickLamps(ChickLampCount);
}

void StopRoulette() {
  RouletteTimer = 0;
  RoulettePending = 0;
}

TBCoinSprite::TBCoinSprite(TSpriteEngine* e, int x, int y, int spinDir) : TPlayActor(e) {
  UseImage("Coins");
  SetZ(19);
  TargetGroup = 2;
  CollisionRect = TRect{2, 2, 14, 14};
  X = x;
  Y = y;
  SpinDir = spinDir;
}

void DropCoin(int x, int y, int spinDir) {
  if (PlayHost.Engine) new TBCoinSprite(PlayHost.Engine, x, y, spinDir);
}

void TBCoinSprite::DoMove(int) {
  if (FieldReset) {
    Dead();
    return;
  }
  Spin = (Spin + (SpinDir == 0 ? 1 : 31)) % 32;
  AnimPos = Spin / 2;
  Y += 8;
  if (Y > 400) Dead();
}

void TBCoinSprite::DoCollision(TSprite* S, bool&) {
  if (Deaded() || !dynamic_cast<TZubZubSprite*>(S)) return;
  const int r = random(16);
  const bool big = r >= 4 && r <= 6;
  const int value = r == 0 ? 1 : r <= 3 ? 10 : big ? 1000 : 100;
  const int m = std::max(GameRec ? GameRec->BallSprites : 0, 1);
  PlaySound(big ? "GetCoin2" : "GetCoin", int(X));
  Score += value * m;
  ShowPoints(value, int(X), int(Y), 0, m, big ? 3 : 1);
  Dead();
}

TKanbanSprite::TKanbanSprite(TSpriteEngine* e, int x, int slot, int state) : TPlayActor(e) {
  UseImage("Kanban");
  SetZ(2);
  CollisionGroup = 7;
  Passive = true;
  CollisionRect = TRect{8, 6, 32, 38};
  X = x;
  Y = 342;
  Slot = slot;
  BoardState = state;
  Visible = false;
  Collisioned = false;
}

void TKanbanSprite::DoMove(int) {
  if (FieldReset) {
    Dead();
    return;
  }
  if (GameState == 40 && BoardState > 6) BoardState = 6;
  int& b = BoardState;
  const int shown = b / 2;
  if (shown == 0) {
    Dead();
    return;
  }
  if (shown >= 8) {
    Visible = false;
    --b;
  } else {
    static const int kPattern[8] = {0, 0, 1, 2, 3, 2, 1, 0};
    Visible = true;
    AnimPos = kPattern[shown];
    if (shown != 4) --b;
  }
  // A board still below the ground is not there to bounce off.
  Collisioned = Visible;
}

void TKanbanSprite::DoCollision(TSprite* S, bool&) {
  bool hit = S->CollisionGroup == 24;
  if (auto* ball = dynamic_cast<TDevadivSprite*>(S)) hit = ball->BallState == 2;
  if (hit && BoardState > 6) {
    PlaySound("HitKanban", int(X));
    BoardState = 6;
  }
}

void PutUpSignboards() {
  TSpriteEngine* e = PlayHost.Engine;
  if (!e) return;
  for (int k = 0; k < 12; ++k) {
    bool standing = false;
    ForEachActor<TKanbanSprite>([&](TKanbanSprite* b) { standing = standing || int(b->X) == 30 * k; });
    if (!standing) new TKanbanSprite(e, 30 * k, k, 14 + random(6));
  }
}

void FoldSignboards() {
  ForEachActor<TKanbanSprite>([](TKanbanSprite* b) {
    if (b->BoardState > 6) b->BoardState = 6;
  });
}

}  // namespace zubroll
