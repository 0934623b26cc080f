#include "engine_dib.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "test_dib.h"

namespace {

using seam::DibLock;
using seam::EngineDib;
using testing_support::GlobalFreer;
using testing_support::MakeDib24;
using testing_support::ScratchPath;


TEST(EngineDibCreate, OneByOne24BitHasStrideFour) {
  EngineDib dib;
  ASSERT_EQ(dib.Create(1, 1, 24), 1);
  DibLock lock(dib);
  ASSERT_TRUE(lock.Locked());
  EXPECT_EQ(dib.Stride(), 4);
  EXPECT_EQ(dib.Header()->biSizeImage, 4u);
  EXPECT_EQ(dib.Header()->biClrUsed, 0u);
  EXPECT_EQ(dib.Bits(), reinterpret_cast<const uint8_t*>(dib.Header()) + 40);
  EXPECT_EQ(GlobalSize(dib.Handle()), 44u);
}

TEST(EngineDibCreate, EightBitCarriesGreyRampAndRowsAt1064) {
  EngineDib dib;
  ASSERT_EQ(dib.Create(3, 2, 8), 1);
  DibLock lock(dib);
  const auto* base = reinterpret_cast<const uint8_t*>(dib.Header());
  EXPECT_EQ(dib.Stride(), 4);
  EXPECT_EQ(dib.Header()->biClrUsed, 256u);
  EXPECT_EQ(dib.Header()->biSizeImage, 8u);
  EXPECT_EQ(dib.Bits() - base, 1064);
  const auto* table = reinterpret_cast<const RGBQUAD*>(base + 40);
  for (int i : {0, 1, 128, 255}) {
    EXPECT_EQ(table[i].rgbBlue, i);
    EXPECT_EQ(table[i].rgbGreen, i);
    EXPECT_EQ(table[i].rgbRed, i);
    EXPECT_EQ(table[i].rgbReserved, 0);
  }
}

TEST(EngineDibCreate, OneBitIsBlackAndWhiteWithRowsAt48) {
  EngineDib dib;
  ASSERT_EQ(dib.Create(33, 2, 1), 1);
  DibLock lock(dib);
  const auto* base = reinterpret_cast<const uint8_t*>(dib.Header());
  EXPECT_EQ(dib.Stride(), 8);
  EXPECT_EQ(dib.Bits() - base, 48);
  const auto* table = reinterpret_cast<const RGBQUAD*>(base + 40);
  EXPECT_EQ(table[0].rgbRed, 0);
  EXPECT_EQ(table[1].rgbRed, 255);
  EXPECT_EQ(table[1].rgbReserved, 0);
}

TEST(EngineDibCreate, FailedAllocationKeepsThePreviousBlock) {
  EngineDib dib;
  ASSERT_EQ(dib.Create(4, 4, 24), 1);
  HGLOBAL before = dib.Handle();
  seam::FailEngineAllocationsAfter(0);
  EXPECT_EQ(dib.Create(8, 8, 24), 0);
  seam::FailEngineAllocationsAfter(-1);
  EXPECT_EQ(dib.Handle(), before);
  DibLock lock(dib);
  EXPECT_EQ(dib.Width(), 4);
}

TEST(EngineDibAttach, RewritesZeroSizeImageAndBorrows) {
  HGLOBAL photo = MakeDib24(5, 3, [](int, int) { return 0x102030u; }, 0, 0);
  GlobalFreer freer(photo);
  {
    EngineDib dib;
    ASSERT_EQ(dib.Attach(photo), 1);
    EXPECT_TRUE(dib.Borrowed());
    EXPECT_EQ(dib.Stride(), 16);
    EXPECT_EQ(testing_support::HeaderOf(photo).biSizeImage, 48u);
  }
  // The borrowed block outlives the buffer.
  EXPECT_EQ(GlobalSize(photo), 40u + 48u);
  EXPECT_EQ(testing_support::PixelAt(photo, 4, 2), 0x102030u);
}

TEST(EngineDibAttach, UnlockableHandleFailsAndKeepsPreviousBlock) {
  EngineDib dib;
  ASSERT_EQ(dib.Create(2, 2, 24), 1);
  HGLOBAL before = dib.Handle();
  HGLOBAL dead = GlobalAlloc(GMEM_MOVEABLE, 64);
  GlobalFree(dead);
  EXPECT_EQ(dib.Attach(dead), 0);
  EXPECT_EQ(dib.Handle(), before);
  EXPECT_FALSE(dib.Borrowed());
}

TEST(EngineDibDetach, BlockStaysValidForTheReceiver) {
  HGLOBAL taken;
  {
    EngineDib dib;
    ASSERT_EQ(dib.Create(6, 6, 24), 1);
    {
      DibLock lock(dib);
      dib.Fill(77);
    }
    taken = dib.Detach();
    EXPECT_EQ(dib.Handle(), nullptr);
  }
  GlobalFreer freer(taken);
  ASSERT_NE(GlobalSize(taken), 0u);
  EXPECT_EQ(testing_support::PixelAt(taken, 5, 5), 0x4D4D4Du);
}

TEST(EngineDibRelease, FreesOwnedButNotBorrowedBlocks) {
  HGLOBAL photo = MakeDib24(2, 2, [](int, int) { return 0u; });
  GlobalFreer freer(photo);
  EngineDib borrowedDib;
  ASSERT_EQ(borrowedDib.Attach(photo), 1);
  borrowedDib.Release();
  EXPECT_NE(GlobalSize(photo), 0u);

  EngineDib owned;
  ASSERT_EQ(owned.Create(2, 2, 24), 1);
  HGLOBAL block = owned.Handle();
  owned.Release();
  EXPECT_EQ(owned.Handle(), nullptr);
  // A freed handle no longer locks (the Win32 build may reuse it, so only the
  // native build can check this reliably).
#if !defined(_WIN32)
  EXPECT_EQ(GlobalLock(block), nullptr);
#else
  (void)block;
#endif
}

TEST(EngineDibPaletteSize, UsesClrUsedElseTheDepth) {
  BITMAPINFOHEADER h{};
  h.biBitCount = 1;
  EXPECT_EQ(EngineDib::PaletteSize(&h), 2);
  h.biBitCount = 4;
  EXPECT_EQ(EngineDib::PaletteSize(&h), 16);
  h.biBitCount = 8;
  EXPECT_EQ(EngineDib::PaletteSize(&h), 256);
  h.biBitCount = 24;
  EXPECT_EQ(EngineDib::PaletteSize(&h), 0);
  h.biClrUsed = 12;
  EXPECT_EQ(EngineDib::PaletteSize(&h), 12);
}

// --- smoothing ---------------------------------------------------------------

struct SmoothCase {
  int width, height;
};

void PrintTo(const SmoothCase& c, std::ostream* os) { *os << c.width << "x" << c.height; }

class EngineDibSmooth : public ::testing::TestWithParam<SmoothCase> {};

// Reference: the separable 1-2-1 filter with the edge rule, written per sample.
int Horizontal(const std::vector<int>& line, int i) {
  const int n = static_cast<int>(line.size());
  if (n == 1) return line[0];
  if (i == 0) return (2 * line[0] + line[1]) / 3;
  if (i == n - 1) return (2 * line[n - 1] + line[n - 2]) / 3;
  return (line[i - 1] + 2 * line[i] + line[i + 1]) / 4;
}

TEST_P(EngineDibSmooth, TwentyFourBitsFiltersPixelsNotPadding) {
  const auto [w, h] = GetParam();
  auto value = [](int x, int y, int c) { return (x * 37 + y * 91 + c * 53 + x * y * 7) % 256; };
  EngineDib src, dst;
  ASSERT_EQ(src.Create(w, h, 24), 1);
  ASSERT_EQ(dst.Create(w, h, 24), 1);
  {
    DibLock a(src), b(dst);
    src.Fill(0xEE);  // padding bytes must not leak into the picture
    dst.Fill(0x11);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x)
        for (int c = 0; c < 3; ++c)
          src.Bits()[y * src.Stride() + 3 * x + c] = static_cast<uint8_t>(value(x, y, c));
  }
  ASSERT_EQ(src.SmoothInto(dst), 1);
  DibLock lock(dst);
  for (int c = 0; c < 3; ++c) {
    std::vector<std::vector<int>> pass(h, std::vector<int>(w));
    for (int y = 0; y < h; ++y) {
      std::vector<int> line(w);
      for (int x = 0; x < w; ++x) line[x] = value(x, y, c);
      for (int x = 0; x < w; ++x) pass[y][x] = Horizontal(line, x);
    }
    for (int x = 0; x < w; ++x) {
      std::vector<int> column(h);
      for (int y = 0; y < h; ++y) column[y] = pass[y][x];
      for (int y = 0; y < h; ++y)
        ASSERT_EQ(dst.Bits()[y * dst.Stride() + 3 * x + c], Horizontal(column, y))
            << "x=" << x << " y=" << y << " c=" << c;
    }
  }
  // The padding of the destination is left as it was.
  if (dst.Stride() > 3 * w) {
    EXPECT_EQ(dst.Bits()[3 * w], 0x11);
  }
}

TEST_P(EngineDibSmooth, EightBitsFiltersAcrossTheWholeStride) {
  const auto [w, h] = GetParam();
  EngineDib src, dst;
  ASSERT_EQ(src.Create(w, h, 8), 1);
  ASSERT_EQ(dst.Create(w, h, 8), 1);
  const int stride = src.Stride();
  auto value = [](int x, int y) { return (x * 29 + y * 113 + (x ^ y) * 5) % 256; };
  {
    DibLock a(src);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < stride; ++x) src.Bits()[y * stride + x] = static_cast<uint8_t>(value(x, y));
  }
  ASSERT_EQ(src.SmoothInto(dst), 1);
  DibLock lock(dst);
  std::vector<std::vector<int>> pass(h, std::vector<int>(stride));
  for (int y = 0; y < h; ++y) {
    std::vector<int> line(stride);
    for (int x = 0; x < stride; ++x) line[x] = value(x, y);
    for (int x = 0; x < stride; ++x) pass[y][x] = Horizontal(line, x);
  }
  for (int x = 0; x < stride; ++x) {
    std::vector<int> column(h);
    for (int y = 0; y < h; ++y) column[y] = pass[y][x];
    for (int y = 0; y < h; ++y) ASSERT_EQ(dst.Bits()[y * stride + x], Horizontal(column, y));
  }
}

INSTANTIATE_TEST_SUITE_P(Sizes, EngineDibSmooth,
                         ::testing::Values(SmoothCase{2, 2}, SmoothCase{3, 5}, SmoothCase{5, 3},
                                           SmoothCase{33, 32}, SmoothCase{64, 47}),
                         [](const ::testing::TestParamInfo<SmoothCase>& info) {
                           return std::to_string(info.param.width) + "x" +
                                  std::to_string(info.param.height);
                         });

TEST(EngineDibSmoothEdges, FlatImageStaysFlatAndEdgesUseThirds) {
  EngineDib src, dst;
  ASSERT_EQ(src.Create(4, 3, 8), 1);
  ASSERT_EQ(dst.Create(4, 3, 8), 1);
  {
    DibLock a(src);
    // Row: 0 0 0 255 in every stored row.
    for (int y = 0; y < 3; ++y) {
      uint8_t* row = src.Bits() + y * 4;
      row[0] = row[1] = row[2] = 0;
      row[3] = 255;
    }
  }
  ASSERT_EQ(src.SmoothInto(dst), 1);
  DibLock b(dst);
  // Horizontal: 0, 0, 63, 170; vertical rows equal, so unchanged.
  const uint8_t* row = dst.Bits();
  EXPECT_EQ(row[0], 0);
  EXPECT_EQ(row[1], 0);
  EXPECT_EQ(row[2], 63);
  EXPECT_EQ(row[3], 170);
}

TEST(EngineDibSmoothEdges, MismatchedDestinationOrNoMemoryFails) {
  EngineDib src, dst, other;
  ASSERT_EQ(src.Create(8, 8, 24), 1);
  ASSERT_EQ(dst.Create(8, 8, 24), 1);
  ASSERT_EQ(other.Create(8, 9, 24), 1);
  EXPECT_EQ(src.SmoothInto(other), 0);
  seam::FailEngineAllocationsAfter(0);
  EXPECT_EQ(src.SmoothInto(dst), 0);
  seam::FailEngineAllocationsAfter(-1);
  EXPECT_EQ(src.SmoothInto(dst), 1);
}

TEST(EngineDibSmoothEdges, PartOfAPictureSmoothsAsACopyOfThatPart) {
  // The detector smooths only the part of a photo it reads, where it lies:
  // that part's edges must act as picture edges, as for a copy of it, and
  // nothing outside it may be read or written.
  EngineDib whole, copy, fromCopy, fromPart;
  ASSERT_EQ(whole.Create(21, 13, 24), 1);
  ASSERT_EQ(copy.Create(9, 6, 24), 1);
  ASSERT_EQ(fromCopy.Create(9, 6, 24), 1);
  ASSERT_EQ(fromPart.Create(9, 6, 24), 1);
  DibLock a(whole), b(copy), c(fromCopy), d(fromPart);
  const seam::PixelView w = whole.View();
  for (int y = 0; y < 13; ++y)
    for (int x = 0; x < 63; ++x)
      w.Row(y)[x] = static_cast<uint8_t>((x * 71 + y * 29 + x * y) % 251);
  seam::PixelView part = w;
  part.width = 9;
  part.height = 6;
  part.bits = w.Row(4) + 3 * 7;
  for (int y = 0; y < 6; ++y) std::memcpy(copy.View().Row(y), part.Row(y), 27);
  ASSERT_EQ(copy.SmoothInto(fromCopy), 1);
  ASSERT_EQ(seam::SmoothView(part, fromPart.View()), 1);
  for (int y = 0; y < 6; ++y)
    EXPECT_EQ(std::memcmp(fromCopy.View().Row(y), fromPart.View().Row(y), 27), 0) << "row " << y;
  // In place: each row is written only after the rows it needs were read.
  ASSERT_EQ(seam::SmoothView(part, part), 1);
  for (int y = 0; y < 6; ++y)
    EXPECT_EQ(std::memcmp(fromCopy.View().Row(y), part.Row(y), 27), 0) << "row " << y;
  EXPECT_EQ(w.Row(4)[3 * 7 - 1], (20 * 71 + 4 * 29 + 20 * 4) % 251);  // left of the part
  EXPECT_EQ(w.Row(3)[3 * 7], (21 * 71 + 3 * 29 + 21 * 3) % 251);      // below it
}

// --- BMP files ----------------------------------------------------------------

TEST(EngineDibBmp, TwentyFourBitRoundTripKeepsEveryByte) {
  EngineDib dib;
  ASSERT_EQ(dib.Create(7, 5, 24), 1);
  {
    DibLock lock(dib);
    for (DWORD i = 0; i < dib.Header()->biSizeImage; ++i) dib.Bits()[i] = static_cast<uint8_t>(i * 13);
  }
  const std::string path = ScratchPath("round24.bmp");
  ASSERT_EQ(dib.Save(path.c_str()), 1);

  EngineDib back;
  ASSERT_EQ(back.Load(path.c_str()), 1);
  EXPECT_FALSE(back.Borrowed());
  DibLock a(dib), b(back);
  EXPECT_EQ(back.Width(), 7);
  EXPECT_EQ(back.Height(), 5);
  EXPECT_EQ(back.Stride(), 24);
  EXPECT_EQ(back.Header()->biSizeImage, 120u);
  EXPECT_EQ(std::memcmp(dib.Bits(), back.Bits(), 120), 0);
  std::remove(path.c_str());
}

TEST(EngineDibBmp, EightBitRoundTripKeepsTableAndRows) {
  EngineDib dib;
  ASSERT_EQ(dib.Create(5, 4, 8), 1);
  {
    DibLock lock(dib);
    for (int i = 0; i < 32; ++i) dib.Bits()[i] = static_cast<uint8_t>(200 - i);
  }
  const std::string path = ScratchPath("round8.bmp");
  ASSERT_EQ(dib.Save(path.c_str()), 1);
  // The file is exactly header + table + rows.
  std::FILE* f = std::fopen(path.c_str(), "rb");
  ASSERT_NE(f, nullptr);
  std::fseek(f, 0, SEEK_END);
  EXPECT_EQ(std::ftell(f), 54 + 1024 + 32);
  std::fclose(f);

  EngineDib back;
  ASSERT_EQ(back.Load(path.c_str()), 1);
  DibLock a(dib), b(back);
  EXPECT_EQ(back.Bits() - reinterpret_cast<const uint8_t*>(back.Header()), 1064);
  EXPECT_EQ(std::memcmp(dib.Header(), back.Header(), 40 + 1024 + 32), 0);
  std::remove(path.c_str());
}

void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  ASSERT_NE(f, nullptr);
  std::fwrite(bytes.data(), 1, bytes.size(), f);
  std::fclose(f);
}

std::vector<uint8_t> ReadBytes(const std::string& path) {
  std::vector<uint8_t> out;
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return out;
  int c;
  while ((c = std::fgetc(f)) != EOF) out.push_back(static_cast<uint8_t>(c));
  std::fclose(f);
  return out;
}

TEST(EngineDibBmp, RefusesMissingShortAndForeignFilesAndKeepsItsBlock) {
  EngineDib source;
  ASSERT_EQ(source.Create(4, 4, 24), 1);
  const std::string good = ScratchPath("good.bmp");
  ASSERT_EQ(source.Save(good.c_str()), 1);
  const std::vector<uint8_t> bytes = ReadBytes(good);
  ASSERT_EQ(bytes.size(), 54u + 48u);

  EngineDib dib;
  ASSERT_EQ(dib.Create(2, 2, 24), 1);
  HGLOBAL before = dib.Handle();
  const std::string bad = ScratchPath("bad.bmp");

  EXPECT_EQ(dib.Load(ScratchPath("does-not-exist.bmp").c_str()), 0);

  auto truncated = bytes;
  truncated.resize(54 + 20);
  WriteBytes(bad, truncated);
  EXPECT_EQ(dib.Load(bad.c_str()), 0);

  auto notBm = bytes;
  notBm[0] = 'X';
  WriteBytes(bad, notBm);
  EXPECT_EQ(dib.Load(bad.c_str()), 0);

  auto coreHeader = bytes;
  coreHeader[14] = 12;  // an OS/2 core header is not accepted
  WriteBytes(bad, coreHeader);
  EXPECT_EQ(dib.Load(bad.c_str()), 0);

  auto lyingSize = bytes;
  lyingSize[2] = 60;  // bfSize smaller than the rows the header promises
  lyingSize[3] = 0;
  WriteBytes(bad, lyingSize);
  EXPECT_EQ(dib.Load(bad.c_str()), 0);

  auto hugeWidth = bytes;
  hugeWidth[18] = 0xFF;
  hugeWidth[19] = 0xFF;
  hugeWidth[20] = 0xFF;
  hugeWidth[21] = 0x7F;
  WriteBytes(bad, hugeWidth);
  EXPECT_EQ(dib.Load(bad.c_str()), 0);

  EXPECT_EQ(dib.Handle(), before);
  std::remove(good.c_str());
  std::remove(bad.c_str());
}

TEST(EngineDibBmp, SaveToUnwritablePlaceFails) {
  EngineDib dib;
  ASSERT_EQ(dib.Create(2, 2, 24), 1);
  const std::string path = ScratchPath("no-such-folder") + "/x/y.bmp";
  EXPECT_EQ(dib.Save(path.c_str()), 0);
}

TEST(EngineDibDraw, ReportsFailureWithoutADevice) {
  EngineDib dib;
  ASSERT_EQ(dib.Create(2, 2, 24), 1);
  EXPECT_EQ(dib.Draw(nullptr, 0, 0), 0);
  EXPECT_EQ(dib.DrawStretched(nullptr, 0, 0, 4, 4), 0);
}

}  // namespace
