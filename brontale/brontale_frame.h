// The program's start-up, its loop and the key commands.
#pragma once

#include "brontale_draw.h"
#include "brontale_model.h"

// Everything the loop carries from pass to pass.
struct BrontaleFrame {
  TruckState truck;
  ViewTransform view;
  int page = 0;      // page the next pass draws into
  int scenario = 0;  // start scenario; the reset key goes back to it
};

// Opens the 800 x 600 palette window and sets the text style of the speed.
void OpenBrontaleWindow();

// Coupled, forwards, at the start pose of `scenario`, drawing into page 0.
void StartBrontale(BrontaleFrame& frame, int scenario);

// Applies one key code to the truck; only the single byte is compared, so a
// character with an arrow's extended code acts as that arrow.
void ApplyKey(TruckState& truck, unsigned char key, int scenario);

// One pass: at most one key, step, view, page flip, scene. Returns false when
// the pass read Esc, after it has been drawn in full.
bool RunBrontalePass(BrontaleFrame& frame);

// Passes until Esc.
void RunBrontaleLoop(BrontaleFrame& frame);

// The whole program: window, scenario drawn at random, loop, close.
void RunBrontale();
