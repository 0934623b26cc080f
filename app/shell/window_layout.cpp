#include "window_layout.h"

#include "app_state.h"

namespace vmd {

WindowLayout ChooseWindowLayout(int for640, int screenWidth, int screenHeight) {
  WindowLayout layout;
  if (for640 > 0) {
    layout.sizeIndex = 1;
    layout.screenWidth = kWindowSizes[1].width;
    layout.screenHeight = kWindowSizes[1].height;
  } else {
    layout.screenWidth = screenWidth;
    layout.screenHeight = screenHeight;
    layout.sizeIndex = screenWidth >= 800 && screenHeight >= 600 ? 0 : 1;
  }
  layout.width = kWindowSizes[layout.sizeIndex].width;
  layout.height = kWindowSizes[layout.sizeIndex].height;
  layout.hasBackground = !(layout.screenWidth < layout.width && layout.screenHeight < layout.height);
  layout.mainX = (layout.screenWidth - layout.width) >> 1;
  layout.mainY = (layout.screenHeight - layout.height) >> 1;
  return layout;
}

bool DisplayAccepted(int desktopWidth, int deviceColours) {
  return desktopWidth >= 800 && deviceColours <= 0;
}

}  // namespace vmd
