// Sorting an album and removing its selected photos: the order of the result.
#include <gtest/gtest.h>

#include "album_item.h"
#include "album_order.h"
#include "test_dib.h"

namespace vmd {
namespace {

using testing_support::MakeDib24;

std::vector<AlbumSortKey> Keys() {
  // name, type, size, time
  return {{"b.jpg", "Still Image Fil", 300, 20},
          {"A.jpg", "Scan", 100, 30},
          {"c.jpg", "Still Image Fil", 100, 10},
          {"a2.jpg", "scan", 200, 30}};
}

TEST(AlbumOrder, EachKeySortsAndEqualOnesKeepTheirOrder) {
  struct Case {
    AlbumSortBy by;
    bool reverse;
    std::vector<int> order;
  } cases[] = {
      {AlbumSortBy::kName, false, {1, 3, 0, 2}},  // "A" before "a2": case does not count
      {AlbumSortBy::kName, true, {2, 0, 3, 1}},
      {AlbumSortBy::kType, false, {1, 3, 0, 2}},  // "Scan" = "scan", then the still images
      {AlbumSortBy::kSize, false, {1, 2, 3, 0}},  // 100 (b before c keeps album order), 200, 300
      {AlbumSortBy::kDate, false, {2, 0, 1, 3}},
      {AlbumSortBy::kDate, true, {3, 1, 0, 2}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(AlbumSortOrder(Keys(), c.by, c.reverse), c.order)
        << static_cast<int>(c.by) << (c.reverse ? " reversed" : "");
  EXPECT_TRUE(AlbumSortOrder({}, AlbumSortBy::kName, true).empty());
}

TEST(AlbumOrder, TheAlbumTakesTheNewOrder) {
  AlbumItems items;
  const char* paths[] = {"C:\\p\\d.jpg", "C:\\p\\b.jpg", "C:\\p\\a.jpg", "C:\\p\\c.jpg"};
  for (const char* path : paths) {
    HGLOBAL photo = MakeDib24(80, 60, [](int, int) { return 0x336699u; });
    ASSERT_TRUE(items.Add(MakeAlbumItemFromFacts(photo, path, "Still Image File", 1, 1, 1, {10, 10})));
    GlobalFree(photo);
  }
  const std::vector<int> order = AlbumSortOrder(AlbumSortKeys(items), AlbumSortBy::kName, false);
  EXPECT_EQ(order, (std::vector<int>{2, 1, 3, 0}));
  ApplyAlbumOrder(items, order);
  ASSERT_EQ(items.Count(), 4);
  EXPECT_EQ(items.ItemPath(0), "C:\\p\\a.jpg");
  EXPECT_EQ(items.ItemPath(1), "C:\\p\\b.jpg");
  EXPECT_EQ(items.ItemPath(2), "C:\\p\\c.jpg");
  EXPECT_EQ(items.ItemPath(3), "C:\\p\\d.jpg");
  EXPECT_TRUE(items.Changed());
}

TEST(AlbumOrder, SelectedPhotosAreRemovedFromTheLast) {
  EXPECT_EQ(SelectedFromLast({true, false, true, true, false}), (std::vector<int>{3, 2, 0}));
  EXPECT_TRUE(SelectedFromLast({false, false}).empty());
}

}  // namespace
}  // namespace vmd
