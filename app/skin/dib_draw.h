#ifndef APP_SKIN_DIB_DRAW_H
#define APP_SKIN_DIB_DRAW_H

#include <windows.h>

#include "skin_file.h"

namespace vmd {

/// A BITMAPINFO for a 24-bit bottom-up image of the given size.
BITMAPINFO Bitmap24Info(int width, int height);

/// Draws a skin image unscaled with its top-left corner at (x, y).
void DrawSkinImage(HDC dc, const SkinImage& image, int x, int y);

/// Draws the DIB in movable block `dib` scaled to fit `area` (inclusive
/// rectangle) keeping its aspect ratio, centred; images smaller than the area
/// are drawn unscaled. False when the block is no DIB.
bool DrawDibInArea(HDC dc, HGLOBAL dib, const RECT& area);

/// The width and height of the DIB in movable block `dib`; false when it is
/// no DIB.
bool DibDimensions(HGLOBAL dib, int* width, int* height);

/// Draws the part (sourceX, sourceY, width x height; rows counted from the
/// image's top) of the DIB in `dib` unscaled at (x, y). False when it is no DIB.
bool DrawDibPart(HDC dc, HGLOBAL dib, int sourceX, int sourceY, int width, int height, int x,
                 int y);

/// A copy of `image` a fifth of the way to white: the hover look of a face.
SkinImage LightenedImage(const SkinImage& image);

}  // namespace vmd

#endif  // APP_SKIN_DIB_DRAW_H
