#ifndef TOOLS_SKIN_ILLUSTRATIONS_H
#define TOOLS_SKIN_ILLUSTRATIONS_H

#include <cairo.h>

namespace vmd {

/// The four panorama kinds as the kind cards and pages show them.
enum class KindPicture { kRow, kColumn, kCircle, kTile };

/// A small landscape (sky, sun, hills, water) filling (x, y, w, h); `tall`
/// draws a scene meant to be cut into a column (a tower against the sky).
void DrawScene(cairo_t* cr, double x, double y, double w, double h, bool tall);

/// An illustration of how the photos of `kind` lie, centred in (x, y, w, h):
/// overlapping frames over one scene (row, column, grid), or photos around a
/// turn (circle). `detailed` adds the numbering and the overlap shading of
/// the larger pages.
void DrawKindPicture(cairo_t* cr, KindPicture kind, double x, double y, double w, double h,
                     bool detailed, bool muted);

}  // namespace vmd

#endif  // TOOLS_SKIN_ILLUSTRATIONS_H
