#ifndef APP_SHELL_MEDIA_LAYER_H
#define APP_SHELL_MEDIA_LAYER_H

#include <string>

#include "quicktime.h"

namespace vmd {

/// What the media layer reports about panorama-movie support.
struct MediaSupport {
  bool panoramaMovies = false;
  int version = 0;
};

/// Results of starting the movie layer.
constexpr int kMovieLayerMissing = -2093;       ///< "QuickTime.qts" was not found
constexpr int kMovieLayerEntryMissing = -2094;  ///< it lacks one of its exports

/// The movie layer's file name, looked for beside the program, then in the
/// system folder.
constexpr char kMovieLayerFile[] = "QuickTime.qts";

/// Loads and starts the movie layer ("QuickTime.qts": the copy already loaded
/// in the process, else the one in `programFolder`, else the system folder's)
/// and binds its exports. 0 on success, else kMovieLayerMissing or
/// kMovieLayerEntryMissing (the library is then freed). Starts nest: each
/// successful start needs a StopMovieLayer.
int StartMovieLayerFrom(const std::string& programFolder);
/// StartMovieLayerFrom the program's own folder.
int StartMovieLayer();
void StopMovieLayer();

/// Asks the started layer whether it writes panorama movies ('qtvr' bit 0)
/// and for their version ('qtvv'). No support when the layer is not started.
MediaSupport StartPanoramaSupport();
void StopPanoramaSupport();

/// The start-up step: the movie layer, then the panorama-support test.
MediaSupport StartMediaLayer();
/// The exit step: undoes StartMediaLayer.
void StopMediaLayer();

/// The layer's calls while it is started; null otherwise, so that an export
/// then fails quietly.
const QtDispatch* MovieCalls();

}  // namespace vmd

#endif  // APP_SHELL_MEDIA_LAYER_H
