// vmd3-skin: reads a skin file for the window tests.
//   vmd3-skin list SKINFILE PANEL
// prints one line per control of the panel, "ID TOOLTIP KIND LEFT TOP RIGHT
// BOTTOM" (decimal; the place in the main window's client area, inclusive).
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "skin_file.h"
#include "skin_list.h"

int main(int argc, char** argv) {
  if (argc != 4 || std::strcmp(argv[1], "list") != 0) {
    std::fprintf(stderr, "usage: vmd3-skin list SKINFILE PANEL\n");
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
  std::vector<vmd::ControlListing> controls;
  if (!vmd::ListPanelControls(skin, static_cast<int>(panel), &controls, &reason)) {
    std::fprintf(stderr, "vmd3-skin: %s\n", reason.c_str());
    return 1;
  }
  for (const vmd::ControlListing& control : controls) std::printf("%s\n", vmd::FormatListing(control).c_str());
  return 0;
}
