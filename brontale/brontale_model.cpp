#include "brontale_model.h"

#include <cmath>
#include <numbers>

namespace {

struct StartPose {
  double x;
  double y;
  double heading;
};

// Scenario 1: lower right of the yard above the row of boxes, facing +x.
constexpr StartPose kScenarioOnePose{550.0, 300.0, 0.0};
// Scenario 0: in the gate between the posts, facing the road (-y).
constexpr StartPose kScenarioZeroPose{320.0, 170.0, -std::numbers::pi / 2.0};

}  // namespace

void ResetPose(TruckState& truck, int scenario) {
  const StartPose& pose = scenario == 1 ? kScenarioOnePose : kScenarioZeroPose;
  truck.tractorX = pose.x;
  truck.tractorY = pose.y;
  truck.heading = pose.heading;
  truck.steer = 0.0;
  truck.speed = 0.0;
  truck.direction = 1;
  truck.trailerX = truck.tractorX - kTrailerDistance * std::cos(truck.heading);
  truck.trailerY = truck.tractorY - kTrailerDistance * std::sin(truck.heading);
}

void StepTruck(TruckState& truck) {
  const double savedHeading = truck.heading;
  const double savedTractorX = truck.tractorX;
  const double savedTractorY = truck.tractorY;
  const double savedTrailerX = truck.trailerX;
  const double savedTrailerY = truck.trailerY;

  const double travel = truck.direction * truck.speed / kSpeedDivisor;
  truck.heading += travel * truck.steer / kWheelbase;
  const double headingCos = std::cos(truck.heading);
  const double headingSin = std::sin(truck.heading);
  const double steerCos = std::cos(truck.steer);
  truck.tractorX += travel * headingCos * steerCos;
  truck.tractorY += travel * headingSin * steerCos;

  if (truck.trailerAttached == 0) return;  // an uncoupled trailer stays put

  // Slide the trailer point along the line to the coupling point until it is
  // at the trailer distance. At distance 0 that line has no direction, so the
  // point stays where it is.
  const double toTrailerX = truck.trailerX - truck.tractorX;
  const double toTrailerY = truck.trailerY - truck.tractorY;
  const double distance = std::sqrt(toTrailerX * toTrailerX + toTrailerY * toTrailerY);
  if (distance > 0.0) {
    const double scale = kTrailerDistance / distance;
    truck.trailerX = toTrailerX * scale + truck.tractorX;
    truck.trailerY = toTrailerY * scale + truck.tractorY;
  }

  // Trailer axis (trailer point to coupling point) projected on the heading.
  const double axisX = truck.tractorX - truck.trailerX;
  const double axisY = truck.tractorY - truck.trailerY;
  const double axisLength = std::sqrt(axisX * axisX + axisY * axisY);
  const double alongHeading = axisX * headingCos + axisY * headingSin;
  if (alongHeading < kFoldLimitCosine * axisLength) {
    truck.heading = savedHeading;
    truck.tractorX = savedTractorX;
    truck.tractorY = savedTractorY;
    truck.trailerX = savedTrailerX;
    truck.trailerY = savedTrailerY;
    truck.speed = 0.0;
  }
}
