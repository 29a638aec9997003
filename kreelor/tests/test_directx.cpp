// Pixel format, display-mode rule, surfaces and the screen copy, clock, errors.
#include <gtest/gtest.h>

#include "common.h"
#include "kreelor/engine/directx.h"
#include "kreelor/engine/memory.h"
#include "kreelor/engine/mouse.h"
#include "kreelor/engine/print.h"
#include "kreelor/game/graphics.h"

using namespace kreelor;

TEST(PixelFormat, Derivation565And555And888) {
  struct Case {
    uint32_t r, g, b;
    uint32_t rshift, gshift, bshift, rmult, gmult, bmult, rsize, gsize, bsize, cmask;
  } cases[] = {
      {0xF800, 0x07E0, 0x001F, 11, 5, 0, 32, 64, 32, 3, 2, 3, 0x7BEF},
      {0x7C00, 0x03E0, 0x001F, 10, 5, 0, 32, 32, 32, 3, 3, 3, 0x3DEF},
      {0xFF0000, 0x00FF00, 0x0000FF, 16, 8, 0, 256, 256, 256, 0, 0, 0, 0x7F7F7F},
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(setpixelformat(16, c.r, c.g, c.b));
    EXPECT_EQ(rshift, c.rshift);
    EXPECT_EQ(gshift, c.gshift);
    EXPECT_EQ(bshift, c.bshift);
    EXPECT_EQ(rmult, c.rmult);
    EXPECT_EQ(gmult, c.gmult);
    EXPECT_EQ(bmult, c.bmult);
    EXPECT_EQ(rsize, c.rsize);
    EXPECT_EQ(gsize, c.gsize);
    EXPECT_EQ(bsize, c.bsize);
    EXPECT_EQ(cmask, c.cmask);
    EXPECT_EQ(dmask, c.cmask | (c.cmask << 16));
  }
  EXPECT_FALSE(setpixelformat(16, 0, 0x07E0, 0x001F));
  ktest::format565();
  // Halving with cmask keeps channels apart: white halves to each channel's half.
  EXPECT_EQ((0xFFFFu >> 1) & cmask, 0x7BEFu);
}

TEST(DisplayMode, RuleTable) {
  struct Case {
    int w, h, bits;
    bool keep;
  } cases[] = {{1024, 768, 32, true}, {800, 600, 16, true},   {640, 480, 15, true},   {1280, 1024, 32, false},
               {1200, 900, 32, false}, {1199, 900, 32, true}, {1024, 768, 8, false},  {1100, 1600, 32, false},
               {1100, 1599, 16, true}, {1920, 1080, 24, false}};
  for (const Case& c : cases) EXPECT_EQ(keepdesktopmode(c.w, c.h, c.bits), c.keep) << c.w << "x" << c.h << "x" << c.bits;
}

class Display : public ::testing::Test {
 protected:
  void SetUp() override {
    releasescreens();
    ddfailmask = 0;
    bActive = 1;
    initwindows();
    ktest::resetboxes();
  }
  void TearDown() override {
    releasescreens();
    desktopoverride[0] = 0;
    ddfailmask = 0;
  }
  void open(int w, int h, int bits) {
    desktopoverride[0] = w, desktopoverride[1] = h, desktopoverride[2] = bits;
    ASSERT_EQ(initprimary(1), 1) << ktest::onebox();
  }
  int makewindow(int x, int y, int w, int h, int32_t type = 0) {
    int n = nowindows++;
    winxpos[n] = x, winypos[n] = y, winxsize[n] = w, winysize[n] = h, wintype[n] = type;
    EXPECT_EQ(createwindow(n), 1);
    return n;
  }
};

TEST_F(Display, KeptDesktopAndForcedModeSetIntroType) {
  open(1024, 768, 32);
  EXPECT_EQ(introtype, 0);
  EXPECT_EQ(lpDDSPrimary->width, 1024);
  EXPECT_EQ(cbits, 32u);
  EXPECT_NE(surfacepixel(lpDDSPrimary, 5, 5), 0u);  // the desktop scene is on the screen
  releasescreens();
  open(1280, 1024, 32);
  EXPECT_EQ(introtype, 1);
  EXPECT_EQ(lpDDSPrimary->width, 640);
  EXPECT_EQ(lpDDSPrimary->height, 480);
  EXPECT_EQ(cmask, 0x7BEFu);
  releasescreens();
  open(800, 600, 8);
  EXPECT_EQ(introtype, 1);
}

TEST_F(Display, FailuresShowTheirMessages) {
  struct Case {
    uint32_t call;
    const char* message;
  } cases[] = {{DDC_CREATE, "Error Creating Main DirectDraw Object"},
               {DDC_COOPERATIVE, "Error Setting Cooperative Level"},
               {DDC_GETMODE, "Error Getting Display Mode"},
               {DDC_PRIMARY, "Error Creating The Primary Surface"},
               {DDC_BACK, "Error Creating The Back Buffer"},
               {DDC_DESCRIBE, "Error Getting Surface Description"}};
  for (const Case& c : cases) {
    releasescreens();
    ktest::resetboxes();
    ddfailmask = c.call;
    desktopoverride[0] = 1024, desktopoverride[1] = 768, desktopoverride[2] = 16;
    EXPECT_EQ(initprimary(1), 0);
    EXPECT_EQ(ktest::onebox(), std::string("Kreelor|") + c.message + "\n\nThis Program Requires DirectX 7 Or Higher|stop");
  }
  releasescreens();
  ktest::resetboxes();
  ddfailmask = DDC_SETMODE;
  desktopoverride[0] = 1600, desktopoverride[1] = 1200, desktopoverride[2] = 32;
  EXPECT_EQ(initprimary(1), 0);
  EXPECT_NE(ktest::onebox().find("Error Setting Display Mode"), std::string::npos);

  struct Reset {
    uint32_t call;
    const char* message;
  } resets[] = {{DDC_SETMODE, "Error Setting The Display Mode"},
                {DDC_PRIMARY, "Error Reseting The Primary Surface"},
                {DDC_BACK, "Error Resetting The Back Buffer"},
                {DDC_DESCRIBE, "Error Getting Surface Description"}};
  for (const Reset& r : resets) {
    releasescreens();
    ddfailmask = 0;
    open(1024, 768, 32);
    ktest::resetboxes();
    ddfailmask = r.call;
    EXPECT_EQ(setprimary(640, 480, 16), 0);
    EXPECT_NE(ktest::onebox().find(r.message), std::string::npos) << r.message;
  }
  ddfailmask = DDC_SURFACE;
  ktest::resetboxes();
  winxsize[3] = winysize[3] = 16;
  EXPECT_EQ(createwindow(3), 0);
  EXPECT_NE(ktest::onebox().find("Error Creating DirectX Surface"), std::string::npos);
  ddfailmask = DDC_TIMER;
  ktest::resetboxes();
  settimerrate(100);
  EXPECT_NE(ktest::onebox().find("Error Setting Timer"), std::string::npos);
}

TEST_F(Display, WindowSurfacesInVideoOrSystemMemory) {
  open(640, 480, 16);
  int video = makewindow(0, 0, 16, 8), sys = makewindow(0, 0, 16, 8, 0x10000);
  EXPECT_FALSE(ddsurface[video]->sysmem);
  EXPECT_TRUE(ddsurface[sys]->sysmem);
  losesurfaces();
  EXPECT_TRUE(ddsurface[video]->lost);
  EXPECT_FALSE(ddsurface[sys]->lost);
  EXPECT_TRUE(lpDDSPrimary->lost);
}

TEST_F(Display, SentWindowReachesBothBuffersThenCostsNoCopy) {
  open(640, 480, 16);
  int n = makewindow(8, 4, 8, 8);
  clearwindow(n, 0x1234);
  wintype[n] |= 0x60;
  deltatime = 1;
  sendwindows();
  EXPECT_EQ(surfacepixel(lpDDSBack, 8, 4), 0x1234u);
  flipscreens();
  EXPECT_EQ(surfacepixel(lpDDSPrimary, 8, 4), 0x1234u);
  sendwindows();
  flipscreens();
  EXPECT_EQ(surfacepixel(lpDDSPrimary, 8, 4), 0x1234u);
  EXPECT_EQ(surfacepixel(lpDDSBack, 8, 4), 0x1234u);
  EXPECT_EQ(wintype[n] & 0x60, 0);
  clearwindow(n, 0x4321);  // changed but not marked: not copied
  sendwindows();
  EXPECT_EQ(surfacepixel(lpDDSBack, 8, 4), 0x1234u);
  EXPECT_EQ(wintimer[n], -3);  // lowered by deltatime on every pass
}

TEST_F(Display, ColourKeyAndNeverSendBits) {
  open(640, 480, 16);
  clearback(0x00FF);
  int keyed = makewindow(0, 0, 8, 8, 0x200 | 0x60);
  int never = makewindow(16, 0, 8, 8, 0x2000 | 0x60);
  clearwindow(never, 0x5555);
  lockwindow(keyed);
  reinterpret_cast<uint16_t*>(screen1)[1] = 0x7777;  // one opaque pixel, the rest 0
  unlockwindow(keyed);
  sendwindows();
  EXPECT_EQ(surfacepixel(lpDDSBack, 0, 0), 0x00FFu);
  EXPECT_EQ(surfacepixel(lpDDSBack, 1, 0), 0x7777u);
  EXPECT_EQ(surfacepixel(lpDDSBack, 16, 0), 0x00FFu);
}

TEST_F(Display, BusySurfacesRetryLostSurfacesRestoreAndRedraw) {
  open(640, 480, 16);
  int n = makewindow(0, 0, 8, 8, 0x60);
  clearwindow(n, 0x0F0F);
  ddsurface[n]->busy = 3;
  sendwindows();
  EXPECT_EQ(surfacepixel(lpDDSBack, 0, 0), 0x0F0Fu);
  // Lost while inactive: the restore fails and the window keeps waiting.
  wintype[n] |= 0x60;
  bActive = 0;
  losesurfaces();
  sendwindows();
  EXPECT_TRUE(ddsurface[n]->lost);
  bActive = 1;
  wintype[n] |= 0x60;
  sendwindows();  // restored: the window is marked again for both pages
  EXPECT_FALSE(ddsurface[n]->lost);
  EXPECT_FALSE(lpDDSPrimary->lost);
  EXPECT_NE(wintype[n] & 0x40, 0);
  flipscreens();
  EXPECT_EQ(restorewindow(n), 1);
}

// After the focus comes back, every window is on both pages again, whether
// its surface was lost (video memory) or not (system memory), and whether or
// not it changed.
TEST_F(Display, LostPagesGetEveryWindowBack) {
  open(640, 480, 16);
  int video = makewindow(0, 0, 8, 8, 0x60);
  int sys = makewindow(16, 0, 8, 8, 0x60 | 0x10000);
  clearwindow(video, 0x0F0F);
  clearwindow(sys, 0x3333);
  deltatime = 1;
  for (int frame = 0; frame < 3; ++frame) sendwindows(), flipscreens();
  ASSERT_EQ(wintype[video] & 0x60, 0);
  ASSERT_EQ(wintype[sys] & 0x60, 0);
  bActive = 0;
  losesurfaces();
  sendwindows(), flipscreens();  // inactive: nothing can be restored
  EXPECT_TRUE(lpDDSPrimary->lost);
  bActive = 1;
  for (int frame = 0; frame < 4; ++frame) sendwindows(), flipscreens();
  EXPECT_FALSE(lpDDSPrimary->lost);
  EXPECT_FALSE(ddsurface[video]->lost);
  for (ddsurface_t* page : {lpDDSPrimary, lpDDSBack}) EXPECT_EQ(surfacepixel(page, 16, 0), 0x3333u);
  EXPECT_EQ(wintype[video] & 0x60, 0);  // sent, and settled again
  EXPECT_EQ(wintype[sys] & 0x60, 0);
}

// redrawwindows puts every window on both pages, the ones below startwindow
// too, and leaves startwindow as it was; removewindows lowers nowindows.
TEST_F(Display, RedrawBothPagesAndRemoveWindows) {
  open(640, 480, 16);
  int a = makewindow(0, 0, 4, 4), b = makewindow(8, 0, 4, 4);
  clearwindow(a, 0x1111);
  clearwindow(b, 0x2222);
  lockback();
  reinterpret_cast<uint16_t*>(screen1)[20] = 0x7777;  // litter that the redraw clears
  unlockback();
  startwindow = 1;
  redrawwindows();
  EXPECT_EQ(startwindow, 1);
  for (ddsurface_t* page : {lpDDSPrimary, lpDDSBack}) {
    EXPECT_EQ(surfacepixel(page, 0, 0), 0x1111u);
    EXPECT_EQ(surfacepixel(page, 8, 0), 0x2222u);
    EXPECT_EQ(surfacepixel(page, 20, 0), 0u);
  }
  // The copy of the picture window: whole surface, top-left, no colour key.
  int c = makewindow(0, 8, 4, 4);
  winbackground[c] = b;
  blitgraphic(c);
  lockwindow(c);
  EXPECT_EQ(reinterpret_cast<uint16_t*>(screen1)[0], 0x2222);
  unlockwindow(c);
  removewindows(1);
  EXPECT_EQ(nowindows, 1);
  EXPECT_EQ(ddsurface[1], nullptr);
  EXPECT_EQ(ddsurface[2], nullptr);
  EXPECT_NE(ddsurface[0], nullptr);
  removewindow(0);
  EXPECT_EQ(nowindows, 0);
  startwindow = 0;
}

// The window procedure's other messages: activation, the cursor, the timer.
TEST_F(Display, ActivationCursorAndTimerMessages) {
  open(640, 480, 16);
  static int soundwork = 0;
  soundwork = 0;
  auto keep = enginehooks.updatesounds;
  enginehooks.updatesounds = [] { ++soundwork; };
  struct Case {
    int32_t active, flag;
    int work;
  } cases[] = {{1, 0, 1}, {1, 1, 0}, {0, 0, 0}};
  for (auto& c : cases) {
    soundwork = 0;
    windowproc(hwnd, WM_ACTIVATEAPP, c.active, 0);
    EXPECT_EQ(bActive, c.active);
    c.flag ? disabletimer() : enabletimer();
    EXPECT_EQ(timerflag, c.flag);
    windowproc(hwnd, WM_TIMER, 1, 0);
    EXPECT_EQ(soundwork, c.work) << c.active << c.flag;
  }
  EXPECT_TRUE(lpDDSPrimary->lost);  // deactivating a full-screen program loses its pages
  EXPECT_EQ(windowproc(hwnd, WM_SETCURSOR, 0, 0), 1);
  windowproc(hwnd, WM_ACTIVATEAPP, 1, 0);
  enabletimer();
  enginehooks.updatesounds = keep;
}

TEST_F(Display, CloseReleasesEverythingOnceAndTwiceIsSafe) {
  open(640, 480, 16);
  makewindow(0, 0, 8, 8);
  windowproc(hwnd, WM_CLOSE, 0, 0);
  EXPECT_EQ(lpDD, nullptr);
  EXPECT_EQ(lpDDSPrimary, nullptr);
  EXPECT_EQ(ddsurface[0], nullptr);
  EXPECT_EQ(nocharsets, 0);
  windowproc(hwnd, WM_DESTROY, 0, 0);  // a second clean-up finds nothing
  windowproc(hwnd, WM_CLOSE, 0, 0);
  EXPECT_EQ(lpDD, nullptr);
  hwnd = 1;
}

TEST_F(Display, DesktopCopyAndShadeTables) {
  open(1024, 768, 16);
  lockprimary();
  uint16_t* p = reinterpret_cast<uint16_t*>(screen1);
  p[0] = 0xF800, p[1] = 0x07E0, p[2] = 0x001F;
  unlockprimary();
  ASSERT_EQ(createdesktop(), 1);
  EXPECT_EQ(desktopxs, 1024);
  EXPECT_EQ(desktopys, 768);
  const uint8_t expect[3][3] = {{0, 0, 248}, {0, 252, 0}, {248, 0, 0}};  // blue, green, red
  for (int i = 0; i < 3; ++i)
    for (int c = 0; c < 3; ++c) EXPECT_EQ(desktop[i * 4 + c], expect[i][c]) << i << "," << c;
  ASSERT_NE(shadetab, nullptr);
  EXPECT_EQ(shadetab[0 * 256 + 255], 0u);
  EXPECT_EQ(shadetab[48 * 256 + 200], 100u);
  EXPECT_EQ(shadetab[95 * 256 + 255], 252u);
  EXPECT_EQ(shadetab[96 * 256 + 100], 100u);
  EXPECT_EQ(shadetab[127 * 256 + 0], (255u * 31) >> 5);
  EXPECT_EQ(shadetab[112 * 256 + 255], 255u);
  ddfailmask = DDC_DESCRIBE;
  ktest::resetboxes();
  EXPECT_EQ(createdesktop(), 0);
  EXPECT_NE(ktest::onebox().find("Error Getting Primary Surface Description"), std::string::npos);
}

TEST(Errors, MessageNoteCaptionAndOutOfMemory) {
  ktest::resetboxes();
  EXPECT_EQ(errormessage("Error Reading File"), 0);
  EXPECT_EQ(ktest::onebox(), "Kreelor|Error Reading File\n\nThis Program Requires DirectX 7 Or Higher|stop");
  ktest::resetboxes();
  memorylimit = 100;
  EXPECT_EQ(getmemory(101), nullptr);
  EXPECT_EQ(ktest::onebox(), "Kreelor|Out of Memory");
  void* p = getmemory(100);
  EXPECT_NE(p, nullptr);
  freememory(p);
  memorylimit = 0;
}

TEST(Random, RuntimeGenerator) {
  kreelor::srand(2);
  uint32_t state = 2;
  for (int i = 0; i < 5; ++i) {
    state = state * 1103515245u + 12345u;
    EXPECT_EQ(kreelor::rand(), (int32_t)((state >> 16) & 0x7FFF));
  }
}

namespace {
uint32_t faketicks = 0;
std::vector<uint32_t> waits;
uint32_t fakeget() { return faketicks; }
void fakewait(uint32_t t) {
  waits.push_back(t);
  faketicks = t;
}
}  // namespace

class Clock : public ::testing::Test {
 protected:
  uint32_t (*keepget)() = nullptr;
  void (*keepwait)(uint32_t) = nullptr;
  void SetUp() override {
    keepget = gettickcount, keepwait = waitticks;
    gettickcount = fakeget;
    waitticks = fakewait;
    faketicks = 1000;
    newtime = 1000;
    kreelor::time = 0;
    frameminimum = 2;
    waits.clear();
  }
  void TearDown() override { gettickcount = keepget, waitticks = keepwait; }
};

TEST_F(Clock, NeverZeroAndClampedSteps) {
  gettime();  // no time passed: waits until 2 ms are over
  EXPECT_EQ(deltatime, 1);
  EXPECT_EQ(kreelor::time, 2);
  ASSERT_EQ(waits.size(), 1u);
  EXPECT_EQ(waits[0], 1002u);
  faketicks += 100;  // a 100 ms frame
  gettime();
  EXPECT_EQ(deltatime, 20);
  EXPECT_EQ(kreelor::time, 102);
  faketicks += 7;
  gettime();
  EXPECT_EQ(deltatime, 3);
}

TEST_F(Clock, FrameRateEveryFortyFramesAndHeadlessStep) {
  framerate = -1;
  for (int i = 0; i < 80; ++i) {  // the last full count of 40 frames is all 25 ms frames
    faketicks += 25;
    gettime();
  }
  EXPECT_EQ(framerate, 40);
  frameminimum = 20;  // headless: every frame is one fixed step of the virtual clock
  gettime();
  EXPECT_EQ(deltatime, 10);
  EXPECT_EQ(waits.back(), newtime);
}

TEST_F(Display, PointerDrawnOnTheVisiblePageAndErasedFromTheOldOne) {
  open(640, 480, 16);
  // Set 0 with 135 glyphs of 3 x 4; 134 is the pointer, 135 the highlighted one.
  ktest::loadsets({ktest::testset(135, 3, 4)});
  clearback(0x0101);
  flipscreens();
  clearback(0x0101);
  mousexp = 100, mouseyp = 50;
  windowabove = -1;
  mouseon();
  showmouse();
  EXPECT_EQ(surfacepixel(lpDDSPrimary, 100, 50), 0x1000u + 134);
  EXPECT_EQ(surfacepixel(lpDDSPrimary, 103, 50), 0x0101u);
  flipscreens();  // the page with the pointer becomes the back buffer
  mousexo = 100, mouseyo = 50;
  erasemouse();
  EXPECT_EQ(surfacepixel(lpDDSBack, 100, 50), 0x0101u);
  // Over a lit hover window the highlighted pointer shows; at the edge it is cut to the page.
  wintype[0] = 0x80;
  windowabove = 0;
  mousexp = 638, mouseyp = 478;
  showmouse();
  EXPECT_EQ(mousegraph, 135);
  EXPECT_EQ(surfacepixel(lpDDSPrimary, 639, 479), 0x1000u + 135);
  mouseoff();
  windowabove = -1;
  freecharsets();
}
