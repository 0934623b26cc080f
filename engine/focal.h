#ifndef ENGINE_FOCAL_H
#define ENGINE_FOCAL_H

/// Focal length estimation from the correspondence lists.
///
/// For a full circle the focal length follows from the total horizontal travel
/// around the ring; for the other layouts it is the length under which the
/// angle between two scene points agrees in both photos of every pair,
/// searched by golden section. Lists are read in pixels of level k; centres
/// are those of PhotoCentre; results are in level-0 pixels.

#include "seamcore.h"

namespace seam {

/// Writes options->lensMode and options->focal (and leaves lensReserved
/// undefined, as the one block they form): telephoto mode 2 gives 10 x the
/// longest side of the largest photo; otherwise mode 0 with the ring estimate
/// (layout 3; when that is below half the longest side, or not a number,
/// every right list of the ring is replaced by the default synthetic triangle
/// and the ring estimate taken again) or the golden-section estimate. Mode 1
/// is the caller's business (it is not to be called then). Never fails.
void EstimateFocal(StitchMatrix* matrix, StitchOptions* options, int level);

/// The ring's circumference (sum over the photos of the mean x where the right
/// neighbour overlaps minus the mean x where the left neighbour overlaps) over
/// 2 pi, in level-0 pixels. NaN when a right list is empty.
double RingFocal(const StitchMatrix& matrix, int level);

/// The sum over all pairs of the layout and all two entries of a list of
/// |angle between the two points in P - angle between them in Q| weighted by
/// the four ray lengths, for a focal length of `focalAtLevel` level-k pixels.
/// 0 for a layout without pairs.
double AngleCost(const StitchMatrix& matrix, int level, double focalAtLevel);

/// The golden-section estimate between 0.5 and 5 times the longest photo side,
/// in level-0 pixels; 5 times the longest side when the search ends at its
/// short end (a pure shift fits an infinitely long lens best).
double GoldenSectionFocal(const StitchMatrix& matrix, int level);

/// The longest side (level-0 pixels) over all photos of the matrix.
double LongestPhotoSide(const StitchMatrix& matrix);

}  // namespace seam

#endif  // ENGINE_FOCAL_H
