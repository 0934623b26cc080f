#ifndef APP_ALBUM_ALBUM_WINDOW_H
#define APP_ALBUM_ALBUM_WINDOW_H

#include <windows.h>

#include <string>
#include <vector>

namespace vmd {

/// Where thumbnails dragged out of the album window may land (the
/// storyboard's boxes): whether a screen point is such a place, and the drop.
struct AlbumDropTarget {
  bool (*over)(POINT screen) = nullptr;
  void (*drop)(POINT screen) = nullptr;
};

/// The album window: the current album's thumbnails in a scrollable grid, a
/// child of the main window over `area` (inclusive, client coordinates).
/// Loads the album list and the current album; keeps the album's position.
bool OpenAlbumWindow(HWND parent, const RECT& area, const AlbumDropTarget& target);
void CloseAlbumWindow();
HWND AlbumWindow();
/// Shows album `index` of the list (saving the one shown if it changed).
void ShowAlbum(int index);
/// The album list's entries: every title, then "[New Album]" while the list
/// has room. Choosing entry `entry` shows that album; choosing "[New Album]"
/// asks for a title and makes, lists and shows the new album.
std::vector<std::string> AlbumListEntries();
void ChooseAlbumListEntry(HWND owner, int entry);
/// Cut or Copy: the selected photos go to the album clipboard (a beep when
/// none is selected). Paste: the clipboard's photos that the album shown
/// lacks are appended and saved, and a cut takes them out of their source
/// album; the pasted photos are selected.
void TakeSelectedAlbumPhotos(bool cut);
void PasteAlbumPhotos();
/// Adds photo files to the album shown (each replacing an item of the same
/// path), saves it, and shows the last one added. Failures are reported
/// with their messages. The number added.
int AddAlbumPhotoFiles(const std::vector<std::string>& paths, HGLOBAL (*read)(const std::string& path));
/// Adds an acquired photo, already written to `path`, from its DIB (the
/// caller keeps it): to the album shown, which shows it at once, or, with
/// no album window, to the current album's file. False when it was not added.
bool AddAcquiredAlbumPhoto(const std::string& path, HGLOBAL photo);
/// Removes the selected photos from the album shown, and with `files` deletes
/// their image files too; saves the album. Beeps when none is selected.
void DeleteSelectedAlbumPhotos(bool files);
/// Whether any photo of the album shown is selected.
bool AlbumHasSelection();
/// Sorts the album shown and saves it.
void SortShownAlbum(int by, bool reverse);
/// Scrolls by rows, or to a scroll-bar position 0..100.
void ScrollAlbumRows(int step);
void ScrollAlbumTo(int position);
/// The photos as the storyboard needs them: full paths in album order, the
/// selection, the current photo.
std::vector<std::string> AlbumPhotoPaths();
std::vector<bool> AlbumPhotoSelection();
int AlbumCurrentPhoto();

}  // namespace vmd

#endif  // APP_ALBUM_ALBUM_WINDOW_H
