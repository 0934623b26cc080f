// libFuzzer target for one decoder, chosen at compile time by PIXIO_FUZZ_FORMAT
// (bmp, tiff, pcx, gif, tga, jpeg, pcd, fpx, any, pcd-4base). A decoder may refuse any
// input; it must never read or write out of bounds, leak, hang, or return a
// picture whose buffer does not match its size. The JPEG target also reads
// each input straight into a DIB and holds it to the decoded picture's DIB.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

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
#elif PIXIO_FUZZ_FORMAT == 10
  // The 4Base correction section: the input's first sector is the code table
  // sector, the rest its data, behind a blank pack of the stored scenes.
  static const std::vector<uint8_t> blank = [] {
    std::vector<uint8_t> p(388 * 0x800, 0);
    std::memcpy(&p[0x800], "PCD_IPI", 7);
    return p;
  }();
  std::vector<uint8_t> pack(blank);
  pack.insert(pack.end(), data, data + size);
  return pixio::DecodePcd(pack.data(), pack.size(), 3, true, out);
#else
  return pixio::DecodeAny(data, size, out);
#endif
}

}  // namespace

// A 64-bit process accepts pictures up to 65535 a side; compressed formats
// cannot all be bounded by their bytes, so the fuzzers hold decoders to 2^26
// pixels (192 MB at 24 bits), well inside their 2 GB memory limit.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
  pixio::SetMaxReadPixels(int64_t(1) << 26);
  return 0;
}

#if PIXIO_FUZZ_FORMAT == 6
namespace {

std::vector<uint8_t> BlockBytes(HGLOBAL block) {
  const auto* base = static_cast<const uint8_t*>(GlobalLock(block));
  std::vector<uint8_t> bytes(base, base + GlobalSize(block));
  GlobalUnlock(block);
  GlobalFree(block);
  return bytes;
}

/// The photo read straight into a DIB (as the reading exports do) must give
/// the verdict and the bytes of the DIB made from the decoded picture.
void CompareStraightDib(const uint8_t* data, size_t size, bool decoded, const pixio::Image& image) {
  for (bool force24 : {false, true}) {
    HGLOBAL direct = nullptr;
    const pixio::JpegResult result = pixio::DecodeJpegToDib(data, size, force24, &direct);
    if (result == pixio::JpegResult::kDeclined) continue;
    if ((result == pixio::JpegResult::kDecoded) != decoded) std::abort();
    if (!decoded) continue;
    HGLOBAL copied = pixio::ToDib(image, force24);
    if (!copied) std::abort();
    if (BlockBytes(direct) != BlockBytes(copied)) std::abort();
  }
}

}  // namespace
#endif

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  pixio::Image image;
  const bool decoded = Decode(data, size, &image);
  if (decoded) {
    if (!pixio::DimensionsAcceptable(image.width, image.height)) std::abort();
    if (image.pixels.size() != image.Stride() * static_cast<size_t>(image.height)) std::abort();
    if (image.bitCount != 24 && image.palette.size() > (size_t(1) << image.bitCount)) std::abort();
  }
#if PIXIO_FUZZ_FORMAT == 6
  CompareStraightDib(data, size, decoded, image);
#endif
  return 0;
}
