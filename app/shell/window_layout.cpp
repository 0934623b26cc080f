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

int HelpTopicOfScreen(int screen) {
  switch (screen) {
    case 0: return 1000;
    case 1: return 9000;
    case 2: case 5: case 6: return 3000;
    case 3: return 7000;
    case 4: case 10: case 11: case 12: return 2000;
    case 7: return 4000;
    case 8: case 9: case 13: case 14: case 15: case 16: return 5000;
    default: return 1000;
  }
}

}  // namespace vmd
