#include "brontale_draw.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <ostream>

#include "brontale_frame.h"
#include "brontale_model.h"
#include "graphics.h"
#include "graphics_headless.h"

namespace {

constexpr std::uint32_t kBlack = headless::Rgb(0, 0, 0);
constexpr std::uint32_t kWhite = headless::Rgb(252, 252, 252);
constexpr std::uint32_t kLightGrey = headless::Rgb(168, 168, 168);

struct PixelCase {
  double coordinate;
  int pixel;
};

void PrintTo(const PixelCase& pixel, std::ostream* out) {
  *out << pixel.coordinate;
}

class ToPixelTest : public ::testing::TestWithParam<PixelCase> {};

TEST_P(ToPixelTest, RoundsTiesToEvenAndHoldsFarValuesUnwrapped) {
  EXPECT_EQ(ToPixel(GetParam().coordinate), GetParam().pixel);
}

INSTANTIATE_TEST_SUITE_P(Values, ToPixelTest,
                         ::testing::Values(PixelCase{2.5, 2}, PixelCase{3.5, 4},
                                           PixelCase{-2.5, -2}, PixelCase{-3.5, -4},
                                           PixelCase{0.4999, 0}, PixelCase{307.52, 308},
                                           PixelCase{32768.0, 32768},  // not wrapped to 16 bits
                                           PixelCase{-40000.4, -40000}, PixelCase{1e12, 1000000000},
                                           PixelCase{-1e12, -1000000000}));

struct SpeedTextCase {
  double speed;
  const char* text;
};

void PrintTo(const SpeedTextCase& speed, std::ostream* out) {
  *out << speed.speed;
}

class FormatSpeedTest : public ::testing::TestWithParam<SpeedTextCase> {};

TEST_P(FormatSpeedTest, WholeNumberHalvesUpNoPadding) {
  char text[kSpeedTextCapacity];
  FormatSpeed(GetParam().speed, text);
  EXPECT_STREQ(text, GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Values, FormatSpeedTest,
                         ::testing::Values(SpeedTextCase{0.0, "0"}, SpeedTextCase{0.25, "0"},
                                           SpeedTextCase{0.5, "1"}, SpeedTextCase{2.5, "3"},
                                           SpeedTextCase{3.5, "4"}, SpeedTextCase{9.75, "10"},
                                           SpeedTextCase{64.75, "65"}, SpeedTextCase{65.0, "65"}));

// Draws one state into a cleared headless page and reads it back.
class SceneTest : public ::testing::Test {
 protected:
  void SetUp() override {
    headless::Enable();
    OpenBrontaleWindow();
  }
  void TearDown() override {
    CloseGraph();
    headless::Disable();
  }
  static headless::Picture Draw(const TruckState& truck) {
    SetActivePage(0);
    ClearDevice();
    ViewTransform view;
    UpdateView(view, truck);
    DrawScene(view, truck);
    return headless::ReadActivePage();
  }
  // A rig far away from the yard, trailer straight behind.
  static TruckState FarFromYard(double heading) {
    TruckState truck;
    truck.tractorX = 5000.0;
    truck.tractorY = -3000.0;
    truck.heading = heading;
    truck.trailerX = truck.tractorX - kTrailerDistance * std::cos(heading);
    truck.trailerY = truck.tractorY - kTrailerDistance * std::sin(heading);
    return truck;
  }
};

// Tractor body: x 308..332, y 135..187 on screen, whatever the heading.
TEST_F(SceneTest, TractorBodyIsTheSameUprightRectangleAtEveryHeading) {
  for (double heading : {0.0, 0.3, -std::numbers::pi / 2, 2.5, 40.0, -123.4}) {
    for (double steer : {0.0, 0.8, -0.8}) {
      TruckState truck = FarFromYard(heading);
      truck.steer = steer;
      const headless::Picture picture = Draw(truck);
      SCOPED_TRACE(::testing::Message() << "heading " << heading << " steer " << steer);
      for (int x = 308; x <= 332; ++x) {
        ASSERT_EQ(picture.At(x, 135), kLightGrey) << "top edge at x " << x;
        ASSERT_EQ(picture.At(x, 187), kLightGrey) << "bottom edge at x " << x;
      }
      for (int y = 135; y <= 187; ++y) {
        ASSERT_EQ(picture.At(308, y), kLightGrey) << "left edge at y " << y;
        ASSERT_EQ(picture.At(332, y), kLightGrey) << "right edge at y " << y;
      }
      ASSERT_EQ(picture.At(307, 160), kBlack);
      ASSERT_EQ(picture.At(333, 160), kBlack);
      ASSERT_EQ(picture.At(320, 134), kBlack);
      // Trailer point straight below, 96 behind.
      ASSERT_EQ(picture.At(320, 271), kWhite);
    }
  }
}

// A point to the right of the truck (clockwise from its heading) lands right
// of the reference pixel: the view turns without mirroring.
TEST_F(SceneTest, PointRightOfTheTruckIsDrawnToTheRight) {
  for (double heading : {0.0, 1.0, -2.0, 3.0}) {
    TruckState truck = FarFromYard(heading);
    truck.trailerX = truck.tractorX - kTrailerDistance * std::sin(heading);
    truck.trailerY = truck.tractorY + kTrailerDistance * std::cos(heading);
    const headless::Picture picture = Draw(truck);
    EXPECT_EQ(picture.At(416, 175), kWhite) << "heading " << heading;
    EXPECT_EQ(picture.At(224, 175), kBlack) << "heading " << heading;
  }
}

TEST_F(SceneTest, UncoupledTrailerIsNotDrawn) {
  TruckState truck = FarFromYard(0.7);
  const headless::Picture coupled = Draw(truck);
  truck.trailerAttached = 0;
  const headless::Picture uncoupled = Draw(truck);
  EXPECT_EQ(coupled.At(320, 271), kWhite);
  for (int y = 190; y < 600; ++y) {
    for (int x = 0; x < 800; ++x) {
      ASSERT_EQ(uncoupled.At(x, y), kBlack) << x << "," << y;
    }
  }
}

// The arrow's head flips with the direction; nothing else changes.
TEST_F(SceneTest, ReversingFlipsOnlyTheArrow) {
  TruckState truck = FarFromYard(1.2);
  const headless::Picture forwards = Draw(truck);
  truck.direction = -1;
  const headless::Picture backwards = Draw(truck);
  constexpr std::uint32_t kCyan = headless::Rgb(0, 168, 168);
  // Shaft from 12 to 32 ahead (y 163 up to 143); the barbs end 5 to each
  // side, 27 ahead (y 148) going forwards, 17 ahead (y 158) going backwards,
  // where the speed text may cover part of them.
  auto barbPixels = [&](const headless::Picture& picture, int fromY, int toY) {
    int count = 0;
    for (int y = fromY; y <= toY; ++y) {
      for (int x = 314; x <= 326; ++x) count += x != 320 && picture.At(x, y) == kCyan;
    }
    return count;
  };
  EXPECT_EQ(forwards.At(315, 148), kCyan);
  EXPECT_EQ(forwards.At(325, 148), kCyan);
  EXPECT_EQ(barbPixels(backwards, 142, 152), 0);
  EXPECT_GT(barbPixels(backwards, 155, 164), 0);
  EXPECT_EQ(barbPixels(forwards, 155, 164), 0);
  for (int y = 0; y < 600; ++y) {
    for (int x = 0; x < 800; ++x) {
      const bool inArrowBox = x >= 314 && x <= 326 && y >= 142 && y <= 164;
      if (!inArrowBox) {
        ASSERT_EQ(forwards.At(x, y), backwards.At(x, y)) << x << "," << y;
      }
    }
  }
}

// Only the speed text differs between two speeds: centred on x 320, standing
// on y 175.
TEST_F(SceneTest, SpeedIsWrittenOnTheTractorAboveTheReferencePoint) {
  TruckState truck = FarFromYard(0.0);
  truck.speed = 0.0;
  const headless::Picture stopped = Draw(truck);
  truck.speed = 64.5;
  const headless::Picture fast = Draw(truck);
  int left = 800, right = -1, top = 600, bottom = -1;
  for (int y = 0; y < 600; ++y) {
    for (int x = 0; x < 800; ++x) {
      if (stopped.At(x, y) == fast.At(x, y)) continue;
      left = std::min(left, x);
      right = std::max(right, x);
      top = std::min(top, y);
      bottom = std::max(bottom, y);
    }
  }
  ASSERT_GE(right, left) << "the speed text did not change";
  EXPECT_NEAR((left + right) / 2.0, 320.0, 2.0);
  EXPECT_GE(top, 175 - 16);
  EXPECT_LE(bottom, 175);
  EXPECT_LE(right - left, 40);
}

// Same text, same picture: 2.5 shows "3" just like 3, and 2.25 shows "2".
TEST_F(SceneTest, SpeedTextRoundsHalvesUp) {
  TruckState truck = FarFromYard(0.0);
  auto drawnAt = [&](double speed) {
    truck.speed = speed;
    return Draw(truck).rgb;
  };
  EXPECT_EQ(drawnAt(2.5), drawnAt(3.0));
  EXPECT_EQ(drawnAt(2.25), drawnAt(2.0));
  EXPECT_NE(drawnAt(2.5), drawnAt(2.0));
  EXPECT_EQ(drawnAt(0.5), drawnAt(1.0));
  EXPECT_NE(drawnAt(0.5), drawnAt(0.0));
}

// With the truck 65536 units away the yard would land back in the window if
// coordinates wrapped to 16 bits; it must stay out of sight.
TEST_F(SceneTest, YardFarAwayIsClippedNotWrapped) {
  for (double offset : {65536.0, -65536.0, 131072.0}) {
    TruckState truck;
    truck.tractorX = 550.0;
    truck.tractorY = 300.0 - offset;
    truck.heading = 0.0;
    truck.trailerAttached = 0;
    const headless::Picture picture = Draw(truck);
    for (int y = 0; y < 600; ++y) {
      for (int x = 0; x < 800; ++x) {
        const bool nearTruck = x >= 300 && x <= 340 && y >= 130 && y <= 190;
        if (!nearTruck) {
          ASSERT_EQ(picture.At(x, y), kBlack) << x << "," << y << " offset " << offset;
        }
      }
    }
  }
}

}  // namespace
