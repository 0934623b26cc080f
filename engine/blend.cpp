#include "blend.h"

#include <algorithm>
#include <climits>
#include <cmath>

#include "arrange.h"
#include "exposure.h"
#include "focal.h"
#include "full_circle.h"
#include "progress.h"
#include "refine.h"
#include "seam.h"
#include "vector_clones.h"

namespace seam {

namespace {

constexpr double kTwoPi = 6.283185307179586;
constexpr double kInverseTwoPi = 0.15915494309189535;
constexpr int kEmptyFirst = INT_MAX;
constexpr int kEmptyLast = -INT_MAX;
// Canvas columns of one turn beyond which no canvas could be allocated.
constexpr double kLongestTurn = 1 << 28;

inline uint8_t ClampByte(int v) { return static_cast<uint8_t>(v < 0 ? 0 : (v > 255 ? 255 : v)); }

bool Meets(const RECT& a, const RECT& b) { return !RectEmpty(IntersectRects(a, b)); }

// Outline of a w x h photo, 2 (w + h) points: along the first stored row,
// up the last column, back along the last row, down the first column.
template <typename Visit>
void WalkBorder(int w, int h, Visit visit) {
  for (int x = 0; x < w; ++x) visit(x, 0);
  for (int y = 0; y < h; ++y) visit(w - 1, y);
  for (int x = w - 1; x >= 0; --x) visit(x, h - 1);
  for (int y = h - 1; y >= 0; --y) visit(0, y);
}

// Percentages of one Blend call: 50 to exactly 100.
struct BlendProgress {
  ProgressReporter reporter;
  int start = 50;
  int end = 50;
  explicit BlendProgress(StitchProgressProc callback) : reporter(callback, 50, 100) {}
  bool Percent(int percent) { return reporter.Percent(percent); }
  static bool Rows(void* self, double fraction) {
    auto* p = static_cast<BlendProgress*>(self);
    return p->Percent(p->start + static_cast<int>((p->end - p->start) * fraction));
  }
};

// A 24-bit image with its 8-bit mask over one canvas rectangle, locked for
// as long as it lives.
struct MaskedImage {
  RECT rect{0, 0, 0, 0};
  EngineDib image;
  EngineDib mask;
  bool locked = false;
  /// `clear` whitens the image and empties the mask; a layer that RenderPhoto
  /// draws in full needs neither.
  bool Make(const RECT& r, bool clear = true) {
    rect = r;
    const int w = r.right - r.left;
    const int h = r.bottom - r.top;
    if (!image.Create(w, h, 24) || !mask.Create(w, h, 8)) return false;
    if (!image.Lock()) return false;
    if (!mask.Lock()) {
      image.Unlock();
      return false;
    }
    locked = true;
    if (clear) {
      image.Fill(255);
      mask.Fill(0);
    }
    return true;
  }
  PixelView View() const { return image.View(); }
  PixelView MaskView() const { return mask.View(); }
  void Unlock() {
    if (!locked) return;
    image.Unlock();
    mask.Unlock();
    locked = false;
  }
  ~MaskedImage() { Unlock(); }
};

bool ColumnIncomplete(const PixelView& m, int x, int y0, int y1) {
  for (int y = y0; y < y1; ++y)
    if (!m.Row(y)[x]) return true;
  return false;
}
bool RowIncomplete(const PixelView& m, int y, int x0, int x1) {
  const uint8_t* row = m.Row(y);
  for (int x = x0; x < x1; ++x)
    if (!row[x]) return true;
  return false;
}
int ColumnCoverage(const PixelView& m, int x, int y0, int y1) {
  int n = 0;
  for (int y = y0; y < y1; ++y) n += m.Row(y)[x] != 0;
  return n;
}
int RowCoverage(const PixelView& m, int y, int x0, int x1) {
  const uint8_t* row = m.Row(y);
  int n = 0;
  for (int x = x0; x < x1; ++x) n += row[x] != 0;
  return n;
}

// The coverage rules leave up to a tenth of a border line uncovered; a crop
// that is offered to the user as the picture should hold no white pixel, so
// the edge with the most uncovered pixels moves inward, as long as no side
// gives up more than a fifth.
void TightenCrop(const PixelView& m, bool keepColumns, RECT* crop) {
  const int w = m.width;
  const int h = m.height;
  for (;;) {
    if (crop->right <= crop->left || crop->bottom <= crop->top) return;
    const int x0 = crop->left, x1 = crop->right, y0 = crop->top, y1 = crop->bottom;
    const int missing[4] = {
        keepColumns ? 0 : (y1 - y0) - ColumnCoverage(m, x0, y0, y1),
        (x1 - x0) - RowCoverage(m, y0, x0, x1),
        keepColumns ? 0 : (y1 - y0) - ColumnCoverage(m, x1 - 1, y0, y1),
        (x1 - x0) - RowCoverage(m, y1 - 1, x0, x1),
    };
    const bool movable[4] = {x0 + 1 <= w / 5, y0 + 1 <= h / 5, x1 - 1 >= w - w / 5,
                             y1 - 1 >= h - h / 5};
    int best = -1;
    for (int side = 0; side < 4; ++side)
      if (missing[side] > 0 && movable[side] && (best < 0 || missing[side] > missing[best]))
        best = side;
    if (best < 0) return;
    if (best == 0) ++crop->left;
    if (best == 1) ++crop->top;
    if (best == 2) --crop->right;
    if (best == 3) --crop->bottom;
  }
}

}  // namespace

int RenderLevel(const StitchMatrix& matrix, const StitchOptions& options) {
  return std::min(std::max(static_cast<int>(options.detail), 0), CommonCoarsestLevel(matrix));
}

RenderSetup MakeRenderSetup(const StitchMatrix& matrix, const StitchOptions& options) {
  RenderSetup s;
  s.level = RenderLevel(matrix, options);
  s.scale = 1 << s.level;
  s.focal = options.focal / s.scale;
  // A focal length that is not a positive number, or one so long that a turn
  // would not fit an int, leaves the circumference at 0: nothing can be rendered.
  const double turn = kTwoPi * options.focal / s.scale + 0.5;
  s.circumference = (turn >= 1 && turn < kLongestTurn) ? static_cast<int>(turn) : 0;
  s.radius = s.circumference * kInverseTwoPi;
  s.heightLimit = static_cast<int>(s.radius * 5);
  if (matrix.layout == kLayoutColumn) {
    s.quarterTurned = true;
    // The column turns about its photos' mean sideways axis: that becomes
    // the cylinder's axis, pointing down (the column's left is the canvas's
    // bottom), and the photos' mean view, square to it, the start's view.
    Vec3 sideways, view;
    for (int i = 0; i < matrix.columns * matrix.rows; ++i) {
      const StitchElement& e = matrix.elements[i];
      if (!e.pyramid) continue;
      const Mat3 m = Mat3::From(e.orientation);
      sideways = Add(sideways, m.Column(0));
      view = Add(view, Scale(m.Column(2), -1));
    }
    sideways = Normalize(sideways);
    const Vec3 axis = Scale(sideways, -1);
    const Vec3 back = Scale(Normalize(Add(view, Scale(sideways, -Dot(view, sideways)))), -1);
    const Vec3 across = Cross(axis, back);
    const double rows[9] = {across.x, across.y, across.z, axis.x, axis.y, axis.z,
                            back.x,   back.y,   back.z};
    const Mat3 q = Mat3::From(rows);
    // Then a turn about the vertical puts the furthest corner on the side of
    // the first photo at angle 0, as for a row.
    double d = 0;
    for (int i = 0; i < matrix.columns * matrix.rows; ++i) {
      const StitchElement& e = matrix.elements[i];
      if (!e.pyramid) continue;
      const Mat3 m = Multiply(q, Mat3::From(e.orientation));
      const double hx = (e.pyramid->width - 1) / 2.0, hy = (e.pyramid->height - 1) / 2.0;
      for (int corner = 0; corner < 4; ++corner) {
        const Vec3 c = Multiply(m, Vec3{corner & 1 ? hx : -hx, corner & 2 ? hy : -hy, -options.focal});
        const double horizontal = std::sqrt(c.x * c.x + c.z * c.z);
        if (horizontal > 0 && c.x / horizontal < d) d = c.x / horizontal;
      }
    }
    const double e = std::sqrt(1 - d * d);
    const double yaw[9] = {e, 0, d, 0, 1, 0, -d, 0, e};
    s.turn = Multiply(Mat3::From(yaw), q);
  }
  return s;
}

Mat3 RenderOrientation(const RenderSetup& setup, const StitchElement& element) {
  const Mat3 own = Mat3::From(element.orientation);
  return setup.quarterTurned ? Multiply(setup.turn, own) : own;
}

bool TurnCanvasUpright(EngineDib& canvas, EngineDib& upright, RECT* crop) {
  DibLock lock(canvas);
  if (!lock.Locked()) return false;
  const PixelView from = canvas.View();
  const int w = from.width, h = from.height;
  if (!upright.Create(h, w, 24)) return false;
  DibLock uprightLock(upright);
  if (!uprightLock.Locked()) return false;
  const PixelView to = upright.View();
  for (int y = 0; y < w; ++y) {
    uint8_t* out = to.Row(y);
    for (int x = 0; x < h; ++x) {
      const uint8_t* in = from.Row(h - 1 - x) + 3 * y;
      out[3 * x] = in[0];
      out[3 * x + 1] = in[1];
      out[3 * x + 2] = in[2];
    }
    std::fill(out + 3 * h, out + to.stride, uint8_t{0});
  }
  const RECT c = *crop;
  *crop = RECT{h - c.bottom, c.left, h - c.top, c.right};
  return true;
}

POINT QuarterTurnedCanvasPoint(POINT upright, int canvasHeight) {
  POINT p;
  p.x = upright.y;
  p.y = canvasHeight - 1 - upright.x;
  return p;
}

bool FootprintFromOutline(std::vector<OutlinePoint>& outline, int circumference, bool withAngles,
                          PhotoFootprint* fp) {
  fp->present = false;
  if (outline.empty()) return true;
  int lo = INT_MAX, hi = INT_MIN;
  for (const OutlinePoint& p : outline) lo = std::min(lo, p.column), hi = std::max(hi, p.column);
  if (hi - lo > circumference / 2)
    for (OutlinePoint& p : outline)
      if (p.column < circumference / 2) p.column += circumference;
  RECT r{INT_MAX, INT_MAX, INT_MIN, INT_MIN};
  for (const OutlinePoint& p : outline) {
    r.left = std::min<LONG>(r.left, p.column);
    r.right = std::max<LONG>(r.right, p.column + 1);
    r.top = std::min<LONG>(r.top, p.row);
    r.bottom = std::max<LONG>(r.bottom, p.row + 1);
  }
  fp->rect = r;
  const size_t width = static_cast<size_t>(r.right - r.left);
  if (!fp->first.Reset(width) || !fp->last.Reset(width)) return false;
  fp->first.Fill(kEmptyFirst);
  fp->last.Fill(kEmptyLast);
  if (withAngles) {
    if (!fp->angleFirst.Reset(width) || !fp->angleLast.Reset(width)) return false;
    fp->angleFirst.Fill(0);
    fp->angleLast.Fill(0);
  }
  auto lower = [&](int column, int row, double angle) {
    const size_t i = static_cast<size_t>(column - r.left);
    if (row < fp->first[i]) {
      fp->first[i] = row;
      if (withAngles) fp->angleFirst[i] = angle;
    }
  };
  auto raise = [&](int column, int row, double angle) {
    const size_t i = static_cast<size_t>(column - r.left);
    if (row > fp->last[i]) {
      fp->last[i] = row;
      if (withAngles) fp->angleLast[i] = angle;
    }
  };
  const size_t n = outline.size();
  for (size_t k = 0; k < n; ++k) {
    const OutlinePoint& p = outline[k];
    const OutlinePoint& q = outline[(k + 1) % n];
    lower(p.column, p.row, p.angle);
    raise(p.column, p.row, p.angle);
    if (std::abs(p.column - q.column) <= 1) continue;
    const OutlinePoint& higher = p.row >= q.row ? p : q;
    const OutlinePoint& lowerEnd = p.row >= q.row ? q : p;
    const int from = std::min(p.column, q.column) + 1;
    const int to = std::max(p.column, q.column);
    for (int c = from; c < to; ++c) {
      lower(c, higher.row, higher.angle);
      raise(c, lowerEnd.row, lowerEnd.angle);
    }
  }
  fp->present = true;
  return true;
}

bool ProjectFootprint(const StitchPyramid& pyramid, const Mat3& orientation,
                      const RenderSetup& setup, PhotoFootprint* fp) {
  const int w = pyramid.width >> setup.level;
  const int h = pyramid.height >> setup.level;
  const double ex = (pyramid.width - 1) / 2.0 / setup.scale;
  const double ey = (pyramid.height - 1) / 2.0 / setup.scale;
  const int c = std::max(setup.circumference, 1);
  std::vector<OutlinePoint> outline;
  outline.reserve(static_cast<size_t>(2 * (w + h)));
  WalkBorder(w, h, [&](int x, int y) {
    const UnrolledPoint p =
        PhotoRayToUnrolled(orientation, Vec3{x - ex, y - ey, setup.focal}, setup.radius);
    int column = static_cast<int>(p.u + 0.5) % c;
    long row = std::lround(p.v);
    row = std::clamp<long>(row, -setup.heightLimit, setup.heightLimit);
    outline.push_back({column, static_cast<int>(row), 0.0});
  });
  return FootprintFromOutline(outline, c, false, fp);
}

bool ComputeFootprints(StitchMatrix& matrix, const RenderSetup& setup,
                       std::vector<PhotoFootprint>& footprints, RECT* canvas) {
  const int cells = matrix.columns * matrix.rows;
  footprints.clear();
  footprints.resize(static_cast<size_t>(std::max(cells, 0)));
  RECT u{0, 0, 0, 0};
  for (int i = 0; i < cells; ++i) {
    const StitchElement& e = matrix.elements[i];
    if (!e.pyramid) continue;
    if (!ProjectFootprint(*e.pyramid, RenderOrientation(setup, e), setup,
                          &footprints[static_cast<size_t>(i)]))
      return false;
    u = UniteRects(u, footprints[static_cast<size_t>(i)].rect);
  }
  *canvas = u;
  return true;
}

RECT CropRectangle(const PixelView& m, int layout) {
  const int w = m.width;
  const int h = m.height;
  RECT crop{0, 0, w, h};
  if (w <= 0 || h <= 0) return crop;
  if (layout == kLayoutColumn) {
    int left = 0;
    while (left < w / 5 && ColumnIncomplete(m, left, h / 10, 9 * h / 10)) ++left;
    int j = w - 1;
    while (j > 4 * w / 5 && ColumnIncomplete(m, j, h / 10, 9 * h / 10)) --j;
    const int right = j + 1;
    const int t = (right - left) * 9 / 10;
    int top = h / 5;
    for (int r = 0; r < h / 5; ++r)
      if (RowCoverage(m, r, left, right) > t) {
        top = r;
        break;
      }
    int i = h - 1;
    while (i > h - h / 5 && RowCoverage(m, i, left, right) <= t) --i;
    crop = RECT{left, top, right, i + 1};
  } else {
    int top = 0;
    while (top < h / 5 && RowIncomplete(m, top, w / 10, 9 * w / 10)) ++top;
    int i = h - 1;
    while (i > h - h / 5 && RowIncomplete(m, i, w / 10, 9 * w / 10)) --i;
    const int bottom = i + 1;
    if (layout == kLayoutCircle) {
      crop = RECT{0, top, w, bottom};
    } else {
      const int t = (bottom - top) * 9 / 10;
      int left = w / 5;
      for (int c = 0; c < w / 5; ++c)
        if (ColumnCoverage(m, c, top, bottom) > t) {
          left = c;
          break;
        }
      int j = w - 1;
      while (j > 4 * w / 5 && ColumnCoverage(m, j, top, bottom) <= t) --j;
      crop = RECT{left, top, j + 1, bottom};
    }
  }
  TightenCrop(m, layout == kLayoutCircle, &crop);
  return crop;
}

ColumnMapping ColumnMapping::For(const Mat3& m, double radius, double u) {
  // The canvas point (u, v) is (R sin q, v, -R cos q) in space; in the camera
  // frame that is M^T (R sin q, 0, -R cos q) + v x (second row of M), the
  // same turn and projection as UnrolledToPhotoPixel, split by height.
  const double q = u / radius;
  const Vec3 onAxis = Multiply(Transposed(m), Vec3{radius * std::sin(q), 0, -radius * std::cos(q)});
  ColumnMapping c;
  c.base = onAxis;
  c.perRow = Vec3{m(1, 0), m(1, 1), m(1, 2)};
  c.nearPlane = -1e-6 * (radius > 0 ? radius : 1);
  return c;
}

bool ColumnMapping::Map(double v, double imageDistance, double* x, double* y) const {
  const double cx = base.x + v * perRow.x;
  const double cy = base.y + v * perRow.y;
  const double cz = base.z + v * perRow.z;
  if (!(cz < nearPlane)) return false;
  const double k = -imageDistance / cz;
  *x = k * cx;
  *y = k * cy;
  return true;
}

namespace {

// The straight columns' mappings of one photo, one array entry a column.
struct RowMapping {
  const double* rowsFrom;    // the column's first row
  const double* heightAt;    // its source height there
  const double* heightStep;  // and per row
  const double* baseX;       // ColumnMapping::base, by coordinate
  const double* baseY;
  const double* baseZ;
  Vec3 perRow;
  double imageDistance;
  double cx, cy;  // the photo's centre
};

// Where one row of straight columns reads the photo: each column's point
// mapped into the photo, then the upper-left pixel of its bilinear square (its row, or -1 where the column draws nothing
// in this row, and its byte within that row) and the fractions across and
// down in 256ths. Both range tests are made in floating point, so that a
// point far off the photo never reaches the integer conversion. One loop the
// compiler vectorises.
struct RowSamples {
  int32_t* row;
  int32_t* byte;
  int32_t* across;
  int32_t* down;
};

SEAM_VECTOR_CLONES void LocateRow(const RowMapping& m, const int32_t* __restrict firstRow,
                                  const int32_t* __restrict lastRow, int y, int count,
                                  double nearPlane, double xLimit, double yLimit,
                                  const RowSamples& out) {
  int32_t* __restrict rowOf = out.row;
  int32_t* __restrict byte = out.byte;
  int32_t* __restrict across = out.across;
  int32_t* __restrict down = out.down;
  const double row = y;
  for (int i = 0; i < count; ++i) {
    // ColumnMapping::Map's arithmetic, operation for operation; the depth
    // decides whether the point is in front.
    const double v = m.heightAt[i] + (row - m.rowsFrom[i]) * m.heightStep[i];
    const double cz = m.baseZ[i] + v * m.perRow.z;
    const double k = -m.imageDistance / cz;
    const double sx = k * (m.baseX[i] + v * m.perRow.x) + m.cx;
    const double sy = k * (m.baseY[i] + v * m.perRow.y) + m.cy;
    const bool in = (y >= firstRow[i]) & (y <= lastRow[i]) & (cz < nearPlane) & (sx >= 0) &
                    (sy >= 0) & (sx < xLimit) & (sy < yLimit);
    const double ux = in ? sx : 0.0, uy = in ? sy : 0.0;
    const int32_t X = static_cast<int32_t>(ux), Y = static_cast<int32_t>(uy);
    rowOf[i] = in ? Y : -1;
    byte[i] = 3 * X;
    across[i] = static_cast<int32_t>((ux - X) * 256);
    down[i] = static_cast<int32_t>((uy - Y) * 256);
  }
}

// What RenderPhoto works out once per canvas column.
struct ColumnPlan {
  ColumnMapping mapping;
  double sv0 = 0, sdv = 1;  // source height at the first row, and per row
  double a0 = 0, slope = 0;  // closure angle at the first row, and per row
  int y0 = 0, y1 = -1;
  int offset = 0;
  bool straight = true;
};

}  // namespace

long RenderPhoto(const PixelView& photo, const PhotoFootprint& fp, const Mat3& orientation,
                 const RenderSetup& setup, int exposureOffset, const ExposureRamp* ramp,
                 const ClosureCorrection* closure, const PixelView& layer,
                 const PixelView& layerMask, bool (*report)(void*, double), void* context) {
  const int w = photo.width;
  const int h = photo.height;
  const double cx = (w - 1) / 2.0;
  const double cy = (h - 1) / 2.0;
  const int width = fp.Width();
  std::vector<ColumnPlan> plans(static_cast<size_t>(std::max(width, 0)));
  for (int x = fp.rect.left; x < fp.rect.right; ++x) {
    const int i = x - fp.rect.left;
    ColumnPlan& plan = plans[static_cast<size_t>(i)];
    plan.y0 = fp.first[static_cast<size_t>(i)];
    plan.y1 = fp.last[static_cast<size_t>(i)];
    if (plan.y0 > plan.y1) continue;
    plan.offset = exposureOffset + (ramp ? ramp->At(x) : 0);
    if (closure) {
      plan.a0 = fp.angleFirst[static_cast<size_t>(i)];
      const double a1 = fp.angleLast[static_cast<size_t>(i)];
      if (std::fabs(a1 - plan.a0) >= 0.01 && plan.y1 != plan.y0)
        plan.slope = (a1 - plan.a0) / (plan.y1 - plan.y0);
    }
    // Where the correction is the same down the whole column, the source
    // column is one cylinder column and its height runs linearly with y.
    plan.straight = !closure || (plan.slope == 0 && (closure->angle == 0 || std::fabs(closure->angle) > 1e-6));
    double su = x;
    plan.sv0 = plan.y0;
    if (closure && plan.straight) {
      double u1, v1;
      CorrectCanvasPoint(setup, *closure, x, plan.y0, plan.a0, &su, &plan.sv0);
      CorrectCanvasPoint(setup, *closure, x, plan.y0 + 1, plan.a0, &u1, &v1);
      plan.sdv = v1 - plan.sv0;
    }
    plan.mapping = ColumnMapping::For(orientation, setup.radius, su);
  }
  // The straight columns' mappings as plain arrays, so that the mapping of a
  // whole row is one loop the compiler vectorises; the arithmetic is that of
  // ColumnMapping::Map, operation for operation.
  std::vector<double> rowsFrom(plans.size()), heightAt(plans.size()), heightStep(plans.size());
  std::vector<double> baseX(plans.size()), baseY(plans.size()), baseZ(plans.size());
  for (size_t i = 0; i < plans.size(); ++i) {
    const ColumnPlan& plan = plans[i];
    rowsFrom[i] = plan.y0;
    heightAt[i] = plan.sv0;
    heightStep[i] = plan.sdv;
    baseX[i] = plan.mapping.base.x;
    baseY[i] = plan.mapping.base.y;
    baseZ[i] = plan.mapping.base.z;
  }
  const Vec3 perRow{orientation(1, 0), orientation(1, 1), orientation(1, 2)};
  const double nearPlane = -1e-6 * (setup.radius > 0 ? setup.radius : 1);
  const double imageDistance = setup.focal;
  // Row by row, so that the layer is written and the photo read along rows.
  // Columns whose correction changes down the column are mapped one point at
  // a time after the straight ones.
  std::vector<int32_t> firstRow(plans.size()), lastRow(plans.size()), offsets(plans.size());
  std::vector<int> curved;
  for (size_t i = 0; i < plans.size(); ++i) {
    const ColumnPlan& plan = plans[i];
    firstRow[i] = plan.y0;
    lastRow[i] = plan.y1;
    offsets[i] = plan.offset;
    if (!plan.straight && plan.y0 <= plan.y1) {
      curved.push_back(static_cast<int>(i));
      lastRow[i] = plan.y0 - 1;  // the straight pass leaves it to the curved one
    }
  }
  std::vector<int32_t> sampleRow(plans.size()), sampleByte(plans.size());
  std::vector<int32_t> across(plans.size()), down(plans.size());
  const RowSamples samples{sampleRow.data(), sampleByte.data(), across.data(), down.data()};
  const double xLimit = w - 1, yLimit = h - 1;
  const RowMapping mapping{rowsFrom.data(), heightAt.data(), heightStep.data(), baseX.data(),
                           baseY.data(), baseZ.data(), perRow, imageDistance, cx, cy};
  const int height = fp.rect.bottom - fp.rect.top;
  for (int y = fp.rect.top; y < fp.rect.bottom; ++y) {
    const int j = y - fp.rect.top;
    if (j % 10 == 0 && report && report(context, static_cast<double>(j) / height)) return 1;
    uint8_t* const rowBase = layer.Row(j);
    uint8_t* const maskRow = layerMask.Row(j);
    LocateRow(mapping, firstRow.data(), lastRow.data(), y, width, nearPlane, xLimit, yLimit,
              samples);
    for (const int i : curved) {
      const ColumnPlan& plan = plans[static_cast<size_t>(i)];
      if (y < plan.y0 || y > plan.y1) continue;
      const int x = fp.rect.left + i;
      UnrolledPoint p{static_cast<double>(x), static_cast<double>(y), setup.radius};
      CorrectCanvasPoint(setup, *closure, x, y, plan.a0 + (y - plan.y0) * plan.slope, &p.u, &p.v);
      double u, v;
      if (!UnrolledToPhotoPixel(orientation, setup.focal, p, &u, &v)) continue;
      const double sx = u + cx, sy = v + cy;
      if (!(sx >= 0 && sy >= 0 && sx < xLimit && sy < yLimit)) continue;
      const int X = static_cast<int>(sx), Y = static_cast<int>(sy);
      sampleRow[static_cast<size_t>(i)] = Y;
      sampleByte[static_cast<size_t>(i)] = 3 * X;
      across[static_cast<size_t>(i)] = static_cast<int32_t>((sx - X) * 256);
      down[static_cast<size_t>(i)] = static_cast<int32_t>((sy - Y) * 256);
    }
    for (int i = 0; i < width; ++i) {
      const int Y = sampleRow[static_cast<size_t>(i)];
      if (Y < 0) {
        uint8_t* out = rowBase + 3 * i;
        out[0] = out[1] = out[2] = 255;
        maskRow[i] = 0;
        continue;
      }
      const int a = across[static_cast<size_t>(i)], b = down[static_cast<size_t>(i)];
      const int offset = offsets[static_cast<size_t>(i)];
      // Across, then down: the same sum as weighting the four pixels at once
      // (p (256 - a) + q a is 256 p + (q - p) a, exactly).
      const uint8_t* p0 = photo.Row(Y) + sampleByte[static_cast<size_t>(i)];
      const uint8_t* p1 = p0 + photo.stride;
      uint8_t* out = rowBase + 3 * i;
      int value[3];
      for (int ch = 0; ch < 3; ++ch) {
        const int lower = (p0[ch] << 8) + (p0[ch + 3] - p0[ch]) * a;
        const int upper = (p1[ch] << 8) + (p1[ch + 3] - p1[ch]) * a;
        value[ch] = ((lower << 8) + (upper - lower) * b) >> 16;
      }
      // A weighted mean of bytes is a byte: only an offset can leave the range.
      if (offset == 0) {
        for (int ch = 0; ch < 3; ++ch) out[ch] = static_cast<uint8_t>(value[ch]);
      } else {
        for (int ch = 0; ch < 3; ++ch) out[ch] = ClampByte(value[ch] + offset);
      }
      maskRow[i] = 255;
    }
    std::fill(rowBase + 3 * width, rowBase + layer.stride, uint8_t{255});
    std::fill(maskRow + width, maskRow + layerMask.stride, uint8_t{0});
  }
  return 0;
}

namespace {

// Joins and renders every photo onto the canvas; fills the crop rectangle.
long Composite(StitchMatrix& matrix, const StitchOptions& options, const RenderSetup& setup,
               const std::vector<PhotoFootprint>& footprints, const RECT& canvasRect,
               EngineDib& canvas, const ClosureCorrection* closure, BlendProgress& progress,
               RECT* crop) {
  const bool circle = matrix.layout == kLayoutCircle;
  const int cells = matrix.columns * matrix.rows;
  const int n = std::max(cells, 1);
  const int turn = setup.circumference;
  DibLock canvasLock(canvas);
  if (!canvasLock.Locked()) return kStitchOutOfMemory;
  EngineDib canvasMask;
  if (!canvasMask.Create(canvasRect.right - canvasRect.left, canvasRect.bottom - canvasRect.top,
                         8))
    return kStitchOutOfMemory;
  DibLock maskLock(canvasMask);
  if (!maskLock.Locked()) return kStitchOutOfMemory;
  canvasMask.Fill(0);
  const PixelView canvasView = canvas.View();
  const PixelView canvasMaskView = canvasMask.View();

  MaskedImage wrap;
  bool hasWrap = false;
  if (circle) {
    RECT wrapRect;
    if (WrapRectangle(matrix, footprints, canvasRect, turn, &wrapRect)) {
      if (!wrap.Make(wrapRect)) return kStitchOutOfMemory;
      hasWrap = true;
    }
  }
  auto targetFor = [&](const RECT& r, const RECT** rect, PixelView* image, PixelView* mask) {
    if (hasWrap && r.right > turn) {
      *rect = &wrap.rect;
      *image = wrap.View();
      *mask = wrap.MaskView();
    } else {
      *rect = &canvasRect;
      *image = canvasView;
      *mask = canvasMaskView;
    }
  };
  auto footprintAt = [&](int c, int r) -> const PhotoFootprint* {
    if (c < 0 || c >= matrix.columns || r < 0 || r >= matrix.rows) return nullptr;
    const PhotoFootprint& f = footprints[static_cast<size_t>(c + r * matrix.columns)];
    return f.present ? &f : nullptr;
  };

  for (int row = 0; row < matrix.rows; ++row)
    for (int column = 0; column < matrix.columns; ++column) {
      const int k = column + row * matrix.columns;
      progress.start = k * 50 / n + 50;
      progress.end = (k * 50 + 50) / n + 50;
      if (progress.Percent(progress.start)) return kStitchCancelled;
      const PhotoFootprint* fp = footprintAt(column, row);
      if (!fp) continue;
      const StitchElement& e = matrix.elements[k];
      MaskedImage layer;
      if (!layer.Make(fp->rect, false)) return kStitchOutOfMemory;
      EngineDib photo;
      if (!photo.Attach(matrix.GetImage(column, row, setup.level))) return kStitchOutOfMemory;
      DibLock photoLock(photo);
      if (!photoLock.Locked()) return kStitchOutOfMemory;
      ExposureRamp ramp;
      if (circle) ramp = CircleExposureRamp(matrix, options, setup, footprints, column);
      if (RenderPhoto(photo.View(), *fp, RenderOrientation(setup, e), setup, e.exposureOffset,
                      circle ? &ramp : nullptr, closure, layer.View(), layer.MaskView(),
                      &BlendProgress::Rows, &progress))
        return kStitchCancelled;

      auto blendWith = [&](const RECT& area, SeamDirectionKind direction, const RECT& by) {
        const RECT* targetRect;
        PixelView image, mask;
        targetFor(by, &targetRect, &image, &mask);
        // A seam that cannot get its working memory is skipped: the layer then
        // simply covers the overlap.
        SeamBlend(IntersectRects(area, fp->rect), fp->rect, *targetRect, layer.View(),
                  layer.MaskView(), image, mask, direction);
      };
      switch (matrix.layout) {
        case kLayoutRow:
        case kLayoutCircle:
          if (const PhotoFootprint* left = footprintAt(column - 1, row))
            blendWith(left->rect, SeamDirectionKind::kAcrossColumns, left->rect);
          break;
        case kLayoutColumn:
          // Lying on its side, the photo below is the one to the left.
          if (const PhotoFootprint* below = footprintAt(column, row - 1))
            blendWith(below->rect, SeamDirectionKind::kAcrossColumns, below->rect);
          break;
        case kLayoutTile: {
          if (const PhotoFootprint* left = footprintAt(column - 1, row)) {
            RECT area = left->rect;
            for (int r = row - 1; r >= 0; --r) {
              const PhotoFootprint* f = footprintAt(column - 1, r);
              if (!f || !Meets(f->rect, fp->rect)) break;
              area = UniteRects(area, f->rect);
            }
            blendWith(area, SeamDirectionKind::kAcrossColumns, area);
          }
          if (const PhotoFootprint* below = footprintAt(column, row - 1)) {
            RECT area = below->rect;
            for (int c = column + 1; c < matrix.columns; ++c) {
              const PhotoFootprint* f = footprintAt(c, row - 1);
              if (!f || !Meets(f->rect, fp->rect)) break;
              area = UniteRects(area, f->rect);
            }
            for (int c = column - 1; c >= 0; --c) {
              const PhotoFootprint* f = footprintAt(c, row - 1);
              if (!f || !Meets(f->rect, fp->rect)) break;
              area = UniteRects(area, f->rect);
            }
            blendWith(area, SeamDirectionKind::kAcrossRows, area);
          }
          break;
        }
        default:
          break;
      }
      const RECT* pasteRect;
      PixelView pasteImage, pasteMask;
      targetFor(fp->rect, &pasteRect, &pasteImage, &pasteMask);
      Paste(fp->rect, fp->rect, *pasteRect, layer.View(), layer.MaskView(), pasteImage, pasteMask);
    }

  if (hasWrap) {
    const long folded = FoldWrap(canvasRect, canvasView, canvasMaskView, wrap.rect, wrap.View(),
                                 wrap.MaskView(), turn);
    if (folded != kStitchOk) return folded;
  }
  *crop = CropRectangle(canvasMaskView, setup.quarterTurned ? static_cast<int>(kLayoutRow) : matrix.layout);
  if (progress.reporter.Finish()) return kStitchCancelled;
  return kStitchOk;
}

long Render(StitchMatrix& matrix, StitchOptions& options, int level, HGLOBAL* panorama,
            RECT* cropOut, BlendProgress& progress) {
  ClosureCorrection closure;
  const bool circle = matrix.layout == kLayoutCircle;
  if (circle) {
    const long arranged = ArrangeFullCircle(&matrix, &options, level, &closure.axis, &closure.angle);
    if (arranged != kStitchOk) return arranged;
    // Refined with the closing pair among the others, the orientations close
    // the ring themselves: nothing is left to spread over the turn.
    if (RefineOrientations(&matrix, &options, level, options.lensMode == kLensAutomatic))
      closure.angle = 0;
  }
  const RenderSetup setup = MakeRenderSetup(matrix, options);
  if (setup.circumference <= 0) return kStitchImageUnusable;
  std::vector<PhotoFootprint> footprints;
  RECT canvasRect;
  if (!ComputeFootprints(matrix, setup, footprints, &canvasRect)) return kStitchOutOfMemory;
  if (circle && !ApplyClosureToFootprints(setup, closure, footprints, &canvasRect))
    return kStitchOutOfMemory;
  if (RectEmpty(canvasRect)) return kStitchEmptyCanvas;
  BalanceExposure(matrix, options, level);

  EngineDib canvas;
  if (!canvas.Create(canvasRect.right - canvasRect.left, canvasRect.bottom - canvasRect.top, 24))
    return kStitchOutOfMemory;
  {
    DibLock lock(canvas);
    if (!lock.Locked()) return kStitchOutOfMemory;
    canvas.Fill(255);
  }
  RECT crop;
  const long result = Composite(matrix, options, setup, footprints, canvasRect, canvas,
                                circle ? &closure : nullptr, progress, &crop);
  if (result != kStitchOk) return result;
  if (setup.quarterTurned) {
    EngineDib upright;
    if (!TurnCanvasUpright(canvas, upright, &crop)) return kStitchOutOfMemory;
    *panorama = upright.Detach();
  } else {
    *panorama = canvas.Detach();
  }
  *cropOut = crop;
  return kStitchOk;
}

}  // namespace

}  // namespace seam

extern "C" SEAMCORE_API long Blend(StitchMatrix* matrix, StitchOptions* options, HGLOBAL* panorama,
                                   RECT* crop, StitchProgressProc callback) {
  using namespace seam;
  if (!matrix || !options || !panorama || !crop || !matrix->elements || matrix->columns <= 0 ||
      matrix->rows <= 0)
    return kStitchImageUnusable;
  BlendProgress progress(callback);
  const int level = RenderLevel(*matrix, *options);
  if (options->lensMode == kLensAutomatic) {
    // The estimate works on a copy of the lens block; only lensMode and focal
    // go back to the caller.
    StitchOptions lens = *options;
    EstimateFocal(matrix, &lens, level);
    options->lensMode = lens.lensMode;
    options->focal = lens.focal;
  }
  if (MakeRenderSetup(*matrix, *options).circumference <= 0) return kStitchImageUnusable;
  const long solved = SolveAllPairRotations(matrix, options, level);
  if (solved != kStitchOk && solved != kStitchTooFewPairs) return solved;
  if (matrix->layout != kLayoutCircle) {
    Arrange(matrix, options, level);
    // A row's or column's focal length shows only through the small curvature
    // of its joins; a grid's through its loops.
    RefineOrientations(matrix, options, level,
                       options->lensMode == kLensAutomatic && matrix->layout == kLayoutTile);
    // The refinement moves every photo but the first, and a grid's focal
    // length with them: a grid's left corners may have moved left of where
    // Arrange put the leftmost. (A row's first photo stays, a column is
    // turned again when it is drawn.)
    if (matrix->layout == kLayoutTile) KeepLeftEdgeFromAngleZero(matrix, options->focal);
  }
  return Render(*matrix, *options, level, panorama, crop, progress);
}
