// vmd3-skin: reads a skin file for the window tests.
//   vmd3-skin list SKINFILE PANEL
// prints one line per control of the panel, "ID TOOLTIP KIND LEFT TOP RIGHT
// BOTTOM" (decimal; the place in the main window's client area, inclusive).
//   vmd3-skin pixel SKINFILE PANEL X Y
// prints the panel background's colour at (X, Y) as "R,G,B".
//   vmd3-skin bar detail|pano|sort
// prints one line per button of that button bar, "BUTTON LEFT TOP RIGHT
// BOTTOM" (the place in the bar's client area, inclusive).
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "button_bar.h"
#include "skin_file.h"
#include "skin_list.h"

namespace {

int PrintPixel(const vmd::SkinFile& skin, long panel, long x, long y) {
  if (panel >= static_cast<long>(skin.panels.size())) return 1;
  const vmd::SkinImage& image = skin.panels[panel].background;
  if (x < 0 || y < 0 || x >= image.width || y >= image.height) return 1;
  // Rows are stored bottom-up, blue-green-red.
  const uint8_t* pixel = image.pixels.data() + static_cast<size_t>(image.height - 1 - y) * image.stride + x * 3;
  std::printf("%d,%d,%d\n", pixel[2], pixel[1], pixel[0]);
  return 0;
}

int PrintBar(const char* name) {
  const vmd::ButtonBarLayout* bar = nullptr;
  if (std::strcmp(name, "detail") == 0) bar = &vmd::kDetailBar;
  if (std::strcmp(name, "pano") == 0) bar = &vmd::kPanoBar;
  if (std::strcmp(name, "sort") == 0) bar = &vmd::kSortBar;
  if (bar == nullptr) {
    std::fprintf(stderr, "vmd3-skin: no button bar %s\n", name);
    return 2;
  }
  for (int b = 0; b < bar->buttons; ++b) {
    const vmd::BarRect r = vmd::BarButtonPlace(*bar, b);
    std::printf("%d %d %d %d %d\n", b, r.left, r.top, r.right - 1, r.bottom - 1);
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::strcmp(argv[1], "bar") == 0) return PrintBar(argv[2]);
  const bool list = argc == 4 && std::strcmp(argv[1], "list") == 0;
  const bool pixel = argc == 6 && std::strcmp(argv[1], "pixel") == 0;
  if (!list && !pixel) {
    std::fprintf(stderr, "usage: vmd3-skin list SKINFILE PANEL | vmd3-skin pixel SKINFILE PANEL X Y | vmd3-skin bar NAME\n");
    return 2;
  }
  char* end = nullptr;
  const long panel = std::strtol(argv[3], &end, 10);
  if (*argv[3] == '\0' || *end != '\0' || panel < 0 || panel > 1000) {
    std::fprintf(stderr, "vmd3-skin: %s is no panel number\n", argv[3]);
    return 2;
  }
  vmd::SkinFile skin;
  std::string reason;
  if (!vmd::LoadSkinFile(argv[2], &skin, &reason)) {
    std::fprintf(stderr, "vmd3-skin: %s: %s\n", argv[2], reason.c_str());
    return 1;
  }
  if (pixel) return PrintPixel(skin, panel, std::strtol(argv[4], nullptr, 10), std::strtol(argv[5], nullptr, 10));
  std::vector<vmd::ControlListing> controls;
  if (!vmd::ListPanelControls(skin, static_cast<int>(panel), &controls, &reason)) {
    std::fprintf(stderr, "vmd3-skin: %s\n", reason.c_str());
    return 1;
  }
  for (const vmd::ControlListing& control : controls) std::printf("%s\n", vmd::FormatListing(control).c_str());
  return 0;
}
