#include "pano_bar_look.h"

namespace vmd {

namespace {

/// Three 60 x 40 buttons across the 222 x 67 bar.
constexpr int kButtonWidth = 60;
constexpr int kButtonHeight = 40;
constexpr int kButtonTop = 14;
constexpr int kButtonLefts[3] = {9, 81, 153};

void Line(HDC dc, int x0, int y0, int x1, int y1) {
  MoveToEx(dc, x0, y0, nullptr);
  LineTo(dc, x1, y1);
}

}  // namespace

RECT BarButtonRect(BarButtonKind kind) {
  const int left = kButtonLefts[static_cast<int>(kind)];
  return RECT{left, kButtonTop, left + kButtonWidth, kButtonTop + kButtonHeight};
}

void DrawBarBackground(HDC dc, const RECT& client) {
  HBRUSH brush = CreateSolidBrush(RGB(201, 200, 213));
  FillRect(dc, &client, brush);
  DeleteObject(brush);
  RECT edge = client;
  DrawEdge(dc, &edge, EDGE_RAISED, BF_RECT);
}

void DrawBarButton(HDC dc, BarButtonKind kind, int state, bool pressed) {
  RECT r = BarButtonRect(kind);
  FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
  DrawEdge(dc, &r, pressed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
  const bool disabled = state == 2;
  HPEN pen = CreatePen(PS_SOLID, 3, disabled ? RGB(160, 160, 160) : RGB(20, 20, 60));
  HGDIOBJ old = SelectObject(dc, pen);
  const int shift = pressed ? 1 : 0;
  const int cx = (r.left + r.right) / 2 + shift;
  const int cy = (r.top + r.bottom) / 2 + shift;
  switch (kind) {
    case BarButtonKind::kZoomIn:
      Line(dc, cx - 9, cy, cx + 10, cy);
      Line(dc, cx, cy - 9, cx, cy + 10);
      break;
    case BarButtonKind::kZoomOut:
      Line(dc, cx - 9, cy, cx + 10, cy);
      break;
    case BarButtonKind::kClose:
      Line(dc, cx - 8, cy - 8, cx + 9, cy + 9);
      Line(dc, cx + 8, cy - 8, cx - 9, cy + 9);
      break;
  }
  SelectObject(dc, old);
  DeleteObject(pen);
}

}  // namespace vmd
