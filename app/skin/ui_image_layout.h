#ifndef APP_SKIN_UI_IMAGE_LAYOUT_H
#define APP_SKIN_UI_IMAGE_LAYOUT_H

// Where things lie in the separate skin images of the UI folder (the build's
// skin generator draws them, the program's windows cut them). All images are
// 24-bit BMP files, whatever their name ends with. Rectangles: left and top
// inclusive, right and bottom exclusive.

namespace vmd {

/// "bar.log": the progress window, 322 x 67, with its caption and the empty
/// trough; "bar.prg": the trough's fill, as wide and high as the bar area.
constexpr int kProgressWidth = 322;
constexpr int kProgressHeight = 67;
constexpr int kProgressBarLeft = 12;
constexpr int kProgressBarTop = 32;
constexpr int kProgressBarRight = 310;
constexpr int kProgressBarBottom = 49;

/// "mark1.800" to "mark3.800": a strip of two square frames, the inactive
/// look at x 0 and the active look at x kMarkerFrame. The marker point is the
/// frame's pixel (kMarkerHotX, kMarkerHotY); pixels of kMarkerKeyColor
/// (0xRRGGBB) are transparent (draw with a colour key).
constexpr int kMarkerFrame = 31;
constexpr int kMarkerFrames = 2;
constexpr int kMarkerHotX = 15;
constexpr int kMarkerHotY = 15;
constexpr unsigned kMarkerKeyColor = 0xFF00FF;

/// "title1.800", "title2.800": the storyboard headings, drawn at the size of
/// the heading place on the storyboard panel; "title1.640" and "title2.640"
/// the same drawn for the 640 x 480 skin (384 x 26).
constexpr int kTitleWidth = 480;
constexpr int kTitleHeight = 32;

/// "panovw.log": the viewer's frame, a 536 x 298 viewport with a border of
/// kViewerBorder pixels on each side.
constexpr int kViewerViewWidth = 536;
constexpr int kViewerViewHeight = 298;
constexpr int kViewerBorder = 4;

/// A skinned button bar: its background image ("detail.log", "pano.log",
/// "sort.log") and one strip of button faces ("detail.btn", ...): the frame of
/// button b in state s (0 normal, 1 down, 2 disabled) lies at
/// x = (b x 3 + s) x buttonWidth, y = 0, buttonWidth x buttonHeight. Button b
/// stands in the bar at (firstLeft + b x step, top).
struct ButtonBarLayout {
  int width;
  int height;
  int buttons;
  int buttonWidth;
  int buttonHeight;
  int firstLeft;
  int step;
  int top;
};

/// The bars of "detail.*" (the panorama viewer's) and "pano.*" (View
/// Detail's), named by their images: zoom in, zoom out, close.
constexpr ButtonBarLayout kDetailBar = {222, 67, 3, 60, 36, 12, 69, 24};
constexpr ButtonBarLayout kPanoBar = {222, 67, 3, 60, 36, 12, 69, 24};
/// The album's sort window: by name, by date, by size, cancel.
constexpr ButtonBarLayout kSortBar = {264, 92, 4, 57, 32, 10, 62, 48};

}  // namespace vmd

#endif  // APP_SKIN_UI_IMAGE_LAYOUT_H
