// Tractor and semi-trailer seen from above: the state record and its step.
// Lengths are yard pixels, angles radians, y grows downwards, and every rate
// is per pass of the loop.
#pragma once

struct TruckState {
  double tractorX = 0.0;  // centre of the rear axle group, also the coupling point
  double tractorY = 0.0;
  double heading = 0.0;   // where the front points, from +x towards +y; never wrapped
  double steer = 0.0;     // front wheels against the heading; positive turns clockwise
  double speed = 0.0;     // eighths of a unit per pass, never negative
  int direction = 1;      // +1 forwards, -1 backwards
  double trailerX = 0.0;  // centre of the trailer's axle group
  double trailerY = 0.0;
  int trailerAttached = 1;  // 1 coupled, 0 uncoupled
};

constexpr double kWheelbase = 35.0;        // reference point to front axle
constexpr double kSpeedDivisor = 8.0;      // speed units per world unit of travel
constexpr double kTrailerDistance = 96.0;  // coupling point to trailer axle centre
constexpr double kFoldLimitCosine = -0.5;  // cos(120 degrees): sharpest allowed fold

// Start pose of scenario 1 or, for any other value, scenario 0; steering and
// speed zero, forwards, trailer straight behind. Coupling is left alone.
void ResetPose(TruckState& truck, int scenario);

// One pass: turn and move the tractor, drag a coupled trailer, and undo the
// whole step (stopping the truck) if the trailer would fold beyond 120 degrees.
void StepTruck(TruckState& truck);
