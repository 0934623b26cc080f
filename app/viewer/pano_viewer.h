#ifndef APP_VIEWER_PANO_VIEWER_H
#define APP_VIEWER_PANO_VIEWER_H

#include <windows.h>

namespace vmd {

/// The view step: the viewer advances by its turning speed and repaints.
/// wParam, lParam: 0.
constexpr UINT kMsgViewStep = WM_USER + 1001;  // 2025

/// The View Panorama command: nothing without an image; an image narrower
/// than high gets "Panorama view available for landscape images only." over
/// `main`; otherwise the viewer opens on it.
void ViewPanoramaCommand(HWND main, HGLOBAL image);

/// Opens the full-screen viewer and its control bar on `image` (24-bit, or an
/// 8-bit palette image, viewed through a 24-bit copy). The image stays with
/// its owner and must live until the viewer closes. False when it cannot be
/// viewed or the windows cannot be made; an open viewer is closed first.
bool OpenPanoramaViewer(HWND main, HGLOBAL image);

/// Closes the viewer and its bar if open. Whenever the viewer closes, the main
/// window is posted WM_USER+502 (wParam, lParam: 0).
void ClosePanoramaViewer();

/// The viewer window, or null when closed.
HWND PanoramaViewerWindow();

}  // namespace vmd

#endif  // APP_VIEWER_PANO_VIEWER_H
