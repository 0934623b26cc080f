#ifndef APP_SHELL_IMAGE_FILES_H
#define APP_SHELL_IMAGE_FILES_H

/// Moving still images between files and DIBs through PIXIO: reading any
/// supported file as a 24-bit DIB, the web page's image strips, the check for
/// LZW-compressed TIFF files, and whether a folder accepts new files.

#include <string>

#include "win32_api.h"

namespace vmd {

/// Reads an image file as a 24-bit DIB (caller frees): an image of another
/// depth is converted and the unconverted one freed; *converted (when given)
/// tells whether that happened. Null when the file cannot be read.
HGLOBAL ReadImageFile(void* owner, const char* path, int* converted);

/// Converts a DIB of any depth to 24 bits, freeing the original when a new one
/// was made; null (the original freed) when the conversion fails.
HGLOBAL TakeAs24(HGLOBAL dib, int* converted);

/// Writes the web page's strips of an image: count strips, each W / count - 1
/// pixels wide and the image's full height, as "folder\i.jpg" with the JPEG
/// quality in force; the last is scaled from the rest of the image. False when
/// a strip could not be made or written.
bool WriteImageStrips(HGLOBAL dib, int count, const std::string& folder);

/// Whether a file is a TIFF file whose first image is LZW-compressed.
bool TiffFileUsesLzw(const char* path);

/// Whether a new file can be created in a folder: a temporary file (prefix
/// "VMD") is created with read and write access, closed and deleted.
bool CanCreateFileIn(const std::string& folder);

}  // namespace vmd

#endif  // APP_SHELL_IMAGE_FILES_H
