#ifndef APP_STITCH_PHOTO_EDITOR_H
#define APP_STITCH_PHOTO_EDITOR_H

/// The photo editor's state and commands, apart from its window: the picture
/// being edited, its reduced and turned and adjusted copies, the crop box, and
/// the mouse handling that moves the box or pans the picture. The window
/// (photo_edit_view.h) paints what this holds and passes the mouse on.

#include <string>

#include "photo_edit_geometry.h"
#include "win32_api.h"

namespace vmd {

/// The editor's commands (low 16 bits of the command word; the value is in the
/// high 16 bits).
enum PhotoEditCommandId {
  kEditBrightness = 0,  ///< value 0 .. 100
  kEditContrast = 1,
  kEditHue = 2,
  kEditSaturation = 3,
  kEditTurnLeft90 = 4,
  kEditTurnRight90 = 5,
  kEditTurnLeft2 = 6,
  kEditTurnRight2 = 7,
  kEditZoomIn = 8,
  kEditZoomOut = 9,
  kEditCropMode = 10,
  kEditReset = 12,
  kEditFinish = 13,
  kEditCancel = 14,
  kEditSave = 15,
};

/// Who asked for the edit (PhotoEditCommand's purpose).
enum PhotoEditPurpose {
  kEditOrdinary = 0,
  kEditCurrentImage = 1,
  kEditStoryboardPhoto = 2,
};

/// The one editor record of the program.
struct PhotoEditState {
  HGLOBAL source = nullptr;   ///< owned from opening until finish or cancel returns an image
  HGLOBAL working = nullptr;  ///< source reduced by the zoom, unturned; owned
  HGLOBAL display = nullptr;  ///< working turned and adjusted: what is painted; owned
  int sourceW = 0, sourceH = 0;
  int viewW = 0, viewH = 0;   ///< the view's client size
  int zoom = 1;
  int angle = 0;              ///< degrees, accumulated
  int renderedAngle = 0;      ///< the angle the display was made with
  int brightness = 100, contrast = 100, hue = 100, saturation = 100;  ///< 0 .. 200
  bool cropMode = true;
  RECT cropBox = {};          ///< client coordinates
  RECT cropLimits = {};       ///< the displayed picture, client coordinates
  POINT offset = {};          ///< the picture's corner when smaller than the view
  POINT pan = {};
  POINT panMax = {};
  bool panX = false, panY = false;
  bool modified = false;
  int phase = 0;              ///< marching ants, 0 .. 6
  // The mouse.
  int dragHandle = kCropNone;
  bool panning = false;
  POINT dragStart = {};
  RECT dragStartBox = {};
  POINT panStart = {};
};

extern PhotoEditState g_photoEdit;

/// What the editor needs from the program; unset entries do nothing (the
/// storyboard check then allows any size PhotoSizeAllowed allows).
struct PhotoEditHooks {
  void (*repaint)() = nullptr;                                 ///< the view must be repainted
  bool (*askSavePath)(std::string* path) = nullptr;           ///< the program's Save dialog
  bool (*writeImage)(HGLOBAL dib, const std::string& path) = nullptr;
  void (*cropRefused)() = nullptr;                             ///< "Please change the crop box again ..."
  /// 0 when a storyboard photo of w x h may be placed (CheckPhotoForStoryboard's codes).
  int (*checkStoryboardPhoto)(int w, int h) = nullptr;
};
void SetPhotoEditHooks(const PhotoEditHooks& hooks);

/// Prepares the editor for `image` in a view of viewW x viewH: the display, the
/// zoom, the crop box (the whole picture) and the layout. The editor owns
/// `image` from here. Zoom-in is disabled when the picture is shown at full size.
bool PreparePhotoEdit(HGLOBAL image, int viewW, int viewH);

/// The editor's command entry: command in the low 16 bits of `command`, value
/// in the high 16 bits. Finish and cancel return an image (the caller owns it)
/// and set *modified; finish returns null (and the editor stays) when a
/// storyboard photo's crop is refused or nothing is displayed.
HGLOBAL PhotoEditCommand(DWORD command, int* modified, int purpose);

/// Frees the working and display images (the window's end); the source stays.
void ReleasePhotoEditImages();

/// The source turned and adjusted as the display is, at full resolution (the
/// caller frees it); null when there is no source.
HGLOBAL RenderFullResolution();

/// The display with the pixels outside the crop box washed out when cropMode
/// is on, else a copy; the caller frees it.
HGLOBAL PaintableDisplay();
/// Where the display's top-left corner lies in the view (offset minus pan).
POINT DisplayOrigin();

/// The mouse in the view (client coordinates). Each returns the cursor to show;
/// *boxMoved is set when the crop box must be drawn again at once, *repaint
/// when the whole view must be painted again.
EditCursorKind PhotoEditButtonDown(POINT point);
EditCursorKind PhotoEditMouseMove(POINT point, bool buttonDown, bool* boxMoved, bool* repaint);
EditCursorKind PhotoEditButtonUp(bool* repaint);

}  // namespace vmd

#endif  // APP_STITCH_PHOTO_EDITOR_H
