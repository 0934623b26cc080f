// vmd3-stitch end to end: wall time and peak memory (of the child process) on
// generated photo sets: a row of overlapping crops of one wide synthetic
// scene, written as JPEG files, stitched with a telephoto lens (the crops are
// exact translations). Sizes: large, medium, small.
//
// Beside it, OpenCV's Stitcher (bench/opencv_stitch.py, Debian's
// python3-opencv) on sets from the tests' synthetic-scene generator (ideal
// pinhole photos with known turns), timed in the same run: vmd_s and cv_s are
// the wall times, ratio = vmd_s / cv_s, vmd_cpu_s and cv_cpu_s the processor
// times (user and system, all threads), and the peaks are each child's.
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

#include <chrono>

#include "formats.h"
#include "synthetic_scene.h"
#include "test_dib.h"

namespace {

/// Writes a photo as dir/img_N.jpg at quality 92; returns its path.
std::string WritePhoto(const pixio::Image& photo, const std::string& dir, int index) {
  std::vector<uint8_t> jpeg;
  pixio::EncodeJpeg(photo, pixio::EncodeSettings{92, false}, &jpeg);
  const std::string path = dir + "/img_" + std::to_string(index) + ".jpg";
  testing_support::WriteAll(path, std::string(jpeg.begin(), jpeg.end()));
  return path;
}

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
    paths.push_back(WritePhoto(crop, dir, i));
  }
  return paths;
}

/// Processor time (user and system) of the last child that RunProgram waited
/// for, in seconds: on a shared machine it says more than the wall time.
double g_childCpu = 0;

/// Runs a program; returns its exit status and its peak resident set in KB.
int RunProgram(const char* program, const std::vector<std::string>& args, long* peakKb) {
  const pid_t pid = fork();
  if (pid == 0) {
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program));
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    if (!freopen("/dev/null", "w", stderr)) _exit(126);
    execv(program, argv.data());
    _exit(127);
  }
  int status = 0;
  rusage usage{};
  wait4(pid, &status, 0, &usage);
  *peakKb = usage.ru_maxrss;
  g_childCpu = usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
               (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) * 1e-6;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

/// The stitcher under test: the one built beside this benchmark, or another
/// build named by VMD3_STITCH (to time an earlier version in the same way).
int RunStitcher(const std::vector<std::string>& args, long* peakKb) {
  const char* other = std::getenv("VMD3_STITCH");
  return RunProgram(other && *other ? other : VMD3_STITCH_PATH, args, peakKb);
}

/// A synthetic-scene set written as JPEG files into a fresh folder.
std::vector<std::string> WriteSceneSet(const testing_support::SyntheticSetup& setup) {
  testing_support::SyntheticSet set(setup);
  char dir[] = "/tmp/vmd3-peer-bench-XXXXXX";
  if (!mkdtemp(dir)) return {};
  std::vector<std::string> paths;
  for (int r = setup.rows - 1; r >= 0; --r)  // top row first, as the tool takes a column
    for (int c = 0; c < setup.columns; ++c) {
      pixio::Image photo;
      pixio::FromDib(set.Photo(c, r), &photo);
      paths.push_back(WritePhoto(photo, dir, static_cast<int>(paths.size())));
    }
  return paths;
}

/// Generated photos 4:3 with a 60-degree lens, half a degree of jitter and a
/// little noise, turned by the given steps between neighbours.
testing_support::SyntheticSetup BenchSetup(int layout, int columns, int rows, int width,
                                           double yawStep, double pitchStep, double firstPitch) {
  testing_support::SyntheticSetup setup;
  setup.layout = layout;
  setup.columns = columns;
  setup.rows = rows;
  setup.width = width;
  setup.height = width * 3 / 4;
  setup.focal = width * 0.866;  // 60 degrees across
  setup.yawStepDegrees = yawStep;
  setup.pitchStepDegrees = pitchStep;
  setup.firstPitchDegrees = firstPitch;
  setup.jitterDegrees = 0.5;
  setup.noise = 2;
  setup.supersample = 1;
  return setup;
}

struct PeerCase {
  const char* name;
  const char* kind;
  int layout, columns, rows, width;
  double yawStep, pitchStep, firstPitch;
};
const PeerCase kPeerCases[] = {
    {"circle 12 x 1600x1200", "circle", 3, 12, 1, 1600, 30, 0, 0},
    {"row 4 x 1600x1200", "row", 0, 4, 1, 1600, 36, 0, 0},
    {"row 4 x 4000x3000", "row", 0, 4, 1, 4000, 36, 0, 0},
};

/// vmd3-stitch (full size, automatic lens) and OpenCV's Stitcher on the same
/// generated photos, one after the other in every iteration.
void BM_StitchBesideOpenCv(benchmark::State& state) {
  const PeerCase& c = kPeerCases[state.range(0)];
  static std::vector<std::string> sets[3];
  std::vector<std::string>& photos = sets[state.range(0)];
  if (photos.empty())
    photos = WriteSceneSet(BenchSetup(c.layout, c.columns, c.rows, c.width, c.yawStep, c.pitchStep,
                                      c.firstPitch));
  state.SetLabel(c.name);
  if (photos.empty()) {
    state.SkipWithError("cannot write the photos");
    return;
  }
  const std::string dir = photos[0].substr(0, photos[0].rfind('/'));
  double vmd = 0, cv = 0, vmdCpu = 0, cvCpu = 0;
  long vmdPeak = 0, cvPeak = 0;
  int cvStatus = 0;
  for (auto _ : state) {
    std::vector<std::string> args = {"--kind", c.kind, "--size", "large", "-o", dir + "/vmd.jpg"};
    args.insert(args.end(), photos.begin(), photos.end());
    auto t0 = std::chrono::steady_clock::now();
    if (RunStitcher(args, &vmdPeak) != 0) state.SkipWithError("vmd3-stitch failed");
    vmdCpu += g_childCpu;
    auto t1 = std::chrono::steady_clock::now();
    std::vector<std::string> peer = {OPENCV_STITCH_SCRIPT, dir + "/opencv.jpg"};
    peer.insert(peer.end(), photos.begin(), photos.end());
    cvStatus = RunProgram("/usr/bin/python3", peer, &cvPeak);
    cvCpu += g_childCpu;
    auto t2 = std::chrono::steady_clock::now();
    vmd += std::chrono::duration<double>(t1 - t0).count();
    cv += std::chrono::duration<double>(t2 - t1).count();
  }
  const double n = static_cast<double>(state.iterations());
  state.counters["vmd_s"] = vmd / n;
  state.counters["cv_s"] = cvStatus == 0 ? cv / n : -1;
  state.counters["ratio"] = cvStatus == 0 ? vmd / cv : -1;
  state.counters["vmd_cpu_s"] = vmdCpu / n;
  state.counters["cv_cpu_s"] = cvCpu / n;
  state.counters["vmd_peak_MB"] = double(vmdPeak) / 1024.0;
  state.counters["cv_peak_MB"] = double(cvPeak) / 1024.0;
}
BENCHMARK(BM_StitchBesideOpenCv)->DenseRange(0, 2)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);

/// Every layout at every output size, on generated 1600 x 1200 photos:
/// vmd3-stitch alone (name an earlier build with VMD3_STITCH to compare).
struct LayoutCase {
  const char* name;
  const char* kind;
  int layout, columns, rows;
  double yawStep, pitchStep, firstPitch;
};
const LayoutCase kLayoutCases[] = {
    {"circle 12", "circle", 3, 12, 1, 30, 0, 0},
    {"row 4", "row", 0, 4, 1, 36, 0, 0},
    {"tile 3 x 2", "tile", 2, 3, 2, 36, 28, -14},
    {"column 3", "column", 1, 1, 3, 0, 28, -28},
};

void BM_StitchLayoutAndSize(benchmark::State& state) {
  const LayoutCase& c = kLayoutCases[state.range(0)];
  static const char* kSizes[] = {"large", "medium", "small"};
  const char* size = kSizes[state.range(1)];
  static std::vector<std::string> sets[4];
  std::vector<std::string>& photos = sets[state.range(0)];
  if (photos.empty())
    photos = WriteSceneSet(
        BenchSetup(c.layout, c.columns, c.rows, 1600, c.yawStep, c.pitchStep, c.firstPitch));
  state.SetLabel(std::string(c.name) + " x 1600x1200, " + size);
  if (photos.empty()) {
    state.SkipWithError("cannot write the photos");
    return;
  }
  const std::string out = photos[0].substr(0, photos[0].rfind('/')) + "/vmd.jpg";
  long peak = 0;
  double cpu = 0;
  for (auto _ : state) {
    std::vector<std::string> args = {"--kind", c.kind, "--size", size, "-o", out};
    args.insert(args.end(), photos.begin(), photos.end());
    if (RunStitcher(args, &peak) != 0) state.SkipWithError("vmd3-stitch failed");
    cpu += g_childCpu;
  }
  state.counters["cpu_s"] = cpu / static_cast<double>(state.iterations());
  state.counters["peak_MB"] = double(peak) / 1024.0;
}
BENCHMARK(BM_StitchLayoutAndSize)
    ->ArgsProduct({{0, 1, 2, 3}, {0, 1, 2}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(3);

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
