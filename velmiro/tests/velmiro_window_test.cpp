// The real program in a real window on the X server named by DISPLAY: the
// pointer steers it through the server, it lands by itself, and its glider
// shows where the projection puts it.
#include <X11/keysym.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>

#include "x11_session.h"

namespace {

constexpr const char* kCaption = "VELMIRO";
constexpr double kWindowWaitSeconds = 10.0;
constexpr double kPictureWaitSeconds = 10.0;
// From at most 190 the glider sinks one metre a frame at 60 frames a second.
constexpr double kLandingWaitSeconds = 30.0;
constexpr double kKeyExitWaitSeconds = 10.0;
constexpr std::uint32_t kWhite = 0xFCFCFC;

class VelmiroWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(std::getenv("DISPLAY"), nullptr)
        << "DISPLAY is not set: start an X server (Xvfb) and export DISPLAY, or run ./test.sh";
    ASSERT_TRUE(session.Ok()) << "cannot connect to the X server on DISPLAY";
    process = x11::Start(VELMIRO_BINARY);
    ASSERT_GT(process.pid, 0) << "could not start " << VELMIRO_BINARY;
    window = session.FindWindow(kCaption, kWindowWaitSeconds);
    ASSERT_NE(window, 0ul) << "no window captioned " << kCaption << "; stderr: "
                           << x11::ReadStderr(process);
  }
  int WaitForExit(double seconds) { return x11::WaitExit(process, seconds); }

  x11::Session session;
  x11::Process process;  // ends a program left running
  unsigned long window = 0;
};

TEST_F(VelmiroWindow, PointerInTheBottomRowsLandsTheGlider) {
  session.MovePointer(window, 320, 470);
  session.Sync();
  EXPECT_EQ(WaitForExit(kLandingWaitSeconds), 0)
      << "the program did not land and end by itself; stderr: " << x11::ReadStderr(process);
}

TEST_F(VelmiroWindow, GliderShowsAtItsProjectionAndAKeyEndsTheRun) {
  // Pointer (320, 240): mouseX 320, mouseHalfY 120, which puts vertices 1,
  // 9 and 12 at cells (162, 98), (75, 97) and (247, 104).
  session.MovePointer(window, 320, 240);
  session.Sync();
  const bool gliderShown =
      session.WaitForPicture(window, kPictureWaitSeconds, [](const x11::Image& image) {
        if (image.width < 640 || image.height < 480) {
          return false;
        }
        return image.At(2 * 162 + 1, 2 * 98 + 1) == kWhite &&
               image.At(2 * 75 + 1, 2 * 97 + 1) == kWhite &&
               image.At(2 * 247 + 1, 2 * 104 + 1) == kWhite;
      });
  EXPECT_TRUE(gliderShown) << "the glider's nose and wing tips are not white where expected";

  session.Focus(window);
  session.TapKey(XK_a);
  session.Sync();
  EXPECT_EQ(WaitForExit(kKeyExitWaitSeconds), 0)
      << "the program did not end on a key; stderr: " << x11::ReadStderr(process);
}

}  // namespace
