#ifndef ENGINE_RECORDS_SEAMCORE_H
#define ENGINE_RECORDS_SEAMCORE_H

/// seamcore: the stitching engine's records, result codes and exports.
///
/// The program fills a StitchMatrix (one StitchElement per grid cell, each with
/// the StitchPyramid of its photo) and StitchOptions, then calls BuildPyramid,
/// Align and Blend. Images are DIBs in movable global memory: a 40-byte
/// BITMAPINFOHEADER, then 24-bit rows (blue, green, red) bottom-up, each padded
/// to a multiple of 4 bytes. Row 0 is the bottom of the picture; rectangles are
/// left/top inclusive, right/bottom exclusive, in storage rows.
///
/// The engine keeps no state between calls except the cancellation state set
/// by SetProgressState. No exception leaves any export.

#include "win32_api.h"

#if defined(_WIN32)
#if defined(SEAMCORE_BUILD)
#define SEAMCORE_API __declspec(dllexport)
#else
#define SEAMCORE_API __declspec(dllimport)
#endif
#else
#define SEAMCORE_API __attribute__((visibility("default")))
#endif

/// Result codes of every export that returns long.
enum StitchResult : long {
  kStitchOk = 0,
  kStitchCancelled = 1,          ///< the cancellation state was found set
  kStitchOutOfMemory = 10001,    ///< a DIB or working buffer could not be allocated
  /// BuildPyramid: the photo's DIB cannot be locked or is not 24 bits per
  /// pixel; Blend: a null argument or empty grid, or a focal length that gives
  /// no usable cylinder (not positive, or too long for any canvas)
  kStitchImageUnusable = 10002,
  kStitchPhotoTooSmall = 10003,  ///< a photo's shorter side is below 32 pixels
  /// Align: a null argument, an empty grid, or a tile grid that fails
  /// VerifyMatrixLayout
  kStitchInvalidTileLayout = 10006,
  kStitchTooFewPairs = 10007,    ///< internal only: a pair with fewer than 3 points is skipped
  kStitchEmptyCanvas = 10008,    ///< Blend: the photos' footprints cover no canvas pixel
};

/// Matrix layouts; the program's panorama kinds use the same numbers.
enum StitchLayoutKind : int {
  kLayoutRow = 0,     ///< columns = photos, rows = 1
  kLayoutColumn = 1,  ///< columns = 1, rows = photos
  kLayoutTile = 2,    ///< two-dimensional; cells may be empty
  kLayoutCircle = 3,  ///< columns = photos, rows = 1, the last overlaps the first
};

/// Lens modes of StitchOptions::lensMode.
enum StitchLensKind : int {
  kLensAutomatic = 0,  ///< the engine estimates focal
  kLensGiven = 1,      ///< focal is used unchanged
  kLensTelephoto = 2,  ///< focal becomes 10 x the longest side of the largest photo
};

constexpr int kStitchMaxPairs = 10;
constexpr int kStitchMaxLevels = 10;

/// A point in this photo and the same scene detail in the neighbour, in pixels
/// of the pyramid level at which the list was last written (y counts up from
/// the bottom row).
struct StitchPair {
  LONG x1;
  LONG y1;
  LONG x2;
  LONG y2;
};

/// One photo at up to ten resolutions. image[0] is the caller's photo (never
/// freed by the engine); image[k] for 1 <= k < levels is the photo reduced by
/// 2^k, owned by the pyramid until ReleasePyramid.
struct SEAMCORE_API StitchPyramid {
  LONG levels;  ///< valid entries in image, 1 to 10
  LONG width;   ///< width of level 0 in pixels
  LONG height;  ///< height of level 0 in pixels
  HGLOBAL image[kStitchMaxLevels];

  /// 2 to the power level (the shift count taken modulo 32).
  static LONG ZoomRatio(LONG level);
  StitchPyramid() = default;
  StitchPyramid(const StitchPyramid&) = default;
  /// Field-by-field copy; the copy shares the image handles.
  StitchPyramid& operator=(const StitchPyramid& other);
};

/// One cell of the grid. The program sets pyramid (null marks an empty tile
/// cell) and, for manual fine tuning, the pair lists; the engine writes the rest.
struct StitchElement {
  StitchPyramid* pyramid;
  LONG rightCount;  ///< valid entries in rightPairs, 0 to 10
  StitchPair rightPairs[kStitchMaxPairs];  ///< with the right neighbour (column+1)
  LONG rightReserved;
  LONG upCount;  ///< valid entries in upPairs, 0 to 10
  StitchPair upPairs[kStitchMaxPairs];  ///< with the upper neighbour (row+1)
  LONG upReserved;
  double orientation[9];    ///< rotation in the panorama frame, row-major (Blend)
  double rightRotation[9];  ///< maps a ray of the right neighbour to this photo's ray
  double upRotation[9];     ///< the same for the upper neighbour
  RECT rightOverlap;        ///< overlap with the right neighbour, this photo's level-0 pixels
  RECT rightOverlapThere;   ///< the same overlap in the neighbour's level-0 pixels
  RECT upOverlap;
  RECT upOverlapThere;
  LONG exposureOffset;       ///< added to each colour byte when rendered (Blend)
  LONG rightBrightnessStep;  ///< right neighbour's mean brightness minus this photo's
  LONG upBrightnessStep;
};

/// The whole panorama. The program owns it and its element array; element
/// (column, row) is elements[column + row * columns]; row 0 is the bottom row.
struct SEAMCORE_API StitchMatrix {
  StitchElement* elements;
  LONG layout;  ///< a StitchLayoutKind
  LONG columns;
  LONG rows;

  /// The element at (column, row), or null outside the grid.
  StitchElement* GetElement(LONG column, LONG row);
  /// Image entry `level` of that cell's pyramid; null outside the grid or for
  /// an empty cell. The level is not checked against the pyramid's levels.
  HGLOBAL GetImage(LONG column, LONG row, LONG level);
  StitchMatrix() = default;
  StitchMatrix(const StitchMatrix&) = default;
  /// Field-by-field copy; the copy shares the element array.
  StitchMatrix& operator=(const StitchMatrix& other);
};

struct StitchOptions {
  LONG reserved;         ///< not read by the engine
  LONG detail;           ///< finest level aligned and rendered: 0 full, 1 half, 2 quarter, 3 eighth
  LONG exposureBalance;  ///< 0 leaves every exposure offset at 0
  LONG blendPercent;     ///< full circle: exposure ramp half-width, /200 of the narrower width
  LONG lensMode;         ///< a StitchLensKind; written back with focal and lensReserved as one block
  double focal;          ///< focal length in level-0 pixels
  double lensReserved;   ///< undefined after the engine writes the lens back
};

/// The progress callback: a whole percentage in; its result is ignored.
typedef int (*StitchProgressProc)(int percent);

#if defined(__i386__) || defined(_M_IX86)
// The layout a 32-bit Windows C++ compiler gives: pointers 4 bytes, doubles 8-aligned.
#include <stddef.h>
static_assert(sizeof(StitchPair) == 16, "StitchPair layout");
static_assert(sizeof(StitchPyramid) == 52, "StitchPyramid layout");
static_assert(offsetof(StitchPyramid, image) == 12, "StitchPyramid layout");
static_assert(sizeof(StitchMatrix) == 16, "StitchMatrix layout");
static_assert(offsetof(StitchMatrix, rows) == 12, "StitchMatrix layout");
static_assert(offsetof(StitchElement, rightCount) == 4, "StitchElement layout");
static_assert(offsetof(StitchElement, rightPairs) == 8, "StitchElement layout");
static_assert(offsetof(StitchElement, rightReserved) == 168, "StitchElement layout");
static_assert(offsetof(StitchElement, upCount) == 172, "StitchElement layout");
static_assert(offsetof(StitchElement, upPairs) == 176, "StitchElement layout");
static_assert(offsetof(StitchElement, upReserved) == 336, "StitchElement layout");
static_assert(offsetof(StitchElement, orientation) == 344, "StitchElement layout");
static_assert(offsetof(StitchElement, rightRotation) == 416, "StitchElement layout");
static_assert(offsetof(StitchElement, upRotation) == 488, "StitchElement layout");
static_assert(offsetof(StitchElement, rightOverlap) == 560, "StitchElement layout");
static_assert(offsetof(StitchElement, upOverlapThere) == 608, "StitchElement layout");
static_assert(offsetof(StitchElement, exposureOffset) == 624, "StitchElement layout");
static_assert(offsetof(StitchElement, upBrightnessStep) == 632, "StitchElement layout");
static_assert(sizeof(StitchElement) == 640, "StitchElement layout");
static_assert(offsetof(StitchOptions, lensMode) == 16, "StitchOptions layout");
static_assert(offsetof(StitchOptions, focal) == 24, "StitchOptions layout");
static_assert(offsetof(StitchOptions, lensReserved) == 32, "StitchOptions layout");
static_assert(sizeof(StitchOptions) == 40, "StitchOptions layout");
#endif

extern "C" {

/// Builds the pyramid of one 24-bit photo into `pyramid` (allocated by the
/// caller). Returns 0, 10001 (levels counts what was built), 10002 (no photo,
/// no record, or a DIB that cannot be locked or is not 24 bits; record
/// untouched) or 10003 (width and height written, levels not).
SEAMCORE_API long BuildPyramid(HGLOBAL photo, StitchPyramid* pyramid);
/// Frees image entries 1 to levels-1; entry 0 stays with the caller. Returns 0.
SEAMCORE_API long ReleasePyramid(StitchPyramid* pyramid);
/// Aligns every pair of neighbouring photos. Progress 0 to exactly 50.
/// Returns 0, 1 (cancelled), 10001 (out of memory) or 10006 (null argument,
/// empty grid or invalid tile grid).
SEAMCORE_API long Align(StitchMatrix* matrix, StitchOptions* options, StitchProgressProc progress);
/// Renders the panorama. On 0 *panorama receives a new 24-bit DIB (caller frees)
/// and *crop the suggested crop rectangle in it; otherwise neither is written.
/// Progress 50 to exactly 100. Returns 0, 1 (cancelled), 10001 (out of
/// memory), 10002 (null argument, empty grid or unusable focal length) or
/// 10008 (the photos cover no canvas pixel).
SEAMCORE_API long Blend(StitchMatrix* matrix, StitchOptions* options, HGLOBAL* panorama,
                        RECT* crop, StitchProgressProc progress);
/// Names the photo nearest to `point` and the adjacent photo sharing the overlap
/// there; all four outputs are -1 when no photo holds the point. Returns 0.
SEAMCORE_API long Locate(StitchMatrix* matrix, StitchOptions* options, POINT point,
                         LONG* firstColumn, LONG* firstRow, LONG* secondColumn,
                         LONG* secondRow);
/// Sets the cancellation state; nonzero asks the running Align or Blend to stop.
SEAMCORE_API void SetProgressState(int state);
/// 1 when the grid is a valid tile layout, else 0. Reads only columns, rows and
/// which pyramids are null.
SEAMCORE_API int VerifyMatrixLayout(StitchMatrix* matrix);

}  // extern "C"

#endif  // ENGINE_RECORDS_SEAMCORE_H
