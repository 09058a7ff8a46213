// Test control of the drawing layer: runs a program's whole frame loop
// without a display, with input scripted frame by frame and every finished
// page read back as RGB. Not for use by the programs themselves.
#pragma once

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <vector>

namespace headless {

// An RGB picture of one page: pixel (x, y) is rgb[y * width + x], packed as
// 0xRRGGBB.
struct Picture {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> rgb;
  std::uint32_t At(int x, int y) const { return rgb[y * width + x]; }
};

constexpr std::uint32_t Rgb(int r, int g, int b) {
  return (std::uint32_t(r) << 16) | (std::uint32_t(g) << 8) | std::uint32_t(b);
}

// Called from inside every SetVisualPage, after the page turned visible:
// `flip` counts the calls from 1. The visual page then holds the frame the
// program finished before this call; the hook may read it and script the
// input for what follows.
using FlipHook = std::function<void(int flip)>;

// From now on InitGraph opens no window: the pages live in memory, input
// comes only from the functions below, and flips are not paced. Resets the
// input state (queue, mouse, held keys) and the random generator.
void Enable(FlipHook onFlip = {});
void Disable();

// Input, as if it had reached the window.
void TypeBytes(std::initializer_list<unsigned char> bytes);  // raw queue bytes
void TypeKey(unsigned char code);            // one character key
void TypeExtendedKey(unsigned char code);    // 0 then code
void PressCloseButton();                     // 0, 107
void MoveMouse(int x, int y, int buttons = 0);
void HoldKey(int virtualKey, bool down);

// Page read-back. Pages stay readable after CloseGraph until the next
// InitGraph.
Picture ReadPage(int page);
Picture ReadVisualPage();
Picture ReadActivePage();
int VisualPage();
int ActivePage();

}  // namespace headless
