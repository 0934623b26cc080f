#ifndef ENGINE_ALIGN_H
#define ENGINE_ALIGN_H

/// Alignment of every pair of neighbouring photos, coarse to fine.
///
/// Align (exported, see seamcore.h) searches the translation of each pair
/// exhaustively at the coarsest common pyramid level, replaces it by matched
/// feature points, then at every finer level re-matches feature points where
/// the previous level's rotation predicts them, keeping the most consistent
/// sample. After each level it re-estimates the focal length and re-solves the
/// pair rotations. The building blocks are exposed here for tests and for the
/// focal estimate's fallback.

#include <cstdint>

#include "camera.h"
#include "progress.h"
#include "seamcore.h"

namespace seam {

/// The run-time library's linear congruential generator: state x 214013 +
/// 2531011, output bits 16 to 30. Seeded per trial so runs repeat exactly.
class LinearCongruential {
 public:
  explicit LinearCongruential(uint32_t seed) : state_(seed) {}
  int Next() {
    state_ = state_ * 214013u + 2531011u;
    return static_cast<int>((state_ >> 16) & 0x7fff);
  }

 private:
  uint32_t state_;
};

/// Replaces the pair's list by three pairs that express a pure shift between P
/// and Q at `level` (sizes of that level): from the list's first pair when the
/// list is not empty, else from an assumed overlap (a quarter of Q's width at
/// three quarters of P's for a right pair; likewise upward).
void SetSyntheticTriangle(StitchMatrix& matrix, const NeighbourPair& pair, int level);

/// The exhaustive, brightness-compensated translation search of Q in P's
/// frame at `level`; writes P's list as one pair (best x, best y, 0, 0) and
/// the reserved field 0. Progress runs from `first` to `last` percent, with a
/// cancellation check after each report. Returns 0 or 1 (cancelled).
long CoarseSearch(StitchMatrix& matrix, const NeighbourPair& pair, int level, int first, int last,
                  ProgressReporter& progress);

/// The number of pairs the coarse search and the finer levels share progress
/// among: every right and upper pair of the grid, photos or not, for the tile
/// grid; the layout's pairs otherwise.
int ProgressPairCount(const StitchMatrix& matrix);
/// The position of a pair in that count.
int ProgressPairIndex(const StitchMatrix& matrix, const NeighbourPair& pair);

/// Matches a pair at the start level from its coarse shift: sets the four
/// overlap rectangles (level-0 pixels) and fills the list with up to 8 matched
/// points, or the synthetic triangle. Returns 0 or 10001.
long MatchFirstLevel(StitchMatrix& matrix, const NeighbourPair& pair, int level);

/// Re-matches a pair at a finer level where the pair rotation of the previous
/// level predicts the points, keeping the sample of 3 or 6 most consistent
/// with one rotation, or the synthetic triangle. Returns 0 or 10001.
long MatchFinerLevel(StitchMatrix& matrix, const StitchOptions& options, const NeighbourPair& pair,
                     int level);

}  // namespace seam

#endif  // ENGINE_ALIGN_H
