// The egg game's whole frame step (move, collisions, removal, score and roulette
// steps, draw, play rules) on a busy stage: a full grid of eggs, three balls in
// flight, a coin rain and the demo player on the mole. One iteration is one frame;
// the aggregates report the median time per frame (budget: 33 ms).
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "zubroll/play/Devadiv.h"
#include "zubroll/play/PlayWorld.h"
#include "zubroll/play/Score.h"
#include "zubroll/play/ZubZub.h"

namespace {

using namespace zubroll;

// Twelve rows of eggs in every other half-egg column (17 per row), every kind but the
// rainbow egg (it adds balls: the benchmark keeps exactly three).
std::vector<std::string> FullGrid() {
  std::vector<std::string> rows;
  for (int r = 0; r < 12; ++r) {
    std::string row(34, ' ');
    for (int c = r % 2; c < 34; c += 2) {
      const char code = char('1' + (r + c / 2) % 8);
      row[size_t(c)] = code == '6' ? '2' : code;
    }
    rows.push_back(row);
  }
  return rows;
}

int CountBalls() {
  int n = 0;
  ForEachActor<TDevadivSprite>([&](TDevadivSprite* b) { n += b->BallState == 2; });
  return n;
}

void TopUp(TPlayWorld& w) {
  int seen = 0;
  ForEachActor<TDevadivSprite>([&](TDevadivSprite* b) {
    if (b->BallState == 2 && ++seen > 3) b->BallState = 3;
  });
  for (int n = CountBalls(); n < 3; ++n) {
    auto* b = new TDevadivSprite(&w.Engine, 60 + 100 * n, 300, 2);
    b->Heading = 250 + 20 * n;
  }
  if (CoinRainTime < 50) CoinRainTime += 150;
}

void BM_FrameBusyStage(benchmark::State& state) {
  TPlayWorld w;
  for (int s = 0; s < 32; ++s) TPlayWorld::PutStage(*StageSet, s, FullGrid());
  w.Autoplay = true;
  w.StartRun(0);
  w.RunUntil([] { return GameState == 3; }, 1000);
  const int full = StageSet->ClearCount[0];
  long frames = 0;
  for (auto _ : state) {
    GameRec->Lives = 3;  // the run never ends
    if (GameRec->EggsLeft < full / 2 || GameState != 3 || CountBalls() != 3) {
      state.PauseTiming();
      if (GameState > 7) w.StartRun(0);
      if (GameState != 3) w.RunUntil([] { return GameState == 3; }, 1000);
      if (GameRec->EggsLeft < full / 2) {
        BuildStageField(StageNo);
        GameRec->EggsLeft = full;
      }
      TopUp(w);
      state.ResumeTiming();
    }
    w.Frame();
    ++frames;
  }
  state.counters["actors"] = w.Engine.Count();
  state.SetItemsProcessed(frames);
}
BENCHMARK(BM_FrameBusyStage)->Unit(benchmark::kMicrosecond)->Repetitions(7)->ReportAggregatesOnly(true);

}  // namespace
