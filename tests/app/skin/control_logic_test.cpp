#include "control_logic.h"

#include <gtest/gtest.h>

namespace vmd {
namespace {

/// A skin with a place for every row of the control table: controls on a
/// grid of 20-pixel cells in table order, the two anchors at known places.
SkinFile SkinForTable(const ControlTable& table) {
  SkinFile skin;
  skin.panels.resize(kPanelCount);
  for (int panel = 0; panel < kPanelCount; ++panel) {
    skin.panels[panel].width = 800;
    skin.panels[panel].height = 600;
    int cell = 0;
    for (const ControlDef& row : table[panel]) {
      if (row.Empty()) continue;
      SkinControl control;
      control.id = row.id;
      control.rect = {(cell % 30) * 20, (cell / 30) * 20 + 100, (cell % 30) * 20 + 19, (cell / 30) * 20 + 119};
      if (row.id == kKindAnchor) control.rect = {288, 64, 787, 399};
      if (row.id == kFineTuneAnchor) control.rect = {12, 508, 311, 539};
      skin.panels[panel].controls.push_back(control);
      ++cell;
    }
  }
  SkinControl lone;  // a sub-panel control, to see it offset by its anchor
  lone.id = 77;
  lone.rect = {3, 4, 12, 13};
  skin.panels[12].controls.push_back(lone);
  return skin;
}

TEST(PlaceScreen, PutsSubPanelsAtTheirAnchorsAndSkipsUnplacedRows) {
  ControlTable table = MakeControlTable();
  const SkinFile skin = SkinForTable(table);
  table[12][0] = ControlDef{Command::kNone, 0, 77, -1, kKindPlace, 0, 0, {}};
  std::vector<PlacedPanel> panels;
  std::vector<PlacedControl> controls;
  std::string reason;
  ASSERT_TRUE(PlaceScreen(skin, table, kScreenKindTile, &panels, &controls, &reason)) << reason;
  ASSERT_EQ(panels.size(), 2u);
  EXPECT_EQ(panels[0].panel, 4);
  EXPECT_EQ(panels[1].panel, 13);
  EXPECT_EQ(panels[1].left, 288);
  EXPECT_EQ(panels[1].top, 64);

  ASSERT_TRUE(PlaceScreen(skin, table, 12, &panels, &controls, &reason));
  ASSERT_TRUE(PlaceScreen(skin, table, kScreenKindCircle, &panels, &controls, &reason));
  // Screen 11 shows panel 12 at the anchor: its control moves with it.
  const PlacedControl* lone = nullptr;
  for (const PlacedControl& control : controls)
    if (control.id == 77) lone = &control;
  ASSERT_NE(lone, nullptr);
  EXPECT_EQ(lone->rect.left, 288 + 3);
  EXPECT_EQ(lone->rect.top, 64 + 4);
  EXPECT_EQ(lone->panel, 12);

  SkinFile missing = skin;
  missing.panels.resize(12);
  EXPECT_FALSE(PlaceScreen(missing, table, kScreenKindTile, &panels, &controls, &reason));
  EXPECT_FALSE(reason.empty());
  EXPECT_FALSE(PlaceScreen(skin, table, 17, &panels, &controls, &reason));
}

TEST(HitTestControls, LaterControlsLieOnTopAndEdgesAreInside) {
  std::vector<PlacedControl> controls(2);
  controls[0].rect = {10, 10, 109, 19};  // a track
  controls[1].rect = {50, 8, 63, 21};    // its thumb
  EXPECT_EQ(HitTestControls(controls, 55, 15), 1);
  EXPECT_EQ(HitTestControls(controls, 10, 10), 0);
  EXPECT_EQ(HitTestControls(controls, 109, 19), 0);
  EXPECT_EQ(HitTestControls(controls, 110, 19), -1);
  EXPECT_EQ(HitTestControls(controls, 9, 15), -1);
}

TEST(Thumb, ValuesCoverTheTrackAndReturnThroughThePlace) {
  const SkinRect track{12, 312, 171, 327};  // 160 x 16, horizontal
  const SkinRect thumb{85, 309, 98, 330};   // 14 wide
  EXPECT_TRUE(IsHorizontalTrack(track));
  EXPECT_EQ(ThumbValueAt(track, thumb, track.left), 0);
  EXPECT_EQ(ThumbValueAt(track, thumb, track.right), 100);
  EXPECT_EQ(ThumbValueAt(track, thumb, -500), 0);
  EXPECT_EQ(ThumbValueAt(track, thumb, 5000), 100);
  for (int value = 0; value <= 100; value += 5) {
    const SkinRect moved = ThumbRectFor(track, thumb, value);
    EXPECT_GE(moved.left, track.left);
    EXPECT_LE(moved.right, track.right);
    EXPECT_EQ(moved.Width(), thumb.Width());
    const int centre = (moved.left + moved.right + 1) / 2;
    EXPECT_NEAR(ThumbValueAt(track, thumb, centre), value, 1) << value;
  }
  const SkinRect column{760, 122, 787, 289};  // vertical scroll bar
  const SkinRect knob{760, 122, 787, 151};
  EXPECT_FALSE(IsHorizontalTrack(column));
  EXPECT_EQ(ThumbRectFor(column, knob, 100).bottom, column.bottom);
  EXPECT_EQ(ThumbRectFor(column, knob, 0).top, column.top);
}

TEST(Thumb, BelongsToTheNearestTrackBeforeIt) {
  const ControlTable table = MakeControlTable();
  const std::vector<ControlDef>& edit = table[kScreenEdit];
  for (size_t i = 0; i < edit.size(); ++i) {
    if (edit[i].kind != kKindThumb) continue;
    const int track = TrackRowOf(edit, static_cast<int>(i));
    ASSERT_GE(track, 0);
    EXPECT_EQ(edit[track].id + 20, edit[i].id) << "slider " << edit[track].id;
  }
  EXPECT_EQ(TrackRowOf(edit, 0), -1);
}

TEST(CheckRadioControl, ChecksOneOfTheGroupAndLeavesOtherTogglesAlone) {
  ControlTable table = MakeControlTable();
  std::vector<ControlDef>& kinds = table[kScreenKindRow];
  CheckRadioControl(&kinds, 638);
  for (int id = 636; id <= 639; ++id)
    EXPECT_EQ(FindControlDef(table, 4, id)->state, id == 638 ? kStateChecked : kStateNormal) << id;
  EXPECT_EQ(FindControlDef(table, 4, kExposureToggle)->state, kStateChecked) << "not in the group";
}

TEST(FaceStateOf, DisabledWinsThenPressedOrChecked) {
  EXPECT_EQ(FaceStateOf(kStateNormal, false), 0);
  EXPECT_EQ(FaceStateOf(kStateNormal, true), 1);
  EXPECT_EQ(FaceStateOf(kStateChecked, false), 1);
  EXPECT_EQ(FaceStateOf(kStateDisabled, true), 2);
}

}  // namespace
}  // namespace vmd
