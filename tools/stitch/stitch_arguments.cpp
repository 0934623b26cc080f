#include "stitch_arguments.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <set>

namespace stitch {

namespace {

constexpr int kMaxPhotos = 64;  // the storyboard's places
constexpr int kGrid = vmd::kTileGridSide;

bool ParseNumber(const std::string& text, double* out) {
  if (text.empty()) return false;
  char* end = nullptr;
  const double v = std::strtod(text.c_str(), &end);
  if (end != text.c_str() + text.size() || !std::isfinite(v)) return false;
  *out = v;
  return true;
}

bool ParsePlace(const std::string& text, GridPlace* out) {
  const size_t comma = text.find(',');
  if (comma == std::string::npos || comma + 1 >= text.size()) return false;
  const std::string c = text.substr(0, comma), r = text.substr(comma + 1);
  if (c.size() != 1 || r.size() != 1 || !std::isdigit(static_cast<unsigned char>(c[0])) ||
      !std::isdigit(static_cast<unsigned char>(r[0])))
    return false;
  out->first = c[0] - '0';
  out->second = r[0] - '0';
  return out->first < kGrid && out->second < kGrid;
}

std::string Lower(std::string s) {
  for (char& ch : s) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
  return s;
}

}  // namespace

const char* HelpText() {
  return "usage: vmd3-stitch [options] -o OUT PHOTO...\n"
         "Stitches overlapping photos into one panorama and writes it to OUT, whose\n"
         "extension picks the type (.jpg .bmp .tif .pcx .gif .tga .fpx).\n"
         "\n"
         "  --kind row|column|tile|circle  the kind of panorama (default row): a row\n"
         "                       left to right, a column top to bottom, a tile grid,\n"
         "                       or a full 360-degree circle\n"
         "  --lens auto|MM|tele  the lens: estimated (default), a 35 mm-equivalent\n"
         "                       focal length in millimetres, or telephoto\n"
         "  --size large|medium|small  full, half (default) or quarter resolution\n"
         "  --no-exposure        do not even out the photos' exposure\n"
         "  --no-crop            keep the whole blended image, not the suggested crop\n"
         "  --quality Q          JPEG quality of a .jpg output, 1 to 100 (default 75)\n"
         "  --at c,r             tile grid only, once per photo in order: its place\n"
         "                       on the 4 x 4 grid, column from the left and row from\n"
         "                       the top, 0 to 3; without --at the photos fill the grid\n"
         "                       row by row in rows of ceil(sqrt(count))\n"
         "  -o OUT               the output file\n"
         "  -h, --help           this text\n"
         "\n"
         "Photos must be between 1:2 and 2:1 and larger than 64 x 64 pixels; a row\n"
         "or column needs 2 photos, a tile grid 3 and a circle 6. Progress goes to\n"
         "stderr; Ctrl-C cancels. The exit status is 0 on success, 1 on failure and\n"
         "2 for wrong arguments.\n";
}

bool ParseArguments(const std::vector<std::string>& words, Arguments* out, std::string* error) {
  Arguments a;
  bool lensGiven = false;
  for (size_t i = 0; i < words.size(); ++i) {
    const std::string& w = words[i];
    auto value = [&](std::string* v) {
      if (i + 1 >= words.size()) {
        *error = w + " needs a value";
        return false;
      }
      *v = words[++i];
      return true;
    };
    std::string v;
    if (w == "-h" || w == "--help") {
      a.help = true;
    } else if (w == "--kind") {
      if (!value(&v)) return false;
      v = Lower(v);
      if (v == "row") a.kind = vmd::PanoHorizontal;
      else if (v == "column") a.kind = vmd::PanoVertical;
      else if (v == "tile") a.kind = vmd::PanoTile;
      else if (v == "circle") a.kind = vmd::Pano360;
      else {
        *error = "--kind must be row, column, tile or circle, not \"" + v + "\"";
        return false;
      }
    } else if (w == "--lens") {
      if (!value(&v)) return false;
      lensGiven = true;
      v = Lower(v);
      double mm = 0;
      if (v == "auto") {
        a.lensMode = kLensAutomatic;
      } else if (v == "tele") {
        a.lensMode = kLensTelephoto;
      } else if (ParseNumber(v, &mm) && mm >= 1 && mm <= 2000) {
        a.lensMode = kLensFixed;
        a.focalMm = mm;
      } else {
        *error = "--lens must be auto, tele or a focal length of 1 to 2000 mm, not \"" + v + "\"";
        return false;
      }
    } else if (w == "--size") {
      if (!value(&v)) return false;
      v = Lower(v);
      if (v == "large") a.detail = 0;
      else if (v == "medium") a.detail = 1;
      else if (v == "small") a.detail = 2;
      else {
        *error = "--size must be large, medium or small, not \"" + v + "\"";
        return false;
      }
    } else if (w == "--no-exposure") {
      a.exposure = false;
    } else if (w == "--no-crop") {
      a.crop = false;
    } else if (w == "--quality") {
      if (!value(&v)) return false;
      double q = 0;
      if (!ParseNumber(v, &q) || q < 1 || q > 100 || q != static_cast<int>(q)) {
        *error = "--quality must be a whole number from 1 to 100, not \"" + v + "\"";
        return false;
      }
      a.jpegQuality = static_cast<int>(q);
    } else if (w == "--at") {
      if (!value(&v)) return false;
      GridPlace p;
      if (!ParsePlace(v, &p)) {
        *error = "--at needs a place c,r with both 0 to 3, not \"" + v + "\"";
        return false;
      }
      a.places.push_back(p);
    } else if (w == "-o") {
      if (!value(&v)) return false;
      if (!a.output.empty()) {
        *error = "-o given twice";
        return false;
      }
      a.output = v;
    } else if (w.size() > 1 && w[0] == '-') {
      *error = "unknown option " + w + " (see --help)";
      return false;
    } else {
      a.photos.push_back(w);
    }
  }
  if (a.help) {
    *out = a;
    return true;
  }
  if (a.output.empty()) {
    *error = "no output file: give -o OUT (see --help)";
    return false;
  }
  if (!OutputTypeKnown(a.output)) {
    *error = "cannot write \"" + a.output + "\": use .jpg, .bmp, .tif, .pcx, .gif, .tga or .fpx";
    return false;
  }
  if (a.photos.empty()) {
    *error = "no photos given (see --help)";
    return false;
  }
  if (static_cast<int>(a.photos.size()) > kMaxPhotos) {
    *error = "at most 64 photos";
    return false;
  }
  if (!a.places.empty()) {
    if (a.kind != vmd::PanoTile) {
      *error = "--at is for --kind tile only";
      return false;
    }
    if (a.places.size() != a.photos.size()) {
      *error = "give one --at per photo (" + std::to_string(a.photos.size()) + " photos, " +
               std::to_string(a.places.size()) + " places)";
      return false;
    }
    std::set<GridPlace> seen(a.places.begin(), a.places.end());
    if (seen.size() != a.places.size()) {
      *error = "two photos on one --at place";
      return false;
    }
  }
  if (a.kind == vmd::PanoTile && a.photos.size() > static_cast<size_t>(kGrid * kGrid)) {
    *error = "a tile grid holds at most 16 photos";
    return false;
  }
  // The full circle works out its own lens, as the program's lens list for it
  // offers "Automatic" only.
  if (a.kind == vmd::Pano360 && lensGiven && a.lensMode != kLensAutomatic) {
    *error = "--kind circle takes --lens auto only";
    return false;
  }
  *out = a;
  return true;
}

std::vector<GridPlace> TilePlaces(const Arguments& args, int count) {
  if (!args.places.empty()) return args.places;
  const int rowLength = std::max(1, static_cast<int>(std::ceil(std::sqrt(static_cast<double>(count)))));
  std::vector<GridPlace> places;
  for (int i = 0; i < count; ++i) places.emplace_back(i % rowLength, i / rowLength);
  return places;
}

bool OutputTypeKnown(const std::string& path) {
  const size_t dot = path.find_last_of('.');
  const size_t slash = path.find_last_of("/\\");
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return false;
  static const char* kTypes[] = {"jpg", "jpeg", "jpe", "bmp", "dib", "tif", "tiff", "pcx", "gif", "tga", "fpx"};
  const std::string ext = Lower(path.substr(dot + 1));
  return std::find_if(std::begin(kTypes), std::end(kTypes), [&](const char* t) { return ext == t; }) !=
         std::end(kTypes);
}

}  // namespace stitch
