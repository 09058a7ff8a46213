// Rasterising on a headless page: line pixel sets, clipping with huge
// coordinates, circle outlines, bars and pages.

#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "graphics.h"
#include "graphics_headless.h"

namespace {

using Pixel = std::pair<int, int>;
using PixelSet = std::set<Pixel>;

constexpr std::uint32_t kWhite = headless::Rgb(252, 252, 252);

class Raster : public ::testing::Test {
 protected:
  void SetUp() override {
    headless::Enable();
    InitGraph(kPaletteDriver, kMode800x600, "raster");
    SetColor(15);
  }
  void TearDown() override {
    CloseGraph();
    headless::Disable();
  }

  static PixelSet LitPixels() {
    const headless::Picture page = headless::ReadActivePage();
    PixelSet lit;
    for (int y = 0; y < page.height; ++y)
      for (int x = 0; x < page.width; ++x)
        if (page.At(x, y) != 0) lit.insert({x, y});
    return lit;
  }

  static PixelSet LineOnCleanPage(int x1, int y1, int x2, int y2) {
    ClearDevice();
    Line(x1, y1, x2, y2);
    return LitPixels();
  }

  // The picture around (cx, cy) as rows of '#' (lit) and '.'.
  static std::vector<std::string> Around(int cx, int cy, int reach) {
    const headless::Picture page = headless::ReadActivePage();
    std::vector<std::string> rows;
    for (int y = cy - reach; y <= cy + reach; ++y) {
      std::string row;
      for (int x = cx - reach; x <= cx + reach; ++x) row += page.At(x, y) != 0 ? '#' : '.';
      rows.push_back(row);
    }
    return rows;
  }
};

// A plain whole-length walk of the line, independent of any clipping:
// the minor coordinate advances when the doubled error reaches the length,
// always stepping from the end with the smaller major coordinate.
PixelSet ReferenceLine(std::int64_t x1, std::int64_t y1, std::int64_t x2, std::int64_t y2,
                       int width, int height) {
  const bool xMajor = std::llabs(x2 - x1) >= std::llabs(y2 - y1);
  if (xMajor ? x1 > x2 : y1 > y2) {
    std::swap(x1, x2);
    std::swap(y1, y2);
  }
  const std::int64_t length = xMajor ? x2 - x1 : y2 - y1;
  const std::int64_t delta = xMajor ? y2 - y1 : x2 - x1;
  const std::int64_t rise = std::llabs(delta);
  const std::int64_t step = delta < 0 ? -1 : 1;
  PixelSet pixels;
  std::int64_t minor = 0, error = length;  // error = 2 * i * rise + length - 2 * length * minor
  for (std::int64_t i = 0; i <= length; ++i) {
    const std::int64_t x = xMajor ? x1 + i : x1 + step * minor;
    const std::int64_t y = xMajor ? y1 + step * minor : y1 + i;
    if (x >= 0 && y >= 0 && x < width && y < height) pixels.insert({int(x), int(y)});
    error += 2 * rise;
    while (error >= 2 * length && length > 0) {
      error -= 2 * length;
      ++minor;
    }
  }
  return pixels;
}

struct LineCase {
  const char* name;
  int x1, y1, x2, y2;
  PixelSet pixels;
};

TEST_F(Raster, LinePixelSets) {
  const LineCase cases[] = {
      {"single point", 5, 7, 5, 7, {{5, 7}}},
      {"horizontal", 2, 3, 5, 3, {{2, 3}, {3, 3}, {4, 3}, {5, 3}}},
      {"vertical", 4, 1, 4, 3, {{4, 1}, {4, 2}, {4, 3}}},
      {"shallow", 0, 0, 3, 1, {{0, 0}, {1, 0}, {2, 1}, {3, 1}}},
      {"shallow reversed", 3, 1, 0, 0, {{0, 0}, {1, 0}, {2, 1}, {3, 1}}},
      {"steep", 0, 0, 1, 3, {{0, 0}, {0, 1}, {1, 2}, {1, 3}}},
      {"steep reversed", 1, 3, 0, 0, {{0, 0}, {0, 1}, {1, 2}, {1, 3}}},
      {"falling", 0, 3, 3, 2, {{0, 3}, {1, 3}, {2, 2}, {3, 2}}},
      {"diagonal", 2, 2, 5, 5, {{2, 2}, {3, 3}, {4, 4}, {5, 5}}},
      {"tie rounds away from the left end", 0, 0, 2, 1, {{0, 0}, {1, 1}, {2, 1}}},
      {"tie, reversed", 2, 1, 0, 0, {{0, 0}, {1, 1}, {2, 1}}},
  };
  for (const LineCase& c : cases) {
    EXPECT_EQ(LineOnCleanPage(c.x1, c.y1, c.x2, c.y2), c.pixels) << c.name;
  }
}

TEST_F(Raster, LinesMatchAWholeLengthWalkAndTheirReverse) {
  std::srand(7);
  for (int n = 0; n < 300; ++n) {
    // End points up to a few screens away, so most lines are clipped.
    const int x1 = std::rand() % 3000 - 1100, y1 = std::rand() % 2400 - 900;
    const int x2 = std::rand() % 3000 - 1100, y2 = std::rand() % 2400 - 900;
    const PixelSet expected = ReferenceLine(x1, y1, x2, y2, 800, 600);
    ASSERT_EQ(LineOnCleanPage(x1, y1, x2, y2), expected) << x1 << "," << y1 << " " << x2 << "," << y2;
    ASSERT_EQ(LineOnCleanPage(x2, y2, x1, y1), expected) << "reversed";
  }
}

TEST_F(Raster, HugeCoordinatesAreClippedNotWrapped) {
  PixelSet row5;
  for (int x = 0; x < 800; ++x) row5.insert({x, 5});
  EXPECT_EQ(LineOnCleanPage(-1000000, 5, 1000000, 5), row5);

  PixelSet diagonal;
  for (int i = 0; i < 600; ++i) diagonal.insert({i, i});
  EXPECT_EQ(LineOnCleanPage(INT_MIN, INT_MIN, INT_MAX, INT_MAX), diagonal);

  // 70000 wraps to 4464 in 16 bits; clipped, the line lies wholly outside.
  EXPECT_TRUE(LineOnCleanPage(70000, 10, 70010, 20).empty());
  EXPECT_TRUE(LineOnCleanPage(INT_MIN, -1, INT_MAX, -1).empty());
}

TEST_F(Raster, LineMovesTheCurrentPointAndLineToFollowsIt) {
  MoveTo(1, 1);
  LineTo(3, 1);
  LineTo(3, 2);
  Line(10, 10, 10, 10);
  LineTo(11, 10);
  EXPECT_EQ(LitPixels(), (PixelSet{{1, 1}, {2, 1}, {3, 1}, {3, 2}, {10, 10}, {11, 10}}));
}

TEST_F(Raster, SmallCircleOutlines) {
  Circle(10, 10, 0);
  EXPECT_EQ(Around(10, 10, 1), (std::vector<std::string>{"...", ".#.", "..."}));
  ClearDevice();
  Circle(10, 10, 1);
  EXPECT_EQ(Around(10, 10, 1), (std::vector<std::string>{".#.", "#.#", ".#."}));
  ClearDevice();
  Circle(10, 10, 2);
  EXPECT_EQ(Around(10, 10, 2),
            (std::vector<std::string>{".###.", "#...#", "#...#", "#...#", ".###."}));
  ClearDevice();
  Circle(10, 10, 3);
  EXPECT_EQ(Around(10, 10, 3),
            (std::vector<std::string>{"..###..", ".#...#.", "#.....#", "#.....#", "#.....#",
                                      ".#...#.", "..###.."}));
}

TEST_F(Raster, CirclesAreClippedAtTheEdges) {
  Circle(0, 0, 2);
  EXPECT_EQ(LitPixels(), (PixelSet{{2, 0}, {0, 2}, {2, 1}, {1, 2}}));
  ClearDevice();
  Circle(INT_MAX, INT_MIN, 5);
  Circle(100, 100, -1);
  EXPECT_TRUE(LitPixels().empty());
}

TEST_F(Raster, BarsIncludeBothCornersInAnyOrder) {
  SetFillStyle(kSolidFill, 4);
  Bar(3, 2, 5, 4);
  const PixelSet forward = LitPixels();
  EXPECT_EQ(forward.size(), 9u);
  EXPECT_TRUE(forward.count({3, 2}) && forward.count({5, 4}));
  for (auto corners : {std::array{5, 4, 3, 2}, std::array{5, 2, 3, 4}, std::array{3, 4, 5, 2}}) {
    ClearDevice();
    Bar(corners[0], corners[1], corners[2], corners[3]);
    EXPECT_EQ(LitPixels(), forward);
  }
  EXPECT_EQ(headless::ReadActivePage().At(4, 3), headless::Rgb(168, 0, 0));
}

TEST_F(Raster, BarsAreClipped) {
  SetFillStyle(kSolidFill, 2);
  Bar(INT_MIN, INT_MIN, INT_MAX, INT_MAX);
  EXPECT_EQ(LitPixels().size(), 800u * 600u);
  ClearDevice();
  Bar(798, 598, 1000, 1000);
  EXPECT_EQ(LitPixels(), (PixelSet{{798, 598}, {799, 598}, {798, 599}, {799, 599}}));
  ClearDevice();
  Bar(800, 0, 900, 10);
  Bar(-10, -10, -1, 700);
  EXPECT_TRUE(LitPixels().empty());
}

TEST_F(Raster, EmptyFillPatternFillsWithTheBackground) {
  SetFillStyle(kSolidFill, 15);
  Bar(0, 0, 9, 9);
  SetFillStyle(0, 15);
  Bar(2, 2, 9, 9);
  EXPECT_EQ(LitPixels().size(), 100u - 64u);
}

TEST_F(Raster, PagesAreDrawnAndClearedSeparately) {
  SetActivePage(1);
  Line(0, 0, 9, 0);
  SetActivePage(0);
  Line(0, 1, 9, 1);
  ClearDevice();
  EXPECT_TRUE(LitPixels().empty());
  EXPECT_EQ(headless::ReadPage(1).At(9, 0), kWhite);
  EXPECT_EQ(headless::ReadPage(1).At(9, 1), 0u);
  SetActivePage(2);  // not a page: ignored
  EXPECT_EQ(headless::ActivePage(), 0);
}

TEST(HeadlessFlips, TheHookSeesEachFinishedFrameOnTheVisualPage) {
  std::vector<std::uint32_t> seen;
  headless::Enable([&](int flip) {
    EXPECT_EQ(flip, int(seen.size()) + 1);
    seen.push_back(headless::ReadVisualPage().At(0, 0));
  });
  InitGraph(kPaletteDriver, kMode640x480, "flips");
  EXPECT_EQ(GetMaxX(), 639);
  EXPECT_EQ(GetMaxY(), 479);
  int page = 0;
  for (Color frameColor : {Color{1}, Color{2}, Color{4}}) {
    SetActivePage(page);
    page = 1 - page;
    SetVisualPage(page);
    ClearDevice();
    SetColor(frameColor);
    Line(0, 0, 0, 0);
  }
  CloseGraph();
  // Flip n shows the frame drawn before it: nothing, then blue, then green.
  EXPECT_EQ(seen, (std::vector<std::uint32_t>{0, headless::Rgb(0, 0, 168), headless::Rgb(0, 168, 0)}));
  EXPECT_EQ(headless::ReadActivePage().At(0, 0), headless::Rgb(168, 0, 0));
  headless::Disable();
}

}  // namespace
