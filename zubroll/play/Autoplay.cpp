#include "zubroll/play/Autoplay.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "platform/display.h"
#include "zubroll/play/Devadiv.h"
#include "zubroll/play/Egg.h"
#include "zubroll/play/Piyo.h"
#include "zubroll/play/ZubZub.h"

namespace zubroll {

bool AutoplayEnabled = false;

namespace {
bool g_button = false;
int g_serves = 0;        // serves so far: picks the aim of the next one
int g_bounces = 0;       // paddle bounces so far: picks the hitting offset
bool g_was_rising = false;
bool g_served_this_life = false;

// Serve headings in turn, and offsets from the paddle centre that spread the bounces.
const int kServe[5] = {250, 290, 235, 305, 270};
const int kOffset[7] = {0, -9, 7, -4, 10, -12, 4};

// Where a ball flying freely crosses the paddle line (y 314), with the wall
// reflections of its flight step; -1 when it does not come down soon.
int LandingX(const TDevadivSprite& b) {
  int64_t fx = b.FixedX, fy = b.FixedY;
  int h = ((b.Heading % 360) + 360) % 360;
  const int k = b.Speed / 32 + 1;
  for (int i = 0; i < 240; ++i) {
    int64_t nx = fx + int64_t(k) * CosOf(h), ny = fy + int64_t(k) * SinOf(h);
    if (nx / 4096 < -4 || nx / 4096 > 356) {
      h = h > 180 ? 540 - h : 180 - h;
      nx = fx + int64_t(k) * CosOf(h);
    }
    if (ny / 4096 < -6) {
      h = 360 - h;
      ny = fy + int64_t(k) * SinOf(h);
    }
    fx = nx;
    fy = ny;
    if (fy / 4096 >= 314) return int(fx / 4096);
  }
  return -1;
}
// The paddle offset (ball centre minus paddle centre) that sends a ball landing at
// x towards the lowest breakable egg; `fallback` when no egg is left to aim at.
int AimOffset(int land_x, int fallback) {
  // The eggs left to break, taken in turn bounce by bounce, so the ball never
  // settles into one path.
  std::vector<TEggSprite*> eggs;
  ForEachActor<TEggSprite>([&](TEggSprite* e) {
    if (e->Kind != 16 && e->Kind != 19 && e->Mode != 2) eggs.push_back(e);
  });
  TEggSprite* target = eggs.empty() ? nullptr : eggs[size_t(g_bounces) % eggs.size()];
  (void)land_x;
  if (!target) return fallback;
  const double dx = target->X + 13 - (land_x + 12), dy = target->Y + 16 - 326;
  int heading = int(std::lround(std::atan2(dy, dx) * 180.0 / 3.14159265358979));
  heading = std::clamp((heading + 360) % 360, 215, 325);
  // The paddle aims ((d 4 + 270) div 5) 5: d = (heading - 270) / 4.
  return std::clamp((heading - 270) / 4, -14, 14) + fallback / 4;
}
}  // namespace

void AutoplayReset() {
  g_button = false;
  g_serves = g_bounces = 0;
  g_was_rising = false;
  g_served_this_life = false;
}

TAutoplayMove AutoplayDecide() {
  TAutoplayMove m;
  if (GameState >= 15) return m;
  TZubZubSprite* mole = Mole.get();
  if (!mole) return m;
  m.steer = true;
  m.x = int(mole->X) + 43;  // stay put by default (pointer = paddle's left edge + 32 + 11)
  if (mole->PaddleState == 2 || mole->PaddleState == 0) g_served_this_life = false;
  if (mole->PaddleState == 1) {
    TDevadivSprite* b = Ball.get();
    const int want = kServe[g_serves % 5];
    const bool aimed = b && std::abs(b->Heading - want) <= 2 && mole->Countdown < 150;
    if (!g_served_this_life && (aimed || mole->Countdown <= 3)) {
      m.button = true;
      g_served_this_life = true;
      ++g_serves;
    }
    return m;
  }
  if (mole->PaddleState != 3) return m;

  // The ball that comes down first, and the lowest chick on its way down.
  TDevadivSprite* target = nullptr;
  int best_y = -1000;
  ForEachActor<TDevadivSprite>([&](TDevadivSprite* b) {
    if (b->BallState != 2) return;
    const bool down = SinOf(b->Heading) > 0;
    const int score = int(b->Y) + (down ? 400 : 0);
    if (score > best_y) {
      best_y = score;
      target = b;
    }
  });
  TPiyoSprite* chick = nullptr;
  ForEachActor<TPiyoSprite>([&](TPiyoSprite* c) {
    if (c->Delay > 0 || c->Y > 335) return;
    if (!chick || c->Y > chick->Y) chick = c;
  });

  if (target) {
    const bool rising = SinOf(target->Heading) < 0;
    if (rising && !g_was_rising) ++g_bounces;
    g_was_rising = rising;
    const int offset = kOffset[g_bounces % 7];
    if (!rising) {
      const int land = LandingX(*target);
      const int ball_x = land >= 0 ? land : int(target->X);
      // Time to spare: the ball is still high, so a chick close to the ground goes first.
      if (chick && target->Y < 160 && chick->Y > 200) m.x = int(chick->X) + 27;
      else m.x = ball_x + 23 - AimOffset(ball_x, offset);
    } else if (chick) {
      m.x = int(chick->X) + 27;
    } else {
      m.x = int(target->X) + 23;
    }
  } else if (chick) {
    m.x = int(chick->X) + 27;
  }
  // The mole closes a quarter of the gap, rounded toward zero, so it would stop up
  // to 3 pixels short: the last pixels are asked for with a little overshoot.
  const int gap = (m.x - 32) - (int(mole->X) + 11);
  if (gap != 0 && std::abs(gap) < 4) m.x += gap > 0 ? 3 : -3;
  m.x = std::clamp(m.x, 0, 404);
  return m;
}

void AutoplayStep(int surfaceLeft, int surfaceTop) {
  g_button = false;
  if (!AutoplayEnabled) return;
  const TAutoplayMove m = AutoplayDecide();
  g_button = m.button;
  if (m.steer) platform::cursor_warp(m.x + surfaceLeft, m.y + surfaceTop);
}

bool AutoplayButtonDown() { return AutoplayEnabled && g_button; }

}  // namespace zubroll
