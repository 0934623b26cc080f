#ifndef APP_ALBUM_ALBUM_GRID_H
#define APP_ALBUM_ALBUM_GRID_H

#include <vector>

namespace vmd {

/// The thumbnail grid of the album window apart from the window: cells of a
/// fixed size in rows, the first row shown, the selection and current photo.
constexpr int kAlbumCellWidth = 80;
constexpr int kAlbumCellHeight = 92;  ///< a 69-pixel thumbnail and its name below

struct AlbumGrid {
  int columns = 1;
  int rowsShown = 1;
  int headRow = 0;  ///< the first row shown
  int count = 0;    ///< photos in the album
  int current = -1;
  int anchor = -1;  ///< where a Shift+click range starts
  std::vector<bool> selected;
};

/// Sizes the grid for a client area and an album of `count` photos; the
/// selection is cleared when the count changes.
void SizeAlbumGrid(AlbumGrid& grid, int width, int height, int count);
int AlbumRowCount(const AlbumGrid& grid);
/// The largest head row: the last row at the bottom of the window.
int AlbumLastHeadRow(const AlbumGrid& grid);
/// Sets the head row, kept between 0 and the last head row.
void SetAlbumHeadRow(AlbumGrid& grid, int row);
/// The head row for a scroll-bar position 0..100, and the position of a head row.
int AlbumHeadRowAt(const AlbumGrid& grid, int position);
int AlbumScrollPosition(const AlbumGrid& grid);
/// The photo at a client point, or -1 (between cells, past the last photo).
int AlbumPhotoAt(const AlbumGrid& grid, int x, int y);
/// A click on photo `index` (-1: on no photo): a plain click selects it alone,
/// Ctrl toggles it, Shift selects the range from the anchor; the clicked photo
/// becomes the current one. A plain click on no photo clears the selection.
void ClickAlbumPhoto(AlbumGrid& grid, int index, bool control, bool shift);
/// Selects every photo.
void SelectAllAlbumPhotos(AlbumGrid& grid);
/// Makes `index` the current photo and scrolls it into view.
void ShowAlbumPhoto(AlbumGrid& grid, int index);

}  // namespace vmd

#endif  // APP_ALBUM_ALBUM_GRID_H
