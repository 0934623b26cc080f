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

/// A copy of `image` a fifth of the way to white: the hover look of a face.
SkinImage LightenedImage(const SkinImage& image);

}  // namespace vmd

#endif  // APP_SKIN_DIB_DRAW_H
