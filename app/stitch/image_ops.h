#ifndef APP_STITCH_IMAGE_OPS_H
#define APP_STITCH_IMAGE_OPS_H

/// Operations on DIBs for the program's windows: querying, drawing, scaling,
/// cropping, rotating, colour adjustment, washing out, and allocation with the
/// memory message.
///
/// A DIB is one movable global memory block: a BITMAPINFOHEADER, a colour table
/// for 1-, 4- and 8-bit images, then the pixel rows bottom-up, each padded to a
/// multiple of 4 bytes. Width and height are read as 16-bit values. Every
/// operation that makes an image returns a new block owned by the caller and
/// leaves its input untouched; a null handle means failure (a null input gives
/// null without a message). Coordinates are top-down (y = 0 is the top row)
/// unless said otherwise; rectangles are right and bottom exclusive.

#include <cstddef>
#include <cstdint>

#include "win32_api.h"

namespace vmd {

/// Image kinds of DibKind.
enum DibKindCode : int {
  kDibOther = 0,
  kDibGray8 = 1,     ///< 8 bits with the grey ramp (entry i = (i, i, i)) as its 256 colours
  kDibRgb24 = 2,     ///< blue, green, red bytes
  kDibPalette8 = 3,  ///< 8 bits with any other colour table
  kDibPalette4 = 4,
  kDibPalette1 = 5,
};

/// Channel modes of AdjustBrightnessContrast.
enum ChannelMode : int {
  kAllChannels = 1,
  kRedChannel = 2,
  kGreenChannel = 3,
  kBlueChannel = 4,
};

// --- querying ----------------------------------------------------------------

/// Width and height of a DIB (16-bit values). Returns 0 and leaves the outputs
/// untouched when the handle is null or cannot be locked, else 1.
int DibSize(HGLOBAL dib, int* width, int* height);
/// 1 for a gray 8-bit image, else 0.
int IsGrayDib(HGLOBAL dib);
/// The DibKindCode of a DIB (kDibOther for a null or unusable handle).
int DibKind(HGLOBAL dib);

// --- drawing -------------------------------------------------------------------

/// The size an image of imageW x imageH takes when fitted into boxW x boxH
/// keeping its aspect ratio: the relatively wider side keeps the box's extent
/// and the other is scaled (with `rounded`, to the nearest pixel; else
/// truncated); never below 1.
void FitSize(int imageW, int imageH, int boxW, int boxH, bool rounded, int* fitW, int* fitH);

/// Where an image of imageW x imageH is drawn when fitted into `area`: the
/// fitted size (rounded), centred; in each direction the offset is half the
/// difference when the difference is 2 pixels or more, else 0.
RECT FittedRect(int imageW, int imageH, const RECT& area);

/// Draws the DIB unscaled at (x, y). 0 for a null handle or a failed draw.
int DrawDib(HDC dc, HGLOBAL dib, int x, int y);
/// Draws the DIB fitted into `area` (FittedRect; a scaled copy is made only
/// when the size differs). The drawn rectangle goes to `drawn` when given.
/// 0 for a null handle or when nothing could be drawn.
int DrawDibFitted(HDC dc, HGLOBAL dib, const RECT& area, RECT* drawn);
#if defined(_WIN32)
/// BeginPaint, DrawDibFitted over the client rectangle, EndPaint.
int PaintDibFitted(HWND window, HGLOBAL dib, RECT* drawn);
#endif

// --- making new images ---------------------------------------------------------

/// A scaled copy of width x height by nearest-neighbour sampling in storage
/// order (target row j takes source row j x srcH / height). With keepAspect the
/// size is fitted inside width x height (FitSize). A gray 8-bit source gives a
/// gray 8-bit result; every other depth a 24-bit one.
HGLOBAL ScaleDib(HGLOBAL dib, int width, int height, bool keepAspect, bool rounded);
/// A copy resized to exactly width x height with the source's depth and colour
/// table: 24-bit and gray 8-bit images bilinearly (weights in eighths), other
/// palette images by the nearest pixel. Null when either size is below 1.
HGLOBAL ResizeDib(HGLOBAL dib, int width, int height);
/// A copy of the pixels of `rect` (top-down), clamped to the image, with the
/// source's depth and colour table. Null when nothing of the image is inside.
HGLOBAL CropDib(HGLOBAL dib, const RECT& rect);
/// A copy turned clockwise (as seen on the screen) by `angle` degrees, modulo
/// 360, enlarged to hold the whole turned image: 90, 180 and 270 exactly by
/// moving pixels; other angles in 16.16 fixed point (24-bit images sampled
/// bilinearly, palette images by the nearest pixel), target pixels not covered
/// by the source getting `fill` (0x00RRGGBB). `outRect` receives
/// (0, 0, new width, new height) when given.
HGLOBAL RotateDib(HGLOBAL dib, int angle, uint32_t fill, RECT* outRect);
/// The size of a w x h picture turned by `angle` degrees: its bounding box,
/// (|s| h + |c| w + 32768) >> 16 by (|c| h + |s| w + 32768) >> 16 with s and c
/// the sine and cosine in 16.16 fixed point (exact for quarter turns).
void RotatedSize(int w, int h, int angle, int* rotatedW, int* rotatedH);
/// The same picture as a 24-bit DIB (a copy when it already is one).
HGLOBAL ConvertDibTo24(HGLOBAL dib);

/// Brightness and contrast, each -128 .. 128, through one 256-entry table
/// applied per ChannelMode (the other channels unchanged). 24-, 8- and 4-bit
/// images (palette images through their colour table); others give null.
/// b = c = 0 gives a plain copy.
HGLOBAL AdjustBrightnessContrast(HGLOBAL dib, int channelMode, int brightness, int contrast);
/// Hue turned by `hue` degrees, then every channel moved towards the pixel's
/// brightest by `saturation` percent (away from it when negative). 24-, 8- and
/// 4-bit images; both 0 gives null. Checks EscapePressed at every row and
/// stops early (the rest of the rows copied unchanged) when it reports the key.
HGLOBAL AdjustHueSaturation(HGLOBAL dib, int hue, int saturation);
/// A copy of a 24-bit DIB whose pixels outside `rect` are washed out, three
/// quarters of the way to white ((c + 765) >> 2). A pixel of column x and
/// top-down row y is inside when left <= x <= right - 1 and
/// top <= y + 1 <= bottom - 1. Other depths give null.
HGLOBAL WashOutside(HGLOBAL dib, const RECT& rect);
/// A new 24-bit DIB of width x height filled with `colour` (a COLORREF,
/// 0x00BBGGRR), with the source's header. Only for a 24-bit source.
HGLOBAL SolidDib(HGLOBAL dib, int width, int height, uint32_t colour);
/// A byte-for-byte copy of the whole block.
HGLOBAL DuplicateDib(HGLOBAL dib);
/// Copies `length` bytes (0: up to the source's end) of `source` from `offset`
/// to the start of `target`, or of a new block when `target` is null. Returns
/// the block written, or null when the range or the target is too small.
HGLOBAL CopyBlockPart(HGLOBAL target, HGLOBAL source, size_t offset, size_t length);

// --- allocation --------------------------------------------------------------

/// A zero-filled movable block of size + 10 bytes. On failure the memory
/// message is shown (once per failed block) and null returned.
HGLOBAL AllocImageBlock(size_t size);

/// What is done when an image block cannot be had. The Win32 build's default
/// shows "There is not enough memory." titled "System message", owned by the
/// program's main window; the native build's does nothing. Returns the handler
/// it replaces; null restores the default.
using MemoryMessageFn = void (*)();
MemoryMessageFn SetMemoryMessageHandler(MemoryMessageFn handler);

// --- helpers -------------------------------------------------------------------

/// Whether long operations may be cancelled with Esc (process-wide; off at start).
void SetEscapeCancels(bool enabled);
/// While cancelling is on, whether Esc is down (GetAsyncKeyState); else 0.
int EscapePressed();

/// left <= x < right and top <= y < bottom.
bool PointInRect(POINT point, const RECT& rect);
/// Whether `inner` lies inside `outer` (edges may touch).
bool RectInside(const RECT& outer, const RECT& inner);

}  // namespace vmd

#endif  // APP_STITCH_IMAGE_OPS_H
