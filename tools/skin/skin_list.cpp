#include "skin_list.h"

#include "screen_table.h"

namespace vmd {

namespace {

struct ControlDefInfo {
  int tooltip = -1;
  int kind = 0;
};

/// The tool tip and kind of a control from the program's control-definition table.
ControlDefInfo LookUpControlDef(int panel, int id) {
  static const ControlTable table = MakeControlTable();
  const ControlDef* row = FindControlDef(table, panel, id);
  if (row == nullptr) return ControlDefInfo();
  return ControlDefInfo{row->tooltip, row->kind};
}

/// The first main panel showing sub-panel `panel` (by the screen table), and
/// the anchor control it stands on there; false for a main panel.
bool SubPanelAnchor(int panel, int* mainPanel, int* anchorId) {
  if (panel < kMainPanelCount) return false;
  for (const ScreenRow& screen : kScreenTable) {
    for (const SubPanelAt& sub : screen.subPanels) {
      if (sub.panel != panel) continue;
      *mainPanel = screen.mainPanel;
      *anchorId = sub.anchor;
      return true;
    }
  }
  return false;
}

}  // namespace

bool ListPanelControls(const SkinFile& skin, int panel, std::vector<ControlListing>* out, std::string* reason) {
  out->clear();
  if (panel < 0 || panel >= static_cast<int>(skin.panels.size())) {
    *reason = "the skin has no panel " + std::to_string(panel);
    return false;
  }
  int dx = 0, dy = 0;
  int mainPanel = 0, anchorId = 0;
  if (SubPanelAnchor(panel, &mainPanel, &anchorId)) {
    const SkinControl* anchor =
        mainPanel < static_cast<int>(skin.panels.size()) ? skin.panels[mainPanel].Find(anchorId) : nullptr;
    if (!anchor) {
      *reason = "panel " + std::to_string(mainPanel) + " has no anchor control " + std::to_string(anchorId);
      return false;
    }
    dx = anchor->rect.left;
    dy = anchor->rect.top;
  }
  for (const SkinControl& control : skin.panels[panel].controls) {
    ControlListing listing;
    listing.id = control.id;
    const ControlDefInfo def = LookUpControlDef(panel, control.id);
    listing.tooltip = def.tooltip;
    listing.kind = def.kind;
    listing.rect = {control.rect.left + dx, control.rect.top + dy, control.rect.right + dx,
                    control.rect.bottom + dy};
    out->push_back(listing);
  }
  return true;
}

std::string FormatListing(const ControlListing& c) {
  return std::to_string(c.id) + " " + std::to_string(c.tooltip) + " " + std::to_string(c.kind) + " " +
         std::to_string(c.rect.left) + " " + std::to_string(c.rect.top) + " " + std::to_string(c.rect.right) +
         " " + std::to_string(c.rect.bottom);
}

}  // namespace vmd
