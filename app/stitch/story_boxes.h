#ifndef APP_STITCH_STORY_BOXES_H
#define APP_STITCH_STORY_BOXES_H

#include <windows.h>

#include "storyboard.h"

namespace vmd {

/// The storyboard's place windows ("StoryBoxWnd"), children of the main
/// window with ids 500 + box at the program storyboard's box rectangles.
/// They turn clicks, drags, double clicks and timers into the storyboard's
/// operations and carry out what those return.
bool CreateStoryBoxes(HWND parent);
/// Hides the tool tip and closes the boxes.
void CloseStoryBoxes(HWND parent);
/// Repaints boxes a and b (clamped to the boxes shown), or all for -1, -1.
void RepaintBoxes(int a, int b);
/// Shows the messages, beeps, repaints and sets the scroll buttons and bar
/// as an operation asks; messages are owned by `owner`.
void ApplyStoryboardEffects(HWND owner, const StoryboardEffects& effects);
/// Moves the scroll bar's thumb to the storyboard's scroll position.
void UpdateStoryboardScrollBar();
/// The box under a point in screen coordinates, or -1.
int StoryBoxAtScreenPoint(POINT screen);

}  // namespace vmd

#endif  // APP_STITCH_STORY_BOXES_H
