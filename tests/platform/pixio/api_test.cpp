// The exported functions, through the library as the program links it: files
// on disk, DIBs in global memory, the process-wide settings, safe saving.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "pixio.h"
#include "test_dib.h"

namespace {

using testing_support::GlobalFreer;
using testing_support::HeaderOf;
using testing_support::MakeDib24;
using testing_support::PixelAt;
using testing_support::ReadAll;
using testing_support::ScratchPath;
using testing_support::WriteAll;

/// An 8-bit DIB with a 256-colour palette (entry i = (i, 255 - i, i / 2)).
HGLOBAL MakeDib8(int width, int height) {
  const int stride = testing_support::Stride(width, 8);
  HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, 40 + 1024 + size_t(stride) * height);
  auto* base = static_cast<uint8_t*>(GlobalLock(h));
  auto* hdr = reinterpret_cast<BITMAPINFOHEADER*>(base);
  hdr->biSize = 40;
  hdr->biWidth = width;
  hdr->biHeight = height;
  hdr->biPlanes = 1;
  hdr->biBitCount = 8;
  hdr->biClrUsed = 256;
  auto* pal = reinterpret_cast<RGBQUAD*>(base + 40);
  for (int i = 0; i < 256; ++i) pal[i] = RGBQUAD{BYTE(i / 2), BYTE(255 - i), BYTE(i), 0};
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) base[40 + 1024 + y * stride + x] = uint8_t((x * 5 + y * 3) & 0xFF);
  }
  GlobalUnlock(h);
  return h;
}

uint32_t Pattern(int x, int y) { return uint32_t(((x * 7) & 0xFF) << 16 | ((y * 5) & 0xFF) << 8 | ((x + y) & 0xFF)); }

/// Restores the settings a test changed.
class SettingsGuard {
 public:
  SettingsGuard() : quality_(ImgGetJpgQuality()), compress_(ImgGetCompressMode()) {}
  ~SettingsGuard() {
    ImgSetJpgQuality(quality_);
    ImgSetCompressMode(compress_);
  }

 private:
  int quality_, compress_;
};

struct Extension {
  const char* ext;
  bool lossless;
  bool keepsPalette;  ///< ImgReadDib gives an 8-bit DIB back
};

class SaveAndRead : public testing::TestWithParam<Extension> {};

TEST_P(SaveAndRead, TwentyFourAndEightBitDibsComeBackAsTwentyFourBits) {
  SettingsGuard guard;
  ImgSetJpgQuality(100);
  const Extension& e = GetParam();
  const std::string path = ScratchPath(std::string("round.") + e.ext);
  GlobalFreer dib24(MakeDib24(45, 31, Pattern));
  ASSERT_NE(ImgSaveFile(dib24.handle, path.c_str()), 0);
  GlobalFreer back(ImgReadFile(nullptr, path.c_str()));
  ASSERT_NE(back.handle, nullptr);
  const BITMAPINFOHEADER h = HeaderOf(back.handle);
  EXPECT_EQ(h.biWidth, 45);
  EXPECT_EQ(h.biHeight, 31);
  EXPECT_EQ(h.biBitCount, 24);
  int wrong = 0;
  for (int y = 0; y < 31; ++y) {
    for (int x = 0; x < 45; ++x) wrong += PixelAt(back.handle, x, y) != Pattern(x, y);
  }
  if (e.lossless) {
    EXPECT_EQ(wrong, 0);
  }

  // An 8-bit palette DIB opens as a 24-bit DIB with the palette's colours.
  GlobalFreer dib8(MakeDib8(20, 9));
  ASSERT_NE(ImgSaveDib(path.c_str(), dib8.handle), 0);
  GlobalFreer wide(ImgReadFile(nullptr, path.c_str()));
  ASSERT_NE(wide.handle, nullptr);
  EXPECT_EQ(HeaderOf(wide.handle).biBitCount, 24);
  if (e.lossless) {
    const int i = (3 * 5 + 2 * 3) & 0xFF;  // pixel (3, 2)
    EXPECT_EQ(PixelAt(wide.handle, 3, 2), uint32_t(i << 16 | (255 - i) << 8 | (i / 2)));
  }
  GlobalFreer kept(ImgReadDib(nullptr, path.c_str()));
  ASSERT_NE(kept.handle, nullptr);
  EXPECT_EQ(HeaderOf(kept.handle).biBitCount, e.keepsPalette ? 8 : 24);
  std::remove(path.c_str());
}

INSTANTIATE_TEST_SUITE_P(
    EveryExtension, SaveAndRead,
    testing::Values(Extension{"bmp", true, true}, Extension{"BMP", true, true},
                    Extension{"tif", true, false}, Extension{"tiff", true, false},
                    Extension{"pcx", true, true}, Extension{"gif", false, true},
                    Extension{"tga", true, true}, Extension{"jpg", false, false},
                    Extension{"jpeg", false, false}, Extension{"fpx", true, false}),
    [](const testing::TestParamInfo<Extension>& info) {
      std::string name = info.param.ext;
      return name + (name[0] == 'B' ? "Upper" : "");
    });

TEST(ImgReadFile, ChoosesTheDecoderByContentNotByName) {
  const std::string bmp = ScratchPath("really-a-bitmap.jpg");
  const std::string skin = ScratchPath("title1.800");
  GlobalFreer dib(MakeDib24(10, 10, Pattern));
  const std::string asBmp = ScratchPath("x.bmp");
  ASSERT_NE(ImgSaveFile(dib.handle, asBmp.c_str()), 0);
  const std::string bytes = ReadAll(asBmp);
  ASSERT_TRUE(WriteAll(bmp, bytes));
  ASSERT_TRUE(WriteAll(skin, bytes));
  for (const std::string& p : {bmp, skin}) {
    GlobalFreer back(ImgReadFile(nullptr, p.c_str()));
    ASSERT_NE(back.handle, nullptr) << p;
    EXPECT_EQ(PixelAt(back.handle, 9, 9), Pattern(9, 9));
  }
  std::remove(bmp.c_str());
  std::remove(skin.c_str());
  std::remove(asBmp.c_str());
}

TEST(ImgReadFile, MissingEmptyAndForeignFilesGiveNone) {
  EXPECT_EQ(ImgReadFile(nullptr, ScratchPath("does-not-exist.bmp").c_str()), nullptr);
  EXPECT_EQ(ImgReadFile(nullptr, ""), nullptr);
  EXPECT_EQ(ImgReadFile(nullptr, nullptr), nullptr);
  const std::string empty = ScratchPath("empty.jpg");
  ASSERT_TRUE(WriteAll(empty, ""));
  EXPECT_EQ(ImgReadFile(nullptr, empty.c_str()), nullptr);
  ASSERT_TRUE(WriteAll(empty, "GIF89a but nothing after it"));
  EXPECT_EQ(ImgReadFile(nullptr, empty.c_str()), nullptr);
  std::remove(empty.c_str());
}

TEST(ImgSaveFile, UnknownExtensionsAndBadDibsWriteNothing) {
  GlobalFreer dib(MakeDib24(4, 4, Pattern));
  const std::string png = ScratchPath("picture.png");
  EXPECT_EQ(ImgSaveFile(dib.handle, png.c_str()), 0);
  EXPECT_EQ(ImgSaveFile(dib.handle, ScratchPath("noextension").c_str()), 0);
  EXPECT_FALSE(std::filesystem::exists(png));
  EXPECT_EQ(ImgSaveFile(nullptr, ScratchPath("null.bmp").c_str()), 0);
  // A block too small for the rows its header promises.
  HGLOBAL lying = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, 40 + 16);
  auto* h = static_cast<BITMAPINFOHEADER*>(GlobalLock(lying));
  h->biSize = 40;
  h->biWidth = 1000;
  h->biHeight = 1000;
  h->biPlanes = 1;
  h->biBitCount = 24;
  GlobalUnlock(lying);
  EXPECT_EQ(ImgSaveFile(lying, ScratchPath("lying.bmp").c_str()), 0);
  GlobalFree(lying);
}

TEST(ImgSaveFile, AFailedSaveLeavesTheOldFileAndNoTemporaryFiles) {
  const std::string dir = ScratchPath("safe-save");
  std::filesystem::create_directory(dir);
  const std::string target = (std::filesystem::path(dir) / "keep.tga").string();
  ASSERT_TRUE(WriteAll(target, "the old contents"));
  // A DIB whose depth no encoder takes fails after the target was chosen.
  HGLOBAL odd = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, 40 + 64);
  auto* h = static_cast<BITMAPINFOHEADER*>(GlobalLock(odd));
  h->biSize = 40;
  h->biWidth = 4;
  h->biHeight = 4;
  h->biPlanes = 1;
  h->biBitCount = 7;
  GlobalUnlock(odd);
  EXPECT_EQ(ImgSaveFile(odd, target.c_str()), 0);
  GlobalFree(odd);
  EXPECT_EQ(ReadAll(target), "the old contents");
  // A good save replaces it, and leaves only the target in the folder.
  GlobalFreer dib(MakeDib24(6, 5, Pattern));
  ASSERT_NE(ImgSaveFile(dib.handle, target.c_str()), 0);
  EXPECT_NE(ReadAll(target), "the old contents");
  int files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(dir)) {
    ++files;
    EXPECT_EQ(entry.path().filename().string(), "keep.tga");
  }
  EXPECT_EQ(files, 1);
  // A folder that does not exist cannot be written to.
  EXPECT_EQ(ImgSaveFile(dib.handle, (std::filesystem::path(dir) / "no" / "x.bmp").string().c_str()), 0);
  std::filesystem::remove_all(dir);
}

TEST(PixioSettings, JpegQualityIsClampedAndChangesTheFile) {
  SettingsGuard guard;
  ImgSetJpgQuality(0);
  EXPECT_EQ(ImgGetJpgQuality(), 1);
  ImgSetJpgQuality(250);
  EXPECT_EQ(ImgGetJpgQuality(), 100);
  ImgSetJpgQuality(42);
  EXPECT_EQ(ImgGetJpgQuality(), 42);
  GlobalFreer dib(MakeDib24(120, 80, [](int x, int y) { return uint32_t((x * 2) << 16 | (y * 3) << 8 | 90); }));
  const std::string low = ScratchPath("low.jpg"), high = ScratchPath("high.jpg");
  ImgSetJpgQuality(10);
  ASSERT_NE(ImgSaveFile(dib.handle, low.c_str()), 0);
  ImgSetJpgQuality(95);
  ASSERT_NE(ImgSaveFile(dib.handle, high.c_str()), 0);
  EXPECT_LT(ReadAll(low).size() * 2, ReadAll(high).size());
  std::remove(low.c_str());
  std::remove(high.c_str());
}

TEST(PixioSettings, CompressModeIsZeroOrOneAndSelectsLzwAndRle) {
  SettingsGuard guard;
  ImgSetCompressMode(7);
  EXPECT_EQ(ImgGetCompressMode(), 1);
  ImgSetCompressMode(0);
  EXPECT_EQ(ImgGetCompressMode(), 0);
  GlobalFreer dib(MakeDib24(100, 60, [](int, int y) { return uint32_t(y * 4); }));
  for (const char* ext : {"tif", "tga"}) {
    const std::string plain = ScratchPath(std::string("plain.") + ext);
    const std::string packed = ScratchPath(std::string("packed.") + ext);
    ImgSetCompressMode(0);
    ASSERT_NE(ImgSaveFile(dib.handle, plain.c_str()), 0);
    ImgSetCompressMode(1);
    ASSERT_NE(ImgSaveFile(dib.handle, packed.c_str()), 0);
    EXPECT_LT(ReadAll(packed).size() * 4, ReadAll(plain).size()) << ext;
    GlobalFreer back(ImgReadFile(nullptr, packed.c_str()));
    ASSERT_NE(back.handle, nullptr);
    EXPECT_EQ(PixelAt(back.handle, 50, 59), uint32_t(59 * 4));
    std::remove(plain.c_str());
    std::remove(packed.c_str());
  }
}

TEST(PxLoadPcdFile, RefusesBadArgumentsAndLoadsEveryResolution) {
  std::string pack(0x30000 + 768 * 512 * 3 / 2, '\0');
  std::memcpy(&pack[0x800], "PCD_IPI", 7);
  for (size_t s : {size_t(4), size_t(23), size_t(96)}) {
    const int w = s == 4 ? 192 : (s == 23 ? 384 : 768), h = w * 2 / 3;
    for (int pair = 0; pair < h / 2; ++pair) {
      char* p = &pack[s * 0x800 + size_t(pair) * 3 * w];
      std::memset(p, 120, size_t(2 * w));
      std::memset(p + 2 * w, 156, size_t(w / 2));
      std::memset(p + 2 * w + w / 2, 137, size_t(w / 2));
    }
  }
  const std::string path = ScratchPath("scan.pcd");
  ASSERT_TRUE(WriteAll(path, pack));
  EXPECT_EQ(PxLoadPcdFile(path.c_str(), 2, 2, 0), nullptr);
  EXPECT_EQ(PxLoadPcdFile(path.c_str(), 0, 5, 0), nullptr);
  EXPECT_EQ(PxLoadPcdFile(path.c_str(), 0, -1, 0), nullptr);
  EXPECT_EQ(PxLoadPcdFile(path.c_str(), 0, 2, 1), nullptr);
  for (int r = 0; r <= 4; ++r) {
    for (int type = 0; type <= 1; ++type) {
      GlobalFreer dib(PxLoadPcdFile(path.c_str(), type, r, 0));
      ASSERT_NE(dib.handle, nullptr) << r << " " << type;
      const BITMAPINFOHEADER h = HeaderOf(dib.handle);
      EXPECT_EQ(h.biWidth, 192 << r);
      EXPECT_EQ(h.biHeight, 128 << r);
      EXPECT_EQ(h.biBitCount, type == 0 ? 24 : 8);
    }
  }
  // The same pack opens through ImgReadFile at Base resolution.
  GlobalFreer base(ImgReadFile(nullptr, path.c_str()));
  ASSERT_NE(base.handle, nullptr);
  EXPECT_EQ(HeaderOf(base.handle).biWidth, 768);
  std::remove(path.c_str());
}

#if !defined(_WIN32)
TEST(PixioMemory, ReadsAndSavesLeaveNoBlocksBehind) {
  const long before = VmdSubsetLiveBlocks();
  {
    GlobalFreer dib(MakeDib24(30, 20, Pattern));
    const std::string path = ScratchPath("leak.gif");
    ASSERT_NE(ImgSaveFile(dib.handle, path.c_str()), 0);
    GlobalFreer back(ImgReadFile(nullptr, path.c_str()));
    ASSERT_NE(back.handle, nullptr);
    std::remove(path.c_str());
  }
  EXPECT_EQ(VmdSubsetLiveBlocks(), before);
}

TEST(PixioMemory, OutOfMemoryGivesNoneInsteadOfACrash) {
  GlobalFreer dib(MakeDib24(30, 20, Pattern));
  const std::string path = ScratchPath("oom.bmp");
  ASSERT_NE(ImgSaveFile(dib.handle, path.c_str()), 0);
  VmdSubsetFailAllocationsAfter(0);
  EXPECT_EQ(ImgReadFile(nullptr, path.c_str()), nullptr);
  VmdSubsetFailAllocationsAfter(-1);
  std::remove(path.c_str());
}
#endif

}  // namespace

namespace {

/// A 24-bit DIB of any width, every byte `value` (zero-filled rows are cheap).
HGLOBAL BlankDib24(int width, int height) {
  const size_t stride = (static_cast<size_t>(width) * 3 + 3) / 4 * 4;
  HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, 40 + stride * height);
  auto* hdr = static_cast<BITMAPINFOHEADER*>(GlobalLock(h));
  hdr->biSize = 40;
  hdr->biWidth = width;
  hdr->biHeight = height;
  hdr->biPlanes = 1;
  hdr->biBitCount = 24;
  GlobalUnlock(h);
  return h;
}

std::string Message(int result, HGLOBAL dib, const std::string& path) {
  char text[256];
  const int n = ImgSaveMessage(result, "the panorama", dib, path.c_str(), text, sizeof text);
  EXPECT_EQ(n, static_cast<int>(std::strlen(text)));
  return text;
}

}  // namespace

TEST(ImgSaveFileResult, AJpegSideOf65501IsRefusedWithTheSizeAndWhatFits) {
  const std::string dir = ScratchPath("too-big");
  std::filesystem::create_directory(dir);
  const std::string target = (std::filesystem::path(dir) / "wide.jpg").string();
  ASSERT_TRUE(WriteAll(target, "the old panorama"));
  GlobalFreer wide(BlankDib24(65501, 2));
  ASSERT_EQ(ImgSaveFileResult(wide.handle, target.c_str()), kPixioSaveTooBig);
  EXPECT_EQ(Message(kPixioSaveTooBig, wide.handle, target),
            "the panorama is 65501 x 2 pixels; JPEG holds at most 65500 a side: save as TIFF");
  EXPECT_EQ(ImgSaveFile(wide.handle, target.c_str()), 0);
  // The old file is whole and nothing else was left in the folder.
  EXPECT_EQ(ReadAll(target), "the old panorama");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), {}), 1);
  // One pixel narrower fits, and the same picture fits a TIFF.
  GlobalFreer fits(BlankDib24(65500, 2));
  EXPECT_EQ(ImgSaveFileResult(fits.handle, target.c_str()), kPixioSaved);
  const std::string tif = (std::filesystem::path(dir) / "wide.tif").string();
  EXPECT_EQ(ImgSaveFileResult(wide.handle, tif.c_str()), kPixioSaved);
  std::filesystem::remove_all(dir);
}

TEST(ImgSaveMessage, EveryResultHasALineAndLongLinesAreCut) {
  GlobalFreer dib(BlankDib24(40, 30));
  EXPECT_EQ(Message(kPixioSaved, dib.handle, "a.jpg"), "");
  EXPECT_EQ(Message(kPixioSaveUnknownType, dib.handle, "a.png"),
            "cannot write \"a.png\": use .jpg, .bmp, .tif, .pcx, .gif, .tga or .fpx");
  EXPECT_EQ(Message(kPixioSaveNoMemory, dib.handle, "a.bmp"),
            "not enough memory to write the panorama (40 x 30 pixels) as BMP");
  EXPECT_EQ(Message(kPixioSaveWriteFailed, dib.handle, "/no/such/a.tga"), "cannot write \"/no/such/a.tga\"");
  char small[8];
  const int n = ImgSaveMessage(kPixioSaveWriteFailed, nullptr, dib.handle, "x.bmp", small, sizeof small);
  EXPECT_EQ(n, static_cast<int>(std::strlen("cannot write \"x.bmp\"")));
  EXPECT_STREQ(small, "cannot ");
}

TEST(ImgCheckSaveSize, EachTypeHoldsUpToItsOwnLimits) {
  struct Case {
    const char* path;
    int width, height, bits;
    int result;
  } cases[] = {
      {"p.jpg", 65500, 65500, 24, kPixioSaved},
      {"p.jpg", 65501, 100, 24, kPixioSaveTooBig},
      {"p.jpeg", 100, 65501, 8, kPixioSaveTooBig},
      {"p.gif", 65535, 65535, 8, kPixioSaved},
      {"p.gif", 65536, 10, 8, kPixioSaveTooBig},
      {"p.tga", 65535, 65535, 24, kPixioSaved},
      {"p.tga", 10, 65536, 24, kPixioSaveTooBig},
      // A PCX line of 8-bit planes is an even 16-bit byte count.
      {"p.pcx", 65534, 65535, 24, kPixioSaved},
      {"p.pcx", 65535, 10, 24, kPixioSaveTooBig},
      {"p.pcx", 65535, 65535, 1, kPixioSaved},
      {"p.pcx", 10, 65536, 1, kPixioSaveTooBig},
      // BMP: the whole file within 4 GB; 65536 x 21845 at 24 bits is 4 GB less 196 KB.
      {"p.bmp", 65536, 21845, 24, kPixioSaved},
      {"p.bmp", 65536, 21846, 24, kPixioSaveTooBig},
      {"p.bmp", 200000, 150000, 1, kPixioSaved},
      // FlashPix: 2 GB of 64 x 64 tiles at 3 bytes a pixel (174762 tiles).
      {"p.fpx", 64 * 1024, 64 * 170, 24, kPixioSaved},
      {"p.fpx", 64 * 1024, 64 * 171, 24, kPixioSaveTooBig},
      // TIFF turns BigTIFF past 4 GB: no limit short of memory.
      {"p.tif", 2000000000, 2000000000, 24, kPixioSaved},
      {"p.png", 10, 10, 24, kPixioSaveUnknownType},
      {"p.bmp", 0, 10, 24, kPixioSaveBadPicture},
      {"p.bmp", 10, 10, 16, kPixioSaveBadPicture},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ImgCheckSaveSize(c.width, c.height, c.bits, c.path), c.result)
        << c.path << " " << c.width << " x " << c.height << " at " << c.bits;
  }
}
