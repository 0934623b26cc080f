// Writes a full circle of synthetic photos as JPEG files, for measuring the
// biggest sets vmd3-stitch stitches and saves (time and peak memory by hand or
// with /usr/bin/time):
//   bench/make_photo_circle OUTDIR [COUNT=12] [WIDTH=4000] [HEIGHT=3000]
// The photos turn 360 / COUNT degrees apart with a lens a third wider than
// that step, so neighbours overlap by about a quarter.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "formats.h"
#include "synthetic_scene.h"

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: make_photo_circle OUTDIR [COUNT] [WIDTH] [HEIGHT]\n");
    return 2;
  }
  const std::string dir = argv[1];
  const int count = argc > 2 ? std::atoi(argv[2]) : 12;
  const int width = argc > 3 ? std::atoi(argv[3]) : 4000;
  const int height = argc > 4 ? std::atoi(argv[4]) : 3000;
  if (count < 6 || width < 64 || height < 64) return 2;
  const double kPi = 3.14159265358979323846;
  const double fov = 360.0 / count * 4 / 3;  // degrees across
  testing_support::SyntheticSetup setup;
  setup.layout = 3;
  setup.columns = count;
  setup.rows = 1;
  setup.width = width;
  setup.height = height;
  setup.focal = (width / 2.0) / std::tan(fov / 2 * kPi / 180);
  setup.supersample = 1;
  setup.noise = 2;
  testing_support::SyntheticSet set(setup);
  for (int c = 0; c < count; ++c) {
    pixio::Image photo;
    if (!pixio::FromDib(set.Photo(c, 0), &photo)) return 1;
    std::vector<uint8_t> jpeg;
    if (!pixio::EncodeJpeg(photo, pixio::EncodeSettings{92, false}, &jpeg)) return 1;
    char name[32];
    std::snprintf(name, sizeof name, "/img_%02d.jpg", c);
    FILE* f = std::fopen((dir + name).c_str(), "wb");
    if (!f || std::fwrite(jpeg.data(), 1, jpeg.size(), f) != jpeg.size()) return 1;
    std::fclose(f);
  }
  std::printf("%d photos of %d x %d, focal %.0f pixels, in %s\n", count, width, height, setup.focal,
              dir.c_str());
  return 0;
}
