// The coarse raster: the cell walk of a line, and the pixels that cells,
// columns, rectangles and lines leave on a page.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "graphics.h"
#include "graphics_headless.h"
#include "velmiro_raster.h"

namespace {

struct Cell {
  int x;
  int y;
  bool operator==(const Cell&) const = default;
};

std::vector<Cell> WalkedCells(int x1, int y1, int x2, int y2) {
  std::vector<Cell> cells;
  WalkCellLine(x1, y1, x2, y2, [&cells](int x, int y) { cells.push_back({x, y}); });
  return cells;
}

struct LineCase {
  const char* name;
  int x1, y1, x2, y2;
  std::vector<Cell> cells;
};

TEST(CellLineWalk, VisitsTheCellsOfEveryStep) {
  const std::vector<LineCase> cases = {
      {"one cell, plotted twice", 7, 7, 7, 7, {{7, 7}, {7, 7}}},
      {"shallow, short axis steps late", 0, 0, 3, 1,
       {{0, 0}, {0, 0}, {1, 0}, {2, 0}, {3, 1}}},
      {"shallow, two short steps", 0, 0, 5, 2,
       {{0, 0}, {0, 0}, {1, 0}, {2, 1}, {3, 1}, {4, 1}, {5, 2}}},
      {"reversed", 3, 1, 0, 0, {{3, 1}, {3, 1}, {2, 1}, {1, 1}, {0, 0}}},
      {"steep", 0, 0, 1, 3, {{0, 0}, {0, 0}, {0, 1}, {0, 2}, {1, 3}}},
      {"diagonal up-left", 2, 2, 0, 0, {{2, 2}, {2, 2}, {1, 1}, {0, 0}}},
      {"horizontal", 0, 4, 3, 4, {{0, 4}, {0, 4}, {1, 4}, {2, 4}, {3, 4}}},
  };
  for (const LineCase& c : cases) {
    EXPECT_EQ(WalkedCells(c.x1, c.y1, c.x2, c.y2), c.cells) << c.name;
  }
}

TEST(CellLineWalk, LongLineTakesAllItsStepsAndEndsOnItsEndPoint) {
  const std::vector<Cell> cells = WalkedCells(160, 50, 1000, 240);
  ASSERT_EQ(cells.size(), 842u);  // n = 840, n + 2 steps
  EXPECT_EQ(cells.front(), (Cell{160, 50}));
  EXPECT_EQ(cells.back(), (Cell{1000, 240}));
  for (std::size_t i = 2; i < cells.size(); ++i) {
    EXPECT_EQ(cells[i].x - cells[i - 1].x, 1) << "step " << i;
    EXPECT_GE(cells[i].y - cells[i - 1].y, 0) << "step " << i;
    EXPECT_LE(cells[i].y - cells[i - 1].y, 1) << "step " << i;
  }
}

constexpr std::uint32_t kBlack = 0x000000;
constexpr std::uint32_t kGreen = headless::Rgb(0, 168, 0);
constexpr std::uint32_t kWhite = headless::Rgb(252, 252, 252);
constexpr CellColor kGreenIndex = 2;
constexpr CellColor kWhiteIndex = 15;

// A headless 640 x 480 page to draw cells on.
class RasterPage : public ::testing::Test {
 protected:
  void SetUp() override {
    headless::Enable();
    InitGraph(kPaletteDriver, kMode640x480, "RASTER");
    SetActivePage(0);
    ClearDevice();
  }
  void TearDown() override {
    CloseGraph();
    headless::Disable();
  }
  static headless::Picture Page() { return headless::ReadActivePage(); }
  // The pixel that only cell (x, y) covers.
  static std::uint32_t CellCentre(const headless::Picture& page, int x, int y) {
    return page.At(2 * x + 1, 2 * y + 1);
  }
};

TEST_F(RasterPage, PlotCellFillsA3By3BlockWithoutClipping) {
  PlotCell(0, 0, kGreenIndex);
  PlotCell(319, 199, kWhiteIndex);
  PlotCell(5, 200, kGreenIndex);  // below the grid, still drawn
  const headless::Picture page = Page();
  EXPECT_EQ(page.At(0, 0), kGreen);
  EXPECT_EQ(page.At(2, 2), kGreen);
  EXPECT_EQ(page.At(3, 0), kBlack);
  EXPECT_EQ(page.At(0, 3), kBlack);
  EXPECT_EQ(page.At(638, 398), kWhite);
  EXPECT_EQ(page.At(639, 400), kWhite);
  EXPECT_EQ(page.At(637, 398), kBlack);
  EXPECT_EQ(page.At(638, 397), kBlack);
  EXPECT_EQ(page.At(10, 400), kGreen);
  EXPECT_EQ(page.At(12, 402), kGreen);
}

TEST_F(RasterPage, LaterCellWinsTheSharedPixels) {
  PlotCell(3, 3, kGreenIndex);
  PlotCell(4, 3, kWhiteIndex);
  const headless::Picture page = Page();
  EXPECT_EQ(page.At(7, 7), kGreen);
  EXPECT_EQ(page.At(8, 7), kWhite);
}

TEST_F(RasterPage, FillColumnClampsRowsToTheGrid) {
  FillColumn(5, -10, 500, kGreenIndex);
  const headless::Picture page = Page();
  for (int y = 0; y <= 400; ++y) {
    ASSERT_EQ(page.At(11, y), kGreen) << "pixel row " << y;
  }
  EXPECT_EQ(page.At(11, 401), kBlack);  // no cell row 200
  EXPECT_EQ(page.At(9, 100), kBlack);
  EXPECT_EQ(page.At(13, 100), kBlack);
}

TEST_F(RasterPage, FillColumnDrawsNothingWhenTheRowsCross) {
  FillColumn(5, 20, 10, kGreenIndex);
  FillColumn(6, 250, 300, kGreenIndex);  // clamped to 250..199
  FillColumn(7, -20, -1, kGreenIndex);   // clamped to 0..-1
  const headless::Picture page = Page();
  for (std::uint32_t pixel : page.rgb) {
    ASSERT_EQ(pixel, kBlack);
  }
}

TEST_F(RasterPage, FilledRectAsTheGroundUsesIt) {
  CellRect(0, 10, 639, 479, kGreenIndex, 1);
  const headless::Picture page = Page();
  for (int y = 0; y < page.height; ++y) {
    for (int x = 0; x < page.width; ++x) {
      const std::uint32_t expected = (y >= 20 && y <= 400) ? kGreen : kBlack;
      ASSERT_EQ(page.At(x, y), expected) << "pixel " << x << "," << y;
    }
  }
}

TEST_F(RasterPage, OutlineRectFillsItsSideColumnsAndEdgeRows) {
  CellRect(10, 20, 15, 25, kWhiteIndex, 0);
  const headless::Picture page = Page();
  EXPECT_EQ(CellCentre(page, 10, 22), kWhite);  // left column
  EXPECT_EQ(CellCentre(page, 15, 22), kWhite);  // right column
  EXPECT_EQ(CellCentre(page, 12, 20), kWhite);  // top row
  EXPECT_EQ(CellCentre(page, 12, 25), kWhite);  // bottom row
  EXPECT_EQ(CellCentre(page, 12, 22), kBlack);  // inside
  EXPECT_EQ(CellCentre(page, 14, 24), kBlack);
  EXPECT_EQ(CellCentre(page, 9, 22), kBlack);   // outside
  EXPECT_EQ(CellCentre(page, 16, 22), kBlack);
}

TEST_F(RasterPage, RectClipsItsColumnsButNotItsEdgeCells) {
  // Column 318 is in the grid and filled over rows 0..199 only; the top and
  // bottom cells at rows -5 and 205 are plotted unclipped, so row 205 shows
  // in the strip below the picture.
  CellRect(318, -5, 325, 205, kWhiteIndex, 0);
  const headless::Picture page = Page();
  EXPECT_EQ(CellCentre(page, 318, 0), kWhite);
  EXPECT_EQ(CellCentre(page, 318, 199), kWhite);
  EXPECT_EQ(page.At(637, 401), kBlack);  // no clamped-away row 200
  EXPECT_EQ(CellCentre(page, 319, 100), kBlack);
  EXPECT_EQ(page.At(637, 411), kWhite);  // cell (318, 205)
  EXPECT_EQ(page.At(639, 411), kWhite);  // cell (319, 205)
  EXPECT_EQ(page.At(635, 411), kBlack);
}

TEST_F(RasterPage, RectWithCrossedColumnsDrawsNothing) {
  CellRect(20, 5, 10, 50, kWhiteIndex, 1);
  const headless::Picture page = Page();
  for (std::uint32_t pixel : page.rgb) {
    ASSERT_EQ(pixel, kBlack);
  }
}

TEST_F(RasterPage, CellLineDrawsOnlyItsCellsInsideTheGrid) {
  CellLine(10, 195, 10, 205, kWhiteIndex);  // leaves the grid downwards
  CellLine(-1, 5, -1, 10, kWhiteIndex);     // wholly left of the grid
  const headless::Picture page = Page();
  EXPECT_EQ(CellCentre(page, 10, 195), kWhite);
  EXPECT_EQ(page.At(21, 400), kWhite);  // bottom edge of cell row 199
  EXPECT_EQ(page.At(21, 401), kBlack);  // cell row 200 skipped
  EXPECT_EQ(page.At(21, 411), kBlack);
  EXPECT_EQ(page.At(0, 15), kBlack);    // cell (-1, 7) would cover it
}

TEST_F(RasterPage, LongLineDrawsItsVisiblePart) {
  CellLine(160, 50, 1000, 240, kWhiteIndex);
  const headless::Picture page = Page();
  EXPECT_EQ(CellCentre(page, 160, 50), kWhite);
  int visibleCells = 0;
  WalkCellLine(160, 50, 1000, 240, [&](int x, int y) {
    if (x <= 319 && y <= 199) {
      ++visibleCells;
      EXPECT_EQ(CellCentre(page, x, y), kWhite) << x << "," << y;
    }
  });
  EXPECT_GT(visibleCells, 100);
  EXPECT_EQ(page.At(639, 401), kBlack);
}

}  // namespace
