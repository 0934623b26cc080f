#ifndef APP_PRINT_DIB_CROP_H
#define APP_PRINT_DIB_CROP_H

#include "win32_api.h"

namespace vmd {

/// A new DIB of the pixels [left, right) x [top, bottom) of `dib`, rows
/// counted from the top of the picture (the engine counts them from the
/// bottom). 24-bit and 8-bit DIBs (with their colour table). Null for other
/// depths, a rectangle not inside the image, or when memory is short. Caller frees.
HGLOBAL CropDibFromTop(HGLOBAL dib, const RECT& area);

}  // namespace vmd

#endif  // APP_PRINT_DIB_CROP_H
