// vmd3-stitch: the engine and the codec layer from the command line, for batch
// and headless use. Reads the photos through PIXIO, applies the program's photo
// checks, builds the pyramids, aligns, blends, crops to the suggested rectangle
// and writes the panorama through PIXIO by the output's extension.
#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#if defined(_WIN32)
#include <io.h>
#define VMD_ISATTY(fd) _isatty(fd)
#define VMD_FILENO(f) _fileno(f)
#else
#include <unistd.h>
#if defined(__GLIBC__)
#include <malloc.h>
#endif
#define VMD_ISATTY(fd) isatty(fd)
#define VMD_FILENO(f) fileno(f)
#endif

#include "pixio.h"
#include "seamcore.h"
#include "stitch_arguments.h"
#include "stitch_job.h"
#include "stitch_plan.h"

namespace {

std::atomic<bool> g_interrupted{false};
bool g_cancelSent = false;
bool g_terminal = false;
int g_lastPercent = -1;

#if defined(_WIN32)
BOOL WINAPI OnConsoleControl(DWORD type) {
  if (type != CTRL_C_EVENT && type != CTRL_BREAK_EVENT) return FALSE;
  g_interrupted.store(true);
  return TRUE;
}
#else
void OnInterrupt(int) { g_interrupted.store(true); }
#endif

/// The engine's progress callback: a bar on a terminal, plain percentages
/// otherwise; a pending Ctrl-C is passed on as the engine's cancellation state.
int OnProgress(int percent) {
  if (g_interrupted.load() && !g_cancelSent) {
    SetProgressState(1);
    g_cancelSent = true;
  }
  if (percent < 0) percent = 0;
  if (percent > 100) return 1;
  if (percent == g_lastPercent) return 1;
  g_lastPercent = percent;
  if (g_terminal) {
    const int filled = percent * 40 / 100;
    std::fprintf(stderr, "\r[%.*s%*s] %3d%%", filled, "########################################",
                 40 - filled, "", percent);
    if (percent == 100) std::fputc('\n', stderr);
  } else {
    std::fprintf(stderr, "%d%%\n", percent);
  }
  std::fflush(stderr);
  return 1;
}

int Fail(const std::string& message, int code = 1) {
  if (g_terminal && g_lastPercent >= 0 && g_lastPercent < 100) std::fputc('\n', stderr);
  std::fprintf(stderr, "vmd3-stitch: %s\n", message.c_str());
  return code;
}

struct Header {
  int width = 0;
  int height = 0;
};

Header SizeOf(HGLOBAL dib) {
  Header h;
  if (auto* bih = static_cast<BITMAPINFOHEADER*>(GlobalLock(dib))) {
    h.width = bih->biWidth;
    h.height = bih->biHeight;
    GlobalUnlock(dib);
  }
  return h;
}

/// Cuts a 24-bit DIB down to its storage rows [top, bottom) and columns
/// [left, right) within its own block: each kept row moves to its place in the
/// smaller picture, which never lies after where it was, so rows are moved in
/// order. No second panorama-sized block is needed. False when it cannot be
/// locked.
bool CropInPlace(HGLOBAL dib, RECT r) {
  auto* base = static_cast<uint8_t*>(GlobalLock(dib));
  if (!base) return false;
  BITMAPINFOHEADER h;
  std::memcpy(&h, base, sizeof h);
  const int w = r.right - r.left, ht = r.bottom - r.top;
  const size_t srcStride = ((size_t(h.biWidth) * 24 + 31) / 32) * 4;
  const size_t dstStride = ((size_t(w) * 24 + 31) / 32) * 4;
  uint8_t* bits = base + h.biSize;
  for (int y = 0; y < ht; ++y) {
    uint8_t* to = bits + dstStride * y;
    std::memmove(to, bits + srcStride * (r.top + y) + 3 * size_t(r.left), 3 * size_t(w));
    std::memset(to + 3 * size_t(w), 0, dstStride - 3 * size_t(w));
  }
  h.biWidth = w;
  h.biHeight = ht;
  h.biCompression = BI_RGB;
  h.biSizeImage = static_cast<DWORD>(dstStride * ht);
  h.biClrUsed = 0;
  std::memcpy(base, &h, sizeof h);
  GlobalUnlock(dib);
  return true;
}

int Run(const stitch::Arguments& args) {
  stitch::Job s;
  std::string problem;
  if (!stitch::PrepareJob(args, &s, &problem)) return Fail(problem);
  StitchMatrix& matrix = s.matrix;
  StitchOptions& options = s.options;

  SetProgressState(0);
  const long aligned = Align(&matrix, &options, OnProgress);
  if (g_interrupted.load()) return Fail("cancelled", 130);
  if (aligned == kStitchOutOfMemory) return Fail("Not enough memory.");
  if (aligned != kStitchOk)
    return Fail("the photos could not be aligned (engine result " + std::to_string(aligned) + ")");
  RECT crop{};
  const long blended = Blend(&matrix, &options, &s.panorama, &crop, OnProgress);
  if (g_interrupted.load()) return Fail("cancelled", 130);
  if (blended == kStitchOutOfMemory) return Fail("Not enough memory.");
  if (blended != kStitchOk || !s.panorama) return Fail("the photos could not be blended (engine result " +
                                                       std::to_string(blended) + ")");
  s.ReleaseSources();
#if defined(__GLIBC__)
  // The photos' memory goes back to the system now: the crop and the save
  // take new blocks of their own, which must not come on top of it.
  malloc_trim(0);
#endif
  HGLOBAL result = s.panorama;
  const Header whole = SizeOf(s.panorama);
  if (args.crop) {
    // The program's crop, turned back into storage rows.
    const RECT topDown = vmd::CropRectTopDown(crop, whole.height);
    RECT r{topDown.left, whole.height - topDown.bottom, topDown.right, whole.height - topDown.top};
    r.left = std::max<LONG>(r.left, 0);
    r.top = std::max<LONG>(r.top, 0);
    r.right = std::min<LONG>(r.right, whole.width);
    r.bottom = std::min<LONG>(r.bottom, whole.height);
    if (r.right > r.left && r.bottom > r.top &&
        (r.left > 0 || r.top > 0 || r.right < whole.width || r.bottom < whole.height)) {
      if (!CropInPlace(s.panorama, r)) return Fail("Not enough memory.");
    }
  }
  const Header out = SizeOf(result);
  ImgSetJpgQuality(args.jpegQuality);
  const int saved = ImgSaveFileResult(result, args.output.c_str());
  if (saved != kPixioSaved) {
    char why[512];
    ImgSaveMessage(saved, "the panorama", result, args.output.c_str(), why, sizeof why);
    return Fail(why);
  }
  std::fprintf(stderr, "vmd3-stitch: wrote %s, %d x %d pixels\n", args.output.c_str(), out.width,
               out.height);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> words(argv + 1, argv + argc);
  stitch::Arguments args;
  std::string error;
  if (!stitch::ParseArguments(words, &args, &error)) return Fail(error, 2);
  if (args.help) {
    std::fputs(stitch::HelpText(), stdout);
    return 0;
  }
  g_terminal = VMD_ISATTY(VMD_FILENO(stderr)) != 0;
#if defined(__GLIBC__)
  // The stitch takes and frees photo-sized blocks again and again (layers,
  // seam crops, correction fields). Kept in the heap rather than handed back
  // to the system, a freed block is reused without the kernel clearing fresh
  // pages for the next one; the peak stays that of the largest moment.
  mallopt(M_MMAP_THRESHOLD, 1 << 30);
  mallopt(M_TRIM_THRESHOLD, 1 << 30);
#endif
#if defined(_WIN32)
  SetConsoleCtrlHandler(OnConsoleControl, TRUE);
#else
  std::signal(SIGINT, OnInterrupt);
  std::signal(SIGTERM, OnInterrupt);
#endif
  try {
    return Run(args);
  } catch (const std::exception& e) {
    return Fail(e.what());
  }
}
