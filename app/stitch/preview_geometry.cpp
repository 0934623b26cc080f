#include "preview_geometry.h"

#include <algorithm>
#include <cmath>

#include "image_ops.h"

namespace vmd {

namespace {

int Half(int extent) { return static_cast<int>(std::lround((extent + 1) / 2.0)); }

/// One direction of the zoomed view: centred when the reduced image is the
/// smaller, else filling the window from the clamped scroll position.
void ZoomAxis(int reduced, int client, int* scroll, LONG* start, LONG* end, bool* pannable) {
  if (reduced < client) {
    *scroll = 0;
    *pannable = false;
    *start = (client - reduced) / 2;
    *end = *start + reduced;
    return;
  }
  *pannable = reduced > client;
  *scroll = std::max(0, std::min(*scroll, reduced - client));
  *start = 0;
  *end = client;
}

}  // namespace

PreviewLayout LayoutPreview(const PreviewView& view, int imageW, int imageH, int clientW, int clientH) {
  PreviewLayout out{};
  out.factor = view.factor;
  out.scrollX = view.scrollX;
  out.scrollY = view.scrollY;
  if (view.fitMode) {
    out.scrollX = out.scrollY = 0;
    if (imageW <= clientW && imageH <= clientH) {
      const int left = Half(clientW) - Half(imageW), top = Half(clientH) - Half(imageH);
      out.imageRect = RECT{left, top, left + imageW, top + imageH};
      out.factor = 1;
      return out;
    }
    out.scaled = true;
    out.imageRect = FittedRect(imageW, imageH, RECT{0, 0, clientW, clientH});
    const double scale = std::max(static_cast<double>(imageW) / clientW, static_cast<double>(imageH) / clientH);
    out.factor = std::max(1, std::min(kPreviewMaxFactor, static_cast<int>(std::lround(scale))));
    return out;
  }
  const int factor = std::max(1, std::min(kPreviewMaxFactor, view.factor));
  out.factor = factor;
  ZoomAxis(imageW / factor, clientW, &out.scrollX, &out.imageRect.left, &out.imageRect.right, &out.pannableX);
  ZoomAxis(imageH / factor, clientH, &out.scrollY, &out.imageRect.top, &out.imageRect.bottom, &out.pannableY);
  return out;
}

ZoomStep PreviewZoomOutStep(int factor) {
  ZoomStep step{factor, ButtonChange::kKeep, ButtonChange::kKeep};
  if (factor <= 1) step.zoomIn = ButtonChange::kEnable;
  step.factor = factor + 1;
  if (step.factor >= kPreviewMaxFactor) {
    step.factor = kPreviewMaxFactor;
    step.zoomOut = ButtonChange::kDisable;
  }
  return step;
}

ZoomStep PreviewZoomInStep(int factor) {
  ZoomStep step{factor, ButtonChange::kKeep, ButtonChange::kKeep};
  if (factor >= kPreviewMaxFactor) step.zoomOut = ButtonChange::kEnable;
  step.factor = factor - 1;
  if (step.factor < 2) {
    step.factor = 1;
    step.zoomIn = ButtonChange::kDisable;
  }
  return step;
}

bool ZoomInStartsDisabled(int imageW, int imageH, int clientW, int clientH, int factor) {
  return imageW < clientW && imageH < clientH && factor == 1;
}

POINT PreviewToPanorama(const PreviewLayout& layout, int factor, bool fitMode, int imageW, int imageH,
                        POINT window) {
  const RECT& r = layout.imageRect;
  if (fitMode) {
    const int shownW = std::max<LONG>(1, r.right - r.left), shownH = std::max<LONG>(1, r.bottom - r.top);
    const LONG x = std::lround(static_cast<double>(window.x - r.left) * imageW / shownW);
    const LONG y = imageH - std::lround(static_cast<double>(imageH) * (window.y - r.top) / shownH);
    return POINT{x, y};
  }
  return POINT{factor * (layout.scrollX - r.left + window.x), imageH - factor * (layout.scrollY - r.top + window.y)};
}

bool PointOnImage(const PreviewLayout& layout, POINT window) {
  const RECT& r = layout.imageRect;
  return window.x >= r.left && window.x < r.right && window.y >= r.top && window.y < r.bottom;
}

int PickKindOf(long firstColumn, long firstRow, long secondColumn, long secondRow) {
  if (firstColumn < 0 || secondColumn < 0) return 0;
  if (firstColumn != secondColumn && firstRow == secondRow) return 1;
  if (firstColumn == secondColumn && firstRow != secondRow) return 2;
  return 0;
}

}  // namespace vmd
