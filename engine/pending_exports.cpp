// Exports whose work has not landed yet answer with a status that no finished
// export returns, so a caller cannot mistake them for a stitch.
#include "seamcore.h"

#include <initializer_list>

namespace {
constexpr long kNotBuiltYet = -1;
}

extern "C" SEAMCORE_API long Align(StitchMatrix*, StitchOptions*, StitchProgressProc) {
  return kNotBuiltYet;
}

extern "C" SEAMCORE_API long Blend(StitchMatrix*, StitchOptions*, HGLOBAL*, RECT*,
                                   StitchProgressProc) {
  return kNotBuiltYet;
}

extern "C" SEAMCORE_API long Locate(StitchMatrix*, StitchOptions*, POINT, LONG* firstColumn,
                                    LONG* firstRow, LONG* secondColumn, LONG* secondRow) {
  for (LONG* out : {firstColumn, firstRow, secondColumn, secondRow})
    if (out) *out = -1;
  return 0;
}
