#include "test_dib.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#if defined(_WIN32)
#include <process.h>
#define VMD_GETPID _getpid
#else
#include <unistd.h>
#define VMD_GETPID getpid
#endif

namespace testing_support {

int Stride(int width, int bitCount) { return ((width * bitCount + 31) / 32) * 4; }

HGLOBAL MakeDib24(int width, int height, const std::function<uint32_t(int, int)>& pixel,
                  uint8_t padding, long sizeImage) {
  const int stride = Stride(width, 24);
  HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, 40 + static_cast<size_t>(stride) * height);
  if (!h) return nullptr;
  auto* header = static_cast<BITMAPINFOHEADER*>(GlobalLock(h));
  std::memset(header, 0, 40);
  header->biSize = 40;
  header->biWidth = width;
  header->biHeight = height;
  header->biPlanes = 1;
  header->biBitCount = 24;
  header->biSizeImage = static_cast<DWORD>(sizeImage >= 0 ? sizeImage : long(stride) * height);
  auto* bits = reinterpret_cast<uint8_t*>(header) + 40;
  for (int y = 0; y < height; ++y) {
    uint8_t* row = bits + static_cast<size_t>(y) * stride;
    std::memset(row, padding, stride);
    for (int x = 0; x < width; ++x) {
      const uint32_t c = pixel(x, y);
      row[3 * x] = static_cast<uint8_t>(c);
      row[3 * x + 1] = static_cast<uint8_t>(c >> 8);
      row[3 * x + 2] = static_cast<uint8_t>(c >> 16);
    }
  }
  GlobalUnlock(h);
  return h;
}

uint32_t PixelAt(HGLOBAL dib, int x, int y) {
  auto* header = static_cast<BITMAPINFOHEADER*>(GlobalLock(dib));
  const int stride = Stride(header->biWidth, 24);
  const uint8_t* p = reinterpret_cast<uint8_t*>(header) + 40 + static_cast<size_t>(y) * stride + 3 * x;
  const uint32_t c = p[0] | (p[1] << 8) | (p[2] << 16);
  GlobalUnlock(dib);
  return c;
}

BITMAPINFOHEADER HeaderOf(HGLOBAL dib) {
  BITMAPINFOHEADER out{};
  if (auto* header = static_cast<BITMAPINFOHEADER*>(GlobalLock(dib))) {
    out = *header;
    GlobalUnlock(dib);
  }
  return out;
}

std::string ScratchPath(const std::string& name) {
  static std::atomic<int> counter{0};
  const char* dir = std::getenv("TEMP");
  if (!dir) dir = std::getenv("TMPDIR");
  std::string base = dir ? dir : "/tmp";
  char suffix[64];
  std::snprintf(suffix, sizeof suffix, "vmd3-%d-%d-", static_cast<int>(VMD_GETPID()),
                counter.fetch_add(1));
#if defined(_WIN32)
  return base + "\\" + suffix + name;
#else
  return base + "/" + suffix + name;
#endif
}

std::string ReadAll(const std::string& path) {
  std::string out;
  if (FILE* f = std::fopen(path.c_str(), "rb")) {
    char buf[4096];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) out.append(buf, n);
    std::fclose(f);
  }
  return out;
}

bool WriteAll(const std::string& path, const std::string& bytes) {
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  return std::fclose(f) == 0 && written;
}

}  // namespace testing_support
