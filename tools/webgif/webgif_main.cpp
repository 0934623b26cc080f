// vmd3-webgif: turns the web page's decoration images, drawn by the skin
// generator as BMP files, into the GIF files the exported pages use.
//   vmd3-webgif FROM-FOLDER TO-FOLDER NAME...
// reads FROM-FOLDER/NAME.bmp and writes TO-FOLDER/NAME.gif for each NAME,
// through the program's codec library (so the GIFs are the ones the program
// itself would write).
#include <cstdio>
#include <string>

#include "pixio.h"

int main(int argc, char** argv) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: vmd3-webgif FROM-FOLDER TO-FOLDER NAME...\n");
    return 2;
  }
  for (int i = 3; i < argc; ++i) {
    const std::string from = std::string(argv[1]) + "/" + argv[i] + ".bmp";
    const std::string to = std::string(argv[2]) + "/" + argv[i] + ".gif";
    HGLOBAL image = ImgReadFile(nullptr, from.c_str());
    if (image == nullptr) {
      std::fprintf(stderr, "vmd3-webgif: cannot read %s\n", from.c_str());
      return 1;
    }
    const bool written = ImgSaveFile(image, to.c_str()) != 0;
    GlobalFree(image);
    if (!written) {
      std::fprintf(stderr, "vmd3-webgif: cannot write %s\n", to.c_str());
      return 1;
    }
  }
  return 0;
}
