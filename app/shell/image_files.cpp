#include "image_files.h"

#include <cstdio>
#include <vector>

#include "image_file_rules.h"
#include "image_ops.h"
#include "pixio.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace vmd {

HGLOBAL TakeAs24(HGLOBAL dib, int* converted) {
  if (converted != nullptr) *converted = 0;
  if (dib == nullptr) return nullptr;
  if (DibKind(dib) == kDibRgb24) return dib;
  HGLOBAL rgb = ConvertDibTo24(dib);
  GlobalFree(dib);
  if (rgb != nullptr && converted != nullptr) *converted = 1;
  return rgb;
}

HGLOBAL ReadImageFile(void* owner, const char* path, int* converted) {
  if (converted != nullptr) *converted = 0;
  if (path == nullptr) return nullptr;
  return TakeAs24(ImgReadFile(owner, path), converted);
}

bool WriteImageStrips(HGLOBAL dib, int count, const std::string& folder) {
  int width = 0, height = 0;
  if (count < 1 || !DibSize(dib, &width, &height)) return false;
  for (int i = 0; i < count; ++i) {
    StripColumns strip = StripOf(width, count, i);
    if (strip.width < 1) return false;
    RECT columns = {strip.left, 0, strip.right, height};
    HGLOBAL part = CropDib(dib, columns);
    if (part == nullptr) return false;
    if (i == count - 1 && strip.right - strip.left != strip.width) {
      HGLOBAL scaled = ScaleDib(part, strip.width, height, false, false);
      GlobalFree(part);
      if (scaled == nullptr) return false;
      part = scaled;
    }
    bool written = ImgSaveFile(part, StripPath(folder, i).c_str()) != 0;
    GlobalFree(part);
    if (!written) return false;
  }
  return true;
}

bool TiffFileUsesLzw(const char* path) {
  FILE* file = std::fopen(path, "rb");
  if (file == nullptr) return false;
  // The first image's directory lies near the start in the files we meet; a
  // directory beyond the first megabyte is read as no LZW.
  std::vector<uint8_t> bytes(1 << 20);
  size_t got = std::fread(bytes.data(), 1, bytes.size(), file);
  std::fclose(file);
  return TiffBytesUseLzw(bytes.data(), got);
}

bool CanCreateFileIn(const std::string& folder) {
#if defined(_WIN32)
  char name[MAX_PATH + 16];
  if (GetTempFileNameA(folder.c_str(), "VMD", 0, name) == 0) return false;
  // GetTempFileName has created the file; open it for reading and writing.
  HANDLE file = CreateFileA(name, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  bool ok = file != INVALID_HANDLE_VALUE;
  if (ok) CloseHandle(file);
  DeleteFileA(name);
  return ok;
#else
  std::string pattern = folder + "/VMDXXXXXX";
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  int fd = mkstemp(name.data());
  if (fd < 0) return false;
  close(fd);
  unlink(name.data());
  return true;
#endif
}

}  // namespace vmd
