#ifndef TOOLS_SKIN_SKIN_WRITER_H
#define TOOLS_SKIN_SKIN_WRITER_H

#include <cstdint>
#include <string>
#include <vector>

#include "skin_file.h"
#include "skin_layout.h"

namespace vmd {

/// A layout control's place scaled by `scale` (1.0 for the 800 x 600 skin,
/// 0.8 for 640 x 480), edges rounded to the nearest pixel so that controls
/// that touch keep touching and never overlap; right and bottom inclusive.
SkinRect ScaledRect(const LayoutControl& control, double scale);
int ScaledLength(int length, double scale);

/// The bytes of a skin file for `layout` drawn at `scale`: one page per
/// panel, the panel's background, then each control's three state images
/// (a place gets three records without data). When `previewDir` is not
/// empty, also writes there per panel a PNG of the panel with its controls
/// in each state ("panel-N-sS.png"). False when the container cannot hold
/// the layout.
bool BuildSkinFile(const std::vector<LayoutPanel>& layout, double scale,
                   const std::string& previewDir, std::vector<uint8_t>* bytes);

}  // namespace vmd

#endif  // TOOLS_SKIN_SKIN_WRITER_H
