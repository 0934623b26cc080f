#ifndef ENGINE_REFINE_H
#define ENGINE_REFINE_H

/// The joint refinement of every photo's orientation (and, when asked, the
/// focal length) over the points of every pair of the layout, the full
/// circle's closing pair included: the orientations that best make each
/// pair's two rays of a point meet in the panorama frame, in the least-squares
/// sense with far points weighed down (Cauchy weights at 2 level pixels).
/// The first photo keeps its orientation, so the panorama frame stays.
/// Lists are read in pixels of `level`.

#include "seamcore.h"

namespace seam {

/// Refines the orientations in place; with `refineFocal` options->focal too,
/// kept only when it lands within a fifth of where it started (otherwise the
/// refinement runs again with the focal length fixed). Deterministic. False
/// (nothing changed) when the layout has no pair with points.
bool RefineOrientations(StitchMatrix* matrix, StitchOptions* options, int level, bool refineFocal);

}  // namespace seam

#endif  // ENGINE_REFINE_H
