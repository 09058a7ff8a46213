#include "brontale_frame.h"

#include <cmath>

#include "graphics.h"

namespace {

constexpr char kCaption[] = "BRONTALE";
constexpr int kSpeedTextSize = 2;  // 16 pixels high
constexpr int kScenarioCount = 2;

constexpr unsigned char kExtendedKeyPrefix = 0;
constexpr unsigned char kKeyEnter = 13;
constexpr unsigned char kKeyEscape = 27;
constexpr unsigned char kKeySpace = 32;
constexpr unsigned char kKeyUp = 72;
constexpr unsigned char kKeyLeft = 75;
constexpr unsigned char kKeyRight = 77;
constexpr unsigned char kKeyDown = 80;
constexpr unsigned char kKeyReset = 'r';

constexpr double kSteerStep = 0.1;
constexpr double kSteerLimit = 0.8;
constexpr double kSpeedUpStep = 0.25;
constexpr double kSlowDownStep = 0.5;
constexpr double kMaxSpeed = 65.0;
// The direction of travel may only change below this speed.
constexpr double kReverseSpeedLimit = 3.0;

// At most one key per pass; an extended key yields its second byte.
unsigned char ReadOneKey() {
  if (!KeyPressed()) return 0;
  unsigned char key = ReadKey();
  if (key == kExtendedKeyPrefix) key = ReadKey();
  return key;
}

void FlipPages(int& page) {
  SetActivePage(page);
  page = 1 - page;
  SetVisualPage(page);
  ClearDevice();
}

}  // namespace

void OpenBrontaleWindow() {
  InitGraph(kPaletteDriver, kMode800x600, kCaption);
  SetTextStyle(kMonoFont, kHorizDir, kSpeedTextSize);
  SetTextJustify(kCenterText, kBottomText);
}

void StartBrontale(BrontaleFrame& frame, int scenario) {
  frame.page = 0;
  frame.truck.trailerAttached = 1;
  frame.truck.direction = 1;
  frame.scenario = scenario;
  ResetPose(frame.truck, scenario);
}

void ApplyKey(TruckState& truck, unsigned char key, int scenario) {
  switch (key) {
    case kKeyRight:
      truck.steer += kSteerStep;
      if (truck.steer > kSteerLimit) truck.steer = kSteerLimit;
      break;
    case kKeyLeft:
      truck.steer -= kSteerStep;
      if (truck.steer < -kSteerLimit) truck.steer = -kSteerLimit;
      break;
    case kKeyUp:
      truck.speed += kSpeedUpStep;
      if (truck.speed > kMaxSpeed) truck.speed = kMaxSpeed;
      break;
    case kKeyDown:
      truck.speed -= kSlowDownStep;
      if (truck.speed < 0.0) truck.speed = 0.0;
      break;
    case kKeySpace:
      if (std::fabs(truck.speed) < kReverseSpeedLimit) {
        truck.direction = -truck.direction;
        truck.speed = 0.0;
      }
      break;
    case kKeyReset:
      ResetPose(truck, scenario);
      break;
    case kKeyEnter:
      truck.trailerAttached = 1 - truck.trailerAttached;
      break;
    default:  // Esc ends the loop after the pass; anything else is ignored
      break;
  }
}

bool RunBrontalePass(BrontaleFrame& frame) {
  const unsigned char lastKey = ReadOneKey();
  ApplyKey(frame.truck, lastKey, frame.scenario);
  StepTruck(frame.truck);
  UpdateView(frame.view, frame.truck);
  FlipPages(frame.page);
  DrawScene(frame.view, frame.truck);
  return lastKey != kKeyEscape;
}

void RunBrontaleLoop(BrontaleFrame& frame) {
  while (RunBrontalePass(frame)) {
  }
}

void RunBrontale() {
  OpenBrontaleWindow();
  Randomize();
  BrontaleFrame frame;
  StartBrontale(frame, Random(kScenarioCount));
  RunBrontaleLoop(frame);
  CloseGraph();
}
