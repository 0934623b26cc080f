#include "camera.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

using seam::Mat3;
using seam::PairKind;
using seam::Vec3;

constexpr double kPi = 3.14159265358979323846;

Mat3 TurnAboutY(double radians) {
  Mat3 r = seam::Identity();
  r(0, 0) = std::cos(radians);
  r(0, 2) = -std::sin(radians);
  r(2, 0) = std::sin(radians);
  r(2, 2) = std::cos(radians);
  return r;
}

Mat3 TurnAboutX(double radians) {
  Mat3 r = seam::Identity();
  r(1, 1) = std::cos(radians);
  r(1, 2) = -std::sin(radians);
  r(2, 1) = std::sin(radians);
  r(2, 2) = std::cos(radians);
  return r;
}

Mat3 TurnAboutZ(double radians) {
  Mat3 r = seam::Identity();
  r(0, 0) = std::cos(radians);
  r(0, 1) = -std::sin(radians);
  r(1, 0) = std::sin(radians);
  r(1, 1) = std::cos(radians);
  return r;
}

double MaxDifference(const Mat3& a, const Mat3& b) {
  double d = 0;
  for (int i = 0; i < 9; ++i) d = std::fmax(d, std::fabs(a.m[i] - b.m[i]));
  return d;
}

TEST(Geometry, CrossDotDeterminantAndSolve) {
  const Vec3 c = seam::Cross({1, 0, 0}, {0, 1, 0});
  EXPECT_EQ(c.z, 1);
  EXPECT_EQ(c.x, 0);
  const double a[4] = {1, 2, 3, 4};
  EXPECT_EQ(seam::Dot(a, a, 3), 14);
  Mat3 m;
  const double values[9] = {2, 0, 1, 1, 3, 2, 1, 1, 1};
  m = Mat3::From(values);
  EXPECT_DOUBLE_EQ(seam::Determinant(m), 2 * (3 - 2) - 0 + 1 * (1 - 3));
  EXPECT_DOUBLE_EQ(seam::Determinant(m), 0);
  Vec3 x;
  EXPECT_FALSE(seam::Solve3(m, {1, 2, 3}, &x));  // exactly singular
  m(2, 2) = 2;
  ASSERT_TRUE(seam::Solve3(m, {3, 6, 4}, &x));
  const Vec3 back = seam::Multiply(m, x);
  EXPECT_NEAR(back.x, 3, 1e-12);
  EXPECT_NEAR(back.y, 6, 1e-12);
  EXPECT_NEAR(back.z, 4, 1e-12);
  EXPECT_EQ(seam::Normalize({0, 0, 0}).x, 0);  // no NaN from a zero vector
}

TEST(Geometry, MatrixProductAndTransposeOfRectangularMatrices) {
  const double a[6] = {1, 2, 3, 4, 5, 6};  // 2 x 3
  double t[6];
  seam::Transpose(a, t, 2, 3);  // 3 x 2
  const double expectedT[6] = {1, 4, 2, 5, 3, 6};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(t[i], expectedT[i]);
  double p[4];
  seam::MatrixProduct(a, t, p, 2, 3, 2);
  EXPECT_EQ(p[0], 14);
  EXPECT_EQ(p[1], 32);
  EXPECT_EQ(p[2], 32);
  EXPECT_EQ(p[3], 77);
}

TEST(Geometry, OrthonormalizeTurnsANearRotationIntoARotation) {
  Mat3 r = seam::Multiply(TurnAboutY(0.3), TurnAboutX(0.1));
  r(0, 1) += 0.05;
  r(2, 0) -= 0.03;
  const Mat3 o = seam::Orthonormalize(r);
  const Mat3 product = seam::Multiply(seam::Transposed(o), o);
  EXPECT_LT(MaxDifference(product, seam::Identity()), 1e-12);
  EXPECT_NEAR(seam::Determinant(o), 1, 1e-12);
  EXPECT_LT(MaxDifference(o, r), 0.05);
}

TEST(LeastSquaresRotation, RecoversATenDegreeTurnFromThreeExactPairs) {
  const Mat3 truth = TurnAboutY(10 * kPi / 180);
  const Vec3 source[3] = {seam::Normalize({-100, 50, -500}), seam::Normalize({80, -60, -500}),
                          seam::Normalize({20, 120, -500})};
  Vec3 target[3];
  for (int i = 0; i < 3; ++i) target[i] = seam::Multiply(truth, source[i]);
  Mat3 fit;
  ASSERT_TRUE(seam::LeastSquaresRotation(source, target, 3, &fit));
  EXPECT_LT(MaxDifference(fit, truth), 1e-9);
  ASSERT_TRUE(seam::RobustRotation(source, target, 3, &fit));
  EXPECT_LT(MaxDifference(fit, truth), 1e-9);
}

// Any three or more rays that do not all point one way give a proper
// rotation, even a sheared map's or points on one line at a coarse level.
TEST(LeastSquaresRotation, AlwaysGivesAProperRotation) {
  const double d = 0.35;
  const double shear[9] = {1, 0, 0, d, std::sqrt(1 - d * d), 0, 0, 0, 1};
  const Mat3 skewed = seam::Multiply(Mat3::From(shear), TurnAboutY(0.4));
  // Points almost on one vertical line, as at a 50 x 37 pixel start level.
  const Vec3 source[4] = {seam::Normalize({-20, -15, -45}), seam::Normalize({-20.3, -5, -45}),
                          seam::Normalize({-19.8, 5, -45}), seam::Normalize({-20.1, 15, -45})};
  for (const Mat3& map : {skewed, TurnAboutY(0.7)}) {
    Vec3 target[4];
    for (int i = 0; i < 4; ++i) target[i] = seam::Normalize(seam::Multiply(map, source[i]));
    Mat3 fit;
    ASSERT_TRUE(seam::LeastSquaresRotation(source, target, 4, &fit));
    EXPECT_LT(MaxDifference(seam::Multiply(seam::Transposed(fit), fit), seam::Identity()), 1e-12);
    EXPECT_NEAR(seam::Determinant(fit), 1, 1e-12);
  }
  Vec3 target[4];
  for (int i = 0; i < 4; ++i) target[i] = seam::Multiply(TurnAboutY(0.7), source[i]);
  Mat3 fit;
  ASSERT_TRUE(seam::LeastSquaresRotation(source, target, 4, &fit));
  EXPECT_LT(MaxDifference(fit, TurnAboutY(0.7)), 1e-9);
}

TEST(LeastSquaresRotation, FailsOnFewerThanThreePairsOrRaysAllOneWay) {
  const Vec3 plane[3] = {{1, 0, 0}, {0, 1, 0}, {1, 1, 0}};
  const Vec3 same[3] = {{0, 0, -1}, {0, 0, -1}, {0, 0, -1}};
  Mat3 fit;
  EXPECT_TRUE(seam::LeastSquaresRotation(plane, plane, 3, &fit));
  EXPECT_LT(MaxDifference(fit, seam::Identity()), 1e-12);
  EXPECT_FALSE(seam::LeastSquaresRotation(plane, plane, 2, &fit));
  EXPECT_FALSE(seam::LeastSquaresRotation(same, same, 3, &fit));
}

TEST(RobustRotation, IgnoresOneOrTwoBadPairs) {
  const Mat3 truth = seam::Multiply(TurnAboutY(-0.4), TurnAboutX(0.05));
  std::vector<Vec3> source, target;
  for (int i = 0; i < 7; ++i) {
    const Vec3 s = seam::Normalize({-150.0 + 50 * i, (i % 3 - 1) * 90.0, -600});
    source.push_back(s);
    target.push_back(seam::Multiply(truth, s));
  }
  target[2] = seam::Normalize(seam::Add(target[2], {0.05, -0.04, 0}));
  target[5] = seam::Normalize(seam::Add(target[5], {-0.03, 0.06, 0}));
  Mat3 plain, robust;
  ASSERT_TRUE(seam::LeastSquaresRotation(source.data(), target.data(), 7, &plain));
  ASSERT_TRUE(seam::RobustRotation(source.data(), target.data(), 7, &robust));
  EXPECT_LT(MaxDifference(robust, truth), 1e-9);
  EXPECT_GT(MaxDifference(plain, truth), 1e-3);
}

TEST(RobustRotation, EightCoarseMatchesWithOneBadPairYieldTheTurn) {
  // Eight matches of a coarse level (80 x 60 pixels, focal 68.75) whose
  // unconstrained linear fit had rows 0.295 from orthogonal.
  const long p[8][4] = {{57, 10, 10, 15}, {67, 7, 19, 10}, {53, 23, 9, 29}, {61, 23, 18, 27},
                        {47, 35, 7, 44},  {58, 39, 20, 43}, {66, 43, 15, 53}, {71, 46, 19, 53}};
  const double f = 550.0 / 8, cx = 319.5 / 8, cy = 239.5 / 8;
  Vec3 source[8], target[8];
  for (int i = 0; i < 8; ++i) {
    target[i] = seam::Normalize(seam::PixelRay(p[i][0], p[i][1], cx, cy, f));
    source[i] = seam::Normalize(seam::PixelRay(p[i][2], p[i][3], cx, cy, f));
  }
  Mat3 fit;
  ASSERT_TRUE(seam::RobustRotation(source, target, 8, &fit));
  EXPECT_TRUE(seam::IsPlausiblePairRotation(fit, PairKind::kRight));
  // The true turn of that pair (36 degrees of yaw seen from a camera pitched
  // by 28 degrees, plus a little jitter).
  const double truth[9] = {0.7937, -0.2615, -0.5492, 0.2889, 0.9566,
                           -0.0380, 0.5353, -0.1285, 0.8349};
  const Mat3 difference = seam::Multiply(seam::Transposed(fit), Mat3::From(truth));
  const double angle = std::acos(std::fmin(1.0, (difference(0, 0) + difference(1, 1) +
                                                 difference(2, 2) - 1) / 2));
  EXPECT_LT(angle * 180 / kPi, 3.0);
}

TEST(DefaultRotation, HalfTheNarrowerAngleOfViewCappedAtThirtyDegrees) {
  const Mat3 right = seam::DefaultRotation(PairKind::kRight, 400, 1000);
  EXPECT_NEAR(right(0, 2), -std::sin(0.2), 1e-15);
  EXPECT_NEAR(right(2, 0), std::sin(0.2), 1e-15);
  const Mat3 up = seam::DefaultRotation(PairKind::kUp, 300, 1000);
  EXPECT_NEAR(up(1, 2), -std::sin(0.15), 1e-15);
  EXPECT_EQ(up(0, 0), 1);
  for (double focal : {1000.0, 100.0, 1.0, 1e-6, 0.0, -5.0}) {
    const Mat3 r = seam::DefaultRotation(PairKind::kRight, 640, focal);
    const double angle = std::atan2(-r(0, 2), r(0, 0));
    EXPECT_LE(angle, 0.5235987755982988 + 1e-15) << focal;
    EXPECT_GT(angle, 0) << focal;
  }
}

struct PlausibleCase {
  const char* name;
  Mat3 rotation;
  PairKind kind;
  bool plausible;
};
class Plausibility : public ::testing::TestWithParam<PlausibleCase> {};

TEST_P(Plausibility, AcceptsOnlyModestTurnsTowardsTheNeighbour) {
  EXPECT_EQ(seam::IsPlausiblePairRotation(GetParam().rotation, GetParam().kind),
            GetParam().plausible);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Plausibility,
    ::testing::Values(
        PlausibleCase{"right30", TurnAboutY(0.5), PairKind::kRight, true},
        PlausibleCase{"rightWrongWay", TurnAboutY(-0.5), PairKind::kRight, false},
        PlausibleCase{"right59", TurnAboutY(59 * kPi / 180), PairKind::kRight, true},
        PlausibleCase{"right61", TurnAboutY(61 * kPi / 180), PairKind::kRight, false},
        PlausibleCase{"noTurn", seam::Identity(), PairKind::kRight, false},
        PlausibleCase{"rightAboutX", TurnAboutX(-0.3), PairKind::kRight, false},
        PlausibleCase{"rightAboutZ", seam::Multiply(TurnAboutY(0.1), TurnAboutZ(0.3)),
                      PairKind::kRight, false},
        PlausibleCase{"rightSlightlyTilted", seam::Multiply(TurnAboutY(0.4), TurnAboutX(0.1)),
                      PairKind::kRight, true},
        PlausibleCase{"up20", TurnAboutX(0.35), PairKind::kUp, true},
        PlausibleCase{"upWrongWay", TurnAboutX(-0.35), PairKind::kUp, false},
        PlausibleCase{"upAboutY", TurnAboutY(0.35), PairKind::kUp, false}),
    [](const ::testing::TestParamInfo<PlausibleCase>& info) { return info.param.name; });

TEST(Projection, MatchesTheRayThroughTheRotationAndRoundTrips) {
  const Mat3 r = seam::Multiply(TurnAboutY(0.35), TurnAboutX(-0.04));
  const double focal = 800;  // level 0
  const int level = 1;
  const double cxQ = 159.5, cyQ = 119.5, cxP = 159.75, cyP = 119.25;
  double xP, yP;
  seam::ProjectIntoNeighbour(r, focal, level, 40, 70, cxQ, cyQ, cxP, cyP, &xP, &yP);
  // The ray of P's result must point where R sends Q's ray.
  const Vec3 q = seam::Normalize(seam::PixelRay(40, 70, cxQ, cyQ, focal / 2));
  const Vec3 expected = seam::Multiply(r, q);
  const Vec3 got = seam::Normalize(seam::PixelRay(xP, yP, cxP, cyP, focal / 2));
  EXPECT_NEAR(seam::Dot(expected, got), 1, 1e-14);
  double xQ, yQ;
  seam::ProjectIntoNeighbour(seam::Transposed(r), focal, level, xP, yP, cxP, cyP, cxQ, cyQ, &xQ,
                             &yQ);
  EXPECT_NEAR(xQ, 40, 1e-9);
  EXPECT_NEAR(yQ, 70, 1e-9);
  LONG rx, ry;
  seam::ProjectIntoNeighbourRounded(r, focal, level, 40, 70, cxQ, cyQ, cxP, cyP, &rx, &ry);
  EXPECT_EQ(rx, static_cast<LONG>(xP + 0.5));
  EXPECT_EQ(ry, static_cast<LONG>(yP + 0.5));
}

TEST(Projection, IdentityMovesAPointByTheDifferenceOfTheCentres) {
  double x, y;
  seam::ProjectIntoNeighbour(seam::Identity(), 500, 0, 10, 20, 100, 50, 103, 52, &x, &y);
  EXPECT_DOUBLE_EQ(x, 13);
  EXPECT_DOUBLE_EQ(y, 22);
}

TEST(PhotoCentre, ComesFromTheLevelZeroSize) {
  StitchPyramid p{};
  p.width = 641;
  p.height = 480;
  double cx, cy;
  seam::PhotoCentre(p, 0, &cx, &cy);
  EXPECT_EQ(cx, 320);
  EXPECT_EQ(cy, 239.5);
  seam::PhotoCentre(p, 2, &cx, &cy);
  EXPECT_EQ(cx, 80);
  EXPECT_EQ(cy, 59.875);
}

TEST(Cylinder, SpaceAndCylinderRoundTripOverTheWholeTurn) {
  for (double q = 0; q < 6.28; q += 0.37) {
    seam::CylinderPoint c;
    c.r = 250;
    c.q = q;
    c.v = -33;
    const seam::CylinderPoint back = seam::SpaceToCylinder(seam::CylinderToSpace(c));
    EXPECT_NEAR(back.r, 250, 1e-9);
    EXPECT_NEAR(back.q, q, 1e-9);
    EXPECT_NEAR(back.v, -33, 1e-12);
  }
  // Straight ahead is angle 0, to the right (+x) a quarter turn, to the left
  // three quarters.
  EXPECT_NEAR(seam::SpaceToCylinder({0, 0, -5}).q, 0, 1e-15);
  EXPECT_NEAR(seam::SpaceToCylinder({5, 0, 0}).q, kPi / 2, 1e-12);
  EXPECT_NEAR(seam::SpaceToCylinder({-5, 0, 0}).q, 1.5 * kPi, 1e-12);
  const seam::UnrolledPoint u = seam::SpaceToUnrolled({5, 7, 0}, 100);
  EXPECT_NEAR(u.u, 100 * kPi / 2, 1e-9);
  EXPECT_EQ(u.v, 7);
  const Vec3 s = seam::UnrolledToSpace(u);
  EXPECT_NEAR(s.x, 100, 1e-9);
  EXPECT_NEAR(s.y, 7, 1e-12);
}

TEST(Cylinder, PhotoRayAndPhotoPixelAreInverse) {
  const Mat3 m = seam::Multiply(TurnAboutY(-0.8), TurnAboutX(0.12));
  const double focal = 600, radius = 900;
  for (double x = -300; x <= 300; x += 75)
    for (double y = -220; y <= 220; y += 110) {
      const seam::UnrolledPoint u = seam::PhotoRayToUnrolled(m, {x, y, focal}, radius);
      EXPECT_NEAR(u.radius, radius, 0);
      double px, py;
      ASSERT_TRUE(seam::UnrolledToPhotoPixel(m, focal, u, &px, &py));
      EXPECT_NEAR(px, x, 1e-7);
      EXPECT_NEAR(py, y, 1e-7);
    }
}

TEST(Cylinder, StraightAheadIsTheStartOfTheCylinderAndBehindHasNoPixel) {
  const seam::UnrolledPoint ahead = seam::PhotoRayToUnrolled(seam::Identity(), {0, 0, 500}, 800);
  EXPECT_NEAR(ahead.u, 0, 1e-12);
  EXPECT_NEAR(ahead.v, 0, 1e-12);
  // A ray straight up has no horizontal direction; it is pinned, not NaN.
  const seam::UnrolledPoint up = seam::PhotoRayToUnrolled(TurnAboutX(kPi / 2), {0, 0, 500}, 800);
  EXPECT_FALSE(std::isnan(up.u));
  seam::UnrolledPoint behind;
  behind.radius = 800;
  behind.u = 800 * kPi;
  double x, y;
  EXPECT_FALSE(seam::UnrolledToPhotoPixel(seam::Identity(), 500, behind, &x, &y));
}

// ---- the layout check ----------------------------------------------------

struct LayoutCase {
  const char* name;
  int columns;
  int rows;
  const char* cells;  // row 0 first; '#' photo, '.' empty
  int valid;
};
class TileLayout : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(TileLayout, NeedsOneConnectedGroupTouchingAllFourSides) {
  const LayoutCase& c = GetParam();
  std::vector<StitchElement> elements(c.columns * c.rows);
  StitchPyramid photo{};
  for (int i = 0; i < c.columns * c.rows; ++i)
    elements[i].pyramid = c.cells[i] == '#' ? &photo : nullptr;
  StitchMatrix matrix;
  matrix.elements = elements.data();
  matrix.layout = kLayoutTile;
  matrix.columns = c.columns;
  matrix.rows = c.rows;
  EXPECT_EQ(VerifyMatrixLayout(&matrix), c.valid);
}

INSTANTIATE_TEST_SUITE_P(
    Grids, TileLayout,
    ::testing::Values(LayoutCase{"full2x2", 2, 2, "####", 1},
                      LayoutCase{"lShape", 2, 2, "##.#", 1},
                      LayoutCase{"lShapeOtherCorner", 2, 2, "###.", 1},
                      LayoutCase{"diagonalOnly", 2, 2, "#..#", 0},
                      LayoutCase{"otherDiagonal", 2, 2, ".##.", 0},
                      LayoutCase{"singleRow", 3, 1, "###", 0},
                      LayoutCase{"singleColumn", 1, 3, "###", 0},
                      LayoutCase{"rightColumnEmpty", 3, 3, "##.##.##.", 0},
                      LayoutCase{"topRowEmpty", 3, 3, "######...", 0},
                      LayoutCase{"ring3x3", 3, 3, "####.####", 1},
                      LayoutCase{"snake", 3, 3, "###..####", 1},
                      LayoutCase{"startAboveEmptyCorner", 3, 3, ".#####.##", 1},
                      LayoutCase{"island", 3, 3, "##.#...##", 0},
                      LayoutCase{"empty", 2, 2, "....", 0}),
    [](const ::testing::TestParamInfo<LayoutCase>& info) { return info.param.name; });

TEST(TileLayout, NullMatrixIsInvalid) { EXPECT_EQ(VerifyMatrixLayout(nullptr), 0); }

TEST(TileVisitOrder, BreadthFirstLeftRightBelowAbove) {
  std::vector<StitchElement> elements(9);
  StitchPyramid photo{};
  for (auto& e : elements) e.pyramid = &photo;
  elements[0].pyramid = nullptr;  // the start is the lowest photo of column 0: (0, 1)
  StitchMatrix matrix;
  matrix.elements = elements.data();
  matrix.layout = kLayoutTile;
  matrix.columns = 3;
  matrix.rows = 3;
  const std::vector<int> order = seam::TileVisitOrder(matrix);
  // From (0,1): right (1,1), above (0,2); from (1,1): right (2,1), below (1,0),
  // above (1,2); from (0,2): nothing new; from (2,1): below (2,0), above (2,2).
  const std::vector<int> expected = {3, 4, 6, 5, 1, 7, 2, 8};
  EXPECT_EQ(order, expected);
}

// ---- pair rotations from the lists ----------------------------------------------

class PairSolve : public ::testing::Test {
 protected:
  void SetUp() override {
    for (auto& p : pyramids) {
      p = StitchPyramid{};
      p.levels = 1;
      p.width = 640;
      p.height = 480;
    }
    elements.assign(3, StitchElement{});
    for (int i = 0; i < 3; ++i) elements[i].pyramid = &pyramids[i];
    matrix.elements = elements.data();
    matrix.layout = kLayoutRow;
    matrix.columns = 3;
    matrix.rows = 1;
    options = StitchOptions{};
    options.focal = 700;
  }

  // Fills P's right list with the exact images under `truth` of a few Q points.
  void FillExact(int column, const Mat3& truth, int count) {
    StitchElement& e = elements[column];
    e.rightCount = count;
    for (int i = 0; i < count; ++i) {
      const double qx = 40 + 45 * i, qy = 60 + (i * 137) % 360;
      // The map need not be a rotation: the image of Q's ray under it, seen
      // from P's pinhole.
      const Vec3 ray = seam::Multiply(truth, seam::PixelRay(qx, qy, 319.5, 239.5, options.focal));
      const double px = 319.5 - options.focal * ray.x / ray.z;
      const double py = 239.5 - options.focal * ray.y / ray.z;
      e.rightPairs[i] = {static_cast<LONG>(std::lround(px)), static_cast<LONG>(std::lround(py)),
                         static_cast<LONG>(qx), static_cast<LONG>(qy)};
    }
  }

  StitchPyramid pyramids[3];
  std::vector<StitchElement> elements;
  StitchMatrix matrix;
  StitchOptions options;
};

TEST_F(PairSolve, StoresTheFittedRotation) {
  const Mat3 truth = TurnAboutY(0.45);
  FillExact(0, truth, 6);
  ASSERT_EQ(seam::SolvePairRotation(&matrix, &options, 0, 0, PairKind::kRight, 0), kStitchOk);
  EXPECT_LT(MaxDifference(Mat3::From(elements[0].rightRotation), truth), 2e-3);
}

TEST_F(PairSolve, FewerThanThreePairsWritesNothing) {
  FillExact(0, TurnAboutY(0.45), 2);
  for (double& v : elements[0].rightRotation) v = 42;
  EXPECT_EQ(seam::SolvePairRotation(&matrix, &options, 0, 0, PairKind::kRight, 0),
            kStitchTooFewPairs);
  EXPECT_EQ(elements[0].rightRotation[4], 42);
}

TEST_F(PairSolve, WrongWayTurnIsReplacedByTheDefault) {
  FillExact(0, TurnAboutY(-0.3), 5);
  ASSERT_EQ(seam::SolvePairRotation(&matrix, &options, 0, 0, PairKind::kRight, 0), kStitchOk);
  const Mat3 expected = seam::DefaultRotation(PairKind::kRight, 640, 700);
  EXPECT_LT(MaxDifference(Mat3::From(elements[0].rightRotation), expected), 1e-15);
}

TEST_F(PairSolve, AnImplausibleFitTakesThePureTurnOfTheListsShift) {
  // A 0.25 turn after a roll of one radian about Q's view axis: no plausible
  // pair rotation (the axis is nearly the view axis), but eight points around
  // Q's centre still sit, on average, 0.25 further right in P.
  Mat3 roll = seam::Identity();
  roll(0, 0) = roll(1, 1) = std::cos(1.0);
  roll(0, 1) = -std::sin(1.0);
  roll(1, 0) = std::sin(1.0);
  const Mat3 truth = seam::Multiply(TurnAboutY(0.25), roll);
  StitchElement& e = elements[0];
  e.rightCount = 8;
  for (int i = 0; i < 8; ++i) {
    const double qx = 319.5 + 100 * std::cos(i * kPi / 4), qy = 239.5 + 100 * std::sin(i * kPi / 4);
    const Vec3 ray = seam::Multiply(truth, seam::PixelRay(qx, qy, 319.5, 239.5, options.focal));
    e.rightPairs[i] = {static_cast<LONG>(std::lround(319.5 - options.focal * ray.x / ray.z)),
                       static_cast<LONG>(std::lround(239.5 - options.focal * ray.y / ray.z)),
                       static_cast<LONG>(std::lround(qx)), static_cast<LONG>(std::lround(qy))};
  }
  ASSERT_EQ(seam::SolvePairRotation(&matrix, &options, 0, 0, PairKind::kRight, 0), kStitchOk);
  const Mat3 r = Mat3::From(e.rightRotation);
  EXPECT_TRUE(seam::IsPlausiblePairRotation(r, PairKind::kRight));
  // A pure turn about the vertical, not the default 0.457 (320 / 700).
  EXPECT_EQ(r(0, 1), 0);
  EXPECT_EQ(r(1, 2), 0);
  EXPECT_EQ(r(1, 1), 1);
  EXPECT_NEAR(std::asin(-r(0, 2)), 0.25, 0.02);
}

TEST(ShiftRotation, AnglesOfPointsOnTheCentreRowAddUpExactly) {
  // On the centre row a pure turn moves every point by the same angle.
  const double f = 500, cx = 99.5, cy = 74.5, turn = 0.3;
  StitchPair list[3];
  for (int i = 0; i < 3; ++i) {
    const double a = -0.2 + 0.1 * i;
    list[i] = {static_cast<LONG>(0), static_cast<LONG>(cy), static_cast<LONG>(0),
               static_cast<LONG>(cy)};
    // Whole pixels: pick Q's x first, then P's x from the angle.
    list[i].x2 = static_cast<LONG>(std::lround(cx + f * std::tan(a)));
    const double aq = std::atan((list[i].x2 - cx) / f);
    list[i].x1 = static_cast<LONG>(std::lround(cx + f * std::tan(aq + turn)));
  }
  const Mat3 r = seam::ShiftRotation(PairKind::kRight, list, 3, cx, cy, cx, cy, f);
  EXPECT_NEAR(std::asin(-r(0, 2)), turn, 2e-3);  // whole pixels: 1 / 500 at most
  for (StitchPair& p : list) std::swap(p.x1, p.y1), std::swap(p.x2, p.y2);
  const Mat3 up = seam::ShiftRotation(PairKind::kUp, list, 3, cy, cx, cy, cx, f);
  EXPECT_NEAR(std::asin(-up(1, 2)), turn, 2e-3);
}

TEST_F(PairSolve, AllPairsOfARowAndTheClosingPairOfACircle) {
  FillExact(0, TurnAboutY(0.4), 6);
  FillExact(1, TurnAboutY(0.5), 6);
  FillExact(2, TurnAboutY(0.6), 6);
  for (double& v : elements[2].rightRotation) v = 7;
  EXPECT_EQ(seam::SolveAllPairRotations(&matrix, &options, 0), kStitchOk);
  EXPECT_LT(MaxDifference(Mat3::From(elements[1].rightRotation), TurnAboutY(0.5)), 4e-3);
  EXPECT_EQ(elements[2].rightRotation[0], 7);  // a row has no pair after its last photo
  matrix.layout = kLayoutCircle;
  EXPECT_EQ(seam::SolveAllPairRotations(&matrix, &options, 0), kStitchOk);
  EXPECT_LT(MaxDifference(Mat3::From(elements[2].rightRotation), TurnAboutY(0.6)), 4e-3);
}

TEST(LayoutPairs, VisitingOrderOfEachLayout) {
  std::vector<StitchElement> elements(6, StitchElement{});
  StitchPyramid photo{};
  for (auto& e : elements) e.pyramid = &photo;
  StitchMatrix matrix;
  matrix.elements = elements.data();
  matrix.layout = kLayoutTile;
  matrix.columns = 3;
  matrix.rows = 2;
  elements[5].pyramid = nullptr;  // (2, 1) empty
  auto pairs = seam::LayoutPairs(matrix);
  ASSERT_EQ(pairs.size(), 5u);  // right: (0,0) (0,1) (1,0); up: (0,0) (1,0)
  EXPECT_EQ(pairs[0].column, 0);
  EXPECT_EQ(pairs[0].row, 0);
  EXPECT_EQ(pairs[1].row, 1);
  EXPECT_EQ(pairs[2].column, 1);
  EXPECT_EQ(pairs[2].row, 0);
  EXPECT_EQ(pairs[3].kind, PairKind::kUp);
  EXPECT_EQ(pairs[4].column, 1);
  matrix.layout = kLayoutCircle;
  matrix.columns = 6;
  matrix.rows = 1;
  elements[5].pyramid = &photo;
  pairs = seam::LayoutPairs(matrix);
  ASSERT_EQ(pairs.size(), 6u);
  EXPECT_EQ(pairs[5].neighbourColumn, 0);
  matrix.layout = 7;
  EXPECT_TRUE(seam::LayoutPairs(matrix).empty());
}

}  // namespace
