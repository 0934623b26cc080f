#include "button_bar.h"

namespace vmd {

BarRect BarPlaceOnScreen(const ButtonBarLayout& bar, int screenWidth, int screenHeight) {
  const int left = (screenWidth - bar.width) / 2;
  const int top = screenHeight - bar.height;
  return BarRect{left, top, left + bar.width, top + bar.height};
}

BarRect BarButtonPlace(const ButtonBarLayout& bar, int button) {
  const int left = bar.firstLeft + button * bar.step;
  return BarRect{left, bar.top, left + bar.buttonWidth, bar.top + bar.buttonHeight};
}

int BarButtonAt(const ButtonBarLayout& bar, int x, int y) {
  for (int b = 0; b < bar.buttons; ++b) {
    const BarRect r = BarButtonPlace(bar, b);
    if (x >= r.left && x < r.right && y >= r.top && y < r.bottom) return b;
  }
  return -1;
}

ButtonFace BarFaceOf(bool disabled, bool held) {
  if (disabled) return kFaceDisabled;
  return held ? kFaceDown : kFaceNormal;
}

BarRect BarFaceInStrip(const ButtonBarLayout& bar, int button, ButtonFace face) {
  const int left = (button * 3 + static_cast<int>(face)) * bar.buttonWidth;
  return BarRect{left, 0, left + bar.buttonWidth, bar.buttonHeight};
}

bool BarImagesFit(const ButtonBarLayout& bar, int bgWidth, int bgHeight, int stripWidth,
                  int stripHeight) {
  return bgWidth == bar.width && bgHeight == bar.height &&
         stripWidth == bar.buttons * 3 * bar.buttonWidth && stripHeight == bar.buttonHeight;
}

}  // namespace vmd
