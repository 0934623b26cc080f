#ifndef TOOLS_SKIN_SKIN_LAYOUT_H
#define TOOLS_SKIN_SKIN_LAYOUT_H

#include <vector>

namespace vmd {

/// How the generator draws a control's three state images.
enum class FaceKind {
  kPlace,       ///< no image: an image area, a label's place, a storyboard cell
  kPush,        ///< push button: icon and label
  kPrimary,     ///< push button that moves the work on (Next, Start, Finish, Ok)
  kToggle,      ///< two-state button: state 1 is "on"
  kRadio,       ///< radio card: state 1 is the chosen one
  kCommon,      ///< the small About / Help / Minimize / Exit buttons of the title band
  kArrowUp,
  kArrowDown,
  kArrowLeft,
  kArrowRight,
  kTrack,       ///< scroll bar or slider track
  kThumb,       ///< scroll bar or slider thumb
  kPicture      ///< a picture without states (e.g. a marker strip)
};

/// One control of a panel: its id (the program's control id), its place in
/// panel coordinates (width and height in pixels) and what its face shows.
struct LayoutControl {
  int id;
  FaceKind face;
  int left;
  int top;
  int width;
  int height;
  const char* label;  ///< text on the face, or nullptr
  const char* icon;   ///< icon name drawn by the generator, or nullptr
};

struct LayoutPanel {
  int number;
  int width;
  int height;
  const char* title;  ///< heading drawn in the title band of main panels
  std::vector<LayoutControl> controls;
};

/// Every panel of the main window's skin: main panels 0 to 9 (800 x 600) and
/// the sub-panels 10 to 16 (the size of their anchor controls). This is the
/// one place that says where each control lies; the program reads the places
/// back from the skin file.
const std::vector<LayoutPanel>& SkinLayout();

}  // namespace vmd

#endif  // TOOLS_SKIN_SKIN_LAYOUT_H
