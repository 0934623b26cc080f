#ifndef APP_PRINT_PRINT_JOB_H
#define APP_PRINT_PRINT_JOB_H

#include <windows.h>

#include <string>

#include "print_layout.h"

namespace vmd {

/// Prints `image` (a 24- or 8-bit DIB) on the printer device context `dc`
/// as one document named `documentName`: centred on the block of pages of
/// `layout` at its resolution, page by page in the layout's order, each page
/// the part of the scaled image that lies on it. The printing calls' results
/// are not examined; a failed page still ends the document. Returns the
/// number of pages sent.
int PrintImagePages(HDC dc, HGLOBAL image, const PrintLayout& layout,
                    const std::string& documentName);

/// The whole print command: wait cursor, a device context for the kept
/// printer with the layout's copy count, the pages, then the arrow cursor.
/// False when there is no printer (nothing is printed).
bool PrintImage(HGLOBAL image, const PrintLayout& layout, const std::string& documentName);

}  // namespace vmd

#endif  // APP_PRINT_PRINT_JOB_H
