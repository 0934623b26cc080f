#include "detail_bar.h"

namespace vmd {

namespace {

constexpr int kButtonSize = 46;
constexpr int kGap = 24;
constexpr int kTop = 10;
constexpr int kFirstLeft = (222 - 3 * kButtonSize - 2 * kGap) / 2;

RECT ButtonRect(int index) {
  int left = kFirstLeft + index * (kButtonSize + kGap);
  return {left, kTop, left + kButtonSize, kTop + kButtonSize};
}

void DrawSymbol(HDC dc, const RECT& r, int button, COLORREF colour) {
  HPEN pen = CreatePen(PS_SOLID, 4, colour);
  HGDIOBJ old = SelectObject(dc, pen);
  int cx = (r.left + r.right) / 2, cy = (r.top + r.bottom) / 2, arm = 12;
  if (button == kBarClose) {
    MoveToEx(dc, cx - arm + 2, cy - arm + 2, nullptr);
    LineTo(dc, cx + arm - 2, cy + arm - 2);
    MoveToEx(dc, cx + arm - 2, cy - arm + 2, nullptr);
    LineTo(dc, cx - arm + 2, cy + arm - 2);
  } else {
    MoveToEx(dc, cx - arm, cy, nullptr);
    LineTo(dc, cx + arm, cy);
    if (button == kBarZoomIn) {
      MoveToEx(dc, cx, cy - arm, nullptr);
      LineTo(dc, cx, cy + arm);
    }
  }
  SelectObject(dc, old);
  DeleteObject(pen);
}

}  // namespace

DetailBarButton DetailBarButtonAt(POINT point) {
  for (int i = 0; i < 3; ++i) {
    RECT r = ButtonRect(i);
    if (PtInRect(&r, point)) return static_cast<DetailBarButton>(i);
  }
  return kBarNone;
}

void PaintDetailBar(HDC dc, const RECT& client, DetailBarButton pressed, unsigned disabled) {
  HBRUSH panel = CreateSolidBrush(RGB(201, 200, 213));
  FillRect(dc, &client, panel);
  DeleteObject(panel);
  RECT frame = client;
  DrawEdge(dc, &frame, EDGE_RAISED, BF_RECT);
  for (int i = 0; i < 3; ++i) {
    RECT r = ButtonRect(i);
    HBRUSH face = CreateSolidBrush(RGB(236, 236, 242));
    FillRect(dc, &r, face);
    DeleteObject(face);
    DrawEdge(dc, &r, i == pressed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
    bool off = (disabled & (1u << i)) != 0;
    DrawSymbol(dc, r, i, off ? RGB(160, 160, 170) : RGB(40, 40, 72));
  }
}

}  // namespace vmd
