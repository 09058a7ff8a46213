#include "brontale_model.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <ostream>

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kTolerance = 1e-9;

double Distance(double x1, double y1, double x2, double y2) {
  return std::hypot(x2 - x1, y2 - y1);
}

double TrailerDistance(const TruckState& truck) {
  return Distance(truck.tractorX, truck.tractorY, truck.trailerX, truck.trailerY);
}

// Cosine of the angle between the heading and the line trailer -> coupling.
double FoldCosine(const TruckState& truck) {
  return ((truck.tractorX - truck.trailerX) * std::cos(truck.heading) +
          (truck.tractorY - truck.trailerY) * std::sin(truck.heading)) /
         TrailerDistance(truck);
}

// A rig standing at `heading` with the trailer straight behind.
TruckState InLine(double x, double y, double heading) {
  TruckState truck;
  truck.tractorX = x;
  truck.tractorY = y;
  truck.heading = heading;
  truck.trailerX = x - kTrailerDistance * std::cos(heading);
  truck.trailerY = y - kTrailerDistance * std::sin(heading);
  return truck;
}

struct PoseCase {
  int scenario;
  double tractorX, tractorY, heading, trailerX, trailerY;
};

void PrintTo(const PoseCase& pose, std::ostream* out) {
  *out << "scenario " << pose.scenario;
}

class ResetPoseTest : public ::testing::TestWithParam<PoseCase> {};

TEST_P(ResetPoseTest, PlacesRigStraightAndStoppedWithoutTouchingCoupling) {
  const PoseCase& pose = GetParam();
  for (int attached : {0, 1}) {
    TruckState truck;
    truck.tractorX = -700.0;
    truck.heading = 12.0;
    truck.steer = -0.6;
    truck.speed = 40.0;
    truck.direction = -1;
    truck.trailerX = 3000.0;
    truck.trailerAttached = attached;

    ResetPose(truck, pose.scenario);

    EXPECT_DOUBLE_EQ(truck.tractorX, pose.tractorX);
    EXPECT_DOUBLE_EQ(truck.tractorY, pose.tractorY);
    EXPECT_DOUBLE_EQ(truck.heading, pose.heading);
    EXPECT_NEAR(truck.trailerX, pose.trailerX, kTolerance);
    EXPECT_NEAR(truck.trailerY, pose.trailerY, kTolerance);
    EXPECT_EQ(truck.steer, 0.0);
    EXPECT_EQ(truck.speed, 0.0);
    EXPECT_EQ(truck.direction, 1);
    EXPECT_EQ(truck.trailerAttached, attached);
  }
}

INSTANTIATE_TEST_SUITE_P(Scenarios, ResetPoseTest,
                         ::testing::Values(PoseCase{1, 550, 300, 0, 454, 300},
                                           PoseCase{0, 320, 170, -kPi / 2, 320, 266},
                                           // Anything but 1 is scenario 0.
                                           PoseCase{5, 320, 170, -kPi / 2, 320, 266}));

TEST(StepTruckTest, StandingStillChangesNothing) {
  TruckState truck = InLine(123.0, -45.0, 2.0);
  truck.steer = 0.7;
  const TruckState before = truck;
  for (int pass = 0; pass < 100; ++pass) StepTruck(truck);
  EXPECT_EQ(truck.heading, before.heading);
  EXPECT_EQ(truck.tractorX, before.tractorX);
  EXPECT_EQ(truck.tractorY, before.tractorY);
  EXPECT_NEAR(truck.trailerX, before.trailerX, kTolerance);
  EXPECT_NEAR(truck.trailerY, before.trailerY, kTolerance);
}

// Straight ahead or straight back, a rig in line stays in line and moves by
// speed / 8 per pass.
TEST(StepTruckTest, StraightRigInLineMovesSpeedEighthsPerPass) {
  constexpr double kHeading = 0.7;
  constexpr double kSpeed = 16.0;  // 2 units per pass
  constexpr int kPasses = 50;
  for (int direction : {1, -1}) {
    TruckState truck = InLine(100.0, 200.0, kHeading);
    truck.speed = kSpeed;
    truck.direction = direction;
    for (int pass = 0; pass < kPasses; ++pass) StepTruck(truck);

    const double travelled = direction * kSpeed / 8.0 * kPasses;
    EXPECT_DOUBLE_EQ(truck.heading, kHeading);
    EXPECT_NEAR(truck.tractorX, 100.0 + travelled * std::cos(kHeading), 1e-9);
    EXPECT_NEAR(truck.tractorY, 200.0 + travelled * std::sin(kHeading), 1e-9);
    EXPECT_NEAR(truck.trailerX, truck.tractorX - 96.0 * std::cos(kHeading), 1e-9);
    EXPECT_NEAR(truck.trailerY, truck.tractorY - 96.0 * std::sin(kHeading), 1e-9);
    EXPECT_EQ(truck.speed, kSpeed);
  }
}

struct CircleCase {
  int direction;
  double steer;
  double headingTurn;  // expected change of heading after one full circle
};

void PrintTo(const CircleCase& circle, std::ostream* out) {
  *out << "direction " << circle.direction << " steer " << circle.steer;
}

class FullCircleTest : public ::testing::TestWithParam<CircleCase> {};

// With the speed chosen so that 100 passes turn the heading by a full turn,
// the tractor comes back to where it started, on a circle whose diameter is
// 2 * 35 * cos(steer) / steer; the heading is not wrapped.
TEST_P(FullCircleTest, ComesBackAfterOneTurnWithHeadingUnwrapped) {
  const CircleCase& circle = GetParam();
  constexpr int kPasses = 100;
  const double travelPerPass = 2.0 * kPi * kWheelbase / (kPasses * std::fabs(circle.steer));
  TruckState truck = InLine(400.0, 300.0, 1.0);
  truck.trailerAttached = 0;
  truck.steer = circle.steer;
  truck.direction = circle.direction;
  truck.speed = travelPerPass * kSpeedDivisor;

  double farthest = 0.0;
  for (int pass = 0; pass < kPasses; ++pass) {
    StepTruck(truck);
    farthest = std::max(farthest, Distance(400.0, 300.0, truck.tractorX, truck.tractorY));
  }

  EXPECT_NEAR(truck.heading, 1.0 + circle.headingTurn, 1e-9);
  EXPECT_NEAR(truck.tractorX, 400.0, 1e-6);
  EXPECT_NEAR(truck.tractorY, 300.0, 1e-6);
  const double diameter = 2.0 * kWheelbase * std::cos(circle.steer) / std::fabs(circle.steer);
  EXPECT_NEAR(farthest, diameter, 0.05);
}

INSTANTIATE_TEST_SUITE_P(SteerAndDirection, FullCircleTest,
                         ::testing::Values(CircleCase{1, 0.8, 2 * kPi},
                                           CircleCase{1, -0.8, -2 * kPi},
                                           // Backing up with the wheels to the
                                           // right makes the heading shrink.
                                           CircleCase{-1, 0.8, -2 * kPi},
                                           CircleCase{-1, -0.4, 2 * kPi}));

TEST(StepTruckTest, BackingUpPushesTheTrailerFurtherOutOfLine) {
  TruckState truck = InLine(0.0, 0.0, 0.0);
  truck.trailerY = 5.0;  // slightly out of line
  truck.direction = -1;
  truck.speed = 8.0;
  double previousFold = FoldCosine(truck);
  for (int pass = 0; pass < 20; ++pass) {
    StepTruck(truck);
    const double fold = FoldCosine(truck);
    EXPECT_LT(fold, previousFold) << "pass " << pass;
    EXPECT_NEAR(TrailerDistance(truck), kTrailerDistance, 1e-9);
    previousFold = fold;
  }
}

TEST(StepTruckTest, ForwardDrivingPullsTrailerBackInLine) {
  TruckState truck = InLine(0.0, 0.0, 0.0);
  truck.trailerY = 60.0;
  truck.speed = 40.0;
  double previousFold = FoldCosine(truck);
  for (int pass = 0; pass < 50; ++pass) {
    StepTruck(truck);
    EXPECT_GT(FoldCosine(truck), previousFold);
    previousFold = FoldCosine(truck);
  }
  EXPECT_GT(previousFold, 0.99);
}

// A rig whose step ends with the trailer at exactly 120 degrees: the
// coupling at the origin, heading +x, trailer point at (48, sqrt(6912)),
// which is exactly 96 away in floating point.
class FoldLimitTest : public ::testing::Test {
 protected:
  void SetUp() override {
    trailerY = std::sqrt(6912.0);
    ASSERT_EQ(std::sqrt(48.0 * 48.0 + trailerY * trailerY), 96.0);
    truck.heading = 0.0;
    truck.trailerX = 48.0;
    truck.trailerY = trailerY;
    truck.speed = 8.0;  // one unit per pass
  }
  double trailerY = 0.0;
  TruckState truck;
};

TEST_F(FoldLimitTest, StepEndingAtExactly120DegreesIsKept) {
  truck.tractorX = -1.0;
  StepTruck(truck);
  EXPECT_EQ(truck.tractorX, 0.0);
  EXPECT_EQ(truck.tractorY, 0.0);
  EXPECT_EQ(truck.trailerX, 48.0);
  EXPECT_EQ(truck.trailerY, trailerY);
  EXPECT_EQ(truck.speed, 8.0);
}

TEST_F(FoldLimitTest, StepBeyond120DegreesIsUndoneAndStopsTheTruck) {
  truck.direction = -1;
  truck.steer = 0.1;
  StepTruck(truck);
  EXPECT_EQ(truck.heading, 0.0);
  EXPECT_EQ(truck.tractorX, 0.0);
  EXPECT_EQ(truck.tractorY, 0.0);
  EXPECT_EQ(truck.trailerX, 48.0);
  EXPECT_EQ(truck.trailerY, trailerY);
  EXPECT_EQ(truck.speed, 0.0);
  EXPECT_EQ(truck.steer, 0.1);
  EXPECT_EQ(truck.direction, -1);
}

TEST(UncoupledTest, TrailerStaysFrozenAndTractorDrivesOverIt) {
  TruckState truck = InLine(0.0, 0.0, 0.0);
  truck.trailerAttached = 0;
  truck.direction = -1;
  truck.speed = 64.0;  // 8 units per pass: 30 passes take the tractor to x -240
  for (int pass = 0; pass < 30; ++pass) StepTruck(truck);
  EXPECT_NEAR(truck.tractorX, -240.0, 1e-9);
  EXPECT_EQ(truck.trailerX, -96.0);
  EXPECT_EQ(truck.trailerY, 0.0);
  EXPECT_EQ(truck.speed, 64.0);  // no fold test while uncoupled
}

struct RecoupleCase {
  const char* name;
  double tractorX, tractorY, heading;
  double expectedTrailerX, expectedTrailerY;
};

void PrintTo(const RecoupleCase& recouple, std::ostream* out) {
  *out << recouple.name;
}

class RecoupleTest : public ::testing::TestWithParam<RecoupleCase> {};

// The frozen trailer point at the origin jumps in one pass onto the line
// towards the coupling point, 96 from it, wherever the tractor now stands.
TEST_P(RecoupleTest, TrailerJumpsTo96FromCouplingPoint) {
  const RecoupleCase& c = GetParam();
  TruckState truck;
  truck.tractorX = c.tractorX;
  truck.tractorY = c.tractorY;
  truck.heading = c.heading;
  truck.trailerX = 0.0;
  truck.trailerY = 0.0;
  truck.trailerAttached = 1;
  StepTruck(truck);
  EXPECT_NEAR(truck.trailerX, c.expectedTrailerX, 1e-9);
  EXPECT_NEAR(truck.trailerY, c.expectedTrailerY, 1e-9);
  EXPECT_NEAR(TrailerDistance(truck), 96.0, 1e-9);
}

INSTANTIATE_TEST_SUITE_P(
    FarAndNear, RecoupleTest,
    ::testing::Values(RecoupleCase{"far", 1000.0, 0.0, 0.0, 904.0, 0.0},
                      RecoupleCase{"farDiagonal", -3000.0, -4000.0, -2.0, -3000.0 + 57.6,
                                   -4000.0 + 76.8},
                      RecoupleCase{"closerThan96", 0.0, 12.0, kPi / 2, 0.0, -84.0}),
    [](const ::testing::TestParamInfo<RecoupleCase>& testParam) { return testParam.param.name; });

TEST(RecoupleEdgeTest, FoldedRecouplingKeepsTheTruckStoppedEveryPass) {
  TruckState truck;
  truck.tractorX = 1000.0;
  truck.heading = kPi;  // facing the trailer point at the origin
  truck.trailerX = 0.0;
  truck.trailerY = 0.0;
  truck.trailerAttached = 1;
  for (int pass = 0; pass < 3; ++pass) {
    truck.speed = 20.0;
    StepTruck(truck);
    EXPECT_EQ(truck.speed, 0.0);
    EXPECT_EQ(truck.tractorX, 1000.0);
    EXPECT_EQ(truck.heading, kPi);
    EXPECT_EQ(truck.trailerX, 0.0);
    EXPECT_EQ(truck.trailerY, 0.0);
  }
}

TEST(RecoupleEdgeTest, TrailerPointOnTheCouplingPointStaysPut) {
  TruckState truck;
  truck.tractorX = 250.0;
  truck.tractorY = 80.0;
  truck.heading = 1.0;
  truck.trailerX = 250.0;
  truck.trailerY = 80.0;
  StepTruck(truck);
  EXPECT_EQ(truck.trailerX, 250.0);
  EXPECT_EQ(truck.trailerY, 80.0);
  EXPECT_EQ(truck.tractorX, 250.0);
  EXPECT_EQ(truck.heading, 1.0);
}

}  // namespace
