// One stitch of the sample row (app/palbums/row_1.jpg .. row_5.jpg) through
// the program's stitch session (storyboard, StitchStoryboard, the preview's
// crop) beside vmd3-stitch on the same photos and choices, both reading the
// JPEG files and writing a BMP. `same` is 1 when the two BMP files are equal
// byte for byte.
//   bench/session_stitch_bench
#include <benchmark/benchmark.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "image_ops.h"
#include "pixio.h"
#include "stitch_run.h"

namespace {

std::vector<std::string> RowPhotos() {
  std::vector<std::string> paths;
  for (int i = 1; i <= 5; ++i) paths.push_back(std::string(VMD_SAMPLE_FOLDER) + "/row_" + std::to_string(i) + ".jpg");
  return paths;
}

const char kSessionOut[] = "/tmp/vmd_session_bench_session.bmp";
const char kCliOut[] = "/tmp/vmd_session_bench_cli.bmp";

std::string FileBytes(const char* path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool SessionStitch() {
  vmd::Storyboard board;
  board.kind = vmd::PanoHorizontal;
  for (const std::string& path : RowPhotos()) {
    board.slots[board.count].photo = ImgReadFile(nullptr, path.c_str());
    if (board.slots[board.count].photo == nullptr) return false;
    ++board.count;
  }
  vmd::StitchEngineState state;
  state.options = StitchOptions{1, 1, 1, 5, kLensAutomatic, 1200.0, 0};
  HGLOBAL panorama = nullptr;
  RECT rect{};
  SetProgressState(0);
  bool ok = vmd::StitchStoryboard(board, state, [](int) { return 1; }, &panorama, &rect) ==
            vmd::StitchOutcome::kStitched;
  if (ok) {
    int w = 0, h = 0;
    vmd::DibSize(panorama, &w, &h);
    HGLOBAL cropped = vmd::CropDib(panorama, vmd::CropRectTopDown(rect, h));
    ok = cropped != nullptr && ImgSaveFileResult(cropped, kSessionOut) == kPixioSaved;
    if (cropped) GlobalFree(cropped);
    GlobalFree(panorama);
  }
  vmd::ReleaseStitchPyramids(state.matrix);
  vmd::ClearStoryboard(board, false);
  return ok;
}

bool CliStitch() {
  std::vector<std::string> words = {VMD3_STITCH_PATH, "-o", kCliOut};
  for (const std::string& p : RowPhotos()) words.push_back(p);
  std::vector<char*> argv;
  for (std::string& w : words) argv.push_back(&w[0]);
  argv.push_back(nullptr);
  const pid_t child = fork();
  if (child == 0) {
    std::freopen("/dev/null", "w", stderr);
    execv(argv[0], argv.data());
    _exit(127);
  }
  int status = 0;
  waitpid(child, &status, 0);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

void BM_SessionRow(benchmark::State& state) {
  for (auto _ : state) {
    if (!SessionStitch()) state.SkipWithError("the session's stitch failed");
  }
}
BENCHMARK(BM_SessionRow)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_CommandLineRow(benchmark::State& state) {
  for (auto _ : state) {
    if (!CliStitch()) state.SkipWithError("vmd3-stitch failed");
  }
  state.counters["same"] = FileBytes(kSessionOut) == FileBytes(kCliOut) && !FileBytes(kCliOut).empty() ? 1 : 0;
}
BENCHMARK(BM_CommandLineRow)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
