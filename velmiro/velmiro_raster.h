// The coarse raster: a grid of 320 x 200 cells, each drawn as a 3 x 3 pixel
// block on a 2-pixel pitch, so neighbouring cells share one pixel row or
// column and the later one wins there.
#pragma once

#include <cstdint>

constexpr int kGridColumns = 320;
constexpr int kGridRows = 200;
constexpr int kLastGridColumn = kGridColumns - 1;
constexpr int kLastGridRow = kGridRows - 1;
constexpr int kCellPitch = 2;  // pixels from one cell to the next
constexpr int kCellSpan = 2;   // pixels from a cell's first to its last pixel

using CellColor = std::uint8_t;  // palette index

inline bool CellInGrid(int x, int y) {
  return x >= 0 && x <= kLastGridColumn && y >= 0 && y <= kLastGridRow;
}

// One solid cell, unclipped: cells off the grid land wherever their pixels
// fall and the window clips them.
void PlotCell(int x, int y, CellColor color);

// Cells (x, y1)..(x, y2) top to bottom, rows clamped to the grid.
void FillColumn(int x, int y1, int y2, CellColor color);

// Columns x1..x2; fill 1 fills every column, fill 0 only the two side
// columns. Every column also gets its top and bottom cell plotted unclipped.
void CellRect(int x1, int y1, int x2, int y2, CellColor color, int fill);

// Walks the n + 2 steps of a cell line from (x1, y1) to (x2, y2), where n is
// the longer axis, calling visit(x, y) with the current cell at every step,
// in or out of the grid. The first cell comes twice; an axis steps only when
// its error sum exceeds n, so the shorter axis steps late.
template <typename CellVisitor>
void WalkCellLine(int x1, int y1, int x2, int y2, CellVisitor&& visit) {
  int dx = x2 - x1;
  int dy = y2 - y1;
  const int stepX = dx >= 0 ? 1 : -1;
  const int stepY = dy >= 0 ? 1 : -1;
  dx = dx >= 0 ? dx : -dx;
  dy = dy >= 0 ? dy : -dy;
  const int n = dx >= dy ? dx : dy;
  int errX = 0;
  int errY = 0;
  int x = x1;
  int y = y1;
  for (int step = 0; step < n + 2; ++step) {
    visit(x, y);
    errX += dx;
    errY += dy;
    if (errX > n) {
      errX -= n;
      x += stepX;
    }
    if (errY > n) {
      errY -= n;
      y += stepY;
    }
  }
}

// A line of cells; steps outside the grid draw nothing.
void CellLine(int x1, int y1, int x2, int y2, CellColor color);
