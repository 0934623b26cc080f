#ifndef APP_STITCH_PHOTO_EDIT_VIEW_H
#define APP_STITCH_PHOTO_EDIT_VIEW_H

/// The photo editor's window ("StitchEditView Window"): paints the edited
/// picture with its crop box and marching ants, and passes the mouse to the
/// editor (photo_editor.h, whose PhotoEditCommand runs the commands).

#include <windows.h>

#include "photo_editor.h"

namespace vmd {

/// Prepares the editor for `image` (which the editor owns from here until
/// finish or cancel returns an image), closes an editor that is open, and
/// creates the editor window over `rect` of `parent` (inclusive: width
/// right - left + 1). Null when the image cannot be edited.
HWND OpenPhotoEditor(HWND parent, const RECT& rect, HGLOBAL image);
/// The same for a storyboard photo: finishing checks the cropped size with
/// `check` (0 = it may go back onto the storyboard).
HWND OpenStoryboardPhotoEditor(HWND parent, const RECT& rect, HGLOBAL image, int (*check)(int w, int h));
/// Enables the two zoom buttons and closes the editor window.
void ClosePhotoEditor();

/// Opens the editor on the program's current image (Home's Edit command).
HWND EditCurrentImage(HWND parent, const RECT& rect);
/// The Edit screen's OK (apply) or Cancel for the current image: the result
/// becomes the current image (marked unsaved when the edit changed it) and the
/// editor closes. False when the editor stays open (nothing to finish).
bool EndCurrentImageEdit(bool apply);

}  // namespace vmd

#endif  // APP_STITCH_PHOTO_EDIT_VIEW_H
