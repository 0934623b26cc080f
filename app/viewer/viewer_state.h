#ifndef APP_VIEWER_VIEWER_STATE_H
#define APP_VIEWER_VIEWER_STATE_H

#include "view_tables.h"
#include "win32_api.h"

namespace vmd {

/// States of the bar's zoom buttons.
constexpr int kButtonEnabled = 0;
constexpr int kButtonDisabled = 2;

constexpr double kMinZoom = 1.0;
constexpr double kMaxZoom = 3.0;
constexpr double kZoomStep = 0.1;

/// Cursor resources of the program shown by the viewer.
constexpr int kCursorTurnDown = 210;
constexpr int kCursorTurnUp = 212;
constexpr int kCursorTurnRight = 213;
constexpr int kCursorTurnDownRight = 215;
constexpr int kCursorTurnDownLeft = 216;
constexpr int kCursorTurnUpRight = 217;
constexpr int kCursorTurnUpLeft = 219;
constexpr int kCursorHand = 220;
constexpr int kCursorGrab = 221;
constexpr int kCursorTurnLeft = 727;

/// What the viewer looks at and how: one record while the viewer is open.
struct ViewerState {
  HGLOBAL source = nullptr;  ///< 24-bit panorama; not owned
  int width = 0;             ///< W, read as a 16-bit value
  int height = 0;            ///< H, read as a 16-bit value
  double zoom = kMinZoom;
  ViewPose pose;           ///< pan, tilt and whether tilt is at its limit
  int stepX = 0;           ///< turning speed set by dragging, source columns per step
  int stepY = 0;           ///< source rows per step
  HGLOBAL view = nullptr;  ///< last rendered Vw x Vh view; owned
  ViewTables tables;       ///< owned; rebuilt on zoom and display change
  int zoomInState = kButtonEnabled;
  int zoomOutState = kButtonDisabled;
};

/// Sets the state up for `source` (a 24-bit DIB): zoom 1.0, pan W div 2, tilt
/// and steps 0, no view, tables for zoom 1.0, zoom out disabled. False when the
/// source is not a usable 24-bit DIB.
bool OpenViewerState(HGLOBAL source, ViewerState* state);

/// Frees the view and the tables; the source stays with its owner.
void CloseViewerState(ViewerState* state);

/// One view step: pan and tilt advance by the steps, a new view is rendered
/// (correcting pan and tilt) and replaces the previous one. False when no view
/// could be made (the previous one is then kept).
bool ViewStep(ViewerState* state);

/// A new 536 x 298 24-bit DIB rendered from `source` at `pose`, with the
/// source's header (width, height and size replaced, both resolutions the
/// source's horizontal one). Null when the source is unusable or memory is short.
HGLOBAL RenderViewDib(HGLOBAL source, const ViewTables& tables, ViewPose* pose);

/// Zoom by one step (0.1) in or out, clamped to 1.0..3.0, with the buttons'
/// states; the tables are rebuilt. The caller then sends a view step.
void ZoomIn(ViewerState* state);
void ZoomOut(ViewerState* state);

/// Turning speed while dragging: half the distance from the press point,
/// truncated toward zero.
inline int DragStep(int from, int to) { return (to - from) / 2; }

/// The cursor resource shown while dragging at this speed. At the tilt limit
/// the diagonal cursors give way to the horizontal ones.
int DragCursor(int stepX, int stepY, bool atTiltLimit);

/// A 24-bit copy of an 8-bit palette DIB (a grey panorama read from a file),
/// through its colour table. Null when `dib` is not 8 bits or memory is short.
HGLOBAL ExpandPalette8To24(HGLOBAL dib);

}  // namespace vmd

#endif  // APP_VIEWER_VIEWER_STATE_H
