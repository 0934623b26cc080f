#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "seamcore.h"
#include "test_dib.h"

namespace {

struct Grid {
  std::vector<StitchElement> elements;
  std::vector<StitchPyramid> pyramids;
  StitchMatrix matrix{};

  Grid(int columns, int rows, int layout) : elements(columns * rows), pyramids(columns * rows) {
    std::memset(static_cast<void*>(elements.data()), 0, elements.size() * sizeof(StitchElement));
    std::memset(static_cast<void*>(pyramids.data()), 0, pyramids.size() * sizeof(StitchPyramid));
    for (size_t i = 0; i < elements.size(); ++i) elements[i].pyramid = &pyramids[i];
    matrix.elements = elements.data();
    matrix.layout = layout;
    matrix.columns = columns;
    matrix.rows = rows;
  }
};

TEST(StitchMatrixGetElement, IndexesColumnPlusRowTimesColumns) {
  Grid grid(3, 2, kLayoutTile);
  EXPECT_EQ(grid.matrix.GetElement(0, 0), &grid.elements[0]);
  EXPECT_EQ(grid.matrix.GetElement(2, 0), &grid.elements[2]);
  EXPECT_EQ(grid.matrix.GetElement(1, 1), &grid.elements[4]);
  EXPECT_EQ(grid.matrix.GetElement(2, 1), &grid.elements[5]);
}

TEST(StitchMatrixGetElement, NullJustOutsideEveryEdge) {
  Grid grid(3, 2, kLayoutTile);
  EXPECT_EQ(grid.matrix.GetElement(-1, 0), nullptr);
  EXPECT_EQ(grid.matrix.GetElement(3, 0), nullptr);
  EXPECT_EQ(grid.matrix.GetElement(0, -1), nullptr);
  EXPECT_EQ(grid.matrix.GetElement(0, 2), nullptr);
  EXPECT_EQ(grid.matrix.GetElement(3, 2), nullptr);
}

TEST(StitchMatrixGetImage, ReturnsTheLevelHandleOrNull) {
  Grid grid(2, 2, kLayoutTile);
  HGLOBAL photo = GlobalAlloc(GMEM_MOVEABLE, 64);
  HGLOBAL reduced = GlobalAlloc(GMEM_MOVEABLE, 64);
  grid.pyramids[1].image[0] = photo;
  grid.pyramids[1].image[1] = reduced;
  grid.pyramids[1].levels = 2;
  grid.elements[2].pyramid = nullptr;  // an empty tile cell

  EXPECT_EQ(grid.matrix.GetImage(1, 0, 0), photo);
  EXPECT_EQ(grid.matrix.GetImage(1, 0, 1), reduced);
  EXPECT_EQ(grid.matrix.GetImage(0, 1, 0), nullptr);
  EXPECT_EQ(grid.matrix.GetImage(2, 0, 0), nullptr);
  EXPECT_EQ(grid.matrix.GetImage(0, -1, 0), nullptr);
  GlobalFree(photo);
  GlobalFree(reduced);
}

TEST(StitchPyramidZoomRatio, IsTwoToThePowerWithShiftModulo32) {
  EXPECT_EQ(StitchPyramid::ZoomRatio(0), 1);
  EXPECT_EQ(StitchPyramid::ZoomRatio(1), 2);
  EXPECT_EQ(StitchPyramid::ZoomRatio(3), 8);
  EXPECT_EQ(StitchPyramid::ZoomRatio(9), 512);
  EXPECT_EQ(StitchPyramid::ZoomRatio(32), 1);
  EXPECT_EQ(StitchPyramid::ZoomRatio(35), 8);
}

TEST(StitchRecordCopies, ShareElementsAndHandles) {
  Grid grid(2, 1, kLayoutRow);
  StitchMatrix copy{};
  copy = grid.matrix;
  EXPECT_EQ(copy.elements, grid.matrix.elements);
  EXPECT_EQ(copy.columns, 2);
  EXPECT_EQ(copy.rows, 1);
  EXPECT_EQ(copy.layout, kLayoutRow);

  StitchPyramid p{};
  p.levels = 3;
  p.width = 100;
  p.height = 80;
  p.image[0] = reinterpret_cast<HGLOBAL>(0x1234);
  p.image[9] = reinterpret_cast<HGLOBAL>(0x5678);
  StitchPyramid q{};
  q = p;
  EXPECT_EQ(std::memcmp(&p, &q, sizeof p), 0);
}

TEST(SetProgressState, PendingExportsDoNotPretendToStitch) {
  Grid grid(2, 1, kLayoutRow);
  StitchOptions options{};
  SetProgressState(0);
  LONG c1 = 5, r1 = 5, c2 = 5, r2 = 5;
  EXPECT_EQ(Locate(&grid.matrix, &options, POINT{1, 1}, &c1, &r1, &c2, &r2), 0);
  EXPECT_EQ(c1, -1);
  EXPECT_EQ(r2, -1);
}

}  // namespace
