#include "viewer_state.h"

#include <cstring>

namespace vmd {

namespace {

/// The pixel rows of a locked DIB: after the header and its colour table.
const uint8_t* DibBits(const BITMAPINFOHEADER* header) {
  size_t colours = header->biClrUsed;
  if (colours == 0 && header->biBitCount <= 8) colours = size_t(1) << header->biBitCount;
  return reinterpret_cast<const uint8_t*>(header) + header->biSize + colours * sizeof(RGBQUAD);
}

/// True when `header` describes a 24-bit DIB whose rows fit in `bytes`.
bool Usable24(const BITMAPINFOHEADER* header, size_t bytes) {
  if (bytes < sizeof(BITMAPINFOHEADER) || header->biSize < sizeof(BITMAPINFOHEADER)) return false;
  if (header->biBitCount != 24 || header->biCompression != BI_RGB) return false;
  const int w = static_cast<WORD>(header->biWidth);
  const int h = static_cast<WORD>(header->biHeight);
  if (w <= 0 || h <= 0) return false;
  return header->biSize + size_t(Stride24(w)) * h <= bytes;
}

}  // namespace

bool OpenViewerState(HGLOBAL source, ViewerState* state) {
  *state = ViewerState();
  const auto* header = static_cast<const BITMAPINFOHEADER*>(GlobalLock(source));
  if (!header) return false;
  if (!Usable24(header, GlobalSize(source))) {
    GlobalUnlock(source);
    return false;
  }
  const int w = static_cast<WORD>(header->biWidth);
  const int h = static_cast<WORD>(header->biHeight);
  GlobalUnlock(source);
  state->source = source;
  state->width = w;
  state->height = h;
  state->pose.pan = w / 2;
  state->pose.tilt = 0;
  state->pose.atTiltLimit = 1;
  state->zoomInState = kButtonEnabled;
  state->zoomOutState = kButtonDisabled;
  return BuildViewTables(w, h, state->zoom, &state->tables);
}

void CloseViewerState(ViewerState* state) {
  if (state->view) GlobalFree(state->view);
  state->view = nullptr;
  FreeViewTables(&state->tables);
  state->source = nullptr;
}

HGLOBAL RenderViewDib(HGLOBAL source, const ViewTables& tables, ViewPose* pose) {
  if (!source || tables.sourceWidth <= 0 || tables.sourceHeight <= 0) return nullptr;
  const auto* header = static_cast<const BITMAPINFOHEADER*>(GlobalLock(source));
  if (!header) return nullptr;
  if (!Usable24(header, GlobalSize(source)) ||
      static_cast<WORD>(header->biWidth) != tables.sourceWidth ||
      static_cast<WORD>(header->biHeight) != tables.sourceHeight) {
    GlobalUnlock(source);
    return nullptr;
  }
  const DWORD imageSize = DWORD(Stride24(kViewWidth)) * kViewHeight;
  HGLOBAL view = GlobalAlloc(GMEM_MOVEABLE, sizeof(BITMAPINFOHEADER) + imageSize);
  auto* out = view ? static_cast<BITMAPINFOHEADER*>(GlobalLock(view)) : nullptr;
  if (!out) {
    if (view) GlobalFree(view);
    GlobalUnlock(source);
    return nullptr;
  }
  *out = *header;
  out->biSize = sizeof(BITMAPINFOHEADER);
  out->biWidth = kViewWidth;
  out->biHeight = kViewHeight;
  out->biSizeImage = imageSize;
  out->biYPelsPerMeter = header->biXPelsPerMeter;
  out->biClrUsed = 0;
  out->biClrImportant = 0;
  RenderView(tables, DibBits(header), pose, reinterpret_cast<uint8_t*>(out + 1));
  GlobalUnlock(view);
  GlobalUnlock(source);
  return view;
}

bool ViewStep(ViewerState* state) {
  state->pose.pan += state->stepX;
  state->pose.tilt += state->stepY;
  HGLOBAL view = RenderViewDib(state->source, state->tables, &state->pose);
  if (!view) return false;
  if (state->view) GlobalFree(state->view);
  state->view = view;
  return true;
}

void ZoomIn(ViewerState* state) {
  FreeViewTables(&state->tables);
  state->zoom += kZoomStep;
  if (state->zoom >= kMaxZoom) {
    state->zoom = kMaxZoom;
    state->zoomInState = kButtonDisabled;
  }
  state->zoomOutState = kButtonEnabled;
  BuildViewTables(state->width, state->height, state->zoom, &state->tables);
}

void ZoomOut(ViewerState* state) {
  FreeViewTables(&state->tables);
  state->zoom -= kZoomStep;
  if (state->zoom <= kMinZoom) {
    state->zoom = kMinZoom;
    state->zoomOutState = kButtonDisabled;
  }
  state->zoomInState = kButtonEnabled;
  BuildViewTables(state->width, state->height, state->zoom, &state->tables);
}

int DragCursor(int stepX, int stepY, bool atTiltLimit) {
  if (stepX == 0) {
    if (stepY == 0) return kCursorGrab;
    return stepY > 0 ? kCursorTurnDown : kCursorTurnUp;
  }
  const bool right = stepX > 0;
  const int horizontal = right ? kCursorTurnRight : kCursorTurnLeft;
  if (stepY == 0 || atTiltLimit) return horizontal;
  if (right) return stepY < 0 ? kCursorTurnUpRight : kCursorTurnDownRight;
  return stepY < 0 ? kCursorTurnUpLeft : kCursorTurnDownLeft;
}

HGLOBAL ExpandPalette8To24(HGLOBAL dib) {
  const auto* header = static_cast<const BITMAPINFOHEADER*>(GlobalLock(dib));
  if (!header) return nullptr;
  const size_t bytes = GlobalSize(dib);
  if (bytes < sizeof(BITMAPINFOHEADER)) {
    GlobalUnlock(dib);
    return nullptr;
  }
  const int w = static_cast<WORD>(header->biWidth);
  const int h = static_cast<WORD>(header->biHeight);
  const int inStride = (w + 3) & ~3;
  size_t colours = header->biClrUsed ? header->biClrUsed : 256;
  if (colours > 256) colours = 256;
  const bool usable = bytes >= sizeof(BITMAPINFOHEADER) && header->biSize >= 40 &&
                      header->biBitCount == 8 && header->biCompression == BI_RGB && w > 0 &&
                      h > 0 &&
                      header->biSize + colours * sizeof(RGBQUAD) + size_t(inStride) * h <= bytes;
  HGLOBAL out = nullptr;
  if (usable) out = GlobalAlloc(GMEM_MOVEABLE, sizeof(BITMAPINFOHEADER) + size_t(Stride24(w)) * h);
  auto* o = out ? static_cast<BITMAPINFOHEADER*>(GlobalLock(out)) : nullptr;
  if (!o) {
    if (out) GlobalFree(out);
    GlobalUnlock(dib);
    return nullptr;
  }
  const auto* palette =
      reinterpret_cast<const RGBQUAD*>(reinterpret_cast<const uint8_t*>(header) + header->biSize);
  const uint8_t* in = reinterpret_cast<const uint8_t*>(palette + colours);
  *o = *header;
  o->biSize = sizeof(BITMAPINFOHEADER);
  o->biBitCount = 24;
  o->biSizeImage = DWORD(Stride24(w)) * h;
  o->biClrUsed = 0;
  o->biClrImportant = 0;
  auto* pixels = reinterpret_cast<uint8_t*>(o + 1);
  for (int y = 0; y < h; ++y) {
    const uint8_t* src = in + size_t(y) * inStride;
    uint8_t* dst = pixels + size_t(y) * Stride24(w);
    std::memset(dst, 0, Stride24(w));
    for (int x = 0; x < w; ++x) {
      const RGBQUAD c = src[x] < colours ? palette[src[x]] : RGBQUAD{0, 0, 0, 0};
      dst[3 * x] = c.rgbBlue;
      dst[3 * x + 1] = c.rgbGreen;
      dst[3 * x + 2] = c.rgbRed;
    }
  }
  GlobalUnlock(out);
  GlobalUnlock(dib);
  return out;
}

}  // namespace vmd
