// The glider program's frame: opens the window, runs the loop of frames
// (page flip, picture, mouse, altitude, glider, text) and ends on the
// ground or on any key.
#pragma once

#include "velmiro_model.h"

struct VelmiroSession {
  int page = 0;  // page the current frame is drawn on
  FlightState flight;
};

// Opens the window, sets the text style and gives the flight its start values.
void StartVelmiro(VelmiroSession& session);
// One frame; false when the loop should end (grounded, or a key waits).
bool RunVelmiroFrame(VelmiroSession& session);
// The whole program: start, frames until the end, close.
void RunVelmiro();
