#ifndef TOOLS_STITCH_STITCH_PLAN_H
#define TOOLS_STITCH_STITCH_PLAN_H

/// The command-line stitcher's decisions, apart from any file or engine call:
/// its arguments, the photo checks of the program's stitch session, the shape
/// of the engine's matrix and the focal length handed to it.

#include <string>
#include <utility>
#include <vector>

namespace stitch {

/// Panorama kinds; the numbers are the matrix layouts of the engine.
enum PanoramaKind : int { kPanoRow = 0, kPanoColumn = 1, kPanoTile = 2, kPanoCircle = 3 };
/// Lens modes of the engine's options.
enum LensKind : int { kLensAutomatic = 0, kLensFixed = 1, kLensTelephoto = 2 };

/// A storyboard place of a tile panorama: column from the left and row from
/// the top of the 4 x 4 grid, both 0 to 3.
using GridPlace = std::pair<int, int>;

struct Arguments {
  int kind = kPanoRow;
  int lensMode = kLensAutomatic;
  double focalMm = 1200.0;  ///< the program's start value; used only with kLensFixed
  int detail = 1;           ///< 0 large (full size), 1 medium (half), 2 small (a quarter)
  bool exposure = true;
  bool crop = true;
  std::vector<GridPlace> places;  ///< one per photo with --at, else empty
  std::string output;
  std::vector<std::string> photos;
  bool help = false;
};

/// Parses the words after the program name. False with a one-line reason.
bool ParseArguments(const std::vector<std::string>& words, Arguments* out, std::string* error);

/// The --help text.
const char* HelpText();

/// Width and height of a photo, in pixels.
struct PhotoSize {
  int width;
  int height;
};

/// The program's per-photo checks in photo order, ratio before size: the
/// message of the first photo that fails, or "" when all pass.
std::string CheckPhotoSizes(const std::vector<PhotoSize>& sizes);

/// The count check of the kind: its message, or "" when there are enough.
std::string CheckPhotoCount(int kind, int count);

/// The grid places of the photos of a tile panorama: the --at places, or
/// without them row by row from the top left in rows of ceil(sqrt(count)).
std::vector<GridPlace> TilePlaces(const Arguments& args, int count);

/// The engine matrix's shape: element (c, r) is photoOfElement[c + r * columns],
/// an index into the photo list, or -1 for an empty tile cell. Row 0 is the
/// bottom row.
struct MatrixShape {
  int columns = 0;
  int rows = 0;
  std::vector<int> photoOfElement;
};

/// Row and circle: photos left to right. Column: the photos are given top to
/// bottom, so row 0 holds the last. Tile: the bounding box of the places,
/// with the lowest occupied grid row as matrix row 0.
MatrixShape ShapeMatrix(int kind, int count, const std::vector<GridPlace>& places);

/// The photo whose size converts the focal length: the first photo for rows,
/// columns and circles; matrix element (0, 0) for a tile grid, or the first
/// occupied element when that cell is empty.
int ReferencePhoto(int kind, const MatrixShape& shape);

/// A 35 mm-equivalent focal length in millimetres as pixels of a photo whose
/// longer side is `longerSide` pixels (the film frame's long side is 36 mm).
inline double FocalInPixels(double millimetres, int longerSide) { return millimetres * longerSide / 36.0; }

/// The extension of OUT names a type the codec layer writes.
bool OutputTypeKnown(const std::string& path);

}  // namespace stitch

#endif  // TOOLS_STITCH_STITCH_PLAN_H
