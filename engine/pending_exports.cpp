// Exports whose work has not landed yet answer with a status that no finished
// export returns, so a caller cannot mistake them for a stitch.
#include "seamcore.h"

namespace {
constexpr long kNotBuiltYet = -1;
}

extern "C" SEAMCORE_API long Align(StitchMatrix*, StitchOptions*, StitchProgressProc) {
  return kNotBuiltYet;
}
