// libFuzzer target for one decoder, chosen at compile time by PIXIO_FUZZ_FORMAT
// (bmp, tiff, pcx, gif, tga, jpeg, pcd, fpx, any). A decoder may refuse any
// input; it must never read or write out of bounds, leak, hang, or return a
// picture whose buffer does not match its size.
#include <cstdint>
#include <cstdlib>

#include "formats.h"

namespace {

bool Decode(const uint8_t* data, size_t size, pixio::Image* out) {
#if PIXIO_FUZZ_FORMAT == 1
  return pixio::DecodeBmp(data, size, out);
#elif PIXIO_FUZZ_FORMAT == 2
  return pixio::DecodeTiff(data, size, out);
#elif PIXIO_FUZZ_FORMAT == 3
  return pixio::DecodePcx(data, size, out);
#elif PIXIO_FUZZ_FORMAT == 4
  return pixio::DecodeGif(data, size, out);
#elif PIXIO_FUZZ_FORMAT == 5
  return pixio::DecodeTga(data, size, out);
#elif PIXIO_FUZZ_FORMAT == 6
  return pixio::DecodeJpeg(data, size, out);
#elif PIXIO_FUZZ_FORMAT == 7
  // The last byte picks the scene (the three stored ones; the two larger are
  // interpolated from Base) and grey or colour.
  if (size < 1) return false;
  const int choice = data[size - 1];
  return pixio::DecodePcd(data, size - 1, choice % 3, (choice & 0x80) != 0, out);
#elif PIXIO_FUZZ_FORMAT == 8
  return pixio::DecodeFpx(data, size, out);
#else
  return pixio::DecodeAny(data, size, out);
#endif
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  pixio::Image image;
  if (Decode(data, size, &image)) {
    if (!pixio::DimensionsAcceptable(image.width, image.height)) std::abort();
    if (image.pixels.size() != image.Stride() * static_cast<size_t>(image.height)) std::abort();
    if (image.bitCount != 24 && image.palette.size() > (size_t(1) << image.bitCount)) std::abort();
  }
  return 0;
}
