#ifndef APP_EXPORT_MOVIE_EXPORT_H
#define APP_EXPORT_MOVIE_EXPORT_H

#include <windows.h>

namespace vmd {

/// Shows tile progress (1 to 100) while a movie is written; true cancels.
using MovieProgressFn = bool (*)(int percent, void* context);

/// The movie writer of the Export command: turns the bitmap at `bitmapPath`
/// (the panorama turned by 270 degrees, "~ML.BMP") into the panorama movie
/// `moviePath` ("~ml.mov") through the started movie layer. `progress` (may
/// be null) sees each tile; without it Escape alone cancels. Quiet on every
/// failure except a picture taller than wide (50101, owned by `owner`); the
/// intermediate files are removed. Returns the layer's result, 0 when written.
int MakePanoramaMovie(HWND owner, const char* bitmapPath, const char* moviePath,
                      MovieProgressFn progress = nullptr, void* context = nullptr);

}  // namespace vmd

#endif  // APP_EXPORT_MOVIE_EXPORT_H
