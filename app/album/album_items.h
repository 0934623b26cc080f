#ifndef APP_ALBUM_ALBUM_ITEMS_H
#define APP_ALBUM_ALBUM_ITEMS_H

#include <string>
#include <vector>

#include "album_item.h"

namespace vmd {

/// String ids of the album messages.
enum AlbumMessage : int {
  kMsgCantOpenFile = 50051,      ///< "Can't open the file."
  kMsgAlbumFull = 50052,         ///< "Album has reached its maximum capacity."
  kMsgSaveAlbumError = 50057,    ///< "Save album file error." (with the path)
  kMsgPhotoSizeZero = 50124,     ///< "The photo size is zero."
  kMsgCannotLocateFile = 50125,  ///< "Cannot locate the file."
};

/// Where album messages go: the program shows a message box with the string
/// (and the detail, e.g. the path, after it); tests record them.
using AlbumMessageSink = void (*)(int stringId, const std::string& detail);
void SetAlbumMessageSink(AlbumMessageSink sink);
void ReportAlbumMessage(int stringId, const std::string& detail = std::string());

/// An album in memory: up to 1000 items (see album_item.h) in album order.
/// The album owns its items and frees them.
class AlbumItems {
 public:
  AlbumItems() = default;
  ~AlbumItems() { Free(); }
  AlbumItems(const AlbumItems&) = delete;
  AlbumItems& operator=(const AlbumItems&) = delete;
  AlbumItems(AlbumItems&& other) noexcept;
  AlbumItems& operator=(AlbumItems&& other) noexcept;

  /// Replaces the contents by an album file's. True when every record up to
  /// the limit of 1000 was read; a damaged file keeps the sound records before
  /// the damage; a missing file or one that is no album leaves it empty.
  bool Load(const std::string& path);
  /// The same from an album file's bytes.
  bool LoadBytes(const uint8_t* bytes, size_t size);
  /// The album file's bytes; false (and `out` empty) for an album that
  /// cannot be written (an item that is no item, too much data).
  bool FileBytes(std::vector<uint8_t>* out) const;
  /// Writes the album to `path`. A file that cannot be written (or created)
  /// gives "Save album file error." with the path and 0. An empty album
  /// writes nothing (a missing file is created empty) and gives 0. The new
  /// file replaces the old one only once it is complete.
  int Save(const std::string& path) const;
  /// As Save, except that an empty album is written as an album file with
  /// no records: for an album the user has emptied, whose old file would
  /// otherwise bring its photos back.
  int SaveEvenWhenEmpty(const std::string& path) const;

  /// Appends a made item, which the album then owns; refused (the item
  /// freed, false) when the album holds 1000 already.
  bool Add(HGLOBAL item);
  /// Frees item `index`; later items move up. False for an index outside.
  bool Remove(int index);
  /// Moves item `from` to place `to` (the others keep their order).
  bool Move(int from, int to);
  void Free();

  int Count() const { return static_cast<int>(items_.size()); }
  bool Full() const { return Count() >= kAlbumMaxItems; }
  HGLOBAL Item(int index) const;
  bool Record(int index, AlbumRecord* record) const;

  /// The folder that relative names are inside (the user's album folder).
  void SetSampleFolder(const std::string& folder) { sampleFolder_ = folder; }
  const std::string& SampleFolder() const { return sampleFolder_; }
  /// The photo's full path: a relative name joined to the sample folder.
  std::string ItemPath(int index) const;
  /// The stored path, lower-cased.
  std::string ItemStoredPath(int index) const;
  /// The index of the item whose full path equals `path` without regard to
  /// case, or -1.
  int Find(const std::string& path) const;

  bool Changed() const { return changed_; }
  void SetChanged(bool changed) { changed_ = changed; }

 private:
  std::vector<HGLOBAL> items_;
  std::string sampleFolder_;
  bool changed_ = false;
};

/// The current album of the program, and the second one that can be opened
/// for a while (copying photos between albums): OpenSecondAlbum sets the
/// current album aside and loads a file as current; CloseSecondAlbum drops it
/// and brings the set-aside one back. One level only.
AlbumItems& CurrentAlbumItems();
bool LoadAlbum(const std::string& path);
int SaveAlbum(const std::string& path);
bool OpenSecondAlbum(const std::string& path);
void CloseSecondAlbum();
bool SecondAlbumOpen();
bool AddAlbumItem(HGLOBAL item);
bool RemoveAlbumItem(int index);
bool MoveAlbumItem(int from, int to);
void FreeAlbum();
std::string AlbumItemPath(int index);
std::string AlbumItemStoredPath(int index);
int FindAlbumItem(const std::string& path);

}  // namespace vmd

#endif  // APP_ALBUM_ALBUM_ITEMS_H
