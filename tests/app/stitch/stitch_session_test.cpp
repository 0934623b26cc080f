// The stitch session's deciding: the storyboard's checks in order, the matrix
// it hands the engine, real stitches with cancel, the progress bar, and the
// preview's crop, layout, zoom and point mapping.
#include <gtest/gtest.h>

#include <vector>

#include "preview_geometry.h"
#include "stitch_progress_bar.h"
#include "stitch_run.h"
#include "synthetic_scene.h"
#include "test_dib.h"

namespace vmd {
namespace {

using testing_support::MakeDib24;

/// A storyboard owning its photos; frees them at the end.
struct Board {
  Storyboard board;
  explicit Board(int kind) { board.kind = kind; }
  ~Board() { ClearStoryboard(board, false); }
  void Put(int slot, HGLOBAL photo) {
    board.slots[slot].photo = photo;
    ++board.count;
  }
  void Put(int slot, int width, int height) { Put(slot, MakeDib24(width, height, [](int, int) { return 0u; })); }
};

TEST(StitchChecks, PhotosFirstInSlotOrderThenCountThenLayout) {
  {
    Board b(PanoHorizontal);
    b.Put(0, 640, 480);
    b.Put(1, 401, 200);  // long and narrow, with the icon
    b.Put(2, 64, 100);
    const StitchRefusal r = CheckStoryboardForStitch(b.board);
    EXPECT_EQ(r.message, kPlanLongAndNarrow);
    EXPECT_TRUE(r.icon);
  }
  {
    Board b(PanoVertical);
    b.Put(0, 64, 100);
    EXPECT_EQ(CheckStoryboardForStitch(b.board).message, kPlanTooSmall);
  }
  {
    Board b(PanoHorizontal);
    b.Put(0, 400, 200);  // exactly 2:1 passes; one photo is too few, without icon
    const StitchRefusal r = CheckStoryboardForStitch(b.board);
    EXPECT_EQ(r.message, kPlanNeedTwo);
    EXPECT_FALSE(r.icon);
  }
  {
    Board b(Pano360);
    for (int i = 0; i < 5; ++i) b.Put(i, 320, 240);
    EXPECT_EQ(CheckStoryboardForStitch(b.board).message, kPlanNeedSix);
  }
  {
    Board b(PanoTile);  // two photos placed badly: the count speaks first
    b.Put(0, 320, 240);
    b.Put(15, 320, 240);
    EXPECT_EQ(CheckStoryboardForStitch(b.board).message, kPlanNeedThree);
    b.Put(5, 320, 240);  // a diagonal: no shared sides
    EXPECT_EQ(CheckStoryboardForStitch(b.board).message, kPlanBadPlaces);
    EXPECT_EQ(CheckTileLayout(b.board), 0);
  }
  {
    Board b(PanoTile);  // grid columns 1-2, rows 0-1
    for (int slot : {1, 2, 5, 6}) b.Put(slot, 320, 240);
    EXPECT_EQ(CheckTileLayout(b.board), 1);
    EXPECT_EQ(CheckStoryboardForStitch(b.board).message, kPlanOk);
    const StoryboardPhotos p = CollectStoryboardPhotos(b.board);
    EXPECT_EQ(p.places, (std::vector<GridPlace>{{1, 0}, {2, 0}, {1, 1}, {2, 1}}));
  }
}

/// Generated photos of one scene, moved onto a storyboard in the engine's
/// cell order or reversed for a column (the storyboard lists it top down).
struct SceneBoard : Board {
  testing_support::SyntheticSet set;
  SceneBoard(int kind, const testing_support::SyntheticSetup& setup) : Board(kind), set(setup) {}
};

testing_support::SyntheticSetup SmallScene(int layout, int columns, int rows) {
  testing_support::SyntheticSetup s;
  s.layout = layout;
  s.columns = columns;
  s.rows = rows;
  s.width = 240;
  s.height = 180;
  s.focal = 210;
  s.yawStepDegrees = 30;
  s.pitchStepDegrees = 24;
  s.supersample = 1;
  return s;
}

HGLOBAL PhotoOfElement(const StitchMatrix& m, int column, int row) {
  const StitchPyramid* p = m.elements[column + row * m.columns].pyramid;
  return p ? p->image[0] : nullptr;
}

TEST(StitchRun, AColumnListedTopDownGivesRowsBottomUpAndStitches) {
  SceneBoard b(PanoVertical, SmallScene(kLayoutColumn, 1, 3));
  // Storyboard slot 0 is the top photo: the engine's row 2.
  for (int slot = 0; slot < 3; ++slot) b.Put(slot, b.set.TakePhoto(0, 2 - slot));
  StitchEngineState state;
  state.options = StitchOptions{1, 1, 1, 5, kLensAutomatic, 1200.0, 0};
  HGLOBAL panorama = nullptr;
  RECT rect{};
  SetProgressState(0);
  ASSERT_EQ(StitchStoryboard(b.board, state, [](int) { return 1; }, &panorama, &rect), StitchOutcome::kStitched);
  ASSERT_NE(panorama, nullptr);
  EXPECT_EQ(state.matrix.columns, 1);
  EXPECT_EQ(state.matrix.rows, 3);
  EXPECT_EQ(state.matrix.layout, PanoVertical);
  EXPECT_EQ(PhotoOfElement(state.matrix, 0, 0), b.board.slots[2].photo);  // C, B, A from row 0 up
  EXPECT_EQ(PhotoOfElement(state.matrix, 0, 2), b.board.slots[0].photo);
  EXPECT_LT(rect.left, rect.right);
  EXPECT_LT(rect.top, rect.bottom);
  GlobalFree(panorama);
  ReleaseStitchPyramids(state.matrix);
  EXPECT_EQ(state.matrix.elements, nullptr);
  ReleaseStitchPyramids(state.matrix);  // twice is harmless
}

TEST(StitchRun, ATileGridTakesTheLowestOccupiedRowAsRowZeroAndTheFirstPhotoForTheLens) {
  SceneBoard b(PanoTile, SmallScene(kLayoutTile, 2, 2));
  // Grid columns 1-2 and rows 0-1; grid row 1 (lower) is the engine's row 0.
  b.Put(1, b.set.TakePhoto(0, 1));
  b.Put(2, b.set.TakePhoto(1, 1));
  b.Put(5, b.set.TakePhoto(0, 0));
  b.Put(6, b.set.TakePhoto(1, 0));
  StitchEngineState state;
  state.options = StitchOptions{1, 1, 1, 5, kLensGiven, 28.0, 0};
  HGLOBAL panorama = nullptr;
  RECT rect{};
  SetProgressState(0);
  ASSERT_EQ(StitchStoryboard(b.board, state, [](int) { return 1; }, &panorama, &rect), StitchOutcome::kStitched);
  EXPECT_EQ(state.matrix.columns, 2);
  EXPECT_EQ(state.matrix.rows, 2);
  EXPECT_EQ(PhotoOfElement(state.matrix, 0, 0), b.board.slots[5].photo);
  EXPECT_EQ(PhotoOfElement(state.matrix, 1, 1), b.board.slots[2].photo);
  EXPECT_NEAR(state.options.focal, 28.0 * 240 / 36, 1e-9);  // millimetres became pixels
  GlobalFree(panorama);
  ReleaseStitchPyramids(state.matrix);
}

StitchEngineState* g_cancelling = nullptr;

TEST(StitchRun, EscDuringAlignmentEndsWithoutImageAndWithoutPyramids) {
  SceneBoard b(PanoHorizontal, SmallScene(kLayoutRow, 3, 1));
  for (int slot = 0; slot < 3; ++slot) b.Put(slot, b.set.TakePhoto(slot, 0));
  StitchEngineState state;
  state.options = StitchOptions{1, 1, 1, 5, kLensAutomatic, 1200.0, 0};
  g_cancelling = &state;
  HGLOBAL panorama = nullptr;
  RECT rect{};
  SetProgressState(0);
  const StitchOutcome outcome = StitchStoryboard(
      b.board, state,
      [](int percent) {
        if (percent >= 10 && !g_cancelling->cancelled) {
          g_cancelling->cancelled = 1;
          SetProgressState(1);
        }
        return 1;
      },
      &panorama, &rect);
  SetProgressState(0);
  EXPECT_EQ(outcome, StitchOutcome::kCancelled);
  EXPECT_EQ(panorama, nullptr);
  EXPECT_EQ(state.matrix.elements, nullptr);
  EXPECT_EQ(b.board.count, 3);  // the storyboard keeps its photos
  EXPECT_NE(b.board.slots[0].photo, nullptr);
}

TEST(StitchProgressBar, FillsBy298PerHundredIgnoresAbove100AndClosesAt100) {
  EXPECT_TRUE(ProgressBarStep(150).ignored);
  EXPECT_FALSE(ProgressBarStep(100).ignored);
  EXPECT_TRUE(ProgressBarStep(100).close);
  EXPECT_EQ(ProgressBarStep(100).bar.right, 310);
  EXPECT_FALSE(ProgressBarStep(99).close);
  EXPECT_EQ(ProgressBarStep(50).bar.right, 161);
  EXPECT_EQ(ProgressBarStep(1).bar.right, 14);  // 298 / 100 truncates
  EXPECT_EQ(ProgressBarStep(0).bar.right, 12);
  const RECT bar = ProgressBarStep(37).bar;
  EXPECT_EQ(bar.left, 12);
  EXPECT_EQ(bar.top, 32);
  EXPECT_EQ(bar.bottom, 49);
  const POINT place = ProgressWindowPlace(1024, 768);
  EXPECT_EQ(place.x, 352);
  EXPECT_EQ(place.y, 349);
}

TEST(StitchPreviewCrop, BlendsBottomUpRectangleBecomesTopDown) {
  const RECT crop = CropRectTopDown(RECT{10, 5, 990, 395}, 400);
  EXPECT_EQ(crop.left, 10);
  EXPECT_EQ(crop.top, 4);
  EXPECT_EQ(crop.right, 990);
  EXPECT_EQ(crop.bottom, 395);
}

TEST(StitchPreviewLayout, SmallImagesSitUnscaledInTheMiddle) {
  const PreviewLayout l = LayoutPreview(PreviewView{}, 300, 100, 700, 300);
  EXPECT_FALSE(l.scaled);
  EXPECT_EQ(l.factor, 1);
  EXPECT_EQ(l.imageRect.left, 200);
  EXPECT_EQ(l.imageRect.top, 100);
  EXPECT_EQ(l.imageRect.right, 500);
  EXPECT_TRUE(ZoomInStartsDisabled(300, 100, 700, 300, 1));
  EXPECT_FALSE(ZoomInStartsDisabled(800, 100, 700, 300, 1));
}

TEST(StitchPreviewLayout, LargeImagesAreFittedWithTheirRoundedReduction) {
  const PreviewLayout l = LayoutPreview(PreviewView{}, 2800, 600, 700, 300);
  EXPECT_TRUE(l.scaled);
  EXPECT_EQ(l.factor, 4);
  EXPECT_EQ(l.imageRect.right - l.imageRect.left, 700);
  EXPECT_EQ(l.imageRect.bottom - l.imageRect.top, 150);
  EXPECT_EQ(LayoutPreview(PreviewView{}, 70000, 600, 700, 300).factor, 10);  // clamped
}

TEST(StitchPreviewLayout, ZoomedViewsPanOnlyWhereTheyAreLarger) {
  PreviewView v;
  v.fitMode = false;
  v.factor = 2;
  v.scrollX = 5000;  // clamped to 1400 - 700
  v.scrollY = 40;
  const PreviewLayout l = LayoutPreview(v, 2800, 400, 700, 300);
  EXPECT_TRUE(l.pannableX);
  EXPECT_FALSE(l.pannableY);
  EXPECT_EQ(l.scrollX, 700);
  EXPECT_EQ(l.scrollY, 0);
  EXPECT_EQ(l.imageRect.left, 0);
  EXPECT_EQ(l.imageRect.top, 50);  // 200 rows centred in 300
}

TEST(StitchPreviewMapping, WindowPointsBecomeBottomUpPanoramaPixels) {
  // Fitted: 2800 x 600 shown as 700 x 150 from (0, 75).
  const PreviewLayout fit = LayoutPreview(PreviewView{}, 2800, 600, 700, 300);
  POINT p = PreviewToPanorama(fit, fit.factor, true, 2800, 600, POINT{350, 75});
  EXPECT_EQ(p.x, 1400);
  EXPECT_EQ(p.y, 600);  // the top row
  p = PreviewToPanorama(fit, fit.factor, true, 2800, 600, POINT{100, 225});
  EXPECT_EQ(p.x, 400);
  EXPECT_EQ(p.y, 0);
  // Zoomed by 2, scrolled 100 across: window (10, 60) is reduced (110, 10).
  PreviewView v;
  v.fitMode = false;
  v.factor = 2;
  v.scrollX = 100;
  const PreviewLayout zoom = LayoutPreview(v, 2800, 400, 700, 300);
  p = PreviewToPanorama(zoom, 2, false, 2800, 400, POINT{10, 60});
  EXPECT_EQ(p.x, 220);
  EXPECT_EQ(p.y, 380);
  EXPECT_TRUE(PointOnImage(zoom, POINT{10, 60}));
  EXPECT_FALSE(PointOnImage(zoom, POINT{10, 20}));
}

TEST(StitchPreviewZoom, FactorsStayWithinOneToTenAndTheButtonsFollow) {
  ZoomStep s = PreviewZoomOutStep(1);
  EXPECT_EQ(s.factor, 2);
  EXPECT_EQ(s.zoomIn, ButtonChange::kEnable);
  EXPECT_EQ(s.zoomOut, ButtonChange::kKeep);
  s = PreviewZoomOutStep(9);
  EXPECT_EQ(s.factor, 10);
  EXPECT_EQ(s.zoomOut, ButtonChange::kDisable);
  EXPECT_EQ(PreviewZoomOutStep(10).factor, 10);
  s = PreviewZoomInStep(10);
  EXPECT_EQ(s.factor, 9);
  EXPECT_EQ(s.zoomOut, ButtonChange::kEnable);
  s = PreviewZoomInStep(2);
  EXPECT_EQ(s.factor, 1);
  EXPECT_EQ(s.zoomIn, ButtonChange::kDisable);
  EXPECT_EQ(PreviewZoomInStep(1).factor, 1);
}

TEST(StitchPreviewPick, LocatePairsNameTheJoin) {
  EXPECT_EQ(PickKindOf(0, 0, 1, 0), 1);
  EXPECT_EQ(PickKindOf(1, 0, 1, 1), 2);
  EXPECT_EQ(PickKindOf(0, 0, 1, 1), 0);
  EXPECT_EQ(PickKindOf(-1, -1, -1, -1), 0);
  EXPECT_EQ(PickKindOf(2, 0, 2, 0), 0);
}

}  // namespace
}  // namespace vmd
