#include <X11/keysym.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <vector>

#include "x11_session.h"

namespace {

constexpr std::uint32_t kWhite = 0xFCFCFC;
constexpr std::uint32_t kLightGrey = 0xA8A8A8;

// White pixels where the speed is written: centred on x 320, standing on y 175.
std::vector<bool> SpeedTextMask(const x11::Image& image) {
  std::vector<bool> mask;
  for (int y = 155; y <= 175; ++y) {
    for (int x = 296; x <= 344; ++x) mask.push_back(image.At(x, y) == kWhite);
  }
  return mask;
}

TEST(BrontaleWindowTest, UpArrowChangesTheSpeedTextAndEscapeEnds) {
  const char* display = std::getenv("DISPLAY");
  ASSERT_TRUE(display != nullptr && *display != '\0')
      << "DISPLAY is not set: this test needs an X server (e.g. Xvfb) to run the program";
  x11::Session session;
  ASSERT_TRUE(session.Ok()) << "cannot connect to the X server at DISPLAY=" << display;

  x11::Process program = x11::Start(BRONTALE_BINARY);
  ASSERT_GT(program.pid, 0) << "could not start " << BRONTALE_BINARY;
  const unsigned long window = session.FindWindow("BRONTALE", 10.0);
  ASSERT_NE(window, 0UL) << "no window captioned BRONTALE; program output:\n"
                         << x11::ReadStderr(program);

  // First frame: the 800 x 600 drawing area with the tractor body's corner.
  ASSERT_TRUE(session.WaitForPicture(window, 10.0, [](const x11::Image& image) {
    return image.width == 800 && image.height == 600 && image.At(308, 135) == kLightGrey;
  })) << "the truck never appeared";
  const std::vector<bool> stopped = SpeedTextMask(session.Capture(window));

  // Two presses make the speed 0.5, which is written as "1" instead of "0".
  session.Focus(window);
  session.TapKey(XK_Up);
  session.TapKey(XK_Up);
  EXPECT_TRUE(session.WaitForPicture(window, 10.0, [&](const x11::Image& image) {
    return SpeedTextMask(image) != stopped;
  })) << "the speed text did not change after Up";

  session.TapKey(XK_Escape);
  EXPECT_EQ(x11::WaitExit(program, 10.0), 0) << x11::ReadStderr(program);
}

}  // namespace
