#include "photo_edit_geometry.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "image_ops.h"

namespace vmd {

namespace {

LONG RoundDiv(double value) { return static_cast<LONG>(std::lround(value)); }

bool Near(int value, int line) { return std::abs(value - line) < kCropGrip; }

bool Within(int value, int from, int to) { return value >= from - kCropGrip && value <= to + kCropGrip; }

}  // namespace

EditLayout LayoutDisplay(int displayW, int displayH, int viewW, int viewH) {
  EditLayout layout = {};
  if (displayW < viewW) {
    layout.offset.x = (viewW - displayW) / 2;
  } else {
    layout.panX = displayW > viewW;
    layout.panMax.x = displayW - viewW;
  }
  if (displayH < viewH) {
    layout.offset.y = (viewH - displayH) / 2;
  } else {
    layout.panY = displayH > viewH;
    layout.panMax.y = displayH - viewH;
  }
  return layout;
}

EditOpening OpenEditGeometry(int w, int h, int viewW, int viewH) {
  EditOpening o = {};
  o.reduced = !(w < viewW && h < viewH);
  if (o.reduced) {
    FitSize(w, h, viewW, viewH, true, &o.displayW, &o.displayH);
  } else {
    o.displayW = w;
    o.displayH = h;
  }
  o.scale = w >= h ? static_cast<double>(w) / o.displayW : static_cast<double>(h) / o.displayH;
  o.zoom = std::clamp(static_cast<int>(std::lround(o.scale)), kMinZoom, kMaxZoom);
  o.layout = LayoutDisplay(o.displayW, o.displayH, viewW, viewH);
  POINT at = o.layout.offset;
  o.cropBox = {at.x, at.y, at.x + RoundDiv(w / o.scale), at.y + RoundDiv(h / o.scale)};
  o.cropLimits = {at.x, at.y, at.x + o.displayW, at.y + o.displayH};
  return o;
}

ZoomStep ZoomIn(int zoom) {
  ZoomStep step = {};
  if (zoom >= kMaxZoom) step.enableZoomOut = true;
  step.zoom = zoom - 1;
  if (step.zoom < 2) {
    step.zoom = kMinZoom;
    step.disableZoomIn = true;
  }
  return step;
}

ZoomStep ZoomOut(int zoom) {
  ZoomStep step = {};
  if (zoom <= kMinZoom) step.enableZoomIn = true;
  step.zoom = zoom + 1;
  if (step.zoom >= kMaxZoom) {
    step.zoom = kMaxZoom;
    step.disableZoomOut = true;
  }
  return step;
}

void ZoomedSize(int w, int h, int zoom, int* zoomedW, int* zoomedH) {
  zoom = std::max(zoom, 1);
  *zoomedW = std::max(w / zoom, 1);
  *zoomedH = std::max(h / zoom, 1);
}

RECT ScaleRect(const RECT& r, int oldW, int oldH, int newW, int newH) {
  if (oldW <= 0 || oldH <= 0) return r;
  double sx = static_cast<double>(newW) / oldW, sy = static_cast<double>(newH) / oldH;
  return {RoundDiv(r.left * sx), RoundDiv(r.top * sy), RoundDiv(r.right * sx), RoundDiv(r.bottom * sy)};
}

int CropHandleAt(const RECT& box, POINT p) {
  int edges = 0;
  bool inRows = Within(p.y, box.top, box.bottom);
  bool inColumns = Within(p.x, box.left, box.right);
  if (inRows && Near(p.x, box.left)) edges |= kCropLeft;
  else if (inRows && Near(p.x, box.right)) edges |= kCropRight;
  if (inColumns && Near(p.y, box.top)) edges |= kCropTop;
  else if (inColumns && Near(p.y, box.bottom)) edges |= kCropBottom;
  return edges;
}

RECT DragCropHandle(const RECT& box, int handle, int dx, int dy, const RECT& limits) {
  RECT r = box;
  if (handle & kCropLeft) r.left = std::clamp<LONG>(box.left + dx, limits.left, box.right - kCropGrip);
  if (handle & kCropRight) r.right = std::clamp<LONG>(box.right + dx, box.left + kCropGrip, limits.right);
  if (handle & kCropTop) r.top = std::clamp<LONG>(box.top + dy, limits.top, box.bottom - kCropGrip);
  if (handle & kCropBottom) r.bottom = std::clamp<LONG>(box.bottom + dy, box.top + kCropGrip, limits.bottom);
  return r;
}

EditCursorKind CursorForHandle(int handle) {
  switch (handle) {
    case kCropTopLeft:
    case kCropBottomRight:
      return kCursorSizeNWSE;
    case kCropTopRight:
    case kCropBottomLeft:
      return kCursorSizeNESW;
    case kCropLeft:
    case kCropRight:
      return kCursorSizeWE;
    case kCropTop:
    case kCropBottom:
      return kCursorSizeNS;
    default:
      return kCursorArrow;
  }
}

RECT CropInFullPixels(const RECT& box, int displayW, int displayH, int fullW, int fullH) {
  RECT r = ScaleRect(box, displayW, displayH, fullW, fullH);
  r.left = std::clamp<LONG>(r.left, 0, fullW);
  r.right = std::clamp<LONG>(r.right, 0, fullW);
  r.top = std::clamp<LONG>(r.top, 0, fullH);
  r.bottom = std::clamp<LONG>(r.bottom, 0, fullH);
  return r;
}

int BrightnessContrastArgument(int slider) { return (slider - 100) * 128 / 100; }

int HueSaturationArgument(int slider) { return (slider * 5 - 500) * 36 / 100; }

bool PhotoSizeAllowed(int w, int h) {
  if (w <= 64 || h <= 64) return false;
  return !(static_cast<double>(w) / h > 2.0 || static_cast<double>(h) / w > 2.0);
}

}  // namespace vmd
