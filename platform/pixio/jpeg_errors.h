#ifndef PIXIO_JPEG_ERRORS_H
#define PIXIO_JPEG_ERRORS_H

// libjpeg's error handling as PIXIO uses it, set up in one place for every
// compressor and decompressor (and for the tests that drive libjpeg directly).
#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

namespace pixio {

/// An error makes libjpeg jump back to `jump` (the caller's setjmp, which then
/// destroys the compressor or decompressor); warnings that mean lost or
/// damaged picture data set `corrupt`, others are ignored.
struct JpegErrors {
  jpeg_error_mgr base;
  std::jmp_buf jump;
  bool corrupt;
};

/// Sets up `errors` (corrupt false) and returns what goes into `cinfo.err`.
jpeg_error_mgr* UseJpegErrors(JpegErrors* errors);

}  // namespace pixio

#endif  // PIXIO_JPEG_ERRORS_H
