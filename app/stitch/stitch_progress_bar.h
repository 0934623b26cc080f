#ifndef APP_STITCH_STITCH_PROGRESS_BAR_H
#define APP_STITCH_STITCH_PROGRESS_BAR_H

/// What one progress report does to the progress window: its bar's filled
/// part and whether the window comes or goes.

#include "ui_image_layout.h"
#include "win32_api.h"

namespace vmd {

/// The progress window's size and its bar's area (the skin's "bar.log" and
/// "bar.prg").
constexpr int kProgressWindowWidth = kProgressWidth;
constexpr int kProgressWindowHeight = kProgressHeight;
constexpr RECT kProgressBarArea = {kProgressBarLeft, kProgressBarTop, kProgressBarRight, kProgressBarBottom};

struct ProgressStep {
  bool ignored;  ///< above 100: nothing changes
  RECT bar;      ///< the filled part: from x 12 to 12 + percent x 298 / 100
  bool close;    ///< 100 or more: the window closes after painting
};
ProgressStep ProgressBarStep(int percent);

/// Where the progress window sits: a fixed place on the main window centred
/// as 800 x 600 on a screen of the given size.
POINT ProgressWindowPlace(int screenWidth, int screenHeight);

}  // namespace vmd

#endif  // APP_STITCH_STITCH_PROGRESS_BAR_H
