// libFuzzer target for the movie reader of the QuickTime layer: any bytes may
// be refused; none may crash it, read out of bounds or exhaust memory.
#include <cstdint>
#include <memory>
#include <vector>

#include "movie_model.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::unique_ptr<QtMovieRec> movie;
  qtl::ParseMovie(std::vector<uint8_t>(data, data + size), &movie);
  return 0;
}
