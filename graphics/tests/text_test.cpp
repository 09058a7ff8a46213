// Text on a headless page: size, placement for each justification, colour,
// no background, and the two faces.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <set>
#include <string>

#include "graphics.h"
#include "graphics_headless.h"

namespace {

constexpr Color kYellowIndex = 14;
constexpr std::uint32_t kYellowRgb = headless::Rgb(252, 252, 84);
constexpr Color kBlueIndex = 1;
constexpr std::uint32_t kBlueRgb = headless::Rgb(0, 0, 168);
constexpr int kX = 400;
constexpr int kY = 300;
// Ascenders and descenders of "Hjgy" fill most of the line.
constexpr const char* kSample = "Hjgy Ok";

struct Box {
  int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;
  bool Empty() const { return right < 0; }
};

Box LitBox(const headless::Picture& page) {
  Box box;
  for (int y = 0; y < page.height; ++y) {
    for (int x = 0; x < page.width; ++x) {
      if (page.At(x, y) == 0) continue;
      box.left = std::min(box.left, x);
      box.right = std::max(box.right, x);
      box.top = std::min(box.top, y);
      box.bottom = std::max(box.bottom, y);
    }
  }
  return box;
}

class Text : public testing::Test {
 protected:
  void SetUp() override { headless::Enable(); }
  void TearDown() override {
    CloseGraph();
    headless::Disable();
  }
  static void OpenPalette() {
    InitGraph(kPaletteDriver, kMode800x600, "text");
    SetColor(kYellowIndex);
  }
};

struct PlacementCase {
  int font;
  int size;
  int horizontal;
  int vertical;
};

std::string Describe(const PlacementCase& c) {
  return "font " + std::to_string(c.font) + " size " + std::to_string(c.size) + " justify " +
         std::to_string(c.horizontal) + "," + std::to_string(c.vertical);
}

TEST_F(Text, PlacementFollowsJustification) {
  const PlacementCase cases[] = {
      {kMonoFont, 2, kLeftText, kTopText},  {kMonoFont, 2, kCenterText, kBottomText},
      {kMonoFont, 1, kRightText, kTopText}, {kMonoFont, 4, kCenterText, kTopText},
      {kSansFont, 2, kLeftText, kTopText},  {kSansFont, 2, kCenterText, kBottomText},
      {kSansFont, 3, kRightText, 0},        {kSansFont, 5, kLeftText, kBottomText},
  };
  OpenPalette();
  for (const PlacementCase& c : cases) {
    SCOPED_TRACE(Describe(c));
    ClearDevice();
    SetTextStyle(c.font, kHorizDir, c.size);
    SetTextJustify(c.horizontal, c.vertical);
    OutTextXY(kX, kY, kSample);

    const int width = TextWidth(kSample);
    const int height = TextHeight(kSample);
    ASSERT_EQ(height, 8 * c.size);
    int left = kX;
    if (c.horizontal == kCenterText) left = kX - width / 2;
    if (c.horizontal == kRightText) left = kX - width;
    const int top = c.vertical == kTopText ? kY : kY - height + 1;

    const Box box = LitBox(headless::ReadActivePage());
    ASSERT_FALSE(box.Empty());
    // Glyphs sit inside the text's box, reaching close to its sides...
    EXPECT_GE(box.left, left);
    EXPECT_LE(box.left, left + c.size + 1);
    EXPECT_LE(box.right, left + width - 1);
    EXPECT_GE(box.right, left + width - 1 - 2 * c.size - 1);
    EXPECT_GE(box.top, top);
    EXPECT_LE(box.bottom, top + height - 1);
    // ...and the sample's ascenders and descenders span most of its height.
    EXPECT_GE(box.bottom - box.top + 1, height * 3 / 4);
  }
}

TEST_F(Text, PaletteTextHasOnlyTheExactColour) {
  OpenPalette();
  for (const int font : {kMonoFont, kSansFont}) {
    ClearDevice();
    SetTextStyle(font, kHorizDir, 2);
    OutTextXY(10, 10, "Aa Bb Qq @ %& 0123456789");
    const headless::Picture page = headless::ReadActivePage();
    std::set<std::uint32_t> colours(page.rgb.begin(), page.rgb.end());
    EXPECT_EQ(colours, (std::set<std::uint32_t>{0, kYellowRgb})) << "font " << font;
  }
}

TEST_F(Text, DrawsNoBackground) {
  OpenPalette();
  SetFillStyle(kSolidFill, kBlueIndex);
  Bar(0, 0, GetMaxX(), GetMaxY());
  SetTextStyle(kSansFont, kHorizDir, 3);
  OutTextXY(kX, kY, kSample);
  const headless::Picture page = headless::ReadActivePage();
  std::set<std::uint32_t> colours(page.rgb.begin(), page.rgb.end());
  EXPECT_EQ(colours, (std::set<std::uint32_t>{kBlueRgb, kYellowRgb}));
}

TEST_F(Text, TrueColourTextIsSmoothedTowardsTheColour) {
  InitGraph(kTrueColorDriver, kMode800x600, "text");
  SetColor(RGBColor(255, 255, 0));
  SetTextStyle(kSansFont, kHorizDir, 2);
  OutTextXY(kX, kY, kSample);
  const headless::Picture page = headless::ReadActivePage();
  int full = 0;
  int partial = 0;
  for (const std::uint32_t pixel : page.rgb) {
    if (pixel == 0) continue;
    const std::uint32_t red = pixel >> 16, green = (pixel >> 8) & 0xFF, blue = pixel & 0xFF;
    ASSERT_EQ(red, green);
    ASSERT_EQ(blue, 0u);
    (red == 255 ? full : partial) += 1;
  }
  EXPECT_GT(full, 0);
  EXPECT_GT(partial, 0);
}

TEST_F(Text, MonoFaceIsFixedPitchAndSansIsNot) {
  OpenPalette();
  SetTextStyle(kMonoFont, kHorizDir, 2);
  const int monoNarrow = TextWidth("iiii");
  EXPECT_EQ(monoNarrow, TextWidth("WWWW"));
  EXPECT_EQ(monoNarrow, 4 * TextWidth("i"));
  SetTextStyle(kSansFont, kHorizDir, 2);
  EXPECT_LT(TextWidth("iiii"), TextWidth("WWWW"));
  EXPECT_EQ(TextWidth("iiii"), 4 * TextWidth("i"));
  EXPECT_EQ(TextWidth(""), 0);
}

TEST_F(Text, SizeScalesHeightAndWidth) {
  OpenPalette();
  for (const int font : {kMonoFont, kSansFont}) {
    SCOPED_TRACE(font);
    int previousWidth = 0;
    for (int size = 1; size <= 5; ++size) {
      SetTextStyle(font, kHorizDir, size);
      EXPECT_EQ(TextHeight("M"), 8 * size);
      const int width = TextWidth("INALTIME");
      EXPECT_GT(width, previousWidth);
      previousWidth = width;
    }
  }
}

TEST_F(Text, Latin1BytesAreCharacters) {
  OpenPalette();
  SetTextStyle(kSansFont, kHorizDir, 2);
  EXPECT_GT(TextWidth("\xE9"), 0);  // e acute
  OutTextXY(kX, kY, "\xE9");
  const Box accented = LitBox(headless::ReadActivePage());
  ClearDevice();
  OutTextXY(kX, kY, "e");
  const Box plain = LitBox(headless::ReadActivePage());
  ASSERT_FALSE(accented.Empty());
  ASSERT_FALSE(plain.Empty());
  EXPECT_LT(accented.top, plain.top);  // the accent rises above the letter
}

TEST_F(Text, OtherFontNumbersUseTheSansFace) {
  OpenPalette();
  SetTextStyle(kSansFont, kHorizDir, 2);
  const int sansWidth = TextWidth("iiii WWWW");
  SetTextStyle(7, kHorizDir, 2);
  EXPECT_EQ(TextWidth("iiii WWWW"), sansWidth);
}

}  // namespace
