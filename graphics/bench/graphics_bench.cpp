// Drawing-layer speed: clearing a page (against a plain memset of the same
// bytes), the 64,000 3 x 3 bars of a full ground fill, 1,000 lines of 100
// pixels, and one page turned into screen pixels and presented.
//
//   build/bin/graphics_bench                 headless cases
//   DISPLAY=:0 build/bin/graphics_bench      also presents in a real window

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>
#include <vector>

#include "device.h"
#include "graphics.h"
#include "graphics_headless.h"

namespace {

void OpenHeadless(int driver, int mode) {
  headless::Enable();
  InitGraph(driver, mode, "bench");
}

void CloseHeadless() {
  CloseGraph();
  headless::Disable();
}

void BM_ClearDevice(benchmark::State& state) {
  OpenHeadless(kPaletteDriver, kMode800x600);
  for (auto _ : state) {
    ClearDevice();
    benchmark::ClobberMemory();
  }
  CloseHeadless();
}
BENCHMARK(BM_ClearDevice);

void BM_MemsetOfAPage(benchmark::State& state) {
  OpenHeadless(kPaletteDriver, kMode800x600);
  auto& page = gfx::device.pages[0];
  for (auto _ : state) {
    std::memset(page.data(), 0, page.size() * sizeof(page[0]));
    benchmark::ClobberMemory();
  }
  CloseHeadless();
}
BENCHMARK(BM_MemsetOfAPage);

// The glider's ground: one solid 3 x 3 bar per cell of a 320 x 200 grid.
void BM_GroundFill64000Bars(benchmark::State& state) {
  OpenHeadless(kPaletteDriver, kMode640x480);
  for (auto _ : state) {
    for (int x = 0; x < 320; ++x) {
      for (int y = 0; y < 200; ++y) {
        SetFillStyle(kSolidFill, 2);
        Bar(2 * x, 2 * y, 2 * x + 2, 2 * y + 2);
      }
    }
    benchmark::ClobberMemory();
  }
  CloseHeadless();
}
BENCHMARK(BM_GroundFill64000Bars)->Unit(benchmark::kMicrosecond);

void BM_Lines1000Of100Pixels(benchmark::State& state) {
  OpenHeadless(kPaletteDriver, kMode800x600);
  for (auto _ : state) {
    for (int i = 0; i < 1000; ++i) {
      const int x = (i * 37) % 700, y = (i * 53) % 500;
      SetColor(Color(i & 15));
      Line(x, y, x + 99, y + (i % 100));  // 100 pixels along x
    }
    benchmark::ClobberMemory();
  }
  CloseHeadless();
}
BENCHMARK(BM_Lines1000Of100Pixels)->Unit(benchmark::kMicrosecond);

void BM_PageToScreenPixels(benchmark::State& state) {
  OpenHeadless(int(state.range(0)), kMode800x600);
  std::vector<std::uint32_t> screen(800 * 600);
  for (auto _ : state) {
    gfx::PageToArgb(0, screen.data());
    benchmark::DoNotOptimize(screen.data());
  }
  CloseHeadless();
}
BENCHMARK(BM_PageToScreenPixels)->Arg(kPaletteDriver)->Arg(kTrueColorDriver)->Unit(benchmark::kMicrosecond);

// Turning the page into screen pixels and presenting it in a real window.
void BM_PresentInWindow(benchmark::State& state) {
  if (std::getenv("DISPLAY") == nullptr) {
    state.SkipWithError("no DISPLAY: run with an X server to measure presenting");
    return;
  }
  setenv("GRAPHICS_FPS", "0", 1);
  InitGraph(kPaletteDriver, kMode800x600, "bench");
  int page = 0;
  for (auto _ : state) {
    SetActivePage(page);
    page = 1 - page;
    SetVisualPage(page);
  }
  CloseGraph();
}
BENCHMARK(BM_PresentInWindow)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
