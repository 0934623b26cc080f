#ifndef PLATFORM_QUICKTIME_MOVIE_MODEL_H
#define PLATFORM_QUICKTIME_MOVIE_MODEL_H

// The layer's movies in memory, and their file form.

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "quicktime.h"

struct QtHandleRec {
  std::vector<uint8_t> bytes;
};

struct QtSample {
  std::vector<uint8_t> bytes;
  uint32_t duration = 0;          ///< in the media's time scale
  uint32_t descriptionIndex = 1;  ///< 1-based
};

struct QtEdit {
  uint32_t duration = 0;  ///< in the movie's time scale
  int32_t mediaTime = 0;  ///< -1 = empty
  QtFixed rate = 0x10000;
};

struct QtMediaRec {
  QtType type = 0;
  uint32_t timeScale = 600;
  std::vector<std::vector<uint8_t>> descriptions;  ///< whole sample descriptions, size first
  std::vector<QtSample> samples;
  QtTrackRec* track = nullptr;
};

struct QtTrackRec {
  uint32_t id = 0;
  QtFixed width = 0, height = 0;
  int16_t volume = 0;  ///< 8.8
  int16_t layer = 0;
  bool enabled = true;
  std::unique_ptr<QtMediaRec> media;
  std::vector<QtEdit> edits;
  std::vector<std::pair<QtType, std::vector<uint32_t>>> references;  ///< track ids by type
  QtMovieRec* movie = nullptr;
};

struct QtMovieRec {
  uint32_t timeScale = 600;
  std::vector<std::unique_ptr<QtTrackRec>> tracks;
  std::vector<std::pair<QtType, std::vector<uint8_t>>> userData;
  uint32_t nextTrackId = 1;
  QtProgressProc progress = nullptr;
  void* progressRef = nullptr;
};

namespace qtl {

/// A track's duration in its movie's time scale: the sum of its edits.
uint32_t TrackDuration(const QtTrackRec& track);
uint32_t MediaDuration(const QtMediaRec& media);

/// Writes `movie` to `path`: the media data then the movie resource, or with
/// `flatten`, the movie resource first (zlib-compressed in a 'cmov' atom when
/// `compress`). Replaces the file only once it is complete.
QtErr WriteMovieFile(const QtMovieRec& movie, const std::string& path, bool flatten, bool compress);

/// Reads a movie written by WriteMovieFile (either form), samples included.
/// Any other bytes give kQtInvalidMovie or kQtNoMovieFound, never a crash.
QtErr ReadMovieFile(const std::string& path, std::unique_ptr<QtMovieRec>* movie);
/// The same over the file's bytes in memory.
QtErr ParseMovie(const std::vector<uint8_t>& file, std::unique_ptr<QtMovieRec>* movie);

}  // namespace qtl

#endif  // PLATFORM_QUICKTIME_MOVIE_MODEL_H
