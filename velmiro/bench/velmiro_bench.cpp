// Cost of one whole frame, headless, at the lowest altitude (the largest
// ground fill) and at the cap (the smallest).
#include <benchmark/benchmark.h>

#include "graphics.h"
#include "graphics_headless.h"
#include "velmiro_frame.h"

namespace {

constexpr int kMouseColumn = 320;
constexpr int kMouseRowHoldingAltitude = 300;

void BM_VelmiroFrame(benchmark::State& state) {
  const int altitude = static_cast<int>(state.range(0));
  headless::Enable();
  VelmiroSession session;
  StartVelmiro(session);
  // A mouse row that neither climbs nor sinks keeps the altitude fixed.
  headless::MoveMouse(kMouseColumn, kMouseRowHoldingAltitude);
  session.flight.altitude = altitude;
  RunVelmiroFrame(session);  // takes the mouse in
  for (auto _ : state) {
    benchmark::DoNotOptimize(RunVelmiroFrame(session));
  }
  if (session.flight.altitude != altitude) {
    state.SkipWithError("the altitude moved during the run");
  }
  CloseGraph();
  headless::Disable();
}
BENCHMARK(BM_VelmiroFrame)->Arg(1)->Arg(190)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
