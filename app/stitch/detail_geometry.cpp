#include "detail_geometry.h"

#include <algorithm>
#include <cmath>

#include "image_ops.h"

namespace vmd {

RECT ResultImageRect(int imageW, int imageH, int viewW, int viewH) {
  if (imageW < viewW && imageH < viewH) {
    int x = (viewW - imageW) / 2, y = (viewH - imageH) / 2;
    return {x, y, x + imageW, y + imageH};
  }
  return FittedRect(imageW, imageH, RECT{0, 0, viewW, viewH});
}

double DetailScale(int imageW, int imageH, int screenW, int screenH, int step) {
  if (imageW <= 0 || imageH <= 0) return 1.0;
  double fit = std::min(static_cast<double>(screenW) / imageW, static_cast<double>(screenH) / imageH);
  return fit * std::clamp(step, kDetailMinStep, kDetailMaxStep);
}

namespace {

/// One axis: the drawn screen range and image range, and the clamped pan.
void PlaceAxis(int image, int screen, double scale, LONG* pan, LONG* destFrom, LONG* destTo, LONG* srcFrom,
               LONG* srcTo) {
  double zoomed = image * scale;
  double origin;  // where image pixel 0 lands on the screen
  if (zoomed <= screen) {
    *pan = 0;
    origin = (screen - zoomed) / 2;
  } else {
    *pan = std::clamp<LONG>(*pan, 0, static_cast<LONG>(std::floor(zoomed - screen)));
    origin = -static_cast<double>(*pan);
  }
  double visibleFrom = std::max(0.0, origin), visibleTo = std::min<double>(screen, origin + zoomed);
  *srcFrom = std::clamp<LONG>(static_cast<LONG>(std::floor((visibleFrom - origin) / scale)), 0, image - 1);
  *srcTo = std::clamp<LONG>(static_cast<LONG>(std::ceil((visibleTo - origin) / scale)), *srcFrom + 1, image);
  *destFrom = static_cast<LONG>(std::lround(origin + *srcFrom * scale));
  *destTo = static_cast<LONG>(std::lround(origin + *srcTo * scale));
}

}  // namespace

DetailPlacement PlaceDetail(int imageW, int imageH, int screenW, int screenH, int step, POINT pan) {
  DetailPlacement p = {};
  p.pan = pan;
  if (imageW <= 0 || imageH <= 0) return p;
  double scale = DetailScale(imageW, imageH, screenW, screenH, step);
  PlaceAxis(imageW, screenW, scale, &p.pan.x, &p.dest.left, &p.dest.right, &p.source.left, &p.source.right);
  PlaceAxis(imageH, screenH, scale, &p.pan.y, &p.dest.top, &p.dest.bottom, &p.source.top, &p.source.bottom);
  return p;
}

POINT PanAfterZoom(int imageW, int imageH, int screenW, int screenH, int oldStep, int newStep, POINT pan) {
  double oldScale = DetailScale(imageW, imageH, screenW, screenH, oldStep);
  double newScale = DetailScale(imageW, imageH, screenW, screenH, newStep);
  auto axis = [&](LONG p, int image, int screen) {
    double zoomed = image * oldScale;
    double centre = zoomed <= screen ? zoomed / 2 : p + screen / 2.0;  // in old zoomed pixels
    return static_cast<LONG>(std::lround(centre * newScale / oldScale - screen / 2.0));
  };
  return {axis(pan.x, imageW, screenW), axis(pan.y, imageH, screenH)};
}

}  // namespace vmd
