// Album files: thumbnails, items, the file format and damaged files.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <vector>

#include "album_adding.h"
#include "album_clipboard.h"
#include "album_items.h"
#include "palm_container.h"
#include "test_dib.h"

namespace vmd {
namespace {

using testing_support::GlobalFreer;
using testing_support::MakeDib24;
using testing_support::PixelAt;
using testing_support::ScratchPath;

long VmdLiveBlocksOrZero() {
#if defined(_WIN32)
  return 0;
#else
  return VmdSubsetLiveBlocks();
#endif
}

std::vector<int> g_messages;
void RecordMessage(int id, const std::string&) { g_messages.push_back(id); }

class AlbumFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    g_messages.clear();
    SetAlbumMessageSink(RecordMessage);
  }
  void TearDown() override {
    SetAlbumMessageSink(nullptr);
    for (const std::string& path : scratch_) std::remove(path.c_str());
  }
  std::string Scratch(const std::string& name) {
    scratch_.push_back(ScratchPath(name));
    return scratch_.back();
  }
  static std::vector<uint8_t> Bytes(const std::string& path) {
    std::vector<uint8_t> bytes;
    ReadWholeFile(path, &bytes);
    return bytes;
  }
  static void Write(const std::string& path, const std::vector<uint8_t>& bytes) {
    FILE* file = std::fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr);
    if (!bytes.empty()) std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
  }
  /// An item for a w x h photo whose pixels encode their place.
  static HGLOBAL Item(const std::string& path, int w = 200, int h = 100) {
    GlobalFreer photo(MakeDib24(w, h, [](int x, int y) { return uint32_t(x * 256 + y); }));
    return MakeAlbumItemFromFacts(photo.handle, path, kStillImageType, 1, 1, 1, {1234, 99});
  }
  std::vector<std::string> scratch_;
};

TEST(AlbumThumbnail, SizeFollowsTheLargerSide) {
  struct Case {
    int w, h, tw, th;
  } cases[] = {
      {200, 100, 69, 35}, {100, 200, 35, 69}, {50, 60, 50, 60},  {69, 69, 69, 69},
      {70, 70, 69, 69},   {69, 10, 69, 10},   {70, 10, 69, 10},  {1000, 1, 69, 1},
      {1024, 768, 69, 52}, {3, 2000, 1, 69},  {1, 1, 1, 1},
  };
  for (const Case& c : cases) {
    int tw = 0, th = 0;
    AlbumThumbnailSize(c.w, c.h, &tw, &th);
    EXPECT_EQ(tw, c.tw) << c.w << "x" << c.h;
    EXPECT_EQ(th, c.th) << c.w << "x" << c.h;
  }
}

TEST_F(AlbumFileTest, ItemRecordHoldsThePhotoAndItsThumbnail) {
  GlobalFreer item(Item("C:\\Photos\\Sea.jpg"));
  ASSERT_NE(item.handle, nullptr);
  AlbumRecord record;
  ASSERT_TRUE(ReadItemRecord(item.handle, &record));
  EXPECT_EQ(record.FileSize(), 1234u);
  EXPECT_EQ(record.FileTime(), 99u);
  EXPECT_EQ(record.Path(), "C:\\Photos\\Sea.jpg");
  EXPECT_EQ(record.TypeText(), "Still Image Fil") << "15 characters and the terminator";
  EXPECT_EQ(record.bytes[151], 0);
  EXPECT_EQ(record.Value(0), 1);
  EXPECT_EQ(record.Value(1), 1);
  EXPECT_EQ(record.Value(2), 1);
  EXPECT_FALSE(record.IsRelative());
  EXPECT_EQ(record.BitCount(), 24);
  EXPECT_EQ(record.Width(), 200);
  EXPECT_EQ(record.Height(), 100);
  EXPECT_EQ(record.ThumbWidth(), 69);
  EXPECT_EQ(record.ThumbHeight(), 35);
  // 69 pixels of 3 bytes pad from 207 to 208 bytes a row.
  EXPECT_EQ(record.DataLength(), 40u + 208u * 35u);
  for (size_t at = 158; at < 264; ++at) ASSERT_EQ(record.bytes[at], 0) << at;

  GlobalFreer thumb(ItemThumbnailDib(item.handle));
  ASSERT_NE(thumb.handle, nullptr);
  BITMAPINFOHEADER header = testing_support::HeaderOf(thumb.handle);
  EXPECT_EQ(header.biSize, 40u);
  EXPECT_EQ(header.biWidth, 69);
  EXPECT_EQ(header.biHeight, 35);
  EXPECT_EQ(header.biBitCount, 24);
  EXPECT_EQ(header.biSizeImage, 208u * 35u);
  // Nearest neighbour: thumbnail (x, y) shows photo (x * 200 / 69, y * 100 / 35).
  EXPECT_EQ(PixelAt(thumb.handle, 0, 0), 0u);
  EXPECT_EQ(PixelAt(thumb.handle, 68, 34), uint32_t(197 * 256 + 97));
  EXPECT_EQ(PixelAt(thumb.handle, 35, 17), uint32_t(101 * 256 + 48));
}

/// A DIB of 1, 4, 8 or 16 bits, 80 x 2, whose row pixels repeat `row`.
HGLOBAL MakePaletteDib(int bits, const std::vector<uint32_t>& palette,
                       const std::vector<uint8_t>& rowBytes, uint32_t compression = BI_RGB,
                       const std::vector<uint32_t>& masks = {}) {
  const int w = 80, h = 2;
  const size_t stride = ((w * bits + 31) / 32) * 4;
  const size_t size = 40 + 4 * palette.size() + 4 * masks.size() + stride * h;
  HGLOBAL dib = GlobalAlloc(GHND, size);
  auto* bytes = static_cast<uint8_t*>(GlobalLock(dib));
  BITMAPINFOHEADER header{};
  header.biSize = 40;
  header.biWidth = w;
  header.biHeight = h;
  header.biPlanes = 1;
  header.biBitCount = static_cast<WORD>(bits);
  header.biCompression = compression;
  header.biClrUsed = static_cast<DWORD>(palette.size());
  std::memcpy(bytes, &header, 40);
  size_t at = 40;
  for (uint32_t c : palette) WriteU32(bytes, at, c), at += 4;
  for (uint32_t m : masks) WriteU32(bytes, at, m), at += 4;
  for (int y = 0; y < h; ++y)
    for (size_t i = 0; i < stride; ++i) bytes[at + y * stride + i] = rowBytes[i % rowBytes.size()];
  GlobalUnlock(dib);
  return dib;
}

TEST_F(AlbumFileTest, ThumbnailsOfEveryDepthAre24Bits) {
  struct Case {
    const char* what;
    HGLOBAL dib;
    uint32_t first, second;  // thumbnail pixels 0 and 1 (photo pixels 0 and 1)
  } cases[] = {
      {"8-bit", MakePaletteDib(8, {0x112233, 0xA0B0C0}, {0, 1}), 0x112233, 0xA0B0C0},
      {"4-bit", MakePaletteDib(4, {0x010203, 0x040506}, {0x01}), 0x010203, 0x040506},
      {"1-bit", MakePaletteDib(1, {0x000000, 0xFFEEDD}, {0x40}), 0x000000, 0xFFEEDD},
      {"16-bit 5-5-5", MakePaletteDib(16, {}, {0x00, 0x7C, 0xFF, 0x7F}), 0xFF0000, 0xFFFFFF},
      {"16-bit 5-6-5", MakePaletteDib(16, {}, {0x1F, 0x00, 0xE0, 0x07}, BI_BITFIELDS,
                                      {0xF800, 0x07E0, 0x001F}),
       0x0000FF, 0x00FF00},
  };
  for (const Case& c : cases) {
    GlobalFreer photo(c.dib);
    GlobalFreer item(MakeAlbumItemFromFacts(photo.handle, "C:\\a.bmp", "", 1, 1, 1, {}));
    ASSERT_NE(item.handle, nullptr) << c.what;
    AlbumRecord record;
    ReadItemRecord(item.handle, &record);
    EXPECT_EQ(record.ThumbWidth(), 69) << c.what;
    EXPECT_EQ(record.ThumbHeight(), 2) << c.what;
    GlobalFreer thumb(ItemThumbnailDib(item.handle));
    ASSERT_NE(thumb.handle, nullptr) << c.what;
    EXPECT_EQ(PixelAt(thumb.handle, 0, 0), c.first) << c.what;
    // Thumbnail pixel 1 samples photo pixel 1 * 80 / 69 = 1.
    EXPECT_EQ(PixelAt(thumb.handle, 1, 1), c.second) << c.what;
  }
}

TEST_F(AlbumFileTest, UnusablePhotosMakeNoItem) {
  GlobalFreer empty(MakeDib24(1, 1, [](int, int) { return 0u; }));
  {
    auto* header = static_cast<BITMAPINFOHEADER*>(GlobalLock(empty.handle));
    header->biWidth = 0;
    GlobalUnlock(empty.handle);
  }
  EXPECT_EQ(MakeAlbumItemFromFacts(empty.handle, "C:\\a.bmp", "", 1, 1, 1, {}), nullptr);
  // Rows that the block does not hold.
  GlobalFreer liar(MakeDib24(10, 10, [](int, int) { return 0u; }));
  {
    auto* header = static_cast<BITMAPINFOHEADER*>(GlobalLock(liar.handle));
    header->biHeight = 5000;
    GlobalUnlock(liar.handle);
  }
  EXPECT_EQ(MakeAlbumItemFromFacts(liar.handle, "C:\\a.bmp", "", 1, 1, 1, {}), nullptr);
  GlobalFreer fine(MakeDib24(10, 10, [](int, int) { return 0u; }));
  EXPECT_EQ(MakeAlbumItemFromFacts(fine.handle, std::string(128, 'x'), "", 1, 1, 1, {}), nullptr)
      << "a path that does not fit the record";
}

TEST_F(AlbumFileTest, SaveWritesTheContainerAndLoadReadsItBack) {
  const std::string path = Scratch("round.abm");
  AlbumItems album;
  ASSERT_TRUE(album.Add(Item("C:\\a.jpg", 200, 100)));
  ASSERT_TRUE(album.Add(Item("C:\\b.jpg", 50, 60)));
  ASSERT_TRUE(album.Add(Item("C:\\c.jpg", 100, 300)));
  ASSERT_EQ(album.Save(path), 1);
  std::vector<uint8_t> file = Bytes(path);
  const uint32_t lengths[3] = {40 + 208 * 35, 40 + 152 * 60, 40 + 72 * 69};
  const uint32_t dataStart = 144 + 288 * 3;
  ASSERT_EQ(file.size(), dataStart + lengths[0] + lengths[1] + lengths[2]);
  EXPECT_EQ(std::memcmp(file.data(), "PALM", 4), 0);
  EXPECT_EQ(ReadU32(file.data(), 4), file.size());
  EXPECT_EQ(ReadU32(file.data(), 8), 3u);
  EXPECT_EQ(ReadU32(file.data(), 12), dataStart);
  EXPECT_EQ(ReadU32(file.data(), 32), 0u) << "album files have no pages";
  EXPECT_EQ(ReadU32(file.data(), 144 + 272), 0u);
  EXPECT_EQ(ReadU32(file.data(), 144 + 288 + 272), lengths[0]);
  EXPECT_EQ(ReadU32(file.data(), 144 + 576 + 272), lengths[0] + lengths[1]);
  EXPECT_EQ(ReadU16(file.data(), 144 + 288 + 276), 50) << "a 50 x 60 photo keeps its size";

  AlbumItems loaded;
  ASSERT_TRUE(loaded.Load(path));
  ASSERT_EQ(loaded.Count(), 3);
  EXPECT_EQ(loaded.ItemPath(2), "C:\\c.jpg");
  const std::string again = Scratch("again.abm");
  ASSERT_EQ(loaded.Save(again), 1);
  EXPECT_EQ(Bytes(again), file);
  EXPECT_TRUE(g_messages.empty());
}

TEST_F(AlbumFileTest, HeaderCountAbove1000LoadsTheFirst1000WithTheirData) {
  // 1500 records declared and present; the data area follows all of them.
  const uint32_t declared = 1500;
  const size_t dataStart = 144 + 288 * size_t{declared};
  std::vector<uint8_t> file(dataStart + 4 * declared, 0);
  std::memcpy(file.data(), "PALM", 4);
  WriteU32(file.data(), 4, static_cast<uint32_t>(file.size()));
  WriteU32(file.data(), 8, declared);
  WriteU32(file.data(), 12, static_cast<uint32_t>(dataStart));
  for (uint32_t i = 0; i < declared; ++i) {
    uint8_t* record = file.data() + 144 + 288 * i;
    std::snprintf(reinterpret_cast<char*>(record + 8), 128, "C:\\p%u.jpg", i);
    WriteU32(record, 272, 4 * i);
    WriteU32(record, 280, 4);
    WriteU32(file.data(), dataStart + 4 * i, 0xABC00000u + i);
  }
  const std::string path = Scratch("big.abm");
  Write(path, file);
  AlbumItems album;
  EXPECT_TRUE(album.Load(path)) << "every record up to the limit was read";
  ASSERT_EQ(album.Count(), 1000);
  EXPECT_EQ(album.ItemPath(999), "C:\\p999.jpg");
  auto* item = static_cast<uint8_t*>(GlobalLock(album.Item(999)));
  EXPECT_EQ(ReadU32(item, 288), 0xABC00000u + 999);
  GlobalUnlock(album.Item(999));
  // Full: the next item is refused and freed.
  const long live = VmdLiveBlocksOrZero();
  EXPECT_FALSE(album.Add(Item("C:\\one-more.jpg")));
  EXPECT_EQ(VmdLiveBlocksOrZero(), live);
  g_messages.clear();
  GlobalFreer photo(MakeDib24(100, 100, [](int, int) { return 0u; }));
  EXPECT_EQ(PutPhotoIntoAlbum(album, "C:\\x.jpg", photo.handle), -1);
  EXPECT_EQ(g_messages, std::vector<int>{kMsgAlbumFull});
}

TEST_F(AlbumFileTest, EmptyAlbumWritesNothing) {
  AlbumItems empty;
  const std::string existing = Scratch("existing.abm");
  Write(existing, {'k', 'e', 'e', 'p'});
  EXPECT_EQ(empty.Save(existing), 0);
  EXPECT_EQ(Bytes(existing), (std::vector<uint8_t>{'k', 'e', 'e', 'p'}));
  const std::string missing = Scratch("missing.abm");
  EXPECT_EQ(empty.Save(missing), 0);
  std::vector<uint8_t> made;
  EXPECT_TRUE(ReadWholeFile(missing, &made)) << "a missing file is created empty";
  EXPECT_TRUE(made.empty());
  EXPECT_TRUE(g_messages.empty());
}

TEST_F(AlbumFileTest, FailedSaveReportsAndKeepsTheOldFile) {
  const std::string path = Scratch("kept.abm");
  AlbumItems album;
  album.Add(Item("C:\\a.jpg"));
  ASSERT_EQ(album.Save(path), 1);
  const std::vector<uint8_t> before = Bytes(path);
  album.Add(Item("C:\\b.jpg"));
  // The temporary file's place is taken by a folder: the new file cannot be made.
  const std::string blocker = path + ".new";
#if defined(_WIN32)
  ASSERT_TRUE(CreateDirectoryA(blocker.c_str(), nullptr));
#else
  ASSERT_EQ(std::system(("mkdir '" + blocker + "'").c_str()), 0);
#endif
  EXPECT_EQ(album.Save(path), 0);
  EXPECT_EQ(g_messages, std::vector<int>{kMsgSaveAlbumError});
  EXPECT_EQ(Bytes(path), before);
#if defined(_WIN32)
  RemoveDirectoryA(blocker.c_str());
#else
  std::system(("rmdir '" + blocker + "'").c_str());
#endif
  g_messages.clear();
  EXPECT_EQ(album.Save(Scratch("no-such-folder") + "/x/y.abm"), 0);
  EXPECT_EQ(g_messages, std::vector<int>{kMsgSaveAlbumError});
}

TEST_F(AlbumFileTest, DamagedFilesLoadWhatIsSound) {
  AlbumItems album;
  for (const char* name : {"C:\\a.jpg", "C:\\b.jpg", "C:\\c.jpg"}) album.Add(Item(name));
  const std::string good = Scratch("good.abm");
  ASSERT_EQ(album.Save(good), 1);
  const std::vector<uint8_t> file = Bytes(good);
  const size_t record2 = 144 + 288 * 2;

  struct Case {
    const char* what;
    std::vector<uint8_t> bytes;
    bool complete;
    int count;
  };
  std::vector<Case> cases;
  std::vector<uint8_t> magic = file;
  magic[3] = 'X';
  cases.push_back({"wrong magic", magic, false, 0});
  cases.push_back({"shorter than the header", std::vector<uint8_t>(file.begin(), file.begin() + 143), false, 0});
  std::vector<uint8_t> count = file;
  WriteU32(count.data(), 8, 0x7FFFFFFF);
  cases.push_back({"a count beyond the file", count, false, 0});
  std::vector<uint8_t> offset = file;
  WriteU32(offset.data(), record2 + 272, 0xFFFFFFF0u);
  cases.push_back({"an offset past the end", offset, false, 2});
  std::vector<uint8_t> length = file;
  WriteU32(length.data(), record2 + 280, static_cast<uint32_t>(file.size()));
  cases.push_back({"a length past the end", length, false, 2});
  cases.push_back({"cut in the last thumbnail", std::vector<uint8_t>(file.begin(), file.end() - 1), false, 2});
  for (const Case& c : cases) {
    const std::string path = Scratch("damaged.abm");
    Write(path, c.bytes);
    AlbumItems loaded;
    EXPECT_EQ(loaded.Load(path), c.complete) << c.what;
    EXPECT_EQ(loaded.Count(), c.count) << c.what;
  }
  AlbumItems missing;
  EXPECT_FALSE(missing.Load(Scratch("not-there.abm")));
  EXPECT_EQ(missing.Count(), 0);

  // A thumbnail whose header lies loads, but gives no picture to draw.
  std::vector<uint8_t> liar = file;
  const size_t thumb0 = 144 + 288 * 3;
  WriteU32(liar.data(), thumb0 + 4, 5000);  // width
  const std::string path = Scratch("liar.abm");
  Write(path, liar);
  AlbumItems loaded;
  EXPECT_TRUE(loaded.Load(path));
  EXPECT_EQ(ItemThumbnailDib(loaded.Item(0)), nullptr);
  GlobalFreer second(ItemThumbnailDib(loaded.Item(1)));
  EXPECT_NE(second.handle, nullptr);
}

TEST_F(AlbumFileTest, ItemsMoveRemoveAndAreFoundByFullPath) {
  AlbumItems album;
  album.SetSampleFolder("C:\\Users\\me\\palbums");
  for (const char* name : {"C:\\A.jpg", "C:\\B.jpg", "C:\\C.jpg", "D:\\Photos\\D.JPG"})
    album.Add(Item(name));
  HGLOBAL relative = Item("sea.jpg");
  AlbumRecord record;
  ReadItemRecord(relative, &record);
  record.SetRelative(true);
  WriteItemRecord(relative, record);
  album.Add(relative);

  EXPECT_EQ(album.ItemPath(4), "C:\\Users\\me\\palbums\\sea.jpg");
  EXPECT_EQ(album.ItemStoredPath(4), "sea.jpg");
  EXPECT_EQ(album.ItemStoredPath(3), "d:\\photos\\d.jpg");
  EXPECT_EQ(album.Find("d:\\PHOTOS\\d.jpg"), 3);
  EXPECT_EQ(album.Find("c:\\users\\ME\\palbums\\SEA.jpg"), 4);
  EXPECT_EQ(album.Find("sea.jpg"), -1) << "found by the full path only";

  ASSERT_TRUE(album.Move(0, 2));  // A B C D -> B C A D
  EXPECT_EQ(album.ItemPath(0), "C:\\B.jpg");
  EXPECT_EQ(album.ItemPath(2), "C:\\A.jpg");
  ASSERT_TRUE(album.Move(3, 0));  // -> D B C A
  EXPECT_EQ(album.ItemPath(0), "D:\\Photos\\D.JPG");
  EXPECT_EQ(album.ItemPath(3), "C:\\A.jpg");
  EXPECT_FALSE(album.Move(0, 5));
  ASSERT_TRUE(album.Remove(1));
  EXPECT_EQ(album.Count(), 4);
  EXPECT_EQ(album.ItemPath(1), "C:\\C.jpg");
  EXPECT_FALSE(album.Remove(4));
}

TEST_F(AlbumFileTest, ReaddedPhotoMovesToTheEndWithAFreshThumbnail) {
  AlbumItems album;
  for (const char* name : {"C:\\a.jpg", "C:\\b.jpg", "C:\\c.jpg"}) album.Add(Item(name));
  GlobalFreer red(MakeDib24(120, 90, [](int, int) { return 0xFF0000u; }));
  EXPECT_EQ(PutPhotoIntoAlbum(album, "C:\\A.JPG", red.handle), 2);
  ASSERT_EQ(album.Count(), 3);
  EXPECT_EQ(album.ItemPath(0), "C:\\b.jpg");
  EXPECT_EQ(album.ItemPath(2), "C:\\A.JPG");
  GlobalFreer thumb(ItemThumbnailDib(album.Item(2)));
  EXPECT_EQ(PixelAt(thumb.handle, 10, 10), 0xFF0000u);
  AlbumRecord record;
  album.Record(2, &record);
  EXPECT_EQ(record.TypeText(), "Still Image Fil");
  EXPECT_EQ(record.Width(), 120);
}

HGLOBAL g_readResult = nullptr;
HGLOBAL ReadNothing(const std::string&) { return nullptr; }
HGLOBAL ReadGiven(const std::string&) { return g_readResult; }

TEST_F(AlbumFileTest, ReadingAPhotoReportsWhyItFailed) {
  bool owned = true;
  int message = 0;
  EXPECT_EQ(ReadPhotoForAlbum(Scratch("gone.jpg"), nullptr, ReadNothing, &owned, &message), nullptr);
  EXPECT_EQ(message, kMsgCannotLocateFile);
  const std::string present = Scratch("broken.jpg");
  Write(present, {'n', 'o'});
  EXPECT_EQ(ReadPhotoForAlbum(present, nullptr, ReadNothing, &owned, &message), nullptr);
  EXPECT_EQ(message, kMsgCantOpenFile);
  g_readResult = MakeDib24(4, 4, [](int, int) { return 0u; });
  {
    auto* header = static_cast<BITMAPINFOHEADER*>(GlobalLock(g_readResult));
    header->biHeight = 0;
    GlobalUnlock(g_readResult);
  }
  const long live = VmdLiveBlocksOrZero();
  EXPECT_EQ(ReadPhotoForAlbum(present, nullptr, ReadGiven, &owned, &message), nullptr);
  EXPECT_EQ(message, kMsgPhotoSizeZero);
  EXPECT_LE(VmdLiveBlocksOrZero(), live) << "the unusable photo read is freed";
  EXPECT_EQ(g_messages, (std::vector<int>{kMsgCannotLocateFile, kMsgCantOpenFile, kMsgPhotoSizeZero}));

  GlobalFreer given(MakeDib24(4, 4, [](int, int) { return 0u; }));
  EXPECT_EQ(ReadPhotoForAlbum(present, given.handle, ReadNothing, &owned, &message), given.handle);
  EXPECT_FALSE(owned);
}

TEST_F(AlbumFileTest, SecondAlbumIsSetAsideAndRestored) {
  FreeAlbum();
  AddAlbumItem(Item("C:\\first.jpg"));
  AlbumItems other;
  other.Add(Item("C:\\other1.jpg"));
  other.Add(Item("C:\\other2.jpg"));
  const std::string path = Scratch("other.abm");
  ASSERT_EQ(other.Save(path), 1);
  ASSERT_TRUE(OpenSecondAlbum(path));
  EXPECT_TRUE(SecondAlbumOpen());
  EXPECT_EQ(CurrentAlbumItems().Count(), 2);
  EXPECT_EQ(FindAlbumItem("c:\\OTHER2.jpg"), 1);
  CloseSecondAlbum();
  EXPECT_FALSE(SecondAlbumOpen());
  ASSERT_EQ(CurrentAlbumItems().Count(), 1);
  EXPECT_EQ(AlbumItemPath(0), "C:\\first.jpg");
  FreeAlbum();
}

TEST_F(AlbumFileTest, EmptiedAlbumCanBeWrittenWithNoRecords) {
  AlbumItems album;
  album.Add(Item("C:\\a.jpg"));
  album.Add(Item("C:\\b.jpg"));
  const std::string path = Scratch("emptied.abm");
  ASSERT_EQ(album.Save(path), 1);
  album.Free();
  EXPECT_EQ(album.Save(path), 0);
  AlbumItems reread;
  ASSERT_TRUE(reread.Load(path));
  EXPECT_EQ(reread.Count(), 2) << "a plain save of an empty album leaves the old file";
  EXPECT_EQ(album.SaveEvenWhenEmpty(path), 1);
  EXPECT_EQ(Bytes(path).size(), 144u);
  EXPECT_TRUE(reread.Load(path));
  EXPECT_EQ(reread.Count(), 0);
}

/// The paths of an album's items, in order.
std::vector<std::string> Paths(const AlbumItems& album) {
  std::vector<std::string> paths;
  for (int i = 0; i < album.Count(); ++i) paths.push_back(album.ItemPath(i));
  return paths;
}

TEST_F(AlbumFileTest, CopiedPhotosArePastedOnceWithTheirThumbnails) {
  const long live = VmdLiveBlocksOrZero();
  {
    AlbumItems source, target;
    for (const char* name : {"C:\\a.jpg", "C:\\b.jpg", "C:\\c.jpg", "C:\\d.jpg"}) source.Add(Item(name));
    target.Add(Item("C:\\x.jpg"));
    target.Add(Item("C:\\D.JPG"));
    AlbumClipboard clip;
    ASSERT_TRUE(clip.Take(source, {false, true, false, true}, "album1.abm", false));
    EXPECT_EQ(clip.SourceFile(), "album1.abm");
    source.Free();  // the clipboard holds copies of its own

    AlbumPaste paste = clip.PasteInto(target);
    EXPECT_EQ(paste.added, 1) << "d.jpg is in the target already (another case)";
    EXPECT_EQ(Paths(target), (std::vector<std::string>{"C:\\x.jpg", "C:\\D.JPG", "C:\\b.jpg"}));
    EXPECT_EQ(paste.present, (std::vector<std::string>{"C:\\b.jpg", "C:\\d.jpg"}));
    GlobalFreer thumb(ItemThumbnailDib(target.Item(2)));
    EXPECT_EQ(PixelAt(thumb.handle, 10, 20), uint32_t(10 * 200 / 69 * 256 + 20 * 100 / 35));

    ASSERT_FALSE(clip.Empty()) << "a copy can be pasted again";
    EXPECT_EQ(clip.PasteInto(target).added, 0);
    EXPECT_EQ(target.Count(), 3);
    EXPECT_FALSE(clip.Take(target, {false, false, false}, "album2.abm", true)) << "nothing selected";
    EXPECT_EQ(clip.SourceFile(), "album1.abm") << "and the clipboard kept what it held";
  }
  EXPECT_EQ(VmdLiveBlocksOrZero(), live) << "every copy is freed";
  EXPECT_TRUE(g_messages.empty());
}

TEST_F(AlbumFileTest, CutPhotosLeaveTheirAlbumWhenPasted) {
  AlbumItems source, target;
  source.SetSampleFolder("C:\\palbums");
  target.SetSampleFolder("C:\\palbums");
  for (const char* name : {"C:\\a.jpg", "C:\\b.jpg", "C:\\c.jpg"}) source.Add(Item(name));
  HGLOBAL relative = Item("row_1.jpg");
  AlbumRecord record;
  ReadItemRecord(relative, &record);
  record.SetRelative(true);
  WriteItemRecord(relative, record);
  source.Add(relative);
  target.Add(Item("C:\\palbums\\ROW_1.jpg"));

  AlbumClipboard clip;
  ASSERT_TRUE(clip.Take(source, {false, true, true, true}, "album1.abm", true));
  EXPECT_TRUE(clip.IsCut());
  EXPECT_EQ(source.Count(), 4) << "cutting alone takes nothing away";
  const AlbumPaste paste = clip.PasteInto(target);
  EXPECT_EQ(paste.added, 2);
  EXPECT_TRUE(clip.Empty()) << "a cut is pasted once";
  EXPECT_EQ(RemoveAlbumPhotos(source, paste.present), 3) << "the photo the target had leaves the source too";
  EXPECT_EQ(Paths(source), (std::vector<std::string>{"C:\\a.jpg"}));
  EXPECT_EQ(Paths(target),
            (std::vector<std::string>{"C:\\palbums\\ROW_1.jpg", "C:\\b.jpg", "C:\\c.jpg"}));
}

TEST_F(AlbumFileTest, PasteStopsWhenTheAlbumIsFull) {
  AlbumItems target, source;
  for (int i = 0; i < kAlbumMaxItems - 1; ++i) target.Add(Item("C:\\t" + std::to_string(i) + ".jpg", 4, 4));
  for (const char* name : {"C:\\a.jpg", "C:\\b.jpg", "C:\\c.jpg"}) source.Add(Item(name, 4, 4));
  AlbumClipboard clip;
  ASSERT_TRUE(clip.Take(source, {true, true, true}, "album1.abm", false));
  EXPECT_EQ(clip.PasteInto(target).added, 1);
  EXPECT_EQ(target.Count(), kAlbumMaxItems);
  EXPECT_EQ(target.ItemPath(kAlbumMaxItems - 1), "C:\\a.jpg");
  EXPECT_EQ(g_messages, (std::vector<int>{kMsgAlbumFull}));
}

TEST(AlbumAdding, HeadRowKeepsTheLastPhotoVisible) {
  struct Case {
    int count, columns, rows, head;
  } cases[] = {{0, 4, 3, 0}, {12, 4, 3, 0}, {13, 4, 3, 1}, {25, 4, 3, 4}, {5, 0, 2, 3}};
  for (const Case& c : cases)
    EXPECT_EQ(HeadRowKeepingLastVisible(c.count, c.columns, c.rows), c.head) << c.count;
}

}  // namespace
}  // namespace vmd
