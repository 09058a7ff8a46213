// Colours: the 256-entry palette of palette windows, the nearest-entry
// mapping, the named colours, and pixels turned into screen RGB.

#include <algorithm>
#include <array>
#include <cstdint>

#include "device.h"

namespace gfx {

namespace {

// Palette levels are 6-bit (0..63); the screen shows them times 4.
constexpr std::uint32_t FromLevels(int r, int g, int b) {
  return std::uint32_t(r * 4) << 16 | std::uint32_t(g * 4) << 8 | std::uint32_t(b * 4);
}

// One ramp of 24 hues around the colour circle, from blue through magenta,
// red, yellow and green back towards blue, with the component levels
// low <= l1 <= l2 <= l3 <= high.
void FillRamp(std::array<std::uint32_t, 256>& palette, int start, std::array<int, 5> level) {
  static constexpr std::array<std::array<int, 3>, 24> kHueSteps = {{
      {0, 0, 4}, {1, 0, 4}, {2, 0, 4}, {3, 0, 4}, {4, 0, 4}, {4, 0, 3}, {4, 0, 2}, {4, 0, 1},
      {4, 0, 0}, {4, 1, 0}, {4, 2, 0}, {4, 3, 0}, {4, 4, 0}, {3, 4, 0}, {2, 4, 0}, {1, 4, 0},
      {0, 4, 0}, {0, 4, 1}, {0, 4, 2}, {0, 4, 3}, {0, 4, 4}, {0, 3, 4}, {0, 2, 4}, {0, 1, 4},
  }};
  for (int i = 0; i < 24; ++i) {
    const auto& step = kHueSteps[std::size_t(i)];
    palette[std::size_t(start + i)] = FromLevels(level[std::size_t(step[0])],
                                                 level[std::size_t(step[1])],
                                                 level[std::size_t(step[2])]);
  }
}

std::array<std::uint32_t, 256> BuildPalette() {
  std::array<std::uint32_t, 256> palette{};
  static constexpr std::array<std::uint32_t, 16> kBasic = {
      0x000000, 0x0000A8, 0x00A800, 0x00A8A8, 0xA80000, 0xA800A8, 0xA85400, 0xA8A8A8,
      0x545454, 0x8484FC, 0x54FC54, 0x54FCFC, 0xFC5454, 0xFC54FC, 0xFCFC54, 0xFCFCFC,
  };
  std::copy(kBasic.begin(), kBasic.end(), palette.begin());
  static constexpr std::array<int, 16> kGreyLevels = {0,  5,  8,  11, 14, 17, 20, 24,
                                                      28, 32, 36, 40, 45, 50, 56, 63};
  for (int i = 0; i < 16; ++i) {
    const int level = kGreyLevels[std::size_t(i)];
    palette[std::size_t(16 + i)] = FromLevels(level, level, level);
  }
  // Three brightnesses, each in three saturations; 248..255 stay black.
  static constexpr std::array<std::array<int, 5>, 9> kRampLevels = {{
      {0, 16, 31, 47, 63}, {31, 39, 47, 55, 63}, {45, 49, 54, 58, 63},
      {0, 7, 14, 21, 28},  {14, 17, 21, 24, 28}, {20, 22, 24, 26, 28},
      {0, 4, 8, 12, 16},   {8, 10, 12, 14, 16},  {11, 12, 13, 15, 16},
  }};
  for (int ramp = 0; ramp < 9; ++ramp) FillRamp(palette, 32 + 24 * ramp, kRampLevels[std::size_t(ramp)]);
  return palette;
}

const std::array<std::uint32_t, 256> kPalette = BuildPalette();

// The entry nearest in squared RGB distance; the lowest index wins a tie.
Color NearestEntry(int red, int green, int blue) {
  Color best = 0;
  int bestDistance = 1 << 30;
  for (int i = 0; i < 256; ++i) {
    const std::uint32_t entry = kPalette[std::size_t(i)];
    const int dr = int(entry >> 16) - red;
    const int dg = int((entry >> 8) & 0xFFu) - green;
    const int db = int(entry & 0xFFu) - blue;
    const int distance = dr * dr + dg * dg + db * db;
    if (distance < bestDistance) {
      bestDistance = distance;
      best = Color(i);
    }
  }
  return best;
}

}  // namespace

const std::array<std::uint32_t, 256>& Palette() { return kPalette; }

std::uint32_t ToRgb(Color color) {
  if (!device.trueColor) return kPalette[color & 0xFFu];
  return (color & 0xFFu) << 16 | (color & 0xFF00u) | ((color >> 16) & 0xFFu);
}

void PageToArgb(int page, std::uint32_t* out) {
  const auto& pixels = device.pages[std::size_t(page)];
  const std::size_t count = pixels.size();
  if (device.trueColor) {
    for (std::size_t i = 0; i < count; ++i) {
      const Color c = pixels[i];
      out[i] = 0xFF000000u | (c & 0xFFu) << 16 | (c & 0xFF00u) | ((c >> 16) & 0xFFu);
    }
  } else {
    for (std::size_t i = 0; i < count; ++i) out[i] = 0xFF000000u | kPalette[pixels[i] & 0xFFu];
  }
}

}  // namespace gfx

Color RGBColor(int red, int green, int blue) {
  red = std::clamp(red, 0, 255);
  green = std::clamp(green, 0, 255);
  blue = std::clamp(blue, 0, 255);
  if (gfx::device.trueColor) return Color(red) | Color(green) << 8 | Color(blue) << 16;
  return gfx::NearestEntry(red, green, blue);
}

Color WhiteColor() { return RGBColor(255, 255, 255); }
Color YellowColor() { return RGBColor(255, 255, 0); }
Color GreenColor() { return RGBColor(0, 128, 0); }
Color RedColor() { return RGBColor(255, 0, 0); }
Color LightRedColor() { return RGBColor(255, 128, 128); }
Color LightGreenColor() { return RGBColor(144, 238, 144); }
Color LightGrayColor() { return RGBColor(168, 168, 168); }
