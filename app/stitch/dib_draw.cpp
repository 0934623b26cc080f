// Drawing DIBs unscaled and fitted into a rectangle.
#include "dib_access.h"
#include "image_ops.h"

namespace vmd {

RECT FittedRect(int imageW, int imageH, const RECT& area) {
  int areaW = area.right - area.left, areaH = area.bottom - area.top;
  int w, h;
  FitSize(imageW, imageH, areaW, areaH, true, &w, &h);
  int dx = areaW - w, dy = areaH - h;
  RECT r;
  r.left = area.left + (dx >= 2 ? dx / 2 : 0);
  r.top = area.top + (dy >= 2 ? dy / 2 : 0);
  r.right = r.left + w;
  r.bottom = r.top + h;
  return r;
}

int DrawDib(HDC dc, HGLOBAL dib, int x, int y) {
  LockedDib d(dib);
  if (!d.ok) return 0;
  int lines = SetDIBitsToDevice(dc, x, y, d.width, d.height, 0, 0, 0, d.height, d.bits,
                                reinterpret_cast<const BITMAPINFO*>(d.header), DIB_RGB_COLORS);
  return lines > 0 ? 1 : 0;
}

int DrawDibFitted(HDC dc, HGLOBAL dib, const RECT& area, RECT* drawn) {
  int w = 0, h = 0;
  if (!DibSize(dib, &w, &h) || w < 1 || h < 1) return 0;
  if (area.right <= area.left || area.bottom <= area.top) return 0;
  RECT place = FittedRect(w, h, area);
  if (drawn != nullptr) *drawn = place;
  int placeW = place.right - place.left, placeH = place.bottom - place.top;
  if (placeW == w && placeH == h) return DrawDib(dc, dib, place.left, place.top);
  HGLOBAL scaled = ScaleDib(dib, placeW, placeH, false, true);
  if (scaled == nullptr) return 0;
  int result = DrawDib(dc, scaled, place.left, place.top);
  GlobalFree(scaled);
  return result;
}

}  // namespace vmd
