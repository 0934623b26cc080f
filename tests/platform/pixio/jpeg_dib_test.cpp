// JPEG files decoded straight into DIB blocks, and 24-bit DIBs saved as JPEG
// from their own rows: both held to the bytes of the path through a decoded
// picture (DecodeJpeg and ToDib, FromDib and EncodeJpeg), damaged files
// included, with nothing left behind.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "formats.h"
#include "pixio.h"
#include "sample_images.h"
#include "sample_jpegs.h"
#include "test_dib.h"

namespace {

using pixio::Image;
using pixio::JpegResult;
using pixio_test::JpegWriting;
using pixio_test::LibjpegFile;
using pixio_test::Sample;
using pixio_test::Smooth;
using testing_support::GlobalFreer;
using testing_support::ReadAll;
using testing_support::ScratchPath;
using testing_support::WriteAll;

std::vector<uint8_t> Bytes(HGLOBAL block) {
  if (!block) return {};
  const auto* base = static_cast<const uint8_t*>(GlobalLock(block));
  std::vector<uint8_t> bytes(base, base + GlobalSize(block));
  GlobalUnlock(block);
  return bytes;
}

/// The DIB the reading exports gave before photos skipped the decoded
/// picture; empty when the file is refused.
std::vector<uint8_t> ThroughPicture(const std::vector<uint8_t>& file, bool force24) {
  Image picture;
  if (!pixio::DecodeJpeg(file.data(), file.size(), &picture)) return {};
  GlobalFreer dib(pixio::ToDib(picture, force24));
  return Bytes(dib.handle);
}

/// Leaves a freed block of `size` bytes full of 0xA5 where the allocator may
/// hand it out again, so rows or padding left unwritten show.
void DirtyTheHeap(size_t size) {
  HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, size);
  if (!h) return;
  std::memset(GlobalLock(h), 0xA5, size);
  GlobalUnlock(h);
  GlobalFree(h);
}

/// The straight-to-DIB verdict and bytes (empty unless decoded).
JpegResult Direct(const std::vector<uint8_t>& file, bool force24, std::vector<uint8_t>* bytes) {
  HGLOBAL dib = nullptr;
  const JpegResult result = pixio::DecodeJpegToDib(file.data(), file.size(), force24, &dib);
  GlobalFreer owner(dib);
  *bytes = Bytes(dib);
  return result;
}

long LiveBlocks() {
#if defined(_WIN32)
  return 0;
#else
  return VmdSubsetLiveBlocks();
#endif
}

struct Photo {
  const char* name;
  std::vector<uint8_t> file;
  bool turned;  ///< its EXIF orientation turns it: read through the picture
};

std::vector<Photo> Photos() {
  std::vector<Photo> photos;
  // Widths 1 to 4 and 17 leave every padding a row can have, at 24 and 8 bits.
  for (int width : {1, 2, 3, 4, 17}) {
    std::vector<uint8_t> colour, grey;
    pixio::EncodeJpeg(Sample(width, 11, 24), pixio::EncodeSettings{90, false}, &colour);
    pixio::EncodeJpeg(Sample(width, 11, 8, true), pixio::EncodeSettings{90, false}, &grey);
    photos.push_back({"colour", colour, false});
    photos.push_back({"grey", grey, false});
  }
  JpegWriting progressive;
  progressive.progressive = true;
  photos.push_back({"progressive", LibjpegFile(Smooth(37, 29), progressive), false});
  photos.push_back({"grey progressive", LibjpegFile(Sample(35, 21, 8, true), progressive), false});
  JpegWriting restarts;
  restarts.restartRows = 1;
  photos.push_back({"restart markers", LibjpegFile(Smooth(45, 50), restarts), false});
  JpegWriting cmyk;
  cmyk.cmyk = true;
  photos.push_back({"Adobe CMYK", LibjpegFile(Smooth(23, 19), cmyk), false});
  cmyk.adobe = false;
  photos.push_back({"plain CMYK", LibjpegFile(Smooth(23, 19), cmyk), false});
  photos.push_back({"EXIF upright", pixio_test::JpegWithOrientation(Sample(13, 7, 24), 1, false),
                    false});
  for (int o : {3, 6, 8}) {
    photos.push_back({"EXIF turned", pixio_test::JpegWithOrientation(Sample(13, 7, 24), o, o == 6),
                      true});
  }
  photos.push_back({"grey EXIF turned",
                    pixio_test::JpegWithOrientation(Sample(10, 6, 8, true), 6, false), true});
  return photos;
}

TEST(JpegStraightToDib, EveryKindOfPhotoGivesTheBytesOfItsDecodedPicture) {
  for (const Photo& photo : Photos()) {
    ASSERT_FALSE(photo.file.empty()) << photo.name;
    for (bool force24 : {false, true}) {
      SCOPED_TRACE(std::string(photo.name) + (force24 ? ", as 24 bits" : ", as stored"));
      const std::vector<uint8_t> expected = ThroughPicture(photo.file, force24);
      ASSERT_FALSE(expected.empty());
      DirtyTheHeap(expected.size());
      std::vector<uint8_t> direct;
      const JpegResult result = Direct(photo.file, force24, &direct);
      if (photo.turned) {
        EXPECT_EQ(result, JpegResult::kDeclined);
        EXPECT_TRUE(direct.empty());
      } else {
        EXPECT_EQ(result, JpegResult::kDecoded);
        EXPECT_EQ(direct, expected);
      }
      // The exports: straight for upright photos, through the picture for
      // turned ones, the same bytes either way.
      const std::string path = ScratchPath("photo.jpg");
      ASSERT_TRUE(WriteAll(path, std::string(photo.file.begin(), photo.file.end())));
      GlobalFreer read(force24 ? ImgReadFile(nullptr, path.c_str()) : ImgReadDib(nullptr, path.c_str()));
      EXPECT_EQ(Bytes(read.handle), expected);
      std::remove(path.c_str());
    }
  }
}

TEST(JpegStraightToDib, CutAndCorruptFilesGetTheVerdictOfTheDecodedPicturePath) {
  int refused = 0, damagedButRead = 0;
  for (const Photo& photo : Photos()) {
    if (photo.turned) continue;
    const std::vector<uint8_t>& whole = photo.file;
    std::vector<std::vector<uint8_t>> damaged;
    for (size_t n = 0; n < whole.size(); n += whole.size() / 13 + 1) {
      damaged.emplace_back(whole.begin(), whole.begin() + static_cast<ptrdiff_t>(n));
    }
    damaged.emplace_back(whole.begin(), whole.end() - 2);  // no end marker
    for (size_t at = whole.size() / 3; at + 2 < whole.size(); at += whole.size() / 11 + 1) {
      std::vector<uint8_t> flipped = whole;
      flipped[at] ^= 0x5A;
      damaged.push_back(flipped);
    }
    for (const auto& file : damaged) {
      SCOPED_TRACE(std::string(photo.name) + ", " + std::to_string(file.size()) + " bytes");
      const long before = LiveBlocks();
      const std::vector<uint8_t> expected = ThroughPicture(file, false);
      std::vector<uint8_t> direct;
      const JpegResult result = Direct(file, false, &direct);
      EXPECT_EQ(LiveBlocks(), before);
      if (expected.empty()) {
        EXPECT_EQ(result, JpegResult::kFailed);
        ++refused;
      } else {
        EXPECT_EQ(result, JpegResult::kDecoded);
        EXPECT_EQ(direct, expected);
        damagedButRead += file.size() == whole.size();
      }
    }
  }
  // Both verdicts were met: the table is not all one kind.
  EXPECT_GT(refused, 50);
  EXPECT_GT(damagedButRead, 5);
}

#if !defined(_WIN32)
TEST(JpegStraightToDib, AHeaderClaimingHundredsOfMegabytesTakesNoBlock) {
  // 15000 x 15000 pixels (675 MB at 24 bits) claimed by a file of a few
  // hundred bytes: it runs dry in the first row.
  std::vector<uint8_t> file;
  ASSERT_TRUE(pixio::EncodeJpeg(Sample(16, 16, 24), pixio::EncodeSettings{}, &file));
  for (size_t i = 0; i + 9 < file.size(); ++i) {
    if (file[i] == 0xFF && file[i + 1] == 0xC0) {
      file[i + 5] = file[i + 7] = 0x3A;
      file[i + 6] = file[i + 8] = 0x98;
      break;
    }
  }
  // One block may be taken; the probe after the decoder finds it still there.
  VmdSubsetFailAllocationsAfter(1);
  std::vector<uint8_t> direct;
  EXPECT_EQ(Direct(file, true, &direct), JpegResult::kFailed);
  HGLOBAL probe = GlobalAlloc(GMEM_MOVEABLE, 16);
  VmdSubsetFailAllocationsAfter(-1);
  EXPECT_NE(probe, nullptr) << "the decoder took a block for a picture it never read";
  GlobalFree(probe);
}

TEST(JpegStraightToDib, NoMemoryForTheBlockGivesNoneAndLeavesNothing) {
  std::vector<uint8_t> file;
  ASSERT_TRUE(pixio::EncodeJpeg(Smooth(40, 30), pixio::EncodeSettings{}, &file));
  const std::string path = ScratchPath("nomemory.jpg");
  ASSERT_TRUE(WriteAll(path, std::string(file.begin(), file.end())));
  const long before = VmdSubsetLiveBlocks();
  VmdSubsetFailAllocationsAfter(0);
  std::vector<uint8_t> direct;
  EXPECT_EQ(Direct(file, false, &direct), JpegResult::kFailed);
  EXPECT_EQ(ImgReadFile(nullptr, path.c_str()), nullptr);
  VmdSubsetFailAllocationsAfter(-1);
  EXPECT_EQ(VmdSubsetLiveBlocks(), before);
  std::remove(path.c_str());
}
#endif

/// The same rows stored the other way up (biHeight negated).
HGLOBAL Flipped(HGLOBAL dib) {
  const std::vector<uint8_t> bytes = Bytes(dib);
  BITMAPINFOHEADER header;
  std::memcpy(&header, bytes.data(), sizeof header);
  const size_t stride = testing_support::Stride(header.biWidth, 24);
  const int rows = header.biHeight < 0 ? -header.biHeight : header.biHeight;
  HGLOBAL out = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
  auto* base = static_cast<uint8_t*>(GlobalLock(out));
  header.biHeight = -header.biHeight;
  std::memcpy(base, &header, sizeof header);
  for (int y = 0; y < rows; ++y) {
    std::memcpy(base + 40 + stride * y, bytes.data() + 40 + stride * (rows - 1 - y), stride);
  }
  GlobalUnlock(out);
  return out;
}

TEST(JpegSaveInPlace, BottomUpAndTopDownDibsWriteTheFileOfTheCopiedPicture) {
  const int quality = ImgGetJpgQuality();
  ImgSetJpgQuality(83);
  auto pattern = [](int x, int y) {
    return uint32_t(((x * 11) & 0xFF) << 16 | ((y * 7 + x) & 0xFF) << 8 | ((x * y) & 0xFF));
  };
  // Odd widths leave padding, filled with a colour that must not reach the file.
  for (int width : {1, 6, 37}) {
    SCOPED_TRACE("width " + std::to_string(width));
    GlobalFreer bottomUp(testing_support::MakeDib24(width, 23, pattern, 0xEE));
    GlobalFreer topDown(Flipped(bottomUp.handle));
    Image copied;
    ASSERT_TRUE(pixio::FromDib(bottomUp.handle, &copied));
    std::vector<uint8_t> expected;
    ASSERT_TRUE(pixio::EncodeJpeg(copied, pixio::EncodeSettings{83, false}, &expected));
    for (HGLOBAL dib : {bottomUp.handle, topDown.handle}) {
      const std::string path = ScratchPath("saved.jpg");
      ASSERT_EQ(ImgSaveFileResult(dib, path.c_str()), kPixioSaved);
      EXPECT_EQ(ReadAll(path), std::string(expected.begin(), expected.end()));
      std::remove(path.c_str());
    }
  }
  ImgSetJpgQuality(quality);
}

}  // namespace
