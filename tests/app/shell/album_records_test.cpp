// The record walk over album files that the settings use.
#include "album_records.h"
#include "sample_albums.h"

#include <gtest/gtest.h>

#include "scratch_settings.h"

namespace vmd::test {
namespace {

class AlbumRecordsTest : public ScratchSettings {
 protected:
  std::string Path(const char* name) { return root_ + "\\" + name; }
};

TEST_F(AlbumRecordsTest, HeaderCountAbove1000WalksOnly1000Records) {
  std::vector<std::string> paths;
  for (int i = 0; i < 1001; ++i) paths.push_back("C:\\p" + std::to_string(i) + ".jpg");
  WriteFile(Path("big.abm"), MakeAlbumBytes(paths, {}, 1500));
  int visited = 0;
  ASSERT_TRUE(RewriteAlbumRecords(Path("big.abm"), [&](AlbumRecord& record) {
    EXPECT_EQ(record.Path(), "C:\\p" + std::to_string(visited) + ".jpg");
    ++visited;
    return false;
  }));
  EXPECT_EQ(visited, 1000);
}

TEST_F(AlbumRecordsTest, ShortFileEndsTheWalk) {
  std::vector<unsigned char> album = MakeAlbumBytes({"C:\\a.jpg", "C:\\b.jpg", "C:\\c.jpg"});
  album.resize(144 + 288 * 3 + 8);  // the third record's data is cut
  WriteFile(Path("short.abm"), album);
  int visited = 0;
  ASSERT_TRUE(RewriteAlbumRecords(Path("short.abm"), [&](AlbumRecord&) { return ++visited, false; }));
  EXPECT_EQ(visited, 2);
}

TEST_F(AlbumRecordsTest, MalformedFilesAreNoAlbums) {
  std::vector<unsigned char> album = MakeAlbumBytes({"C:\\a.jpg"});
  std::vector<unsigned char> wrongMagic = album;
  wrongMagic[0] = 'X';
  WriteFile(Path("magic.abm"), wrongMagic);
  WriteFile(Path("tiny.abm"), std::vector<unsigned char>(album.begin(), album.begin() + 143));
  WriteFile(Path("empty.abm"), {});
  auto never = [](AlbumRecord&) {
    ADD_FAILURE() << "no record of a malformed file is offered";
    return false;
  };
  for (const char* name : {"magic.abm", "tiny.abm", "empty.abm", "missing.abm"}) {
    EXPECT_FALSE(RewriteAlbumRecords(Path(name), never)) << name;
  }
}

TEST_F(AlbumRecordsTest, RewritesOnlyChangedRecordsInPlace) {
  std::vector<unsigned char> album = MakeAlbumBytes({"C:\\a.jpg", "C:\\b.jpg"});
  WriteFile(Path("two.abm"), album);
  int rewritten = 0;
  ASSERT_TRUE(RewriteAlbumRecords(
      Path("two.abm"),
      [](AlbumRecord& record) { return record.Path() == "C:\\b.jpg" && record.SetPath("E:\\b.jpg"); },
      &rewritten));
  EXPECT_EQ(rewritten, 1);
  std::vector<unsigned char> after = ReadFile(Path("two.abm"));
  ASSERT_EQ(after.size(), album.size());
  EXPECT_EQ(RecordPath(after, 0), "C:\\a.jpg");
  EXPECT_EQ(RecordPath(after, 1), "E:\\b.jpg");
  // Only the path bytes of record 1 changed.
  size_t differing = 0;
  for (size_t i = 0; i < album.size(); ++i) differing += album[i] != after[i];
  EXPECT_EQ(differing, 1u) << "only the drive letter of record 1";
}

TEST(AlbumRecord, SetPathClearsTheWholeFieldAndRefusesOverflow) {
  AlbumRecord record{};
  memset(record.bytes, 0x55, sizeof record.bytes);
  ASSERT_TRUE(record.SetPath("C:\\x.jpg"));
  EXPECT_EQ(record.Path(), "C:\\x.jpg");
  for (size_t i = 8 + 8; i < 8 + 128; ++i) ASSERT_EQ(record.bytes[i], 0) << i;
  EXPECT_EQ(record.bytes[7], 0x55);
  EXPECT_EQ(record.bytes[136], 0x55) << "the type text after the field is kept";
  EXPECT_TRUE(record.SetPath(std::string(127, 'a')));
  EXPECT_FALSE(record.SetPath(std::string(128, 'b')));
  EXPECT_EQ(record.Path(), std::string(127, 'a'));
}

TEST(AlbumRecord, PathWithoutTerminatorStopsAtTheField) {
  AlbumRecord record{};
  memset(record.bytes + 8, 'q', 128);
  EXPECT_EQ(record.Path(), std::string(128, 'q'));
}

TEST_F(AlbumRecordsTest, SampleCopyResolvesRelativeNamesAndReplacesFiles) {
  std::string program = root_ + "\\Prog";
  std::string user = root_ + "\\UserData";
  WriteFile(program + "\\palbums\\album1.abm",
            MakeAlbumBytes({"sea.jpg", "C:\\Full\\path.jpg"}, {true, false}));
  WriteFile(program + "\\palbums\\album2.abm", MakeAlbumBytes({"hill.jpg"}, {true}));
  WriteFile(program + "\\palbums\\notes.txt", {'x'});
  WriteFile(user + "\\palbums\\album2.abm", MakeAlbumBytes({"C:\\old.jpg"}));
  ASSERT_TRUE(CopySampleAlbums(program, user));
  std::vector<unsigned char> one = ReadFile(user + "\\palbums\\album1.abm");
  ASSERT_FALSE(one.empty());
  EXPECT_EQ(RecordPath(one, 0), program + "\\sea.jpg");
  EXPECT_FALSE(RecordRelative(one, 0));
  EXPECT_EQ(RecordPath(one, 1), "C:\\Full\\path.jpg");
  std::vector<unsigned char> two = ReadFile(user + "\\palbums\\album2.abm");
  EXPECT_EQ(RecordPath(two, 0), program + "\\hill.jpg");
  EXPECT_TRUE(ReadFile(user + "\\palbums\\notes.txt").empty()) << "only album files are copied";
  // The source stays as it was.
  EXPECT_TRUE(RecordRelative(ReadFile(program + "\\palbums\\album1.abm"), 0));
}

TEST_F(AlbumRecordsTest, SampleCopyWithoutSourceStillMakesTheFolder) {
  EXPECT_FALSE(CopySampleAlbums(root_ + "\\NoProgram", root_ + "\\User2"));
  EXPECT_TRUE(FolderExists(root_ + "\\User2\\palbums"));
}

}  // namespace
}  // namespace vmd::test
