#ifndef APP_ACQUIRE_ACQUIRED_PHOTO_H
#define APP_ACQUIRE_ACQUIRED_PHOTO_H

/// Where an acquired picture is kept: a JPEG file in the acquisition folder
/// ("DefaultTwainDir" of "vmd3.set", else the user's documents folder), named
/// by the program's photo naming (the month, the day and a daily counter).

#include <string>

#include "win32_api.h"

namespace vmd {

/// The folder acquired pictures are written to (created when missing).
std::string AcquisitionFolder();

/// Writes a 24-bit picture as a JPEG file under the next photo name; its
/// path in `path`. False when the file could not be written.
bool WriteAcquiredPhoto(HGLOBAL dib, std::string* path);

}  // namespace vmd

#endif  // APP_ACQUIRE_ACQUIRED_PHOTO_H
