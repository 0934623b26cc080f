#ifndef ENGINE_EXPOSURE_H
#define ENGINE_EXPOSURE_H

#include "seamcore.h"

namespace seam {

/// Which neighbour a brightness step is measured to.
enum class NeighbourKind { kRight, kUp };

/// Brightness of a pixel: blue + green + red (0 to 765).
/// Mean brightness of `b` minus that of `a` over their overlap, per colour byte,
/// measured on the coarsest level every photo has. The overlap comes from the
/// mean offset of the pair list (taken to be at `renderLevel`). 0 when the list
/// is empty, the photos do not meet, or 9 or fewer pixels have a brightness
/// strictly between 45 and 720 in both.
long MeasureBrightnessStep(const StitchMatrix& matrix, int column, int row, NeighbourKind kind,
                           int renderLevel);

/// The coarsest level that every filled cell's pyramid holds (at most 9).
int CommonCoarsestLevel(const StitchMatrix& matrix);

/// Sets every photo's exposureOffset (0 when balancing is off) and measures the
/// rightBrightnessStep and upBrightnessStep of every neighbour pair; for the
/// full circle the first photo's rightBrightnessStep then holds the loop step
/// (the brightness error around the circle per photo).
void BalanceExposure(StitchMatrix& matrix, const StitchOptions& options, int renderLevel);

}  // namespace seam

#endif  // ENGINE_EXPOSURE_H
