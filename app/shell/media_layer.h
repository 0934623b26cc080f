#ifndef APP_SHELL_MEDIA_LAYER_H
#define APP_SHELL_MEDIA_LAYER_H

namespace vmd {

/// What the media layer reports about panorama-movie support.
struct MediaSupport {
  bool panoramaMovies = false;
  int version = 0;
};

/// Starts the media layer for movie export and tests for panorama-movie
/// support. This build has no movie layer yet: it reports no support, which
/// the export commands already handle (they offer the download message).
MediaSupport StartMediaLayer();

/// Stops what StartMediaLayer started.
void StopMediaLayer();

}  // namespace vmd

#endif  // APP_SHELL_MEDIA_LAYER_H
