#ifndef APP_SKIN_BUTTON_BAR_H
#define APP_SKIN_BUTTON_BAR_H

// The deciding of a skinned button bar (the full-screen views' zoom bars):
// which button lies under a point and which face of the button strip shows.
// Places follow ButtonBarLayout: left and top inclusive, right and bottom
// exclusive.

#include "ui_image_layout.h"

namespace vmd {

/// A button face's state, as the strip orders them.
enum ButtonFace { kFaceNormal = 0, kFaceDown = 1, kFaceDisabled = 2 };

struct BarRect {
  int left;
  int top;
  int right;
  int bottom;
};

/// The bar's place on a screen of screenWidth x screenHeight: centred at the
/// bottom.
BarRect BarPlaceOnScreen(const ButtonBarLayout& bar, int screenWidth, int screenHeight);

/// Button `button`'s place in the bar's client area.
BarRect BarButtonPlace(const ButtonBarLayout& bar, int button);

/// The button under client point (x, y), or -1 (a gap, the caption, outside).
int BarButtonAt(const ButtonBarLayout& bar, int x, int y);

/// The face a button shows: disabled wins over held down.
ButtonFace BarFaceOf(bool disabled, bool held);

/// Where the face of `button` in `face` lies in the button strip.
BarRect BarFaceInStrip(const ButtonBarLayout& bar, int button, ButtonFace face);

/// True when a background of bgWidth x bgHeight and a strip of
/// stripWidth x stripHeight are the bar's images (anything else is drawn
/// plainly rather than cut at the wrong places).
bool BarImagesFit(const ButtonBarLayout& bar, int bgWidth, int bgHeight, int stripWidth,
                  int stripHeight);

}  // namespace vmd

#endif  // APP_SKIN_BUTTON_BAR_H
