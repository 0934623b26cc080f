#ifndef TOOLS_SKIN_ICONS_H
#define TOOLS_SKIN_ICONS_H

#include <cairo.h>

#include "canvas.h"

namespace vmd {

/// Draws the monochrome icon `name` centred on (cx, cy), `size` logical
/// pixels square, in `color`. False (and nothing drawn) for an unknown name.
bool DrawIcon(cairo_t* cr, const char* name, double cx, double cy, double size, Rgb color);

}  // namespace vmd

#endif  // TOOLS_SKIN_ICONS_H
