#ifndef ENGINE_BLEND_H
#define ENGINE_BLEND_H

/// Blending: every photo is projected onto one vertical cylinder and rendered
/// into a 24-bit canvas by inverse mapping, joined to what is already there
/// along a seam.
///
/// Canvas coordinates are unrolled cylinder coordinates at the render level:
/// x is the arc length in canvas columns (0 to C-1 for one turn, C the
/// circumference), y the height in rows counted like photo rows (row 0 at the
/// bottom, y growing upward). An image covering the rectangle [left, right) x
/// [top, bottom) stores canvas pixel (x, y) at column x - left, stored row
/// y - top.

#include <vector>

#include "camera.h"
#include "engine_dib.h"
#include "seamcore.h"
#include "work_buffer.h"

namespace seam {

/// The quantities fixed for one Blend call.
struct RenderSetup {
  int level = 0;          ///< render level L
  int scale = 1;          ///< 2^L
  double focal = 0;       ///< focal / 2^L, in level-L pixels
  int circumference = 0;  ///< canvas columns of a full turn
  double radius = 0;      ///< circumference / (2 pi), in canvas pixels
  int heightLimit = 0;    ///< projected rows are clamped to [-heightLimit, heightLimit]
  /// A column is rendered lying on its side, as a row: every orientation is
  /// first turned by `turn` (a quarter turn about the view axis, then a turn
  /// about the vertical that puts the lowest edge at the start of the
  /// cylinder), and the finished canvas is turned back a quarter.
  bool quarterTurned = false;
  Mat3 turn = Identity();
};

/// The smaller of the options' detail (clamped to 0 or more) and the coarsest
/// level every photo has.
int RenderLevel(const StitchMatrix& matrix, const StitchOptions& options);
/// The render quantities for the options' current focal length.
RenderSetup MakeRenderSetup(const StitchMatrix& matrix, const StitchOptions& options);

/// The orientation a photo is rendered with: the setup's turn times its own.
Mat3 RenderOrientation(const RenderSetup& setup, const StitchElement& element);

/// Turns a canvas of a quarter-turned column back upright into `upright`:
/// pixel (x, y) of the w x h canvas goes to (h - 1 - y, x) of the h x w
/// result, and `crop` with it. False when out of memory (crop unchanged).
bool TurnCanvasUpright(EngineDib& canvas, EngineDib& upright, RECT* crop);
/// The canvas pixel of a quarter-turned column that shows pixel (x, y) of the
/// upright panorama, for a canvas `canvasHeight` rows high.
POINT QuarterTurnedCanvasPoint(POINT upright, int canvasHeight);

/// Where one photo lands on the canvas.
struct PhotoFootprint {
  bool present = false;  ///< false for an empty tile cell
  RECT rect{0, 0, 0, 0};  ///< bounding rectangle, right and bottom exclusive
  /// Per canvas column rect.left .. rect.right-1: first and last row covered
  /// (inclusive); an untouched column reads first > last.
  WorkBuffer<int> first;
  WorkBuffer<int> last;
  /// Full circle only: the closure correction angle at the first and last row.
  WorkBuffer<double> angleFirst;
  WorkBuffer<double> angleLast;

  int Width() const { return rect.right - rect.left; }
};

/// One outline point already on the canvas: reduced column, clamped row and,
/// for the full circle, its correction angle.
struct OutlinePoint {
  int column;
  int row;
  double angle;
};

/// Turns a closed outline into a footprint: unwraps an outline that straddles
/// the start of the cylinder (columns below C / 2 get C added when the columns
/// spread over more than C / 2), takes the bounding rectangle and fills the
/// column spans, bridging outline steps of more than one column. With
/// `withAngles` the closure angles are kept with the spans. False when out of
/// memory.
bool FootprintFromOutline(std::vector<OutlinePoint>& outline, int circumference, bool withAngles,
                          PhotoFootprint* footprint);
/// Projects the outline of one photo (its 2 (w + h) border pixels at the render
/// level) through its orientation. False when out of memory.
bool ProjectFootprint(const StitchPyramid& pyramid, const Mat3& orientation,
                      const RenderSetup& setup, PhotoFootprint* footprint);
/// Footprints of every cell (index column + row x columns) and their union.
/// False when out of memory.
bool ComputeFootprints(StitchMatrix& matrix, const RenderSetup& setup,
                       std::vector<PhotoFootprint>& footprints, RECT* canvas);

/// The crop rectangle proposed for a canvas mask (255 = covered), in mask
/// pixels, rows in storage order; the full circle keeps every column.
RECT CropRectangle(const PixelView& mask, int layout);

/// The column-wise exposure ramp of a full-circle photo, spread between hL and
/// hR (canvas columns); zero everywhere else.
struct ExposureRamp {
  long long low = -1073741823;
  long long high = 1073741823;
  long loopStep = 0;
  int At(long long x) const {
    if (loopStep == 0 || high <= low) return 0;
    return static_cast<int>((x - (low + high) / 2) * loopStep / (high - low));
  }
};

/// What the full circle adds to the rendering of one photo.
struct ClosureCorrection {
  Vec3 axis{1, 0, 0};  ///< unit axis in the levelled frame
  double angle = 0;    ///< radians: the turn after one full turn of the cylinder
};

/// The photo-pixel mapping of one canvas column u: the pixel offsets from the
/// photo's centre for any height v, as UnrolledToPhotoPixel gives them, with
/// the column's sine and cosine worked out once.
struct ColumnMapping {
  Vec3 base;    ///< camera-frame point of height 0
  Vec3 perRow;  ///< change per unit of height
  double nearPlane = 0;
  static ColumnMapping For(const Mat3& orientation, double radius, double u);
  /// False (nothing written) for points behind the photo or on its horizon.
  bool Map(double v, double imageDistance, double* x, double* y) const;
};

/// Renders one photo into a layer of its footprint's size by inverse bilinear
/// mapping, writing every pixel of the layer (white, mask 0, where the photo
/// does not reach), adding `exposureOffset` (and the ramp and closure correction when
/// given) to each channel. `report` is called with the fraction of rows done
/// at every tenth row and returns true to cancel. Returns 0 or 1 (cancelled).
long RenderPhoto(const PixelView& photo, const PhotoFootprint& footprint, const Mat3& orientation,
                 const RenderSetup& setup, int exposureOffset, const ExposureRamp* ramp,
                 const ClosureCorrection* closure, const PixelView& layer,
                 const PixelView& layerMask, bool (*report)(void*, double), void* context);

}  // namespace seam

#endif  // ENGINE_BLEND_H
