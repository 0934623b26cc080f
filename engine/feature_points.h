#ifndef ENGINE_FEATURE_POINTS_H
#define ENGINE_FEATURE_POINTS_H

/// Feature points and their matches between neighbouring photos.
///
/// Two primitives on 24-bit images (rows bottom-up, y counts stored rows): a
/// grid corner detector that keeps at most one point per cell, and an 8 x 8
/// template match by zero-mean sum of absolute
/// differences that also reports how much texture the template carries.
/// Rectangles are left/top inclusive, right/bottom exclusive, in stored rows.
/// Integer arithmetic throughout, apart from the contrast's square root.

#include <cstdint>

#include "engine_dib.h"

namespace seam {

struct FeaturePoint {
  LONG x = 0;
  LONG y = 0;
};

/// Finds up to columns x rows corner points of a 24-bit image inside `rect`
/// (clipped to leave a one-pixel border). `out` receives the points in cell
/// order (cells row by row) and must hold columns x rows entries; *count the
/// number written. A cell keeps its strongest point (response summed with its
/// four neighbours); points at or below min(percent % of the strongest cell,
/// 20) are dropped, and of two points within minDistance in both x and y the
/// weaker (the later on a tie) is dropped. Returns 0 or 10001 (working buffer).
long DetectFeatures(const PixelView& image, const RECT& rect, int columns, int rows,
                    int minDistance, int percent, FeaturePoint* out, int* count);

/// The 8 x 8 block of Q around a feature (fx, fy): top-left (fx - 4, fy - 4),
/// as signed deviations from its per-channel means (sum + 32) / 64.
struct MatchTemplate {
  int16_t deviation[64 * 3] = {};
  /// sqrt(sum of squared deviations / 192); 0 for a flat block.
  double contrast = 0;
  /// False when the block does not lie inside Q; such a template never matches.
  bool valid = false;
};

/// Takes the template of the feature at (fx, fy) from the (unsmoothed) Q.
MatchTemplate TakeTemplate(const PixelView& q, int fx, int fy);

/// Scans every 8 x 8 block of P inside `window` (clipped to P), rows of block
/// positions bottom to top, left to right, and writes the centre (bx + 4,
/// by + 4) of the first block with the strictly smallest zero-mean absolute
/// difference to *x, *y. Returns the template's contrast, or 0 (position left
/// alone) when the window is smaller than 8 x 8 or the template is not valid.
double FindTemplate(const PixelView& p, const MatchTemplate& templ, const RECT& window, LONG* x,
                    LONG* y);

/// The contrast a match must exceed to be kept.
constexpr double kMinimumMatchContrast = 3.0;

}  // namespace seam

#endif  // ENGINE_FEATURE_POINTS_H
