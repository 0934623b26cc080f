#include "arrange.h"
#include "refine.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

using seam::Mat3;
using seam::Vec3;

constexpr double kPi = 3.14159265358979323846;

Mat3 Yaw(double radians) {  // a turn to the right (towards +x of the view)
  return seam::AxisAngleRotation({0, -1, 0}, radians);
}
Mat3 Pitch(double radians) {  // a turn upward
  return seam::AxisAngleRotation({1, 0, 0}, radians);
}
Mat3 Roll(double radians) { return seam::AxisAngleRotation({0, 0, 1}, radians); }

double MaxDifference(const Mat3& a, const Mat3& b) {
  double d = 0;
  for (int i = 0; i < 9; ++i) d = std::fmax(d, std::fabs(a.m[i] - b.m[i]));
  return d;
}

/// A grid of photos whose true orientations are known; the pair rotations are
/// the exact relative turns, and the lists the exact images of a few points.
struct Scene {
  Scene(int layout, int columns, int rows) : elements(columns * rows), pyramids(columns * rows) {
    matrix.elements = elements.data();
    matrix.layout = layout;
    matrix.columns = columns;
    matrix.rows = rows;
    for (int i = 0; i < columns * rows; ++i) {
      pyramids[i].levels = 1;
      pyramids[i].width = 640;
      pyramids[i].height = 480;
      elements[i].pyramid = &pyramids[i];
    }
    truth.assign(columns * rows, seam::Identity());
    options.focal = 600;
  }

  void SetPairRotations() {
    for (const seam::NeighbourPair& pair : seam::LayoutPairs(matrix)) {
      const int p = pair.column + pair.row * matrix.columns;
      const int q = pair.neighbourColumn + pair.neighbourRow * matrix.columns;
      const Mat3 rel = seam::Multiply(seam::Transposed(truth[p]), truth[q]);
      rel.CopyTo(seam::PairRotationField(elements[p], pair.kind));
    }
  }

  /// Lists of exact correspondences under `focal` (the true one).
  void SetPairLists(double focal) {
    for (const seam::NeighbourPair& pair : seam::LayoutPairs(matrix)) {
      const int p = pair.column + pair.row * matrix.columns;
      const int q = pair.neighbourColumn + pair.neighbourRow * matrix.columns;
      const Mat3 rel = seam::Multiply(seam::Transposed(truth[p]), truth[q]);
      StitchElement& e = elements[p];
      *seam::PairCount(e, pair.kind) = 6;
      for (int i = 0; i < 6; ++i) {
        const double qx = pair.kind == seam::PairKind::kRight ? 30 + 25 * i : 100 + 80 * i;
        const double qy = pair.kind == seam::PairKind::kRight ? 60 + (i * 137) % 360 : 30 + 20 * i;
        double px, py;
        seam::ProjectIntoNeighbour(rel, focal, 0, qx, qy, 319.5, 239.5, 319.5, 239.5, &px, &py);
        seam::PairList(e, pair.kind)[i] = {static_cast<LONG>(std::lround(px)),
                                           static_cast<LONG>(std::lround(py)),
                                           static_cast<LONG>(qx), static_cast<LONG>(qy)};
      }
    }
  }

  Mat3 Orientation(int index) const { return Mat3::From(elements[index].orientation); }

  std::vector<StitchElement> elements;
  std::vector<StitchPyramid> pyramids;
  std::vector<Mat3> truth;
  StitchMatrix matrix;
  StitchOptions options{};
};

/// The arranged orientations must equal the truth up to one common turn.
void ExpectTruthUpToACommonTurn(const Scene& s, double tolerance) {
  const Mat3 offset = seam::Multiply(s.Orientation(0), seam::Transposed(s.truth[0]));
  for (size_t i = 0; i < s.truth.size(); ++i) {
    if (!s.elements[i].pyramid) continue;
    EXPECT_LT(MaxDifference(s.Orientation(i), seam::Multiply(offset, s.truth[i])), tolerance) << i;
  }
}

/// ... and when the photos' mean up is vertical, that turn is about y only.
void ExpectTruthUpToAYaw(const Scene& s, double tolerance) {
  const Mat3 offset = seam::Multiply(s.Orientation(0), seam::Transposed(s.truth[0]));
  EXPECT_NEAR(offset(1, 1), 1, tolerance);
  ExpectTruthUpToACommonTurn(s, tolerance);
}

/// The smallest cylinder angle of the left edge of photo `index` (radians),
/// with angles past pi counted as negative.
double LeftEdgeAngle(const Scene& s, int index) {
  double smallest = 10;
  for (double y : {239.5, -239.5}) {
    const seam::UnrolledPoint u =
        seam::PhotoRayToUnrolled(s.Orientation(index), {-319.5, y, s.options.focal}, 1);
    const double q = u.u > kPi ? u.u - 2 * kPi : u.u;
    smallest = std::fmin(smallest, q);
  }
  return smallest;
}

TEST(Arrange, TwoPhotosInARowAreTheLevelFrameAndItsProductWithTheRotation) {
  Scene s(kLayoutRow, 2, 1);
  s.truth[1] = Yaw(0.5);
  s.SetPairRotations();
  seam::Arrange(&s.matrix, &s.options, 0);
  const Mat3 frame = s.Orientation(0);
  EXPECT_LT(MaxDifference(s.Orientation(1),
                          seam::Multiply(frame, Mat3::From(s.elements[0].rightRotation))),
            1e-12);
  EXPECT_NEAR(LeftEdgeAngle(s, 0), 0, 1e-9);
}

TEST(Arrange, LevelRowKeepsItsHorizonAndStartsAtTheFirstLeftEdge) {
  Scene s(kLayoutRow, 5, 1);
  for (int i = 0; i < 5; ++i) s.truth[i] = Yaw(0.6 * i);
  s.truth[0] = seam::Identity();
  s.SetPairRotations();
  seam::Arrange(&s.matrix, &s.options, 0);
  ExpectTruthUpToAYaw(s, 1e-9);
  EXPECT_NEAR(LeftEdgeAngle(s, 0), 0, 1e-9);
}

TEST(Arrange, PitchedRowIsLevelledByTheMeanUpOfItsPhotos) {
  // Each photo's up axis leans forward; their mean over a part of the turn
  // leans less, and that mean becomes vertical.
  Scene s(kLayoutRow, 5, 1);
  for (int i = 0; i < 5; ++i) s.truth[i] = seam::Multiply(Yaw(0.6 * i), Pitch(0.1));
  s.SetPairRotations();
  seam::Arrange(&s.matrix, &s.options, 0);
  ExpectTruthUpToACommonTurn(s, 1e-9);
  Vec3 up;
  for (int i = 0; i < 5; ++i) up = seam::Add(up, s.Orientation(i).Column(1));
  up = seam::Normalize(up);
  EXPECT_NEAR(up.y, 1, 1e-12);
  EXPECT_NEAR(LeftEdgeAngle(s, 0), 0, 1e-9);
}

TEST(Arrange, RowWithRollStaysFaithfulToTheMeanUp) {
  Scene s(kLayoutRow, 3, 1);
  s.truth[0] = Roll(0.05);
  s.truth[1] = seam::Multiply(Yaw(0.6), Roll(-0.03));
  s.truth[2] = seam::Multiply(Yaw(1.2), Roll(0.02));
  s.SetPairRotations();
  seam::Arrange(&s.matrix, &s.options, 0);
  // The up direction is the mean of the three photos' up vectors, so each
  // photo keeps its roll relative to the others.
  ExpectTruthUpToAYaw(s, 0.02);
  for (int i = 0; i < 3; ++i) {
    const Mat3 relative =
        seam::Multiply(seam::Transposed(s.Orientation(0)), s.Orientation(i));
    EXPECT_LT(MaxDifference(relative, seam::Multiply(seam::Transposed(s.truth[0]), s.truth[i])),
              1e-9);
  }
}

TEST(Arrange, ColumnIsLevelledWithItsLeftEdgeAtTheStart) {
  Scene s(kLayoutColumn, 1, 4);
  for (int i = 0; i < 4; ++i) s.truth[i] = seam::Multiply(Yaw(0.2), Pitch(-0.6 + 0.4 * i));
  s.SetPairRotations();
  seam::Arrange(&s.matrix, &s.options, 0);
  ExpectTruthUpToAYaw(s, 1e-9);
  double leftmost = 10;
  for (int i = 0; i < 4; ++i) leftmost = std::fmin(leftmost, LeftEdgeAngle(s, i));
  EXPECT_NEAR(leftmost, 0, 1e-9);
}

TEST(Arrange, TileGridWithAnEmptyCellAgreesWithEveryNeighbour) {
  Scene s(kLayoutTile, 3, 2);
  for (int r = 0; r < 2; ++r)
    for (int c = 0; c < 3; ++c) s.truth[c + 3 * r] = seam::Multiply(Yaw(0.55 * c), Pitch(0.45 * r));
  s.elements[5].pyramid = nullptr;  // (2, 1)
  s.SetPairRotations();
  seam::Arrange(&s.matrix, &s.options, 0);
  ExpectTruthUpToACommonTurn(s, 1e-9);
  double leftmost = 10;
  for (int r = 0; r < 2; ++r) leftmost = std::fmin(leftmost, LeftEdgeAngle(s, 3 * r));
  EXPECT_NEAR(leftmost, 0, 1e-9);
}

TEST(Arrange, TileGridSpreadsAnInconsistentLoop) {
  Scene s(kLayoutTile, 2, 2);
  s.truth = {seam::Identity(), Yaw(0.5), Pitch(0.4), seam::Multiply(Yaw(0.5), Pitch(0.4))};
  s.SetPairRotations();
  // Spoil one pair by a small extra turn: the relaxation shares it out, so no
  // photo ends further from the truth than the spoil itself.
  seam::Multiply(Mat3::From(s.elements[1].upRotation), Yaw(0.02)).CopyTo(s.elements[1].upRotation);
  seam::Arrange(&s.matrix, &s.options, 0);
  ExpectTruthUpToACommonTurn(s, 0.02);
}

TEST(ArrangeFullCircle, FindsTheFocalLengthThatClosesTheRing) {
  const double trueFocal = 560;
  Scene s(kLayoutCircle, 10, 1);
  for (int i = 0; i < 10; ++i) s.truth[i] = seam::Multiply(Yaw(2 * kPi * i / 10), Pitch(0.03));
  s.SetPairLists(trueFocal);
  s.options.focal = trueFocal * 1.04;
  ASSERT_EQ(seam::SolveAllPairRotations(&s.matrix, &s.options, 0), kStitchOk);
  Vec3 axis;
  double angle = 1;
  ASSERT_EQ(seam::ArrangeFullCircle(&s.matrix, &s.options, 0, &axis, &angle), kStitchOk);
  EXPECT_NEAR(s.options.focal, trueFocal, trueFocal * 0.005);
  EXPECT_LT(std::fabs(angle), 0.01);
  EXPECT_NEAR(seam::Length(axis), 1, 1e-9);
  EXPECT_NEAR(LeftEdgeAngle(s, 0), 0, 1e-9);
  ExpectTruthUpToAYaw(s, 0.01);
}

// The correction at the end of the turn undoes what the chain leaves: turned
// by it, photo 0 as the chain places it after the last photo is photo 0 again.
TEST(ArrangeFullCircle, TheCorrectionUndoesTheClosingRotation) {
  Scene s(kLayoutCircle, 8, 1);
  for (int i = 0; i < 8; ++i) s.truth[i] = Yaw(2 * kPi * i / 8);
  s.SetPairRotations();
  // One pair rolls a little too far: the chain no longer closes.
  const Mat3 extra = seam::Multiply(seam::Multiply(Roll(0.02), Pitch(0.01)),
                                    Mat3::From(s.elements[3].rightRotation));
  extra.CopyTo(s.elements[3].rightRotation);
  s.options.focal = 612;
  Vec3 axis;
  double angle;
  ASSERT_EQ(seam::ArrangeFullCircle(&s.matrix, &s.options, 0, &axis, &angle), kStitchOk);
  const Mat3 k = seam::Multiply(seam::Multiply(s.Orientation(7), Mat3::From(s.elements[7].rightRotation)),
                                seam::Transposed(s.Orientation(0)));
  EXPECT_GT(std::fabs(angle), 0.015);
  EXPECT_LT(MaxDifference(seam::Multiply(seam::AxisAngleRotation(axis, angle), k), seam::Identity()),
            1e-9);
}

TEST(ArrangeFullCircle, AClosedRingKeepsItsFocalLength) {
  Scene s(kLayoutCircle, 8, 1);
  for (int i = 0; i < 8; ++i) s.truth[i] = Yaw(2 * kPi * i / 8);
  s.SetPairRotations();  // exact and closed; the lists are empty, so re-solving keeps them
  s.options.focal = 612;
  Vec3 axis;
  double angle;
  ASSERT_EQ(seam::ArrangeFullCircle(&s.matrix, &s.options, 0, &axis, &angle), kStitchOk);
  EXPECT_NEAR(s.options.focal, 612, 1e-6);
  EXPECT_EQ(angle, 0);
}

struct ClosingCase {
  const char* name;
  Vec3 axis;
  double angle;
  double expected;  // the angle the closing keeps
};
class ClosingRotation : public ::testing::TestWithParam<ClosingCase> {};

TEST_P(ClosingRotation, KeepsOnlyTurnsUpToAQuarterOfPi) {
  const ClosingCase& c = GetParam();
  Vec3 axis;
  double angle;
  const Mat3 k = seam::AxisAngleRotation(seam::Normalize(c.axis), c.angle);
  seam::ClosingAxisAngle(k, &axis, &angle);
  EXPECT_NEAR(angle, c.expected, 1e-9);
  if (c.expected > 0) {
    EXPECT_LT(MaxDifference(seam::AxisAngleRotation(axis, angle), k), 1e-9);
  } else {
    EXPECT_EQ(axis.x, 1);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Angles, ClosingRotation,
    ::testing::Values(ClosingCase{"small", {0.1, 1, 0.2}, 0.05, 0.05},
                      ClosingCase{"justBelowQuarter", {0, 0, 1}, 0.78, 0.78},
                      ClosingCase{"beyondQuarter", {0, 1, 0}, 0.8, 0},
                      ClosingCase{"none", {0, 1, 0}, 0, 0},
                      ClosingCase{"negativeAngleFlipsAxis", {1, 1, 0}, -0.1, 0.1}),
    [](const ::testing::TestParamInfo<ClosingCase>& info) { return info.param.name; });

TEST(ClosingRotation, AMatrixThatIsNoRotationHasNoClosingTurn) {
  Mat3 k = seam::Identity();
  k(0, 0) = -1;  // a mirror
  Vec3 axis;
  double angle = 5;
  seam::ClosingAxisAngle(k, &axis, &angle);
  EXPECT_EQ(angle, 0);
}

TEST(AxisAngleRotation, IsARightHandedTurn) {
  const Mat3 r = seam::AxisAngleRotation({0, 0, 1}, kPi / 2);
  const Vec3 x = seam::Multiply(r, Vec3{1, 0, 0});
  EXPECT_NEAR(x.y, 1, 1e-15);
  EXPECT_NEAR(seam::Determinant(seam::AxisAngleRotation(seam::Normalize({1, 2, 3}), 0.7)), 1,
              1e-12);
}

}  // namespace

namespace refine_tests {

/// A 3 x 2 grid with rounded exact lists, every photo but the first turned a
/// little away from the truth.
Scene PerturbedGrid(double listFocal) {
  Scene s(kLayoutTile, 3, 2);
  for (int r = 0; r < 2; ++r)
    for (int c = 0; c < 3; ++c)
      s.truth[c + 3 * r] = seam::Multiply(Yaw(0.6 * c), Pitch(-0.25 + 0.45 * r));
  s.SetPairLists(listFocal);
  for (int i = 0; i < 6; ++i) {
    const Mat3 off = seam::Multiply(Roll(0.01 * (i % 3)), Yaw(0.008 * (i % 2)));
    (i == 0 ? s.truth[0] : seam::Multiply(off, s.truth[i])).CopyTo(s.elements[i].orientation);
  }
  return s;
}

TEST(RefineOrientations, BringsEveryPhotoBackToThePairsAndKeepsTheFirst) {
  Scene s = PerturbedGrid(600);
  s.options.focal = 600;
  ASSERT_TRUE(seam::RefineOrientations(&s.matrix, &s.options, 0, false));
  EXPECT_EQ(MaxDifference(s.Orientation(0), s.truth[0]), 0);
  for (int i = 1; i < 6; ++i) EXPECT_LT(MaxDifference(s.Orientation(i), s.truth[i]), 1.5e-3) << i;
  EXPECT_EQ(s.options.focal, 600);
}

TEST(RefineOrientations, FindsTheFocalLengthOfAGridFromOnePercentOff) {
  Scene s = PerturbedGrid(600);
  s.options.focal = 606;
  ASSERT_TRUE(seam::RefineOrientations(&s.matrix, &s.options, 0, true));
  EXPECT_NEAR(s.options.focal, 600, 1.5);
  for (int i = 1; i < 6; ++i) EXPECT_LT(MaxDifference(s.Orientation(i), s.truth[i]), 2e-3) << i;
}

// Refined to a shorter focal length, a grid's left corners turn further
// left than Arrange put them; one left of angle 0 would wrap round to the far
// end of the canvas. The turn brings the leftmost back to angle 0, once.
TEST(RefineOrientations, AGridWhoseFocalLengthShrinksIsTurnedBackToStartAtItsLeftEdge) {
  Scene s(kLayoutTile, 2, 2);
  for (int r = 0; r < 2; ++r)
    for (int c = 0; c < 2; ++c) s.truth[c + 2 * r] = seam::Multiply(Yaw(0.65 * c), Pitch(-0.25 + 0.5 * r));
  s.SetPairRotations();
  s.SetPairLists(600);
  s.options.focal = 606;
  seam::Arrange(&s.matrix, &s.options, 0);
  EXPECT_NEAR(std::fmin(LeftEdgeAngle(s, 0), LeftEdgeAngle(s, 2)), 0, 1e-9);
  ASSERT_TRUE(seam::RefineOrientations(&s.matrix, &s.options, 0, true));
  ASSERT_NEAR(s.options.focal, 600, 1.5);
  ASSERT_LT(std::fmin(LeftEdgeAngle(s, 0), LeftEdgeAngle(s, 2)), -1e-4);

  seam::KeepLeftEdgeFromAngleZero(&s.matrix, s.options.focal);
  EXPECT_NEAR(std::fmin(LeftEdgeAngle(s, 0), LeftEdgeAngle(s, 2)), 0, 1e-9);
  EXPECT_LT(LeftEdgeAngle(s, 1), 1.0);  // the right column is still near, not a turn away
  ExpectTruthUpToACommonTurn(s, 2e-3);
  std::vector<Mat3> kept;
  for (int i = 0; i < 4; ++i) kept.push_back(s.Orientation(i));
  seam::KeepLeftEdgeFromAngleZero(&s.matrix, s.options.focal);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(MaxDifference(s.Orientation(i), kept[i]), 0) << i;
}

TEST(RefineOrientations, ClosesAFullCircleThroughItsClosingPair) {
  Scene s(kLayoutCircle, 8, 1);
  for (int i = 0; i < 8; ++i) s.truth[i] = Yaw(2 * kPi * i / 8);
  s.SetPairLists(600);
  // A chain whose every turn is a little short leaves a gap before photo 0.
  for (int i = 0; i < 8; ++i) Yaw(2 * kPi * i / 8 * 0.99).CopyTo(s.elements[i].orientation);
  s.options.focal = 600;
  ASSERT_TRUE(seam::RefineOrientations(&s.matrix, &s.options, 0, false));
  for (int i = 1; i < 8; ++i) EXPECT_LT(MaxDifference(s.Orientation(i), s.truth[i]), 1.5e-3) << i;
}

TEST(RefineOrientations, NothingToDoWithoutPoints) {
  Scene s(kLayoutRow, 3, 1);
  s.options.focal = 600;
  EXPECT_FALSE(seam::RefineOrientations(&s.matrix, &s.options, 0, true));
}

}  // namespace refine_tests
