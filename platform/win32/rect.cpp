// The rectangle functions, with Win32's rules: right and bottom are exclusive,
// and a rectangle whose right <= left or bottom <= top is empty.
#include "win32_subset.h"

extern "C" {

BOOL SetRect(LPRECT rect, int left, int top, int right, int bottom) {
  if (!rect) return FALSE;
  *rect = RECT{left, top, right, bottom};
  return TRUE;
}

BOOL SetRectEmpty(LPRECT rect) { return SetRect(rect, 0, 0, 0, 0); }

BOOL CopyRect(LPRECT dst, LPCRECT src) {
  if (!dst || !src) return FALSE;
  *dst = *src;
  return TRUE;
}

BOOL IsRectEmpty(LPCRECT rect) {
  return !rect || rect->right <= rect->left || rect->bottom <= rect->top;
}

BOOL EqualRect(LPCRECT a, LPCRECT b) {
  if (!a || !b) return FALSE;
  return a->left == b->left && a->top == b->top && a->right == b->right &&
         a->bottom == b->bottom;
}

BOOL PtInRect(LPCRECT rect, POINT p) {
  return rect && p.x >= rect->left && p.x < rect->right && p.y >= rect->top &&
         p.y < rect->bottom;
}

BOOL OffsetRect(LPRECT rect, int dx, int dy) {
  if (!rect) return FALSE;
  rect->left += dx;
  rect->right += dx;
  rect->top += dy;
  rect->bottom += dy;
  return TRUE;
}

BOOL InflateRect(LPRECT rect, int dx, int dy) {
  if (!rect) return FALSE;
  rect->left -= dx;
  rect->right += dx;
  rect->top -= dy;
  rect->bottom += dy;
  return TRUE;
}

BOOL IntersectRect(LPRECT dst, LPCRECT a, LPCRECT b) {
  if (!dst || !a || !b) return FALSE;
  RECT r{a->left > b->left ? a->left : b->left, a->top > b->top ? a->top : b->top,
         a->right < b->right ? a->right : b->right,
         a->bottom < b->bottom ? a->bottom : b->bottom};
  if (IsRectEmpty(&r)) {
    SetRectEmpty(dst);
    return FALSE;
  }
  *dst = r;
  return TRUE;
}

BOOL UnionRect(LPRECT dst, LPCRECT a, LPCRECT b) {
  if (!dst || !a || !b) return FALSE;
  bool aEmpty = IsRectEmpty(a), bEmpty = IsRectEmpty(b);
  if (aEmpty && bEmpty) {
    SetRectEmpty(dst);
    return FALSE;
  }
  if (aEmpty) return CopyRect(dst, b);
  if (bEmpty) return CopyRect(dst, a);
  *dst = RECT{a->left < b->left ? a->left : b->left, a->top < b->top ? a->top : b->top,
              a->right > b->right ? a->right : b->right,
              a->bottom > b->bottom ? a->bottom : b->bottom};
  return TRUE;
}

int SetDIBitsToDevice(HDC, int, int, DWORD, DWORD, int, int, UINT, UINT, const void*,
                      const BITMAPINFO*, UINT) {
  return 0;
}

int StretchDIBits(HDC, int, int, int, int, int, int, int, int, const void*, const BITMAPINFO*,
                  UINT, DWORD) {
  return 0;
}

}  // extern "C"
