#ifndef APP_EXPORT_PANORAMA_MOVIE_H
#define APP_EXPORT_PANORAMA_MOVIE_H

#include <string>

#include "quicktime.h"

namespace vmd {

/// What the movie writer asks of the program while it works.
struct PanoramaMovieHooks {
  /// Shows tile progress (1 to 100); true when the user cancelled (Escape).
  bool (*progress)(int percent, void* context) = nullptr;
  /// Tells the user the picture is not a landscape one.
  void (*notLandscape)(void* context) = nullptr;
  void* context = nullptr;
};

/// The unflattened movie's name: `moviePath` with its last character made 't',
/// or '@' when it already is 't'.
std::string UnflattenedMovieName(const std::string& moviePath);

/// Turns the bitmap at `bitmapPath` (the panorama turned by 270 degrees) into
/// a single-node cylindrical panorama movie at `moviePath`, through `qt`:
/// 24 tiles of height / 24 rows in a tile movie, then the panorama movie
/// around them, flattened into one file. The intermediate files are deleted.
/// Returns the first layer error (kQtUserCanceled when cancelled, 1 when the
/// picture is taller than wide after turning, -37 when a file name is longer
/// than 255 characters); 0 when the movie was written.
int MakePanoramaMovie(const QtDispatch& qt, const std::string& bitmapPath,
                      const std::string& moviePath, const PanoramaMovieHooks& hooks);

/// The half vertical field of view of a tile, in degrees, as the panorama
/// sample stores it.
float HalfFieldOfView(int tileWidth, int tileHeight);

}  // namespace vmd

#endif  // APP_EXPORT_PANORAMA_MOVIE_H
