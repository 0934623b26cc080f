#ifndef ENGINE_FULL_CIRCLE_H
#define ENGINE_FULL_CIRCLE_H

/// Closing a full circle: the closing rotation left after the focal refinement
/// is spread over the turn (a photo point at canvas column x is turned by
/// x / C of the closure angle about the closure axis), the loop's brightness
/// error is spread as a ramp over each photo, and the last photo's part beyond
/// the end of the cylinder is folded back onto its start.

#include <vector>

#include "blend.h"

namespace seam {

/// Replaces every first-pass footprint by the footprint of its rectangle's
/// border turned by the closure correction, with the correction angle kept per
/// column span, and returns the union, limited to one turn [0, C) when wider.
/// False when out of memory.
bool ApplyClosureToFootprints(const RenderSetup& setup, const ClosureCorrection& closure,
                              std::vector<PhotoFootprint>& footprints, RECT* canvas);

/// The position a corrected canvas point (x, y) takes its pixel from, for the
/// correction angle `a` of that point (from the column span's angles).
void CorrectCanvasPoint(const RenderSetup& setup, const ClosureCorrection& closure, double x,
                        double y, double a, double* u, double* v);

/// The exposure ramp of photo `column` of the circle: from minus half the loop
/// step at the start of its overlap band with the left neighbour to plus half
/// at the end of its band with the right neighbour.
ExposureRamp CircleExposureRamp(const StitchMatrix& matrix, const StitchOptions& options,
                                const RenderSetup& setup,
                                const std::vector<PhotoFootprint>& footprints, int column);

/// The wrap rectangle: set up when the last photo reaches past column C; from
/// the left of the first photo whose right exceeds C to the last photo's right,
/// with the canvas's top and bottom. False when no wrap is needed.
bool WrapRectangle(const StitchMatrix& matrix, const std::vector<PhotoFootprint>& footprints,
                   const RECT& canvasRect, int circumference, RECT* wrap);

/// Folds the wrap image back onto the canvas: its part before column C is
/// pasted, its part from C on is moved left by one turn and joined to the start
/// of the canvas through a seam. Returns 0 or 10001.
long FoldWrap(const RECT& canvasRect, const PixelView& canvas, const PixelView& canvasMask,
              const RECT& wrapRect, const PixelView& wrap, const PixelView& wrapMask,
              int circumference);

}  // namespace seam

#endif  // ENGINE_FULL_CIRCLE_H
