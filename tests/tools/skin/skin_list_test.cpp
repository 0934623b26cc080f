// vmd3-skin list: a sub-panel's controls land on the main window where the
// screen puts the sub-panel; main panels' controls keep their places.
#include "skin_list.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "skin_file.h"

namespace {

vmd::SkinControl Control(int id, int left, int top, int right, int bottom) {
  vmd::SkinControl c;
  c.id = id;
  c.rect = {left, top, right, bottom};
  return c;
}

vmd::SkinFile SkinWithAnchors() {
  vmd::SkinFile skin;
  skin.panels.resize(17);
  skin.panels[4].controls.push_back(Control(366, 288, 64, 787, 399));
  skin.panels[8].controls.push_back(Control(635, 12, 508, 311, 539));
  skin.panels[9].controls.push_back(Control(635, 40, 40, 339, 71));  // a different place on panel 9
  skin.panels[0].controls.push_back(Control(5, 12, 64, 171, 111));
  skin.panels[10].controls.push_back(Control(1, 0, 0, 9, 9));
  skin.panels[13].controls.push_back(Control(2, 5, 6, 9, 9));
  skin.panels[16].controls.push_back(Control(3, 100, 2, 149, 29));
  return skin;
}

TEST(SkinList, SubPanelsMoveByTheirAnchorOnTheFirstPanelShowingThem) {
  const vmd::SkinFile skin = SkinWithAnchors();
  std::vector<vmd::ControlListing> list;
  std::string reason;
  const struct {
    int panel, id, left, top, right, bottom;
  } kCases[] = {
      {0, 5, 12, 64, 171, 111},   // a main panel: as stored
      {10, 1, 288, 64, 297, 73},  // kind page at 366 on panel 4
      {13, 2, 293, 70, 297, 73},
      {16, 3, 112, 510, 161, 537},  // marker bar at 635 on panel 8, not 9
  };
  for (const auto& c : kCases) {
    ASSERT_TRUE(vmd::ListPanelControls(skin, c.panel, &list, &reason)) << reason;
    ASSERT_EQ(list.size(), 1u) << c.panel;
    EXPECT_EQ(list[0].id, c.id);
    EXPECT_EQ(list[0].rect.left, c.left) << c.panel;
    EXPECT_EQ(list[0].rect.top, c.top) << c.panel;
    EXPECT_EQ(list[0].rect.right, c.right) << c.panel;
    EXPECT_EQ(list[0].rect.bottom, c.bottom) << c.panel;
  }
}

TEST(SkinList, MissingPanelsAndAnchorsAreReported) {
  vmd::SkinFile skin = SkinWithAnchors();
  std::vector<vmd::ControlListing> list;
  std::string reason;
  EXPECT_FALSE(vmd::ListPanelControls(skin, 17, &list, &reason));
  EXPECT_FALSE(vmd::ListPanelControls(skin, -1, &list, &reason));
  skin.panels[4].controls.clear();
  EXPECT_FALSE(vmd::ListPanelControls(skin, 11, &list, &reason));
  EXPECT_NE(reason.find("366"), std::string::npos) << reason;
  skin.panels.resize(12);  // no panel 8 at all
  EXPECT_FALSE(vmd::ListPanelControls(skin, 14, &list, &reason));
}

TEST(SkinList, LineHoldsSevenDecimalFields) {
  vmd::ControlListing c;
  c.id = 999;
  c.tooltip = 50041;
  c.kind = 3;
  c.rect = {762, 10, 795, 41};
  EXPECT_EQ(vmd::FormatListing(c), "999 50041 3 762 10 795 41");
  c.tooltip = -1;
  EXPECT_EQ(vmd::FormatListing(c), "999 -1 3 762 10 795 41");
}

}  // namespace
