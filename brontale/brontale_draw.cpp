#include "brontale_draw.h"

#include <cmath>
#include <cstdio>

namespace {

constexpr Color kCyan = 3;
constexpr Color kLightGrey = 7;
constexpr Color kLightCyan = 11;
constexpr Color kLightMagenta = 13;
constexpr Color kYellow = 14;
constexpr Color kWhite = 15;

// Far beyond any window, yet safe to convert to int and to draw.
constexpr double kPixelLimit = 1e9;

constexpr double kBoxWidth = 50.0;
constexpr double kBoxHeight = 20.0;

struct WorldSegment {
  Color colour;
  double x1, y1, x2, y2;
};

// Road edges, gate posts and the broken double centre line.
constexpr WorldSegment kRoadLines[] = {
    {kWhite, 0, 15, 639, 15},     {kWhite, 0, 105, 245, 105},   {kWhite, 245, 105, 245, 150},
    {kWhite, 639, 105, 355, 105}, {kWhite, 355, 105, 355, 150}, {kYellow, 0, 59, 245, 59},
    {kYellow, 355, 59, 639, 59},  {kYellow, 0, 61, 245, 61},    {kYellow, 355, 61, 639, 61},
};
constexpr WorldSegment kYardLowerEdge = {kWhite, 0, 349, 639, 349};

// Row of boxes along the lower edge: slots 0-3 and 7-11, 60 apart, with
// colours counting down from yellow; slots 4-6 stay free.
constexpr double kBoxRowY = 325.0;
constexpr double kBoxRowSpacing = 60.0;
constexpr int kBoxSlots[] = {0, 1, 2, 3, 7, 8, 9, 10, 11};

// Tractor body: from 12 behind the reference point to 40 ahead, 12 each side.
constexpr double kBodyFront = 40.0;
constexpr double kBodyRear = 12.0;
constexpr double kBodyHalfWidth = 12.0;
// Direction arrow: shaft 12 to 32 ahead, barbs 5 back and 5 to the side.
constexpr double kArrowNear = 12.0;
constexpr double kArrowFar = 32.0;
constexpr double kArrowBarb = 5.0;
// Trailer body as fractions of the coupling-to-trailer offset.
constexpr double kTrailerFrontOverhang = 0.05;
constexpr double kTrailerRearOverhang = 0.22;
constexpr double kTrailerHalfWidth = 0.13;
// Wheels.
constexpr double kFrontWheelHalfLength = 3.0;
constexpr double kFrontWheelTrack = 9.0;
constexpr double kTwinTyreOffsets[] = {8.0, 10.0};
constexpr double kTyreStrokeNear = 2.0;
constexpr double kTyreStrokeFar = 8.0;

struct Point {
  double x;
  double y;
};

Point ToScreen(const ViewTransform& view, double worldX, double worldY) {
  const double fromPivotX = worldX - kViewPivotX;
  const double fromPivotY = worldY - kViewPivotY;
  return {fromPivotX * view.xFromX + fromPivotY * view.xFromY + view.offsetX,
          fromPivotX * view.yFromX + fromPivotY * view.yFromY + view.offsetY};
}

void DrawSegment(const ViewTransform& view, const WorldSegment& segment) {
  DrawWorldLine(view, segment.colour, segment.x1, segment.y1, segment.x2, segment.y2);
}

void DrawWorldPoint(const ViewTransform& view, Color colour, double x, double y) {
  DrawWorldLine(view, colour, x, y, x, y);
}

// Closed outline through four world corners, in order.
void DrawWorldOutline(const ViewTransform& view, Color colour, const Point (&corners)[4]) {
  for (int corner = 0; corner < 4; ++corner) {
    const Point& from = corners[corner];
    const Point& to = corners[(corner + 1) % 4];
    DrawWorldLine(view, colour, from.x, from.y, to.x, to.y);
  }
}

void DrawYard(const ViewTransform& view) {
  for (const WorldSegment& line : kRoadLines) DrawSegment(view, line);
  DrawWorldBox(view, kLightMagenta, 190, 72);
  DrawWorldBox(view, kLightCyan, 360, 26);
  DrawSegment(view, kYardLowerEdge);
  for (int slot : kBoxSlots) {
    DrawWorldBox(view, kYellow - static_cast<Color>(slot), kBoxRowSpacing * slot, kBoxRowY);
  }
}

void DrawTruck(const ViewTransform& view, const TruckState& truck) {
  const double c = std::cos(truck.heading);
  const double s = std::sin(truck.heading);
  const double x0 = truck.tractorX;
  const double y0 = truck.tractorY;

  // Tractor body.
  const Point body[4] = {
      {x0 + kBodyFront * c + kBodyHalfWidth * s, y0 + kBodyFront * s - kBodyHalfWidth * c},
      {x0 + kBodyFront * c - kBodyHalfWidth * s, y0 + kBodyFront * s + kBodyHalfWidth * c},
      {x0 - kBodyRear * c - kBodyHalfWidth * s, y0 - kBodyRear * s + kBodyHalfWidth * c},
      {x0 - kBodyRear * c + kBodyHalfWidth * s, y0 - kBodyRear * s - kBodyHalfWidth * c}};
  DrawWorldOutline(view, kLightGrey, body);

  DrawWorldPoint(view, kWhite, x0, y0);

  // Arrow pointing the way the truck travels.
  const bool forwards = truck.direction > 0;
  const double tail = forwards ? kArrowNear : kArrowFar;
  const double tip = forwards ? kArrowFar : kArrowNear;
  const double barbBase = forwards ? kArrowFar - kArrowBarb : kArrowNear + kArrowBarb;
  const double tipX = x0 + tip * c;
  const double tipY = y0 + tip * s;
  DrawWorldLine(view, kCyan, x0 + tail * c, y0 + tail * s, tipX, tipY);
  DrawWorldLine(view, kCyan, tipX, tipY, x0 + barbBase * c - kArrowBarb * s,
                y0 + barbBase * s + kArrowBarb * c);
  DrawWorldLine(view, kCyan, tipX, tipY, x0 + barbBase * c + kArrowBarb * s,
                y0 + barbBase * s - kArrowBarb * c);

  const double dx = truck.trailerX - x0;
  const double dy = truck.trailerY - y0;
  if (truck.trailerAttached != 0) {
    DrawWorldPoint(view, kWhite, truck.trailerX, truck.trailerY);
    const Point trailer[4] = {
        {x0 - kTrailerFrontOverhang * dx + kTrailerHalfWidth * dy,
         y0 - kTrailerFrontOverhang * dy - kTrailerHalfWidth * dx},
        {x0 - kTrailerFrontOverhang * dx - kTrailerHalfWidth * dy,
         y0 - kTrailerFrontOverhang * dy + kTrailerHalfWidth * dx},
        {truck.trailerX + kTrailerRearOverhang * dx - kTrailerHalfWidth * dy,
         truck.trailerY + kTrailerRearOverhang * dy + kTrailerHalfWidth * dx},
        {truck.trailerX + kTrailerRearOverhang * dx + kTrailerHalfWidth * dy,
         truck.trailerY + kTrailerRearOverhang * dy - kTrailerHalfWidth * dx}};
    DrawWorldOutline(view, kLightGrey, trailer);
  }

  // Front wheels turned by the steering angle.
  const double wheelX = kFrontWheelHalfLength * std::cos(truck.steer + truck.heading);
  const double wheelY = kFrontWheelHalfLength * std::sin(truck.steer + truck.heading);
  const double axleX = x0 + kWheelbase * c;
  const double axleY = y0 + kWheelbase * s;
  for (int side = -1; side <= 1; side += 2) {
    const double centreX = axleX + kFrontWheelTrack * side * s;
    const double centreY = axleY - kFrontWheelTrack * side * c;
    DrawWorldLine(view, kWhite, centreX + wheelX, centreY + wheelY, centreX - wheelX,
                  centreY - wheelY);
  }

  // Twin rear tyres of the tractor, then of a coupled trailer.
  for (int axleGroup = 0; axleGroup <= truck.trailerAttached; ++axleGroup) {
    const bool isTrailer = axleGroup == 1;
    const double baseX = isTrailer ? truck.trailerX : x0;
    const double baseY = isTrailer ? truck.trailerY : y0;
    const double axisX = isTrailer ? dx / kTrailerDistance : c;
    const double axisY = isTrailer ? dy / kTrailerDistance : s;
    for (double offset : kTwinTyreOffsets) {
      for (int end = -1; end <= 1; end += 2) {
        for (int side = -1; side <= 1; side += 2) {
          const double centreX = baseX + offset * side * axisY;
          const double centreY = baseY - offset * side * axisX;
          DrawWorldLine(view, kWhite, centreX + kTyreStrokeNear * end * axisX,
                        centreY + kTyreStrokeNear * end * axisY,
                        centreX + kTyreStrokeFar * end * axisX,
                        centreY + kTyreStrokeFar * end * axisY);
        }
      }
    }
  }
}

}  // namespace

void UpdateView(ViewTransform& view, const TruckState& truck) {
  view.xFromY = std::cos(-truck.heading);
  view.yFromY = std::sin(-truck.heading);
  view.xFromX = view.yFromY;
  view.yFromX = -view.xFromY;
  view.offsetX = kViewPivotX - (truck.tractorX - kViewPivotX) * view.xFromX -
                 (truck.tractorY - kViewPivotY) * view.xFromY;
  view.offsetY = kViewPivotY - (truck.tractorX - kViewPivotX) * view.yFromX -
                 (truck.tractorY - kViewPivotY) * view.yFromY;
}

int ToPixel(double coordinate) {
  // Written so that NaN also ends up inside the range.
  if (!(coordinate > -kPixelLimit)) return static_cast<int>(-kPixelLimit);
  if (!(coordinate < kPixelLimit)) return static_cast<int>(kPixelLimit);
  return static_cast<int>(std::nearbyint(coordinate));
}

void FormatSpeed(double speed, char (&text)[kSpeedTextCapacity]) {
  std::snprintf(text, kSpeedTextCapacity, "%.0f", std::floor(speed + 0.5));
}

void DrawWorldLine(const ViewTransform& view, Color colour, double x1, double y1, double x2,
                   double y2) {
  const Point from = ToScreen(view, x1, y1);
  const Point to = ToScreen(view, x2, y2);
  SetColor(colour);
  Line(ToPixel(from.x), ToPixel(from.y), ToPixel(to.x), ToPixel(to.y));
}

void DrawWorldBox(const ViewTransform& view, Color colour, double x, double y) {
  const double right = x + kBoxWidth;
  const double bottom = y + kBoxHeight;
  DrawWorldLine(view, colour, x, y, right, y);
  DrawWorldLine(view, colour, x, bottom, right, bottom);
  DrawWorldLine(view, colour, x, y, x, bottom);
  DrawWorldLine(view, colour, right, y, right, bottom);
}

void DrawScene(const ViewTransform& view, const TruckState& truck) {
  DrawYard(view);
  DrawTruck(view, truck);
  char speedText[kSpeedTextCapacity];
  FormatSpeed(truck.speed, speedText);
  SetColor(kWhite);  // the rear tyres left white set; said again for clarity
  OutTextXY(static_cast<int>(kViewPivotX), static_cast<int>(kViewPivotY), speedText);
}
