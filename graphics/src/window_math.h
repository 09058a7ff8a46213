// The window's arithmetic, free of SDL: where the picture goes in a window of
// any size, which drawing-area pixel a window position falls on, when a page
// flip may return, and how GRAPHICS_FPS is read.
#pragma once

#include <chrono>

namespace gfx {

struct ScreenRect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
};

struct PixelPoint {
  int x = 0;
  int y = 0;
};

// The largest rectangle of the drawing area's aspect that fits the window,
// centred; the rest of the window is border.
ScreenRect LetterboxRect(int areaWidth, int areaHeight, int windowWidth, int windowHeight);

// The drawing-area pixel under window position (windowX, windowY) when the
// area is shown in `picture`; positions on the border clamp to the nearest
// edge pixel.
PixelPoint WindowToDrawingArea(const ScreenRect& picture, int areaWidth, int areaHeight,
                               int windowX, int windowY);

using FlipClock = std::chrono::steady_clock;

struct FlipSchedule {
  bool started = false;
  FlipClock::time_point deadline{};
};

// Advances the schedule by one flip at `now` and returns the moment the flip
// should return. A flip more than one period late restarts the schedule
// rather than letting the following flips catch up in a burst.
FlipClock::time_point ScheduleFlip(FlipSchedule& schedule, FlipClock::time_point now,
                                   FlipClock::duration period);

enum class FrameRateSetting { kUnset, kValid, kInvalid };

// Reads a GRAPHICS_FPS value: a whole number >= 0 (0: no pacing). Null or
// empty text counts as unset.
FrameRateSetting ParseFrameRateSetting(const char* text, int& flipsPerSecond);

}  // namespace gfx
