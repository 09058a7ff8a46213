// The whole frame loop without a display: scripted mouse rows climb, hold
// and sink the glider, the altitude is capped, and the run ends on the
// ground or on a key.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

#include "graphics.h"
#include "graphics_headless.h"
#include "velmiro_frame.h"

namespace {

constexpr std::uint32_t kGreen = headless::Rgb(0, 168, 0);
constexpr std::uint32_t kDarkGrey = headless::Rgb(84, 84, 84);
constexpr std::uint32_t kWhite = headless::Rgb(252, 252, 252);
constexpr std::uint32_t kLightGreen = headless::Rgb(84, 252, 84);
constexpr int kPictureBottomPixel = 400;
constexpr int kMouseRowNeutral = 300;  // altitude unchanged
constexpr int kMouseRowSink = 400;     // -1 per frame
constexpr int kMouseRowClimbOne = 100; // +1 per frame
constexpr int kMouseRowClimbTwo = 0;   // +2 per frame
constexpr int kRunawayFlips = 2000;
constexpr int kAbandonFlips = 2500;  // sinking from 190 lands well before

// The horizon's cell row as a picture shows it: the first ground-coloured
// pixel in the leftmost cell column, halved.
int HorizonRow(const headless::Picture& picture) {
  for (int y = 0; y <= kPictureBottomPixel; ++y) {
    const std::uint32_t pixel = picture.At(1, y);
    if (pixel == kGreen || pixel == kDarkGrey) {
      return y / 2;
    }
  }
  return -1;
}

// Runs the program's own loop; `script(flip)` sets the input of each frame.
// A run that does not end by itself gets a key and the sinking mouse row
// after kRunawayFlips; one that still runs is abandoned. Returns the number
// of frames run.
int RunScripted(const std::function<void(int)>& script) {
  int flips = 0;
  headless::Enable([&](int flip) {
    flips = flip;
    script(flip);
    if (flip == kRunawayFlips) {
      headless::TypeKey('q');
      headless::MoveMouse(320, kMouseRowSink);
    }
    if (flip == kAbandonFlips) {
      std::fprintf(stderr, "velmiro's loop ends neither on a key nor on the ground\n");
      std::abort();
    }
  });
  RunVelmiro();
  headless::Disable();
  return flips;
}

TEST(VelmiroLoop, MouseRowsClimbHoldAndSinkAndTheCapHolds) {
  // Mouse row per frame, and the altitude it leaves.
  struct Phase {
    int frames;
    int mouseRow;  // -1: no mouse message yet
    int change;
  };
  const std::vector<Phase> phases = {
      {3, -1, 2},
      {3, kMouseRowClimbOne, 1},
      {2, kMouseRowNeutral, 0},
      {4, kMouseRowSink, -1},
      {100, kMouseRowClimbTwo, 2},  // reaches the cap at 190 and stays
  };
  std::vector<int> mouseRowOfFrame = {0};  // frames count from 1
  std::vector<int> altitudeAfterFrame = {10};
  for (const Phase& phase : phases) {
    for (int i = 0; i < phase.frames; ++i) {
      mouseRowOfFrame.push_back(phase.mouseRow);
      altitudeAfterFrame.push_back(std::min(altitudeAfterFrame.back() + phase.change, 190));
    }
  }
  const int lastFrame = static_cast<int>(mouseRowOfFrame.size()) - 1;
  ASSERT_EQ(altitudeAfterFrame.back(), 190);

  std::vector<int> shownHorizons;
  const int frames = RunScripted([&](int flip) {
    // The visual page holds frame flip - 1, whose ground starts at the
    // altitude left by frame flip - 2.
    if (flip >= 2) {
      shownHorizons.push_back(HorizonRow(headless::ReadVisualPage()));
    }
    if (flip <= lastFrame && mouseRowOfFrame[flip] >= 0) {
      headless::MoveMouse(320, mouseRowOfFrame[flip]);
    }
    if (flip == lastFrame) {
      headless::TypeKey(' ');
    }
  });
  ASSERT_EQ(frames, lastFrame);
  ASSERT_EQ(shownHorizons.size(), static_cast<std::size_t>(lastFrame - 1));
  for (int flip = 2; flip <= lastFrame; ++flip) {
    EXPECT_EQ(shownHorizons[flip - 2], altitudeAfterFrame[flip - 2]) << "flip " << flip;
  }
  // The last frame drawn (never shown) has its ground at 190..199.
  EXPECT_EQ(HorizonRow(headless::ReadActivePage()), 190);
}

TEST(VelmiroLoop, EndsInTheFrameThatReachesTheGround) {
  const int frames = RunScripted([](int flip) {
    if (flip == 1) {
      headless::MoveMouse(320, kMouseRowSink);
    }
  });
  EXPECT_EQ(frames, 10);  // 10 - 10 = 0
}

TEST(VelmiroLoop, AnyKeyEndsTheRunAtTheEndOfThatFrame) {
  struct Case {
    const char* name;
    std::function<void()> press;
  };
  const std::vector<Case> cases = {
      {"letter", [] { headless::TypeKey('a'); }},
      {"Esc", [] { headless::TypeKey(27); }},
      {"arrow", [] { headless::TypeExtendedKey(72); }},
      {"close button", [] { headless::PressCloseButton(); }},
  };
  for (const Case& c : cases) {
    const int frames = RunScripted([&](int flip) {
      if (flip == 1) {
        headless::MoveMouse(320, kMouseRowNeutral);
      }
      if (flip == 5) {
        c.press();
      }
    });
    EXPECT_EQ(frames, 5) << c.name;
  }
}

// Single frames of a started session.
class VelmiroFrame : public ::testing::Test {
 protected:
  void SetUp() override {
    headless::Enable();
    StartVelmiro(session);
  }
  void TearDown() override {
    CloseGraph();
    headless::Disable();
  }
  VelmiroSession session;
};

TEST_F(VelmiroFrame, WithoutMouseMessagesTheGliderClimbsByTwo) {
  EXPECT_TRUE(RunVelmiroFrame(session));
  EXPECT_EQ(session.flight.altitude, 12);
  EXPECT_EQ(session.flight.turnSum, 5);  // mouse x 0 before the first read
  EXPECT_EQ(session.flight.stripePhase, 1);
  EXPECT_EQ(HorizonRow(headless::ReadActivePage()), 10);
}

TEST_F(VelmiroFrame, PagesAlternate) {
  std::vector<int> pages;
  for (int i = 0; i < 4; ++i) {
    RunVelmiroFrame(session);
    pages.push_back(headless::ActivePage());
    EXPECT_EQ(headless::VisualPage(), 1 - headless::ActivePage());
  }
  EXPECT_EQ(pages, (std::vector<int>{0, 1, 0, 1}));
}

TEST_F(VelmiroFrame, GliderCellsLieWhereTheProjectionPutsThem) {
  headless::MoveMouse(320, 240);
  RunVelmiroFrame(session);
  const headless::Picture picture = headless::ReadActivePage();
  struct Cell {
    int x;
    int y;
  };
  // Vertices 1, 9 and 12 with mouseX 320 and mouseHalfY 120.
  for (const Cell& cell : {Cell{162, 98}, Cell{75, 97}, Cell{247, 104}}) {
    EXPECT_EQ(picture.At(2 * cell.x + 1, 2 * cell.y + 1), kWhite)
        << "cell " << cell.x << "," << cell.y;
  }
  // Beyond the wing tips nothing is white.
  EXPECT_NE(picture.At(2 * 70 + 1, 2 * 97 + 1), kWhite);
  EXPECT_NE(picture.At(2 * 252 + 1, 2 * 104 + 1), kWhite);
}

TEST_F(VelmiroFrame, AltitudeLineIsCentredBelowThePicture) {
  RunVelmiroFrame(session);
  const headless::Picture picture = headless::ReadActivePage();
  int left = picture.width;
  int right = -1;
  int top = picture.height;
  int bottom = -1;
  for (int y = 0; y < picture.height; ++y) {
    for (int x = 0; x < picture.width; ++x) {
      if (picture.At(x, y) == kLightGreen) {
        left = std::min(left, x);
        right = std::max(right, x);
        top = std::min(top, y);
        bottom = std::max(bottom, y);
      }
    }
  }
  ASSERT_GE(right, 0) << "no text drawn";
  EXPECT_GT(top, kPictureBottomPixel);
  EXPECT_LE(bottom, 439);
  EXPECT_GE(bottom, 430);
  EXPECT_NEAR((left + right) / 2.0, 319.0, 4.0);
  EXPECT_GT(right - left, 150);  // "INALTIME:  12 m - PREA JOS !"
}

}  // namespace
