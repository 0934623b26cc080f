// vmd3-stitch end to end: wall time and peak memory (of the child process) on
// generated photo sets: a row of overlapping crops of one wide synthetic
// scene, written as JPEG files, stitched with a telephoto lens (the crops are
// exact translations). Sizes: large, medium, small.
//   bench/stitch_cli_bench
#include <benchmark/benchmark.h>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "formats.h"

namespace {

/// Writes `count` overlapping 800 x 600 crops (a third overlapping) of one
/// scene into a fresh folder; returns their paths.
std::vector<std::string> MakeSet(int count) {
  const int w = 800, h = 600, step = w * 2 / 3;
  const int sceneW = w + step * (count - 1);
  pixio::Image scene;
  scene.Allocate(sceneW, h, 24);
  uint32_t seed = 7;
  for (int y = 0; y < h; ++y) {
    uint8_t* row = scene.Row(y);
    for (int x = 0; x < sceneW; ++x) {
      seed = seed * 1664525u + 1013904223u;
      const double u = double(x) / 97.0, v = double(y) / 71.0;
      const double t = 60 * std::sin(u) * std::cos(v * 1.3) + 40 * std::sin(u * 0.21 + v * 0.37);
      const int n = static_cast<int>((seed >> 25) & 7);
      row[3 * x] = static_cast<uint8_t>(120 + t * 0.8 + n);
      row[3 * x + 1] = static_cast<uint8_t>(110 + t * 0.6 + (x % 211 < 4 ? 80 : 0));
      row[3 * x + 2] = static_cast<uint8_t>(130 - t * 0.5 + (y % 173 < 3 ? 90 : 0));
    }
  }
  char dir[] = "/tmp/vmd3-stitch-bench-XXXXXX";
  if (!mkdtemp(dir)) return {};
  std::vector<std::string> paths;
  for (int i = 0; i < count; ++i) {
    pixio::Image crop;
    crop.Allocate(w, h, 24);
    for (int y = 0; y < h; ++y) std::copy_n(scene.Row(y) + 3 * i * step, 3 * w, crop.Row(y));
    std::vector<uint8_t> jpeg;
    pixio::EncodeJpeg(crop, pixio::EncodeSettings{92, false}, &jpeg);
    const std::string path = std::string(dir) + "/img_" + std::to_string(i) + ".jpg";
    FILE* f = std::fopen(path.c_str(), "wb");
    std::fwrite(jpeg.data(), 1, jpeg.size(), f);
    std::fclose(f);
    paths.push_back(path);
  }
  return paths;
}

/// Runs the stitcher; returns its exit status and its peak resident set in KB.
int RunStitcher(const std::vector<std::string>& args, long* peakKb) {
  const pid_t pid = fork();
  if (pid == 0) {
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(VMD3_STITCH_PATH));
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    if (!freopen("/dev/null", "w", stderr)) _exit(126);
    execv(VMD3_STITCH_PATH, argv.data());
    _exit(127);
  }
  int status = 0;
  rusage usage{};
  wait4(pid, &status, 0, &usage);
  *peakKb = usage.ru_maxrss;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

void BM_StitchRow(benchmark::State& state) {
  static const std::vector<std::string> photos = MakeSet(6);
  static const char* kSizes[] = {"large", "medium", "small"};
  const char* size = kSizes[state.range(0)];
  state.SetLabel(std::string("6 x 800x600, ") + size);
  const std::string out = photos.empty() ? "" : photos[0].substr(0, photos[0].rfind('/')) + "/pano.jpg";
  long peak = 0;
  for (auto _ : state) {
    std::vector<std::string> args = {"--lens", "tele", "--size", size, "-o", out};
    args.insert(args.end(), photos.begin(), photos.end());
    if (RunStitcher(args, &peak) != 0) state.SkipWithError("vmd3-stitch failed");
  }
  state.counters["peak_MB"] = double(peak) / 1024.0;
}
BENCHMARK(BM_StitchRow)->DenseRange(0, 2)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
