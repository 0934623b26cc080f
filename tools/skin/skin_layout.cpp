#include "skin_layout.h"

namespace vmd {

namespace {

using F = FaceKind;

// The title band's four buttons, at the same place on every main panel.
void AddCommonButtons(LayoutPanel* panel) {
  panel->controls.push_back({996, F::kCommon, 648, 10, 34, 32, nullptr, "about"});
  panel->controls.push_back({997, F::kCommon, 686, 10, 34, 32, nullptr, "help"});
  panel->controls.push_back({998, F::kCommon, 724, 10, 34, 32, nullptr, "minimize"});
  panel->controls.push_back({999, F::kCommon, 762, 10, 34, 32, nullptr, "exit"});
}

LayoutPanel Home() {
  LayoutPanel p{0, 800, 600, "Home", {}};
  p.controls = {
      {110, F::kPlace, 184, 64, 604, 524, nullptr, nullptr},
      {5, F::kPush, 12, 64, 160, 48, "Open", "open"},
      {4, F::kPush, 12, 120, 160, 48, "Save", "save"},
      {111, F::kPush, 12, 176, 160, 48, "Export", "export"},
      {6, F::kPrimary, 12, 244, 160, 64, "Stitch Wizard", "wizard"},
      {2, F::kPush, 12, 328, 160, 48, "Edit", "edit"},
      {1, F::kPush, 12, 384, 160, 48, "View Detail", "detail"},
      {327, F::kPush, 12, 440, 160, 48, "View Panorama", "panorama"},
      {3, F::kPush, 12, 496, 160, 48, "Print", "print"},
  };
  AddCommonButtons(&p);
  return p;
}

LayoutPanel Edit() {
  LayoutPanel p{1, 800, 600, "Edit photo", {}};
  p.controls = {
      {202, F::kPlace, 184, 64, 604, 524, nullptr, nullptr},
      {210, F::kPush, 12, 64, 78, 44, "-90\u00B0", "rotate-ccw-90"},
      {211, F::kPush, 94, 64, 78, 44, "+90\u00B0", "rotate-cw-90"},
      {212, F::kPush, 12, 112, 78, 44, "Rotate left", "rotate-ccw"},
      {213, F::kPush, 94, 112, 78, 44, "Rotate right", "rotate-cw"},
      {214, F::kPush, 12, 160, 78, 44, "Zoom in", "zoom-in"},
      {215, F::kPush, 94, 160, 78, 44, "Zoom out", "zoom-out"},
      {216, F::kToggle, 12, 208, 160, 36, "Crop", "crop"},
      {217, F::kPush, 12, 252, 160, 36, "Reset", "reset"},
      // Sliders: a track and its thumb (the thumb's place is its centre position).
      {512, F::kTrack, 12, 312, 160, 16, "Brightness", nullptr},
      {532, F::kThumb, 85, 309, 14, 22, nullptr, nullptr},
      {513, F::kTrack, 12, 360, 160, 16, "Contrast", nullptr},
      {533, F::kThumb, 85, 357, 14, 22, nullptr, nullptr},
      {514, F::kTrack, 12, 408, 160, 16, "Hue", nullptr},
      {534, F::kThumb, 85, 405, 14, 22, nullptr, nullptr},
      {515, F::kTrack, 12, 456, 160, 16, "Saturation", nullptr},
      {535, F::kThumb, 85, 453, 14, 22, nullptr, nullptr},
      {218, F::kPush, 12, 492, 160, 32, "Save", "save"},
      {220, F::kPush, 12, 548, 76, 40, "Cancel", nullptr},
      {219, F::kPrimary, 96, 548, 76, 40, "OK", nullptr},
  };
  AddCommonButtons(&p);
  return p;
}

// Album commands and thumbnails shared by the storyboard panels; `width` is
// the album area's width.
void AddAlbum(LayoutPanel* p, int gridWidth, int gridHeight, bool commandsOnTop) {
  std::vector<LayoutControl>& c = p->controls;
  c.push_back({201, F::kPush, 12, 60, commandsOnTop ? 142 : 128, 30, "Select Album", "album"});
  c.push_back({300, F::kPlace, 12, 96, gridWidth, gridHeight, nullptr, nullptr});
  const int x = 12 + gridWidth + 4;
  c.push_back({307, F::kArrowUp, x, 96, 28, 24, nullptr, nullptr});
  c.push_back({309, F::kTrack, x, 122, 28, gridHeight - 52, nullptr, nullptr});
  c.push_back({310, F::kThumb, x, 122, 28, 30, nullptr, nullptr});
  c.push_back({308, F::kArrowDown, x, 96 + gridHeight - 24, 28, 24, nullptr, nullptr});
  if (commandsOnTop) {
    c.push_back({302, F::kPush, 158, 60, 116, 30, "Add photos", "add"});
    c.push_back({303, F::kPush, 278, 60, 98, 30, "Acquire", "acquire"});
    c.push_back({304, F::kPush, 380, 60, 84, 30, "Sort", "sort"});
    c.push_back({301, F::kPush, 468, 60, 92, 30, "Delete", "delete"});
    c.push_back({305, F::kPush, 576, 60, 100, 30, "Include", "include"});
    c.push_back({306, F::kPush, 680, 60, 108, 30, "Include all", "include-all"});
    return;
  }
  // Commands beside the album's title row, the rest under the album.
  const int y = 96 + gridHeight + 6;
  c.push_back({302, F::kPush, 144, 60, 120, 30, "Add photos", "add"});
  c.push_back({303, F::kPush, 268, 60, 96, 30, "Acquire", "acquire"});
  c.push_back({304, F::kPush, 12, y, 74, 30, "Sort", "sort"});
  c.push_back({301, F::kPush, 90, y, 84, 30, "Delete", "delete"});
  c.push_back({305, F::kPush, 178, y, 86, 30, "Include", "include"});
  c.push_back({306, F::kPush, 268, y, 96, 30, "Include all", "include-all"});
}

void AddStoryboardCommands(LayoutPanel* p, int removeTop) {
  std::vector<LayoutControl>& c = p->controls;
  c.push_back({342, F::kPush, 12, removeTop, 110, 40, "Remove", "remove"});
  c.push_back({343, F::kPush, 128, removeTop, 110, 40, "Remove All", "remove-all"});
  c.push_back({346, F::kPush, 444, 548, 110, 40, "Cancel", nullptr});
  c.push_back({345, F::kPush, 560, 548, 110, 40, "Back", nullptr});
  c.push_back({344, F::kPrimary, 678, 548, 110, 40, "Start", nullptr});
}

LayoutPanel StoryboardRow() {
  LayoutPanel p{2, 800, 600, "Storyboard", {}};
  AddAlbum(&p, 744, 220, true);
  std::vector<LayoutControl>& c = p.controls;
  c.push_back({640, F::kPlace, 12, 324, 480, 32, nullptr, nullptr});
  c.push_back({368, F::kArrowLeft, 12, 368, 32, 128, nullptr, nullptr});
  for (int i = 0; i < 5; ++i) c.push_back({320 + i, F::kPlace, 52 + i * 140, 368, 128, 128, nullptr, nullptr});
  c.push_back({369, F::kArrowRight, 756, 368, 32, 128, nullptr, nullptr});
  c.push_back({340, F::kTrack, 52, 504, 688, 14, nullptr, nullptr});
  c.push_back({341, F::kThumb, 52, 504, 60, 14, nullptr, nullptr});
  AddStoryboardCommands(&p, 548);
  AddCommonButtons(&p);
  return p;
}

LayoutPanel StoryboardColumn() {
  LayoutPanel p{5, 800, 600, "Storyboard", {}};
  AddAlbum(&p, 508, 400, false);
  std::vector<LayoutControl>& c = p.controls;
  c.push_back({368, F::kArrowUp, 600, 60, 104, 22, nullptr, nullptr});
  for (int i = 0; i < 4; ++i) c.push_back({320 + i, F::kPlace, 600, 86 + i * 110, 104, 104, nullptr, nullptr});
  c.push_back({369, F::kArrowDown, 600, 524, 104, 22, nullptr, nullptr});
  c.push_back({340, F::kTrack, 712, 86, 14, 434, nullptr, nullptr});
  c.push_back({341, F::kThumb, 712, 86, 14, 40, nullptr, nullptr});
  AddStoryboardCommands(&p, 548);
  // In the column layout the remove buttons sit beside the column.
  for (LayoutControl& control : c) {
    if (control.id == 342) { control.left = 736; control.top = 86; control.width = 52; control.height = 52; control.label = nullptr; }
    if (control.id == 343) { control.left = 736; control.top = 144; control.width = 52; control.height = 52; control.label = nullptr; }
  }
  AddCommonButtons(&p);
  return p;
}

LayoutPanel StoryboardGrid() {
  LayoutPanel p{6, 800, 600, "Storyboard", {}};
  AddAlbum(&p, 320, 400, false);
  std::vector<LayoutControl>& c = p.controls;
  for (int i = 0; i < 16; ++i)
    c.push_back({320 + i, F::kPlace, 380 + (i % 4) * 102, 60 + (i / 4) * 102, 96, 96, nullptr, nullptr});
  c.push_back({368, F::kArrowLeft, 380, 470, 96, 28, nullptr, nullptr});
  c.push_back({369, F::kArrowRight, 686, 470, 96, 28, nullptr, nullptr});
  AddStoryboardCommands(&p, 504);
  for (LayoutControl& control : c) {
    if (control.id == 342) { control.left = 482; control.top = 470; control.width = 98; control.height = 28; }
    if (control.id == 343) { control.left = 584; control.top = 470; control.width = 98; control.height = 28; }
  }
  AddCommonButtons(&p);
  return p;
}

LayoutPanel PrintLayout() {
  LayoutPanel p{3, 800, 600, "Print", {}};
  p.controls = {
      {120, F::kPlace, 12, 60, 520, 528, nullptr, nullptr},
      {204, F::kPush, 548, 60, 240, 32, "Page layout", "pages"},
      {530, F::kPlace, 548, 96, 240, 24, nullptr, nullptr},
      {533, F::kPlace, 548, 132, 240, 24, nullptr, nullptr},
      {534, F::kPlace, 548, 160, 240, 24, nullptr, nullptr},
      {506, F::kTrack, 548, 196, 240, 16, "Resolution", nullptr},
      {526, F::kThumb, 548, 193, 14, 22, nullptr, nullptr},
      {540, F::kPlace, 680, 232, 60, 24, "Pages across", nullptr},
      {541, F::kPlace, 680, 262, 60, 24, "Pages down", nullptr},
      {542, F::kPlace, 680, 300, 40, 24, "Copies", nullptr},
      {519, F::kPush, 724, 300, 30, 24, nullptr, "minus"},
      {520, F::kPush, 758, 300, 30, 24, nullptr, "plus"},
      {521, F::kPush, 548, 348, 240, 36, "Setup printer", "printer"},
      {523, F::kPush, 560, 548, 110, 40, "Cancel", nullptr},
      {522, F::kPrimary, 678, 548, 110, 40, "Print", "print"},
  };
  AddCommonButtons(&p);
  return p;
}

LayoutPanel KindSelection() {
  LayoutPanel p{4, 800, 600, "New panorama", {}};
  p.controls = {
      {636, F::kRadio, 12, 64, 260, 80, "Horizontal", "kind-row"},
      {637, F::kRadio, 12, 152, 260, 80, "Vertical", "kind-column"},
      {638, F::kRadio, 12, 240, 260, 80, "360 degrees", "kind-circle"},
      {639, F::kRadio, 12, 328, 260, 80, "Tile", "kind-tile"},
      {366, F::kPlace, 288, 64, 500, 336, nullptr, nullptr},
      {202, F::kPush, 288, 424, 120, 36, "Lens", "lens"},
      {364, F::kPlace, 416, 424, 180, 36, nullptr, nullptr},
      {361, F::kPush, 288, 468, 120, 36, "Size", "size"},
      {365, F::kPlace, 416, 468, 180, 36, nullptr, nullptr},
      {367, F::kToggle, 608, 424, 180, 80, "Exposure balance", "exposure"},
      {371, F::kPush, 560, 548, 110, 40, "Cancel", nullptr},
      {370, F::kPrimary, 678, 548, 110, 40, "Next", nullptr},
  };
  AddCommonButtons(&p);
  return p;
}

LayoutPanel Preview() {
  LayoutPanel p{7, 800, 600, "Preview", {}};
  p.controls = {
      {700, F::kPlace, 12, 60, 776, 476, nullptr, nullptr},
      {704, F::kPush, 12, 548, 44, 40, nullptr, "zoom-in"},
      {705, F::kPush, 60, 548, 44, 40, nullptr, "zoom-out"},
      {706, F::kToggle, 112, 548, 146, 40, "Auto crop", "crop"},
      {707, F::kToggle, 264, 548, 156, 40, "Fine tuning", "markers"},
      {703, F::kPush, 444, 548, 110, 40, "Cancel", nullptr},
      {702, F::kPush, 560, 548, 110, 40, "Back", nullptr},
      {701, F::kPrimary, 678, 548, 110, 40, "Finish", nullptr},
  };
  AddCommonButtons(&p);
  return p;
}

LayoutPanel FineTuning(int number, bool sideBySide) {
  LayoutPanel p{number, 800, 600, "Fine tuning", {}};
  if (sideBySide) {
    p.controls.push_back({800, F::kPlace, 12, 60, 384, 440, nullptr, nullptr});
    p.controls.push_back({801, F::kPlace, 404, 60, 384, 440, nullptr, nullptr});
  } else {
    p.controls.push_back({800, F::kPlace, 12, 60, 776, 218, nullptr, nullptr});
    p.controls.push_back({801, F::kPlace, 12, 284, 776, 218, nullptr, nullptr});
  }
  std::vector<LayoutControl> rest = {
      {635, F::kPlace, 12, 508, 300, 32, nullptr, nullptr},
      {804, F::kPush, 12, 548, 44, 40, nullptr, "zoom-in"},
      {805, F::kPush, 60, 548, 44, 40, nullptr, "zoom-out"},
      {806, F::kPush, 112, 548, 170, 40, "Match assistant", "match"},
      {803, F::kPush, 560, 548, 110, 40, "Cancel", nullptr},
      {802, F::kPrimary, 678, 548, 110, 40, "Apply", nullptr},
  };
  p.controls.insert(p.controls.end(), rest.begin(), rest.end());
  AddCommonButtons(&p);
  return p;
}

// Sub-panels carry only their background picture (drawn by the generator
// from the panel number): the chosen kind's illustration, or the marker strip
// with one marker highlighted.
LayoutPanel SubPanel(int number, int width, int height, const char* title) {
  return LayoutPanel{number, width, height, title, {}};
}

std::vector<LayoutPanel> MakeLayout() {
  std::vector<LayoutPanel> panels;
  panels.push_back(Home());
  panels.push_back(Edit());
  panels.push_back(StoryboardRow());
  panels.push_back(PrintLayout());
  panels.push_back(KindSelection());
  panels.push_back(StoryboardColumn());
  panels.push_back(StoryboardGrid());
  panels.push_back(Preview());
  panels.push_back(FineTuning(8, true));
  panels.push_back(FineTuning(9, false));
  panels.push_back(SubPanel(10, 500, 336, "Horizontal"));
  panels.push_back(SubPanel(11, 500, 336, "Vertical"));
  panels.push_back(SubPanel(12, 500, 336, "360 degrees"));
  panels.push_back(SubPanel(13, 500, 336, "Tile"));
  panels.push_back(SubPanel(14, 300, 32, "Marker 1"));
  panels.push_back(SubPanel(15, 300, 32, "Marker 2"));
  panels.push_back(SubPanel(16, 300, 32, "Marker 3"));
  return panels;
}

}  // namespace

const std::vector<LayoutPanel>& SkinLayout() {
  static const std::vector<LayoutPanel> layout = MakeLayout();
  return layout;
}

}  // namespace vmd
