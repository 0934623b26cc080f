#ifndef APP_ALBUM_ALBUM_LIST_H
#define APP_ALBUM_ALBUM_LIST_H

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace vmd {

constexpr int kAlbumListMax = 100;
constexpr size_t kAlbumEntryBytes = 256;  ///< "file=title" with its terminator

/// The longest title a new album is given (what the album list shows).
constexpr size_t kAlbumTitleMax = 64;

/// A registry value of the album list: the album's file name and its title.
using AlbumListValue = std::pair<std::string, std::string>;

/// The number n of a list value name "album<n>.abm", read from the character
/// after "album" up to the ".": above 99 gives 99, no number gives 0.
int AlbumSlotOfName(const std::string& valueName);

/// The album list in memory: up to 100 entries "file=title", in the order of
/// their album numbers.
class AlbumList {
 public:
  /// Places registry values, in the order they were read, into slots by their
  /// number (a later value with the same slot replaces the earlier one); the
  /// filled slots in ascending order form the list. Only the first 100
  /// values are looked at.
  void Place(const std::vector<AlbumListValue>& values);
  /// The entries split at their first "=", for writing back.
  std::vector<AlbumListValue> Values() const;

  int Count() const { return static_cast<int>(entries_.size()); }
  const std::string& Entry(int index) const { return entries_[index]; }
  std::string FileName(int index) const;
  std::string Title(int index) const;
  bool SetTitle(int index, const std::string& title);
  /// The index of the entry with this file name (without regard to case), or -1.
  int Find(const std::string& fileName) const;

  /// The number for a new album: one more than the largest number found in
  /// the file names (the digits before the "."), 1 for an empty list.
  int NextNumber() const;
  /// Appends "album<n>.abm=<title><n>" with n = NextNumber(), or the next
  /// number whose file name `fileTaken` does not report in use, so a file
  /// left in the album folder is never taken over by a new album; returns its
  /// index, or -1 when the list is full.
  int Append(const std::string& title,
             const std::function<bool(const std::string& fileName)>& fileTaken = nullptr);
  /// Removes an entry; later entries move up.
  bool Remove(int index);

 private:
  std::vector<std::string> entries_;
};

/// A title typed for a new album, judged against the list.
enum class AlbumTitleCheck { kFine, kEmpty, kTaken };
/// Takes the typed text without its leading and trailing spaces (cut to
/// kAlbumTitleMax) into `title`: empty, the title of an album in the list
/// (without regard to case), or fine.
AlbumTitleCheck CheckNewAlbumTitle(const AlbumList& list, const std::string& typed, std::string* title);

}  // namespace vmd

#endif  // APP_ALBUM_ALBUM_LIST_H
