// Fine tuning's arithmetic: markers from a pair's control points and back,
// the exact-position refusal, scales, first scroll positions, zoom limits and
// the match assistant on identical and shifted blocks.
#include <gtest/gtest.h>

#include <cstdlib>

#include "fine_tune_geometry.h"
#include "test_dib.h"

namespace vmd {
namespace {

using testing_support::MakeDib24;

bool Same(POINT a, POINT b) { return a.x == b.x && a.y == b.y; }

TEST(FineTuneMarkers, ComeFromTheFirstMiddleAndLastEntries) {
  const StitchPair five[5] = {{10, 20, 110, 120}, {0, 0, 0, 0}, {30, 40, 130, 140}, {0, 0, 0, 0}, {50, 60, 150, 160}};
  MarkerSet m;
  // Medium: list coordinates are halves; photos 480 and 400 rows high.
  ASSERT_TRUE(MarkersFromPairs(five, 5, 2, true, 480, 400, &m));
  EXPECT_TRUE(Same(m.first[0], POINT{20, 440}));
  EXPECT_TRUE(Same(m.first[1], POINT{60, 400}));
  EXPECT_TRUE(Same(m.first[2], POINT{100, 360}));
  EXPECT_TRUE(Same(m.second[2], POINT{300, 80}));
  // Up a column the list's own photo is the lower one, photo2.
  ASSERT_TRUE(MarkersFromPairs(five, 5, 1, false, 480, 400, &m));
  EXPECT_TRUE(Same(m.second[0], POINT{10, 380}));
  EXPECT_TRUE(Same(m.first[0], POINT{110, 360}));

  const StitchPair one[1] = {{7, 8, 9, 10}};
  ASSERT_TRUE(MarkersFromPairs(one, 1, 1, true, 100, 100, &m));
  EXPECT_TRUE(Same(m.first[0], m.first[2]));
  EXPECT_TRUE(MarkersCoincide(m));  // left unmoved, they cannot be applied
  EXPECT_FALSE(MarkersFromPairs(one, 0, 1, true, 100, 100, &m));
}

TEST(FineTuneMarkers, AreWrittenBackAtTheSizesDivisor) {
  MarkerSet m{{{200, 100}, {300, 200}, {400, 300}}, {{10, 100}, {20, 200}, {30, 300}}};
  EXPECT_FALSE(MarkersCoincide(m));
  StitchPair out[3];
  MarkersToPairs(m, 2, true, 480, 480, out);
  EXPECT_EQ(out[0].x1, 100);  // (200, 100) on a 480-high photo at Medium
  EXPECT_EQ(out[0].y1, 190);
  EXPECT_EQ(out[0].x2, 5);
  EXPECT_EQ(out[0].y2, 190);
  MarkersToPairs(m, 1, false, 480, 400, out);
  EXPECT_EQ(out[1].x1, 20);  // photo2 first up a column
  EXPECT_EQ(out[1].y1, 200);
  EXPECT_EQ(out[1].y2, 280);
  // Read back, the markers land where they were (to the divisor).
  MarkerSet back;
  MarkersToPairs(m, 2, true, 480, 480, out);
  ASSERT_TRUE(MarkersFromPairs(out, 3, 2, true, 480, 480, &back));
  EXPECT_TRUE(Same(back.first[1], m.first[1]));
  m.second[2] = m.second[0];
  EXPECT_TRUE(MarkersCoincide(m));
  EXPECT_EQ(DetailDivisor(0), 1);
  EXPECT_EQ(DetailDivisor(1), 2);
  EXPECT_EQ(DetailDivisor(2), 4);
}

TEST(FineTuneScale, FitsTheMarkersAndStopsAtTheLimits) {
  const POINT tight[3] = {{10, 10}, {100, 50}, {200, 90}};
  EXPECT_DOUBLE_EQ(MarkerFitScale(tight, 300, 200), 1.0);
  const POINT wide[3] = {{0, 0}, {500, 0}, {1000, 10}};
  EXPECT_NEAR(MarkerFitScale(wide, 310, 200), 0.3, 1e-9);
  const POINT huge[3] = {{0, 0}, {5000, 0}, {100000, 10}};
  EXPECT_NEAR(MarkerFitScale(huge, 300, 200), 0.1, 0.02);
  EXPECT_DOUBLE_EQ(FineTuneMinScale(120, 100), 1.0);
  EXPECT_NEAR(FineTuneMinScale(600, 450), 0.2, 1e-9);
  EXPECT_NEAR(FineTuneMinScale(4000, 3000), 0.1, 1e-9);

  FineZoom z = FineTuneZoomIn(1.2, 0.2);
  EXPECT_NEAR(z.scale, 1.3, 1e-9);
  EXPECT_EQ(z.zoomIn, ButtonChange::kDisable);
  EXPECT_NEAR(FineTuneZoomIn(1.3, 0.2).scale, 1.3, 1e-9);
  z = FineTuneZoomOut(0.3, 0.2);
  EXPECT_NEAR(z.scale, 0.2, 1e-9);
  EXPECT_EQ(z.zoomOut, ButtonChange::kDisable);
  EXPECT_EQ(z.zoomIn, ButtonChange::kEnable);
  EXPECT_NEAR(FineTuneZoomOut(0.2, 0.2).scale, 0.2, 1e-9);

  const MarkerSet m{{{10, 15}, {0, 0}, {0, 0}}, {{0, 0}, {0, 0}, {33, 0}}};
  const MarkerSet s = ScaleMarkers(m, 1.1);
  EXPECT_EQ(s.first[0].x, 11);
  EXPECT_EQ(s.first[0].y, 17);  // 16.5 rounds up
  EXPECT_EQ(s.second[2].x, 36);
}

TEST(FineTuneScale, FirstScrollShowsTheMarkers) {
  EXPECT_EQ(FineTuneScroll(200, 300, 10, 50), -50);     // fits: centred
  EXPECT_EQ(FineTuneScroll(1000, 300, 800, 900), 700);  // the end is in reach
  EXPECT_EQ(FineTuneScroll(1000, 300, 100, 600), 80);   // a wide span: 20 before the first
  EXPECT_EQ(FineTuneScroll(1000, 300, 10, 600), 0);
  EXPECT_EQ(FineTuneScroll(1000, 300, 400, 500), 300);  // centred on the span
}

uint32_t Texture(int x, int y) {
  const uint32_t v = static_cast<uint32_t>((x * 37 + y * 91 + (x * y) % 29) * 2654435761u >> 24);
  return v << 16 | ((v * 3) & 0xFF) << 8 | ((v * 7) & 0xFF);
}

TEST(FineTuneMatch, FindsTheShiftedBlockAndKeepsAnIdenticalOne) {
  HGLOBAL view1 = MakeDib24(120, 100, Texture);
  HGLOBAL same = MakeDib24(120, 100, Texture);
  HGLOBAL shifted = MakeDib24(120, 100, [](int x, int y) { return Texture(x - 5, y + 3); });
  EXPECT_TRUE(Same(MatchMarker(view1, POINT{60, 50}, same, POINT{60, 50}), POINT{60, 50}));
  // view2 shows view1's point (60, 50) at (65, 53) (MakeDib24 counts rows up).
  EXPECT_TRUE(Same(MatchMarker(view1, POINT{60, 50}, shifted, POINT{60, 50}), POINT{65, 53}));
  // At the edge the answer stays inside the view.
  const POINT edge = MatchMarker(view1, POINT{2, 2}, shifted, POINT{0, 0});
  EXPECT_GE(edge.x, 0);
  EXPECT_GE(edge.y, 0);
  GlobalFree(view1);
  GlobalFree(same);
  GlobalFree(shifted);
}

}  // namespace
}  // namespace vmd
