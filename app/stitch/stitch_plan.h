#ifndef APP_STITCH_STITCH_PLAN_H
#define APP_STITCH_STITCH_PLAN_H

/// How a list of photos and a panorama kind become the engine's matrix and
/// the focal length handed to it, with the photo and count checks that come
/// first. The program's stitch session and vmd3-stitch both decide here, so
/// the same photos and choices give the same panorama.

#include <utility>
#include <vector>

#include "panorama_kind.h"

namespace vmd {

/// String ids of the checks' messages.
enum StitchPlanMessage : int {
  kPlanOk = 0,
  kPlanNeedTwo = 50128,          ///< "Must include at least 2 photos."
  kPlanBadPlaces = 50129,        ///< "Please place photos into proper space."
  kPlanNeedThree = 50134,        ///< "Must include at least 3 photos."
  kPlanNeedSix = 50135,          ///< "Must include at least 6 photos."
  kPlanLongAndNarrow = 50136,    ///< "The photo's dimension must be between 1:2 and 2:1 ..."
  kPlanTooSmall = 50034,         ///< "Please select a photo larger than 64x64 pixels."
  kPlanOutOfMemory = 50137,      ///< "Not enough memory. Quit the program."
};

/// The English text of a check's message, for programs without the string
/// table (vmd3-stitch); "" for kPlanOk.
const char* StitchPlanText(int message);

/// A place of the 4 x 4 tile grid: column from the left and row from the
/// top, both 0 to 3.
using GridPlace = std::pair<int, int>;
constexpr int kTileGridSide = 4;

struct PhotoSize {
  int width;
  int height;
};

/// The per-photo checks in photo order, ratio before size: the message of
/// the first photo that fails, or kPlanOk.
int CheckPhotoSizes(const std::vector<PhotoSize>& sizes);

/// The count check of the kind: its message, or kPlanOk.
int CheckPhotoCount(int kind, int count);

/// The engine matrix's shape: element (c, r) is photoOfElement[c + r * columns],
/// an index into the photo list, or -1 for an empty tile cell. Row 0 is the
/// bottom row.
struct MatrixShape {
  int columns = 0;
  int rows = 0;
  std::vector<int> photoOfElement;
};

/// Row and circle: photos left to right. Column: the photos are given top to
/// bottom, so row 0 holds the last. Tile: `places` holds each photo's grid
/// place; the matrix is their bounding box with the lowest occupied grid row
/// as matrix row 0.
MatrixShape ShapeMatrix(int kind, int count, const std::vector<GridPlace>& places);

/// The photo whose size converts the focal length: the first photo for rows,
/// columns and circles; matrix element (0, 0) for a tile grid, or the first
/// occupied element when that cell is empty. -1 with no photo.
int ReferencePhoto(int kind, const MatrixShape& shape);

/// Whether the engine accepts a tile grid of this shape (the filled cells
/// matter, not the photos): VerifyMatrixLayout over placeholder pyramids.
bool TileLayoutAccepted(const MatrixShape& shape);

/// The focal length handed to Align: with a lens other than automatic, the
/// millimetres as pixels of the reference photo; otherwise unchanged.
double EngineFocal(int kind, int lensMode, double focal, const MatrixShape& shape,
                   const std::vector<PhotoSize>& sizes);

/// The panorama's crop rectangle, top-down, from the RECT Blend returns for a
/// panorama `height` rows high (bottom-up rows): (left, height - bottom - 1,
/// right, height - top), right and bottom exclusive.
inline RECT CropRectTopDown(const RECT& blend, int height) {
  return RECT{blend.left, height - blend.bottom - 1, blend.right, height - blend.top};
}

/// A 35 mm-equivalent focal length in millimetres as pixels of a photo whose
/// longer side is `longerSide` pixels (the film frame's long side is 36 mm).
inline double FocalInPixels(double millimetres, int longerSide) { return millimetres * longerSide / 36.0; }

}  // namespace vmd

#endif  // APP_STITCH_STITCH_PLAN_H
