#ifndef TESTS_PLATFORM_PIXIO_SAMPLE_JPEGS_H
#define TESTS_PLATFORM_PIXIO_SAMPLE_JPEGS_H

#include <cstdint>
#include <vector>

#include "image.h"

namespace pixio_test {

/// How libjpeg itself is asked to write a sample file.
struct JpegWriting {
  int quality = 90;
  bool progressive = false;
  int restartRows = 0;   ///< a restart marker every this many MCU rows; 0 for none
  bool cmyk = false;     ///< four inks made from the picture's colours
  bool adobe = true;     ///< with CMYK: Adobe's marker (inks stored inverted)
};

/// The JPEG file libjpeg writes for a 24-bit or grey `image` (empty when it
/// refuses), so the tests can reach the kinds of file PIXIO never writes.
std::vector<uint8_t> LibjpegFile(const pixio::Image& image, const JpegWriting& how);

/// The JPEG file of `image` with an EXIF block naming `orientation` after SOI.
std::vector<uint8_t> JpegWithOrientation(const pixio::Image& image, int orientation,
                                         bool bigEndian);

}  // namespace pixio_test

#endif  // TESTS_PLATFORM_PIXIO_SAMPLE_JPEGS_H
