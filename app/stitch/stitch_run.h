#ifndef APP_STITCH_STITCH_RUN_H
#define APP_STITCH_STITCH_RUN_H

/// The engine side of the program's stitch: the storyboard's checks, the
/// matrix built from its places, Align and Blend with the cancel flag, and the
/// release of the pyramids. No window is touched here; the session's windows
/// (stitch_session.cpp) show the messages and the progress.

#include <vector>

#include "seamcore.h"
#include "stitch_plan.h"
#include "storyboard.h"

namespace vmd {

/// The photos of a storyboard in place order, with their grid places (tile
/// panoramas only) and their sizes (16-bit header values).
struct StoryboardPhotos {
  std::vector<HGLOBAL> photos;
  std::vector<GridPlace> places;
  std::vector<PhotoSize> sizes;
};
StoryboardPhotos CollectStoryboardPhotos(const Storyboard& board);

/// The first check that refuses a stitch of the storyboard: a string id
/// (kPlanOk when every check passes) and whether the message carries the
/// exclamation icon.
struct StitchRefusal {
  int message;
  bool icon;
};
StitchRefusal CheckStoryboardForStitch(const Storyboard& board);

/// Whether the engine accepts the storyboard's grid as a tile layout.
int CheckTileLayout(const Storyboard& board);

/// The engine's records of one stitch, alive from RunStitch until the user
/// leaves the preview (the preview's Locate and fine tuning's re-blend use
/// them).
struct StitchEngineState {
  int kind = PanoHorizontal;
  StitchOptions options = {};
  StitchMatrix matrix = {};
  int cancelled = 0;  ///< set by the progress callback when Esc was pressed
};

enum class StitchOutcome { kStitched, kCancelled, kFailed, kOutOfMemory };

/// Shapes the matrix from the storyboard, builds a pyramid per photo,
/// converts the focal length of `state.options` to pixels (lens other than
/// automatic), aligns and blends. kStitched leaves the image in *panorama,
/// Blend's rectangle in *rect and the pyramids alive; every other outcome
/// releases them and leaves *panorama null (kOutOfMemory leaves them: the
/// program closes).
StitchOutcome StitchStoryboard(const Storyboard& board, StitchEngineState& state, StitchProgressProc progress,
                               HGLOBAL* panorama, RECT* rect);

/// Releases every pyramid of the matrix, the pyramid records and the element
/// array; the matrix is empty afterwards. Nothing happens without elements.
void ReleaseStitchPyramids(StitchMatrix& matrix);

}  // namespace vmd

#endif  // APP_STITCH_STITCH_RUN_H
