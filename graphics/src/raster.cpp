// Pages and rasterising: clearing, pixels, lines, circles and bars, all
// clipped to the drawing area. Coordinates may be anywhere in the int range;
// lines are clipped analytically, so their cost follows the visible part.

#include <algorithm>
#include <cstdint>
#include <utility>

#include "device.h"

namespace gfx {

Device device;

namespace {

// 128-bit intermediates: products of two full-range int spans overflow 64 bits.
__extension__ typedef __int128 Wide;

bool InArea(std::int64_t x, std::int64_t y) {
  return x >= 0 && y >= 0 && x < device.width && y < device.height;
}

Color* ActiveRow(std::int64_t y) {
  return device.pages[device.activePage].data() + y * device.width;
}

void Plot(std::int64_t x, std::int64_t y, Color color) {
  if (InArea(x, y)) ActiveRow(y)[x] = color;
}

Wide FloorDiv(Wide a, Wide b) {  // b > 0
  Wide q = a / b;
  return (q * b > a) ? q - 1 : q;
}

Wide CeilDiv(Wide a, Wide b) { return -FloorDiv(-a, b); }  // b > 0

// A line stepping one unit along its major axis per pixel, from major
// coordinate a0 to a0 + length (length >= 0), while the minor coordinate
// moves by rise * minorStep (rise in 0..length, minorStep +-1) rounded half
// away from the start: pixel i lies at minor offset
// floor((2 * i * rise + length) / (2 * length)). Only the pixels inside the
// area are visited.
struct MajorLine {
  std::int64_t a0, b0, length, rise;
  int minorStep;
  bool xMajor;
};

void DrawMajorLine(const MajorLine& line, Color color) {
  const std::int64_t majorLimit = (line.xMajor ? device.width : device.height) - 1;
  const std::int64_t minorLimit = (line.xMajor ? device.height : device.width) - 1;
  const Wide twoLength = Wide(2) * line.length;
  const Wide twoRise = Wide(2) * line.rise;

  // Steps whose major coordinate is inside.
  Wide first = std::max<Wide>(0, -line.a0);
  Wide last = std::min<Wide>(line.length, Wide(majorLimit) - line.a0);

  // Steps whose minor offset k lies in [kLow, kHigh].
  Wide kLow, kHigh;
  if (line.minorStep > 0) {
    kLow = -Wide(line.b0);
    kHigh = Wide(minorLimit) - line.b0;
  } else {
    kLow = Wide(line.b0) - minorLimit;
    kHigh = line.b0;
  }
  if (kHigh < 0 || kLow > line.rise) return;
  if (kLow > 0) {  // rise > 0 here
    first = std::max(first, CeilDiv(twoLength * kLow - line.length, twoRise));
  }
  if (kHigh < line.rise) {  // rise > 0 here
    last = std::min(last, FloorDiv(twoLength * (kHigh + 1) - line.length - 1, twoRise));
  }
  if (first > last) return;

  // Walk the visible steps with the usual error term.
  Wide numerator = twoRise * first + line.length;
  std::int64_t k = line.length == 0 ? 0 : std::int64_t(FloorDiv(numerator, twoLength));
  std::int64_t error = line.length == 0 ? 0 : std::int64_t(numerator - Wide(k) * twoLength);
  const std::int64_t errorStep = 2 * line.rise;
  const std::int64_t errorWrap = 2 * line.length;
  for (Wide i = first; i <= last; ++i) {
    std::int64_t a = line.a0 + std::int64_t(i);
    std::int64_t b = line.b0 + line.minorStep * k;
    if (line.xMajor) {
      ActiveRow(b)[a] = color;
    } else {
      ActiveRow(a)[b] = color;
    }
    error += errorStep;
    if (error >= errorWrap) {
      error -= errorWrap;
      ++k;
    }
  }
}

// Both end points included; a line and its reverse set the same pixels.
void DrawLine(std::int64_t x1, std::int64_t y1, std::int64_t x2, std::int64_t y2, Color color) {
  const std::int64_t dx = x2 - x1;
  const std::int64_t dy = y2 - y1;
  const bool xMajor = (dx < 0 ? -dx : dx) >= (dy < 0 ? -dy : dy);
  if (xMajor ? x1 > x2 : y1 > y2) {
    std::swap(x1, x2);
    std::swap(y1, y2);
  }
  MajorLine line;
  line.xMajor = xMajor;
  line.a0 = xMajor ? x1 : y1;
  line.b0 = xMajor ? y1 : x1;
  line.length = xMajor ? x2 - x1 : y2 - y1;
  const std::int64_t minorDelta = xMajor ? y2 - y1 : x2 - x1;
  line.rise = minorDelta < 0 ? -minorDelta : minorDelta;
  line.minorStep = minorDelta < 0 ? -1 : 1;
  DrawMajorLine(line, color);
}

Color MaskColor(Color color) { return device.trueColor ? (color & 0xFFFFFFu) : (color & 0xFFu); }

}  // namespace

void ResetPages(int width, int height, bool trueColor) {
  device = Device{};
  device.open = true;
  device.trueColor = trueColor;
  device.width = width;
  device.height = height;
  for (auto& page : device.pages) page.assign(std::size_t(width) * std::size_t(height), 0);
  const Color white = trueColor ? 0xFFFFFFu : 15u;
  device.color = white;
  device.fillColor = white;
}

void PutPixel(int x, int y, Color color) { Plot(x, y, color); }

void BlendPixel(int x, int y, Color color, int coverage) {
  if (!InArea(x, y) || coverage <= 0) return;
  Color& pixel = ActiveRow(y)[x];
  if (!device.trueColor || coverage >= 255) {
    if (device.trueColor || coverage >= 128) pixel = color;
    return;
  }
  Color mixed = 0;
  for (int shift = 0; shift < 24; shift += 8) {
    const unsigned over = (color >> shift) & 0xFFu;
    const unsigned under = (pixel >> shift) & 0xFFu;
    const unsigned channel = (over * unsigned(coverage) + under * (255u - unsigned(coverage)) + 127u) / 255u;
    mixed |= Color(channel) << shift;
  }
  pixel = mixed;
}

}  // namespace gfx

using gfx::device;

void SetActivePage(int page) {
  if (page >= 0 && page < gfx::kPageCount) device.activePage = page;
}

void ClearDevice() {
  auto& page = device.pages[device.activePage];
  std::fill(page.begin(), page.end(), Color{0});
}

void SetColor(Color color) { device.color = gfx::MaskColor(color); }

Color GetColor() { return device.color; }

void SetFillStyle(int pattern, Color color) {
  device.fillPattern = pattern;
  device.fillColor = gfx::MaskColor(color);
}

void Line(int x1, int y1, int x2, int y2) {
  gfx::DrawLine(x1, y1, x2, y2, device.color);
  device.currentX = x2;
  device.currentY = y2;
}

void MoveTo(int x, int y) {
  device.currentX = x;
  device.currentY = y;
}

void LineTo(int x, int y) { Line(device.currentX, device.currentY, x, y); }

void Circle(int x, int y, int radius) {
  if (radius < 0) return;
  const std::int64_t cx = x, cy = y, r = radius;
  if (cx + r < 0 || cy + r < 0 || cx - r >= device.width || cy - r >= device.height) return;
  // Midpoint circle: one octant computed, eight mirrored.
  std::int64_t dx = r, dy = 0, decision = 1 - r;
  const Color color = device.color;
  while (dx >= dy) {
    gfx::Plot(cx + dx, cy + dy, color);
    gfx::Plot(cx - dx, cy + dy, color);
    gfx::Plot(cx + dx, cy - dy, color);
    gfx::Plot(cx - dx, cy - dy, color);
    gfx::Plot(cx + dy, cy + dx, color);
    gfx::Plot(cx - dy, cy + dx, color);
    gfx::Plot(cx + dy, cy - dx, color);
    gfx::Plot(cx - dy, cy - dx, color);
    ++dy;
    if (decision < 0) {
      decision += 2 * dy + 1;
    } else {
      --dx;
      decision += 2 * (dy - dx) + 1;
    }
  }
}

void Bar(int x1, int y1, int x2, int y2) {
  const int left = std::max(std::min(x1, x2), 0);
  const int right = std::min(std::max(x1, x2), device.width - 1);
  const int top = std::max(std::min(y1, y2), 0);
  const int bottom = std::min(std::max(y1, y2), device.height - 1);
  if (left > right || top > bottom) return;
  const Color color = device.fillPattern == 0 ? Color{0} : device.fillColor;
  const int count = right - left + 1;
  for (int row = top; row <= bottom; ++row) std::fill_n(gfx::ActiveRow(row) + left, count, color);
}
