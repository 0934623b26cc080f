// Align on a row of 5 synthetic photos (36 degrees apart, a 60-degree lens,
// automatic focal length) at 640 x 480, 1600 x 1200 and 4000 x 3000, for each
// detail level 0 to 3. Reported: processor time per Align (the machine may be
// shared, so wall time says less), the processor time per pair (4 pairs), and the peak resident memory the call adds (Linux: the high-water
// mark reset through /proc/self/clear_refs before the call, minus the
// resident size before it). Pyramids are built once, outside the timing.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <memory>

#include "seamcore.h"
#include "synthetic_scene.h"
#include "synthetic_stitch.h"

namespace {

constexpr int kPhotos = 5;

// Large blocks always come from (and go back to) the system, so that the
// resident high-water mark shows each call's own peak rather than memory
// that an earlier call left in the heap.
const int kMallocSetUp = [] {
  mallopt(M_MMAP_THRESHOLD, 128 * 1024);
  mallopt(M_TRIM_THRESHOLD, 128 * 1024);
  return 0;
}();

/// One rendered row per size, kept for the whole run: rendering the large one
/// takes a while.
const testing_support::SyntheticSet& RowOfSize(int width) {
  static std::map<int, std::unique_ptr<testing_support::SyntheticSet>> sets;
  auto& slot = sets[width];
  if (!slot) {
    testing_support::SyntheticSetup scene;
    scene.layout = kLayoutRow;
    scene.columns = kPhotos;
    scene.rows = 1;
    scene.width = width;
    scene.height = width * 3 / 4;
    scene.focal = width * 0.866;  // 60 degrees across
    scene.yawStepDegrees = 36;
    scene.jitterDegrees = 1;
    scene.supersample = width > 1000 ? 1 : 2;
    slot = std::make_unique<testing_support::SyntheticSet>(scene);
  }
  return *slot;
}

long ReadStatusKb(const char* key) {
  FILE* f = std::fopen("/proc/self/status", "r");
  if (!f) return -1;
  char line[256];
  long value = -1;
  const size_t n = std::strlen(key);
  while (std::fgets(line, sizeof line, f))
    if (std::strncmp(line, key, n) == 0) value = std::atol(line + n + 1);
  std::fclose(f);
  return value;
}

void ResetPeak() {
  if (FILE* f = std::fopen("/proc/self/clear_refs", "w")) {
    std::fputs("5", f);
    std::fclose(f);
  }
}

void BM_AlignRow(benchmark::State& state) {
  const int width = static_cast<int>(state.range(0));
  const int detail = static_cast<int>(state.range(1));
  const testing_support::SyntheticSet& set = RowOfSize(width);
  testing_support::SyntheticStitch stitch(set);
  long peakKb = 0;
  double focal = 0;
  for (auto _ : state) {
    SetProgressState(0);
    stitch.options.detail = detail;
    stitch.options.lensMode = kLensAutomatic;
    const long before = ReadStatusKb("VmRSS:");
    ResetPeak();
    const long result = Align(&stitch.matrix, &stitch.options, nullptr);
    const long peak = ReadStatusKb("VmHWM:") - before;
    if (peak > peakKb) peakKb = peak;
    if (result != kStitchOk) state.SkipWithError("Align failed");
    focal = stitch.options.focal;
  }
  state.counters["per_pair"] = benchmark::Counter(
      kPhotos - 1, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
  state.counters["peak_MB"] = peakKb / 1024.0;
  state.counters["focal_error_pct"] = 100 * (focal / set.Setup().focal - 1);
}

BENCHMARK(BM_AlignRow)
    ->ArgNames({"width", "detail"})
    ->ArgsProduct({{640, 1600, 4000}, {0, 1, 2, 3}})
    ->Unit(benchmark::kMillisecond);

}  // namespace
BENCHMARK_MAIN();
