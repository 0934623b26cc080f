#include "control_logic.h"

#include <algorithm>

namespace vmd {

bool PlaceScreen(const SkinFile& skin, const ControlTable& table, int screen,
                 std::vector<PlacedPanel>* panels, std::vector<PlacedControl>* controls,
                 std::string* reason) {
  panels->clear();
  controls->clear();
  if (screen < 0 || screen >= kScreenCount) {
    *reason = "no screen " + std::to_string(screen);
    return false;
  }
  const ScreenRow& row = kScreenTable[screen];
  if (row.mainPanel >= static_cast<int>(skin.panels.size())) {
    *reason = "the skin has no panel " + std::to_string(row.mainPanel);
    return false;
  }
  panels->push_back({row.mainPanel, 0, 0});
  for (const SubPanelAt& sub : row.subPanels) {
    if (sub.panel < 0) continue;
    const SkinControl* anchor = skin.panels[row.mainPanel].Find(sub.anchor);
    if (sub.panel >= static_cast<int>(skin.panels.size()) || anchor == nullptr) {
      *reason = "the skin lacks panel " + std::to_string(sub.panel) + " or its anchor " +
                std::to_string(sub.anchor);
      return false;
    }
    panels->push_back({sub.panel, anchor->rect.left, anchor->rect.top});
  }
  for (const PlacedPanel& placed : *panels) {
    if (placed.panel >= static_cast<int>(table.size())) continue;
    const std::vector<ControlDef>& rows = table[placed.panel];
    for (size_t i = 0; i < rows.size(); ++i) {
      if (rows[i].Empty()) continue;
      const SkinControl* control = skin.panels[placed.panel].Find(rows[i].id);
      if (control == nullptr) continue;
      PlacedControl out;
      out.panel = placed.panel;
      out.row = static_cast<int>(i);
      out.id = rows[i].id;
      out.rect = control->rect;
      out.rect.left += placed.left;
      out.rect.right += placed.left;
      out.rect.top += placed.top;
      out.rect.bottom += placed.top;
      out.skin = control;
      controls->push_back(out);
    }
  }
  return true;
}

int HitTestControls(const std::vector<PlacedControl>& controls, int x, int y) {
  for (int i = static_cast<int>(controls.size()) - 1; i >= 0; --i)
    if (controls[i].rect.Contains(x, y)) return i;
  return -1;
}

bool IsHorizontalTrack(const SkinRect& track) { return track.Width() >= track.Height(); }

int ThumbValueAt(const SkinRect& track, const SkinRect& thumb, int pointer) {
  const bool horizontal = IsHorizontalTrack(track);
  const int start = horizontal ? track.left : track.top;
  const int thumbLength = horizontal ? thumb.Width() : thumb.Height();
  const int travel = (horizontal ? track.Width() : track.Height()) - thumbLength;
  if (travel <= 0) return 0;
  const int offset = pointer - start - thumbLength / 2;
  const int value = (offset * 100 + travel / 2) / travel;
  return std::clamp(value, 0, 100);
}

SkinRect ThumbRectFor(const SkinRect& track, const SkinRect& thumb, int value) {
  value = std::clamp(value, 0, 100);
  SkinRect moved = thumb;
  if (IsHorizontalTrack(track)) {
    const int travel = std::max(0, track.Width() - thumb.Width());
    moved.left = track.left + (travel * value + 50) / 100;
    moved.right = moved.left + thumb.Width() - 1;
  } else {
    const int travel = std::max(0, track.Height() - thumb.Height());
    moved.top = track.top + (travel * value + 50) / 100;
    moved.bottom = moved.top + thumb.Height() - 1;
  }
  return moved;
}

int TrackRowOf(const std::vector<ControlDef>& rows, int thumbRow) {
  for (int i = thumbRow - 1; i >= 0; --i)
    if (rows[i].kind == kKindTrack) return i;
  return -1;
}

void CheckRadioControl(std::vector<ControlDef>* rows, int id) {
  int group = 0;
  for (const ControlDef& row : *rows)
    if (!row.Empty() && row.id == id) group = row.group;
  for (ControlDef& row : *rows) {
    if (row.Empty()) continue;
    if (row.id == id) {
      row.state = kStateChecked;
    } else if (group != 0 && row.group == group && row.state == kStateChecked) {
      row.state = kStateNormal;
    }
  }
}

int FaceStateOf(int tableState, bool pressed) {
  if (tableState == kStateDisabled) return 2;
  if (pressed || tableState == kStateChecked) return 1;
  return 0;
}

}  // namespace vmd
