#ifndef APP_STITCH_STITCH_CONTROLS_H
#define APP_STITCH_STITCH_CONTROLS_H

/// Services of the main window's control panel that the image windows and
/// commands call (app/shell/control_services.cpp defines them in the program;
/// control_services_default.cpp holds stand-ins for the native tests).

#include "win32_api.h"

namespace vmd {

/// Control ids of the Home screen.
constexpr int kControlViewDetail = 1;
constexpr int kControlEdit = 2;
constexpr int kControlPrint = 3;
constexpr int kControlSave = 4;
constexpr int kControlOpen = 5;
constexpr int kControlHomeImage = 110;  ///< the Home image area (a placeholder)
constexpr int kControlExport = 111;
constexpr int kControlViewPanorama = 327;
/// The Edit screen's zoom and crop buttons.
constexpr int kControlEditZoomIn = 214;
constexpr int kControlEditZoomOut = 215;
constexpr int kControlEditCrop = 216;

void EnableControl(int controlId);
void DisableControl(int controlId);
/// Draws a DIB fitted into the rectangle of a placeholder control.
void ShowImageInArea(int controlId, HGLOBAL dib);

}  // namespace vmd

#endif  // APP_STITCH_STITCH_CONTROLS_H
