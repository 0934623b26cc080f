// libFuzzer target for the parsers of the image commands: the TIFF header
// walk of the LZW check and the walk through an Open dialog's selection.
#include <cstddef>
#include <cstdint>
#include <string>

#include "image_file_rules.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  vmd::TiffBytesUseLzw(data, size);
  const char* selection = reinterpret_cast<const char*>(data);
  std::string path;
  int index = 0;
  for (int files = 0; files < 1000 && index >= 0; ++files)
    index = vmd::NextSelectedFile(selection, size, index, &path);
  return 0;
}
