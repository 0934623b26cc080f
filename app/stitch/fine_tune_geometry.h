#ifndef APP_STITCH_FINE_TUNE_GEOMETRY_H
#define APP_STITCH_FINE_TUNE_GEOMETRY_H

/// Fine tuning's arithmetic, apart from its windows: the three markers read
/// from a pair's control points and written back, the display scales, the
/// first scroll positions, the zoom steps and the match assistant's search.

#include "seamcore.h"
#include "storyboard.h"
#include "win32_api.h"

namespace vmd {

/// Markers 1 to 3 in photo1 (the left or upper photo) and photo2, top-down.
struct MarkerSet {
  POINT first[3];
  POINT second[3];
};

/// The control-point list's divisor of the output size: 1, 2 or 4 for detail
/// 0 (large), 1 (medium) and 2 (small).
int DetailDivisor(int detail);

/// Markers from entries 0, (n - 1) / 2 and n - 1 of a pair's list, in photo
/// pixels: coordinates times d, y turned top-down. The list belongs to the
/// left photo of a horizontal pair and to the lower photo (photo2) of a
/// vertical one. False for an empty list.
bool MarkersFromPairs(const StitchPair* pairs, int count, int divisor, bool horizontal, int height1, int height2,
                      MarkerSet* out);

/// The three correspondences of markers in photo pixels, as the list stores
/// them: x / d and (height - y) / d.
void MarkersToPairs(const MarkerSet& markers, int divisor, bool horizontal, int height1, int height2,
                    StitchPair out[3]);

/// Two markers of one photo on the same point: the markers cannot be used.
bool MarkersCoincide(const MarkerSet& markers);

/// Every coordinate times `factor`, rounded to the nearest (display to photo
/// pixels and back, and zoom steps).
MarkerSet ScaleMarkers(const MarkerSet& markers, double factor);

/// The largest of 1.0, 0.9, ... (down to about 0.1) at which the box around
/// three markers fits a window of windowW x windowH.
double MarkerFitScale(const POINT markers[3], int windowW, int windowH);
/// How far zooming out may go for a photo of width x height: lowered by 0.1
/// from 1.0 while the photo stays larger than 128 pixels, down to about 0.1.
double FineTuneMinScale(int width, int height);

/// The first scroll position of one direction: a negative value centres a
/// view that fits (the view's offset in the window), else the markers from
/// `first` to `last` are brought into view.
int FineTuneScroll(int extent, int window, int first, int last);

/// A zoom step of 0.1: in up to 1.3, out down to minScale.
struct FineZoom {
  double scale;
  ButtonChange zoomIn;
  ButtonChange zoomOut;
};
FineZoom FineTuneZoomIn(double scale, double minScale);
FineZoom FineTuneZoomOut(double scale, double minScale);

/// The match assistant: the point of view2 near `start` whose 9 x 9 block
/// best matches the block around `marker` in view1 (rings up to radius 14).
/// Returns `start` when nothing matches better.
POINT MatchMarker(HGLOBAL view1, POINT marker, HGLOBAL view2, POINT start);

}  // namespace vmd

#endif  // APP_STITCH_FINE_TUNE_GEOMETRY_H
