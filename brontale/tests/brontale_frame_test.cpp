#include "brontale_frame.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <ostream>
#include <vector>

#include "brontale_draw.h"
#include "brontale_model.h"
#include "graphics.h"
#include "graphics_headless.h"

namespace {

constexpr std::uint32_t kBlack = headless::Rgb(0, 0, 0);
constexpr std::uint32_t kWhite = headless::Rgb(252, 252, 252);
constexpr std::uint32_t kYellow = headless::Rgb(252, 252, 84);

constexpr unsigned char kUp = 72, kDown = 80, kLeft = 75, kRight = 77;
constexpr unsigned char kEnter = 13, kEscape = 27, kSpace = 32;

// ------------------------------------------------------------ key table --

struct KeyCase {
  const char* name;
  TruckState before;
  unsigned char key;
  TruckState after;
};

TruckState Moving(double speed, double steer, int direction, int attached) {
  TruckState truck;
  truck.tractorX = 10.0;
  truck.tractorY = 20.0;
  truck.heading = 0.5;
  truck.trailerX = -50.0;
  truck.trailerY = -40.0;
  truck.speed = speed;
  truck.steer = steer;
  truck.direction = direction;
  truck.trailerAttached = attached;
  return truck;
}

void PrintTo(const KeyCase& keyCase, std::ostream* out) {
  *out << keyCase.name;
}

class ApplyKeyTest : public ::testing::TestWithParam<KeyCase> {};

TEST_P(ApplyKeyTest, ChangesOnlyWhatTheKeyTableSays) {
  const KeyCase& c = GetParam();
  TruckState truck = c.before;
  ApplyKey(truck, c.key, 1);
  EXPECT_NEAR(truck.speed, c.after.speed, 1e-12);
  EXPECT_NEAR(truck.steer, c.after.steer, 1e-12);
  EXPECT_EQ(truck.direction, c.after.direction);
  EXPECT_EQ(truck.trailerAttached, c.after.trailerAttached);
  EXPECT_EQ(truck.tractorX, c.after.tractorX);
  EXPECT_EQ(truck.heading, c.after.heading);
  EXPECT_EQ(truck.trailerX, c.after.trailerX);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, ApplyKeyTest,
    ::testing::Values(
        KeyCase{"RightSteers", Moving(5, 0.2, 1, 1), kRight, Moving(5, 0.3, 1, 1)},
        KeyCase{"RightHeldAt08", Moving(5, 0.75, 1, 1), kRight, Moving(5, 0.8, 1, 1)},
        KeyCase{"LeftHeldAtMinus08", Moving(5, -0.75, 1, 1), kLeft, Moving(5, -0.8, 1, 1)},
        KeyCase{"UpHeldAt65", Moving(64.9, 0, 1, 1), kUp, Moving(65, 0, 1, 1)},
        KeyCase{"DownFromQuarterGivesZero", Moving(0.25, 0, 1, 1), kDown, Moving(0, 0, 1, 1)},
        KeyCase{"SpaceBelow3Reverses", Moving(2.99, 0.1, 1, 1), kSpace, Moving(0, 0.1, -1, 1)},
        KeyCase{"SpaceAtStandstillReverses", Moving(0, 0, -1, 1), kSpace, Moving(0, 0, 1, 1)},
        KeyCase{"SpaceAt3DoesNothing", Moving(3, 0, 1, 1), kSpace, Moving(3, 0, 1, 1)},
        KeyCase{"EnterUncouples", Moving(5, 0, 1, 1), kEnter, Moving(5, 0, 1, 0)},
        KeyCase{"EnterCouples", Moving(5, 0, 1, 0), kEnter, Moving(5, 0, 1, 1)},
        KeyCase{"CapitalRIgnored", Moving(5, 0.1, -1, 1), 'R', Moving(5, 0.1, -1, 1)},
        KeyCase{"CloseButtonCodeIgnored", Moving(5, 0.1, 1, 1), 107, Moving(5, 0.1, 1, 1)},
        KeyCase{"EscapeChangesNothing", Moving(5, 0.1, 1, 1), kEscape, Moving(5, 0.1, 1, 1)},
        KeyCase{"NoKey", Moving(5, 0.1, 1, 0), 0, Moving(5, 0.1, 1, 0)}),
    [](const ::testing::TestParamInfo<KeyCase>& testParam) { return testParam.param.name; });

// ------------------------------------------------------ scripted loop --

enum class InputKind { kCharacter, kExtended, kCloseButton };

struct ScriptedInput {
  int pass;  // the pass that should read it (typed right before it)
  InputKind kind;
  unsigned char code;
};

ScriptedInput Char(int pass, unsigned char code) {
  return {pass, InputKind::kCharacter, code};
}
ScriptedInput Arrow(int pass, unsigned char code) {
  return {pass, InputKind::kExtended, code};
}
ScriptedInput CloseButton(int pass) {
  return {pass, InputKind::kCloseButton, 0};
}

// Runs the real loop headless in a chosen scenario, typing the script and
// recording the truck after every pass's step (at its page flip).
class ScriptedLoop : public ::testing::Test {
 protected:
  static constexpr int kPassLimit = 2000;  // types Esc if a script forgets it

  void TearDown() override { headless::Disable(); }

  void Run(int scenario, const std::vector<ScriptedInput>& script) {
    headless::Enable([&](int flip) {
      afterPass.push_back(frame.truck);
      TypeFor(script, flip + 1);
      if (flip == kPassLimit) headless::TypeKey(kEscape);
    });
    OpenBrontaleWindow();
    StartBrontale(frame, scenario);
    TypeFor(script, 1);
    RunBrontaleLoop(frame);
    CloseGraph();
    lastPage = headless::ReadActivePage();
  }

  static void TypeFor(const std::vector<ScriptedInput>& script, int pass) {
    for (const ScriptedInput& input : script) {
      if (input.pass != pass) continue;
      switch (input.kind) {
        case InputKind::kCharacter:
          headless::TypeKey(input.code);
          break;
        case InputKind::kExtended:
          headless::TypeExtendedKey(input.code);
          break;
        case InputKind::kCloseButton:
          headless::PressCloseButton();
          break;
      }
    }
  }

  // Adds `count` copies of `input`, one per pass from `input.pass` on.
  static void Repeat(std::vector<ScriptedInput>& script, ScriptedInput input, int count) {
    for (int i = 0; i < count; ++i) {
      script.push_back(input);
      ++input.pass;
    }
  }

  int Passes() const { return static_cast<int>(afterPass.size()); }
  const TruckState& After(int pass) const { return afterPass[static_cast<std::size_t>(pass - 1)]; }

  BrontaleFrame frame;
  std::vector<TruckState> afterPass;
  headless::Picture lastPage;
};

// Keys typed faster than the loop wait in the queue and are taken one per
// pass, in order; capital H, M, K, P act as the arrows, capital R does not.
TEST_F(ScriptedLoop, QueuedKeysApplyOnePerPassInOrder) {
  Run(1, {Arrow(1, kUp), Char(1, 'H'), Char(1, 'H'), Arrow(1, kRight), Char(1, 'M'), Char(1, 'K'),
          Char(1, 'P'), Char(1, 'R'), Char(1, kEnter), Char(1, kEscape)});
  ASSERT_EQ(Passes(), 10);
  const double speeds[] = {0.25, 0.5, 0.75, 0.75, 0.75, 0.75, 0.25, 0.25, 0.25, 0.25};
  const double steers[] = {0, 0, 0, 0.1, 0.2, 0.1, 0.1, 0.1, 0.1, 0.1};
  for (int pass = 1; pass <= 10; ++pass) {
    SCOPED_TRACE(::testing::Message() << "pass " << pass);
    EXPECT_NEAR(After(pass).speed, speeds[pass - 1], 1e-12);
    EXPECT_NEAR(After(pass).steer, steers[pass - 1], 1e-12);
    EXPECT_EQ(After(pass).trailerAttached, pass < 9 ? 1 : 0);
  }
  // The truck kept moving without keys: capital R did not put it back.
  EXPECT_GT(After(8).tractorX, After(7).tractorX);
}

TEST_F(ScriptedLoop, SteeringAndSpeedAreClamped) {
  std::vector<ScriptedInput> script;
  Repeat(script, Arrow(1, kRight), 10);    // passes 1-10
  Repeat(script, Arrow(11, kLeft), 20);    // passes 11-30
  Repeat(script, Arrow(31, kRight), 8);    // passes 31-38: back to the centre
  Repeat(script, Arrow(39, kUp), 262);     // passes 39-300
  Repeat(script, Arrow(301, kDown), 132);  // passes 301-432
  script.push_back(Char(433, kEscape));
  Run(1, script);
  ASSERT_EQ(Passes(), 433);
  EXPECT_NEAR(After(8).steer, 0.8, 1e-12);
  EXPECT_EQ(After(9).steer, 0.8);
  EXPECT_EQ(After(10).steer, 0.8);
  EXPECT_EQ(After(30).steer, -0.8);
  EXPECT_NEAR(After(38).steer, 0.0, 1e-12);
  EXPECT_EQ(After(38 + 259).speed, 64.75);
  EXPECT_EQ(After(38 + 260).speed, 65.0);
  EXPECT_EQ(After(300).speed, 65.0);
  EXPECT_EQ(After(300 + 130).speed, 0.0);
  EXPECT_EQ(After(432).speed, 0.0);
}

TEST_F(ScriptedLoop, SpaceReversesOnlyBelowSpeed3) {
  std::vector<ScriptedInput> script;
  Repeat(script, Arrow(1, kUp), 12);  // speed 3 after pass 12
  script.push_back(Char(13, kSpace));
  script.push_back(Arrow(14, kDown));  // 2.5
  script.push_back(Char(15, kSpace));
  script.push_back(Char(16, kSpace));
  script.push_back(Char(17, kEscape));
  Run(0, script);
  ASSERT_EQ(Passes(), 17);
  EXPECT_EQ(After(13).direction, 1);
  EXPECT_EQ(After(13).speed, 3.0);
  EXPECT_EQ(After(15).direction, -1);
  EXPECT_EQ(After(15).speed, 0.0);
  EXPECT_EQ(After(16).direction, 1);
  EXPECT_EQ(After(16).speed, 0.0);
}

class ResetLoop : public ScriptedLoop, public ::testing::WithParamInterface<int> {};

// r goes back to the scenario drawn at start, coupled or not, and leaves the
// coupling as it was; an uncoupled trailer stays undrawn.
TEST_P(ResetLoop, ResetReturnsToTheStartScenarioKeepingTheCoupling) {
  const int scenario = GetParam();
  for (bool uncouple : {false, true}) {
    SCOPED_TRACE(uncouple ? "uncoupled" : "coupled");
    afterPass.clear();
    frame = BrontaleFrame{};
    std::vector<ScriptedInput> script;
    if (uncouple) script.push_back(Char(1, kEnter));
    Repeat(script, Arrow(2, kUp), 20);
    Repeat(script, Arrow(22, kLeft), 3);
    script.push_back(Char(25, kSpace));  // ignored at speed 5
    script.push_back(Char(40, 'r'));
    script.push_back(Char(41, kEscape));
    Run(scenario, script);
    ASSERT_EQ(Passes(), 41);

    TruckState expected;
    ResetPose(expected, scenario);
    EXPECT_GT(
        std::hypot(After(39).tractorX - expected.tractorX, After(39).tractorY - expected.tractorY),
        10.0);
    const TruckState& reset = After(40);
    EXPECT_EQ(reset.tractorX, expected.tractorX);
    EXPECT_EQ(reset.tractorY, expected.tractorY);
    EXPECT_EQ(reset.heading, expected.heading);
    EXPECT_NEAR(reset.trailerX, expected.trailerX, 1e-9);
    EXPECT_NEAR(reset.trailerY, expected.trailerY, 1e-9);
    EXPECT_EQ(reset.speed, 0.0);
    EXPECT_EQ(reset.steer, 0.0);
    EXPECT_EQ(reset.direction, 1);
    EXPECT_EQ(reset.trailerAttached, uncouple ? 0 : 1);
    // Trailer point 96 straight below the reference pixel, drawn only if coupled.
    EXPECT_EQ(lastPage.At(320, 271), uncouple ? kBlack : kWhite);
  }
}

INSTANTIATE_TEST_SUITE_P(Scenarios, ResetLoop, ::testing::Values(0, 1));

// The pass that reads Esc still steps the truck and draws it in full.
TEST_F(ScriptedLoop, EscapeEndsAfterAFullPass) {
  std::vector<ScriptedInput> script;
  Repeat(script, Arrow(1, kUp), 16);  // speed 4: half a unit per pass
  script.push_back(Arrow(17, kRight));
  script.push_back(Char(20, kEscape));
  Run(1, script);
  ASSERT_EQ(Passes(), 20);
  EXPECT_GT(After(20).tractorX, After(19).tractorX);
  EXPECT_GT(After(20).heading, After(19).heading);

  // The last page holds exactly the scene of the final state.
  headless::Enable();
  OpenBrontaleWindow();
  ClearDevice();
  ViewTransform view;
  UpdateView(view, frame.truck);
  DrawScene(view, frame.truck);
  const headless::Picture expected = headless::ReadActivePage();
  CloseGraph();
  EXPECT_TRUE(expected.rgb == lastPage.rgb);
}

TEST_F(ScriptedLoop, CloseButtonLeavesTheProgramRunning) {
  Run(0, {CloseButton(1), CloseButton(3), CloseButton(4), Char(8, kEscape)});
  ASSERT_EQ(Passes(), 8);
  TruckState expected;
  ResetPose(expected, 0);
  EXPECT_EQ(After(8).speed, 0.0);
  EXPECT_EQ(After(8).steer, 0.0);
  EXPECT_EQ(After(8).tractorX, expected.tractorX);
  EXPECT_EQ(After(8).trailerAttached, 1);
}

// --------------------------------------------------- scenes at the start --

// Scenario 0: the yard upright, 5 pixels lower than in world coordinates.
TEST_F(ScriptedLoop, ScenarioZeroShowsTheYardUpright) {
  Run(0, {Char(1, kEscape)});
  ASSERT_EQ(Passes(), 1);
  for (int x = 0; x <= 639; ++x) ASSERT_EQ(lastPage.At(x, 20), kWhite) << "road edge x " << x;
  EXPECT_EQ(lastPage.At(640, 20), kBlack);
  EXPECT_EQ(lastPage.At(100, 19), kBlack);
  for (int y = 110; y <= 155; ++y) {
    ASSERT_EQ(lastPage.At(245, y), kWhite) << "left post y " << y;
    ASSERT_EQ(lastPage.At(355, y), kWhite) << "right post y " << y;
  }
  EXPECT_EQ(lastPage.At(245, 156), kBlack);
  // Broken centre line: yellow up to x 245 and from 355, not in between.
  EXPECT_EQ(lastPage.At(245, 64), kYellow);
  EXPECT_EQ(lastPage.At(355, 66), kYellow);
  EXPECT_EQ(lastPage.At(300, 64), kBlack);
  for (int x = 0; x <= 639; ++x) ASSERT_EQ(lastPage.At(x, 354), kWhite) << "yard edge x " << x;
}

// Scenario 1: a quarter turn anticlockwise; the yard's lower edge is the
// vertical line x 369 from y 86 down past the window's bottom.
TEST_F(ScriptedLoop, ScenarioOneShowsTheYardTurned) {
  Run(1, {Char(1, kEscape)});
  ASSERT_EQ(Passes(), 1);
  for (int y = 86; y < 600; ++y) ASSERT_EQ(lastPage.At(369, y), kWhite) << "yard edge y " << y;
  EXPECT_EQ(lastPage.At(369, 85), kBlack);
  EXPECT_EQ(lastPage.At(368, 300), kBlack);
  EXPECT_EQ(lastPage.At(370, 300), kBlack);
  // The road's upper edge (world y 15) is the vertical line x 35.
  for (int y = 86; y < 600; ++y) ASSERT_EQ(lastPage.At(35, y), kWhite) << "road edge y " << y;
}

// The program itself picks one of the two scenarios and ends on Esc.
TEST(RunBrontaleTest, DrawsOneOfTheTwoScenariosAndEndsOnEscape) {
  int flips = 0;
  headless::Enable([&](int flip) {
    flips = flip;
    if (flip == 2) headless::TypeKey(kEscape);
  });
  RunBrontale();
  const headless::Picture page = headless::ReadActivePage();
  headless::Disable();
  EXPECT_EQ(flips, 3);
  const bool scenarioZero = page.At(100, 20) == kWhite && page.At(369, 400) == kBlack;
  const bool scenarioOne = page.At(100, 20) == kBlack && page.At(369, 400) == kWhite;
  EXPECT_TRUE(scenarioZero != scenarioOne);
}

}  // namespace
