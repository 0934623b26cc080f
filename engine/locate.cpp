#include "locate.h"

#include <climits>
#include <vector>

#include "blend.h"

namespace seam {

namespace {

bool Contains(const RECT& r, long long x, long long y) {
  return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

long long SquaredDistanceToCentre(const RECT& r, long long x, long long y) {
  const long long cx = (static_cast<long long>(r.left) + r.right) / 2;
  const long long cy = (static_cast<long long>(r.top) + r.bottom) / 2;
  return (x - cx) * (x - cx) + (y - cy) * (y - cy);
}

struct Candidate {
  int column;
  int row;
  long long distance;
};

}  // namespace

void LocatePhotos(StitchMatrix& matrix, const StitchOptions& options, POINT point,
                  CellPosition* first, CellPosition* second) {
  *first = CellPosition{};
  *second = CellPosition{};
  if (!matrix.elements || matrix.columns <= 0 || matrix.rows <= 0) return;
  const RenderSetup setup = MakeRenderSetup(matrix, options);
  if (setup.circumference <= 0) return;
  std::vector<PhotoFootprint> footprints;
  RECT canvas;
  if (!ComputeFootprints(matrix, setup, footprints, &canvas)) return;
  const bool circle = matrix.layout == kLayoutCircle;
  if (circle && canvas.right - canvas.left > setup.circumference) {
    canvas.left = 0;
    canvas.right = setup.circumference;
  }
  if (setup.quarterTurned)
    point = QuarterTurnedCanvasPoint(point, static_cast<int>(canvas.bottom - canvas.top));
  const long long px = static_cast<long long>(point.x) + canvas.left;
  const long long py = static_cast<long long>(point.y) + canvas.top;
  // Only a full circle continues past its right edge into its left.
  const long long px2 = circle ? px + (canvas.right - canvas.left) : px;

  std::vector<Candidate> candidates;
  for (int row = 0; row < matrix.rows; ++row)
    for (int column = 0; column < matrix.columns; ++column) {
      const PhotoFootprint& f = footprints[static_cast<size_t>(column + row * matrix.columns)];
      if (!f.present) continue;
      if (!Contains(f.rect, px, py) && !Contains(f.rect, px2, py)) continue;
      const long long d1 = SquaredDistanceToCentre(f.rect, px, py);
      const long long d2 = SquaredDistanceToCentre(f.rect, px2, py);
      candidates.push_back({column, row, d1 < d2 ? d1 : d2});
    }
  if (candidates.empty()) return;
  size_t nearest = 0;
  for (size_t i = 1; i < candidates.size(); ++i)
    if (candidates[i].distance < candidates[nearest].distance) nearest = i;
  const Candidate& n = candidates[nearest];
  auto isNeighbour = [&](const Candidate& c) {
    const int dc = c.column > n.column ? c.column - n.column : n.column - c.column;
    const int dr = c.row > n.row ? c.row - n.row : n.row - c.row;
    if (dr == 0 && (dc == 1 || (circle && matrix.columns > 2 && dc == matrix.columns - 1)))
      return true;
    return dc == 0 && dr == 1;
  };
  long long best = LLONG_MAX;
  int partner = -1;
  for (size_t i = 0; i < candidates.size(); ++i) {
    if (i == nearest || !isNeighbour(candidates[i])) continue;
    if (candidates[i].distance < best) {
      best = candidates[i].distance;
      partner = static_cast<int>(i);
    }
  }
  if (partner < 0) {
    *first = CellPosition{n.column, n.row};
    *second = *first;
    return;
  }
  const Candidate& p = candidates[static_cast<size_t>(partner)];
  if (p.column < n.column || p.row < n.row) {
    *first = CellPosition{p.column, p.row};
    *second = CellPosition{n.column, n.row};
  } else {
    *first = CellPosition{n.column, n.row};
    *second = CellPosition{p.column, p.row};
  }
  if (circle && first->column == 0 && second->column == matrix.columns - 1) {
    const CellPosition t = *first;
    *first = *second;
    *second = t;
  }
}

}  // namespace seam

extern "C" SEAMCORE_API long Locate(StitchMatrix* matrix, StitchOptions* options, POINT point,
                                    LONG* firstColumn, LONG* firstRow, LONG* secondColumn,
                                    LONG* secondRow) {
  seam::CellPosition first, second;
  if (matrix && options) seam::LocatePhotos(*matrix, *options, point, &first, &second);
  if (firstColumn) *firstColumn = first.column;
  if (firstRow) *firstRow = first.row;
  if (secondColumn) *secondColumn = second.column;
  if (secondRow) *secondRow = second.row;
  return 0;
}
