#include "refine.h"

#include <cmath>
#include <vector>

#include "arrange.h"
#include "camera.h"

namespace seam {

namespace {

constexpr int kIterations = 8;
constexpr double kCauchyPixels = 2;  // level pixels where a point's weight halves
constexpr double kMaxFocalChange = 0.2;

/// One point of a pair: the cells and the two unnormalised level rays before
/// the focal length is put in (x - cx, y - cy).
struct PointPair {
  int p, q;       // cell indices
  double px, py;  // P's offsets from its centre
  double qx, qy;  // Q's offsets from its centre
};

Vec3 UnitRay(double x, double y, double focalAtLevel) {
  return Normalize(Vec3{x, y, -focalAtLevel});
}

/// d(unit ray) / d(focal at level).
Vec3 UnitRayFocalDerivative(double x, double y, double focalAtLevel) {
  const double length = std::sqrt(x * x + y * y + focalAtLevel * focalAtLevel);
  const Vec3 n{x / length, y / length, -focalAtLevel / length};
  const double along = -n.z;  // n . (0, 0, -1)
  return Scale(Add(Vec3{0, 0, -1}, Scale(n, -along)), 1 / length);
}

/// Solves the symmetric positive system A x = b (n x n, row-major) by
/// Gaussian elimination with partial pivoting; false when singular.
bool SolveDense(std::vector<double>& a, std::vector<double>& b, int n) {
  for (int col = 0; col < n; ++col) {
    int pivot = col;
    for (int r = col + 1; r < n; ++r)
      if (std::fabs(a[r * n + col]) > std::fabs(a[pivot * n + col])) pivot = r;
    if (!(std::fabs(a[pivot * n + col]) > 1e-300)) return false;
    if (pivot != col) {
      for (int c = 0; c < n; ++c) std::swap(a[col * n + c], a[pivot * n + c]);
      std::swap(b[col], b[pivot]);
    }
    for (int r = col + 1; r < n; ++r) {
      const double f = a[r * n + col] / a[col * n + col];
      if (f == 0) continue;
      for (int c = col; c < n; ++c) a[r * n + c] -= f * a[col * n + c];
      b[r] -= f * b[col];
    }
  }
  for (int r = n - 1; r >= 0; --r) {
    double s = b[r];
    for (int c = r + 1; c < n; ++c) s -= a[r * n + c] * b[c];
    b[r] = s / a[r * n + r];
  }
  return true;
}

/// d(M a) / d(omega) for a small turn omega applied before M: -[M a]x.
void CrossMatrix(const Vec3& a, double out[9], double sign) {
  const double m[9] = {0, -a.z, a.y, a.z, 0, -a.x, -a.y, a.x, 0};
  for (int i = 0; i < 9; ++i) out[i] = -sign * m[i];
}

struct Problem {
  std::vector<PointPair> points;
  std::vector<int> parameter;  // per cell: first of its 3 unknowns, -1 when fixed or empty
  int unknowns = 0;
};

/// Gauss-Newton with Cauchy weights; returns the final weighted cost.
double Solve(StitchMatrix* matrix, const Problem& problem, int level, bool withFocal,
             double* focal) {
  const int cells = matrix->columns * matrix->rows;
  std::vector<Mat3> o(static_cast<size_t>(cells));
  for (int i = 0; i < cells; ++i)
    if (matrix->elements[i].pyramid) o[static_cast<size_t>(i)] = Mat3::From(matrix->elements[i].orientation);
  const double zoom = static_cast<double>(StitchPyramid::ZoomRatio(level));
  const int n = problem.unknowns + (withFocal ? 1 : 0);
  double cost = 0;
  for (int iteration = 0; iteration < kIterations; ++iteration) {
    const double f = *focal / zoom;
    const double sigma = kCauchyPixels / f;
    std::vector<double> a(static_cast<size_t>(n * n), 0.0), b(static_cast<size_t>(n), 0.0);
    cost = 0;
    for (const PointPair& pt : problem.points) {
      const Mat3& op = o[static_cast<size_t>(pt.p)];
      const Mat3& oq = o[static_cast<size_t>(pt.q)];
      const Vec3 ap = Multiply(op, UnitRay(pt.px, pt.py, f));
      const Vec3 aq = Multiply(oq, UnitRay(pt.qx, pt.qy, f));
      const Vec3 r = Add(ap, Scale(aq, -1));
      const double r2 = Dot(r, r);
      const double w = 1 / (1 + r2 / (sigma * sigma));
      cost += sigma * sigma * std::log1p(r2 / (sigma * sigma));
      // The Jacobian's rows (3 residual components) over the unknowns that
      // this point touches: P's turn, Q's turn and the focal length.
      double jp[9], jq[9];
      CrossMatrix(ap, jp, 1);
      CrossMatrix(aq, jq, -1);
      Vec3 jf;
      if (withFocal) {
        const Vec3 dp = Multiply(op, UnitRayFocalDerivative(pt.px, pt.py, f));
        const Vec3 dq = Multiply(oq, UnitRayFocalDerivative(pt.qx, pt.qy, f));
        // The unknown is the relative change of the focal length.
        jf = Scale(Add(dp, Scale(dq, -1)), f);
      }
      const int ip = problem.parameter[static_cast<size_t>(pt.p)];
      const int iq = problem.parameter[static_cast<size_t>(pt.q)];
      const double rv[3] = {r.x, r.y, r.z};
      const double jfv[3] = {jf.x, jf.y, jf.z};
      for (int row = 0; row < 3; ++row) {
        int index[7];
        double value[7];
        int used = 0;
        for (int k = 0; k < 3; ++k) {
          if (ip >= 0) index[used] = ip + k, value[used++] = jp[3 * row + k];
          if (iq >= 0) index[used] = iq + k, value[used++] = jq[3 * row + k];
        }
        if (withFocal) index[used] = problem.unknowns, value[used++] = jfv[row];
        for (int u = 0; u < used; ++u) {
          b[static_cast<size_t>(index[u])] -= w * value[u] * rv[row];
          for (int v = 0; v < used; ++v)
            a[static_cast<size_t>(index[u] * n + index[v])] += w * value[u] * value[v];
        }
      }
    }
    for (int i = 0; i < n; ++i) a[static_cast<size_t>(i * n + i)] *= 1 + 1e-9;
    if (!SolveDense(a, b, n)) break;
    double step = 0;
    for (int i = 0; i < cells; ++i) {
      const int k = problem.parameter[static_cast<size_t>(i)];
      if (k < 0) continue;
      const Vec3 omega{b[static_cast<size_t>(k)], b[static_cast<size_t>(k + 1)],
                       b[static_cast<size_t>(k + 2)]};
      const double angle = Length(omega);
      step = std::fmax(step, angle);
      if (angle > 0)
        o[static_cast<size_t>(i)] =
            Multiply(AxisAngleRotation(Scale(omega, 1 / angle), angle), o[static_cast<size_t>(i)]);
    }
    if (withFocal) {
      const double change = std::fmax(-0.05, std::fmin(0.05, b[static_cast<size_t>(problem.unknowns)]));
      *focal *= 1 + change;
      step = std::fmax(step, std::fabs(change));
    }
    if (step < 1e-10) break;
  }
  for (int i = 0; i < cells; ++i)
    if (matrix->elements[i].pyramid) o[static_cast<size_t>(i)].CopyTo(matrix->elements[i].orientation);
  return cost;
}

}  // namespace

bool RefineOrientations(StitchMatrix* matrix, StitchOptions* options, int level, bool refineFocal) {
  if (!matrix || !options || !matrix->elements || !(options->focal > 0)) return false;
  const int cells = matrix->columns * matrix->rows;
  Problem problem;
  problem.parameter.assign(static_cast<size_t>(cells), -1);
  int reference = -1;
  for (int i = 0; i < cells; ++i) {
    if (!matrix->elements[i].pyramid) continue;
    if (reference < 0) {
      reference = i;
      continue;
    }
    problem.parameter[static_cast<size_t>(i)] = problem.unknowns;
    problem.unknowns += 3;
  }
  for (const NeighbourPair& pair : LayoutPairs(*matrix)) {
    StitchElement& pe = *PairElement(*matrix, pair);
    const int p = pair.column + pair.row * matrix->columns;
    const int q = pair.neighbourColumn + pair.neighbourRow * matrix->columns;
    const StitchPyramid* pp = pe.pyramid;
    const StitchPyramid* qp = matrix->elements[q].pyramid;
    if (!pp || !qp) continue;
    double cxP, cyP, cxQ, cyQ;
    PhotoCentre(*pp, level, &cxP, &cyP);
    PhotoCentre(*qp, level, &cxQ, &cyQ);
    const StitchPair* list = PairList(pe, pair.kind);
    const int count = static_cast<int>(std::fmin(*PairCount(pe, pair.kind), kStitchMaxPairs));
    for (int k = 0; k < count; ++k)
      problem.points.push_back({p, q, list[k].x1 - cxP, list[k].y1 - cyP, list[k].x2 - cxQ,
                                list[k].y2 - cyQ});
  }
  if (problem.points.empty() || problem.unknowns == 0) return false;

  std::vector<double> before(static_cast<size_t>(9 * cells));
  for (int i = 0; i < cells; ++i)
    for (int k = 0; k < 9; ++k) before[static_cast<size_t>(9 * i + k)] = matrix->elements[i].orientation[k];
  double focal = options->focal;
  if (refineFocal) {
    Solve(matrix, problem, level, true, &focal);
    if (std::fabs(focal / options->focal - 1) <= kMaxFocalChange) {
      options->focal = focal;
      return true;
    }
    for (int i = 0; i < cells; ++i)
      for (int k = 0; k < 9; ++k) matrix->elements[i].orientation[k] = before[static_cast<size_t>(9 * i + k)];
    focal = options->focal;
  }
  Solve(matrix, problem, level, false, &focal);
  return true;
}

}  // namespace seam
