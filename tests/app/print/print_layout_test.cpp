#include "print_layout.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace vmd {
namespace {

/// A4 at 300 dpi as Wine's PostScript driver reports it.
constexpr PrinterMetrics kA4{300, 300, 2329, 3358};

TEST(InitialLayout, CountsPagesAtFiftyAndTwelveHundredDpi) {
  // 10000 x 1000 pixels: 3000000 / 2329 printer pixels across per dpi.
  const PrintLayout l = InitialLayout(10000, 1000, kA4);
  EXPECT_EQ(l.maxPagesAcross, 26);  // 10000 / 50 inch = 200 in over 7.76 in pages
  EXPECT_EQ(l.maxPagesDown, 2);     // 20 in over 11.19 in
  EXPECT_EQ(l.minPagesAcross, 2);   // 8.33 in over 7.76 in
  EXPECT_EQ(l.minPagesDown, 1);
  EXPECT_EQ(l.pagesAcross, 2);
  EXPECT_EQ(l.pagesDown, 1);
  // Two pages across hold it from 644 dpi (10000 px on 15.53 in) up to 1200.
  EXPECT_EQ(l.dpiMin, 644);
  EXPECT_EQ(l.dpiMax, 1200);
  EXPECT_EQ(l.dpi, 644);
  EXPECT_EQ(l.copies, 1);
}

TEST(InitialLayout, ASmallImageTakesOnePageEvenAtTheLowestResolution) {
  const PrintLayout l = InitialLayout(300, 200, kA4);
  EXPECT_EQ(l.maxPagesAcross, 1);
  EXPECT_EQ(l.maxPagesDown, 1);
  EXPECT_EQ(l.minPagesAcross, 1);
  EXPECT_EQ(l.dpiMin, kLowestDpi);
  EXPECT_EQ(l.dpiMax, kHighestDpi);
}

TEST(AxisDpiInterval, OpensToTheEndsAtTheExtremeCounts) {
  // 10000 px across: 2 to 26 pages.
  struct Case {
    int pages, low, high;
  };
  for (Case c : {Case{2, 644, 1200}, Case{3, 429, 644}, Case{25, 51, 53}, Case{26, 50, 51}}) {
    const DpiInterval i = AxisDpiInterval(10000, 300, 2329, c.pages, 2, 26);
    EXPECT_EQ(i.low, c.low) << c.pages;
    EXPECT_EQ(i.high, c.high) << c.pages;
  }
  // One page both at the lowest and the highest resolution: the whole scale.
  const DpiInterval whole = AxisDpiInterval(100, 300, 2329, 1, 1, 1);
  EXPECT_EQ(whole.low, 50);
  EXPECT_EQ(whole.high, 1200);
}

TEST(SliderDpi, RunsFromTheHighestAtZeroToTheLowestAt99) {
  EXPECT_EQ(SliderDpi(0, 644, 1200), 1200);
  EXPECT_EQ(SliderDpi(99, 644, 1200), 644);
  EXPECT_EQ(SliderDpi(50, 644, 1200), 919);  // 91000 / 99 = 919.2
  EXPECT_EQ(SliderDpi(0, 50, 50), 50);
  int previous = 100000;
  for (int p = 0; p < kSliderPositions; ++p) {
    const int dpi = SliderDpi(p, 89, 1200);
    EXPECT_LE(dpi, previous);
    previous = dpi;
  }
}

TEST(TemplateList, StartsWithOnePageForAnImageThatFits) {
  const PrintLayout l = InitialLayout(640, 480, kA4);
  const auto list = TemplateList(l, "page", "pages");
  ASSERT_FALSE(list.empty());
  EXPECT_EQ(list[0], "1 x 1 page");
  EXPECT_EQ(list[1], "2 x 1 pages");  // wider than high: pages are added across
}

TEST(TemplateList, WalksTheLongAxisAndStopsBeforeNineteenPages) {
  const auto list = TemplateList(InitialLayout(10000, 1000, kA4), "page", "pages");
  // 2 to 15 pages across in one row; 15 x 2 would be 30 pages.
  ASSERT_EQ(list.size(), 14u);
  EXPECT_EQ(list.front(), "2 x 1 pages");
  EXPECT_EQ(list.back(), "15 x 1 pages");
  const auto tall = TemplateList(InitialLayout(1000, 20000, kA4), "page", "pages");
  ASSERT_FALSE(tall.empty());
  EXPECT_EQ(tall.front(), "1 x 2 pages");
}

TEST(TemplateList, NeverOffersMoreThanEighteenPages) {
  const int sizes[][2] = {{65535, 300}, {300, 65535}, {65535, 65535}, {20000, 9000},
                          {7000, 7000}, {1, 1},       {5000, 2500}};
  for (const PrinterMetrics& printer :
       {kA4, PrinterMetrics{600, 600, 4800, 6600}, PrinterMetrics{72, 72, 540, 720}}) {
    for (const auto& s : sizes) {
      const auto list = TemplateList(InitialLayout(s[0], s[1], printer), "page", "pages");
      EXPECT_LE(list.size(), size_t(kMaxPrintPages));
      for (const std::string& entry : list) {
        int a = 0, d = 0;
        ASSERT_TRUE(ParseTemplate(entry.c_str(), &a, &d)) << entry;
        EXPECT_GE(a, 1);
        EXPECT_GE(d, 1);
        EXPECT_LE(a * d, kMaxPrintPages) << entry;
      }
    }
  }
}

TEST(ChooseArrangement, RecomputesTheRangeOnlyWhenACountChanges) {
  PrintLayout l = InitialLayout(10000, 1000, kA4);
  l.dpi = 777;
  EXPECT_FALSE(ChooseArrangement(&l, 2, 1));
  EXPECT_EQ(l.dpi, 777);
  int a = 0, d = 0;
  ASSERT_TRUE(ParseTemplate("3 x 1 pages", &a, &d));
  EXPECT_TRUE(ChooseArrangement(&l, a, d));
  EXPECT_EQ(l.dpiMin, 429);
  EXPECT_EQ(l.dpiMax, 644);
  EXPECT_EQ(l.dpi, 429);
  EXPECT_FALSE(ParseTemplate("pages", &a, &d));
}

TEST(EditFields, AcceptOnlyTheirRanges) {
  PrintLayout l = InitialLayout(10000, 1000, kA4);
  for (const char* bad : {"0", "27", "-1", "", "x", "00000000000000000009"}) {
    EXPECT_EQ(EditPagesAcross(&l, bad), EditKind::kRejected) << bad;
  }
  EXPECT_EQ(EditPagesAcross(&l, "2"), EditKind::kUnchanged);
  EXPECT_EQ(EditPagesAcross(&l, "3"), EditKind::kChanged);
  EXPECT_EQ(l.pagesAcross, 3);
  EXPECT_EQ(l.dpi, 429);
  EXPECT_EQ(l.pagesDown, 1);
  EXPECT_EQ(EditPagesAcross(&l, "26"), EditKind::kChanged);
  EXPECT_EQ(l.dpi, 50);
  EXPECT_EQ(l.pagesDown, 2);  // 20 inches down at 50 dpi

  PrintLayout m = InitialLayout(10000, 1000, kA4);
  EXPECT_EQ(EditPagesDown(&m, "3"), EditKind::kRejected);
  EXPECT_EQ(EditPagesDown(&m, "2"), EditKind::kChanged);
  EXPECT_EQ(m.dpi, 50);
  EXPECT_EQ(m.pagesAcross, 26);

  for (const char* bad : {"0", "101", "", "-5"}) {
    EXPECT_EQ(EditCopies(&m, bad), EditKind::kRejected) << bad;
  }
  EXPECT_EQ(m.copies, 1);
  EXPECT_EQ(EditCopies(&m, "1"), EditKind::kUnchanged);
  EXPECT_EQ(EditCopies(&m, "100"), EditKind::kChanged);
  EXPECT_EQ(m.copies, 100);
}

TEST(StepCopies, StaysBetweenOneAndAHundred) {
  EXPECT_EQ(StepCopies(1, -1), 1);
  EXPECT_EQ(StepCopies(2, -1), 1);
  EXPECT_EQ(StepCopies(99, 1), 100);
  EXPECT_EQ(StepCopies(100, 1), 100);
}

TEST(Labels, ShowInchesAndDpi) {
  PrintLayout l = InitialLayout(1000, 500, kA4);
  l.dpi = 300;
  EXPECT_EQ(SizeLabel(l, "inch"), "3.33 x 1.67 inch");
  EXPECT_EQ(DpiLabel(l, "dpi"), "300dpi");
}

TEST(DocumentName, ShortensTheTitleAtAPathSeparator) {
  EXPECT_EQ(DocumentName("Vistameld - ", "C:\\Pictures\\bay.jpg"), "Vistameld - bay.jpg");
  EXPECT_EQ(DocumentName("V - ", "short.bmp"), "V - short.bmp");
  EXPECT_EQ(DocumentName("V - ", "C:\\a\\averyveryverylongname.jpg"), "V - averyveryverylo");
  EXPECT_EQ(DocumentName("V - ", "Untitled"), "V - Untitled");
}

TEST(PrintPages, FollowTheLongerSideOfTheBlock) {
  auto order = [](int across, int down) {
    PrintLayout l = InitialLayout(3000, 3000, kA4);
    l.pagesAcross = across;
    l.pagesDown = down;
    l.dpi = 300;
    std::vector<std::pair<int, int>> pages;
    for (const PrintPage& p : PrintPages(l)) pages.emplace_back(p.column, p.row);
    return pages;
  };
  using P = std::vector<std::pair<int, int>>;
  EXPECT_EQ(order(1, 2), (P{{0, 0}, {0, 1}}));
  EXPECT_EQ(order(2, 1), (P{{0, 0}, {1, 0}}));
  EXPECT_EQ(order(2, 3), (P{{0, 0}, {0, 1}, {0, 2}, {1, 0}, {1, 1}, {1, 2}}));
  EXPECT_EQ(order(3, 2), (P{{0, 0}, {1, 0}, {2, 0}, {0, 1}, {1, 1}, {2, 1}}));
}

/// On one axis (the first row or column of pages): every sheet pixel of the
/// printed image is drawn by exactly one part of one page, nothing is drawn
/// outside it or past a page edge, and the pixel drawn there is the one whose
/// place on the sheet, from x0 + floor(u * printed / size), holds it; inside
/// a run of several pixels the stretch may round one printer pixel either way.
void ExpectAxisCoveredOnce(const PrintLayout& l, bool across) {
  const PrintPlacement at = PlaceImage(l);
  const int printed = across ? at.printedWidth : at.printedHeight;
  const int origin = across ? at.originX : at.originY;
  const int size = across ? l.width : l.height;
  const int page = across ? l.printer.hr : l.printer.vr;
  const int64_t sheet = int64_t(across ? l.pagesAcross : l.pagesDown) * page;
  std::vector<int> covered(size_t(sheet), 0);
  for (const PrintPage& p : PrintPages(l)) {
    if ((across ? p.row : p.column) != 0) continue;
    const int index = across ? p.column : p.row;
    // Parts repeat along the other axis; take those of the first segment there.
    const RECT& firstDest = p.parts.empty() ? RECT{} : p.parts[0].dest;
    for (const PagePart& part : p.parts) {
      if ((across ? part.dest.top : part.dest.left) != (across ? firstDest.top : firstDest.left))
        continue;
      const int d0 = across ? part.dest.left : part.dest.top;
      const int d1 = across ? part.dest.right : part.dest.bottom;
      const int s0 = across ? part.source.left : part.source.top;
      const int s1 = across ? part.source.right : part.source.bottom;
      ASSERT_GE(d0, 0);
      ASSERT_LE(d1, page);
      ASSERT_LT(d0, d1);
      ASSERT_GE(s0, 0);
      ASSERT_LE(s1, size);
      ASSERT_LT(s0, s1);
      for (int x = d0; x < d1; ++x) {
        const int64_t sheetX = int64_t(index) * page + x;
        ++covered[size_t(sheetX)];
        // Pixel u covers [x0 + floor(u PW / W), x0 + floor((u + 1) PW / W)).
        const int64_t wanted = ((sheetX - origin + 1) * size + printed - 1) / printed - 1;
        const int64_t drawn = s0 + int64_t(x - d0) * (s1 - s0) / (d1 - d0);
        const int64_t slack = (s1 - s0 == 1 ? 0 : 1) + size / printed;
        ASSERT_LE(std::llabs(drawn - wanted), slack) << "sheet " << sheetX;
      }
    }
  }
  for (int64_t x = 0; x < sheet; ++x) {
    const bool inImage = x >= origin && x < origin + printed;
    ASSERT_EQ(covered[size_t(x)], inImage ? 1 : 0) << "sheet " << x;
  }
}

TEST(PrintPages, CoverTheScaledImageExactlyOnce) {
  struct Case {
    int w, h, across, down, dpi;
  };
  const Case cases[] = {
      {600, 150, 2, 1, 70},     {150, 600, 1, 2, 50},  {10000, 1000, 2, 1, 644},
      {10000, 1000, 15, 1, 86}, {999, 997, 3, 2, 113}, {5, 3, 1, 1, 50},
      {4658, 100, 2, 1, 300},  // the page edge falls between two pixels
      {40, 30, 2, 2, 50},      // 18 printer pixels per image pixel, cut by both edges
      {20, 20, 1, 1, 1200},    // a block far larger than the image
  };
  for (const Case& c : cases) {
    PrintLayout l = InitialLayout(c.w, c.h, kA4);
    l.pagesAcross = c.across;
    l.pagesDown = c.down;
    l.dpi = c.dpi;
    SCOPED_TRACE(testing::Message() << c.w << "x" << c.h << " on " << c.across << "x" << c.down);
    ExpectAxisCoveredOnce(l, true);
    ExpectAxisCoveredOnce(l, false);
  }
}

TEST(PrintPages, CentreTheImageOnTheBlock) {
  PrintLayout l = InitialLayout(600, 150, kA4);
  l.pagesAcross = 2;
  l.pagesDown = 1;
  l.dpi = 70;
  const PrintPlacement at = PlaceImage(l);
  EXPECT_EQ(at.printedWidth, 2571);  // 600 * 300 / 70
  EXPECT_EQ(at.printedHeight, 642);
  EXPECT_EQ(at.originX, (2 * 2329 - 2571) / 2);
  EXPECT_EQ(at.originY, (3358 - 642) / 2);
  // A block larger than the image leaves outer pages blank.
  l.pagesAcross = 3;
  l.dpi = 300;
  const auto pages = PrintPages(l);
  ASSERT_EQ(pages.size(), 3u);
  EXPECT_TRUE(pages[0].parts.empty());
  ASSERT_EQ(pages[1].parts.size(), 1u);
  EXPECT_TRUE(pages[2].parts.empty());
  EXPECT_EQ(pages[1].parts[0].source.left, 0);
  EXPECT_EQ(pages[1].parts[0].source.right, 600);
  EXPECT_EQ(pages[1].parts[0].dest.left, (2329 - 600) / 2);
}

TEST(PreviewFor, KeepsThePageBlockProportionsAndPlacesTheImageInside) {
  PrintLayout l = InitialLayout(600, 150, kA4);
  l.pagesAcross = 2;
  l.dpi = 70;
  const PreviewGeometry g = PreviewFor(l, RECT{10, 20, 410, 320});
  EXPECT_NEAR(double(g.block.right - g.block.left) / (g.block.bottom - g.block.top),
              2.0 * 2329 / 3358, 0.02);
  ASSERT_EQ(g.columnLines.size(), 1u);
  EXPECT_TRUE(g.rowLines.empty());
  EXPECT_GE(g.image.left, g.block.left);
  EXPECT_LE(g.image.right, g.block.right);
  EXPECT_LT(g.image.left, g.columnLines[0]);
  EXPECT_GT(g.image.right, g.columnLines[0]);
}

}  // namespace
}  // namespace vmd
