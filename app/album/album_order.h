#ifndef APP_ALBUM_ALBUM_ORDER_H
#define APP_ALBUM_ALBUM_ORDER_H

#include <cstdint>
#include <string>
#include <vector>

#include "album_items.h"

namespace vmd {

/// Sorting an album (the "Sort Album" dialog): by file name (without regard
/// to case), type text, file size or file time; photos that compare equal
/// keep their order, and the reverse order turns the whole result round.
enum class AlbumSortBy { kName = 0, kType = 1, kSize = 2, kDate = 3 };

struct AlbumSortKey {
  std::string name;
  std::string type;
  uint32_t size = 0;
  uint32_t time = 0;
};

/// The album's places in their new order: entry i is the old index of the
/// photo that comes to place i.
std::vector<int> AlbumSortOrder(const std::vector<AlbumSortKey>& keys, AlbumSortBy by, bool reverse);
/// The keys of an album's items (the file name of each path).
std::vector<AlbumSortKey> AlbumSortKeys(const AlbumItems& items);
/// Moves the items so that old item order[i] stands at place i.
void ApplyAlbumOrder(AlbumItems& items, const std::vector<int>& order);
/// The indexes of the selected photos from the last to the first: the order
/// in which removing them leaves the others' indexes valid.
std::vector<int> SelectedFromLast(const std::vector<bool>& selected);

}  // namespace vmd

#endif  // APP_ALBUM_ALBUM_ORDER_H
