#ifndef APP_VIEWER_VIEW_TABLES_H
#define APP_VIEWER_VIEW_TABLES_H

#include <cstdint>
#include <vector>

namespace vmd {

/// The viewer's fixed viewport, in pixels.
constexpr int kViewWidth = 536;
constexpr int kViewHeight = 298;

/// Lookup tables of the cylinder-to-perspective re-projection for one source
/// size and zoom. Built once per zoom and display change; a view step only
/// reads them.
struct ViewTables {
  int sourceWidth = 0;              ///< W
  int sourceHeight = 0;             ///< H
  int sourceStride = 0;             ///< S: bytes per stored source row (24 bits, 4-byte padded)
  double radius = 0;                ///< R = W / 2 pi, the cylinder radius in source pixels
  double focal = 0;                 ///< f, the virtual camera's focal length in pixels
  std::vector<int32_t> columnBase;  ///< x * Vh: start of column x in the per-pixel tables
  std::vector<int32_t> destRow;     ///< y * destination stride
  std::vector<int32_t> sourceRow;   ///< byte offset of the upper source row of pixel (x, y)
  std::vector<int32_t> rowWeight;   ///< weight of that row in eighths, 0 to 8
  std::vector<double> columnScale;  ///< per-column vertical scale
  std::vector<double> columnAngle;  ///< per-column horizontal offset, in source columns
};

/// Bytes per row of a 24-bit DIB of this width.
inline int Stride24(int width) { return (width * 3 + 3) & ~3; }

/// Builds the tables for a W x H 24-bit source at `zoom` (1.0 to 3.0). False
/// (tables left empty) when a dimension is not positive.
bool BuildViewTables(int width, int height, double zoom, ViewTables* tables);

/// Empties the tables (their memory is returned).
void FreeViewTables(ViewTables* tables);

/// The largest tilt, in source rows, that keeps the view inside the source:
/// max(0, trunc(H div 2 - R Vh / (2 f))), about H/2 - H/(2 zoom).
int TiltLimit(const ViewTables& tables);

/// Where the view looks; the render corrects pan and tilt into range.
struct ViewPose {
  int pan = 0;          ///< source column at the view's centre, wrapped into 0..W-1
  int tilt = 0;         ///< vertical offset in source rows, clamped to -L..L
  int atTiltLimit = 1;  ///< 1 when tilt stands at -L or L
};

/// Renders one Vw x Vh view into `dest` (rows of Stride24(Vw) bytes, bottom-up
/// like the source) from the 24-bit source `bits` (bottom-up rows of S bytes),
/// bilinear in eighths. Corrects `pose` first: tilt clamped to the limit, pan
/// wrapped. The last source column is never blended with the first.
void RenderView(const ViewTables& tables, const uint8_t* bits, ViewPose* pose, uint8_t* dest);

}  // namespace vmd

#endif  // APP_VIEWER_VIEW_TABLES_H
