#ifndef APP_STITCH_PHOTO_EDIT_GEOMETRY_H
#define APP_STITCH_PHOTO_EDIT_GEOMETRY_H

/// The photo editor's arithmetic: where the picture sits in the view, the zoom
/// steps, the crop box's handles and limits, the turned picture's size, and the
/// sliders' values. Rectangles are in the view's client coordinates unless said
/// otherwise; right and bottom exclusive.

#include "win32_api.h"

namespace vmd {

/// The editor's zoom factor: 1 (full size) to 10 (a tenth).
constexpr int kMinZoom = 1;
constexpr int kMaxZoom = 10;
/// Crop box edges keep at least this distance from their opposite edge, and a
/// point is on an edge when nearer than this.
constexpr int kCropGrip = 4;

/// The picture's place in a view of viewW x viewH when it measures
/// displayW x displayH: centred where smaller (offset), else at 0 and pannable
/// up to panMax.
struct EditLayout {
  POINT offset;
  POINT panMax;  ///< 0 in a direction that cannot be panned
  bool panX;
  bool panY;
};
EditLayout LayoutDisplay(int displayW, int displayH, int viewW, int viewH);

/// How a source of w x h opens in a view of viewW x viewH.
struct EditOpening {
  bool reduced;      ///< false: shown at full size (and zoom-in is disabled)
  int displayW;      ///< the size shown
  int displayH;
  double scale;      ///< source size over display size along the longer side
  int zoom;          ///< scale rounded
  RECT cropBox;      ///< the whole picture, in client coordinates
  RECT cropLimits;   ///< the displayed picture
  EditLayout layout;
};
EditOpening OpenEditGeometry(int w, int h, int viewW, int viewH);

/// A zoom step and what it does to the two zoom buttons.
struct ZoomStep {
  int zoom;
  bool enableZoomIn;
  bool disableZoomIn;
  bool enableZoomOut;
  bool disableZoomOut;
};
/// Zooming in lowers the factor (stopping at 1, which disables zoom-in); zooming
/// out raises it (stopping at 10, which disables zoom-out). Leaving 1 enables
/// zoom-in again and leaving 10 zoom-out.
ZoomStep ZoomIn(int zoom);
ZoomStep ZoomOut(int zoom);
/// The source reduced by a zoom factor: w / zoom x h / zoom, at least 1 each.
void ZoomedSize(int w, int h, int zoom, int* zoomedW, int* zoomedH);

/// A rectangle scaled by newW / oldW and newH / oldH, each coordinate rounded.
RECT ScaleRect(const RECT& r, int oldW, int oldH, int newW, int newH);

/// Which part of the crop box a point grabs.
enum CropHandleKind {
  kCropNone = 0,
  kCropLeft = 1,
  kCropTop = 2,
  kCropRight = 4,
  kCropBottom = 8,
  kCropTopLeft = kCropLeft | kCropTop,
  kCropTopRight = kCropRight | kCropTop,
  kCropBottomLeft = kCropLeft | kCropBottom,
  kCropBottomRight = kCropRight | kCropBottom,
};
/// The edges under a point (a combination of kCropLeft .. kCropBottom): on an
/// edge when nearer than 4 pixels to its line and within its extent widened
/// by 4. Two edges meeting make a corner; opposite edges (a box under 8
/// pixels) keep the left or top one.
int CropHandleAt(const RECT& box, POINT point);
/// The box after dragging `handle` by (dx, dy): each moved edge stays at least
/// 4 pixels from its opposite edge and within `limits`.
RECT DragCropHandle(const RECT& box, int handle, int dx, int dy, const RECT& limits);

/// Cursors the editor shows.
enum EditCursorKind {
  kCursorArrow,
  kCursorSizeNWSE,  ///< top-left and bottom-right corners
  kCursorSizeNESW,  ///< top-right and bottom-left corners
  kCursorSizeWE,    ///< left and right edges
  kCursorSizeNS,    ///< top and bottom edges
  kCursorHand,      ///< panning (the program's cursor 180)
  kCursorCanPan,    ///< over a pannable picture (the program's cursor 201)
};
EditCursorKind CursorForHandle(int handle);

/// A crop box given relative to the display (displayW x displayH) in the
/// pixels of the same picture at fullW x fullH (rounded, clamped to it).
RECT CropInFullPixels(const RECT& displayBox, int displayW, int displayH, int fullW, int fullH);

/// A slider value (0 .. 200, 100 = no change) as the brightness or contrast
/// argument (-128 .. 128) and as the hue (degrees) or saturation argument.
int BrightnessContrastArgument(int slider);
int HueSaturationArgument(int slider);

/// Whether a photo of w x h may stand on the storyboard by itself: larger than
/// 64 x 64 and between 1:2 and 2:1.
bool PhotoSizeAllowed(int w, int h);

/// The marching ants' next phase: 1, 2, ... 6, then 0.
inline int NextAntsPhase(int phase) { return (phase + 1) % 7; }

}  // namespace vmd

#endif  // APP_STITCH_PHOTO_EDIT_GEOMETRY_H
