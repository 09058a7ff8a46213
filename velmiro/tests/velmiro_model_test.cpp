// The flight step, the star field, the glider projection and the ground
// geometry, without pixels.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "graphics_headless.h"
#include "velmiro_draw.h"
#include "velmiro_model.h"

namespace {

int VertexIndex(int vertexNumber) { return vertexNumber - 1; }

TEST(AltitudeText, RightAlignsTheNumberAndWarnsBelow20) {
  struct Case {
    int altitude;
    std::string text;
  };
  const std::vector<Case> cases = {
      {12, " 12 m - PREA JOS !"},
      {19, " 19 m - PREA JOS !"},
      {20, " 20 m"},
      {190, "190 m"},
      {1, "  1 m - PREA JOS !"},
      {0, "  0 m - PREA JOS !"},
  };
  for (const Case& c : cases) {
    char text[kAltitudeTextSize];
    FormatAltitudeText(c.altitude, text);
    EXPECT_EQ(std::string(text), c.text) << "altitude " << c.altitude;
  }
}

TEST(ApplyMouse, AltitudeChangeFollowsTheMouseRow) {
  struct Case {
    int windowY;
    int change;
  };
  const std::vector<Case> cases = {
      {0, 2},    {81, 2},   {82, 1},   {181, 1},
      {182, 0},  {379, 0},  {380, -1}, {479, -1},
  };
  for (const Case& c : cases) {
    FlightState flight;
    flight.altitude = 100;
    ApplyMouse(flight, 320, c.windowY);
    EXPECT_EQ(flight.altitude, 100 + c.change) << "row " << c.windowY;
    EXPECT_EQ(flight.mouseHalfY, c.windowY / 2);
    EXPECT_FALSE(flight.grounded);
  }
}

TEST(ApplyMouse, AltitudeIsCappedAt190) {
  for (int start : {189, 190}) {
    FlightState flight;
    flight.altitude = start;
    ApplyMouse(flight, 0, 0);
    EXPECT_EQ(flight.altitude, 190) << "from " << start;
  }
}

TEST(ApplyMouse, GroundedOnlyBelowOneAndAltitudeKept) {
  FlightState flight;
  flight.altitude = 2;
  ApplyMouse(flight, 320, 479);
  EXPECT_EQ(flight.altitude, 1);
  EXPECT_FALSE(flight.grounded);
  ApplyMouse(flight, 320, 479);
  EXPECT_EQ(flight.altitude, 0);
  EXPECT_TRUE(flight.grounded);
  EXPECT_STREQ(flight.altitudeText, "  0 m - PREA JOS !");
}

TEST(ApplyMouse, AnglesSpanTheirRanges) {
  struct Case {
    int windowX;
    int windowY;
    double angleX;
    double angleY;
    double angleZ;
  };
  const std::vector<Case> cases = {
      {0, 0, 4.5, 2.795, 320.8},
      {320, 240, 4.5 + 120.0 / 650.0, 3.195, 320.4},
      {639, 479, 4.5 + 239.0 / 650.0, 739.0 / 800.0 + 2.67, 320.8 - 639.0 / 800.0},
  };
  for (const Case& c : cases) {
    FlightState flight;
    ApplyMouse(flight, c.windowX, c.windowY);
    EXPECT_NEAR(flight.angleX, c.angleX, 1e-12) << c.windowX << "," << c.windowY;
    EXPECT_NEAR(flight.angleY, c.angleY, 1e-12) << c.windowX << "," << c.windowY;
    EXPECT_NEAR(flight.angleZ, c.angleZ, 1e-12) << c.windowX << "," << c.windowY;
  }
}

TEST(AdvanceTurn, QuotientTruncatesTowardZero) {
  struct Case {
    int mouseX;
    int change;
  };
  const std::vector<Case> cases = {
      {0, 5}, {232, 1}, {233, 0}, {282, 0}, {331, 0}, {332, -1}, {639, -7},
  };
  for (const Case& c : cases) {
    FlightState flight;
    flight.turnSum = -3;
    flight.mouseX = c.mouseX;
    AdvanceTurn(flight);
    EXPECT_EQ(flight.turnSum, -3 + c.change) << "x " << c.mouseX;
  }
}

TEST(AdvanceStripePhase, CyclesThroughEightPhases) {
  FlightState flight;
  std::vector<int> phases;
  for (int i = 0; i < 9; ++i) {
    AdvanceStripePhase(flight);
    phases.push_back(flight.stripePhase);
  }
  EXPECT_EQ(phases, (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 0, 1}));
}

TEST(ProjectGlider, SeenFromBehindWithTheMouseAtTheCentre) {
  FlightState flight;
  ApplyMouse(flight, 320, 240);  // mouseX 320, mouseHalfY 120
  const GliderProjection projection =
      ProjectGlider(flight.angleX, flight.angleY, flight.angleZ, flight.viewDistance);
  struct Case {
    int vertex;
    int column;
    int row;
  };
  // Vertex 9's column offset is about -85.5 and truncates to -85.
  const std::vector<Case> cases = {{1, 162, 98}, {9, 75, 97}, {12, 247, 104}};
  for (const Case& c : cases) {
    EXPECT_EQ(projection.x[VertexIndex(c.vertex)], c.column) << "vertex " << c.vertex;
    EXPECT_EQ(projection.y[VertexIndex(c.vertex)], c.row) << "vertex " << c.vertex;
  }
}

TEST(ProjectGlider, UnrotatedNoseProjectsStraightUp) {
  // No rotation: the nose (0, -50, 0) lies at depth 99, 50 * 128 / 99 = 64.6
  // rows above the centre, truncated inside the row term.
  const GliderProjection projection = ProjectGlider(0.0, 0.0, 0.0, kViewDistance);
  EXPECT_EQ(projection.x[VertexIndex(1)], 160);
  EXPECT_EQ(projection.y[VertexIndex(1)], 164);
  // Right bar front (20, -20, -2): depth 101, column 160 + 25, row 100 + 25.
  EXPECT_EQ(projection.x[VertexIndex(15)], 185);
  EXPECT_EQ(projection.y[VertexIndex(15)], 125);
}

TEST(GroundRays, TurnUsesTheLowFourBitsOfTheSum) {
  EXPECT_EQ(GroundRayEnds(-1, 50), GroundRayEnds(15, 50));
  EXPECT_EQ(GroundRayEnds(-16, 50), GroundRayEnds(0, 50));
  EXPECT_EQ(GroundRayEnds(16, 50), GroundRayEnds(0, 50));
  EXPECT_EQ(GroundRayEnds(-9, 50), GroundRayEnds(7, 50));
  EXPECT_NE(GroundRayEnds(1, 50), GroundRayEnds(0, 50));
}

TEST(GroundRays, EndPointsTruncateTowardZero) {
  struct Case {
    int turnSum;
    int ray;  // 0-based
    int x;
    int y;
  };
  // sin(4.8) * 850 is about -846.7: -846 + 150.
  const std::vector<Case> cases = {
      {0, 0, -696, 66},   {0, 9, 38, 238},    {0, 19, 982, 88},
      {-1, 0, -676, 94},  {-1, 9, 164, 239},  {-1, 19, 998, 60},
      {7, 0, -689, 79},   {7, 9, 97, 239},    {7, 19, 992, 75},
  };
  for (const Case& c : cases) {
    const auto ends = GroundRayEnds(c.turnSum, 50);
    EXPECT_EQ(ends[c.ray].x, c.x) << "turnSum " << c.turnSum << " ray " << c.ray;
    EXPECT_EQ(ends[c.ray].y, c.y) << "turnSum " << c.turnSum << " ray " << c.ray;
  }
}

TEST(GroundRays, AllPointBelowTheHorizon) {
  for (int turnSum = 0; turnSum < 16; ++turnSum) {
    for (const CellPoint& end : GroundRayEnds(turnSum, 10)) {
      EXPECT_GT(end.y, 10) << "turnSum " << turnSum;
    }
  }
}

std::vector<int> Gaps(int stripePhase, std::size_t count) {
  const auto rows = GroundStripeRows(stripePhase, 30);
  std::vector<int> gaps;
  for (std::size_t i = 1; i <= count; ++i) {
    gaps.push_back(rows[i] - rows[i - 1]);
  }
  return gaps;
}

TEST(GroundStripes, GapsGrowWithThePhase) {
  EXPECT_EQ(Gaps(0, 5), (std::vector<int>{0, 1, 2, 3, 4}));
  EXPECT_EQ(Gaps(4, 10), (std::vector<int>{4, 5, 6, 8, 10, 12, 14, 16, 19, 22}));
  EXPECT_EQ(Gaps(7, 10), (std::vector<int>{7, 9, 11, 14, 17, 21, 26, 31, 37, 44}));
  EXPECT_EQ(GroundStripeRows(3, 30)[0], 30);  // first stripe on the horizon
}

TEST(Stars, BandAboveTheHorizonKeepsAStar) {
  struct Case {
    Star star;
    int altitude;
    bool outside;
  };
  const std::vector<Case> cases = {
      {{1, 1}, 190, false},   {{319, 175}, 190, false}, {{0, 50}, 190, true},
      {{320, 50}, 190, true}, {{100, 0}, 190, true},    {{100, 176}, 190, true},
      {{100, 1}, 16, false},  {{100, 1}, 15, true},     {{100, 0}, 10, true},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(StarOutsideBand(c.star, c.altitude), c.outside)
        << c.star.x << "," << c.star.y << " at " << c.altitude;
  }
}

TEST(Stars, DriftAwayFromTheCentreAndAgainstTheMouse) {
  struct Case {
    Star start;
    int mouseX;
    int mouseHalfY;
    Star end;
  };
  const std::vector<Case> cases = {
      // 100 - 60/25 + 16 = 113.6; 50 - 50/25 + 8 = 56.
      {{100, 50}, 0, 0, {113, 56}},
      // At the centre with a neutral mouse a star stays.
      {{160, 100}, 320, 80, {160, 100}},
      // 1 - 159/25 - 319/20 = -21.31 and 1 - 99/25 - 15.9 = -18.86 truncate up.
      {{1, 1}, 639, 239, {-21, -18}},
  };
  for (const Case& c : cases) {
    Star star = c.start;
    DriftStar(star, c.mouseX, c.mouseHalfY);
    EXPECT_EQ(star.x, c.end.x) << c.start.x << "," << c.start.y;
    EXPECT_EQ(star.y, c.end.y) << c.start.x << "," << c.start.y;
  }
}

// The generator belongs to the drawing layer; its headless mode resets it.
class StarGenerator : public ::testing::Test {
 protected:
  void SetUp() override { headless::Enable(); }
  void TearDown() override { headless::Disable(); }
};

TEST_F(StarGenerator, ReseedRowsLieInTheBandOrAtAndAboveTheTopRow) {
  struct Case {
    int altitude;
    int lowestRow;
    int highestRow;
  };
  // Below altitude 16 the bound is 0 or negative: rows bound + 1..0.
  const std::vector<Case> cases = {{190, 0, 174}, {16, 0, 0}, {15, 0, 0}, {10, -4, 0}, {1, -13, 0}};
  for (const Case& c : cases) {
    int lowestSeen = 1000;
    int highestSeen = -1000;
    for (int i = 0; i < 2000; ++i) {
      Star star;
      ReseedStar(star, c.altitude);
      ASSERT_GE(star.x, 0);
      ASSERT_LE(star.x, 319);
      lowestSeen = std::min(lowestSeen, star.y);
      highestSeen = std::max(highestSeen, star.y);
    }
    EXPECT_EQ(lowestSeen, c.lowestRow) << "altitude " << c.altitude;
    EXPECT_EQ(highestSeen, c.highestRow) << "altitude " << c.altitude;
  }
}

TEST_F(StarGenerator, FirstFrameReseedsEveryStar) {
  FlightState flight;
  StartFlight(flight);
  EXPECT_EQ(flight.altitude, 10);
  for (const Star& star : flight.stars) {
    EXPECT_TRUE(StarOutsideBand(star, flight.altitude));
  }
  // With the start mouse (0, 0) a star re-seeded in rows -4..0 moves to
  // 1.04 y + 4, which truncates to rows 0..4.
  MoveStars(flight);
  for (const Star& star : flight.stars) {
    EXPECT_GE(star.y, 0);
    EXPECT_LE(star.y, 4);
  }
}

}  // namespace
