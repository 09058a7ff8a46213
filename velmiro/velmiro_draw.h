// Draws the glider's picture from the flight state on the coarse raster:
// stars, ground, turning rays, streaming stripes, the wireframe glider and
// the altitude line below the picture.
#pragma once

#include <array>

#include "velmiro_model.h"

constexpr int kGroundRayCount = 20;
constexpr int kGroundStripeCount = 20;

struct CellPoint {
  int x;
  int y;
  bool operator==(const CellPoint&) const = default;
};

// Far ends of the 20 rays that fan out from the horizon's centre; the fan
// turns 0.01 rad per unit of turnSum and jumps back by one ray every 16.
std::array<CellPoint, kGroundRayCount> GroundRayEnds(int turnSum, int altitude);

// Rows of the 20 stripes, from the horizon down, with gaps that grow
// faster as the phase rises.
std::array<int, kGroundStripeCount> GroundStripeRows(int stripePhase, int altitude);

void DrawStars(const FlightState& flight);
void DrawGround(const FlightState& flight);
void DrawGroundRays(const FlightState& flight);
void DrawGroundStripes(const FlightState& flight);
void DrawGlider(const FlightState& flight);
// "INALTIME: " and the altitude text, centred below the picture.
void DrawAltitudeLine(const FlightState& flight);
