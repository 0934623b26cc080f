#include "image_files.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#if !defined(_WIN32)
#include <unistd.h>
#endif
#include <string>
#include <vector>

#include "image_file_rules.h"
#include "image_ops.h"
#include "palette_dib.h"
#include "pixio.h"
#include "test_dib.h"

using namespace vmd;
using testing_support::GlobalFreer;
using testing_support::HeaderOf;
using testing_support::MakeDib24;
using testing_support::MakePaletteDib;
using testing_support::PixelAt;
using testing_support::ScratchPath;

namespace {

#if defined(_WIN32)
constexpr char kSlash = '\\';
#else
constexpr char kSlash = '/';
#endif

/// A scratch folder removed (with the files named) at the end of a test.
struct ScratchFolder {
  std::string path = ScratchPath("folder");
  std::vector<std::string> files;
  ScratchFolder() {
#if defined(_WIN32)
    CreateDirectoryA(path.c_str(), nullptr);
#else
    std::string command = "mkdir -p '" + path + "'";
    EXPECT_EQ(std::system(command.c_str()), 0);
#endif
  }
  ~ScratchFolder() {
    for (const std::string& f : files) std::remove(f.c_str());
#if defined(_WIN32)
    RemoveDirectoryA(path.c_str());
#else
    rmdir(path.c_str());
#endif
  }
  std::string File(const std::string& name) {
    files.push_back(path + kSlash + name);
    return files.back();
  }
};

/// Writes a DIB as a BMP file byte for byte (any depth).
void WriteBmp(const std::string& path, HGLOBAL dib) {
  std::vector<uint8_t> block(GlobalSize(dib));
  std::memcpy(block.data(), GlobalLock(dib), block.size());
  GlobalUnlock(dib);
  BITMAPINFOHEADER header = HeaderOf(dib);
  uint32_t colours = header.biClrUsed;
  uint32_t offBits = 14 + 40 + colours * 4;
  uint32_t fileSize = 14 + static_cast<uint32_t>(block.size());
  uint8_t fileHeader[14] = {'B', 'M', uint8_t(fileSize), uint8_t(fileSize >> 8), uint8_t(fileSize >> 16), 0, 0, 0, 0, 0,
                            uint8_t(offBits), uint8_t(offBits >> 8), 0, 0};
  FILE* f = std::fopen(path.c_str(), "wb");
  ASSERT_NE(f, nullptr);
  std::fwrite(fileHeader, 1, 14, f);
  std::fwrite(block.data(), 1, block.size(), f);
  std::fclose(f);
}

}  // namespace

TEST(ReadImageFile, PaletteFilesOpenAs24BitImages) {
  ScratchFolder folder;
  GlobalFreer four(MakePaletteDib(5, 3, 4, {0x000000, 0x102030, 0xA0B0C0}, [](int x, int) { return x % 3; }));
  std::string path = folder.File("four.bmp");
  WriteBmp(path, four.handle);
  int converted = -1;
  GlobalFreer image(ReadImageFile(nullptr, path.c_str(), &converted));
  ASSERT_NE(image.handle, nullptr);
  EXPECT_EQ(DibKind(image.handle), kDibRgb24);
  EXPECT_EQ(HeaderOf(image.handle).biWidth, 5);
  EXPECT_EQ(PixelAt(image.handle, 1, 0), 0x102030u);
  EXPECT_EQ(PixelAt(image.handle, 2, 2), 0xA0B0C0u);
}

TEST(ReadImageFile, UnreadableFilesGiveNothing) {
  ScratchFolder folder;
  int converted = -1;
  EXPECT_EQ(ReadImageFile(nullptr, folder.File("missing.jpg").c_str(), &converted), nullptr);
  EXPECT_EQ(converted, 0);
  std::string junk = folder.File("junk.bmp");
  FILE* f = std::fopen(junk.c_str(), "wb");
  std::fputs("BM not really", f);
  std::fclose(f);
  EXPECT_EQ(ReadImageFile(nullptr, junk.c_str(), nullptr), nullptr);
}

TEST(TakeAs24, ConvertsAndFreesTheOriginalOrKeeps24Bits) {
  HGLOBAL rgb = MakeDib24(2, 2, [](int, int) { return 0x123456u; });
  int converted = -1;
  GlobalFreer same(TakeAs24(rgb, &converted));
  EXPECT_EQ(same.handle, rgb);
  EXPECT_EQ(converted, 0);
  HGLOBAL one = MakePaletteDib(9, 1, 1, {0x000000, 0xFFFFFF}, [](int x, int) { return x & 1; });
  GlobalFreer out(TakeAs24(one, &converted));
  EXPECT_EQ(converted, 1);
  EXPECT_EQ(PixelAt(out.handle, 1, 0), 0xFFFFFFu);
#if !defined(_WIN32)
  EXPECT_EQ(GlobalFlags(one), GMEM_INVALID_HANDLE);  // the original is gone
#endif
}

TEST(WriteImageStrips, SeventyTwoPixelsGiveTwentyFourStripsTwoWide) {
  ScratchFolder folder;
  // The strips are named as on Windows (folder, backslash, number): natively
  // that is one file name beside the folder.
  for (int i = 0; i < 24; ++i) folder.files.push_back(StripPath(folder.path, i));
  GlobalFreer image(MakeDib24(72, 64, [](int x, int) { return x < 36 ? 0xFF0000u : 0x0000FFu; }));
  ASSERT_TRUE(WriteImageStrips(image.handle, 24, folder.path));
  for (int i = 0; i < 24; ++i) {
    std::string strip = StripPath(folder.path, i);
    GlobalFreer read(ImgReadFile(nullptr, strip.c_str()));
    ASSERT_NE(read.handle, nullptr) << strip;
    EXPECT_EQ(HeaderOf(read.handle).biWidth, 2);
    EXPECT_EQ(HeaderOf(read.handle).biHeight, 64);
  }
}

TEST(WriteImageStrips, TheLastStripIsScaledFromTheRest) {
  ScratchFolder folder;
  for (int i = 0; i < 3; ++i) folder.files.push_back(StripPath(folder.path, i));
  GlobalFreer image(MakeDib24(100, 70, [](int, int) { return 0x808080u; }));
  ASSERT_TRUE(WriteImageStrips(image.handle, 3, folder.path));  // q = 33: 32 wide, last from 66 .. 99
  GlobalFreer last(ImgReadFile(nullptr, StripPath(folder.path, 2).c_str()));
  ASSERT_NE(last.handle, nullptr);
  EXPECT_EQ(HeaderOf(last.handle).biWidth, 32);
  EXPECT_FALSE(WriteImageStrips(image.handle, 0, folder.path));
#if defined(_WIN32)
  EXPECT_FALSE(WriteImageStrips(image.handle, 3, folder.path + kSlash + "missing"));
#endif
}

TEST(TiffFileUsesLzw, FollowsTheCompressionSwitchOfTheWriter) {
  ScratchFolder folder;
  GlobalFreer image(MakeDib24(16, 16, [](int x, int) { return x * 0x0F0F0Fu; }));
  std::string plain = folder.File("plain.tif"), lzw = folder.File("lzw.tif");
  int mode = ImgGetCompressMode();
  ImgSetCompressMode(0);
  ASSERT_NE(ImgSaveFile(image.handle, plain.c_str()), 0);
  ImgSetCompressMode(1);
  ASSERT_NE(ImgSaveFile(image.handle, lzw.c_str()), 0);
  ImgSetCompressMode(mode);
  EXPECT_FALSE(TiffFileUsesLzw(plain.c_str()));
  EXPECT_TRUE(TiffFileUsesLzw(lzw.c_str()));
  EXPECT_FALSE(TiffFileUsesLzw(folder.File("none.tif").c_str()));
}

TEST(CanCreateFileIn, AnExistingFolderYesAMissingOneNo) {
  ScratchFolder folder;
  EXPECT_TRUE(CanCreateFileIn(folder.path));
  EXPECT_FALSE(CanCreateFileIn(folder.path + kSlash + "no" + kSlash + "such"));
}
