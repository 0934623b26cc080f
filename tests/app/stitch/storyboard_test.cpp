// The storyboard's decisions: capacities, checks, drops, moves, removal and
// scrolling, as the box windows will call them.
#include "storyboard.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "test_dib.h"

namespace vmd {
namespace {

using testing_support::MakeDib24;

/// A storyboard of the kind with its boxes laid out as the skin does: a row
/// of 80-pixel boxes 10 apart from (100, 400), a column from (20, 100), a grid
/// of 4 x 4 from (100, 100).
class StoryboardTest : public ::testing::Test {
 protected:
  void SetUp() override {
    source_.read = [this](const std::string& path) -> HGLOBAL {
      auto size = sizes_.find(path);
      if (size == sizes_.end()) return nullptr;
      return MakeDib24(size->second.first, size->second.second, [](int, int) { return 0u; });
    };
  }
  void TearDown() override { ClearStoryboard(board_, false); }

  void Layout(int kind) {
    RECT boxes[16];
    const int n = StoryboardBoxCount(kind);
    for (int i = 0; i < n; ++i) {
      if (kind == PanoTile) {
        boxes[i] = RECT{100 + 90 * (i % 4), 100 + 90 * (i / 4), 180 + 90 * (i % 4), 180 + 90 * (i / 4)};
      } else if (kind == PanoVertical) {
        boxes[i] = RECT{20, 100 + 90 * i, 100, 180 + 90 * i};
      } else {
        boxes[i] = RECT{100 + 90 * i, 400, 180 + 90 * i, 480};
      }
    }
    LayoutStoryboard(board_, kind, boxes, n);
  }

  /// Album photos "p0".."p<n-1>", all 400 x 300, none selected.
  void Album(int n) {
    source_.paths.clear();
    source_.selected.clear();
    for (int i = 0; i < n; ++i) {
      const std::string path = "C:\\photos\\p" + std::to_string(i) + ".jpg";
      source_.paths.push_back(path);
      source_.selected.push_back(false);
      sizes_[path] = {400, 300};
    }
  }
  void Select(std::initializer_list<int> photos) {
    for (size_t i = 0; i < source_.selected.size(); ++i) source_.selected[i] = false;
    for (int p : photos) source_.selected[p] = true;
  }
  /// The photo names of slots 0 .. count-1 (or all 16 grid places, "-" empty).
  std::string Order(int places = -1) {
    std::string order;
    const int n = places < 0 ? board_.count : places;
    for (int i = 0; i < n; ++i) {
      std::string path = board_.slots[i].photo ? board_.slots[i].path : "-";
      size_t p = path.rfind("\\p");
      order += (order.empty() ? "" : " ") +
               (p == std::string::npos ? path : path.substr(p + 1, path.find('.', p) - p - 1));
    }
    return order;
  }
  std::string Selected() {
    std::string selected;
    for (int i = 0; i < kStoryboardSlotCount; ++i)
      if (board_.slots[i].selected) selected += (selected.empty() ? "" : " ") + std::to_string(i);
    return selected;
  }
  static std::vector<int> Ids(const StoryboardEffects& effects) {
    std::vector<int> ids;
    for (const StoryboardNotice& notice : effects.messages) ids.push_back(notice.stringId);
    return ids;
  }
  void AddAll(int kind, int n) {
    Layout(kind);
    Album(n);
    AddAlbumPhotos(board_, source_, true);
  }

  Storyboard board_;
  StoryboardSource source_;
  std::map<std::string, std::pair<int, int>> sizes_;
};

TEST_F(StoryboardTest, EachKindHoldsItsCapacity) {
  struct Case {
    int kind, boxes, capacity;
  } cases[] = {{PanoHorizontal, 5, 16}, {PanoVertical, 4, 8}, {PanoTile, 16, 16}, {Pano360, 5, 32}};
  for (const Case& c : cases) {
    EXPECT_EQ(StoryboardBoxCount(c.kind), c.boxes);
    AddAll(c.kind, c.capacity + 1);
    EXPECT_EQ(board_.count, c.capacity) << c.kind;
    StoryboardEffects effects;
    Select({c.capacity});
    effects = AddAlbumPhotos(board_, source_, false);
    EXPECT_EQ(Ids(effects), std::vector<int>{kMsgStoryboardFull}) << c.kind;
    EXPECT_EQ(board_.count, c.capacity);
    ClearStoryboard(board_, false);
  }
}

TEST_F(StoryboardTest, CapacityMessageIsShownOncePerOperation) {
  AddAll(PanoVertical, 12);
  Layout(PanoVertical);
  ClearStoryboard(board_, false);
  StoryboardEffects effects = AddAlbumPhotos(board_, source_, true);
  EXPECT_EQ(board_.count, 8);
  EXPECT_EQ(Ids(effects), std::vector<int>{kMsgStoryboardFull}) << "four photos left over, one message";
  EXPECT_EQ(Selected(), "7") << "the last photo is the selected one";
  EXPECT_EQ(board_.selectedIndex, 7);
}

TEST_F(StoryboardTest, PhotoChecks) {
  Layout(PanoHorizontal);
  struct Case {
    int w, h, result;
  } alone[] = {{65, 65, 0}, {64, 200, 2}, {200, 64, 2}, {400, 200, 0}, {401, 200, 3}, {200, 401, 3}};
  for (const Case& c : alone) EXPECT_EQ(CheckPhotoForStoryboard(board_, c.w, c.h), c.result) << c.w << "x" << c.h;
  Album(2);
  AddAlbumPhotos(board_, source_, true);  // two of 400 x 300
  struct Case among[] = {{150, 150, 1},  // widths 400 : 150 differ more than 2:1
                         {200, 150, 0},  // exactly 2:1 both ways passes
                         {800, 600, 0},
                         {801, 600, 1},
                         {200, 149, 1}};  // heights 300 : 149
  for (const Case& c : among) EXPECT_EQ(CheckPhotoForStoryboard(board_, c.w, c.h), c.result) << c.w << "x" << c.h;
}

TEST_F(StoryboardTest, RefusalsCarryTheirMessagesAndShowOnce) {
  Layout(PanoHorizontal);
  Album(6);
  sizes_[source_.paths[1]] = {150, 150};  // dissimilar
  sizes_[source_.paths[2]] = {60, 60};    // too small
  sizes_[source_.paths[3]] = {500, 100};  // long and narrow
  sizes_[source_.paths[4]] = {100, 500};  // tall and thin
  StoryboardEffects effects = AddAlbumPhotos(board_, source_, true);
  // The similar-size and too-small messages share one flag; aspect ratio has its own.
  EXPECT_EQ(Ids(effects), (std::vector<int>{kMsgSimilarHeight, kMsgAspectRatio}));
  EXPECT_EQ(Order(), "p0 p5");
  for (const StoryboardNotice& notice : effects.messages) EXPECT_TRUE(notice.icon);

  Select({0, 5});
  effects = AddAlbumPhotos(board_, source_, false);
  EXPECT_EQ(Ids(effects), std::vector<int>{kMsgAlreadyPlaced});
  EXPECT_EQ(board_.count, 2);

  // An unreadable photo stops the operation.
  Album(3);
  ClearStoryboard(board_, false);
  sizes_.erase(source_.paths[1]);
  effects = AddAlbumPhotos(board_, source_, true);
  EXPECT_EQ(Ids(effects), std::vector<int>{kMsgCannotLocateImage});
  EXPECT_EQ(Order(), "p0");
}

TEST_F(StoryboardTest, FileTypeRestrictionEndsTheOperationWithoutIcon) {
  Layout(PanoHorizontal);
  Album(3);
  source_.fileTypeRefusal = [](const std::string& path) {
    return path.find("p1") != std::string::npos ? int(kMsgFormatNotSupported) : 0;
  };
  StoryboardEffects effects = AddAlbumPhotos(board_, source_, true);
  ASSERT_EQ(effects.messages.size(), 1u);
  EXPECT_EQ(effects.messages[0].stringId, kMsgFormatNotSupported);
  EXPECT_FALSE(effects.messages[0].icon);
  EXPECT_TRUE(effects.messages[0].fromBrowser);
  EXPECT_EQ(Order(), "p0");
}

TEST_F(StoryboardTest, EmptyOrClosedAlbumBeeps) {
  Layout(PanoHorizontal);
  EXPECT_TRUE(AddAlbumPhotos(board_, source_, true).beep);
  Album(2);
  source_.albumOpen = false;
  EXPECT_TRUE(AddAlbumPhotos(board_, source_, true).beep);
  EXPECT_EQ(board_.count, 0);
}

TEST_F(StoryboardTest, DropOfThreePhotosInsertsThemInAlbumOrder) {
  AddAll(PanoHorizontal, 4);  // p0..p3 in slots 0..3
  Album(7);                    // p4, p5, p6 are A, B, C
  Select({4, 5, 6});
  StoryboardEffects effects = DropAlbumPhotos(board_, source_, 2);
  EXPECT_TRUE(effects.messages.empty());
  EXPECT_EQ(Order(), "p0 p1 p4 p5 p6 p2 p3");
  EXPECT_EQ(board_.selectedIndex, 2) << "A, inserted last, is selected";
  EXPECT_EQ(Selected(), "2");
  EXPECT_TRUE(effects.updateScrollBar);
}

TEST_F(StoryboardTest, DropStopsAtCapacityAndShowsOnlyItsFirstRefusal) {
  AddAll(PanoVertical, 6);
  Album(12);
  sizes_[source_.paths[11]] = {60, 60};
  Select({8, 9, 10, 11});
  StoryboardEffects effects = DropAlbumPhotos(board_, source_, 0);
  // Adding scrolled the column to slot 2, which box 0 shows. p11 is too
  // small, p10 and p9 fill the column, p8 finds it full, which ends the drop.
  EXPECT_EQ(board_.firstVisible, 2);
  EXPECT_EQ(Ids(effects), (std::vector<int>{kMsgTooSmall, kMsgStoryboardFull}));
  EXPECT_EQ(Order(), "p0 p1 p9 p10 p2 p3 p4 p5");
  effects = DropAlbumPhotos(board_, source_, 1);
  EXPECT_EQ(Ids(effects), std::vector<int>{kMsgStoryboardFull});
}

TEST_F(StoryboardTest, DropOnAnEmptyBoxAppends) {
  AddAll(PanoHorizontal, 2);
  Album(4);
  Select({3});
  DropAlbumPhotos(board_, source_, 4);
  EXPECT_EQ(Order(), "p0 p1 p3");
}

TEST_F(StoryboardTest, GridDropsTakeOnlyEmptyPlaces) {
  Layout(PanoTile);
  Album(3);
  source_.current = 0;
  DropAlbumPhotos(board_, source_, 5);
  EXPECT_EQ(Order(16), "- - - - - p0 - - - - - - - - - -");
  EXPECT_EQ(Selected(), "5");
  source_.current = 1;
  EXPECT_EQ(Ids(DropAlbumPhotos(board_, source_, 5)), std::vector<int>{kMsgOnlyEmptySpaces});
  source_.current = 0;
  EXPECT_EQ(Ids(DropAlbumPhotos(board_, source_, 6)), std::vector<int>{kMsgAlreadyPlaced});
  source_.current = 2;
  DropAlbumPhotos(board_, source_, 15);
  EXPECT_EQ(board_.count, 2);
  EXPECT_EQ(Selected(), "15");
}

TEST_F(StoryboardTest, RowMovesKeepThePhotosPacked) {
  AddAll(PanoHorizontal, 5);
  SelectBox(board_, 4);
  EXPECT_EQ(MovePhotoInRow(board_, 4, 1).result, 1);
  EXPECT_EQ(Order(), "p0 p4 p1 p2 p3");
  EXPECT_EQ(Selected(), "1");

  ClearStoryboard(board_, false);
  AddAll(PanoHorizontal, 5);
  SelectBox(board_, 1);
  EXPECT_EQ(MovePhotoInRow(board_, 1, 4).result, 1);
  EXPECT_EQ(Order(), "p0 p2 p3 p4 p1");
  EXPECT_EQ(board_.selectedIndex, 4);

  // Onto an empty box: nothing moves, the photo stays selected.
  ClearStoryboard(board_, false);
  AddAll(PanoHorizontal, 3);
  SelectBox(board_, 0);
  StoryboardEffects effects = DropDraggedPhoto(board_, 0, 4);
  EXPECT_EQ(effects.result, 0);
  EXPECT_EQ(Order(), "p0 p1 p2");
  EXPECT_EQ(Selected(), "0");
}

TEST_F(StoryboardTest, GridMovesOnlyIntoEmptyPlaces) {
  AddAll(PanoTile, 3);  // places 0, 1, 2
  SelectBox(board_, 0);
  StoryboardEffects effects = DropDraggedPhoto(board_, 0, 1);
  EXPECT_EQ(Ids(effects), std::vector<int>{kMsgOnlyEmptySpaces});
  EXPECT_EQ(Order(4), "p0 p1 p2 -");
  EXPECT_EQ(Selected(), "0");
  effects = DropDraggedPhoto(board_, 0, 9);
  EXPECT_EQ(effects.result, 1);
  EXPECT_EQ(Order(16), "- p1 p2 - - - - - - p0 - - - - - -");
  EXPECT_EQ(board_.selectedIndex, 9);
  EXPECT_EQ(Selected(), "9");
}

TEST_F(StoryboardTest, RemovingFromARowClosesTheGapAndReselects) {
  AddAll(PanoHorizontal, 4);
  SelectBox(board_, 1);
  RemoveSelectedPhoto(board_);
  EXPECT_EQ(Order(), "p0 p2 p3");
  EXPECT_EQ(Selected(), "1") << "the photo that moved into the place";
  SelectBox(board_, 2);
  RemoveSelectedPhoto(board_);
  EXPECT_EQ(Order(), "p0 p2");
  EXPECT_EQ(Selected(), "1") << "the last one went: the one before it";
  EXPECT_EQ(board_.selectedIndex, 1);
  RemoveSelectedPhoto(board_);
  RemoveSelectedPhoto(board_);
  EXPECT_EQ(board_.count, 0);
  EXPECT_TRUE(RemoveSelectedPhoto(board_).beep);

  // A full row removes without reading past its capacity.
  AddAll(PanoHorizontal, 16);
  board_.firstVisible = 0;
  ClearStoryboard(board_, false);
  AddAll(PanoHorizontal, 16);
  const int first = board_.firstVisible;
  SelectBox(board_, 0);
  RemoveSelectedPhoto(board_);
  EXPECT_EQ(board_.count, 15);
  EXPECT_EQ(board_.slots[15].photo, nullptr);
  EXPECT_NE(board_.slots[14].photo, nullptr);
  EXPECT_LE(board_.firstVisible, first);
}

TEST_F(StoryboardTest, RemovingFromAGridSelectsTheNearestPhotoBefore) {
  Layout(PanoTile);
  Album(4);
  for (int place : {0, 5, 10}) {
    source_.current = place / 5;
    DropAlbumPhotos(board_, source_, place);
  }
  SelectBox(board_, 10);
  RemoveSelectedPhoto(board_);
  EXPECT_EQ(Selected(), "5");
  SelectBox(board_, 0);
  RemoveSelectedPhoto(board_);
  EXPECT_EQ(Selected(), "5") << "nothing before place 0: the last photo of the grid";
  EXPECT_EQ(board_.count, 1);
}

TEST_F(StoryboardTest, DroppingOutsideRemovesAndBesideARowScrolls) {
  AddAll(PanoHorizontal, 8);
  DragCursor cursor;
  // Boxes run from x 100 to 540, y 400 to 480.
  EXPECT_EQ(StoryboardHitTest(board_, POINT{150, 420}, 2, &cursor), 0);
  EXPECT_EQ(cursor, DragCursor::kDrop);
  EXPECT_EQ(StoryboardHitTest(board_, POINT{300, 420}, 2, &cursor), kHitNothing) << "its own box";
  EXPECT_EQ(StoryboardHitTest(board_, POINT{185, 420}, 2, &cursor), kHitNothing) << "between boxes";
  EXPECT_EQ(cursor, DragCursor::kNoDrop);
  EXPECT_EQ(StoryboardHitTest(board_, POINT{90, 420}, 2, &cursor), kHitScrollBack);
  EXPECT_EQ(StoryboardHitTest(board_, POINT{600, 420}, 2, &cursor), kHitScrollForward);
  EXPECT_EQ(StoryboardHitTest(board_, POINT{600, 400}, 2, &cursor), kHitOutside) << "on the top edge";
  EXPECT_EQ(StoryboardHitTest(board_, POINT{300, 100}, 2, &cursor), kHitOutside);
  EXPECT_EQ(cursor, DragCursor::kNoDrop);

  board_.firstVisible = 0;
  SelectBox(board_, 2);
  DropDraggedPhoto(board_, 2, kHitScrollBack);
  EXPECT_EQ(board_.count, 8) << "releasing beside the row does nothing";
  DropDraggedPhoto(board_, 2, kHitOutside);
  EXPECT_EQ(Order(), "p0 p1 p3 p4 p5 p6 p7");

  Layout(PanoVertical);
  EXPECT_EQ(StoryboardHitTest(board_, POINT{50, 90}, 0, &cursor), kHitScrollBack);
  EXPECT_EQ(StoryboardHitTest(board_, POINT{50, 500}, 0, &cursor), kHitScrollForward);
  Layout(PanoTile);
  EXPECT_EQ(StoryboardHitTest(board_, POINT{50, 150}, 0, &cursor), kHitOutside);
}

TEST_F(StoryboardTest, ScrollingAndItsButtons) {
  AddAll(PanoHorizontal, 5);
  StoryboardEffects effects = ScrollForward(board_);
  EXPECT_EQ(effects.back, ButtonChange::kDisable) << "five photos: nothing to scroll";
  EXPECT_EQ(effects.forward, ButtonChange::kDisable);
  EXPECT_EQ(StoryboardScrollRange(board_), 1);

  ClearStoryboard(board_, false);
  AddAll(PanoHorizontal, 8);
  EXPECT_EQ(board_.firstVisible, 3) << "adding scrolled to the last photo";
  EXPECT_EQ(StoryboardScrollRange(board_), 4);
  effects = ScrollForward(board_);
  EXPECT_EQ(board_.firstVisible, 3);
  EXPECT_EQ(effects.forward, ButtonChange::kDisable);
  EXPECT_EQ(effects.back, ButtonChange::kEnable);
  for (int expected : {2, 1, 0}) {
    effects = ScrollBack(board_);
    EXPECT_EQ(board_.firstVisible, expected);
    EXPECT_EQ(effects.back, ButtonChange::kEnable);
    EXPECT_TRUE(effects.repaintAll);
  }
  effects = ScrollBack(board_);
  EXPECT_EQ(board_.firstVisible, 0);
  EXPECT_EQ(effects.back, ButtonChange::kDisable);
  EXPECT_EQ(effects.forward, ButtonChange::kEnable);
  EXPECT_EQ(SlotOfBox(board_, 2), 2);
  ScrollForward(board_);
  EXPECT_EQ(SlotOfBox(board_, 2), 3);
}

TEST_F(StoryboardTest, ToolTipNamesThePlaceAndTheFile) {
  AddAll(PanoHorizontal, 2);
  EXPECT_EQ(StoryboardTipText(board_, 1), "  2. p1.jpg ");
  EXPECT_EQ(StoryboardTipText(board_, 5), "");
}

TEST_F(StoryboardTest, ClearFreesEveryPhoto) {
#if !defined(_WIN32)
  const long before = VmdSubsetLiveBlocks();
  AddAll(PanoTile, 6);
  EXPECT_EQ(VmdSubsetLiveBlocks(), before + 6);
  EXPECT_FALSE(ClearStoryboard(board_, true).beep);
  EXPECT_EQ(VmdSubsetLiveBlocks(), before);
  EXPECT_TRUE(ClearStoryboard(board_, true).beep);
#endif
}

}  // namespace
}  // namespace vmd

namespace vmd {
namespace {

TEST_F(StoryboardTest, DragStartsOnlyOnAPhotoAndScrollTimersFollowTheHit) {
  AddAll(PanoHorizontal, 3);
  board_.firstVisible = 0;
  EXPECT_TRUE(CanStartDrag(board_, 2));
  EXPECT_FALSE(CanStartDrag(board_, 3)) << "an empty box";
  board_.dragging = true;
  EXPECT_FALSE(CanStartDrag(board_, 0)) << "a drag is running";
  board_.dragging = false;
  struct Case {
    int hit;
    bool back, forward;
  } cases[] = {{kHitScrollBack, true, false}, {kHitScrollForward, false, true},
               {kHitOutside, false, false},   {kHitNothing, false, false}, {3, false, false}};
  for (const Case& c : cases) {
    DragTimers timers = TimersForHit(c.hit);
    EXPECT_EQ(timers.back, c.back) << c.hit;
    EXPECT_EQ(timers.forward, c.forward) << c.hit;
  }
  int slot = -1;
  HGLOBAL photo = nullptr;
  ASSERT_TRUE(PhotoOfBox(board_, 1, &slot, &photo));
  EXPECT_EQ(slot, 1);
  EXPECT_EQ(photo, board_.slots[1].photo);
  EXPECT_FALSE(PhotoOfBox(board_, 4, &slot, &photo));
}

TEST_F(StoryboardTest, EditedPhotoComesBackOnlyWhenItStillFits) {
  AddAll(PanoHorizontal, 3);  // 400 x 300 each
  // Cropped to 190 x 150: widths 400 : 190 differ by more than 2:1.
  HGLOBAL tooNarrow = MakeDib24(190, 150, [](int, int) { return 0u; });
  StoryboardEffects effects = ReplaceStoryboardPhoto(board_, 1, tooNarrow);
  EXPECT_EQ(Ids(effects), std::vector<int>{kMsgCropAgain});
  EXPECT_NE(board_.slots[1].photo, tooNarrow);
  GlobalFree(tooNarrow);
  // The photo being replaced does not count: a lone photo may change freely.
  ClearStoryboard(board_, false);
  AddAll(PanoHorizontal, 1);
  HGLOBAL small = MakeDib24(100, 80, [](int, int) { return 0u; });
  effects = ReplaceStoryboardPhoto(board_, 0, small);
  EXPECT_EQ(effects.result, 1);
  EXPECT_EQ(board_.slots[0].photo, small);
  EXPECT_EQ(CheckEditedPhoto(board_, 0, 60, 80), 2);
}

}  // namespace
}  // namespace vmd
