#include "album_clipboard.h"

#include "path_text.h"

namespace vmd {

bool AlbumClipboard::Take(const AlbumItems& album, const std::vector<bool>& selected,
                          const std::string& sourceFile, bool cut) {
  std::vector<HGLOBAL> items;
  std::vector<std::string> paths;
  for (int i = 0; i < album.Count() && i < static_cast<int>(selected.size()); ++i) {
    if (!selected[i]) continue;
    HGLOBAL copy = CopyAlbumItem(album.Item(i));
    if (copy == nullptr) {
      for (HGLOBAL item : items) GlobalFree(item);
      return false;
    }
    items.push_back(copy);
    paths.push_back(album.ItemPath(i));
  }
  if (items.empty()) return false;
  Clear();
  items_ = std::move(items);
  paths_ = std::move(paths);
  sourceFile_ = sourceFile;
  cut_ = cut;
  return true;
}

AlbumPaste AlbumClipboard::PasteInto(AlbumItems& album) {
  AlbumPaste paste;
  for (size_t i = 0; i < items_.size(); ++i) {
    if (album.Find(paths_[i]) >= 0) {
      paste.present.push_back(paths_[i]);
      continue;
    }
    if (album.Full()) {
      ReportAlbumMessage(kMsgAlbumFull);
      break;
    }
    HGLOBAL copy = CopyAlbumItem(items_[i]);
    if (copy == nullptr || !album.Add(copy)) break;
    ++paste.added;
    paste.present.push_back(paths_[i]);
  }
  if (cut_) Clear();
  return paste;
}

void AlbumClipboard::Clear() {
  for (HGLOBAL item : items_) GlobalFree(item);
  items_.clear();
  paths_.clear();
  sourceFile_.clear();
  cut_ = false;
}

int RemoveAlbumPhotos(AlbumItems& album, const std::vector<std::string>& paths) {
  int removed = 0;
  for (int i = album.Count() - 1; i >= 0; --i) {
    const std::string path = album.ItemPath(i);
    for (const std::string& gone : paths) {
      if (!SameTextIgnoringCase(path, gone)) continue;
      album.Remove(i);
      ++removed;
      break;
    }
  }
  return removed;
}

}  // namespace vmd
