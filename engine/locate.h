#ifndef ENGINE_LOCATE_H
#define ENGINE_LOCATE_H

/// Locate: which photos make up the panorama at a point, from the orientations
/// and focal length that the last Blend left in the records (nothing is
/// rendered). The export is declared in seamcore.h.

#include "seamcore.h"

namespace seam {

/// A grid position; (-1, -1) for none.
struct CellPosition {
  LONG column = -1;
  LONG row = -1;
};

/// The photo nearest to `point` (panorama pixels, stored rows) and the edge
/// neighbour sharing the overlap there, the one to the left or below first;
/// both the nearest when no neighbour holds the point, both (-1, -1) when no
/// photo does. On a full circle the pair around the wrap reads (last, 0).
void LocatePhotos(StitchMatrix& matrix, const StitchOptions& options, POINT point,
                  CellPosition* first, CellPosition* second);

}  // namespace seam

#endif  // ENGINE_LOCATE_H
