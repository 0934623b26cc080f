#include "album_order.h"

#include <algorithm>
#include <numeric>

#include "path_text.h"

namespace vmd {

std::vector<int> AlbumSortOrder(const std::vector<AlbumSortKey>& keys, AlbumSortBy by, bool reverse) {
  std::vector<int> order(keys.size());
  std::iota(order.begin(), order.end(), 0);
  auto less = [&](int a, int b) {
    const AlbumSortKey& x = keys[a];
    const AlbumSortKey& y = keys[b];
    switch (by) {
      case AlbumSortBy::kType: return LowerCase(x.type) < LowerCase(y.type);
      case AlbumSortBy::kSize: return x.size < y.size;
      case AlbumSortBy::kDate: return x.time < y.time;
      case AlbumSortBy::kName:
      default: return LowerCase(x.name) < LowerCase(y.name);
    }
  };
  std::stable_sort(order.begin(), order.end(), less);
  if (reverse) std::reverse(order.begin(), order.end());
  return order;
}

std::vector<AlbumSortKey> AlbumSortKeys(const AlbumItems& items) {
  std::vector<AlbumSortKey> keys;
  for (int i = 0; i < items.Count(); ++i) {
    AlbumSortKey key;
    AlbumRecord record;
    if (items.Record(i, &record)) {
      key.name = FileNameOfPath(record.Path());
      key.type = record.TypeText();
      key.size = record.FileSize();
      key.time = record.FileTime();
    }
    keys.push_back(key);
  }
  return keys;
}

void ApplyAlbumOrder(AlbumItems& items, const std::vector<int>& order) {
  std::vector<int> now(items.Count());
  std::iota(now.begin(), now.end(), 0);
  for (int place = 0; place < static_cast<int>(order.size()) && place < items.Count(); ++place) {
    const auto found = std::find(now.begin() + place, now.end(), order[place]);
    if (found == now.end()) continue;
    const int from = static_cast<int>(found - now.begin());
    if (from == place) continue;
    items.Move(from, place);
    now.erase(now.begin() + from);
    now.insert(now.begin() + place, order[place]);
  }
}

std::vector<int> SelectedFromLast(const std::vector<bool>& selected) {
  std::vector<int> out;
  for (int i = static_cast<int>(selected.size()) - 1; i >= 0; --i)
    if (selected[i]) out.push_back(i);
  return out;
}

}  // namespace vmd
