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
/// (their places are in ui_image_layout.h). `previews`, when given, receives
/// each button bar as its window shows it (background and normal buttons).
std::vector<NamedImage> DrawUiImages(std::vector<NamedImage>* previews = nullptr);

/// A 24-bit BMP file of `image`.
std::vector<uint8_t> EncodeBmpFile(const SkinImage& image);

/// Writes DrawUiImages() into `folder` (and PNG copies into
/// `previewDir`/ui when it is not empty). False when a file cannot be
/// written.
bool WriteUiImages(const std::string& folder, const std::string& previewDir);

}  // namespace vmd

#endif  // TOOLS_SKIN_UI_IMAGES_H
