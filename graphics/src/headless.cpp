// The test mode: pages in memory, input scripted by the test, and a hook at
// every page flip.

#include <algorithm>
#include <utility>

#include "device.h"
#include "graphics_headless.h"

namespace {

bool enabled = false;
headless::FlipHook flipHook;
int flipCount = 0;

}  // namespace

namespace gfx {

bool HeadlessEnabled() { return enabled; }

void HeadlessFlip() {
  ++flipCount;
  if (flipHook) flipHook(flipCount);
}

}  // namespace gfx

namespace headless {

void Enable(FlipHook onFlip) {
  enabled = true;
  flipHook = std::move(onFlip);
  flipCount = 0;
  gfx::ClearKeyQueue();
  gfx::ClearHeldKeys();
  gfx::mouse = {};
  gfx::ResetRandom();
}

void Disable() {
  enabled = false;
  flipHook = nullptr;
}

void TypeBytes(std::initializer_list<unsigned char> bytes) {
  for (auto it = bytes.begin(); it != bytes.end(); ++it) {
    if (*it == 0 && it + 1 != bytes.end()) {
      ++it;
      gfx::QueueKey(*it, true);
    } else {
      gfx::QueueKey(*it, false);
    }
  }
}

void TypeKey(unsigned char code) { gfx::QueueKey(code, false); }

void TypeExtendedKey(unsigned char code) { gfx::QueueKey(code, true); }

void PressCloseButton() { gfx::QueueKey(107, true); }

void MoveMouse(int x, int y, int buttons) {
  if (gfx::device.open) {
    x = std::clamp(x, 0, gfx::device.width - 1);
    y = std::clamp(y, 0, gfx::device.height - 1);
  }
  gfx::mouse = {x, y, buttons};
}

void HoldKey(int virtualKey, bool down) { gfx::SetHeldKey(virtualKey, down); }

Picture ReadPage(int page) {
  Picture picture;
  picture.width = gfx::device.width;
  picture.height = gfx::device.height;
  const auto& pixels = gfx::device.pages[std::size_t(page)];
  picture.rgb.resize(pixels.size());
  std::transform(pixels.begin(), pixels.end(), picture.rgb.begin(), gfx::ToRgb);
  return picture;
}

Picture ReadVisualPage() { return ReadPage(gfx::device.visualPage); }

Picture ReadActivePage() { return ReadPage(gfx::device.activePage); }

int VisualPage() { return gfx::device.visualPage; }

int ActivePage() { return gfx::device.activePage; }

}  // namespace headless
