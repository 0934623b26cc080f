#ifndef TOOLS_SKIN_UI_IMAGES_H
#define TOOLS_SKIN_UI_IMAGES_H

#include <cstdint>
#include <string>
#include <vector>

#include "skin_file.h"

namespace vmd {

/// One separate image of the UI folder: its file name and pixels.
struct NamedImage {
  std::string name;
  SkinImage image;
};

/// Every separate image: the storyboard headings, the progress window and
/// its bar, the three marker strips, the viewer's frame and the button bars
/// (their places are in ui_image_layout.h).
std::vector<NamedImage> DrawUiImages();

/// A 24-bit BMP file of `image`.
std::vector<uint8_t> EncodeBmpFile(const SkinImage& image);

/// Writes DrawUiImages() into `folder` (and PNG copies into
/// `previewDir`/ui when it is not empty). False when a file cannot be
/// written.
bool WriteUiImages(const std::string& folder, const std::string& previewDir);

}  // namespace vmd

#endif  // TOOLS_SKIN_UI_IMAGES_H
