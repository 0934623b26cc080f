#include "stitch_progress_bar.h"

namespace vmd {

ProgressStep ProgressBarStep(int percent) {
  ProgressStep step{};
  if (percent > 100) {
    step.ignored = true;
    return step;
  }
  const int width = kProgressBarArea.right - kProgressBarArea.left;
  step.bar = RECT{kProgressBarArea.left, kProgressBarArea.top, kProgressBarArea.left + percent * width / 100,
                  kProgressBarArea.bottom};
  step.close = percent >= 100;
  return step;
}

POINT ProgressWindowPlace(int screenWidth, int screenHeight) {
  return POINT{(screenWidth - 800) / 2 + 240, (screenHeight - 600) / 2 + 265};
}

}  // namespace vmd
