#include "velmiro_frame.h"

#include "graphics.h"
#include "velmiro_draw.h"

namespace {

constexpr int kTextSize = 2;  // 16 pixels high

void FlipPages(int& page) {
  SetActivePage(page);
  page = 1 - page;
  SetVisualPage(page);
  ClearDevice();
}

}  // namespace

void StartVelmiro(VelmiroSession& session) {
  InitGraph(kPaletteDriver, kMode640x480, "VELMIRO");
  session.page = 0;
  SetTextStyle(kSansFont, kHorizDir, kTextSize);
  SetTextJustify(kCenterText, kBottomText);
  // The generator is left unseeded, so every run shows the same stars.
  StartFlight(session.flight);
}

bool RunVelmiroFrame(VelmiroSession& session) {
  FlightState& flight = session.flight;
  FlipPages(session.page);

  // Stars and the turning sum move with last frame's mouse.
  MoveStars(flight);
  DrawStars(flight);
  DrawGround(flight);
  AdvanceTurn(flight);
  DrawGroundRays(flight);
  AdvanceStripePhase(flight);
  DrawGroundStripes(flight);

  ApplyMouse(flight, GetMouseX(), GetMouseY());
  DrawGlider(flight);
  DrawAltitudeLine(flight);

  // The key that ends the run stays unread.
  return !flight.grounded && !KeyPressed();
}

void RunVelmiro() {
  VelmiroSession session;
  StartVelmiro(session);
  while (RunVelmiroFrame(session)) {
  }
  CloseGraph();
}
