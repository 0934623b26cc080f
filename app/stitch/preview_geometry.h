#ifndef APP_STITCH_PREVIEW_GEOMETRY_H
#define APP_STITCH_PREVIEW_GEOMETRY_H

/// The stitch preview's arithmetic, apart from its window: where the
/// panorama lies in the window (fitted, or reduced by a whole factor and
/// panned), the zoom buttons, window points as panorama pixels, and which
/// pair of photos a Locate answer names.

#include "storyboard.h"
#include "win32_api.h"

namespace vmd {

constexpr int kPreviewMaxFactor = 10;

/// The view settings that outlive one preview within a run.
struct PreviewView {
  bool fitMode = true;
  int factor = 1;  ///< reduction of the zoomed view, 1 .. 10
  int scrollX = 0;
  int scrollY = 0;
};

/// Where the image of imageW x imageH lies in a client area of clientW x
/// clientH, and what the view then is.
struct PreviewLayout {
  RECT imageRect;  ///< right and bottom exclusive
  bool scaled;     ///< fit mode with an image larger than the window
  int factor;      ///< fit mode sets it from the scale
  int scrollX, scrollY;
  bool pannableX, pannableY;
};
PreviewLayout LayoutPreview(const PreviewView& view, int imageW, int imageH, int clientW, int clientH);

/// The zoom buttons after a zoom step, and the new factor.
struct ZoomStep {
  int factor;
  ButtonChange zoomIn;
  ButtonChange zoomOut;
};
ZoomStep PreviewZoomOutStep(int factor);  ///< a larger reduction
ZoomStep PreviewZoomInStep(int factor);   ///< a smaller reduction

/// Whether the zoom-in button starts disabled: the image is smaller than the
/// window both ways and the factor is 1.
bool ZoomInStartsDisabled(int imageW, int imageH, int clientW, int clientH, int factor);

/// A window point as panorama pixels (y counted from the bottom row).
POINT PreviewToPanorama(const PreviewLayout& layout, int factor, bool fitMode, int imageW, int imageH,
                        POINT window);

/// Whether a point of the window lies on the image.
bool PointOnImage(const PreviewLayout& layout, POINT window);

/// 1 when Locate names a left/right pair (columns differ, rows equal), 2 for
/// a lower/upper pair (columns equal, rows differ), else 0.
int PickKindOf(long firstColumn, long firstRow, long secondColumn, long secondRow);

}  // namespace vmd

#endif  // APP_STITCH_PREVIEW_GEOMETRY_H
