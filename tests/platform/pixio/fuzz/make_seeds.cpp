// Writes the seed corpora of the decoder fuzzers: small files of every format
// made by the library's own encoders, in several depths and both compression
// modes. Usage: pixio_fuzz_seeds OUTPUT-FOLDER (one subfolder per format).
#include <cstdio>
#include <cstring>
#include <string>
#include <sys/stat.h>
#include <vector>

#include "formats.h"
#include "sample_images.h"

namespace {

int g_written = 0;

void Write(const std::string& dir, const std::string& name, const std::vector<uint8_t>& bytes) {
  mkdir(dir.c_str(), 0777);
  const std::string path = dir + "/" + name;
  if (FILE* f = std::fopen(path.c_str(), "wb")) {
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
    ++g_written;
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s OUTPUT-FOLDER\n", argv[0]);
    return 2;
  }
  const std::string root = argv[1];
  mkdir(root.c_str(), 0777);
  const struct { int w, h; } sizes[] = {{1, 1}, {7, 5}, {33, 17}};
  for (const auto& s : sizes) {
    for (int bits : {1, 4, 8, 24}) {
      const pixio::Image image = pixio_test::Sample(s.w, s.h, bits, false);
      const std::string tag = std::to_string(s.w) + "x" + std::to_string(s.h) + "-" + std::to_string(bits);
      for (bool compress : {false, true}) {
        pixio::EncodeSettings settings;
        settings.compress = compress;
        settings.jpegQuality = compress ? 50 : 100;
        const std::string t = tag + (compress ? "-c" : "");
        std::vector<uint8_t> b;
        if (!compress && pixio::EncodeBmp(image, &b)) Write(root + "/bmp", t + ".bmp", b);
        b.clear();
        if (pixio::EncodeTiff(image, settings, &b)) Write(root + "/tiff", t + ".tif", b);
        b.clear();
        if (!compress && pixio::EncodePcx(image, &b)) Write(root + "/pcx", t + ".pcx", b);
        b.clear();
        if (!compress && pixio::EncodeGif(image, &b)) Write(root + "/gif", t + ".gif", b);
        b.clear();
        if (pixio::EncodeTga(image, settings, &b)) Write(root + "/tga", t + ".tga", b);
        b.clear();
        if ((bits == 24 || bits == 8) && pixio::EncodeJpeg(image, settings, &b))
          Write(root + "/jpeg", t + ".jpg", b);
        b.clear();
        if (bits == 24 && s.w > 1 && pixio::EncodeFpx(image, settings, &b)) Write(root + "/fpx", t + ".fpx", b);
      }
    }
  }
  // A Photo CD pack holding only the smallest scene, and the scene byte.
  std::vector<uint8_t> pack(4 * 0x800 + 192 * 128 * 3 / 2 + 1, 0);
  std::memcpy(&pack[0x800], "PCD_IPI", 7);
  for (size_t i = 4 * 0x800; i + 1 < pack.size(); ++i) pack[i] = static_cast<uint8_t>(100 + (i % 97));
  pack.back() = 0;
  Write(root + "/pcd", "base16.pcd", pack);
  pack[0x800 + 0x602] = 1;
  pack.back() = 0x80;
  Write(root + "/pcd", "base16-turned-gray.pcd", pack);
  std::printf("pixio_fuzz_seeds: %d files in %s\n", g_written, root.c_str());
  return 0;
}
