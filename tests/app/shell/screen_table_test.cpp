#include "screen_table.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

namespace vmd {
namespace {

std::set<int> IdsOf(const ControlTable& table, int panel) {
  std::set<int> ids;
  for (const ControlDef& row : table[panel])
    if (!row.Empty()) ids.insert(row.id);
  return ids;
}

TEST(ScreenTable, SubPanelsAndTheirAnchors) {
  for (int screen = 0; screen < kScreenCount; ++screen) {
    const ScreenRow& row = kScreenTable[screen];
    EXPECT_LT(row.mainPanel, kMainPanelCount) << screen;
    for (const SubPanelAt& sub : row.subPanels) {
      if (sub.panel < 0) continue;
      EXPECT_GE(sub.panel, kMainPanelCount) << screen;
      EXPECT_EQ(IdsOf(MakeControlTable(), row.mainPanel).count(sub.anchor), 1u)
          << "screen " << screen << " anchors panel " << sub.panel << " at a control of its main panel";
    }
  }
  EXPECT_EQ(kScreenTable[11].mainPanel, 4);
  EXPECT_EQ(kScreenTable[11].subPanels[0].panel, 12);
  EXPECT_EQ(kScreenTable[16].mainPanel, 9);
  EXPECT_EQ(kScreenTable[16].subPanels[0].panel, 16);
}

TEST(ControlTable, EveryPanelHasSixtyRowsAndUniqueIds) {
  const ControlTable table = MakeControlTable();
  ASSERT_EQ(table.size(), static_cast<size_t>(kPanelCount));
  for (int panel = 0; panel < kPanelCount; ++panel) {
    EXPECT_EQ(table[panel].size(), static_cast<size_t>(kControlsPerPanel));
    std::set<int> seen;
    for (const ControlDef& row : table[panel]) {
      if (row.Empty()) continue;
      EXPECT_TRUE(seen.insert(row.id).second) << "panel " << panel << " repeats id " << row.id;
      for (int word : row.extra) EXPECT_EQ(word, 0);
    }
  }
}

TEST(ControlTable, EveryClickableRowHasAHandler) {
  const ControlTable table = MakeControlTable();
  for (int panel = 0; panel < kPanelCount; ++panel) {
    for (const ControlDef& row : table[panel]) {
      if (row.Empty()) continue;
      const bool clickable = row.kind == kKindPush || row.kind == kKindToggle || row.kind == kKindArrow ||
                             row.kind == kKindThumb;
      if (clickable) {
        EXPECT_NE(row.handler, Command::kNone) << "panel " << panel << " control " << row.id;
      }
      if (row.kind == kKindPlace) {
        EXPECT_EQ(row.handler, Command::kNone) << row.id;
      }
      EXPECT_TRUE(row.kind == kKindPlace || row.kind == kKindPush || row.kind == kKindArrow ||
                  row.kind == kKindTrack || row.kind == kKindThumb || row.kind == kKindToggle)
          << row.id;
    }
  }
}

TEST(ControlTable, TheFourCommonButtonsEndEveryMainPanelOnly) {
  const ControlTable table = MakeControlTable();
  const std::map<int, std::pair<Command, int>> common = {
      {kAboutButton, {Command::kAbout, 50021}},
      {kHelpButton, {Command::kHelpContents, 50040}},
      {kMinimizeButton, {Command::kMinimize, 50042}},
      {kExitButton, {Command::kExit, 50041}}};
  for (int panel = 0; panel < kPanelCount; ++panel) {
    for (const auto& [id, expected] : common) {
      const ControlDef* row = FindControlDef(table, panel, id);
      if (panel >= kMainPanelCount) {
        EXPECT_EQ(row, nullptr) << "sub-panel " << panel;
        continue;
      }
      ASSERT_NE(row, nullptr) << "panel " << panel << " id " << id;
      EXPECT_EQ(row->handler, expected.first);
      EXPECT_EQ(row->tooltip, expected.second);
    }
  }
}

TEST(ControlTable, ControlsOtherPartsNameExistOnTheirPanels) {
  const ControlTable table = MakeControlTable();
  const std::map<int, std::vector<int>> named = {
      {0, {110, 5, 4, 111, 6, 2, 1, 327, 3}},
      {1, {202, 512, 513, 514, 515}},
      {2, {201, 301, 368, 369, 640}},
      {3, {204, 506, 519, 520}},
      {4, {366, 636, 637, 638, 639, 367, 202, 364, 365}},
      {5, {201, 301, 368, 369}},
      {6, {201, 301, 368, 369}},
      {8, {635}},
      {9, {635}}};
  for (const auto& [panel, ids] : named)
    for (int id : ids) EXPECT_NE(FindControlDef(table, panel, id), nullptr) << "panel " << panel << " id " << id;
  // The storyboard cells: five for a row, four for a column, sixteen for the grid.
  for (auto [panel, boxes] : std::map<int, int>{{2, 5}, {5, 4}, {6, 16}}) {
    for (int i = 0; i < 16; ++i)
      EXPECT_EQ(FindControlDef(table, panel, 320 + i) != nullptr, i < boxes) << panel << " box " << i;
  }
}

TEST(ControlTable, StartStates) {
  const ControlTable table = MakeControlTable();
  // Without an image the image commands wait; Open and the wizard do not.
  for (int id : {1, 2, 3, 4, 111, 327}) EXPECT_EQ(FindControlDef(table, 0, id)->state, kStateDisabled) << id;
  for (int id : {5, 6}) EXPECT_EQ(FindControlDef(table, 0, id)->state, kStateNormal) << id;
  // One kind of the radio group is chosen; exposure balancing starts on.
  int checked = 0;
  for (const ControlDef& row : table[4])
    if (row.group == kKindRadioGroup) checked += row.state == kStateChecked;
  EXPECT_EQ(checked, 1);
  EXPECT_EQ(FindControlDef(table, 4, 636)->state, kStateChecked);
  EXPECT_EQ(FindControlDef(table, 4, kExposureToggle)->state, kStateChecked);
  EXPECT_EQ(FindControlDef(table, 7, 706)->state, kStateChecked) << "automatic cropping starts on";
  // An empty storyboard cannot scroll.
  for (int panel : {2, 5, 6}) {
    EXPECT_EQ(FindControlDef(table, panel, 368)->state, kStateDisabled);
    EXPECT_EQ(FindControlDef(table, panel, 369)->state, kStateDisabled);
  }
}

TEST(ControlTable, ArrowsCarryTheirStepInTheHighHalf) {
  const ControlTable table = MakeControlTable();
  EXPECT_EQ(static_cast<int16_t>(FindControlDef(table, 2, 368)->parameter >> 16), -1);
  EXPECT_EQ(FindControlDef(table, 2, 369)->parameter >> 16, 1);
  EXPECT_EQ(FindControlDef(table, 2, 307)->kind, kKindArrow);
  const int32_t track = FindControlDef(table, 2, 309)->parameter;
  EXPECT_EQ(track >> 16, 100);
  EXPECT_TRUE((track & 0xFFFF) == 30 || (track & 0xFFFF) == 50);
}

TEST(KeyMap, EachScreenMapsItsKeys) {
  constexpr int kEnter = 13, kEscape = 27, kBack = 8, kTab = 9;
  EXPECT_EQ(KeyActionOf(0, kEnter), KeyAction::kStitchWizard);
  EXPECT_EQ(KeyActionOf(0, kEscape), KeyAction::kNone);
  EXPECT_EQ(KeyActionOf(1, kEnter), KeyAction::kEditOk);
  EXPECT_EQ(KeyActionOf(1, kEscape), KeyAction::kEditCancel);
  for (int screen : {2, 5, 6}) {
    EXPECT_EQ(KeyActionOf(screen, kEnter), KeyAction::kStartStitch);
    EXPECT_EQ(KeyActionOf(screen, kEscape), KeyAction::kStoryboardCancel);
    EXPECT_EQ(KeyActionOf(screen, kBack), KeyAction::kStoryboardBack);
    EXPECT_EQ(KeyActionOf(screen, kTab), KeyAction::kNone);
  }
  EXPECT_EQ(KeyActionOf(3, kEnter), KeyAction::kPrint);
  EXPECT_EQ(KeyActionOf(3, kEscape), KeyAction::kPrintCancel);
  for (int screen : {4, 10, 11, 12}) {
    EXPECT_EQ(KeyActionOf(screen, kTab), KeyAction::kNextKind) << screen;
    EXPECT_EQ(KeyActionOf(screen, kEnter), KeyAction::kKindNext) << screen;
    EXPECT_EQ(KeyActionOf(screen, kEscape), KeyAction::kKindCancel) << screen;
  }
  EXPECT_EQ(KeyActionOf(7, kEnter), KeyAction::kPreviewFinish);
  EXPECT_EQ(KeyActionOf(7, kEscape), KeyAction::kPreviewCancel);
  EXPECT_EQ(KeyActionOf(7, kBack), KeyAction::kPreviewBack);
  for (int screen : {8, 9, 13, 14, 15, 16}) {
    EXPECT_EQ(KeyActionOf(screen, kEnter), KeyAction::kApplyMarkers) << screen;
    EXPECT_EQ(KeyActionOf(screen, kEscape), KeyAction::kCancelFineTuning) << screen;
    EXPECT_EQ(KeyActionOf(screen, kBack), KeyAction::kNone) << screen;
  }
}

// Esc stopped a progress display: its own key-down and the repeats of the
// held key are used up, while the next fresh press reaches the key map.
TEST(KeyMap, TheKeyThatEndsAStoppedProgressIsUsedUpWithItsRepeats) {
  constexpr int kEnter = 13, kEscape = 27;
  CancelKeys keys;
  EXPECT_FALSE(UseUpCancelKey(&keys, kEscape, false));  // nothing stopped
  EXPECT_FALSE(UseUpCancelKey(&keys, kEscape, true));
  keys.pending = true;
  EXPECT_TRUE(UseUpCancelKey(&keys, kEscape, false));
  EXPECT_FALSE(keys.pending);
  EXPECT_TRUE(UseUpCancelKey(&keys, kEscape, true));
  EXPECT_TRUE(UseUpCancelKey(&keys, kEscape, true));
  EXPECT_FALSE(UseUpCancelKey(&keys, kEscape, false));  // pressed again
  EXPECT_FALSE(UseUpCancelKey(&keys, kEscape, true));   // and held: the key map's
  // Any first key uses up the stop, a repeat included; another key's repeat
  // does not.
  keys.pending = true;
  EXPECT_TRUE(UseUpCancelKey(&keys, kEnter, true));
  EXPECT_TRUE(UseUpCancelKey(&keys, kEnter, true));
  EXPECT_FALSE(UseUpCancelKey(&keys, kEscape, true));
  EXPECT_FALSE(UseUpCancelKey(&keys, kEnter, true));
}

TEST(KindSteps, TabVisitsEveryKindAndReturnsAfterFour) {
  int kind = 0;
  std::vector<int> screens;
  for (int i = 0; i < 4; ++i) {
    kind = NextKindByTab(kind);
    screens.push_back(KindScreenOf(kind));
  }
  EXPECT_EQ(kind, 0);
  EXPECT_EQ(screens, (std::vector<int>{10, 11, 12, 4}));
  for (int k = 0; k < 4; ++k) EXPECT_EQ(KindOfRadio(KindRadioOf(k)), k);
  EXPECT_EQ(KindRadioOf(0), 636);
  EXPECT_EQ(KindRadioOf(1), 637);
  EXPECT_EQ(KindRadioOf(3), 638);
  EXPECT_EQ(KindRadioOf(2), 639);
  EXPECT_EQ(KindOfRadio(640), -1);
  EXPECT_EQ(StoryboardScreenOf(0), 2);
  EXPECT_EQ(StoryboardScreenOf(3), 2);
  EXPECT_EQ(StoryboardScreenOf(1), 5);
  EXPECT_EQ(StoryboardScreenOf(2), 6);
}

TEST(Options, SizeCyclesMediumLargeSmallAndLensLists) {
  EXPECT_EQ(NextSize(1), 0);
  EXPECT_EQ(NextSize(0), 2);
  EXPECT_EQ(NextSize(2), 1);
  EXPECT_EQ(SizeLabelString(0), 50117);
  EXPECT_EQ(SizeLabelString(1), 50122);
  EXPECT_EQ(SizeLabelString(2), 50121);
  const std::vector<LensEntry> row = LensEntries(0);
  ASSERT_EQ(row.size(), 12u);
  EXPECT_EQ(row.front().mode, 0);
  EXPECT_EQ(row[7].focalMm, 28);
  EXPECT_EQ(row.back().mode, 2);
  EXPECT_EQ(LensEntries(3).size(), 1u) << "a full circle offers the automatic lens alone";
}

TEST(Screens, FineTuneScreensByDirectionAndMarker) {
  EXPECT_EQ(FineTuneScreenOf(true, 1), 8);
  EXPECT_EQ(FineTuneScreenOf(true, 2), 13);
  EXPECT_EQ(FineTuneScreenOf(true, 3), 14);
  EXPECT_EQ(FineTuneScreenOf(false, 1), 9);
  EXPECT_EQ(FineTuneScreenOf(false, 3), 16);
  for (int screen = 0; screen < kScreenCount; ++screen) {
    const int flags = IsStoryboardScreen(screen) + IsKindScreen(screen) + IsFineTuneScreen(screen);
    EXPECT_LE(flags, 1) << screen;
  }
}

TEST(HelpTopicOfScreen, MapsEveryScreen) {
  const int expected[17] = {1000, 9000, 3000, 7000, 2000, 3000, 3000, 4000, 5000,
                            5000, 2000, 2000, 2000, 5000, 5000, 5000, 5000};
  for (int screen = 0; screen < 17; ++screen)
    EXPECT_EQ(HelpTopicOfScreen(screen), expected[screen]) << screen;
}

}  // namespace
}  // namespace vmd
