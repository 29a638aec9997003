// The demo player (--autoplay): steers the pointer under the ball, or under the
// lowest falling chick while the ball is away, and serves. It only decides a
// pointer position and the serve button; the shell feeds both into the same
// input path as the mouse, so recording a replay works as with a person.
// It never draws from the game's random generator (replays depend on it).
#pragma once

namespace zubroll {

struct TAutoplayMove {
  bool steer = false;   // false: leave the pointer where it is (not in a run)
  int x = 0, y = 378;   // surface point for the pointer
  bool button = false;  // the serve button is held this frame
};

extern bool AutoplayEnabled;

// The decision for this frame from the field as the last frame left it.
TAutoplayMove AutoplayDecide();
// Once per frame before the pointer is read: decides, warps the system cursor to
// the surface point (plus the surface's place in the window) and sets the button.
void AutoplayStep(int surfaceLeft, int surfaceTop);
// The demo player's serve button in the current frame.
bool AutoplayButtonDown();
// Forgets the serve and aim memory (a new run).
void AutoplayReset();

}  // namespace zubroll
