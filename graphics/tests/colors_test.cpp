// Colours: the palette as the screen shows it, nearest-entry mapping of
// requested colours, and true-colour values.

#include <gtest/gtest.h>

#include <cstdint>

#include "graphics.h"
#include "graphics_headless.h"

namespace {

using headless::Rgb;

// What a pixel drawn in `color` shows on the screen.
std::uint32_t Shown(Color color) {
  SetColor(color);
  Line(0, 0, 0, 0);
  return headless::ReadActivePage().At(0, 0);
}

std::uint32_t SquaredDistance(std::uint32_t rgb, int r, int g, int b) {
  const int dr = int(rgb >> 16) - r, dg = int((rgb >> 8) & 0xFF) - g, db = int(rgb & 0xFF) - b;
  return std::uint32_t(dr * dr + dg * dg + db * db);
}

class PaletteWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    headless::Enable();
    InitGraph(kPaletteDriver, kMode640x480, "palette");
  }
  void TearDown() override {
    CloseGraph();
    headless::Disable();
  }
};

TEST_F(PaletteWindow, TheSixteenBasicColours) {
  const std::uint32_t expected[16] = {
      Rgb(0, 0, 0),       Rgb(0, 0, 168),     Rgb(0, 168, 0),     Rgb(0, 168, 168),
      Rgb(168, 0, 0),     Rgb(168, 0, 168),   Rgb(168, 84, 0),    Rgb(168, 168, 168),
      Rgb(84, 84, 84),    Rgb(132, 132, 252), Rgb(84, 252, 84),   Rgb(84, 252, 252),
      Rgb(252, 84, 84),   Rgb(252, 84, 252),  Rgb(252, 252, 84),  Rgb(252, 252, 252)};
  for (Color i = 0; i < 16; ++i) EXPECT_EQ(Shown(i), expected[i]) << "index " << i;
}

TEST_F(PaletteWindow, GreyRampColourRampsAndBlackTail) {
  struct Entry {
    Color index;
    std::uint32_t rgb;
  };
  const Entry entries[] = {
      {16, Rgb(0, 0, 0)},       {17, Rgb(20, 20, 20)},   {23, Rgb(96, 96, 96)},
      {31, Rgb(252, 252, 252)}, {32, Rgb(0, 0, 252)},    {36, Rgb(252, 0, 252)},
      {40, Rgb(252, 0, 0)},     {44, Rgb(252, 252, 0)},  {48, Rgb(0, 252, 0)},
      {55, Rgb(0, 64, 252)},    {56, Rgb(124, 124, 252)}, {64, Rgb(252, 124, 124)},
      {80, Rgb(180, 180, 252)}, {104, Rgb(0, 0, 112)},   {120, Rgb(0, 112, 0)},
      {128, Rgb(56, 56, 112)},  {152, Rgb(80, 80, 112)}, {176, Rgb(0, 0, 64)},
      {200, Rgb(32, 32, 64)},   {224, Rgb(44, 44, 64)},  {247, Rgb(44, 48, 64)},
      {248, Rgb(0, 0, 0)},      {255, Rgb(0, 0, 0)}};
  for (const Entry& e : entries) EXPECT_EQ(Shown(e.index), e.rgb) << "index " << e.index;
}

TEST_F(PaletteWindow, RequestedColoursMapToTheNearestEntry) {
  struct Request {
    const char* name;
    Color color;
    int r, g, b;
  };
  const Request requests[] = {
      {"white", WhiteColor(), 255, 255, 255},
      {"yellow", YellowColor(), 255, 255, 0},
      {"green", GreenColor(), 0, 128, 0},
      {"red", RedColor(), 255, 0, 0},
      {"light red", LightRedColor(), 255, 128, 128},
      {"light green", LightGreenColor(), 144, 238, 144},
      {"light grey", LightGrayColor(), 168, 168, 168},
      {"grey 96", RGBColor(96, 96, 96), 96, 96, 96},
      {"grey 1", RGBColor(1, 1, 1), 1, 1, 1},
  };
  for (const Request& q : requests) {
    const std::uint32_t chosen = SquaredDistance(Shown(q.color), q.r, q.g, q.b);
    for (Color i = 0; i < 256; ++i) {
      ASSERT_LE(chosen, SquaredDistance(Shown(i), q.r, q.g, q.b)) << q.name << " vs " << i;
    }
  }
  // Ties go to the lowest index: white is the basic colour 15, not grey 31.
  EXPECT_EQ(WhiteColor(), 15u);
  EXPECT_EQ(LightGrayColor(), 7u);
  EXPECT_EQ(Shown(RedColor()), Rgb(252, 0, 0));
  EXPECT_EQ(Shown(YellowColor()), Rgb(252, 252, 0));
  EXPECT_EQ(Shown(GreenColor()), Rgb(0, 112, 0));
  // Out-of-range components are clamped before mapping.
  EXPECT_EQ(RGBColor(300, -5, 1000), RGBColor(255, 0, 255));
}

TEST(TrueColorWindow, ColourValuesArePackedRedGreenBlue) {
  headless::Enable();
  InitGraph(kTrueColorDriver, kMode800x600, "true colour");
  EXPECT_EQ(RGBColor(1, 2, 3), 1u + 256u * 2u + 65536u * 3u);
  EXPECT_EQ(WhiteColor(), 0xFFFFFFu);
  EXPECT_EQ(GreenColor(), 128u * 256u);
  EXPECT_EQ(LightRedColor(), 255u + 128u * 256u + 128u * 65536u);
  EXPECT_EQ(RGBColor(-1, 256, 70000), 255u * 256u + 255u * 65536u);
  EXPECT_EQ(Shown(RGBColor(1, 2, 3)), Rgb(1, 2, 3));
  EXPECT_EQ(Shown(0x123456), Rgb(0x56, 0x34, 0x12));
  ClearDevice();
  EXPECT_EQ(headless::ReadActivePage().At(0, 0), 0u);
  CloseGraph();
  headless::Disable();
}

}  // namespace
