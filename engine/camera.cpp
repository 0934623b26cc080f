#include "camera.h"

#include "largest_eigenvector.h"

#include <algorithm>
#include <cmath>

namespace seam {

namespace {

constexpr double kTwoPi = 6.283185307179586;
constexpr double kMaxDefaultAngle = 0.5235987755982988;  // pi / 6
// Squared ray distance below which a pair always counts as an inlier.
constexpr double kInlierFloor = 1e-8;
// Components of the turn axis that must stay small for a plausible pair.
constexpr double kMaxAxisComponent = 0.7071;

}  // namespace

// ---- vectors and matrices ----------------------------------------------------

Mat3 Mat3::From(const double* values) {
  Mat3 out;
  for (int i = 0; i < 9; ++i) out.m[i] = values[i];
  return out;
}

void Mat3::CopyTo(double* values) const {
  for (int i = 0; i < 9; ++i) values[i] = m[i];
}

double Length(const Vec3& v) { return std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z); }

Vec3 Normalize(const Vec3& v) {
  const double length = Length(v);
  if (length == 0) return v;
  return {v.x / length, v.y / length, v.z / length};
}

Vec3 Cross(const Vec3& a, const Vec3& b) {
  return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

double Dot(const Vec3& a, const Vec3& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

double Dot(const double* a, const double* b, int count) {
  double sum = 0;
  for (int i = 0; i < count; ++i) sum += a[i] * b[i];
  return sum;
}

Vec3 Add(const Vec3& a, const Vec3& b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }

Vec3 Scale(const Vec3& v, double s) { return {v.x * s, v.y * s, v.z * s}; }

void MatrixProduct(const double* a, const double* b, double* out, int n, int m, int p) {
  for (int i = 0; i < n; ++i)
    for (int j = 0; j < p; ++j) {
      double sum = 0;
      for (int k = 0; k < m; ++k) sum += a[i * m + k] * b[k * p + j];
      out[i * p + j] = sum;
    }
}

void Transpose(const double* a, double* out, int n, int m) {
  for (int i = 0; i < n; ++i)
    for (int j = 0; j < m; ++j) out[j * n + i] = a[i * m + j];
}

Mat3 Multiply(const Mat3& a, const Mat3& b) {
  Mat3 out;
  MatrixProduct(a.m, b.m, out.m, 3, 3, 3);
  return out;
}

Vec3 Multiply(const Mat3& a, const Vec3& v) {
  return {a.m[0] * v.x + a.m[1] * v.y + a.m[2] * v.z, a.m[3] * v.x + a.m[4] * v.y + a.m[5] * v.z,
          a.m[6] * v.x + a.m[7] * v.y + a.m[8] * v.z};
}

Mat3 Transposed(const Mat3& a) {
  Mat3 out;
  Transpose(a.m, out.m, 3, 3);
  return out;
}

double Determinant(const Mat3& a) {
  const double* m = a.m;
  return m[0] * m[4] * m[8] + m[1] * m[5] * m[6] + m[2] * m[3] * m[7] - m[2] * m[4] * m[6] -
         m[0] * m[5] * m[7] - m[1] * m[3] * m[8];
}

Mat3 Identity() {
  Mat3 out;
  out.m[0] = out.m[4] = out.m[8] = 1;
  return out;
}

bool Solve3(const Mat3& a, const Vec3& b, Vec3* x) {
  const double det = Determinant(a);
  if (det == 0) return false;
  const double rhs[3] = {b.x, b.y, b.z};
  double result[3];
  for (int c = 0; c < 3; ++c) {
    Mat3 replaced = a;
    for (int r = 0; r < 3; ++r) replaced(r, c) = rhs[r];
    result[c] = Determinant(replaced) / det;
  }
  *x = {result[0], result[1], result[2]};
  return true;
}

Mat3 Orthonormalize(const Mat3& a) {
  Vec3 c0 = a.Column(0), c1 = a.Column(1), c2 = a.Column(2);
  for (int round = 0; round < 20; ++round) {
    const Vec3 n0 = Normalize(Cross(c1, c2));
    const Vec3 n1 = Normalize(Cross(c2, c0));
    const Vec3 n2 = Normalize(Cross(c0, c1));
    c0 = Normalize(Add(Scale(n0, 0.2), Scale(c0, 0.8)));
    c1 = Normalize(Add(Scale(n1, 0.2), Scale(c1, 0.8)));
    c2 = Normalize(Add(Scale(n2, 0.2), Scale(c2, 0.8)));
  }
  c2 = Normalize(Cross(c0, c1));
  c1 = Cross(c2, c0);
  Mat3 out;
  out.SetColumn(0, c0);
  out.SetColumn(1, c1);
  out.SetColumn(2, c2);
  return out;
}

// ---- rotations from rays -------------------------------------------------------


namespace {

double SquaredResidual(const Mat3& rotation, const Vec3& source, const Vec3& target) {
  const Vec3 p = Multiply(rotation, source);
  const double dx = p.x - target.x, dy = p.y - target.y, dz = p.z - target.z;
  return dx * dx + dy * dy + dz * dz;
}

}  // namespace

bool LeastSquaresRotation(const Vec3* source, const Vec3* target, int count, Mat3* out) {
  if (count < 3) return false;
  // Horn's closed form: the unit quaternion that best turns the sources onto
  // the targets is the leading eigenvector of a 4 x 4 matrix built from the
  // sums s_i t_i^T. It is always a proper rotation, however the points lie.
  double m[3][3] = {{0, 0, 0}, {0, 0, 0}, {0, 0, 0}};
  for (int i = 0; i < count; ++i) {
    const double s[3] = {source[i].x, source[i].y, source[i].z};
    const double t[3] = {target[i].x, target[i].y, target[i].z};
    for (int r = 0; r < 3; ++r)
      for (int c = 0; c < 3; ++c) m[r][c] += s[r] * t[c];
  }
  const double sxx = m[0][0], sxy = m[0][1], sxz = m[0][2];
  const double syx = m[1][0], syy = m[1][1], syz = m[1][2];
  const double szx = m[2][0], szy = m[2][1], szz = m[2][2];
  double n[4][4] = {{sxx + syy + szz, syz - szy, szx - sxz, sxy - syx},
                    {syz - szy, sxx - syy - szz, sxy + syx, szx + sxz},
                    {szx - sxz, sxy + syx, -sxx + syy - szz, syz + szy},
                    {sxy - syx, szx + sxz, syz + szy, -sxx - syy + szz}};
  // No eigenvalue of n exceeds the sum of |s_i| |t_i|, nor half the sum of
  // their squares.
  double bound = 0;
  for (int i = 0; i < count; ++i) bound += 0.5 * (Dot(source[i], source[i]) + Dot(target[i], target[i]));
  double q[4], gap;
  LargestEigenvector(n, bound, q, &gap);
  // Rays that all point one way leave the turn about them open.
  if (!(gap > 1e-9 * count)) return false;
  const double w = q[0], x = q[1], y = q[2], z = q[3];
  const double values[9] = {w * w + x * x - y * y - z * z, 2 * (x * y - w * z), 2 * (x * z + w * y),
                            2 * (x * y + w * z), w * w - x * x + y * y - z * z, 2 * (y * z - w * x),
                            2 * (x * z - w * y), 2 * (y * z + w * x), w * w - x * x - y * y + z * z};
  *out = Mat3::From(values);
  return true;
}

double RotationScore(const Mat3& rotation, const Vec3* source, const Vec3* target, int count) {
  // The median of the squared residuals: up to half the pairs may be wrong.
  double d[kStitchMaxPairs];
  const int n = std::min(count, kStitchMaxPairs);
  for (int i = 0; i < n; ++i) {
    // Insertion keeps d sorted; at most ten values.
    const double v = SquaredResidual(rotation, source[i], target[i]);
    int k = i;
    for (; k > 0 && d[k - 1] > v; --k) d[k] = d[k - 1];
    d[k] = v;
  }
  return n > 0 ? d[(n - 1) / 2] : HUGE_VAL;
}

bool RobustRotation(const Vec3* source, const Vec3* target, int count, Mat3* out) {
  // Candidates: the fit over all pairs (it wins ties), then the fits without
  // one pair (count > 4) and without two (count > 5), scored by the median
  // residual. The winner's inliers are then fitted together.
  if (count > kStitchMaxPairs) count = kStitchMaxPairs;  // callers never pass more
  Mat3 best;
  double bestScore = HUGE_VAL;
  bool found = LeastSquaresRotation(source, target, count, &best);
  if (found) bestScore = RotationScore(best, source, target, count);
  Vec3 s[kStitchMaxPairs], t[kStitchMaxPairs];
  auto tryWithout = [&](int skipA, int skipB) {
    int n = 0;
    for (int k = 0; k < count; ++k) {
      if (k == skipA || k == skipB) continue;
      s[n] = source[k];
      t[n] = target[k];
      ++n;
    }
    Mat3 candidate;
    if (!LeastSquaresRotation(s, t, n, &candidate)) return;
    const double score = RotationScore(candidate, source, target, count);
    if (score < bestScore) {
      bestScore = score;
      best = candidate;
      found = true;
    }
  };
  if (count > 4)
    for (int i = 0; i < count; ++i) tryWithout(i, -1);
  if (count > 5)
    for (int i = 0; i < count; ++i)
      for (int j = i + 1; j < count; ++j) tryWithout(i, j);
  if (!found) return false;
  // Inliers: within 2.5 times the median residual, or a tenth of a pixel at a
  // focal length of 1000 pixels when the median is smaller still.
  const double limit = std::max(6.25 * bestScore, kInlierFloor);
  int n = 0;
  for (int k = 0; k < count; ++k)
    if (SquaredResidual(best, source[k], target[k]) <= limit) {
      s[n] = source[k];
      t[n] = target[k];
      ++n;
    }
  Mat3 refit;
  if (n >= 3 && LeastSquaresRotation(s, t, n, &refit)) best = refit;
  *out = best;
  return true;
}

Mat3 TurnTowardsNeighbour(PairKind kind, double angle) {
  const double c = std::cos(angle), s = std::sin(angle);
  Mat3 r = Identity();
  if (kind == PairKind::kRight) {
    r(0, 0) = c;
    r(0, 2) = -s;
    r(2, 0) = s;
    r(2, 2) = c;
  } else {
    r(1, 1) = c;
    r(1, 2) = -s;
    r(2, 1) = s;
    r(2, 2) = c;
  }
  return r;
}

Mat3 DefaultRotation(PairKind kind, double extent, double focal) {
  double a = extent * 0.5 / focal;
  // A focal length of 0 or less (or NaN) has no meaningful angle: take the cap.
  if (!(a <= kMaxDefaultAngle) || !(focal > 0)) a = kMaxDefaultAngle;
  return TurnTowardsNeighbour(kind, a);
}

Mat3 ShiftRotation(PairKind kind, const StitchPair* list, int count, double cxP, double cyP,
                   double cxQ, double cyQ, double focalAtLevel) {
  // Each pair says how far the neighbour's view is turned: the angle of its
  // point seen from P less the angle of the same point seen from Q.
  double sum = 0;
  for (int i = 0; i < count; ++i) {
    if (kind == PairKind::kRight)
      sum += std::atan2(list[i].x1 - cxP, focalAtLevel) - std::atan2(list[i].x2 - cxQ, focalAtLevel);
    else
      sum += std::atan2(list[i].y1 - cyP, focalAtLevel) - std::atan2(list[i].y2 - cyQ, focalAtLevel);
  }
  return TurnTowardsNeighbour(kind, count > 0 ? sum / count : 0);
}

namespace {

int NeighbourColumn(const StitchMatrix& matrix, int column, PairKind kind) {
  if (kind == PairKind::kUp) return column;
  if (matrix.layout == kLayoutCircle && matrix.columns > 0) return (column + 1) % matrix.columns;
  return column + 1;
}

int NeighbourRow(int row, PairKind kind) { return kind == PairKind::kUp ? row + 1 : row; }

const StitchPyramid* PyramidAt(const StitchMatrix& matrix, int column, int row) {
  if (column < 0 || row < 0 || column >= matrix.columns || row >= matrix.rows) return nullptr;
  return matrix.elements[column + row * matrix.columns].pyramid;
}

}  // namespace

Mat3 DefaultPairRotation(const StitchMatrix& matrix, const StitchOptions& options, int column,
                         int row, PairKind kind) {
  const StitchPyramid* p = PyramidAt(matrix, column, row);
  const StitchPyramid* q =
      PyramidAt(matrix, NeighbourColumn(matrix, column, kind), NeighbourRow(row, kind));
  double extent = 0;
  if (p && q)
    extent = kind == PairKind::kRight ? std::min(p->width, q->width)
                                      : std::min(p->height, q->height);
  return DefaultRotation(kind, extent, options.focal);
}

bool IsPlausiblePairRotation(const Mat3& r, PairKind kind) {
  if (kind == PairKind::kRight && r(0, 2) > 0) return false;
  if (kind == PairKind::kUp && r(1, 2) > 0) return false;
  const double cosT = (r(0, 0) + r(1, 1) + r(2, 2) - 1) * 0.5;
  if (!(cosT >= 0.5)) return false;
  const double sinT = std::sqrt(1 - cosT * cosT);
  if (std::fabs(sinT) < 1e-6) return false;
  const Vec3 axis = Normalize({(r(2, 1) - r(1, 2)) / (2 * sinT), (r(0, 2) - r(2, 0)) / (2 * sinT),
                               (r(1, 0) - r(0, 1)) / (2 * sinT)});
  if (kind == PairKind::kRight)
    return std::fabs(axis.x) <= kMaxAxisComponent && std::fabs(axis.z) <= kMaxAxisComponent;
  return std::fabs(axis.y) <= kMaxAxisComponent && std::fabs(axis.z) <= kMaxAxisComponent;
}

// ---- the photo's geometry ------------------------------------------------------

void PhotoCentre(const StitchPyramid& pyramid, int level, double* cx, double* cy) {
  const double zoom = static_cast<double>(StitchPyramid::ZoomRatio(level));
  *cx = ((pyramid.width - 1) / 2.0) / zoom;
  *cy = ((pyramid.height - 1) / 2.0) / zoom;
}

Vec3 PixelRay(double x, double y, double cx, double cy, double focalAtLevel) {
  return {x - cx, y - cy, -focalAtLevel};
}

void ProjectIntoNeighbour(const Mat3& r, double focal, int level, double x, double y, double cxQ,
                          double cyQ, double cxP, double cyP, double* xP, double* yP) {
  const double h = -focal / static_cast<double>(StitchPyramid::ZoomRatio(level));
  const double dx = x - cxQ, dy = y - cyQ;
  const double d = r(2, 0) * dx + r(2, 1) * dy + r(2, 2) * h;
  *xP = h * (r(0, 0) * dx + r(0, 1) * dy + r(0, 2) * h) / d + cxP;
  *yP = h * (r(1, 0) * dx + r(1, 1) * dy + r(1, 2) * h) / d + cyP;
}

void ProjectIntoNeighbourRounded(const Mat3& r, double focal, int level, double x, double y,
                                 double cxQ, double cyQ, double cxP, double cyP, LONG* xP,
                                 LONG* yP) {
  double fx, fy;
  ProjectIntoNeighbour(r, focal, level, x, y, cxQ, cyQ, cxP, cyP, &fx, &fy);
  // Positions far outside any photo (or NaN) are pinned so the conversion
  // stays defined; callers clip search windows to the photo anyway.
  auto toLong = [](double v) -> LONG {
    v += 0.5;
    if (!(v > -1e9)) return -1000000000;
    if (v > 1e9) return 1000000000;
    return static_cast<LONG>(v);
  };
  *xP = toLong(fx);
  *yP = toLong(fy);
}

// ---- neighbour pairs -------------------------------------------------------------

std::vector<NeighbourPair> LayoutPairs(const StitchMatrix& matrix) {
  std::vector<NeighbourPair> pairs;
  auto add = [&](int c, int r, PairKind kind) {
    NeighbourPair p;
    p.column = c;
    p.row = r;
    p.neighbourColumn = NeighbourColumn(matrix, c, kind);
    p.neighbourRow = NeighbourRow(r, kind);
    p.kind = kind;
    pairs.push_back(p);
  };
  switch (matrix.layout) {
    case kLayoutRow:
      for (int c = 0; c + 1 < matrix.columns; ++c) add(c, 0, PairKind::kRight);
      break;
    case kLayoutColumn:
      for (int r = 0; r + 1 < matrix.rows; ++r) add(0, r, PairKind::kUp);
      break;
    case kLayoutTile:
      for (int c = 0; c + 1 < matrix.columns; ++c)
        for (int r = 0; r < matrix.rows; ++r)
          if (PyramidAt(matrix, c, r) && PyramidAt(matrix, c + 1, r)) add(c, r, PairKind::kRight);
      for (int c = 0; c < matrix.columns; ++c)
        for (int r = 0; r + 1 < matrix.rows; ++r)
          if (PyramidAt(matrix, c, r) && PyramidAt(matrix, c, r + 1)) add(c, r, PairKind::kUp);
      break;
    case kLayoutCircle:
      for (int c = 0; c < matrix.columns; ++c) add(c, 0, PairKind::kRight);
      break;
    default:
      break;
  }
  return pairs;
}

StitchElement* PairElement(StitchMatrix& matrix, const NeighbourPair& pair) {
  return &matrix.elements[pair.column + pair.row * matrix.columns];
}

StitchPair* PairList(StitchElement& element, PairKind kind) {
  return kind == PairKind::kRight ? element.rightPairs : element.upPairs;
}

LONG* PairCount(StitchElement& element, PairKind kind) {
  return kind == PairKind::kRight ? &element.rightCount : &element.upCount;
}

double* PairRotationField(StitchElement& element, PairKind kind) {
  return kind == PairKind::kRight ? element.rightRotation : element.upRotation;
}

// ---- pair rotations ----------------------------------------------------------------

long SolvePairRotation(StitchMatrix* matrix, const StitchOptions* options, int column, int row,
                       PairKind kind, int level) {
  const StitchPyramid* p = PyramidAt(*matrix, column, row);
  const StitchPyramid* q =
      PyramidAt(*matrix, NeighbourColumn(*matrix, column, kind), NeighbourRow(row, kind));
  if (!p || !q) return kStitchTooFewPairs;
  StitchElement& element = matrix->elements[column + row * matrix->columns];
  int count = *PairCount(element, kind);
  if (count < 3) return kStitchTooFewPairs;
  if (count > kStitchMaxPairs) count = kStitchMaxPairs;
  const StitchPair* list = PairList(element, kind);

  const double focalAtLevel = options->focal / static_cast<double>(StitchPyramid::ZoomRatio(level));
  double cxP, cyP, cxQ, cyQ;
  PhotoCentre(*p, level, &cxP, &cyP);
  PhotoCentre(*q, level, &cxQ, &cyQ);
  Vec3 source[kStitchMaxPairs], target[kStitchMaxPairs];
  for (int i = 0; i < count; ++i) {
    target[i] = Normalize(PixelRay(list[i].x1, list[i].y1, cxP, cyP, focalAtLevel));
    source[i] = Normalize(PixelRay(list[i].x2, list[i].y2, cxQ, cyQ, focalAtLevel));
  }
  // A fit that is no plausible turn towards the neighbour gives way to the
  // pure turn the list's mean shift says, and that to the default turn.
  Mat3 rotation;
  if (!RobustRotation(source, target, count, &rotation) ||
      !IsPlausiblePairRotation(rotation, kind)) {
    rotation = ShiftRotation(kind, list, count, cxP, cyP, cxQ, cyQ, focalAtLevel);
    if (!(focalAtLevel > 0) || !IsPlausiblePairRotation(rotation, kind))
      rotation = DefaultPairRotation(*matrix, *options, column, row, kind);
  }
  rotation.CopyTo(PairRotationField(element, kind));
  return kStitchOk;
}

long SolveAllPairRotations(StitchMatrix* matrix, const StitchOptions* options, int level) {
  for (const NeighbourPair& pair : LayoutPairs(*matrix)) {
    const long result = SolvePairRotation(matrix, options, pair.column, pair.row, pair.kind, level);
    if (result != kStitchOk && result != kStitchTooFewPairs) return result;
  }
  return kStitchOk;
}

// ---- the cylinder ------------------------------------------------------------------

Vec3 CylinderToSpace(const CylinderPoint& p) {
  return {p.r * std::sin(p.q), p.v, -p.r * std::cos(p.q)};
}

CylinderPoint SpaceToCylinder(const Vec3& p) {
  CylinderPoint out;
  out.r = std::sqrt(p.x * p.x + p.z * p.z);
  double c = out.r > 0 ? -p.z / out.r : 1;
  c = std::max(-1.0, std::min(1.0, c));  // rounding may step just outside acos's range
  const double angle = std::acos(c);
  out.q = p.x >= 0 ? angle : kTwoPi - angle;
  out.v = p.y;
  return out;
}

CylinderPoint UnrolledToCylinder(const UnrolledPoint& p) {
  CylinderPoint out;
  out.r = p.radius;
  out.q = p.u / p.radius;
  out.v = p.v;
  return out;
}

UnrolledPoint CylinderToUnrolled(const CylinderPoint& p) {
  UnrolledPoint out;
  out.u = p.q * p.r;
  out.v = p.v;
  out.radius = p.r;
  return out;
}

Vec3 UnrolledToSpace(const UnrolledPoint& p) { return CylinderToSpace(UnrolledToCylinder(p)); }

UnrolledPoint SpaceToUnrolled(const Vec3& p, double radius) {
  const CylinderPoint c = SpaceToCylinder(p);
  UnrolledPoint out;
  out.u = c.q * radius;
  out.v = p.y;
  out.radius = radius;
  return out;
}

UnrolledPoint PhotoRayToUnrolled(const Mat3& m, const Vec3& ray, double radius) {
  Vec3 turned = Multiply(m, Vec3{ray.x, ray.y, -ray.z});
  double p = std::sqrt(turned.x * turned.x + turned.z * turned.z);
  if (p < 0.01) {
    p = 0.01;
    turned.x = 0.01;
    turned.z = 0;
  }
  const Vec3 onCylinder = Scale(turned, radius / p);
  return SpaceToUnrolled(onCylinder, radius);
}

bool UnrolledToPhotoPixel(const Mat3& m, double imageDistance, const UnrolledPoint& p, double* x,
                          double* y) {
  // The cylinder point itself, turned into the photo's camera frame (the
  // transpose undoes the orientation) and projected through the pinhole. This
  // is the exact inverse of PhotoRayToUnrolled, so a scene point lands on the
  // same canvas position from every photo that sees it.
  const Vec3 space = UnrolledToSpace(p);
  const Vec3 camera = Multiply(Transposed(m), space);
  if (!(camera.z < -1e-6 * (p.radius > 0 ? p.radius : 1))) {
    // Behind the photo or on its horizon: no pixel. Far-away offsets keep
    // callers that only clip against the photo safe.
    *x = *y = 1e30;
    return false;
  }
  *x = -imageDistance * camera.x / camera.z;
  *y = -imageDistance * camera.y / camera.z;
  return true;
}

// ---- the tile grid -------------------------------------------------------------------

std::vector<int> TileVisitOrder(const StitchMatrix& matrix) {
  std::vector<int> order;
  const int columns = matrix.columns, rows = matrix.rows;
  if (columns <= 0 || rows <= 0 || !matrix.elements) return order;
  int photos = 0;
  for (int i = 0; i < columns * rows; ++i)
    if (matrix.elements[i].pyramid) ++photos;
  int start = -1;
  for (int r = 0; r < rows && start < 0; ++r)
    if (matrix.elements[r * columns].pyramid) start = r * columns;
  if (start < 0) return order;
  std::vector<char> seen(static_cast<size_t>(columns) * rows, 0);
  order.reserve(photos);
  order.push_back(start);
  seen[start] = 1;
  for (size_t next = 0; next < order.size() && static_cast<int>(order.size()) < photos; ++next) {
    const int c = order[next] % columns, r = order[next] / columns;
    const int steps[4][2] = {{-1, 0}, {1, 0}, {0, -1}, {0, 1}};  // left, right, below, above
    for (const auto& step : steps) {
      const int nc = c + step[0], nr = r + step[1];
      if (nc < 0 || nr < 0 || nc >= columns || nr >= rows) continue;
      const int index = nc + nr * columns;
      if (seen[index] || !matrix.elements[index].pyramid) continue;
      seen[index] = 1;
      order.push_back(index);
      if (static_cast<int>(order.size()) == photos) break;
    }
  }
  return order;
}

int CheckTileLayout(const StitchMatrix& matrix) {
  const int columns = matrix.columns, rows = matrix.rows;
  if (columns <= 1 || rows <= 1 || !matrix.elements) return 0;
  int photos = 0;
  for (int i = 0; i < columns * rows; ++i)
    if (matrix.elements[i].pyramid) ++photos;
  auto rowHasPhoto = [&](int r) {
    for (int c = 0; c < columns; ++c)
      if (matrix.elements[c + r * columns].pyramid) return true;
    return false;
  };
  auto columnHasPhoto = [&](int c) {
    for (int r = 0; r < rows; ++r)
      if (matrix.elements[c + r * columns].pyramid) return true;
    return false;
  };
  if (!rowHasPhoto(0) || !rowHasPhoto(rows - 1) || !columnHasPhoto(0) ||
      !columnHasPhoto(columns - 1))
    return 0;
  return static_cast<int>(TileVisitOrder(matrix).size()) == photos ? 1 : 0;
}

}  // namespace seam

extern "C" SEAMCORE_API int VerifyMatrixLayout(StitchMatrix* matrix) {
  if (!matrix) return 0;
  return seam::CheckTileLayout(*matrix);
}
