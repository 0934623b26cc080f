#ifndef ENGINE_PYRAMID_H
#define ENGINE_PYRAMID_H

#include "engine_dib.h"

namespace seam {

/// Reduces a locked 24-bit image by `factor` in each direction with an n x n box
/// filter (sum + n*n/2, divided by n*n) into a new owned 24-bit buffer of
/// width / n by height / n; a last partial column or row is dropped.
/// Returns 1, or 0 when the new buffer cannot be allocated (or would be empty).
int ReduceImage(const PixelView& source, int factor, EngineDib& out);

}  // namespace seam

#endif  // ENGINE_PYRAMID_H
