// Makes the sample albums of the program folder: overlapping views of real
// photographs (painted on a cylinder around a pinhole camera that turns about
// its centre) as JPEG files, and one album file per set whose records name
// the photos relative to the program folder.
//   vmd3-sample-albums SOURCE-FOLDER PALBUMS-FOLDER
// SOURCE-FOLDER holds the photographs (see SOURCES beside this file).
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "album_items.h"
#include "pixio.h"
#include "synthetic_scene.h"

namespace {

using testing_support::SceneTexture;
using testing_support::SyntheticSet;
using testing_support::SyntheticSetup;

/// One sample set: the photograph, how it is laid around the camera, and the
/// cameras.
struct SampleSet {
  const char* album;   ///< album file name
  const char* source;  ///< photograph in the source folder
  const char* prefix;  ///< photo names: prefix and number
  double turnDegrees;  ///< how much of the turn the photograph spans
  SyntheticSetup setup;
};

std::string Join(const std::string& folder, const std::string& name) {
  return folder + "/" + name;
}

bool LoadTexture(const std::string& path, double turnDegrees, SceneTexture* texture) {
  HGLOBAL dib = ImgReadFile(nullptr, path.c_str());
  if (dib == nullptr) return false;
  const auto* header = static_cast<const BITMAPINFOHEADER*>(GlobalLock(dib));
  const int w = header->biWidth, h = header->biHeight;
  const size_t stride = ((size_t(w) * 24 + 31) / 32) * 4;
  const uint8_t* bits = reinterpret_cast<const uint8_t*>(header) + header->biSize;
  texture->width = w;
  texture->height = h;
  texture->turnDegrees = turnDegrees;
  texture->bgr.resize(size_t(w) * h * 3);
  for (int y = 0; y < h; ++y)  // stored bottom-up, kept top-down
    std::memcpy(&texture->bgr[size_t(y) * w * 3], bits + stride * (h - 1 - y), size_t(w) * 3);
  GlobalUnlock(dib);
  GlobalFree(dib);
  return true;
}

/// Renders a set, writes its photos and its album file. Photos are numbered
/// left to right, then top to bottom.
bool MakeSet(const SampleSet& set, const std::string& sources, const std::string& target) {
  SceneTexture texture;
  if (!LoadTexture(Join(sources, set.source), set.turnDegrees, &texture)) {
    std::fprintf(stderr, "sample albums: cannot read %s\n", Join(sources, set.source).c_str());
    return false;
  }
  SyntheticSetup setup = set.setup;
  setup.texture = &texture;
  SyntheticSet photos(setup);
  vmd::AlbumItems album;
  int number = 0;
  const int digits = setup.columns * setup.rows > 9 ? 2 : 1;
  for (int row = setup.rows - 1; row >= 0; --row) {  // row 0 is the lowest
    for (int column = 0; column < setup.columns; ++column) {
      char name[64];
      std::snprintf(name, sizeof name, "%s_%0*d.jpg", set.prefix, digits, ++number);
      const std::string file = Join(target, name);
      HGLOBAL photo = photos.Photo(column, row);
      if (photo == nullptr || !ImgSaveFile(photo, file.c_str())) {
        std::fprintf(stderr, "sample albums: cannot write %s\n", file.c_str());
        return false;
      }
      vmd::PhotoFileFacts facts;
      vmd::ReadPhotoFileFacts(file, &facts);
      HGLOBAL item = vmd::MakeAlbumItemFromFacts(photo, std::string("palbums\\") + name,
                                                 vmd::kStillImageType, 1, 1, 1, facts);
      vmd::AlbumRecord record;
      if (item == nullptr || !vmd::ReadItemRecord(item, &record)) return false;
      record.SetRelative(true);  // resolved against the program folder on first start
      vmd::WriteItemRecord(item, record);
      album.Add(item);
    }
  }
  return album.Save(Join(target, set.album)) == 1;
}

SyntheticSetup Cameras(int layout, int columns, int rows, double focal, double yawStep,
                       double pitchStep, uint32_t seed) {
  SyntheticSetup setup;
  setup.layout = layout;
  setup.columns = columns;
  setup.rows = rows;
  setup.width = 1024;
  setup.height = 768;
  setup.focal = focal;
  setup.yawStepDegrees = yawStep;
  setup.pitchStepDegrees = pitchStep;
  setup.firstYawDegrees = -yawStep * (columns - 1) / 2;
  setup.firstPitchDegrees = -pitchStep * (rows - 1) / 2;
  setup.jitterDegrees = 0.6;  // a hand-held turn is never exact
  setup.supersample = 1;      // the photograph is sampled bilinearly
  setup.seed = seed;
  return setup;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: vmd3-sample-albums SOURCE-FOLDER PALBUMS-FOLDER\n");
    return 2;
  }
  ImgSetJpgQuality(90);
  // A row of five across a mountain meadow, a full circle of ten in the
  // mountains (the photograph and its mirror image close the turn), and a
  // grid of three by two over a forest stream.
  SampleSet sets[] = {
      {"album1.abm", "aitzgorri_by_Aitzol_Berasategi.jpg", "row", 210,
       Cameras(0, 5, 1, 900, 36, 0, 3)},
      {"album2.abm", "picosdeeuropa_by_Aitzol_Berasategi.jpg", "circle", 180,
       Cameras(3, 10, 1, 980, 36, 0, 5)},
      {"album3.abm", "life_by_Aitzol_Berasategi.jpg", "grid", 130,
       Cameras(2, 3, 2, 1100, 32, 24, 7)},
  };
  sets[1].setup.firstYawDegrees = 0;
  for (const SampleSet& set : sets)
    if (!MakeSet(set, argv[1], argv[2])) return 1;
  // The album list a new user starts with, in this order.
  FILE* list = std::fopen(Join(argv[2], "samples.ini").c_str(), "wb");
  if (list == nullptr) return 1;
  std::fprintf(list, "[PHOTOS]\r\nalbum1.abm=Sample row\r\nalbum2.abm=Sample circle\r\n"
                     "album3.abm=Sample grid\r\n");
  return std::fclose(list) == 0 ? 0 : 1;
}
