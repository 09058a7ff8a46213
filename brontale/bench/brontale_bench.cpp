#include <benchmark/benchmark.h>

#include "brontale_frame.h"
#include "brontale_model.h"
#include "graphics.h"
#include "graphics_headless.h"

namespace {

// One whole pass of the loop (key poll, step, view, page flip, scene) with a
// coupled rig driving a circle through the yard.
void BM_BrontalePass(benchmark::State& state) {
  headless::Enable();
  OpenBrontaleWindow();
  BrontaleFrame frame;
  StartBrontale(frame, 0);
  frame.truck.speed = 20.0;
  frame.truck.steer = 0.3;
  for (auto _ : state) {
    benchmark::DoNotOptimize(RunBrontalePass(frame));
  }
  CloseGraph();
  headless::Disable();
}
BENCHMARK(BM_BrontalePass);

// The kinematic step alone, for comparison.
void BM_StepTruck(benchmark::State& state) {
  TruckState truck;
  ResetPose(truck, 1);
  truck.speed = 20.0;
  truck.steer = 0.3;
  for (auto _ : state) {
    StepTruck(truck);
    benchmark::DoNotOptimize(truck);
  }
}
BENCHMARK(BM_StepTruck);

}  // namespace

BENCHMARK_MAIN();
