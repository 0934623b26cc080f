#include "largest_eigenvector.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>

namespace {

// Horn's matrix of a set of ray pairs: its largest eigenvector is the
// quaternion of the rotation that best turns the sources onto the targets.
struct HornMatrix {
  double a[4][4];
  double bound = 0;
};

HornMatrix FromRays(std::mt19937& rng, int count, double spreadX, double spreadY, double turn,
                    double noise) {
  std::normal_distribution<double> normal(0, 1);
  double m[3][3] = {};
  HornMatrix h;
  for (int i = 0; i < count; ++i) {
    double s[3] = {spreadX * normal(rng), spreadY * normal(rng), -1};
    double t[3] = {std::cos(turn) * s[0] - std::sin(turn) * s[2] + noise * normal(rng),
                   s[1] + noise * normal(rng), std::sin(turn) * s[0] + std::cos(turn) * s[2]};
    for (double* v : {s, t}) {
      const double n = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
      for (int k = 0; k < 3; ++k) v[k] /= n;
    }
    for (int r = 0; r < 3; ++r)
      for (int c = 0; c < 3; ++c) m[r][c] += s[r] * t[c];
    h.bound += 1;  // unit rays
  }
  const double xx = m[0][0], xy = m[0][1], xz = m[0][2], yx = m[1][0], yy = m[1][1], yz = m[1][2],
               zx = m[2][0], zy = m[2][1], zz = m[2][2];
  const double n[4][4] = {{xx + yy + zz, yz - zy, zx - xz, xy - yx},
                          {yz - zy, xx - yy - zz, xy + yx, zx + xz},
                          {zx - xz, xy + yx, -xx + yy - zz, yz + zy},
                          {xy - yx, zx + xz, yz + zy, -xx - yy + zz}};
  std::memcpy(h.a, n, sizeof n);
  return h;
}

double SignFreeDistance(const double u[4], const double v[4]) {
  double plus = 0, minus = 0;
  for (int k = 0; k < 4; ++k) {
    plus = std::max(plus, std::fabs(u[k] - v[k]));
    minus = std::max(minus, std::fabs(u[k] + v[k]));
  }
  return std::min(plus, minus);
}

// The direct solution must give what the Jacobi sweeps give wherever it
// answers, from wide ray bundles down to bundles a tenth of a degree across,
// and it must answer for the bundles the alignment meets.
TEST(LargestEigenvector, DirectSolutionAgreesWithJacobiSweeps) {
  struct Case {
    double spreadX, spreadY, noise, tolerance;
    bool mustAnswer;
  };
  const Case cases[] = {{0.3, 0.1, 1e-4, 1e-12, true},
                        {0.3, 0.3, 0, 1e-12, true},
                        {0.05, 0.015, 1e-4, 1e-11, true},
                        {0.01, 0.003, 1e-5, 1e-9, true},
                        {0.002, 0.0006, 1e-6, 1e-8, false}};
  std::mt19937 rng(11);
  for (const Case& c : cases)
    for (int trial = 0; trial < 500; ++trial) {
      const HornMatrix h = FromRays(rng, 3 + trial % 8, c.spreadX, c.spreadY, 0.6, c.noise);
      double jacobiInput[4][4];
      std::memcpy(jacobiInput, h.a, sizeof jacobiInput);
      double expected[4], expectedGap;
      seam::LargestEigenvectorByJacobi(jacobiInput, expected, &expectedGap);
      double direct[4], gap;
      const bool answered = seam::LargestEigenvectorDirect(h.a, h.bound, direct, &gap);
      if (c.mustAnswer) {
        ASSERT_TRUE(answered) << c.spreadX << " trial " << trial;
      }
      if (!answered) continue;
      EXPECT_LT(SignFreeDistance(direct, expected), c.tolerance) << c.spreadX << " trial " << trial;
      EXPECT_NEAR(gap, expectedGap, 1e-3 * expectedGap) << c.spreadX << " trial " << trial;
      double norm = 0;
      for (double v : direct) norm += v * v;
      EXPECT_NEAR(norm, 1, 1e-14);
    }
}

// Rays that all point one way give a double largest eigenvalue: the direct
// solution declines, and the sweeps report a gap of nothing.
TEST(LargestEigenvector, ADoubleLargestEigenvalueIsLeftToTheSweeps) {
  std::mt19937 rng(3);
  HornMatrix h = FromRays(rng, 4, 0, 0, 0.6, 0);
  double v[4], gap;
  EXPECT_FALSE(seam::LargestEigenvectorDirect(h.a, h.bound, v, &gap));
  seam::LargestEigenvector(h.a, h.bound, v, &gap);
  EXPECT_LT(gap, 1e-9 * h.bound);
}

}  // namespace
