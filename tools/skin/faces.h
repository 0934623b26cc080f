#ifndef TOOLS_SKIN_FACES_H
#define TOOLS_SKIN_FACES_H

#include "canvas.h"
#include "skin_layout.h"

namespace vmd {

/// Whether a control of this kind gets images (a place only marks an area).
bool HasFace(FaceKind face);

/// The product mark: a rounded square of `size` at (x, y) with a stylised
/// turn of photos.
void ProductMark(cairo_t* cr, double x, double y, double size);

/// Paints panel `panel`'s background on `canvas` (the panel's size): the
/// title band of a main panel, the wells of its image areas, the captions of
/// its sliders and fields, or a sub-panel's page. Controls' faces are not
/// part of it (a hidden control shows the background).
void DrawPanelBackground(Canvas& canvas, const LayoutPanel& panel);

/// Paints `control`'s face in `state` (0 normal, 1 down or on, 2 disabled)
/// on `canvas`, which has the control's size and already holds the panel
/// background behind it.
void DrawControlFace(Canvas& canvas, const LayoutPanel& panel, const LayoutControl& control,
                     int state);

/// A push-button face of (w, h) logical units at the origin, in the style of
/// the panels: used by the separate bars' button strips too.
void DrawButtonFace(cairo_t* cr, double w, double h, int state, bool primary, const char* label,
                    const char* icon);

}  // namespace vmd

#endif  // TOOLS_SKIN_FACES_H
