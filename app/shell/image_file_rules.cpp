#include "image_file_rules.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>

namespace vmd {

int FullListType(int filterIndex, bool noGif) {
  int count = noGif ? 6 : 7;
  if (filterIndex < 1 || filterIndex > count) return 0;
  return noGif && filterIndex > 3 ? filterIndex + 1 : filterIndex;
}

int JpegFilterIndex(bool noGif) { return noGif ? 5 : 6; }

std::string DefaultExtensionOf(int fullType) {
  static const char* const kExtensions[] = {"BMP", "TIF", "PCX", "GIF", "TGA", "JPG", "FPX"};
  if (fullType < kFileBmp || fullType > kFileFpx) return std::string();
  return kExtensions[fullType - 1];
}

ExtensionChoice ChooseExtension(int fullType, bool saveDialog, bool noGif) {
  ExtensionChoice choice = {false, false};
  if (!saveDialog) return choice;
  choice.showCompress = fullType == kFileTga || (fullType == kFileTif && !noGif);
  choice.showQuality = fullType == kFileJpg || fullType == kFileFpx;
  return choice;
}

int CompressModeOnOk(int fullType, bool boxChecked, bool noGif) {
  if (fullType == kFileTif) return noGif ? 0 : (boxChecked ? 1 : 0);
  if (fullType == kFileTga) return boxChecked ? 1 : 0;
  return -1;
}

int QualityAfterScroll(int quality, int request, int thumb) {
  switch (request) {
    case kScrollLineLeft: quality -= 1; break;
    case kScrollLineRight: quality += 1; break;
    case kScrollPageLeft: quality -= 10; break;
    case kScrollPageRight: quality += 10; break;
    case kScrollThumbPosition:
    case kScrollThumbTrack: quality = thumb; break;
    case kScrollLeft: quality = 1; break;
    case kScrollRight: quality = 100; break;
    default: break;
  }
  return std::clamp(quality, 1, 100);
}

std::string QualityText(const std::string& label, int quality) {
  char text[128];
  std::snprintf(text, sizeof text, "%s %d", label.c_str(), quality);
  return text;
}

int SliderQuality(int sliderValue, int lastQuality) {
  return sliderValue != 0 ? sliderValue : std::clamp(lastQuality, 1, 100);
}

int JpegQualityBook::BeforeDialog() { return firstSave ? -1 : savedQuality; }

int JpegQualityBook::AfterDialog(int qualityInForce) {
  firstSave = false;
  savedQuality = qualityInForce;
  return 100;
}

std::string UpperExtension(const std::string& path) {
  size_t slash = path.find_last_of("\\/");
  size_t dot = path.find_last_of('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return std::string();
  std::string ext = path.substr(dot + 1);
  for (char& c : ext) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return ext;
}

std::string FolderPart(const std::string& path) {
  size_t slash = path.find_last_of('\\');
  return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

int NextSelectedFile(const char* selection, size_t size, int index, std::string* path) {
  if (selection == nullptr || index < 0 || static_cast<size_t>(index) >= size) return -1;
  size_t firstLength = strnlen(selection, size);
  if (firstLength == 0 || firstLength >= size) return -1;
  size_t second = firstLength + 1;
  bool single = second >= size || selection[second] == '\0';
  if (index == 0 && single) {
    *path = std::string(selection, firstLength);
    return static_cast<int>(second);
  }
  size_t at = index == 0 ? second : static_cast<size_t>(index);
  if (at >= size || selection[at] == '\0') return -1;
  size_t length = strnlen(selection + at, size - at);
  if (at + length >= size) return -1;  // a name without its NUL
  std::string folder(selection, firstLength);
  if (!folder.empty() && folder.back() != '\\') folder += '\\';
  *path = folder + std::string(selection + at, length);
  return static_cast<int>(at + length + 1);
}

bool SavePathTooLong(const std::string& path) { return path.size() > 256; }

unsigned ExportRefusal(int width, int height) {
  if (width < height) return 50101;
  if (width / 24 < 3 || height < 64) return 50109;
  return 0;
}

bool MoviePathRefused(const std::string& path) {
  if (path.size() > 256) return true;
  size_t slash = path.find_last_of('\\');
  size_t last = slash == std::string::npos ? path.size() : path.size() - slash;
  return last > 60;
}

bool PagePathRefused(const std::string& path) { return path.size() > 230; }

std::string StripFolderOf(const std::string& pagePath) {
  size_t slash = pagePath.find_last_of('\\');
  size_t dot = pagePath.find_last_of('.');
  std::string stem = dot == std::string::npos || (slash != std::string::npos && dot < slash)
                         ? pagePath
                         : pagePath.substr(0, dot);
  return stem + "_files";
}

std::string StripPath(const std::string& folder, int index) {
  char name[32];
  std::snprintf(name, sizeof name, "%d.jpg", index);
  // A folder named with slashes (the native build's paths) keeps them.
  const char separator = folder.find('\\') == std::string::npos && folder.find('/') != std::string::npos ? '/' : '\\';
  return folder + separator + name;
}

std::string TemporaryExportPath(const std::string& folderWithSlash, const char* name) {
  return folderWithSlash + name;
}

StripColumns StripOf(int imageWidth, int count, int index) {
  int q = count > 0 ? imageWidth / count : 0;
  StripColumns s;
  s.width = q - 1;
  s.left = index * q;
  s.right = index < count - 1 ? (index + 1) * q - 1 : imageWidth;
  return s;
}

namespace {

uint32_t Read16(const uint8_t* p, bool little) {
  return little ? uint32_t(p[0]) | (uint32_t(p[1]) << 8) : (uint32_t(p[0]) << 8) | p[1];
}

uint32_t Read32(const uint8_t* p, bool little) {
  return little ? Read16(p, true) | (Read16(p + 2, true) << 16) : (Read16(p, false) << 16) | Read16(p + 2, false);
}

}  // namespace

bool TiffBytesUseLzw(const uint8_t* data, size_t size) {
  if (data == nullptr || size < 8) return false;
  bool little;
  if (data[0] == 'I' && data[1] == 'I') little = true;
  else if (data[0] == 'M' && data[1] == 'M') little = false;
  else return false;
  if (Read16(data + 2, little) != 42) return false;
  uint32_t ifd = Read32(data + 4, little);
  if (ifd < 8 || ifd > size - 2) return false;
  uint32_t entries = Read16(data + ifd, little);
  for (uint32_t i = 0; i < entries; ++i) {
    size_t at = size_t(ifd) + 2 + size_t(i) * 12;
    if (at + 12 > size) return false;
    if (Read16(data + at, little) != 259) continue;  // Compression
    uint32_t type = Read16(data + at + 2, little);
    uint32_t value = type == 3 ? Read16(data + at + 8, little) : Read32(data + at + 8, little);
    return value == 5;
  }
  return false;
}

}  // namespace vmd
