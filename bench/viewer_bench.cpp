// The panorama viewer's step: one 536 x 298 view of a 10000 x 1000 panorama,
// in steps per second, at zoom 1.0 and 3.0, turning on every step the way a
// drag does. The table build is measured apart: it runs on zoom changes only.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "view_tables.h"

namespace {

constexpr int kWidth = 10000;
constexpr int kHeight = 1000;

std::vector<uint8_t> MakePanorama() {
  std::vector<uint8_t> bits(size_t(vmd::Stride24(kWidth)) * kHeight);
  unsigned state = 12345;
  for (auto& b : bits) {
    state = state * 214013u + 2531011u;
    b = static_cast<uint8_t>(state >> 16);
  }
  return bits;
}

void BM_ViewStep(benchmark::State& state) {
  const std::vector<uint8_t> source = MakePanorama();
  std::vector<uint8_t> view(size_t(vmd::Stride24(vmd::kViewWidth)) * vmd::kViewHeight);
  vmd::ViewTables tables;
  vmd::BuildViewTables(kWidth, kHeight, state.range(0) / 10.0, &tables);
  vmd::ViewPose pose{kWidth / 2, 0, 1};
  for (auto _ : state) {
    pose.pan += 37;
    pose.tilt += 3;
    vmd::RenderView(tables, source.data(), &pose, view.data());
    benchmark::DoNotOptimize(view.data());
  }
  state.counters["steps/s"] =
      benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_ViewStep)->Arg(10)->Arg(30)->Unit(benchmark::kMicrosecond);

void BM_BuildTables(benchmark::State& state) {
  vmd::ViewTables tables;
  for (auto _ : state) {
    vmd::BuildViewTables(kWidth, kHeight, 2.0, &tables);
    benchmark::DoNotOptimize(tables.sourceRow.data());
  }
}
BENCHMARK(BM_BuildTables)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
