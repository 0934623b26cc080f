// photo_set_check: stitches a folder of photos whose true poses are known
// (img_NN.jpg beside a truth.json giving the layout, the focal length in
// pixels and each photo's camera-to-world rotation, camera x right, y down,
// z forward) and says how far the engine's orientations are from the truth:
// the worst angle once the common frame is taken out, the worst join in photo
// pixels, the focal length found and the crop's size. vmd3-stitch makes the
// same panorama for looking at.
//
//   photo_set_check SET_FOLDER [--size large|medium|small]
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "camera.h"
#include "pixio.h"
#include "seamcore.h"
#include "stitch_job.h"
#include "stitch_plan.h"
#include "synthetic_scene.h"

namespace {

using seam::Mat3;
using seam::Vec3;

struct Truth {
  std::string layout;
  int rows = 0;
  int columns = 0;
  int width = 0;
  int height = 0;
  double focal = 0;
  std::vector<std::string> files;
  std::vector<Mat3> rotation;  // in the engine's frame: x right, y up, looking along -z
};

// The numbers after `key` in the text, from `from` on: the value of a number
// key or every number of an array (nested or not), up to the array's end.
std::vector<double> NumbersAfter(const std::string& text, const std::string& key, size_t* from) {
  std::vector<double> out;
  const size_t at = text.find("\"" + key + "\"", *from);
  if (at == std::string::npos) return out;
  size_t i = text.find(':', at) + 1;
  int depth = 0;
  while (i < text.size()) {
    const char c = text[i];
    if (c == '[') {
      ++depth;
      ++i;
    } else if (c == ']') {
      --depth;
      ++i;
      if (depth <= 0) break;
    } else if (c == ',' || c == ' ' || c == '\n' || c == '\r' || c == '\t') {
      if (depth == 0 && c == ',') break;
      ++i;
    } else {
      char* end = nullptr;
      const double v = std::strtod(text.c_str() + i, &end);
      if (end == text.c_str() + i) break;
      out.push_back(v);
      i = static_cast<size_t>(end - text.c_str());
      if (depth == 0) break;
    }
  }
  *from = i;
  return out;
}

std::string StringAfter(const std::string& text, const std::string& key, size_t* from) {
  const size_t at = text.find("\"" + key + "\"", *from);
  if (at == std::string::npos) return "";
  const size_t open = text.find('"', text.find(':', at) + 1);
  const size_t close = text.find('"', open + 1);
  *from = close + 1;
  return text.substr(open + 1, close - open - 1);
}

bool ReadTruth(const std::string& folder, Truth* t, std::string* why) {
  std::ifstream in(folder + "/truth.json");
  if (!in) {
    *why = "no truth.json in " + folder;
    return false;
  }
  std::stringstream ss;
  ss << in.rdbuf();
  const std::string text = ss.str();
  size_t at = 0;
  t->layout = StringAfter(text, "layout", &at);
  at = 0;
  const std::vector<double> rows = NumbersAfter(text, "rows", &at);
  const std::vector<double> cols = NumbersAfter(text, "cols", &at);
  const std::vector<double> size = NumbersAfter(text, "image_size", &at);
  const std::vector<double> focal = NumbersAfter(text, "focal_px", &at);
  if (rows.size() != 1 || cols.size() != 1 || size.size() != 2 || focal.size() != 1) {
    *why = "truth.json lacks rows, cols, image_size or focal_px";
    return false;
  }
  t->rows = static_cast<int>(rows[0]);
  t->columns = static_cast<int>(cols[0]);
  t->width = static_cast<int>(size[0]);
  t->height = static_cast<int>(size[1]);
  t->focal = focal[0];
  at = text.find("\"photos\"");
  // The engine looks along -z with y up: its rotation is C R C with
  // C = diag(1, -1, -1), a half turn about x, which keeps relative turns.
  const double flip[3] = {1, -1, -1};
  while (at != std::string::npos) {
    size_t probe = at;
    const std::string file = StringAfter(text, "file", &probe);
    if (file.empty()) break;
    const std::vector<double> r = NumbersAfter(text, "R_cam_to_world", &probe);
    if (r.size() != 9) break;
    Mat3 m;
    for (int i = 0; i < 3; ++i)
      for (int j = 0; j < 3; ++j) m(i, j) = flip[i] * r[static_cast<size_t>(3 * i + j)] * flip[j];
    t->files.push_back(file);
    t->rotation.push_back(m);
    at = probe;
  }
  if (t->files.empty() || static_cast<int>(t->files.size()) > t->rows * t->columns) {
    *why = "truth.json names no photos, or more than its rows and columns hold";
    return false;
  }
  return true;
}

int KindOf(const std::string& layout) {
  if (layout == "column") return vmd::PanoVertical;
  if (layout == "tile" || layout == "grid") return vmd::PanoTile;
  if (layout == "circle") return vmd::Pano360;
  return vmd::PanoHorizontal;
}

// Worst distance in photo pixels between where the stitch puts Q's pixels in
// P and where they truly are, over a grid of Q's pixels that P sees.
double JoinError(const Truth& t, const Mat3& foundP, const Mat3& foundQ, double focal, int p, int q) {
  const Mat3 relTrue = seam::Multiply(seam::Transposed(t.rotation[static_cast<size_t>(p)]),
                                      t.rotation[static_cast<size_t>(q)]);
  const Mat3 relFound = seam::Multiply(seam::Transposed(foundP), foundQ);
  const double cx = (t.width - 1) / 2.0, cy = (t.height - 1) / 2.0;
  double worst = -1;
  for (int gy = 0; gy <= 16; ++gy)
    for (int gx = 0; gx <= 16; ++gx) {
      const double x = gx * (t.width - 1) / 16.0 - cx, y = gy * (t.height - 1) / 16.0 - cy;
      const Vec3 a = seam::Multiply(relTrue, Vec3{x, y, -t.focal});
      if (a.z >= 0) continue;
      const double tx = -t.focal * a.x / a.z, ty = -t.focal * a.y / a.z;
      if (std::fabs(tx) > cx || std::fabs(ty) > cy) continue;
      const Vec3 b = seam::Multiply(relFound, Vec3{x, y, -focal});
      if (b.z >= 0) return 1e9;
      worst = std::max(worst, std::hypot(-focal * b.x / b.z - tx, -focal * b.y / b.z - ty));
    }
  return worst;  // -1: the two photos do not overlap
}

int Fail(const std::string& why) {
  std::fprintf(stderr, "photo_set_check: %s\n", why.c_str());
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return Fail("usage: photo_set_check SET_FOLDER [--size large|medium|small]");
  const std::string folder = argv[1];
  int detail = 0;
  for (int i = 2; i + 1 < argc; i += 2) {
    const std::string w = argv[i], v = argv[i + 1];
    if (w == "--size") detail = v == "small" ? 2 : v == "medium" ? 1 : 0;
  }
  Truth t;
  std::string why;
  if (!ReadTruth(folder, &t, &why)) return Fail(why);

  // Photos are numbered left to right, then top to bottom, as the tile
  // grid's places are given.
  stitch::Arguments args;
  args.kind = KindOf(t.layout);
  args.detail = detail;
  for (const std::string& f : t.files) args.photos.push_back(folder + "/" + f);
  const int n = static_cast<int>(t.files.size());
  if (args.kind == vmd::PanoTile)
    for (int k = 0; k < n; ++k) args.places.push_back({k % t.columns, k / t.columns});
  stitch::Job s;
  if (!stitch::PrepareJob(args, &s, &why)) return Fail(why);
  StitchMatrix& matrix = s.matrix;
  StitchOptions& options = s.options;
  SetProgressState(0);
  const long aligned = Align(&matrix, &options, nullptr);
  if (aligned != kStitchOk) return Fail("Align returned " + std::to_string(aligned));
  RECT crop{};
  const long blended = Blend(&matrix, &options, &s.panorama, &crop, nullptr);
  if (blended != kStitchOk) return Fail("Blend returned " + std::to_string(blended));

  // The orientations drawn, per photo, and the worst angle once photo 0's
  // frame is taken out.
  std::vector<Mat3> found(static_cast<size_t>(n), seam::Identity());
  for (size_t i = 0; i < s.elements.size(); ++i)
    if (s.photoOfElement[i] >= 0)
      found[static_cast<size_t>(s.photoOfElement[i])] = Mat3::From(s.elements[i].orientation);
  const Mat3 frame = seam::Multiply(found[0], seam::Transposed(t.rotation[0]));
  double worstAngle = 0;
  for (int k = 0; k < n; ++k) {
    double e[9], g[9];
    seam::Multiply(frame, t.rotation[static_cast<size_t>(k)]).CopyTo(e);
    found[static_cast<size_t>(k)].CopyTo(g);
    worstAngle = std::max(worstAngle, testing_support::RotationDistanceDegrees(e, g));
  }
  double worstJoin = 0;
  int joins = 0;
  for (int p = 0; p < n; ++p)
    for (int q = p + 1; q < n; ++q) {
      const double e = JoinError(t, found[static_cast<size_t>(p)], found[static_cast<size_t>(q)],
                                 options.focal, p, q);
      if (e < 0) continue;
      ++joins;
      worstJoin = std::max(worstJoin, e);
    }
  auto* h = static_cast<BITMAPINFOHEADER*>(GlobalLock(s.panorama));
  const int pw = h->biWidth, ph = h->biHeight;
  GlobalUnlock(s.panorama);
  std::printf("%s: %d photos, %s; worst orientation %.3f deg, worst join %.2f px over %d overlapping pairs, "
              "focal %.1f px (true %.1f, %+.2f %%); panorama %d x %d, crop %ld x %ld\n",
              folder.c_str(), n, t.layout.c_str(), worstAngle, worstJoin, joins, options.focal, t.focal,
              100.0 * (options.focal - t.focal) / t.focal, pw, ph, static_cast<long>(crop.right - crop.left),
              static_cast<long>(crop.bottom - crop.top));
  return 0;
}
