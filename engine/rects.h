#ifndef ENGINE_RECTS_H
#define ENGINE_RECTS_H

/// Rectangles for the whole engine, on the Win32 layer's rectangle functions.

#include "seamcore.h"

namespace seam {

/// The overlap of two rectangles; all zero when they do not meet.
inline RECT IntersectRects(const RECT& a, const RECT& b) {
  RECT r;
  IntersectRect(&r, &a, &b);
  return r;
}
/// The smallest rectangle holding both; an empty one adds nothing.
inline RECT UniteRects(const RECT& a, const RECT& b) {
  RECT r;
  UnionRect(&r, &a, &b);
  return r;
}
inline bool RectEmpty(const RECT& r) { return r.right <= r.left || r.bottom <= r.top; }

}  // namespace seam

#endif  // ENGINE_RECTS_H
