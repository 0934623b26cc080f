#ifndef APP_SKIN_CONTROL_LOGIC_H
#define APP_SKIN_CONTROL_LOGIC_H

#include <vector>

#include "screen_table.h"
#include "skin_file.h"

namespace vmd {

/// A control of the screen being shown: which table row it is and where it
/// lies in the main window's client area (inclusive rectangle).
struct PlacedControl {
  int panel = 0;
  int row = 0;  ///< index into the panel's rows of the control table
  int id = 0;
  SkinRect rect;
  const SkinControl* skin = nullptr;  ///< its images; owned by the skin file
};

/// A panel shown on a screen and where its top-left corner lies.
struct PlacedPanel {
  int panel = 0;
  int left = 0;
  int top = 0;
};

/// The panels of `screen` (main panel first, then its sub-panels at their
/// anchors) and every control that has both a table row and a place in the
/// skin, in table order. Returns false with a reason when the skin lacks a
/// panel or an anchor the screen needs.
bool PlaceScreen(const SkinFile& skin, const ControlTable& table, int screen,
                 std::vector<PlacedPanel>* panels, std::vector<PlacedControl>* controls,
                 std::string* reason);

/// The control under (x, y): later controls lie on top of earlier ones (a
/// thumb on its track). -1 when none.
int HitTestControls(const std::vector<PlacedControl>& controls, int x, int y);

/// Sliders and scroll bars: a track is horizontal when wider than high.
bool IsHorizontalTrack(const SkinRect& track);
/// The value 0..100 for a thumb centred on `pointer` along the track.
int ThumbValueAt(const SkinRect& track, const SkinRect& thumb, int pointer);
/// The thumb moved along the track to show `value` (0..100, clamped).
SkinRect ThumbRectFor(const SkinRect& track, const SkinRect& thumb, int value);
/// The track row a thumb belongs to: the nearest track row before it; -1 if none.
int TrackRowOf(const std::vector<ControlDef>& rows, int thumbRow);

/// Checks control `id` of its radio group and clears the others of the group.
void CheckRadioControl(std::vector<ControlDef>* rows, int id);

/// The face to draw for a control: 0 normal, 1 down, 2 disabled.
int FaceStateOf(int tableState, bool pressed);

}  // namespace vmd

#endif  // APP_SKIN_CONTROL_LOGIC_H
