// The album list in the registry, positions, and adding to another album,
// against a scratch branch.
#include "album_registry.h"

#include <gtest/gtest.h>

#include "registry_key.h"
#include "scratch_settings.h"
#include "test_dib.h"

namespace vmd::test {
namespace {

std::vector<int> g_messages;
void RecordMessage(int id, const std::string&) { g_messages.push_back(id); }

HGLOBAL ReadSquare(const std::string&) {
  return testing_support::MakeDib24(120, 90, [](int, int) { return 0x00FF00u; });
}

class AlbumRegistryTest : public ScratchSettings {
 protected:
  void SetUp() override {
    ScratchSettings::SetUp();
    g_messages.clear();
    SetAlbumMessageSink(RecordMessage);
    CreateFolderChain(AlbumFolder());
  }
  void TearDown() override {
    SetAlbumMessageSink(nullptr);
    FreeAlbum();
    Albums().Place({});
    ScratchSettings::TearDown();
  }
  std::string Photos() { return SettingKeyPath("PHOTOS"); }
};

TEST_F(AlbumRegistryTest, ListIsReadInNumberOrderAndWrittenBack) {
  WriteStringValue(HKEY_CURRENT_USER, Photos(), "album12.abm", "Twelve");
  WriteStringValue(HKEY_CURRENT_USER, Photos(), "album3.abm", "Three");
  WriteStringValue(HKEY_CURRENT_USER, Photos(), "album03.abm", "Three again");
  WriteStringValue(HKEY_CURRENT_USER, Photos(), "album1.abm", "One");
  LoadAlbumList();
  ASSERT_EQ(AlbumCount(), 3);
  EXPECT_EQ(AlbumFileName(0), "album1.abm");
  EXPECT_EQ(AlbumFileName(2), "album12.abm");
  // "3" and "03" share slot 3; which of the two was read later is the
  // registry's order, so only the slot's sharing is fixed here.
  EXPECT_TRUE(AlbumFileName(1) == "album3.abm" || AlbumFileName(1) == "album03.abm");
  EXPECT_EQ(AlbumPath(0), AlbumFolder() + "\\album1.abm");

  ASSERT_TRUE(SetAlbumTitle(0, "First"));
  LoadAlbumList();
  EXPECT_EQ(AlbumCount(), 3) << "the list replaced the key";
  EXPECT_EQ(AlbumTitle(0), "First");
  // Titles are written as 260 zero-padded bytes.
  UniqueHKey key = OpenKey(HKEY_CURRENT_USER, Photos());
  DWORD type = 0, size = 0;
  ASSERT_EQ(RegQueryValueExA(key.get(), "album1.abm", nullptr, &type, nullptr, &size), ERROR_SUCCESS);
  EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(size, 260u);
}

TEST_F(AlbumRegistryTest, NewAndDeletedAlbums) {
  LoadAlbumList();
  EXPECT_EQ(NewAlbum("Trip"), 0);
  EXPECT_EQ(NewAlbum("Trip"), 1);
  EXPECT_EQ(AlbumTitle(1), "Trip2");
  EXPECT_EQ(GetFileAttributesA(AlbumPath(1).c_str()), INVALID_FILE_ATTRIBUTES)
      << "the file is made by the album's first save";
  LoadAlbumList();
  ASSERT_EQ(AlbumCount(), 2);
  ScratchSettings::WriteFile(AlbumPath(0), {'x'});
  ASSERT_TRUE(DeleteAlbum(0));
  EXPECT_EQ(GetFileAttributesA((AlbumFolder() + "\\album1.abm").c_str()), INVALID_FILE_ATTRIBUTES);
  LoadAlbumList();
  ASSERT_EQ(AlbumCount(), 1);
  EXPECT_EQ(AlbumFileName(0), "album2.abm");
  EXPECT_EQ(NewAlbum("Next"), 1);
  EXPECT_EQ(AlbumFileName(1), "album3.abm");
}

TEST_F(AlbumRegistryTest, CurrentAlbumAndPositionsLiveInTheirKeys) {
  LoadAlbumList();
  NewAlbum("A");
  EXPECT_EQ(CurrentAlbum(), 0);
  ASSERT_TRUE(SetCurrentAlbum(3));
  EXPECT_EQ(CurrentAlbum(), 3);
  ASSERT_TRUE(SetAlbumPosition(0, AlbumPlace::kPosition, 7));
  ASSERT_TRUE(SetAlbumPosition(0, AlbumPlace::kHeadRow, 2));
  EXPECT_EQ(AlbumPosition(0, AlbumPlace::kPosition), 7);
  EXPECT_EQ(AlbumPosition(0, AlbumPlace::kHeadRow), 2);
  DWORD value = 0;
  EXPECT_TRUE(ReadDwordValue(HKEY_CURRENT_USER, SettingKeyPath("ALBUMPOS"), "photos_album1.abm", &value));
  EXPECT_EQ(value, 7u);
  EXPECT_TRUE(ReadDwordValue(HKEY_CURRENT_USER, Settings().olderBranch + "\\ALBUMHEAD",
                             "photos_album1.abm", &value));
  EXPECT_EQ(value, 2u) << "head rows live under the older branch";
  EXPECT_FALSE(ReadDwordValue(HKEY_CURRENT_USER, SettingKeyPath("ALBUMHEAD"), "photos_album1.abm", &value));
}

TEST_F(AlbumRegistryTest, AddingToAnotherAlbumSavesItAndKeepsTheCurrentOne) {
  LoadAlbumList();
  NewAlbum("Here");
  NewAlbum("There");
  FreeAlbum();
  const std::string photo = root_ + "\\pic.jpg";
  ScratchSettings::WriteFile(photo, {'j', 'p', 'g'});
  ASSERT_EQ(AddPhotoToAlbum(0, 0, photo, nullptr, ReadSquare, 4, 3), 0);
  EXPECT_TRUE(CurrentAlbumItems().Changed());
  for (int i = 0; i < 13; ++i) {
    ASSERT_EQ(AddPhotoToAlbum(1, 0, root_ + "\\p" + std::to_string(i) + ".jpg", nullptr, ReadSquare,
                              4, 3),
              i);
  }
  EXPECT_EQ(CurrentAlbumItems().Count(), 1) << "the current album is back";
  EXPECT_FALSE(SecondAlbumOpen());
  AlbumItems there;
  ASSERT_TRUE(there.Load(AlbumPath(1)));
  EXPECT_EQ(there.Count(), 13);
  EXPECT_EQ(AlbumPosition(1, AlbumPlace::kPosition), 12);
  EXPECT_EQ(AlbumPosition(1, AlbumPlace::kHeadRow), 1) << "4 rows of 4 needed, 3 shown";
  EXPECT_TRUE(g_messages.empty());

  EXPECT_EQ(AddPhotoToAlbum(0, 0, root_ + "\\nowhere.jpg", nullptr,
                            [](const std::string&) -> HGLOBAL { return nullptr; }, 4, 3),
            -1);
  EXPECT_EQ(g_messages, std::vector<int>{kMsgCannotLocateFile});
}

TEST_F(AlbumRegistryTest, ReadOnlyAlbumFolderLosesNothing) {
  testing_support::GlobalFreer square(ReadSquare(""));
  AlbumItems album;
  album.Add(MakeAlbumItemFromFacts(square.handle, "C:\\a.jpg", "", 1, 1, 1, {}));
  const std::string path = AlbumFolder() + "\\album1.abm";
  ASSERT_EQ(album.Save(path), 1);
  const std::vector<unsigned char> before = ReadFile(path);
  album.Add(MakeAlbumItemFromFacts(square.handle, "C:\\b.jpg", "", 1, 1, 1, {}));
  SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY);
  EXPECT_EQ(album.Save(path), 0);
  EXPECT_EQ(g_messages, std::vector<int>{kMsgSaveAlbumError});
  EXPECT_EQ(ReadFile(path), before);
  SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
}

}  // namespace
}  // namespace vmd::test

namespace vmd::test {
namespace {

#if defined(VMD_SAMPLE_ALBUMS)
// A new user's first start with the sample albums the build made: they are
// copied, point into the program folder, and are listed row first.
TEST_F(AlbumRegistryTest, NewUserStartsWithTheSampleAlbums) {
  const std::string built = VMD_SAMPLE_ALBUMS;
  const std::string program = Settings().programFolder;
  RemoveDirectoryA(AlbumFolder().c_str());  // a new user has none
  CreateFolderChain(program + "\\palbums");
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((built + "\\*").c_str(), &found);
  ASSERT_NE(search, INVALID_HANDLE_VALUE) << built;
  do {
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
      CopyFileA((built + "\\" + found.cFileName).c_str(),
                (program + "\\palbums\\" + found.cFileName).c_str(), FALSE);
  } while (FindNextFileA(search, &found));
  FindClose(search);

  LoadSettings();
  LoadAlbumList();
  ASSERT_EQ(AlbumCount(), 3);
  EXPECT_EQ(AlbumTitle(0), "Sample row");
  EXPECT_EQ(AlbumTitle(1), "Sample circle");
  EXPECT_EQ(AlbumTitle(2), "Sample grid");
  EXPECT_EQ(CurrentAlbum(), 0) << "the row album is the current one";
  const int sizes[3] = {5, 10, 6};
  for (int album = 0; album < 3; ++album) {
    ASSERT_TRUE(LoadAlbum(AlbumPath(album))) << AlbumPath(album);
    ASSERT_EQ(CurrentAlbumItems().Count(), sizes[album]);
    for (int i = 0; i < sizes[album]; ++i) {
      AlbumRecord record;
      ASSERT_TRUE(CurrentAlbumItems().Record(i, &record));
      EXPECT_FALSE(record.IsRelative()) << "no relative flag is left after the copy";
      EXPECT_EQ(LowerCase(record.Path()).rfind(LowerCase(program + "\\palbums\\"), 0), 0u)
          << record.Path();
      EXPECT_NE(GetFileAttributesA(AlbumItemPath(i).c_str()), INVALID_FILE_ATTRIBUTES)
          << AlbumItemPath(i);
      EXPECT_EQ(record.Width(), 1024);
      EXPECT_EQ(record.ThumbHeight(), 52);
    }
  }
  EXPECT_EQ(AlbumItemPath(0), program + "\\palbums\\grid_1.jpg");
}
#endif

}  // namespace
}  // namespace vmd::test
