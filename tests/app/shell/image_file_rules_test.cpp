#include "image_file_rules.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace vmd;

TEST(ImageFileTypes, FilterIndexesSkipGifWithoutIt) {
  struct Case { int index; bool noGif; int type; };
  for (Case c : {Case{1, false, kFileBmp}, Case{4, false, kFileGif}, Case{6, false, kFileJpg},
                 Case{7, false, kFileFpx}, Case{3, true, kFilePcx}, Case{4, true, kFileTga},
                 Case{5, true, kFileJpg}, Case{6, true, kFileFpx}, Case{7, true, 0}, Case{0, false, 0}}) {
    EXPECT_EQ(FullListType(c.index, c.noGif), c.type) << c.index << " " << c.noGif;
  }
  EXPECT_EQ(FullListType(JpegFilterIndex(false), false), kFileJpg);
  EXPECT_EQ(FullListType(JpegFilterIndex(true), true), kFileJpg);
  EXPECT_EQ(DefaultExtensionOf(kFileJpg), "JPG");
  EXPECT_EQ(DefaultExtensionOf(kFileTga), "TGA");
  EXPECT_EQ(DefaultExtensionOf(9), "");
}

TEST(ImageDialogExtension, CompressForTifAndTgaQualityForJpgAndFpx) {
  struct Case { int type; bool noGif; bool compress; bool quality; };
  for (Case c : {Case{kFileBmp, false, false, false}, Case{kFileTif, false, true, false},
                 Case{kFileTif, true, false, false}, Case{kFileTga, false, true, false},
                 Case{kFileTga, true, true, false}, Case{kFileJpg, false, false, true},
                 Case{kFileFpx, true, false, true}, Case{kFileGif, false, false, false},
                 Case{kFilePcx, true, false, false}}) {
    ExtensionChoice save = ChooseExtension(c.type, true, c.noGif);
    EXPECT_EQ(save.showCompress, c.compress) << c.type << " " << c.noGif;
    EXPECT_EQ(save.showQuality, c.quality) << c.type << " " << c.noGif;
    ExtensionChoice open = ChooseExtension(c.type, false, c.noGif);
    EXPECT_FALSE(open.showCompress || open.showQuality);
  }
  // TIF picked through the NOGIF list (index 2) hides both.
  ExtensionChoice tif = ChooseExtension(FullListType(2, true), true, true);
  EXPECT_FALSE(tif.showCompress || tif.showQuality);
  EXPECT_EQ(CompressModeOnOk(kFileTif, true, false), 1);
  EXPECT_EQ(CompressModeOnOk(kFileTif, true, true), 0);
  EXPECT_EQ(CompressModeOnOk(kFileTga, true, true), 1);
  EXPECT_EQ(CompressModeOnOk(kFileTga, false, false), 0);
  EXPECT_EQ(CompressModeOnOk(kFileJpg, true, false), -1);
}

TEST(QualityScrollBar, StaysWithinOneToHundred) {
  EXPECT_EQ(QualityAfterScroll(5, kScrollPageLeft, 0), 1);
  EXPECT_EQ(QualityAfterScroll(1, kScrollLineLeft, 0), 1);
  EXPECT_EQ(QualityAfterScroll(50, kScrollLineLeft, 0), 49);
  EXPECT_EQ(QualityAfterScroll(50, kScrollLineRight, 0), 51);
  EXPECT_EQ(QualityAfterScroll(50, kScrollPageRight, 0), 60);
  EXPECT_EQ(QualityAfterScroll(95, kScrollPageRight, 0), 100);
  EXPECT_EQ(QualityAfterScroll(50, kScrollThumbTrack, 73), 73);
  EXPECT_EQ(QualityAfterScroll(50, kScrollThumbPosition, 0), 1);
  EXPECT_EQ(QualityAfterScroll(50, kScrollLeft, 0), 1);
  EXPECT_EQ(QualityAfterScroll(50, kScrollRight, 0), 100);
  EXPECT_EQ(QualityAfterScroll(50, 8 /* end of scroll */, 0), 50);
  EXPECT_EQ(QualityText("&Quality: ", 75), "&Quality:  75");
  EXPECT_EQ(SliderQuality(0, 80), 80);
  EXPECT_EQ(SliderQuality(33, 80), 33);
}

TEST(JpegQualityBook, FirstSaveLeavesTheCodecThenTheChoiceComesBack) {
  JpegQualityBook book;
  EXPECT_EQ(book.BeforeDialog(), -1);
  EXPECT_EQ(book.AfterDialog(60), 100);
  EXPECT_EQ(book.BeforeDialog(), 60);
  EXPECT_EQ(book.AfterDialog(85), 100);
  EXPECT_EQ(book.BeforeDialog(), 85);
}

TEST(ImagePaths, ExtensionsFoldersAndLengths) {
  EXPECT_EQ(UpperExtension("C:\\a.b\\photo.jpeg"), "JPEG");
  EXPECT_EQ(UpperExtension("C:\\a.b\\photo"), "");
  EXPECT_EQ(FolderPart("C:\\pics\\x.tif"), "C:\\pics");
  EXPECT_FALSE(SavePathTooLong(std::string(256, 'a')));
  EXPECT_TRUE(SavePathTooLong(std::string(257, 'a')));
  EXPECT_FALSE(MoviePathRefused("C:\\m\\" + std::string(59, 'a')));  // "\" + 59 = 60
  EXPECT_TRUE(MoviePathRefused("C:\\m\\" + std::string(60, 'a')));
  EXPECT_TRUE(MoviePathRefused("C:\\" + std::string(250, 'a') + "\\b.mov"));
  EXPECT_FALSE(PagePathRefused(std::string(230, 'a')));
  EXPECT_TRUE(PagePathRefused(std::string(231, 'a')));
  EXPECT_EQ(StripFolderOf("C:\\web.site\\pano.htm"), "C:\\web.site\\pano_files");
  EXPECT_EQ(StripFolderOf("C:\\web.site\\pano"), "C:\\web.site\\pano_files");
  EXPECT_EQ(StripPath("C:\\p_files", 23), "C:\\p_files\\23.jpg");
  EXPECT_EQ(TemporaryExportPath("C:\\Docs\\", "~ml.bmp"), "C:\\Docs\\~ml.bmp");
}

TEST(ExportChecks, LandscapeAndLargeEnough) {
  EXPECT_EQ(ExportRefusal(100, 101), 50101u);
  EXPECT_EQ(ExportRefusal(71, 64), 50109u);
  EXPECT_EQ(ExportRefusal(72, 63), 50109u);
  EXPECT_EQ(ExportRefusal(72, 64), 0u);
  EXPECT_EQ(ExportRefusal(64, 64), 50109u);
}

TEST(ImageStrips, EveryStripIsOneLessThanItsShare) {
  for (int i = 0; i < 24; ++i) {
    StripColumns s = StripOf(72, 24, i);
    EXPECT_EQ(s.width, 2);
    EXPECT_EQ(s.left, 3 * i);
    EXPECT_EQ(s.right, i < 23 ? 3 * i + 2 : 72);
  }
  StripColumns last = StripOf(100, 24, 23);  // q = 4: columns 92 .. 99 scaled to 3
  EXPECT_EQ(last.left, 92);
  EXPECT_EQ(last.right, 100);
  EXPECT_EQ(last.width, 3);
}

TEST(NextSelectedFile, WalksSingleAndMultipleSelections) {
  const char multi[] = "c:\\pics\0a.jpg\0b.bmp\0";  // the literal's own NUL ends the list
  std::string path;
  int next = NextSelectedFile(multi, sizeof multi, 0, &path);
  EXPECT_EQ(path, "c:\\pics\\a.jpg");
  next = NextSelectedFile(multi, sizeof multi, next, &path);
  EXPECT_EQ(path, "c:\\pics\\b.bmp");
  EXPECT_EQ(NextSelectedFile(multi, sizeof multi, next, &path), -1);

  const char single[] = "c:\\pics\\one.tif\0";
  next = NextSelectedFile(single, sizeof single, 0, &path);
  EXPECT_EQ(path, "c:\\pics\\one.tif");
  EXPECT_EQ(NextSelectedFile(single, sizeof single, next, &path), -1);

  const char root[] = "c:\\\0x.gif\0";
  NextSelectedFile(root, sizeof root, 0, &path);
  EXPECT_EQ(path, "c:\\x.gif");
  const char unended[] = {'c', ':', '\\', 'p', '\0', 'a', 'b'};
  EXPECT_EQ(NextSelectedFile(unended, sizeof unended, 0, &path), -1);
  EXPECT_EQ(NextSelectedFile("", 1, 0, &path), -1);
}

namespace {

std::vector<uint8_t> Tiff(bool little, int compression, bool asShort = true) {
  std::vector<uint8_t> b = little ? std::vector<uint8_t>{'I', 'I', 42, 0, 8, 0, 0, 0}
                                  : std::vector<uint8_t>{'M', 'M', 0, 42, 0, 0, 0, 8};
  auto put16 = [&](int v) {
    if (little) { b.push_back(uint8_t(v)); b.push_back(uint8_t(v >> 8)); }
    else { b.push_back(uint8_t(v >> 8)); b.push_back(uint8_t(v)); }
  };
  auto put32 = [&](uint32_t v) {
    if (little) { put16(v & 0xFFFF); put16(v >> 16); }
    else { put16(v >> 16); put16(v & 0xFFFF); }
  };
  put16(2);
  put16(256); put16(3); put32(1); put16(10); put16(0);  // ImageWidth
  put16(259); put16(asShort ? 3 : 4); put32(1);
  if (asShort) { put16(compression); put16(0); } else { put32(uint32_t(compression)); }
  put32(0);
  return b;
}

}  // namespace

TEST(TiffLzwCheck, ReadsTheCompressionOfTheFirstImage) {
  EXPECT_TRUE(TiffBytesUseLzw(Tiff(true, 5).data(), Tiff(true, 5).size()));
  EXPECT_TRUE(TiffBytesUseLzw(Tiff(false, 5).data(), Tiff(false, 5).size()));
  EXPECT_TRUE(TiffBytesUseLzw(Tiff(true, 5, false).data(), Tiff(true, 5, false).size()));
  EXPECT_FALSE(TiffBytesUseLzw(Tiff(true, 1).data(), Tiff(true, 1).size()));
  EXPECT_FALSE(TiffBytesUseLzw(Tiff(false, 7).data(), Tiff(false, 7).size()));
  std::vector<uint8_t> cut = Tiff(true, 5);
  for (size_t n = 0; n < cut.size() - 6; ++n) EXPECT_FALSE(TiffBytesUseLzw(cut.data(), n)) << n;
  const uint8_t bmp[] = {'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0};
  EXPECT_FALSE(TiffBytesUseLzw(bmp, sizeof bmp));
}
