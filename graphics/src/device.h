// Internal state of the drawing layer, shared by its source files. Each file
// works on its own part: raster.cpp the pages, colors.cpp the palette,
// text.cpp the fonts, keyboard.cpp the key queue and key state, window.cpp
// the SDL window, the mouse and page flips, headless.cpp the test mode.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "graphics.h"

namespace gfx {

constexpr int kPageCount = 2;
constexpr int kKeyQueueSize = 32;

struct Device {
  bool open = false;
  bool trueColor = false;
  int width = 0;
  int height = 0;

  // Palette index (palette windows) or 0xBBGGRR value (true colour) per pixel.
  std::array<std::vector<Color>, kPageCount> pages;
  int activePage = 0;
  int visualPage = 0;

  Color color = 15;
  Color fillColor = 15;
  int fillPattern = kSolidFill;
  int currentX = 0;
  int currentY = 0;

  int font = kMonoFont;
  int textSize = 1;
  int justifyHorizontal = kLeftText;
  int justifyVertical = kTopText;
};

extern Device device;

// ---- raster.cpp
void ResetPages(int width, int height, bool trueColor);
// Sets one pixel of the active page if it lies in the drawing area.
void PutPixel(int x, int y, Color color);
// Mixes `color` over the pixel with coverage 0..255 (true colour only;
// palette windows set the pixel when coverage >= 128).
void BlendPixel(int x, int y, Color color, int coverage);

// ---- colors.cpp
// The 256 palette entries as 0xRRGGBB.
const std::array<std::uint32_t, 256>& Palette();
std::uint32_t ToRgb(Color color);  // a pixel of the current mode as 0xRRGGBB
// Writes page `page` as 0xAARRGGBB (alpha 255) pixels, width * height of them.
void PageToArgb(int page, std::uint32_t* out);

// ---- text.cpp
void LoadFonts();   // at InitGraph; warns once on stderr if no font is found
void FreeFonts();   // at CloseGraph

// ---- keyboard.cpp
void ClearKeyQueue();
// Appends one key (one byte, or 0 and a code for an extended key), dropping
// the oldest whole keys while it does not fit.
void QueueKey(unsigned char code, bool extended);
bool KeyQueueEmpty();
unsigned char TakeKeyByte();
// Key state of the headless mode and the window, by virtual-key code.
void ClearHeldKeys();
void SetHeldKey(int virtualKey, bool down);

// ---- window.cpp
struct MouseState {
  int x = 0;
  int y = 0;
  int buttons = 0;
};
extern MouseState mouse;
// Handles pending window events (fills the key queue, records the mouse).
void PumpEvents();

// ---- random.cpp
void ResetRandom();  // the fixed start seed of a new run

// ---- headless.cpp
bool HeadlessEnabled();
void HeadlessFlip();  // calls the test's hook from SetVisualPage

}  // namespace gfx
