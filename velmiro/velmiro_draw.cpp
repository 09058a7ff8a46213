#include "velmiro_draw.h"

#include <cmath>
#include <cstdio>

#include "graphics.h"
#include "velmiro_raster.h"

namespace {

constexpr CellColor kStarColor = 7;     // light grey
constexpr CellColor kGroundColor = 2;   // green
constexpr CellColor kGroundLineColor = 8;  // dark grey
constexpr CellColor kGliderColor = 15;  // white
constexpr Color kTextColor = 10;        // light green

constexpr int kFilledRect = 1;

constexpr int kRayCentreColumn = 160;
constexpr int kRayTurnBits = 15;
constexpr double kRayTurnStep = 100.0;  // turnSum units per radian
constexpr double kRayBaseAngle = 4.65;
constexpr double kRaySpacing = 0.15;
constexpr double kRayReachX = 850.0;
constexpr double kRayReachY = 190.0;
constexpr int kRayEndOffsetX = 150;

constexpr double kStripeGrowthDivisor = 40.0;
constexpr double kStripeGapIncrement = 1.4;

constexpr int kTextRiseAboveBottom = 40;
constexpr int kTextLineSize = 48;

}  // namespace

std::array<CellPoint, kGroundRayCount> GroundRayEnds(int turnSum, int altitude) {
  std::array<CellPoint, kGroundRayCount> ends{};
  // The and keeps the low four bits of the two's-complement sum.
  double rayAngle = (turnSum & kRayTurnBits) / kRayTurnStep + kRayBaseAngle;
  for (CellPoint& end : ends) {
    rayAngle += kRaySpacing;
    end.x = TruncateToCell(std::sin(rayAngle) * kRayReachX) + kRayEndOffsetX;
    end.y = TruncateToCell(std::cos(rayAngle) * kRayReachY) + altitude;
  }
  return ends;
}

std::array<int, kGroundStripeCount> GroundStripeRows(int stripePhase, int altitude) {
  std::array<int, kGroundStripeCount> rows{};
  int y = altitude;
  int gap = stripePhase;
  for (int& row : rows) {
    row = y;
    y += gap;
    gap = TruncateToCell(gap / kStripeGrowthDivisor * stripePhase + gap +
                         kStripeGapIncrement);
  }
  return rows;
}

void DrawStars(const FlightState& flight) {
  for (const Star& star : flight.stars) {
    PlotCell(star.x, star.y, kStarColor);
  }
}

void DrawGround(const FlightState& flight) {
  // The window's largest coordinates serve as cell coordinates; the raster
  // clips the columns and rows to the grid.
  CellRect(0, flight.altitude, GetMaxX(), GetMaxY(), kGroundColor, kFilledRect);
}

void DrawGroundRays(const FlightState& flight) {
  for (const CellPoint& end : GroundRayEnds(flight.turnSum, flight.altitude)) {
    CellLine(kRayCentreColumn, flight.altitude, end.x, end.y, kGroundLineColor);
  }
}

void DrawGroundStripes(const FlightState& flight) {
  for (int row : GroundStripeRows(flight.stripePhase, flight.altitude)) {
    CellLine(0, row, kLastGridColumn, row, kGroundLineColor);
  }
}

void DrawGlider(const FlightState& flight) {
  const GliderProjection projection = ProjectGlider(
      flight.angleX, flight.angleY, flight.angleZ, flight.viewDistance);
  for (const GliderEdge& edge : kGliderEdges) {
    CellLine(projection.x[edge.from], projection.y[edge.from],
             projection.x[edge.to], projection.y[edge.to], kGliderColor);
  }
}

void DrawAltitudeLine(const FlightState& flight) {
  char line[kTextLineSize];
  std::snprintf(line, sizeof line, "INALTIME: %s", flight.altitudeText);
  SetColor(kTextColor);
  OutTextXY(GetMaxX() / 2, GetMaxY() - kTextRiseAboveBottom, line);
}
