#include "velmiro_raster.h"

#include <algorithm>

#include "graphics.h"

void PlotCell(int x, int y, CellColor color) {
  SetFillStyle(kSolidFill, color);
  const int left = x * kCellPitch;
  const int top = y * kCellPitch;
  Bar(left, top, left + kCellSpan, top + kCellSpan);
}

void FillColumn(int x, int y1, int y2, CellColor color) {
  const int first = std::max(y1, 0);
  const int last = std::min(y2, kLastGridRow);
  for (int y = first; y <= last; ++y) {
    PlotCell(x, y, color);
  }
}

void CellRect(int x1, int y1, int x2, int y2, CellColor color, int fill) {
  constexpr int kFilled = 1;
  constexpr int kOutline = 0;
  for (int i = x1; i <= x2; ++i) {
    const bool columnInGrid = i >= 0 && i <= kLastGridColumn;
    const bool sideColumn = i == x1 || i == x2;
    if (columnInGrid && (fill == kFilled || (fill == kOutline && sideColumn))) {
      FillColumn(i, y1, y2, color);
    }
    PlotCell(i, y1, color);
    PlotCell(i, y2, color);
  }
}

void CellLine(int x1, int y1, int x2, int y2, CellColor color) {
  WalkCellLine(x1, y1, x2, y2, [color](int x, int y) {
    if (CellInGrid(x, y)) {
      PlotCell(x, y, color);
    }
  });
}
