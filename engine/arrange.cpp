#include "arrange.h"

#include <cmath>
#include <vector>

namespace seam {

namespace {

constexpr double kMaxClosureAngle = 0.78539815;  // pi / 4, as the closing test has it
constexpr double kOneOverPi = 0.3183098861837907;
constexpr int kClosingBisections = 20;
constexpr int kTileRelaxPasses = 50;

StitchElement& ElementAt(StitchMatrix& matrix, int column, int row) {
  return matrix.elements[column + row * matrix.columns];
}

const StitchElement& ElementAt(const StitchMatrix& matrix, int column, int row) {
  return matrix.elements[column + row * matrix.columns];
}

Mat3 OrientationOf(const StitchElement& element) { return Mat3::From(element.orientation); }

/// The ray of a photo's corner at level 0: x = (1 - w) / 2 for the left edge,
/// y = +-(h - 1) / 2, depth the focal length.
Vec3 LeftCornerRay(const StitchPyramid& photo, bool top, double focal) {
  const double y = top ? (photo.height - 1) / 2.0 : (1 - photo.height) / 2.0;
  return {(1 - photo.width) / 2.0, y, -focal};
}

void ApplyFrame(StitchMatrix* matrix, const Mat3& frame) {
  for (int i = 0; i < matrix->columns * matrix->rows; ++i) {
    StitchElement& e = matrix->elements[i];
    if (!e.pyramid) continue;
    Multiply(frame, OrientationOf(e)).CopyTo(e.orientation);
  }
}

/// Levels a row or circle: the panorama's up direction becomes y and the
/// first photo's left edge lands at angle 0.
Mat3 RowLevelFrame(const StitchMatrix& matrix, double focal) {
  const Vec3 up = MeanUpDirection(matrix);
  const StitchPyramid& first = *ElementAt(matrix, 0, 0).pyramid;
  const Vec3 c1 = LeftCornerRay(first, true, focal);
  const Vec3 c2 = LeftCornerRay(first, false, focal);
  const Mat3 fromTop = CandidateLevelFrame(c1, up);
  // Row 0 of a frame is its sideways axis: the other corner must lie to its right.
  if (Dot(Vec3{fromTop(0, 0), fromTop(0, 1), fromTop(0, 2)}, c2) > 0) return fromTop;
  return CandidateLevelFrame(c2, up);
}

void LevelColumn(StitchMatrix* matrix, double focal) {
  const Vec3 sideways = MeanUpDirection(*matrix);
  const int top = matrix->rows - 1;
  const StitchElement& bottomElement = ElementAt(*matrix, 0, 0);
  const StitchElement& topElement = ElementAt(*matrix, 0, top);
  const Vec3 c1 = LeftCornerRay(*bottomElement.pyramid, false, focal);
  const Vec3 c2 = Multiply(OrientationOf(topElement), LeftCornerRay(*topElement.pyramid, true, focal));
  const Vec3 s = Add(Normalize(c1), Normalize(c2));
  const Vec3 x = Normalize(Add(Scale(sideways, Dot(s, sideways)), Scale(s, -1)));
  const Vec3 middle = Cross(x, sideways);
  Mat3 frame;
  const Vec3 rows[3] = {sideways, middle, x};
  for (int r = 0; r < 3; ++r) {
    frame(r, 0) = rows[r].x;
    frame(r, 1) = rows[r].y;
    frame(r, 2) = rows[r].z;
  }
  ApplyFrame(matrix, frame);
  KeepLeftEdgeFromAngleZero(matrix, focal);
}

/// The estimate of cell `index`'s orientation from its neighbour `other`.
Mat3 EstimateFrom(const StitchMatrix& matrix, int index, int other) {
  const int columns = matrix.columns;
  const StitchElement& self = matrix.elements[index];
  const StitchElement& n = matrix.elements[other];
  const Mat3 base = OrientationOf(n);
  if (other == index - 1) return Multiply(base, Mat3::From(n.rightRotation));
  if (other == index + 1) return Multiply(base, Transposed(Mat3::From(self.rightRotation)));
  if (other == index - columns) return Multiply(base, Mat3::From(n.upRotation));
  return Multiply(base, Transposed(Mat3::From(self.upRotation)));
}

bool AreNeighbours(int columns, int a, int b) {
  const int ac = a % columns, ar = a / columns, bc = b % columns, br = b / columns;
  return (ar == br && (ac - bc == 1 || bc - ac == 1)) || (ac == bc && (ar - br == 1 || br - ar == 1));
}

void ArrangeTiles(StitchMatrix* matrix, double focal) {
  const int columns = matrix->columns, rows = matrix->rows;
  for (int i = 0; i < columns * rows; ++i)
    if (matrix->elements[i].pyramid) Identity().CopyTo(matrix->elements[i].orientation);
  const std::vector<int> order = TileVisitOrder(*matrix);
  for (size_t k = 1; k < order.size(); ++k)
    for (size_t j = 0; j < k; ++j)
      if (AreNeighbours(columns, order[k], order[j])) {
        EstimateFrom(*matrix, order[k], order[j]).CopyTo(matrix->elements[order[k]].orientation);
        break;
      }

  // Relax: every photo takes the mean of what all its neighbours say.
  for (int pass = 0; pass < kTileRelaxPasses; ++pass)
    for (size_t k = 1; k < order.size(); ++k) {
      const int index = order[k], c = index % columns, r = index / columns;
      Mat3 sum;
      const int others[4][3] = {{c - 1, r, index - 1},
                                {c + 1, r, index + 1},
                                {c, r - 1, index - columns},
                                {c, r + 1, index + columns}};
      for (const auto& o : others) {
        if (o[0] < 0 || o[1] < 0 || o[0] >= columns || o[1] >= rows) continue;
        if (!matrix->elements[o[2]].pyramid) continue;
        const Mat3 estimate = EstimateFrom(*matrix, index, o[2]);
        for (int i = 0; i < 9; ++i) sum.m[i] += estimate.m[i];
      }
      Orthonormalize(sum).CopyTo(matrix->elements[index].orientation);
    }

  const Vec3 up = MeanUpDirection(*matrix);
  Mat3 frame = Identity();
  for (int r = 0; r < rows; ++r) {
    const StitchElement& e = ElementAt(*matrix, 0, r);
    if (!e.pyramid) continue;
    const Mat3 m = OrientationOf(e);
    const Vec3 c1 = Multiply(m, LeftCornerRay(*e.pyramid, true, focal));
    const Vec3 c2 = Multiply(m, LeftCornerRay(*e.pyramid, false, focal));
    if (Dot(c1, Vec3{frame(0, 0), frame(0, 1), frame(0, 2)}) < 0) frame = CandidateLevelFrame(c1, up);
    if (Dot(c2, Vec3{frame(0, 0), frame(0, 1), frame(0, 2)}) < 0) frame = CandidateLevelFrame(c2, up);
  }
  ApplyFrame(matrix, frame);
}

/// Entry 02 of the product of every right rotation around the circle: the
/// sideways gap left after one turn.
double ClosingGap(const StitchMatrix& matrix) {
  Mat3 product = Identity();
  for (int c = 0; c < matrix.columns; ++c)
    product = Multiply(product, Mat3::From(ElementAt(matrix, c, 0).rightRotation));
  return product(0, 2);
}

}  // namespace

void ChainOrientations(StitchMatrix* matrix) {
  const bool column = matrix->layout == kLayoutColumn;
  const int count = column ? matrix->rows : matrix->columns;
  Mat3 orientation = Identity();
  for (int i = 0; i < count; ++i) {
    StitchElement& e = column ? ElementAt(*matrix, 0, i) : ElementAt(*matrix, i, 0);
    orientation.CopyTo(e.orientation);
    orientation = Multiply(orientation, Mat3::From(column ? e.upRotation : e.rightRotation));
  }
}

void KeepLeftEdgeFromAngleZero(StitchMatrix* matrix, double focal) {
  double d = 0;
  for (int r = 0; r < matrix->rows; ++r) {
    const StitchElement& e = ElementAt(*matrix, 0, r);
    if (!e.pyramid) continue;
    for (bool upper : {true, false}) {
      const Vec3 c = Multiply(OrientationOf(e), LeftCornerRay(*e.pyramid, upper, focal));
      const double horizontal = std::sqrt(c.x * c.x + c.z * c.z);
      if (horizontal > 0 && c.x / horizontal < d) d = c.x / horizontal;
    }
  }
  if (d == 0) return;
  const double e = std::sqrt(1 - d * d);
  Mat3 turn = Identity();
  turn(0, 0) = e;
  turn(0, 2) = d;
  turn(2, 0) = -d;
  turn(2, 2) = e;
  ApplyFrame(matrix, turn);
}

Vec3 MeanUpDirection(const StitchMatrix& matrix) {
  const bool column = matrix.layout == kLayoutColumn;
  Vec3 sum;
  for (int c = 0; c < matrix.columns; ++c)
    for (int r = 0; r < matrix.rows; ++r) {
      const StitchElement& e = ElementAt(matrix, c, r);
      if (!e.pyramid) continue;
      const Mat3 m = OrientationOf(e);
      if (column) {
        if (m(0, 0) > 0) sum = Add(sum, m.Column(0));
      } else if (m(1, 1) > 0) {
        sum = Add(sum, m.Column(1));
      }
    }
  if (Length(sum) == 0) return column ? Vec3{1, 0, 0} : Vec3{0, 1, 0};
  return Normalize(sum);
}

Mat3 CandidateLevelFrame(const Vec3& corner, const Vec3& up) {
  // Rows: the sideways axis (towards growing angle), up, and the axis
  // pointing back from the corner's vertical half-plane; the corner then
  // lies at angle 0 of the cylinder.
  const Vec3 a = Normalize(Cross(corner, up));
  const Vec3 b = Normalize(Cross(Cross(corner, up), up));
  Mat3 frame;
  const Vec3 rows[3] = {a, up, b};
  for (int r = 0; r < 3; ++r) {
    frame(r, 0) = rows[r].x;
    frame(r, 1) = rows[r].y;
    frame(r, 2) = rows[r].z;
  }
  return frame;
}

void ClosingAxisAngle(const Mat3& k, Vec3* axis, double* angle) {
  *axis = {1, 0, 0};
  *angle = 0;
  if (k(2, 2) + k(1, 1) - 1 > k(0, 0) || k(2, 2) + k(0, 0) - 1 > k(1, 1) ||
      k(1, 1) + k(0, 0) - 1 > k(2, 2))
    return;
  const double t = (k(0, 0) + k(1, 1) + k(2, 2) - 1) / 2;
  if (t >= 1) return;  // no turn left (rounding may step just past 1)
  if (t <= -1) return;  // a half turn is far beyond what the closing spreads
  const double a = std::acos(t);
  const double s = 2 * std::sin(a);
  const Vec3 n = Normalize({(k(2, 1) - k(1, 2)) / s, (k(0, 2) - k(2, 0)) / s, (k(1, 0) - k(0, 1)) / s});
  if (a > kMaxClosureAngle || a < -kMaxClosureAngle) return;
  *axis = n;
  *angle = a;
}

Mat3 AxisAngleRotation(const Vec3& axis, double angle) {
  const double c = std::cos(angle), s = std::sin(angle), t = 1 - c;
  const double x = axis.x, y = axis.y, z = axis.z;
  const double values[9] = {c + t * x * x,     t * x * y - s * z, t * x * z + s * y,
                            t * x * y + s * z, c + t * y * y,     t * y * z - s * x,
                            t * x * z - s * y, t * y * z + s * x, c + t * z * z};
  return Mat3::From(values);
}

void Arrange(StitchMatrix* matrix, const StitchOptions* options, int /*level*/) {
  if (!matrix || !options || !matrix->elements || matrix->columns <= 0 || matrix->rows <= 0) return;
  const double focal = options->focal;
  switch (matrix->layout) {
    case kLayoutRow:
    case kLayoutCircle:
      if (!matrix->elements[0].pyramid) return;
      ChainOrientations(matrix);
      ApplyFrame(matrix, RowLevelFrame(*matrix, focal));
      return;
    case kLayoutColumn:
      if (!matrix->elements[0].pyramid || !ElementAt(*matrix, 0, matrix->rows - 1).pyramid) return;
      ChainOrientations(matrix);
      LevelColumn(matrix, focal);
      return;
    case kLayoutTile:
      ArrangeTiles(matrix, focal);
      return;
    default:
      return;
  }
}

long ArrangeFullCircle(StitchMatrix* matrix, StitchOptions* options, int level, Vec3* closureAxis,
                       double* closureAngle) {
  *closureAxis = {1, 0, 0};
  *closureAngle = 0;
  if (!matrix || !options || !matrix->elements || matrix->columns <= 0 || matrix->rows <= 0 ||
      !matrix->elements[0].pyramid)
    return kStitchOk;

  // Bisect the focal length until the chain of turns closes sideways: a
  // focal length that is too long makes every turn too small, leaving a gap.
  const double g0 = ClosingGap(*matrix);
  const double q = std::asin(std::fmin(1.0, std::fabs(g0))) * kOneOverPi;
  double hi, lo;
  if (g0 > 0) {
    hi = options->focal;
    lo = options->focal * (1 - q);
  } else {
    hi = options->focal * (1 + q);
    lo = options->focal;
  }
  for (int step = 0; step < kClosingBisections; ++step) {
    options->focal = (hi + lo) / 2;
    const long result = SolveAllPairRotations(matrix, options, level);
    if (result != kStitchOk && result != kStitchTooFewPairs) return result;
    if (ClosingGap(*matrix) > 0)
      hi = options->focal;
    else
      lo = options->focal;
  }
  options->focal = (hi + lo) / 2;

  ChainOrientations(matrix);
  const int last = matrix->columns - 1;
  const StitchElement& lastElement = ElementAt(*matrix, last, 0);
  const Mat3 closing = Multiply(OrientationOf(lastElement), Mat3::From(lastElement.rightRotation));
  Vec3 axis;
  double angle;
  ClosingAxisAngle(closing, &axis, &angle);

  const Mat3 frame = RowLevelFrame(*matrix, options->focal);
  ApplyFrame(matrix, frame);
  // K is where the chain puts photo 0 again after one turn: a photo a
  // fraction t of the way round carries t of that error, so its content is
  // turned back, by minus t of K's angle.
  *closureAxis = Multiply(frame, axis);
  *closureAngle = -angle;
  return kStitchOk;
}

}  // namespace seam
