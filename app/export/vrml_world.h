#ifndef APP_EXPORT_VRML_WORLD_H
#define APP_EXPORT_VRML_WORLD_H

#include <string>

namespace vmd {

/// The number of strips of a web export, and of panels of its world.
constexpr int kWebTileCount = 24;

/// The VRML world of a web export: a viewpoint at the origin inside a ring of
/// `count` boxes, each `totalWidth / count` units wide, `faceHeight` high and
/// 0.01 thick, textured with tile `count - i` for panel i (1-based) as
/// `tilePrefix` + number + ".jpg". Every line ends in CR LF.
std::string VrmlWorldText(const std::string& tilePrefix, float totalWidth, float faceHeight,
                          int count);

/// The world's size in units (100 pixels a unit) for a panorama of the given
/// width and height cut into `count` strips of width / count - 1 columns.
void WorldSizeOf(int width, int height, int count, float* totalWidth, float* faceHeight);

}  // namespace vmd

#endif  // APP_EXPORT_VRML_WORLD_H
