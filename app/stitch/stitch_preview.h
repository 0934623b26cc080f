#ifndef APP_STITCH_STITCH_PREVIEW_H
#define APP_STITCH_STITCH_PREVIEW_H

/// The "StitchPreview Window": the freshly blended panorama with the part
/// automatic cropping keeps, fitted or zoomed and panned, and the pick mode
/// that names a join for fine tuning. Its arithmetic is preview_geometry.h's.

#include <windows.h>

namespace vmd {

enum PreviewCloseMode : int {
  kPreviewCloseOnly = 0,       ///< fine tuning takes over
  kPreviewCloseWithImage = 1,  ///< accepted: the final image is delivered
  kPreviewCloseAndReset = 2,   ///< back or cancel: the view starts fitted next time
};

/// Opens the preview over `area` (main window client coordinates, right and
/// bottom inclusive) with a copy of the panorama and Blend's rectangle.
bool ShowStitchPreview(HWND parent, const RECT& area, HGLOBAL panorama, const RECT& blendRect);
/// Closes the preview; mode 1 puts the final image (the owner frees it) in
/// *image: cut to the crop rectangle while auto crop is on.
void ClosePreview(int mode, HGLOBAL* image);

void ToggleAutoCrop();
void PreviewZoomIn();
void PreviewZoomOut();
void TogglePickMode();

}  // namespace vmd

#endif  // APP_STITCH_STITCH_PREVIEW_H
