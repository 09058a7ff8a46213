// A tiny program for the real-window tests: opens a window captioned
// "GRAPHICS PROBE", shows eight bars of known colours and reports its input
// on stdout, one line per event, until it reads the key 'q'.
//
// PROBE_COLOR=truecolor opens an 800 x 600 true-colour window; otherwise a
// 640 x 480 palette window.
// PROBE_MODE=read waits in ReadKey and prints "key <byte>" per byte.
// PROBE_MODE=poll runs a paced frame loop and prints "mouse <x> <y> <buttons>"
// when the mouse state changes and "state <virtual key> <0|1>" when a watched
// key goes down or up; it takes keys without printing them.

#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "graphics.h"

namespace {

constexpr int kBarCount = 8;
constexpr unsigned char kQuitKey = 'q';
constexpr int kShownPage = 1;

constexpr std::array<Color, kBarCount> kPaletteBars = {1, 2, 4, 14, 15, 9, 12, 7};
struct Rgb {
  int red, green, blue;
};
constexpr std::array<Rgb, kBarCount> kTrueColorBars = {{{255, 0, 0},
                                                        {0, 255, 0},
                                                        {0, 0, 255},
                                                        {255, 255, 0},
                                                        {18, 52, 86},
                                                        {255, 255, 255},
                                                        {128, 128, 128},
                                                        {1, 2, 3}}};

constexpr std::array<int, 9> kWatchedKeys = {VK_RETURN, VK_ESCAPE, VK_SPACE, VK_LEFT, VK_UP,
                                             VK_RIGHT,  VK_DOWN,   VK_SHIFT, 'A'};

bool EnvironmentIs(const char* name, const char* value) {
  const char* text = std::getenv(name);
  return text != nullptr && std::strcmp(text, value) == 0;
}

void DrawBars(bool trueColor) {
  const int width = GetMaxX() + 1;
  for (int bar = 0; bar < kBarCount; ++bar) {
    const Rgb rgb = kTrueColorBars[bar];
    const Color color = trueColor ? RGBColor(rgb.red, rgb.green, rgb.blue) : kPaletteBars[bar];
    SetFillStyle(kSolidFill, color);
    Bar(bar * width / kBarCount, 0, (bar + 1) * width / kBarCount - 1, GetMaxY());
  }
}

void EchoKeys() {
  while (true) {
    const unsigned char key = ReadKey();
    std::printf("key %d\n", key);
    std::fflush(stdout);
    if (key == kQuitKey) return;
  }
}

void EchoPolledInput() {
  int lastX = -1, lastY = -1, lastButtons = -1;
  std::array<bool, kWatchedKeys.size()> down{};
  while (true) {
    SetVisualPage(kShownPage);
    const int x = GetMouseX(), y = GetMouseY(), buttons = GetMouseButtonState();
    if (x != lastX || y != lastY || buttons != lastButtons) {
      std::printf("mouse %d %d %d\n", x, y, buttons);
      lastX = x, lastY = y, lastButtons = buttons;
    }
    for (std::size_t i = 0; i < kWatchedKeys.size(); ++i) {
      const bool nowDown = GetAsyncKeyState(kWatchedKeys[i]) < 0;
      if (nowDown != down[i]) std::printf("state %d %d\n", kWatchedKeys[i], nowDown ? 1 : 0);
      down[i] = nowDown;
    }
    std::fflush(stdout);
    while (KeyPressed()) {
      if (ReadKey() == kQuitKey) return;
    }
  }
}

}  // namespace

int main() {
  const bool trueColor = EnvironmentIs("PROBE_COLOR", "truecolor");
  InitGraph(trueColor ? kTrueColorDriver : kPaletteDriver, trueColor ? kMode800x600 : kMode640x480,
            "GRAPHICS PROBE");
  SetActivePage(kShownPage);
  DrawBars(trueColor);
  SetVisualPage(kShownPage);
  std::printf("ready\n");
  std::fflush(stdout);
  if (EnvironmentIs("PROBE_MODE", "poll")) {
    EchoPolledInput();
  } else {
    EchoKeys();
  }
  CloseGraph();
  return 0;
}
