#ifndef APP_SKIN_SKIN_FILE_H
#define APP_SKIN_SKIN_FILE_H

#include <cstdint>
#include <string>
#include <vector>

#include "palm_container.h"

namespace vmd {

/// A skin file is a "PALM" container with one page per panel. A page holds
/// groups of three records, one image per state (normal, down, disabled);
/// the first group is the panel itself (control id 0, its background), each
/// further group one control of the panel. A record without data has no image
/// for that state: the control falls back to its normal image, and a control
/// without any image (an image area, a label's place, a storyboard cell) only
/// marks a place. Record fields used by skins:
///   0   control id (int32; 0 = the panel)
///   4   state (int32: 0 normal, 1 down or checked, 2 disabled)
///   8   name, zero-terminated, up to 127 characters (for people reading the file)
///   160 left, 164 top, 168 right, 172 bottom (int32): the control's place in
///       panel coordinates, right and bottom INCLUSIVE (a 10-pixel-wide control
///       at x = 0 has right = 9)
///   266 bits per pixel, 268 width, 270 height of the image (0 without one)
///   272, 280 data offset and length (the container's), the data a packed DIB:
///       BITMAPINFOHEADER then 24-bit rows bottom-up, each padded to 4 bytes.
constexpr int kSkinStates = 3;
constexpr size_t kSkinIdField = 0;
constexpr size_t kSkinStateField = 4;
constexpr size_t kSkinNameField = 8;
constexpr size_t kSkinNameSize = 128;
constexpr size_t kSkinRectField = 160;
constexpr size_t kSkinBitsField = 266;
constexpr size_t kSkinWidthField = 268;
constexpr size_t kSkinHeightField = 270;

/// An inclusive rectangle in panel coordinates.
struct SkinRect {
  int left = 0;
  int top = 0;
  int right = -1;  ///< inclusive
  int bottom = -1;  ///< inclusive
  int Width() const { return right - left + 1; }
  int Height() const { return bottom - top + 1; }
  bool Contains(int x, int y) const { return x >= left && x <= right && y >= top && y <= bottom; }
};

/// A 24-bit image of a skin: rows bottom-up, `stride` bytes each (a multiple
/// of 4), blue-green-red.
struct SkinImage {
  int width = 0;
  int height = 0;
  int stride = 0;
  std::vector<uint8_t> pixels;
  bool Empty() const { return width <= 0 || height <= 0; }
};

struct SkinControl {
  int id = 0;
  std::string name;
  SkinRect rect;
  SkinImage images[kSkinStates];  ///< by state; an empty image falls back to state 0
};

struct SkinPanel {
  int width = 0;
  int height = 0;
  SkinImage background;
  std::vector<SkinControl> controls;
  const SkinControl* Find(int id) const;
};

struct SkinFile {
  std::vector<SkinPanel> panels;  ///< by page
};

/// Reads a skin file's bytes. False, with a one-line reason, when the bytes
/// are no container, a page's first group is not a panel, a record's image
/// does not match its header or its size, or a page is not made of whole
/// groups. Nothing of a damaged file is half-used.
bool ParseSkinFile(const uint8_t* bytes, size_t size, SkinFile* skin, std::string* reason);
bool LoadSkinFile(const std::string& path, SkinFile* skin, std::string* reason);

/// Decodes a packed 24-bit DIB (40-byte header, then rows); false when the
/// header lies about its size or depth.
bool DecodePackedDib(const std::vector<uint8_t>& dib, SkinImage* image);
/// The packed DIB of `image` (the inverse of DecodePackedDib).
std::vector<uint8_t> EncodePackedDib(const SkinImage& image);

/// Skin files are written by the build's skin generator through this: one
/// record per state of each control, in panel order.
struct SkinRecordEntry {
  int id = 0;
  int state = 0;
  std::string name;
  SkinRect rect;
  const SkinImage* image = nullptr;  ///< none: a record without data
};
void AppendSkinRecord(const SkinRecordEntry& entry, PalmContainer* container);

}  // namespace vmd

#endif  // APP_SKIN_SKIN_FILE_H
