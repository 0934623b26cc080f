#ifndef TESTS_SUPPORT_PALETTE_DIB_H
#define TESTS_SUPPORT_PALETTE_DIB_H

#include <cstdint>
#include <functional>
#include <vector>

#include "win32_api.h"

namespace testing_support {

/// A movable 1-, 4- or 8-bit DIB with `palette` (0x00RRGGBB entries) whose
/// stored pixel (x, y) holds index(x, y).
HGLOBAL MakePaletteDib(int width, int height, int bitCount, const std::vector<uint32_t>& palette,
                       const std::function<int(int, int)>& index);
/// An 8-bit DIB with the grey ramp.
HGLOBAL MakeGrayDib(int width, int height, const std::function<int(int, int)>& level);
/// Colour index of stored pixel (x, y) of a 1-, 4- or 8-bit DIB.
int IndexAt(HGLOBAL dib, int x, int y);
/// Colour table entry i as 0x00RRGGBB.
uint32_t PaletteEntry(HGLOBAL dib, int i);
/// The whole block's bytes.
std::vector<uint8_t> BlockBytes(HGLOBAL block);
/// Pixel (x, top-down y) of a 24-bit DIB as 0xRRGGBB.
uint32_t TopPixelAt(HGLOBAL dib, int x, int y);

}  // namespace testing_support

#endif  // TESTS_SUPPORT_PALETTE_DIB_H
