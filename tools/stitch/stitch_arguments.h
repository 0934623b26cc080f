#ifndef TOOLS_STITCH_STITCH_ARGUMENTS_H
#define TOOLS_STITCH_STITCH_ARGUMENTS_H

/// The command-line stitcher's arguments. The checks, the matrix shape and the
/// focal length are the program's own (stitch_plan.h).

#include <string>
#include <vector>

#include "stitch_plan.h"

namespace stitch {

/// Lens modes of the engine's options.
enum LensKind : int { kLensAutomatic = 0, kLensFixed = 1, kLensTelephoto = 2 };

using vmd::GridPlace;

struct Arguments {
  int kind = vmd::PanoHorizontal;
  int lensMode = kLensAutomatic;
  double focalMm = 1200.0;  ///< the program's start value; used only with kLensFixed
  int detail = 1;           ///< 0 large (full size), 1 medium (half), 2 small (a quarter)
  bool exposure = true;
  bool crop = true;
  int jpegQuality = 75;  ///< 1 to 100, the codec layer's start value
  std::vector<GridPlace> places;  ///< one per photo with --at, else empty
  std::string output;
  std::vector<std::string> photos;
  bool help = false;
};

/// Parses the words after the program name. False with a one-line reason.
bool ParseArguments(const std::vector<std::string>& words, Arguments* out, std::string* error);

/// The --help text.
const char* HelpText();

/// The grid places of the photos of a tile panorama: the --at places, or
/// without them row by row from the top left in rows of ceil(sqrt(count)).
std::vector<GridPlace> TilePlaces(const Arguments& args, int count);

/// The extension of OUT names a type the codec layer writes.
bool OutputTypeKnown(const std::string& path);

}  // namespace stitch

#endif  // TOOLS_STITCH_STITCH_ARGUMENTS_H
