#ifndef APP_EXPORT_IMAGE_STRIPS_H
#define APP_EXPORT_IMAGE_STRIPS_H

#include "win32_api.h"

namespace vmd {

/// Writes a 24-bit DIB of width W as `count` JPEG strips "folder\k.jpg"
/// (k = 0 .. count - 1), each W / count - 1 columns wide and full height: strip
/// k holds the columns k x q up to, not including, (k + 1) x q - 1 (q = W / count);
/// the last strip is the rest of the picture scaled to that width. False when a
/// strip could not be written (strips already written stay).
bool WriteImageStrips(HGLOBAL dib, int count, const char* folder);

}  // namespace vmd

#endif  // APP_EXPORT_IMAGE_STRIPS_H
