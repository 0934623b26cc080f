#ifndef TOOLS_SKIN_SKIN_LIST_H
#define TOOLS_SKIN_SKIN_LIST_H

#include <string>
#include <vector>

#include "skin_file.h"

namespace vmd {

/// One control of a panel as the window tests need it: the tool-tip string
/// id (-1 without one) and the kind from the program's control-definition
/// table (0 when the table does not know the control), and the control's
/// place in the main window's client area (inclusive).
struct ControlListing {
  int id = 0;
  int tooltip = -1;
  int kind = 0;
  SkinRect rect;
};

/// The controls of skin page `panel` in skin order. A sub-panel's controls
/// are moved by its anchor's place on the first main panel that shows it
/// (10 to 13 at control 366 of panel 4, 14 to 16 at control 635 of panel 8).
/// False, with a reason, for a panel the skin does not have or an anchor it
/// lacks.
bool ListPanelControls(const SkinFile& skin, int panel, std::vector<ControlListing>* out, std::string* reason);

/// "ID TOOLTIP KIND LEFT TOP RIGHT BOTTOM", decimal, one line.
std::string FormatListing(const ControlListing& control);

}  // namespace vmd

#endif  // TOOLS_SKIN_SKIN_LIST_H
