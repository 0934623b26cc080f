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
#include "sample_jpegs.h"

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
  // The JPEG kinds only libjpeg writes: progressive, restart markers, CMYK
  // both ways, and a turned photo.
  {
    const pixio::Image photo = pixio_test::Smooth(19, 13);
    pixio_test::JpegWriting how;
    how.progressive = true;
    Write(root + "/jpeg", "progressive.jpg", pixio_test::LibjpegFile(photo, how));
    how.progressive = false;
    how.restartRows = 1;
    Write(root + "/jpeg", "restarts.jpg", pixio_test::LibjpegFile(photo, how));
    how.restartRows = 0;
    how.cmyk = true;
    Write(root + "/jpeg", "cmyk-adobe.jpg", pixio_test::LibjpegFile(photo, how));
    how.adobe = false;
    Write(root + "/jpeg", "cmyk.jpg", pixio_test::LibjpegFile(photo, how));
    Write(root + "/jpeg", "turned.jpg", pixio_test::JpegWithOrientation(photo, 6, false));
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
  // A 4Base correction section: the code table sector, then rows of codes.
  {
    std::vector<uint8_t> section(0x800, 0);
    const uint8_t table[] = {2, 0, 0x00, 0x00, 0, 1, 0x80, 0x00, 10, 2, 0xC0, 0x00, 0xF6};
    std::memcpy(section.data(), table, sizeof table);
    std::vector<uint8_t> bits;
    int used = 8;
    auto put = [&](uint32_t v, int n) {
      for (int i = n - 1; i >= 0; --i) {
        if (used == 8) {
          bits.push_back(0);
          used = 0;
        }
        if ((v >> i) & 1) bits.back() |= static_cast<uint8_t>(0x80 >> used);
        ++used;
      }
    };
    for (int row : {0, 1, 1023, 1024}) {
      put(0xFFFFFE, 24);
      put(0, 2);
      put(static_cast<uint32_t>(row), 13);
      put(0, 1);
      for (int x = 0; row < 1024 && x < 1536; ++x) put(x % 3 == 0 ? 2 : (x % 3 == 1 ? 0 : 6), x % 3 == 1 ? 1 : (x % 3 == 0 ? 2 : 3));
    }
    section.insert(section.end(), bits.begin(), bits.end());
    Write(root + "/pcd-4base", "rows.bin", section);
  }
  std::printf("pixio_fuzz_seeds: %d files in %s\n", g_written, root.c_str());
  return 0;
}
