#ifndef TOOLS_SKIN_CURSORS_H
#define TOOLS_SKIN_CURSORS_H

#include <cstdint>
#include <string>
#include <vector>

namespace vmd {

/// One of the program's cursors: its resource number, the file it is
/// written to, and the Windows cursor file's bytes (32 x 32, 32-bit colour
/// with alpha and a 1-bit mask, one hot spot).
struct CursorFile {
  int id;
  std::string fileName;
  int hotX;
  int hotY;
  std::vector<uint8_t> bytes;
};

/// Every cursor the program loads by number: 180 (panning hand), 200 (drop
/// here), 201 (movable: a photo held where it cannot drop, or an image that
/// can be panned), 210 to 221 and 727 (the viewer's turning arrows and hands),
/// 224, 235, 233 (markers 1, 2, 3), 237 and 238 (a left/right and an up/down
/// pair of photos).
std::vector<CursorFile> DrawCursors();

/// Writes DrawCursors() into `folder` as "cursorN.cur", and a sheet of them
/// as "cursors.png" into `previewDir` when it is not empty.
bool WriteCursors(const std::string& folder, const std::string& previewDir);

/// The bytes of a .cur file holding one 32 x 32 image given as
/// non-premultiplied BGRA rows top-down; alpha below 128 is transparent in
/// the 1-bit mask.
std::vector<uint8_t> EncodeCursorFile(const std::vector<uint8_t>& bgraTopDown, int hotX, int hotY);

constexpr int kCursorSize = 32;

}  // namespace vmd

#endif  // TOOLS_SKIN_CURSORS_H
