// The album list's slot and numbering rules, and the first-run record fix-up.
#include <gtest/gtest.h>

#include "album_list.h"
#include "album_records.h"

namespace vmd {
namespace {

TEST(AlbumList, ValuesLandInTheSlotOfTheirNumber) {
  struct Case {
    const char* name;
    int slot;
  } cases[] = {{"album1.abm", 1},   {"album03.abm", 3}, {"ALBUM12.ABM", 12}, {"album99.abm", 99},
               {"album100.abm", 99}, {"album7000.abm", 99}, {"albumx.abm", 0}, {"photos.abm", 0},
               {"album-4.abm", 0}};
  for (const Case& c : cases) EXPECT_EQ(AlbumSlotOfName(c.name), c.slot) << c.name;
}

TEST(AlbumList, ListIsInNumberOrderAndALaterValueWinsItsSlot) {
  AlbumList list;
  list.Place({{"album12.abm", "Twelve"}, {"album3.abm", "Three"}, {"album1.abm", "One"},
              {"album03.abm", "Three again"}});
  ASSERT_EQ(list.Count(), 3);
  EXPECT_EQ(list.Entry(0), "album1.abm=One");
  EXPECT_EQ(list.Entry(1), "album03.abm=Three again");
  EXPECT_EQ(list.Entry(2), "album12.abm=Twelve");
  EXPECT_EQ(list.FileName(1), "album03.abm");
  EXPECT_EQ(list.Title(1), "Three again");
  EXPECT_EQ(list.Find("ALBUM12.abm"), 2);
  EXPECT_EQ(list.Find("album3.abm"), -1);
}

TEST(AlbumList, OnlyTheFirstHundredValuesAreRead) {
  std::vector<AlbumListValue> values;
  for (int n = 101; n >= 0; --n) values.push_back({"album" + std::to_string(n) + ".abm", "t"});
  AlbumList list;
  list.Place(values);
  // Values 101 down to 2 were read; 101..99 share slot 99 and 99 came last.
  ASSERT_EQ(list.Count(), 98);
  EXPECT_EQ(list.FileName(0), "album2.abm");
  EXPECT_EQ(list.FileName(97), "album99.abm");
}

TEST(AlbumList, NewAlbumsAreNumberedAfterTheLargest) {
  AlbumList list;
  EXPECT_EQ(list.NextNumber(), 1);
  EXPECT_EQ(list.Append("Holiday"), 0);
  EXPECT_EQ(list.Entry(0), "album1.abm=Holiday1");
  list.Place({{"album2.abm", "Row"}, {"album9.abm", "Grid"}, {"album4.abm", "Circle"}});
  EXPECT_EQ(list.NextNumber(), 10);
  EXPECT_EQ(list.Append("New"), 3);
  EXPECT_EQ(list.Entry(3), "album10.abm=New10");
  ASSERT_TRUE(list.Remove(1));  // album4 goes; later entries move up
  EXPECT_EQ(list.FileName(1), "album9.abm");
  EXPECT_EQ(list.NextNumber(), 11);
  EXPECT_FALSE(list.Remove(5));
  // Files left in the album folder (an entry lost from the list) are skipped.
  EXPECT_EQ(list.Append("Left", [](const std::string& name) {
    return name == "album11.abm" || name == "album12.abm";
  }), 3);
  EXPECT_EQ(list.Entry(3), "album13.abm=Left13");
}

TEST(AlbumList, EntriesSplitAtTheFirstEqualsSign) {
  AlbumList list;
  list.Place({{"album1.abm", "a=b"}});
  ASSERT_TRUE(list.SetTitle(0, "x = y = z"));
  std::vector<AlbumListValue> values = list.Values();
  ASSERT_EQ(values.size(), 1u);
  EXPECT_EQ(values[0].first, "album1.abm");
  EXPECT_EQ(values[0].second, "x = y = z");
  ASSERT_TRUE(list.SetTitle(0, std::string(400, 't')));
  EXPECT_EQ(list.Entry(0).size(), 255u) << "an entry holds 256 bytes with its terminator";
}

TEST(AlbumList, FullListTakesNoNewAlbum) {
  AlbumList list;
  for (int i = 0; i < 100; ++i) ASSERT_EQ(list.Append("A"), i);
  EXPECT_EQ(list.Append("A"), -1);
  EXPECT_EQ(list.Count(), 100);
}

TEST(AlbumList, NewTitlesAreTrimmedAndMustDifferFromEveryOther) {
  AlbumList list;
  list.Place({{"album1.abm", "Row"}, {"album2.abm", "Untitled-2"}});
  struct Case {
    const char* typed;
    AlbumTitleCheck check;
    const char* title;
  } cases[] = {
      {"  Beach  ", AlbumTitleCheck::kFine, "Beach"}, {"", AlbumTitleCheck::kEmpty, ""},
      {"   ", AlbumTitleCheck::kEmpty, ""},           {"ROW", AlbumTitleCheck::kTaken, "ROW"},
      {" row ", AlbumTitleCheck::kTaken, "row"},      {"Row 2", AlbumTitleCheck::kFine, "Row 2"},
      {"untitled-2", AlbumTitleCheck::kTaken, "untitled-2"},
  };
  for (const Case& c : cases) {
    std::string title = "left over";
    EXPECT_EQ(CheckNewAlbumTitle(list, c.typed, &title), c.check) << c.typed;
    EXPECT_EQ(title, c.title) << c.typed;
  }
  std::string title;
  EXPECT_EQ(CheckNewAlbumTitle(list, std::string(100, 'a'), &title), AlbumTitleCheck::kFine);
  EXPECT_EQ(title.size(), kAlbumTitleMax);
}

TEST(SampleRecord, RelativeNamesPointIntoTheProgramFolder) {
  AlbumRecord record{};
  ASSERT_TRUE(record.SetPath("row_1.jpg"));
  record.SetRelative(true);
  ASSERT_TRUE(ResolveSampleRecord(record, "C:\\Program Files\\Vistameld"));
  EXPECT_EQ(record.Path(), "C:\\Program Files\\Vistameld\\row_1.jpg");
  EXPECT_FALSE(record.IsRelative());
  EXPECT_FALSE(ResolveSampleRecord(record, "C:\\Elsewhere")) << "a full path stays";

  AlbumRecord longName{};
  longName.SetPath(std::string(100, 'n'));
  longName.SetRelative(true);
  EXPECT_FALSE(ResolveSampleRecord(longName, std::string(40, 'f')));
  EXPECT_TRUE(longName.IsRelative()) << "a name that would not fit keeps its relative form";
}

}  // namespace
}  // namespace vmd
