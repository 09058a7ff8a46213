// The real window under an X server: its pixels, typed keys, the mouse, key
// state, the close request, resizing, signals and a missing display. Each
// test drives the window_probe program through the X server.

#include <gtest/gtest.h>
// Xlib after gtest: its macros (None, Bool) clash with gtest's names.
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
#include <signal.h>
#include <sys/wait.h>

#include <array>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "x11_session.h"

namespace {

constexpr const char* kCaption = "GRAPHICS PROBE";
constexpr double kStartSeconds = 10;
constexpr double kEventSeconds = 5;
constexpr double kExitSeconds = 5;
constexpr int kBarCount = 8;

// The probe's bars as the screen must show them.
constexpr std::array<std::uint32_t, kBarCount> kPaletteBarsRgb = {
    0x0000A8, 0x00A800, 0xA80000, 0xFCFC54, 0xFCFCFC, 0x8484FC, 0xFC5454, 0xA8A8A8};
constexpr std::array<std::uint32_t, kBarCount> kTrueColorBarsRgb = {
    0xFF0000, 0x00FF00, 0x0000FF, 0xFFFF00, 0x123456, 0xFFFFFF, 0x808080, 0x010203};

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream stream(text);
  for (std::string line; std::getline(stream, line);) lines.push_back(line);
  return lines;
}

// The probe's picture: bar b covers columns b*w/8 .. (b+1)*w/8-1.
bool ShowsBars(const x11::Image& image, int width, int height,
               const std::array<std::uint32_t, kBarCount>& bars) {
  if (image.width != width || image.height != height) return false;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      if (image.At(x, y) != bars[x * kBarCount / width]) return false;
    }
  }
  return true;
}

class RealWindow : public testing::Test {
 protected:
  void SetUp() override {
    const char* display = std::getenv("DISPLAY");
    ASSERT_TRUE(display != nullptr && display[0] != '\0')
        << "real-window tests need an X server: set DISPLAY (./test.sh starts Xvfb)";
    ASSERT_TRUE(session_.Ok()) << "cannot connect to the X server at DISPLAY=" << display
                               << " (or it lacks the XTEST extension)";
    raw_ = XOpenDisplay(nullptr);
    ASSERT_NE(raw_, nullptr);
  }

  void TearDown() override {
    if (raw_ != nullptr) XCloseDisplay(raw_);
  }

  // A mouse button held down across frames (the session only clicks).
  void SetButton(unsigned int button, bool down) {
    XTestFakeButtonEvent(raw_, button, down ? True : False, CurrentTime);
    XSync(raw_, False);
  }

  // Starts the probe and waits for its window and its first picture.
  void StartProbe(const std::vector<std::string>& env) {
    probe_ = x11::Start(WINDOW_PROBE_BINARY, env);
    ASSERT_GT(probe_.pid, 0) << "cannot start " << WINDOW_PROBE_BINARY;
    window_ = session_.FindWindow(kCaption, kStartSeconds);
    ASSERT_NE(window_, 0u) << "no window appeared; probe output:\n" << x11::ReadStderr(probe_);
    ASSERT_TRUE(WaitForOutput("ready")) << x11::ReadStderr(probe_);
    session_.Focus(window_);
  }

  bool WaitForOutput(const std::string& line) {
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::duration<double>(kEventSeconds);
    while (std::chrono::steady_clock::now() < deadline) {
      for (const std::string& seen : Lines(x11::ReadStderr(probe_))) {
        if (seen == line) return true;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return false;
  }

  // Moves the pointer to the screen's corner, away from where the probe's
  // centred window will open.
  void ParkPointerOffWindow() { session_.MovePointer(DefaultRootWindow(raw_), 0, 0); }

  // Types 'q' and expects the probe to end normally; returns its output.
  std::vector<std::string> QuitProbe() {
    session_.TapKey(XK_q);
    EXPECT_EQ(x11::WaitExit(probe_, kExitSeconds), 0) << x11::ReadStderr(probe_);
    return Lines(x11::ReadStderr(probe_));
  }

  x11::Session session_;
  Display* raw_ = nullptr;
  x11::Process probe_;
  unsigned long window_ = 0;
};

TEST_F(RealWindow, PaletteWindowShowsExactColours) {
  StartProbe({"PROBE_COLOR=palette"});
  EXPECT_TRUE(session_.WaitForPicture(window_, kEventSeconds, [](const x11::Image& image) {
    return ShowsBars(image, 640, 480, kPaletteBarsRgb);
  })) << "the window does not show the palette bars 1:1";
  QuitProbe();
}

TEST_F(RealWindow, TrueColourWindowShowsExactColours) {
  StartProbe({"PROBE_COLOR=truecolor"});
  EXPECT_TRUE(session_.WaitForPicture(window_, kEventSeconds, [](const x11::Image& image) {
    return ShowsBars(image, 800, 600, kTrueColorBarsRgb);
  })) << "the window does not show the true-colour bars 1:1";
  QuitProbe();
}

TEST_F(RealWindow, TypedKeysArriveAsQueueBytes) {
  StartProbe({"PROBE_MODE=read"});
  session_.TapKey(XK_a);
  session_.TapKey(XK_a, true);
  session_.TapKey(XK_1, true);
  session_.TapKey(XK_space);
  session_.TapKey(XK_Return);
  session_.TapKey(XK_Escape);
  session_.TapKey(XK_Up);
  session_.TapKey(XK_Down);
  session_.TapKey(XK_Left);
  session_.TapKey(XK_Right);
  session_.TapKey(XK_F12);
  session_.PressKey(XK_Shift_L);  // modifiers alone queue nothing
  session_.ReleaseKey(XK_Shift_L);
  session_.PressKey(XK_Control_L);
  session_.TapKey(XK_c);
  session_.ReleaseKey(XK_Control_L);
  const std::vector<std::string> expected = {"ready",  "key 97",  "key 65", "key 33", "key 32",
                                             "key 13", "key 27",  "key 0",  "key 72", "key 0",
                                             "key 80", "key 0",   "key 75", "key 0",  "key 77",
                                             "key 0",  "key 134", "key 3",  "key 113"};
  EXPECT_EQ(QuitProbe(), expected);
}

TEST_F(RealWindow, CloseRequestQueues0And107AndKeepsTheWindow) {
  StartProbe({"PROBE_MODE=read"});
  session_.RequestClose(window_);
  ASSERT_TRUE(WaitForOutput("key 107")) << x11::ReadStderr(probe_);
  EXPECT_NE(session_.FindWindow(kCaption, 0), 0u) << "the close request closed the window";
  EXPECT_EQ(QuitProbe(), (std::vector<std::string>{"ready", "key 0", "key 107", "key 113"}));
}

TEST_F(RealWindow, MouseReportsDrawingAreaPixelsAndModifiers) {
  ParkPointerOffWindow();
  StartProbe({"PROBE_MODE=poll"});
  ASSERT_TRUE(WaitForOutput("mouse 0 0 0")) << "mouse is not 0 before the first event";
  session_.MovePointer(window_, 100, 50);
  EXPECT_TRUE(WaitForOutput("mouse 100 50 0"));
  session_.MovePointer(window_, 639, 479);
  EXPECT_TRUE(WaitForOutput("mouse 639 479 0"));
  session_.MovePointer(window_, 320, 240);
  EXPECT_TRUE(WaitForOutput("mouse 320 240 0"));
  session_.PressKey(XK_Shift_L);
  SetButton(Button3, true);
  EXPECT_TRUE(WaitForOutput("mouse 320 240 10")) << "right button with Shift";
  SetButton(Button3, false);
  session_.ReleaseKey(XK_Shift_L);
  EXPECT_TRUE(WaitForOutput("mouse 320 240 8")) << "released with Shift still held";
  SetButton(Button1, true);
  SetButton(Button2, true);
  EXPECT_TRUE(WaitForOutput("mouse 320 240 5")) << "left and middle";
  SetButton(Button1, false);
  SetButton(Button2, false);
  EXPECT_TRUE(WaitForOutput("mouse 320 240 0"));
  session_.PressKey(XK_Control_L);
  session_.MovePointer(window_, 321, 240);
  session_.ReleaseKey(XK_Control_L);
  EXPECT_TRUE(WaitForOutput("mouse 321 240 16")) << "Ctrl held at the motion";
  QuitProbe();
}

// Without pointer capture a drag that leaves the window keeps the last
// position seen inside it (the X server still reports the drag outside).
TEST_F(RealWindow, DragLeavingTheWindowKeepsLastInsidePosition) {
  StartProbe({"PROBE_MODE=poll"});
  session_.MovePointer(window_, 600, 200);
  ASSERT_TRUE(WaitForOutput("mouse 600 200 0"));
  SetButton(Button1, true);
  session_.MovePointer(window_, 630, 200);
  EXPECT_TRUE(WaitForOutput("mouse 630 200 1"));
  session_.MovePointer(window_, 700, 200);  // outside: the window is 640 wide
  session_.MovePointer(window_, 900, 500);
  SetButton(Button1, false);  // released outside
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  session_.MovePointer(window_, 10, 20);  // back inside
  ASSERT_TRUE(WaitForOutput("mouse 10 20 0"));
  const std::vector<std::string> lines = QuitProbe();
  ASSERT_GE(lines.size(), 2u);
  EXPECT_EQ(lines[lines.size() - 1], "mouse 10 20 0");
  EXPECT_EQ(lines[lines.size() - 2], "mouse 630 200 1")
      << "an event outside the window was recorded";
}

TEST_F(RealWindow, AsyncKeyStateFollowsTheKeyboard) {
  StartProbe({"PROBE_MODE=poll"});
  session_.PressKey(XK_Left);
  EXPECT_TRUE(WaitForOutput("state 37 1"));
  session_.PressKey(XK_Return);
  EXPECT_TRUE(WaitForOutput("state 13 1"));
  session_.ReleaseKey(XK_Left);
  EXPECT_TRUE(WaitForOutput("state 37 0"));
  session_.ReleaseKey(XK_Return);
  EXPECT_TRUE(WaitForOutput("state 13 0"));
  session_.PressKey(XK_a);
  EXPECT_TRUE(WaitForOutput("state 65 1"));
  session_.ReleaseKey(XK_a);
  EXPECT_TRUE(WaitForOutput("state 65 0"));
  QuitProbe();
}

// Twice 640 x 480 is 1280 x 960: 20 black rows above and below. The whole
// window stays on the 1280 x 1024 screen so the server can read it back.
constexpr int kResizedWidth = 1280;
constexpr int kResizedHeight = 1000;
constexpr int kResizedBorder = 20;

// Resizing the window (as a window manager would) scales the picture to fit
// with nearest-neighbour pixels, keeping its aspect with black borders. The
// probe waits in ReadKey meanwhile, so the repaint comes from the event
// handling alone.
TEST_F(RealWindow, ResizedWindowScalesPicture) {
  StartProbe({"PROBE_MODE=read", "PROBE_COLOR=palette"});
  XMoveResizeWindow(raw_, window_, 0, 0, kResizedWidth, kResizedHeight);
  XSync(raw_, False);
  const bool scaled = session_.WaitForPicture(window_, kEventSeconds, [](const x11::Image& image) {
    if (image.width != kResizedWidth || image.height != kResizedHeight) return false;
    for (int y = 0; y < kResizedHeight; ++y) {
      for (int x = 0; x < kResizedWidth; ++x) {
        const bool border = y < kResizedBorder || y >= kResizedHeight - kResizedBorder;
        const std::uint32_t expected = border ? 0u : kPaletteBarsRgb[x / 2 * kBarCount / 640];
        if (image.At(x, y) != expected) return false;
      }
    }
    return true;
  });
  EXPECT_TRUE(scaled) << "the resized window does not show the picture doubled on black";
  QuitProbe();
}

TEST_F(RealWindow, ResizedWindowMapsMouseBackToPixels) {
  StartProbe({"PROBE_MODE=poll", "PROBE_COLOR=palette"});
  XMoveResizeWindow(raw_, window_, 0, 0, kResizedWidth, kResizedHeight);
  XSync(raw_, False);
  ASSERT_TRUE(session_.WaitForPicture(window_, kEventSeconds, [](const x11::Image& image) {
    return image.width == kResizedWidth && image.height == kResizedHeight;
  }));
  session_.MovePointer(window_, 2 * 100 + 1, kResizedBorder + 2 * 50);
  EXPECT_TRUE(WaitForOutput("mouse 100 50 0"));
  session_.MovePointer(window_, kResizedWidth - 1, 5);  // on the top border
  EXPECT_TRUE(WaitForOutput("mouse 639 0 0"));
  session_.MovePointer(window_, 0, kResizedHeight - 1);  // on the bottom border
  EXPECT_TRUE(WaitForOutput("mouse 0 479 0"));
  QuitProbe();
}

TEST_F(RealWindow, TermAndInterruptSignalsEndTheProgramAtOnce) {
  for (const int signal : {SIGTERM, SIGINT}) {
    SCOPED_TRACE(signal);
    StartProbe({"PROBE_MODE=read"});
    kill(probe_.pid, signal);
    int status = 0;
    pid_t done = 0;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(3);
    while ((done = waitpid(probe_.pid, &status, WNOHANG)) == 0 &&
           std::chrono::steady_clock::now() < deadline) {
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    ASSERT_EQ(done, probe_.pid) << "the program kept running after the signal";
    probe_.pid = -1;
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal);
  }
}

TEST_F(RealWindow, BadFrameRateSettingWarnsOnceAndRuns) {
  StartProbe({"PROBE_MODE=read", "GRAPHICS_FPS=fast"});
  const std::vector<std::string> lines = QuitProbe();
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0].rfind("graphics: GRAPHICS_FPS=\"fast\"", 0), 0u) << lines[0];
  EXPECT_EQ(lines[1], "ready");
}

TEST_F(RealWindow, MissingFontsWarnOnceAndRun) {
  const std::string config = testing::TempDir() + "graphics_no_fonts.conf";
  std::ofstream(config) << "<?xml version=\"1.0\"?>\n<fontconfig></fontconfig>\n";
  StartProbe({"PROBE_MODE=read", "FONTCONFIG_FILE=" + config});
  const std::vector<std::string> lines = QuitProbe();
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0].rfind("graphics: no font found", 0), 0u) << lines[0];
  EXPECT_EQ(lines[1], "ready");
  std::remove(config.c_str());
}

// Without a usable display the program says why on one line and exits 1.
TEST(NoDisplay, OneErrorLineAndStatus1) {
  const std::vector<std::vector<std::string>> environments = {{"DISPLAY", "WAYLAND_DISPLAY"},
                                                              {"DISPLAY=:97", "WAYLAND_DISPLAY"}};
  for (const auto& env : environments) {
    SCOPED_TRACE(env[0]);
    x11::Process probe = x11::Start(WINDOW_PROBE_BINARY, env);
    ASSERT_GT(probe.pid, 0);
    EXPECT_EQ(x11::WaitExit(probe, kStartSeconds), 1);
    const std::vector<std::string> lines = Lines(x11::ReadStderr(probe));
    ASSERT_EQ(lines.size(), 1u) << x11::ReadStderr(probe);
    EXPECT_EQ(lines[0].rfind("graphics: cannot open the window: ", 0), 0u) << lines[0];
    EXPECT_GT(lines[0].size(), std::string("graphics: cannot open the window: ").size());
  }
}

}  // namespace
