#ifndef APP_ALBUM_ALBUM_CLIPBOARD_H
#define APP_ALBUM_ALBUM_CLIPBOARD_H

#include <string>
#include <vector>

#include "album_items.h"

namespace vmd {

/// What a paste did: the number of photos appended, and the full paths of
/// the clipboard's photos that the album holds afterwards (appended now or
/// there before), which a cut then takes out of its source album.
struct AlbumPaste {
  int added = 0;
  std::vector<std::string> present;
};

/// Photos cut or copied from an album, held as copies of their items (record
/// and thumbnail) until they are pasted into the album shown. A cut photo
/// leaves its source album only when it is pasted; after that paste the
/// clipboard is empty. The clipboard owns its copies.
class AlbumClipboard {
 public:
  AlbumClipboard() = default;
  ~AlbumClipboard() { Clear(); }
  AlbumClipboard(const AlbumClipboard&) = delete;
  AlbumClipboard& operator=(const AlbumClipboard&) = delete;

  /// Takes copies of the selected items of `album`, whose file name is
  /// `sourceFile`, replacing what the clipboard held. False (the clipboard
  /// left as it was) when nothing is selected or memory runs out.
  bool Take(const AlbumItems& album, const std::vector<bool>& selected,
            const std::string& sourceFile, bool cut);
  /// Appends a copy of each photo that `album` does not hold yet (same full
  /// path, without regard to case), in album order; a full album stops the
  /// paste with "Album has reached its maximum capacity.". A cut is emptied
  /// afterwards, a copy can be pasted again.
  AlbumPaste PasteInto(AlbumItems& album);
  void Clear();

  bool Empty() const { return items_.empty(); }
  bool IsCut() const { return cut_; }
  const std::string& SourceFile() const { return sourceFile_; }

 private:
  std::vector<HGLOBAL> items_;
  std::vector<std::string> paths_;  ///< full paths, one per item
  std::string sourceFile_;
  bool cut_ = false;
};

/// Removes from `album` every item whose full path is one of `paths`
/// (without regard to case); the number removed.
int RemoveAlbumPhotos(AlbumItems& album, const std::vector<std::string>& paths);

}  // namespace vmd

#endif  // APP_ALBUM_ALBUM_CLIPBOARD_H
