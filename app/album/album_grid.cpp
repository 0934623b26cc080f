#include "album_grid.h"

#include <algorithm>

namespace vmd {

void SizeAlbumGrid(AlbumGrid& grid, int width, int height, int count) {
  grid.columns = std::max(1, width / kAlbumCellWidth);
  grid.rowsShown = std::max(1, height / kAlbumCellHeight);
  if (count != grid.count || static_cast<int>(grid.selected.size()) != count) {
    grid.count = count;
    grid.selected.assign(count, false);
    if (grid.current >= count) grid.current = count - 1;
    grid.anchor = grid.current;
  }
  SetAlbumHeadRow(grid, grid.headRow);
}

int AlbumRowCount(const AlbumGrid& grid) { return (grid.count + grid.columns - 1) / grid.columns; }

int AlbumLastHeadRow(const AlbumGrid& grid) { return std::max(0, AlbumRowCount(grid) - grid.rowsShown); }

void SetAlbumHeadRow(AlbumGrid& grid, int row) {
  grid.headRow = std::clamp(row, 0, AlbumLastHeadRow(grid));
}

int AlbumHeadRowAt(const AlbumGrid& grid, int position) {
  const int last = AlbumLastHeadRow(grid);
  return std::clamp((std::clamp(position, 0, 100) * last + 50) / 100, 0, last);
}

int AlbumScrollPosition(const AlbumGrid& grid) {
  const int last = AlbumLastHeadRow(grid);
  return last == 0 ? 0 : grid.headRow * 100 / last;
}

int AlbumPhotoAt(const AlbumGrid& grid, int x, int y) {
  if (x < 0 || y < 0) return -1;
  const int column = x / kAlbumCellWidth;
  if (column >= grid.columns) return -1;
  const int index = (grid.headRow + y / kAlbumCellHeight) * grid.columns + column;
  return index < grid.count ? index : -1;
}

void ClickAlbumPhoto(AlbumGrid& grid, int index, bool control, bool shift) {
  if (index < 0 || index >= grid.count) {
    if (!control && !shift) std::fill(grid.selected.begin(), grid.selected.end(), false);
    return;
  }
  if (shift && grid.anchor >= 0 && grid.anchor < grid.count) {
    if (!control) std::fill(grid.selected.begin(), grid.selected.end(), false);
    const int from = std::min(grid.anchor, index);
    const int to = std::max(grid.anchor, index);
    for (int i = from; i <= to; ++i) grid.selected[i] = true;
  } else if (control) {
    grid.selected[index] = !grid.selected[index];
    grid.anchor = index;
  } else {
    std::fill(grid.selected.begin(), grid.selected.end(), false);
    grid.selected[index] = true;
    grid.anchor = index;
  }
  grid.current = index;
}

void SelectAllAlbumPhotos(AlbumGrid& grid) { std::fill(grid.selected.begin(), grid.selected.end(), true); }

void ShowAlbumPhoto(AlbumGrid& grid, int index) {
  if (index < 0 || index >= grid.count) return;
  grid.current = index;
  const int row = index / grid.columns;
  if (row < grid.headRow) SetAlbumHeadRow(grid, row);
  if (row >= grid.headRow + grid.rowsShown) SetAlbumHeadRow(grid, row - grid.rowsShown + 1);
}

}  // namespace vmd
