// The yard, the truck and its speed, seen through a view that keeps the
// tractor's reference point at one pixel with its front pointing up.
#pragma once

#include <cstddef>

#include "brontale_model.h"
#include "graphics.h"

// World point (X, Y) lands on screen at
//   x = (X - 320) * xFromX + (Y - 175) * xFromY + offsetX
//   y = (X - 320) * yFromX + (Y - 175) * yFromY + offsetY.
struct ViewTransform {
  double xFromX = 1.0;
  double xFromY = 0.0;
  double yFromX = 0.0;
  double yFromY = 1.0;
  double offsetX = 0.0;
  double offsetY = 0.0;
};

// Screen pixel of the tractor's reference point, also the pivot of the view.
constexpr double kViewPivotX = 320.0;
constexpr double kViewPivotY = 175.0;

constexpr std::size_t kSpeedTextCapacity = 16;

// Turns and shifts the view so the tractor sits at the pivot facing up.
void UpdateView(ViewTransform& view, const TruckState& truck);

// Nearest integer, ties to even; far-off values are held to a wide range the
// drawing layer clips, so they never wrap.
int ToPixel(double coordinate);

// The speed as a whole number, halves rounded up, without leading spaces.
void FormatSpeed(double speed, char (&text)[kSpeedTextCapacity]);

void DrawWorldLine(const ViewTransform& view, Color colour, double x1, double y1, double x2,
                   double y2);
// A 50 x 20 box whose corner with the smallest x and y is (x, y).
void DrawWorldBox(const ViewTransform& view, Color colour, double x, double y);

// Yard, truck and speed text into the active page.
void DrawScene(const ViewTransform& view, const TruckState& truck);
