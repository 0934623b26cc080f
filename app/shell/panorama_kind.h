#ifndef APP_SHELL_PANORAMA_KIND_H
#define APP_SHELL_PANORAMA_KIND_H

#include "seamcore.h"

namespace vmd {

/// The kinds of panorama the user chooses, with the numbers of the engine
/// matrix's layouts (the matrix's `layout` receives the kind unchanged).
enum PanoramaKind : int {
  PanoHorizontal = kLayoutRow,
  PanoVertical = kLayoutColumn,
  PanoTile = kLayoutTile,
  Pano360 = kLayoutCircle,
};

}  // namespace vmd

#endif  // APP_SHELL_PANORAMA_KIND_H
