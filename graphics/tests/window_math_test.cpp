// The window's arithmetic: letterbox, window position to pixel, flip pacing
// and the GRAPHICS_FPS setting.

#include "window_math.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

namespace {

using gfx::PixelPoint;
using gfx::ScreenRect;

struct LetterboxCase {
  const char* name;
  int areaWidth, areaHeight, windowWidth, windowHeight;
  ScreenRect expected;
};

const LetterboxCase kLetterboxCases[] = {
    {"SameSize", 800, 600, 800, 600, {0, 0, 800, 600}},
    {"DoubleSize", 800, 600, 1600, 1200, {0, 0, 1600, 1200}},
    {"WiderWindowGetsSideBorders", 800, 600, 1000, 600, {100, 0, 800, 600}},
    {"TallerWindowGetsTopAndBottomBorders", 800, 600, 800, 700, {0, 50, 800, 600}},
    {"OddBorderLeavesExtraColumnRight", 800, 600, 1001, 600, {100, 0, 800, 600}},
    {"ScaledUpTallScreen", 640, 480, 1280, 1024, {0, 32, 1280, 960}},
    {"ScaledDownWide", 640, 480, 1000, 300, {300, 0, 400, 300}},
    {"NonIntegerScale", 800, 600, 1000, 750, {0, 0, 1000, 750}},
    {"TinyWindowKeepsOnePixel", 800, 600, 1, 1, {0, 0, 1, 1}},
    {"EmptyWindow", 800, 600, 0, 0, {0, 0, 0, 0}},
};

class Letterbox : public testing::TestWithParam<LetterboxCase> {};

TEST_P(Letterbox, FitsAndCentresThePicture) {
  const LetterboxCase& c = GetParam();
  const ScreenRect rect =
      gfx::LetterboxRect(c.areaWidth, c.areaHeight, c.windowWidth, c.windowHeight);
  EXPECT_EQ(rect.x, c.expected.x);
  EXPECT_EQ(rect.y, c.expected.y);
  EXPECT_EQ(rect.width, c.expected.width);
  EXPECT_EQ(rect.height, c.expected.height);
}

INSTANTIATE_TEST_SUITE_P(Windows, Letterbox, testing::ValuesIn(kLetterboxCases),
                         [](const testing::TestParamInfo<LetterboxCase>& param) {
                           return std::string(param.param.name);
                         });

struct MappingCase {
  const char* name;
  ScreenRect picture;
  int windowX, windowY;
  PixelPoint expected;
};

// An 800 x 600 area in various window layouts.
const MappingCase kMappingCases[] = {
    {"IdentityOrigin", {0, 0, 800, 600}, 0, 0, {0, 0}},
    {"IdentityMiddle", {0, 0, 800, 600}, 400, 300, {400, 300}},
    {"IdentityCorner", {0, 0, 800, 600}, 799, 599, {799, 599}},
    {"DoubleFirstPixelCoversTwo", {0, 0, 1600, 1200}, 1, 1, {0, 0}},
    {"DoubleSecondPixel", {0, 0, 1600, 1200}, 2, 3, {1, 1}},
    {"DoubleLastPixel", {0, 0, 1600, 1200}, 1599, 1199, {799, 599}},
    {"PillarboxPictureEdge", {100, 0, 800, 600}, 100, 0, {0, 0}},
    {"LeftBorderClampsToFirstColumn", {100, 0, 800, 600}, 50, 10, {0, 10}},
    {"RightBorderClampsToLastColumn", {100, 0, 800, 600}, 950, 599, {799, 599}},
    {"TopBorderClampsToFirstRow", {0, 50, 800, 600}, 20, 20, {20, 0}},
    {"BottomBorderClampsToLastRow", {0, 50, 800, 600}, 20, 680, {20, 599}},
    {"QuarterMoreScaleStart", {0, 0, 1000, 750}, 5, 5, {4, 4}},
    {"QuarterMoreScaleEnd", {0, 0, 1000, 750}, 999, 749, {799, 599}},
    {"HalfScaleTakesPixelUnderCentre", {0, 0, 400, 300}, 100, 150, {201, 301}},
};

class WindowToArea : public testing::TestWithParam<MappingCase> {};

TEST_P(WindowToArea, MapsAndClamps) {
  const MappingCase& c = GetParam();
  const PixelPoint pixel = gfx::WindowToDrawingArea(c.picture, 800, 600, c.windowX, c.windowY);
  EXPECT_EQ(pixel.x, c.expected.x);
  EXPECT_EQ(pixel.y, c.expected.y);
}

INSTANTIATE_TEST_SUITE_P(Positions, WindowToArea, testing::ValuesIn(kMappingCases),
                         [](const testing::TestParamInfo<MappingCase>& param) {
                           return std::string(param.param.name);
                         });

// Scaled up, every area column gets a run of window columns, in order and
// as even as the scale allows; scaled down, the columns picked advance by
// the scale without going back.
TEST(WindowToAreaCoverage, ColumnsFollowTheScale) {
  const int areaWidth = 800;
  const int areaHeight = 600;
  for (const int windowWidth : {800, 801, 1000, 1280, 1600, 1920, 400, 333}) {
    SCOPED_TRACE(windowWidth);
    const ScreenRect picture = gfx::LetterboxRect(areaWidth, areaHeight, windowWidth, 4000);
    const int largestStep = (areaWidth + picture.width - 1) / picture.width;
    std::vector<int> runLength(areaWidth, 0);
    int previous = gfx::WindowToDrawingArea(picture, areaWidth, areaHeight, picture.x, 0).x;
    EXPECT_LT(previous, largestStep);
    for (int x = picture.x; x < picture.x + picture.width; ++x) {
      const int column = gfx::WindowToDrawingArea(picture, areaWidth, areaHeight, x, 0).x;
      ASSERT_GE(column, previous);
      ASSERT_LE(column, previous + largestStep);
      previous = column;
      ++runLength[column];
    }
    EXPECT_GT(previous, areaWidth - 1 - largestStep);
    if (picture.width >= areaWidth) {
      const int shortest = picture.width / areaWidth;
      for (int column = 0; column < areaWidth; ++column) {
        ASSERT_GE(runLength[column], shortest) << column;
        ASSERT_LE(runLength[column], shortest + 1) << column;
      }
    }
  }
}

// ---------------------------------------------------------------- pacing --

using std::chrono::milliseconds;

struct FlipStep {
  int nowMs;
  int wakeUpMs;
};

TEST(FlipPacing, SleepsToDeadlinesAndRestartsWhenFarBehind) {
  const gfx::FlipClock::time_point start{std::chrono::seconds(100)};
  const milliseconds period(10);
  const FlipStep steps[] = {
      {0, 0},                  // first flip starts the schedule
      {3, 10},                 // early: wait for the deadline
      {10, 20},                // straight back: wait a whole period
      {35, 35},                // half a frame late: no wait, the schedule keeps its beat
      {36, 40},                // so the next flip waits only for the kept deadline
      {40, 50},   {100, 100},  // more than a frame behind: no burst, start again from now
      {101, 110}, {110, 120},
  };
  gfx::FlipSchedule schedule;
  for (const FlipStep& step : steps) {
    SCOPED_TRACE(step.nowMs);
    const auto wakeUp = gfx::ScheduleFlip(schedule, start + milliseconds(step.nowMs), period);
    EXPECT_EQ(wakeUp - start, milliseconds(step.wakeUpMs));
  }
}

TEST(FlipPacing, FastLoopIsHeldToTheRate) {
  const auto period =
      std::chrono::duration_cast<gfx::FlipClock::duration>(std::chrono::duration<double>(1.0 / 60));
  gfx::FlipSchedule schedule;
  gfx::FlipClock::time_point now{};
  const gfx::FlipClock::time_point start = now;
  for (int flip = 0; flip < 61; ++flip) {
    now = gfx::ScheduleFlip(schedule, now, period);  // a frame that takes no time
  }
  EXPECT_EQ(now - start, 60 * period);
}

struct SettingCase {
  const char* text;
  gfx::FrameRateSetting expected;
  int rate;
};

TEST(FrameRateSetting, ParsesWholeNumbersOnly) {
  const SettingCase cases[] = {
      {nullptr, gfx::FrameRateSetting::kUnset, 0},
      {"", gfx::FrameRateSetting::kUnset, 0},
      {"0", gfx::FrameRateSetting::kValid, 0},
      {"60", gfx::FrameRateSetting::kValid, 60},
      {"144", gfx::FrameRateSetting::kValid, 144},
      {"007", gfx::FrameRateSetting::kValid, 7},
      {"-5", gfx::FrameRateSetting::kInvalid, 0},
      {"+60", gfx::FrameRateSetting::kInvalid, 0},
      {"abc", gfx::FrameRateSetting::kInvalid, 0},
      {"12x", gfx::FrameRateSetting::kInvalid, 0},
      {" 60", gfx::FrameRateSetting::kInvalid, 0},
      {"30.5", gfx::FrameRateSetting::kInvalid, 0},
      {"99999999999", gfx::FrameRateSetting::kInvalid, 0},
  };
  for (const SettingCase& c : cases) {
    SCOPED_TRACE(c.text == nullptr ? "(unset)" : c.text);
    int rate = -1;
    EXPECT_EQ(gfx::ParseFrameRateSetting(c.text, rate), c.expected);
    if (c.expected == gfx::FrameRateSetting::kValid) {
      EXPECT_EQ(rate, c.rate);
    }
  }
}

}  // namespace
