#ifndef APP_STITCH_DETAIL_GEOMETRY_H
#define APP_STITCH_DETAIL_GEOMETRY_H

/// The arithmetic of the full-screen detail view and the result view: where an
/// image is drawn, the zoom steps and the panning.

#include "win32_api.h"

namespace vmd {

constexpr int kDetailMinStep = 1;
constexpr int kDetailMaxStep = 20;

/// Where the result view draws an image: unscaled and centred when smaller than
/// the view in both directions, else fitted (FittedRect).
RECT ResultImageRect(int imageW, int imageH, int viewW, int viewH);

/// The magnification of a zoom step: step 1 fits the whole image on the
/// screen, step n shows it n times that size.
double DetailScale(int imageW, int imageH, int screenW, int screenH, int step);
/// One step in or out, within 1 .. 20.
inline int DetailZoomIn(int step) { return step < kDetailMaxStep ? step + 1 : kDetailMaxStep; }
inline int DetailZoomOut(int step) { return step > kDetailMinStep ? step - 1 : kDetailMinStep; }

/// The zoomed image's place: `pan` is the screen's corner in zoomed-image
/// pixels, held within 0 .. zoomed size - screen size (0 where the zoomed image
/// is smaller, which is then centred).
struct DetailPlacement {
  RECT dest;    ///< screen rectangle drawn
  RECT source;  ///< image pixels drawn there, top-down
  POINT pan;    ///< the pan after clamping
};
DetailPlacement PlaceDetail(int imageW, int imageH, int screenW, int screenH, int step, POINT pan);
/// The pan that keeps the screen's centre on the same image point when the
/// step changes from oldStep to newStep.
POINT PanAfterZoom(int imageW, int imageH, int screenW, int screenH, int oldStep, int newStep, POINT pan);

}  // namespace vmd

#endif  // APP_STITCH_DETAIL_GEOMETRY_H
