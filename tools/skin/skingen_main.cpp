// vmd3-skingen: draws the program's skin at build time.
//   vmd3-skingen OUTDIR [--scale S] [--preview DIR]
// writes OUTDIR/UI/button.800 and button.640 (the 640 x 480 skin, the same
// layout drawn at 0.8), the separate window images of OUTDIR/UI and the
// cursors of OUTDIR/cursors, and the web page's decoration images as BMP
// files in OUTDIR/web. --scale S writes only the skin drawn at S
// besides the other images; --preview DIR also writes PNG pictures of every
// panel in each state and of every image, for people to look at.
#include <sys/stat.h>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "canvas.h"
#include "cursors.h"
#include "palm_container.h"
#include "skin_layout.h"
#include "skin_writer.h"
#include "ui_images.h"
#include "web_images.h"

namespace {

bool MakeFolder(const std::string& path) {
  return mkdir(path.c_str(), 0755) == 0 || errno == EEXIST;
}

int Usage() {
  std::fprintf(stderr, "usage: vmd3-skingen OUTDIR [--scale S] [--preview DIR]\n");
  return 2;
}

bool WriteSkin(double scale, const std::string& path, const std::string& previewDir) {
  std::vector<uint8_t> bytes;
  if (!vmd::BuildSkinFile(vmd::SkinLayout(), scale, previewDir, &bytes)) {
    std::fprintf(stderr, "vmd3-skingen: the layout does not fit a skin file\n");
    return false;
  }
  if (!vmd::ReplaceFileContents(path, bytes)) {
    std::fprintf(stderr, "vmd3-skingen: cannot write %s\n", path.c_str());
    return false;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  std::string outDir, previewDir;
  double onlyScale = 0;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--scale") == 0 && i + 1 < argc) {
      onlyScale = std::atof(argv[++i]);
      if (onlyScale != 1.0 && onlyScale != 0.8) return Usage();
    } else if (std::strcmp(argv[i], "--preview") == 0 && i + 1 < argc) {
      previewDir = argv[++i];
    } else if (argv[i][0] != '-' && outDir.empty()) {
      outDir = argv[i];
    } else {
      return Usage();
    }
  }
  if (outDir.empty()) return Usage();
  std::string missing;
  if (!vmd::LoadPinnedFonts(&missing)) {
    std::fprintf(stderr, "vmd3-skingen: cannot read the font %s (package fonts-dejavu-core)\n",
                 missing.c_str());
    return 1;
  }
  const std::string ui = outDir + "/UI", cursors = outDir + "/cursors";
  if (!MakeFolder(outDir) || !MakeFolder(ui) || !MakeFolder(cursors) ||
      (!previewDir.empty() && !MakeFolder(previewDir))) {
    std::fprintf(stderr, "vmd3-skingen: cannot make the folders under %s\n", outDir.c_str());
    return 1;
  }
  const struct {
    double scale;
    const char* name;
    const char* preview;
  } kSkins[] = {{1.0, "button.800", "800"}, {0.8, "button.640", "640"}};
  for (const auto& skin : kSkins) {
    if (onlyScale != 0 && skin.scale != onlyScale) continue;
    std::string preview;
    if (!previewDir.empty()) {
      preview = previewDir + "/" + skin.preview;
      if (!MakeFolder(preview)) return 1;
    }
    if (!WriteSkin(skin.scale, ui + "/" + skin.name, preview)) return 1;
  }
  if (!vmd::WriteUiImages(ui, previewDir)) return 1;
  if (!vmd::WriteCursors(cursors, previewDir)) return 1;
  // The web page's decoration images, as BMP files that the build turns into
  // the GIF files of the UI folder.
  const std::string web = outDir + "/web";
  if (!MakeFolder(web)) return 1;
  for (const vmd::NamedImage& image : vmd::DrawWebImages()) {
    const std::string stem = image.name.substr(0, image.name.find('.'));
    if (!vmd::ReplaceFileContents(web + "/" + stem + ".bmp", vmd::EncodeBmpFile(image.image))) {
      std::fprintf(stderr, "vmd3-skingen: cannot write %s/%s.bmp\n", web.c_str(), stem.c_str());
      return 1;
    }
  }
  return 0;
}
