#include "largest_eigenvector.h"

#include <algorithm>
#include <cmath>

namespace seam {

namespace {

// det(x I - a) = x^4 - e1 x^3 + e2 x^2 - e3 x + e4.
struct Quartic {
  double e1, e2, e3, e4;
  double At(double x) const { return (((x - e1) * x + e2) * x - e3) * x + e4; }
  double SlopeAt(double x) const { return ((4 * x - 3 * e1) * x + 2 * e2) * x - e3; }
};
// x^3 + b2 x^2 + b1 x + b0.
struct Cubic {
  double b2, b1, b0;
  double At(double x) const { return ((x + b2) * x + b1) * x + b0; }
  double SlopeAt(double x) const { return (3 * x + 2 * b2) * x + b1; }
};

// The 2 x 2 minors of rows 0 and 1 (s) and of rows 2 and 3 (c) of a 4 x 4
// matrix: its determinant and its adjugate are sums of their products.
struct Minors {
  double s0, s1, s2, s3, s4, s5, c0, c1, c2, c3, c4, c5;
  explicit Minors(const double m[4][4])
      : s0(m[0][0] * m[1][1] - m[1][0] * m[0][1]), s1(m[0][0] * m[1][2] - m[1][0] * m[0][2]),
        s2(m[0][0] * m[1][3] - m[1][0] * m[0][3]), s3(m[0][1] * m[1][2] - m[1][1] * m[0][2]),
        s4(m[0][1] * m[1][3] - m[1][1] * m[0][3]), s5(m[0][2] * m[1][3] - m[1][2] * m[0][3]),
        c0(m[2][0] * m[3][1] - m[3][0] * m[2][1]), c1(m[2][0] * m[3][2] - m[3][0] * m[2][2]),
        c2(m[2][0] * m[3][3] - m[3][0] * m[2][3]), c3(m[2][1] * m[3][2] - m[3][1] * m[2][2]),
        c4(m[2][1] * m[3][3] - m[3][1] * m[2][3]), c5(m[2][2] * m[3][3] - m[3][2] * m[2][3]) {}
  double Determinant() const { return s0 * c5 - s1 * c4 + s2 * c3 + s3 * c2 - s4 * c1 + s5 * c0; }
};

Quartic CharacteristicPolynomial(const double a[4][4]) {
  Quartic p{0, 0, 0, 0};
  for (int i = 0; i < 4; ++i) p.e1 += a[i][i];
  for (int i = 0; i < 4; ++i)
    for (int j = i + 1; j < 4; ++j) p.e2 += a[i][i] * a[j][j] - a[i][j] * a[j][i];
  for (int skip = 0; skip < 4; ++skip) {
    int r[3], n = 0;
    for (int i = 0; i < 4; ++i)
      if (i != skip) r[n++] = i;
    const double(*m)[4] = a;
    p.e3 += m[r[0]][r[0]] * (m[r[1]][r[1]] * m[r[2]][r[2]] - m[r[1]][r[2]] * m[r[2]][r[1]]) -
            m[r[0]][r[1]] * (m[r[1]][r[0]] * m[r[2]][r[2]] - m[r[1]][r[2]] * m[r[2]][r[0]]) +
            m[r[0]][r[2]] * (m[r[1]][r[0]] * m[r[2]][r[1]] - m[r[1]][r[1]] * m[r[2]][r[0]]);
  }
  p.e4 = Minors(a).Determinant();
  return p;
}

// Newton's method from above the largest root of a polynomial whose roots are
// all real moves down onto that root without overshooting; it stops once a
// step is within `tolerance`. False when it has not settled within the steps
// allowed (two roots nearly meet there).
template <typename Poly>
bool LargestRootFrom(const Poly& p, double x, double tolerance, double* root) {
  for (int i = 0; i < 60; ++i) {
    const double slope = p.SlopeAt(x);
    const double next = slope > 0 ? x - p.At(x) / slope : x;
    if (!(next < x - tolerance)) {
      *root = next < x ? next : x;
      return true;
    }
    x = next;
  }
  return false;
}

// The row of largest norm of the adjugate of a - shift I: for a simple
// eigenvalue `shift`, every row of that adjugate is a multiple of its
// eigenvector. False when the adjugate vanishes.
bool AdjugateVector(const double a[4][4], double shift, double out[4]) {
  double m[4][4];
  for (int i = 0; i < 4; ++i)
    for (int j = 0; j < 4; ++j) m[i][j] = a[i][j] - (i == j ? shift : 0);
  const Minors n(m);
  const double adj[4][4] = {
      {m[1][1] * n.c5 - m[1][2] * n.c4 + m[1][3] * n.c3, -m[0][1] * n.c5 + m[0][2] * n.c4 - m[0][3] * n.c3,
       m[3][1] * n.s5 - m[3][2] * n.s4 + m[3][3] * n.s3, -m[2][1] * n.s5 + m[2][2] * n.s4 - m[2][3] * n.s3},
      {-m[1][0] * n.c5 + m[1][2] * n.c2 - m[1][3] * n.c1, m[0][0] * n.c5 - m[0][2] * n.c2 + m[0][3] * n.c1,
       -m[3][0] * n.s5 + m[3][2] * n.s2 - m[3][3] * n.s1, m[2][0] * n.s5 - m[2][2] * n.s2 + m[2][3] * n.s1},
      {m[1][0] * n.c4 - m[1][1] * n.c2 + m[1][3] * n.c0, -m[0][0] * n.c4 + m[0][1] * n.c2 - m[0][3] * n.c0,
       m[3][0] * n.s4 - m[3][1] * n.s2 + m[3][3] * n.s0, -m[2][0] * n.s4 + m[2][1] * n.s2 - m[2][3] * n.s0},
      {-m[1][0] * n.c3 + m[1][1] * n.c1 - m[1][2] * n.c0, m[0][0] * n.c3 - m[0][1] * n.c1 + m[0][2] * n.c0,
       -m[3][0] * n.s3 + m[3][1] * n.s1 - m[3][2] * n.s0, m[2][0] * n.s3 - m[2][1] * n.s1 + m[2][2] * n.s0}};
  int best = 0;
  double bestNorm = 0;
  for (int r = 0; r < 4; ++r) {
    const double n2 = adj[r][0] * adj[r][0] + adj[r][1] * adj[r][1] + adj[r][2] * adj[r][2] +
                      adj[r][3] * adj[r][3];
    if (n2 > bestNorm) {
      bestNorm = n2;
      best = r;
    }
  }
  if (!(bestNorm > 0) || !std::isfinite(bestNorm)) return false;
  const double scale = 1 / std::sqrt(bestNorm);
  for (int k = 0; k < 4; ++k) out[k] = adj[best][k] * scale;
  return true;
}

double RayleighQuotient(const double a[4][4], const double v[4]) {
  double sum = 0;
  for (int i = 0; i < 4; ++i)
    for (int j = 0; j < 4; ++j) sum += v[i] * a[i][j] * v[j];
  return sum;
}

}  // namespace

// The eigenvalue by Newton's method on the characteristic polynomial, the
// vector from an adjugate, then once more from the Rayleigh quotient of that
// vector, which is far more exact than the root itself.

bool LargestEigenvectorDirect(const double a[4][4], double bound, double vector[4], double* gap) {
  const Quartic p = CharacteristicPolynomial(a);
  double first, second;
  // The root only has to be near enough for the adjugate's vector to be
  // refined by its Rayleigh quotient; the next root only has to show the gap.
  if (!LargestRootFrom(p, bound, 1e-12 * bound, &first)) return false;
  Cubic rest;
  rest.b2 = first - p.e1;
  rest.b1 = p.e2 + first * rest.b2;
  rest.b0 = -p.e3 + first * rest.b1;
  if (!LargestRootFrom(rest, first, 1e-10 * bound, &second)) return false;
  if (!(first - second > 1e-6 * bound)) return false;
  double v[4];
  if (!AdjugateVector(a, first, v)) return false;
  const double refined = RayleighQuotient(a, v);
  if (!(std::fabs(refined - first) < 1e-3 * (first - second))) return false;
  if (!AdjugateVector(a, refined, vector)) return false;
  *gap = refined - second;
  return true;
}

void LargestEigenvectorByJacobi(double a[4][4], double vector[4], double* gap) {
  double v[4][4] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};
  for (int sweep = 0; sweep < 30; ++sweep) {
    double off = 0, diagonal = 0;
    for (int p = 0; p < 4; ++p) {
      diagonal += a[p][p] * a[p][p];
      for (int q = p + 1; q < 4; ++q) off += a[p][q] * a[p][q];
    }
    // Done once what is left off the diagonal is rounding noise beside it:
    // further sweeps would only stir that noise.
    if (off < 1e-30 || off < 1e-30 * diagonal) break;
    for (int p = 0; p < 4; ++p)
      for (int q = p + 1; q < 4; ++q) {
        if (a[p][q] == 0) continue;
        const double theta = (a[q][q] - a[p][p]) / (2 * a[p][q]);
        const double t = (theta >= 0 ? 1 : -1) / (std::fabs(theta) + std::sqrt(theta * theta + 1));
        const double c = 1 / std::sqrt(t * t + 1), s = t * c;
        // The turn zeroes a[p][q]: the two diagonal entries move by t a[p][q],
        // and of the rest only rows and columns p and q change, symmetrically.
        const double apq = a[p][q];
        a[p][p] -= t * apq;
        a[q][q] += t * apq;
        a[p][q] = a[q][p] = 0;
        for (int k = 0; k < 4; ++k) {
          if (k == p || k == q) continue;
          const double akp = a[k][p], akq = a[k][q];
          a[k][p] = a[p][k] = c * akp - s * akq;
          a[k][q] = a[q][k] = s * akp + c * akq;
        }
        for (int k = 0; k < 4; ++k) {
          const double vkp = v[k][p], vkq = v[k][q];
          v[k][p] = c * vkp - s * vkq;
          v[k][q] = s * vkp + c * vkq;
        }
      }
  }
  int best = 0;
  for (int k = 1; k < 4; ++k)
    if (a[k][k] > a[best][best]) best = k;
  double second = -HUGE_VAL;
  for (int k = 0; k < 4; ++k)
    if (k != best) second = std::max(second, a[k][k]);
  for (int k = 0; k < 4; ++k) vector[k] = v[k][best];
  *gap = a[best][best] - second;
}

void LargestEigenvector(double a[4][4], double bound, double vector[4], double* gap) {
  if (LargestEigenvectorDirect(a, bound, vector, gap)) return;
  LargestEigenvectorByJacobi(a, vector, gap);
}

}  // namespace seam
