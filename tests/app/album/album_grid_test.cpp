// The album window's thumbnail grid: which photo a point lands on, scrolling
// limits, and the click / Ctrl+click / Shift+click selection.
#include <gtest/gtest.h>

#include "album_grid.h"

namespace vmd {
namespace {

// A window 744 x 220 shows 9 columns of 80 and 2 rows of 92.
AlbumGrid Grid(int count) {
  AlbumGrid grid;
  SizeAlbumGrid(grid, 744, 220, count);
  return grid;
}

std::vector<int> Selected(const AlbumGrid& grid) {
  std::vector<int> out;
  for (int i = 0; i < grid.count; ++i)
    if (grid.selected[i]) out.push_back(i);
  return out;
}

TEST(AlbumGrid, PointsLandOnCellsOfTheRowsShown) {
  AlbumGrid grid = Grid(30);
  EXPECT_EQ(grid.columns, 9);
  EXPECT_EQ(grid.rowsShown, 2);
  struct Case {
    int x, y, head, photo;
  } cases[] = {{0, 0, 0, 0},     {79, 91, 0, 0},   {80, 0, 0, 1},     {719, 0, 0, 8},
               {720, 0, 0, -1},  {0, 92, 0, 9},    {0, 92, 1, 18},    {100, 100, 2, 28},
               {200, 100, 2, 29}, {300, 100, 2, -1} /* past the 30th photo */, {-1, 5, 0, -1}};
  for (const Case& c : cases) {
    grid.headRow = c.head;
    EXPECT_EQ(AlbumPhotoAt(grid, c.x, c.y), c.photo) << c.x << "," << c.y << " head " << c.head;
  }
}

TEST(AlbumGrid, HeadRowStaysBetweenTheTopAndTheLastFullWindow) {
  AlbumGrid grid = Grid(30);  // 4 rows, 2 shown: head rows 0..2
  EXPECT_EQ(AlbumLastHeadRow(grid), 2);
  SetAlbumHeadRow(grid, 7);
  EXPECT_EQ(grid.headRow, 2);
  SetAlbumHeadRow(grid, -3);
  EXPECT_EQ(grid.headRow, 0);
  EXPECT_EQ(AlbumHeadRowAt(grid, 0), 0);
  EXPECT_EQ(AlbumHeadRowAt(grid, 100), 2);
  EXPECT_EQ(AlbumHeadRowAt(grid, 50), 1);
  grid.headRow = 2;
  EXPECT_EQ(AlbumScrollPosition(grid), 100);
  // An album that fits does not scroll.
  AlbumGrid small = Grid(18);
  EXPECT_EQ(AlbumLastHeadRow(small), 0);
  EXPECT_EQ(AlbumScrollPosition(small), 0);
  EXPECT_EQ(AlbumHeadRowAt(small, 100), 0);
}

TEST(AlbumGrid, ClicksSelectLikeAFileList) {
  AlbumGrid grid = Grid(10);
  ClickAlbumPhoto(grid, 2, false, false);
  EXPECT_EQ(Selected(grid), (std::vector<int>{2}));
  ClickAlbumPhoto(grid, 5, false, true);  // Shift: 2 to 5
  EXPECT_EQ(Selected(grid), (std::vector<int>{2, 3, 4, 5}));
  EXPECT_EQ(grid.current, 5);
  ClickAlbumPhoto(grid, 0, false, true);  // Shift again: from the same anchor
  EXPECT_EQ(Selected(grid), (std::vector<int>{0, 1, 2}));
  ClickAlbumPhoto(grid, 7, true, false);  // Ctrl adds
  EXPECT_EQ(Selected(grid), (std::vector<int>{0, 1, 2, 7}));
  ClickAlbumPhoto(grid, 1, true, false);  // Ctrl takes away
  EXPECT_EQ(Selected(grid), (std::vector<int>{0, 2, 7}));
  EXPECT_EQ(grid.current, 1);
  ClickAlbumPhoto(grid, 9, true, true);  // Ctrl+Shift adds the range 1..9
  EXPECT_EQ(Selected(grid), (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9}));
  ClickAlbumPhoto(grid, -1, true, false);  // Ctrl on no photo keeps all
  EXPECT_EQ(Selected(grid).size(), 10u);
  ClickAlbumPhoto(grid, -1, false, false);  // a plain click on no photo clears
  EXPECT_TRUE(Selected(grid).empty());
}

TEST(AlbumGrid, ANewCountClearsTheSelectionAndShowingAPhotoScrollsToIt) {
  AlbumGrid grid = Grid(30);
  SelectAllAlbumPhotos(grid);
  grid.current = 29;
  SizeAlbumGrid(grid, 744, 220, 12);
  EXPECT_TRUE(Selected(grid).empty());
  EXPECT_EQ(grid.current, 11);
  grid = Grid(40);
  ShowAlbumPhoto(grid, 39);  // row 4: rows 3 and 4 shown
  EXPECT_EQ(grid.headRow, 3);
  ShowAlbumPhoto(grid, 3);
  EXPECT_EQ(grid.headRow, 0);
  EXPECT_EQ(grid.current, 3);
}

}  // namespace
}  // namespace vmd
