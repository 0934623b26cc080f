// The command-line stitcher's arguments and the shared photo checks, matrix shapes and focal
// conversion, with the boundary cases of the program's stitch session.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "seamcore.h"
#include "stitch_arguments.h"
#include "stitch_plan.h"

namespace {

using stitch::Arguments;
using stitch::GridPlace;

std::string SizeProblem(const std::vector<vmd::PhotoSize>& sizes) {
  return vmd::StitchPlanText(vmd::CheckPhotoSizes(sizes));
}
std::string CountProblem(int kind, int count) { return vmd::StitchPlanText(vmd::CheckPhotoCount(kind, count)); }

bool Parse(const std::vector<std::string>& words, Arguments* a, std::string* error) {
  return stitch::ParseArguments(words, a, error);
}

TEST(StitchArguments, DefaultsAreTheProgramsStartValues) {
  Arguments a;
  std::string error;
  ASSERT_TRUE(Parse({"-o", "out.jpg", "a.jpg", "b.jpg"}, &a, &error)) << error;
  EXPECT_EQ(a.kind, vmd::PanoHorizontal);
  EXPECT_EQ(a.lensMode, stitch::kLensAutomatic);
  EXPECT_EQ(a.detail, 1);  // medium
  EXPECT_TRUE(a.exposure);
  EXPECT_TRUE(a.crop);
  EXPECT_EQ(a.output, "out.jpg");
  EXPECT_EQ(a.photos, (std::vector<std::string>{"a.jpg", "b.jpg"}));
}

TEST(StitchArguments, EveryOptionIsRead) {
  Arguments a;
  std::string error;
  ASSERT_TRUE(Parse({"--kind", "tile", "--lens", "28", "--size", "large", "--no-exposure", "--no-crop",
                     "--at", "1,0", "--at", "2,0", "--at", "1,1", "-o", "p.tif", "x", "y", "z"},
                    &a, &error))
      << error;
  EXPECT_EQ(a.kind, vmd::PanoTile);
  EXPECT_EQ(a.lensMode, stitch::kLensFixed);
  EXPECT_DOUBLE_EQ(a.focalMm, 28.0);
  EXPECT_EQ(a.detail, 0);
  EXPECT_FALSE(a.exposure);
  EXPECT_FALSE(a.crop);
  EXPECT_EQ(a.places, (std::vector<GridPlace>{{1, 0}, {2, 0}, {1, 1}}));
  EXPECT_EQ(a.jpegQuality, 75);  // the codec layer's own start value
  // The quality's two ends are accepted.
  ASSERT_TRUE(Parse({"--quality", "1", "-o", "p.jpg", "x"}, &a, &error)) << error;
  EXPECT_EQ(a.jpegQuality, 1);
  ASSERT_TRUE(Parse({"--quality", "100", "-o", "p.jpg", "x"}, &a, &error)) << error;
  EXPECT_EQ(a.jpegQuality, 100);
  ASSERT_TRUE(Parse({"--lens", "tele", "--size", "small", "--kind", "column", "-o", "p.bmp", "x"}, &a, &error));
  EXPECT_EQ(a.lensMode, stitch::kLensTelephoto);
  EXPECT_EQ(a.detail, 2);
  EXPECT_EQ(a.kind, vmd::PanoVertical);
  ASSERT_TRUE(Parse({"--help"}, &a, &error));
  EXPECT_TRUE(a.help);
  EXPECT_NE(std::string(stitch::HelpText()).find("--at c,r"), std::string::npos);
}

struct BadWords {
  std::vector<std::string> words;
  const char* reasonPart;
};

class StitchArgumentErrors : public testing::TestWithParam<BadWords> {};

TEST_P(StitchArgumentErrors, AreRefusedWithAOneLineReason) {
  Arguments a;
  std::string error;
  EXPECT_FALSE(Parse(GetParam().words, &a, &error));
  EXPECT_NE(error.find(GetParam().reasonPart), std::string::npos) << error;
  EXPECT_EQ(error.find('\n'), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, StitchArgumentErrors,
    testing::Values(
        BadWords{{"a.jpg", "b.jpg"}, "-o OUT"},
        BadWords{{"-o", "out.png", "a.jpg"}, "cannot write"},
        BadWords{{"-o", "out", "a.jpg"}, "cannot write"},
        BadWords{{"-o", "out.jpg"}, "no photos"},
        BadWords{{"-o"}, "-o needs a value"},
        BadWords{{"-o", "a.jpg", "-o", "b.jpg", "c"}, "twice"},
        BadWords{{"--kind", "sphere", "-o", "o.jpg", "a"}, "--kind must be"},
        BadWords{{"--lens", "0", "-o", "o.jpg", "a"}, "--lens must be"},
        BadWords{{"--lens", "28mm", "-o", "o.jpg", "a"}, "--lens must be"},
        BadWords{{"--size", "huge", "-o", "o.jpg", "a"}, "--size must be"},
        BadWords{{"--frobnicate", "-o", "o.jpg", "a"}, "unknown option"},
        BadWords{{"--at", "1,1", "-o", "o.jpg", "a", "b"}, "tile only"},
        BadWords{{"--kind", "tile", "--at", "4,0", "-o", "o.jpg", "a"}, "0 to 3"},
        BadWords{{"--kind", "tile", "--at", "1", "-o", "o.jpg", "a"}, "0 to 3"},
        BadWords{{"--kind", "tile", "--at", "0,0", "-o", "o.jpg", "a", "b"}, "one --at per photo"},
        BadWords{{"--kind", "tile", "--at", "0,0", "--at", "0,0", "-o", "o.jpg", "a", "b"}, "one --at place"},
        BadWords{{"--kind", "circle", "--lens", "35", "-o", "o.jpg", "a"}, "--lens auto only"},
        BadWords{{"--quality", "0", "-o", "o.jpg", "a"}, "1 to 100"},
        BadWords{{"--quality", "101", "-o", "o.jpg", "a"}, "1 to 100"},
        BadWords{{"--quality", "89.5", "-o", "o.jpg", "a"}, "whole number"},
        BadWords{{"--quality", "-o", "o.jpg", "a"}, "whole number"}));

TEST(StitchPhotoChecks, RatioComesBeforeSizeAtTheProgramsBoundaries) {
  const std::string ratio =
      "The photo's dimension must be between 1:2 and 2:1 (cannot be long and narrow or tall and thin).";
  const std::string small = "Please select a photo larger than 64x64 pixels.";
  EXPECT_EQ(SizeProblem({{400, 200}}), "");  // exactly 2:1 passes
  EXPECT_EQ(SizeProblem({{200, 400}}), "");
  EXPECT_EQ(SizeProblem({{401, 200}}), ratio);
  EXPECT_EQ(SizeProblem({{200, 401}}), ratio);
  EXPECT_EQ(SizeProblem({{65, 65}}), "");
  EXPECT_EQ(SizeProblem({{64, 100}}), small);
  EXPECT_EQ(SizeProblem({{64, 200}}), ratio);  // the ratio test fails first
  EXPECT_EQ(SizeProblem({{640, 480}, {64, 64}, {900, 100}}), small);  // first failing photo
}

TEST(StitchPhotoChecks, EachKindNeedsItsCount) {
  EXPECT_EQ(CountProblem(vmd::PanoHorizontal, 1), "Must include at least 2 photos.");
  EXPECT_EQ(CountProblem(vmd::PanoVertical, 1), "Must include at least 2 photos.");
  EXPECT_EQ(CountProblem(vmd::PanoHorizontal, 2), "");
  EXPECT_EQ(CountProblem(vmd::PanoTile, 2), "Must include at least 3 photos.");
  EXPECT_EQ(CountProblem(vmd::PanoTile, 3), "");
  EXPECT_EQ(CountProblem(vmd::Pano360, 5), "Must include at least 6 photos.");
  EXPECT_EQ(CountProblem(vmd::Pano360, 6), "");
}

TEST(StitchMatrixShape, ColumnsPutTheLastPhotoInRowZero) {
  const vmd::MatrixShape s = vmd::ShapeMatrix(vmd::PanoVertical, 3, {});
  EXPECT_EQ(s.columns, 1);
  EXPECT_EQ(s.rows, 3);
  EXPECT_EQ(s.photoOfElement, (std::vector<int>{2, 1, 0}));
  const vmd::MatrixShape row = vmd::ShapeMatrix(vmd::Pano360, 6, {});
  EXPECT_EQ(row.columns, 6);
  EXPECT_EQ(row.rows, 1);
  EXPECT_EQ(row.photoOfElement, (std::vector<int>{0, 1, 2, 3, 4, 5}));
}

TEST(StitchMatrixShape, TileGridIsTheBoundingBoxWithTheLowestRowFirst) {
  // Grid columns 1-2, rows 0-1: a 2 x 2 matrix whose row 0 holds grid row 1.
  const std::vector<GridPlace> places = {{1, 0}, {2, 0}, {1, 1}, {2, 1}};
  const vmd::MatrixShape s = vmd::ShapeMatrix(vmd::PanoTile, 4, places);
  EXPECT_EQ(s.columns, 2);
  EXPECT_EQ(s.rows, 2);
  EXPECT_EQ(s.photoOfElement, (std::vector<int>{2, 3, 0, 1}));
  // An L of three photos leaves one empty cell.
  const vmd::MatrixShape l = vmd::ShapeMatrix(vmd::PanoTile, 3, {{0, 2}, {0, 3}, {1, 3}});
  EXPECT_EQ(l.photoOfElement, (std::vector<int>{1, 2, 0, -1}));
}

TEST(StitchMatrixShape, DefaultTilePlacesFillRowsOfTheRoundedUpSquareRoot) {
  Arguments a;
  EXPECT_EQ(stitch::TilePlaces(a, 4), (std::vector<GridPlace>{{0, 0}, {1, 0}, {0, 1}, {1, 1}}));
  EXPECT_EQ(stitch::TilePlaces(a, 5), (std::vector<GridPlace>{{0, 0}, {1, 0}, {2, 0}, {0, 1}, {1, 1}}));
  EXPECT_EQ(stitch::TilePlaces(a, 3), (std::vector<GridPlace>{{0, 0}, {1, 0}, {0, 1}}));
  EXPECT_EQ(stitch::TilePlaces(a, 16).back(), (GridPlace{3, 3}));
  a.places = {{3, 3}, {2, 3}, {3, 2}};
  EXPECT_EQ(stitch::TilePlaces(a, 3), a.places);
}

TEST(StitchMatrixShape, DefaultPlacesMakeLayoutsTheEngineAccepts) {
  for (int n = 3; n <= 16; ++n) {
    const vmd::MatrixShape s = vmd::ShapeMatrix(vmd::PanoTile, n, stitch::TilePlaces(Arguments(), n));
    EXPECT_TRUE(vmd::TileLayoutAccepted(s)) << n << " photos";
  }
  // Three photos on a diagonal share no side.
  EXPECT_FALSE(vmd::TileLayoutAccepted(vmd::ShapeMatrix(vmd::PanoTile, 3, {{0, 0}, {1, 1}, {2, 2}})));
}

TEST(StitchFocal, MillimetresBecomePixelsOfTheReferencePhoto) {
  EXPECT_NEAR(vmd::FocalInPixels(28, 640), 497.78, 0.01);
  const vmd::MatrixShape s = vmd::ShapeMatrix(vmd::PanoTile, 3, {{1, 2}, {0, 3}, {1, 3}});
  // Element (0, 0) is grid (0, 3): photo 1.
  EXPECT_EQ(vmd::ReferencePhoto(vmd::PanoTile, s), 1);
  const vmd::MatrixShape gap = vmd::ShapeMatrix(vmd::PanoTile, 3, {{0, 2}, {1, 2}, {1, 3}});
  // Element (0, 0) is empty: the first occupied element, (1, 0), holds photo 2.
  EXPECT_EQ(vmd::ReferencePhoto(vmd::PanoTile, gap), 2);
  // The engine gets pixels of the reference photo, and millimetres stay
  // untouched with the automatic lens.
  const std::vector<vmd::PhotoSize> sizes = {{640, 480}, {480, 640}, {800, 600}};
  EXPECT_NEAR(vmd::EngineFocal(vmd::PanoHorizontal, ::kLensGiven, 28, vmd::ShapeMatrix(vmd::PanoHorizontal, 3, {}), sizes),
              497.78, 0.01);
  EXPECT_NEAR(vmd::EngineFocal(vmd::PanoTile, ::kLensGiven, 36, gap, sizes), 800.0, 1e-9);
  EXPECT_EQ(vmd::EngineFocal(vmd::PanoHorizontal, ::kLensAutomatic, 1200, vmd::ShapeMatrix(vmd::PanoHorizontal, 3, {}), sizes),
            1200.0);
  EXPECT_EQ(vmd::ReferencePhoto(vmd::PanoVertical, vmd::ShapeMatrix(vmd::PanoVertical, 3, {})), 0);
}

}  // namespace
