#ifndef ENGINE_SEAM_H
#define ENGINE_SEAM_H

#include <cstdint>
#include <vector>

#include "engine_dib.h"
#include "rects.h"
#include "work_buffer.h"

namespace seam {

/// Which side of an overlap the photos already on the canvas (the target) lie.
enum class SeamDirectionKind {
  kAcrossColumns,  ///< target to the left, the seam runs from row to row
  kAcrossRows,     ///< target below, the seam runs from column to column
};

/// A cost cell that is not covered by both images.
constexpr int32_t kBlockedCost = 765;
/// A seam whose mean cost exceeds this is replaced by a cross-fade.
constexpr int32_t kSeamMeanCostLimit = 45;

/// One point of a seam path, in cells of its cost grid.
struct SeamPoint {
  int row;
  int column;
};

/// A cost grid: width x height signed values, row by row, in an engine block.
struct CostGrid {
  int width = 0;
  int height = 0;
  WorkBuffer<int32_t> cells;
  /// Allocates width x height cells set to `value`; false when out of memory.
  bool Make(int w, int h, int32_t value);
  int32_t At(int row, int column) const { return cells[static_cast<size_t>(row) * width + column]; }
  int32_t& At(int row, int column) { return cells[static_cast<size_t>(row) * width + column]; }
};

/// A seam path ordered from the grid's last row towards its first, at most one
/// point per row. Grows by `growthStep` points when set, else by an eighth of
/// its count clamped to 4..1024, and always at least to the size needed.
class SeamPath {
 public:
  explicit SeamPath(int growthStep = 0) : growthStep_(growthStep) {}
  void Append(SeamPoint point);
  void Clear() { count_ = 0; }
  int Count() const { return count_; }
  int Capacity() const { return static_cast<int>(points_.size()); }
  const SeamPoint& operator[](int i) const { return points_[static_cast<size_t>(i)]; }
  SeamPoint& operator[](int i) { return points_[static_cast<size_t>(i)]; }

 private:
  std::vector<SeamPoint> points_;
  int count_ = 0;
  int growthStep_;
};

/// Number of levels of a cost pyramid over a grid of this size: 1 plus the
/// halvings of the shorter side while it is still at least 64, at most 10.
int CostPyramidLevels(int width, int height);
/// Halves a grid by unsigned 2 x 2 means (sizes truncated); false when out of memory.
bool HalveCostGrid(const CostGrid& grid, CostGrid& half);
/// The cheapest top-to-bottom path over one grid by the bucketed search from
/// every third start cell; empty when no row has an unblocked cell.
void FindCheapestPath(const CostGrid& grid, SeamPath& path);
/// Refines a path of the coarser grid onto `finer` (twice its size): each point
/// becomes the cheaper diagonal or column pair of its 2 x 2 block. On the last
/// step onto level 0 (`dropBlocked`) blocked cells are left out.
void RefinePath(const SeamPath& coarse, const CostGrid& finer, bool dropBlocked, SeamPath& out);
/// Searches the coarsest level of the grid's cost pyramid and refines down to
/// the grid itself. False when a pyramid level could not be allocated.
bool FindSeam(const CostGrid& grid, SeamPath& path);

/// Joins the layer to the target over `overlap` (canvas coordinates; each image
/// stores canvas pixel (x, y) at column x - rect.left, stored row y - rect.top).
/// The overlap is cut to both rectangles. Changes only the layer and its mask;
/// the target is read. Returns false when a working buffer could not be had,
/// in which case the layer is left unchanged.
bool SeamBlend(const RECT& overlap, const RECT& layerRect, const RECT& targetRect,
               const PixelView& layer, const PixelView& layerMask, const PixelView& target,
               const PixelView& targetMask, SeamDirectionKind direction);

/// Copies every pixel of `area` whose source mask is set from the source into
/// the destination and sets the destination mask there (24-bit images, 8-bit
/// masks, canvas coordinates as for SeamBlend).
void Paste(const RECT& area, const RECT& sourceRect, const RECT& destinationRect,
           const PixelView& source, const PixelView& sourceMask, const PixelView& destination,
           const PixelView& destinationMask);


}  // namespace seam

#endif  // ENGINE_SEAM_H
