// libFuzzer target for the skin-file reader (the PALM container and the
// records of a skin). Any input may be refused; an accepted one must give
// images whose buffers match their sizes and places that are not empty.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "skin_file.h"

namespace {

void CheckImage(const vmd::SkinImage& image) {
  if (image.Empty()) {
    if (!image.pixels.empty()) std::abort();
    return;
  }
  if (image.stride != ((image.width * 24 + 31) / 32) * 4) std::abort();
  if (image.pixels.size() != size_t(image.stride) * size_t(image.height)) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  vmd::SkinFile skin;
  std::string reason;
  if (!vmd::ParseSkinFile(data, size, &skin, &reason)) {
    if (!skin.panels.empty() || reason.empty()) std::abort();  // nothing half-used, always a reason
    return 0;
  }
  for (const vmd::SkinPanel& panel : skin.panels) {
    CheckImage(panel.background);
    if (panel.width != panel.background.width || panel.height != panel.background.height)
      std::abort();
    for (const vmd::SkinControl& control : panel.controls) {
      if (control.rect.Width() <= 0 || control.rect.Height() <= 0) std::abort();
      for (const vmd::SkinImage& image : control.images) CheckImage(image);
    }
  }
  return 0;
}
