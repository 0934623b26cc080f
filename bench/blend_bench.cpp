// The whole stitch of each layout (pyramids, Align, Blend) at 640 x 480,
// 1600 x 1200 and 4000 x 3000 photos and each detail level: wall time, the
// share of each phase, the stitch's own peak resident memory (above the photos
// themselves), and Blend's time per output
// megapixel beside a plain copy of the same canvas bytes.
//
// Photos come from the synthetic scene of the tests; the 4000 x 3000 sets are
// rendered at a quarter size and enlarged, which keeps their geometry exact
// (focal scaled alike) and the set-up bearable. Set-up is not timed.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "seamcore.h"
#include "synthetic_scene.h"
#include "synthetic_stitch.h"

namespace {

using testing_support::SyntheticSet;
using testing_support::SyntheticSetup;
using testing_support::SyntheticStitch;

struct Layout {
  const char* name;
  int layout, columns, rows;
  double yaw, pitch, firstPitch;
};
const Layout kLayouts[] = {{"row", 0, 3, 1, 36, 0, 0},
                           {"column", 1, 1, 3, 0, 24, -24},
                           {"tile", 2, 3, 2, 36, 28, -14},
                           {"circle", 3, 10, 1, 36, 0, 0}};

// Peak resident set since the last reset, in megabytes (Linux).
void ResetPeakMemory() { std::ofstream("/proc/self/clear_refs") << "5"; }
double StatusMb(const char* field) {
  std::ifstream status("/proc/self/status");
  std::string key;
  while (status >> key) {
    if (key == field) {
      double kb = 0;
      status >> kb;
      return kb / 1024;
    }
    std::getline(status, key);
  }
  return 0;
}

// Enlarges a 24-bit DIB by an integer factor (nearest neighbour).
HGLOBAL Enlarge(HGLOBAL small, int factor) {
  auto* h = static_cast<BITMAPINFOHEADER*>(GlobalLock(small));
  const int w = h->biWidth, hh = h->biHeight;
  const int sstride = ((w * 24 + 31) / 32) * 4;
  const int W = w * factor, H = hh * factor, dstride = ((W * 24 + 31) / 32) * 4;
  HGLOBAL big = GlobalAlloc(GMEM_MOVEABLE, 40 + static_cast<size_t>(dstride) * H);
  auto* b = static_cast<BITMAPINFOHEADER*>(GlobalLock(big));
  *b = *h;
  b->biWidth = W;
  b->biHeight = H;
  b->biSizeImage = static_cast<DWORD>(dstride) * H;
  const auto* src = reinterpret_cast<const unsigned char*>(h) + 40;
  auto* dst = reinterpret_cast<unsigned char*>(b) + 40;
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W; ++x)
      std::memcpy(dst + static_cast<size_t>(y) * dstride + 3 * x,
                  src + static_cast<size_t>(y / factor) * sstride + 3 * (x / factor), 3);
  GlobalUnlock(big);
  GlobalUnlock(small);
  return big;
}

// A photo set of one layout and size, made once.
struct Photos {
  std::unique_ptr<SyntheticSet> set;
  std::vector<HGLOBAL> enlarged;  // owned, for the 4000 x 3000 sets
  int factor = 1;
  ~Photos() {
    for (HGLOBAL h : enlarged)
      if (h) GlobalFree(h);
  }
};

Photos& PhotosFor(int layoutIndex, int width) {
  static std::vector<std::pair<std::string, std::unique_ptr<Photos>>> cache;
  const std::string key = std::to_string(layoutIndex) + "/" + std::to_string(width);
  for (auto& c : cache)
    if (c.first == key) return *c.second;
  const Layout& l = kLayouts[layoutIndex];
  auto p = std::make_unique<Photos>();
  p->factor = width > 2000 ? 4 : 1;
  SyntheticSetup s;
  s.layout = l.layout;
  s.columns = l.columns;
  s.rows = l.rows;
  s.width = width / p->factor;
  s.height = s.width * 3 / 4;
  s.focal = 550.0 * s.width / 640;
  s.yawStepDegrees = l.yaw;
  s.pitchStepDegrees = l.pitch;
  s.firstPitchDegrees = l.firstPitch;
  p->set = std::make_unique<SyntheticSet>(s);
  if (p->factor > 1)
    for (int r = 0; r < l.rows; ++r)
      for (int c = 0; c < l.columns; ++c) p->enlarged.push_back(Enlarge(p->set->Photo(c, r), p->factor));
  cache.emplace_back(key, std::move(p));
  return *cache.back().second;
}

double Seconds(std::chrono::steady_clock::time_point a, std::chrono::steady_clock::time_point b) {
  return std::chrono::duration<double>(b - a).count();
}

void BM_Stitch(benchmark::State& state) {
  const int layoutIndex = static_cast<int>(state.range(0));
  const int width = static_cast<int>(state.range(1));
  const int detail = static_cast<int>(state.range(2));
  Photos& photos = PhotosFor(layoutIndex, width);
  const Layout& l = kLayouts[layoutIndex];
  double pyramid = 0, align = 0, blend = 0, megapixels = 0, copy = 0, peak = 0;
  for (auto _ : state) {
    // The photos (kept for the whole run) are resident already; the stitch's
    // own peak is what it adds on top of them.
    ResetPeakMemory();
    const double before = StatusMb("VmRSS:");
    const auto t0 = std::chrono::steady_clock::now();
    std::vector<StitchElement> elements(static_cast<size_t>(l.columns) * l.rows);
    std::memset(static_cast<void*>(elements.data()), 0, sizeof(StitchElement) * elements.size());
    std::vector<StitchPyramid> pyramids(elements.size());
    for (int r = 0; r < l.rows; ++r)
      for (int c = 0; c < l.columns; ++c) {
        const size_t i = static_cast<size_t>(c + r * l.columns);
        HGLOBAL photo = photos.factor > 1 ? photos.enlarged[i] : photos.set->Photo(c, r);
        BuildPyramid(photo, &pyramids[i]);
        elements[i].pyramid = &pyramids[i];
      }
    StitchMatrix m{};
    m.elements = elements.data();
    m.layout = l.layout;
    m.columns = l.columns;
    m.rows = l.rows;
    StitchOptions o{};
    o.reserved = 1;
    o.detail = detail;
    o.exposureBalance = 1;
    o.blendPercent = 5;
    o.lensMode = kLensGiven;
    o.focal = 550.0 * width / 640;
    SetProgressState(0);
    const auto t1 = std::chrono::steady_clock::now();
    const long aligned = Align(&m, &o, nullptr);
    const auto t2 = std::chrono::steady_clock::now();
    HGLOBAL pano = nullptr;
    RECT crop{};
    const long blended = Blend(&m, &o, &pano, &crop, nullptr);
    const auto t3 = std::chrono::steady_clock::now();
    peak = StatusMb("VmHWM:") - before;
    if (aligned != kStitchOk || blended != kStitchOk) {
      state.SkipWithError("stitch failed");
      break;
    }
    auto* h = static_cast<BITMAPINFOHEADER*>(GlobalLock(pano));
    const size_t bytes = h->biSizeImage;
    megapixels = static_cast<double>(h->biWidth) * h->biHeight / 1e6;
    std::vector<unsigned char> to(bytes);
    const auto c0 = std::chrono::steady_clock::now();
    std::memcpy(to.data(), reinterpret_cast<unsigned char*>(h) + 40, bytes);
    benchmark::DoNotOptimize(to.data());
    const auto c1 = std::chrono::steady_clock::now();
    GlobalUnlock(pano);
    GlobalFree(pano);
    for (auto& p : pyramids) ReleasePyramid(&p);
    pyramid = Seconds(t0, t1);
    align = Seconds(t1, t2);
    blend = Seconds(t2, t3);
    copy = Seconds(c0, c1);
  }
  const double total = pyramid + align + blend;
  state.counters["total_s"] = total;
  state.counters["pyramid_%"] = 100 * pyramid / total;
  state.counters["align_%"] = 100 * align / total;
  state.counters["blend_%"] = 100 * blend / total;
  state.counters["out_MP"] = megapixels;
  state.counters["blend_ms/MP"] = 1000 * blend / megapixels;
  state.counters["copy_ms/MP"] = 1000 * copy / megapixels;
  state.counters["stitch_peak_MB"] = peak;
  state.SetLabel(std::string(l.name) + " " + std::to_string(width) + " detail " +
                 std::to_string(detail));
}

void StitchArguments(benchmark::internal::Benchmark* b) {
  for (int width : {640, 1600, 4000})
    for (int layout = 0; layout < 4; ++layout)
      for (int detail = 0; detail <= 2; ++detail) b->Args({layout, width, detail});
}
BENCHMARK(BM_Stitch)->Apply(StitchArguments)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
BENCHMARK_MAIN();
