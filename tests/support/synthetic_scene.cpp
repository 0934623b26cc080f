#include "synthetic_scene.h"

#include "test_dib.h"

#include <cmath>
#include <cstring>

namespace testing_support {

namespace {

constexpr double kPi = 3.14159265358979323846;

uint32_t Hash(uint32_t a, uint32_t b, uint32_t c, uint32_t seed) {
  uint32_t h = seed * 0x9E3779B1u ^ a * 0x85EBCA77u ^ b * 0xC2B2AE3Du ^ c * 0x27D4EB2Fu;
  h ^= h >> 15;
  h *= 0x2C1B3C6Du;
  h ^= h >> 12;
  h *= 0x297A2D39u;
  h ^= h >> 15;
  return h;
}

double Unit(uint32_t h) { return (h & 0xFFFFFF) / double(0xFFFFFF); }

void Multiply(const double a[9], const double b[9], double out[9]) {
  for (int r = 0; r < 3; ++r)
    for (int c = 0; c < 3; ++c) {
      double s = 0;
      for (int k = 0; k < 3; ++k) s += a[3 * r + k] * b[3 * k + c];
      out[3 * r + c] = s;
    }
}

void TransposeInto(const double a[9], double out[9]) {
  for (int r = 0; r < 3; ++r)
    for (int c = 0; c < 3; ++c) out[3 * c + r] = a[3 * r + c];
}

/// Random-coloured cells: `around` cells per turn (wrapping, so a full circle
/// has no seam), square in angle, shifted per octave so their edges do not
/// line up. Returns the cell's colour channel values in [0, 1).
void CellColour(double u, double v, int around, int octave, uint32_t seed, double rgb[3]) {
  const double shift = 0.37 * octave;
  const double cu = u * around + shift;
  const double cv = v * around / (2 * kPi) + shift * 1.7;
  int iu = static_cast<int>(std::floor(cu));
  const int iv = static_cast<int>(std::floor(cv));
  iu = ((iu % around) + around) % around;
  const uint32_t h = Hash(static_cast<uint32_t>(iu), static_cast<uint32_t>(iv + 100000),
                          static_cast<uint32_t>(octave), seed);
  rgb[0] = (h & 0xFF) / 255.0;
  rgb[1] = ((h >> 8) & 0xFF) / 255.0;
  rgb[2] = ((h >> 16) & 0xFF) / 255.0;
}

}  // namespace

void PoseRotation(const SyntheticPose& pose, double out[9]) {
  const double y = pose.yawDegrees * kPi / 180, p = pose.pitchDegrees * kPi / 180,
               r = pose.rollDegrees * kPi / 180;
  // Yaw to the right: a turn about -y. Pitch up: about +x. Roll: about +z.
  const double yaw[9] = {std::cos(y), 0, -std::sin(y), 0, 1, 0, std::sin(y), 0, std::cos(y)};
  const double pitch[9] = {1, 0, 0, 0, std::cos(p), -std::sin(p), 0, std::sin(p), std::cos(p)};
  const double roll[9] = {std::cos(r), -std::sin(r), 0, std::sin(r), std::cos(r), 0, 0, 0, 1};
  double yp[9];
  Multiply(yaw, pitch, yp);
  Multiply(yp, roll, out);
}

double RotationDistanceDegrees(const double a[9], const double b[9]) {
  double at[9], d[9];
  TransposeInto(a, at);
  Multiply(at, b, d);
  double c = (d[0] + d[4] + d[8] - 1) / 2;
  if (c > 1) c = 1;
  if (c < -1) c = -1;
  return std::acos(c) * 180 / kPi;
}

namespace {

/// Reflects a coordinate into [0, size): ... 2 1 0 | 0 1 2 ... size-1 | size-1 ...
double Mirror(double t, int size) {
  const double period = 2.0 * size;
  t = std::fmod(t, period);
  if (t < 0) t += period;
  return t < size ? t : period - t - 1e-9;
}

uint32_t TextureColour(const SceneTexture& texture, double angle, double tangentHeight) {
  const double perRadian = texture.width / (texture.turnDegrees * kPi / 180);
  const double tx = Mirror(texture.width / 2.0 + angle * perRadian - 0.5, texture.width);
  const double ty = Mirror(texture.height / 2.0 - tangentHeight * perRadian - 0.5, texture.height);
  const int x0 = static_cast<int>(tx), y0 = static_cast<int>(ty);
  const int x1 = x0 + 1 < texture.width ? x0 + 1 : x0, y1 = y0 + 1 < texture.height ? y0 + 1 : y0;
  const double fx = tx - x0, fy = ty - y0;
  uint32_t out = 0;
  for (int k = 0; k < 3; ++k) {
    auto at = [&](int x, int y) { return texture.bgr[(static_cast<size_t>(y) * texture.width + x) * 3 + k]; };
    const double value = (at(x0, y0) * (1 - fx) + at(x1, y0) * fx) * (1 - fy) +
                         (at(x0, y1) * (1 - fx) + at(x1, y1) * fx) * fy;
    out |= static_cast<uint32_t>(std::lround(value)) << (8 * k);
  }
  return out;
}

}  // namespace

uint32_t SceneColour(const SyntheticSetup& scene, double x, double y, double z) {
  if (scene.texture != nullptr && scene.texture->width > 0 && scene.texture->height > 0)
    return TextureColour(*scene.texture, std::atan2(x, -z), y / std::sqrt(x * x + z * z));
  // Angle around the vertical (0 straight ahead along -z, growing to the
  // right), as a fraction of a turn; height as tangent of the elevation on a
  // cylinder or the elevation itself on a sphere, in radians.
  const double horizontal = std::sqrt(x * x + z * z);
  double u = std::atan2(x, -z) / (2 * kPi);
  if (u < 0) u += 1;
  const double v = scene.surface == SceneSurface::kCylinder ? y / horizontal : std::atan2(y, horizontal);
  // Octaves from about 60 to about 8 pixels per cell at a focal of 550.
  static const int kAround[4] = {56, 112, 224, 448};
  static const double kWeight[4] = {0.35, 0.3, 0.22, 0.13};
  double rgb[3] = {0, 0, 0};
  for (int o = 0; o < 4; ++o) {
    double c[3];
    CellColour(u, v, kAround[o], o, scene.seed, c);
    for (int k = 0; k < 3; ++k) rgb[k] += kWeight[o] * c[k];
  }
  uint32_t out = 0;
  for (int k = 0; k < 3; ++k) {
    int value = static_cast<int>(20 + 215 * rgb[k]);
    value = value < 0 ? 0 : (value > 255 ? 255 : value);
    out |= static_cast<uint32_t>(value) << (8 * (2 - k));
  }
  return out;
}

SyntheticSet::SyntheticSet(const SyntheticSetup& scene) : setup_(scene) {
  const int cells = Cells();
  photos_.assign(cells, nullptr);
  poses_.assign(cells, SyntheticPose{});
  orientations_.assign(static_cast<size_t>(cells) * 9, 0);
  const double yawStep = scene.layout == 3 && scene.columns > 0 ? 360.0 / scene.columns : scene.yawStepDegrees;
  for (int r = 0; r < scene.rows; ++r)
    for (int c = 0; c < scene.columns; ++c) {
      const int i = Index(c, r);
      SyntheticPose pose;
      if (!scene.poses.empty()) {
        pose = scene.poses[i];
      } else {
        pose.yawDegrees = scene.firstYawDegrees + c * yawStep;
        pose.pitchDegrees = scene.firstPitchDegrees + r * scene.pitchStepDegrees;
        if (scene.jitterDegrees > 0) {
          const double j = scene.jitterDegrees;
          pose.yawDegrees += (2 * Unit(Hash(i, 11, 0, scene.seed)) - 1) * j;
          pose.pitchDegrees += (2 * Unit(Hash(i, 12, 0, scene.seed)) - 1) * j;
          pose.rollDegrees += (2 * Unit(Hash(i, 13, 0, scene.seed)) - 1) * j;
        }
      }
      poses_[i] = pose;
      PoseRotation(pose, &orientations_[static_cast<size_t>(i) * 9]);
    }

  const int w = scene.width, h = scene.height;
  const int stride = ((w * 24 + 31) / 32) * 4;
  const double cx = (w - 1) / 2.0, cy = (h - 1) / 2.0;
  const int n = scene.supersample > 1 ? scene.supersample : 1;
  for (int i = 0; i < cells; ++i) {
    bool empty = false;
    for (int e : scene.emptyCells) empty = empty || e == i;
    if (empty) continue;
    HGLOBAL block = MakeDib24(w, h, [](int, int) { return 0u; });
    if (!block) continue;
    auto* header = static_cast<BITMAPINFOHEADER*>(GlobalLock(block));
    auto* bits = reinterpret_cast<uint8_t*>(header) + 40;
    const double* m = &orientations_[static_cast<size_t>(i) * 9];
    const double gain = i < static_cast<int>(scene.gains.size()) ? scene.gains[i] : 1.0;
    for (int y = 0; y < h; ++y) {
      uint8_t* row = bits + static_cast<size_t>(y) * stride;
      std::memset(row, 0, stride);
      for (int x = 0; x < w; ++x) {
        int sum[3] = {0, 0, 0};
        for (int sy = 0; sy < n; ++sy)
          for (int sx = 0; sx < n; ++sx) {
            const double rx = x - cx + (sx + 0.5) / n - 0.5, ry = y - cy + (sy + 0.5) / n - 0.5,
                         rz = -scene.focal;
            const double wx = m[0] * rx + m[1] * ry + m[2] * rz;
            const double wy = m[3] * rx + m[4] * ry + m[5] * rz;
            const double wz = m[6] * rx + m[7] * ry + m[8] * rz;
            const uint32_t colour = SceneColour(scene, wx, wy, wz);
            sum[0] += colour & 0xFF;
            sum[1] += (colour >> 8) & 0xFF;
            sum[2] += (colour >> 16) & 0xFF;
          }
        for (int k = 0; k < 3; ++k) {
          double value = sum[k] / double(n * n) * gain;
          if (scene.noise > 0)
            value += (2 * Unit(Hash(x, y, static_cast<uint32_t>(i * 3 + k), scene.seed + 7)) - 1) *
                     scene.noise;
          const int v = static_cast<int>(std::lround(value));
          row[3 * x + k] = static_cast<uint8_t>(v < 0 ? 0 : (v > 255 ? 255 : v));
        }
      }
    }
    GlobalUnlock(block);
    photos_[i] = block;
  }
}

SyntheticSet::~SyntheticSet() {
  for (HGLOBAL h : photos_)
    if (h) GlobalFree(h);
}

HGLOBAL SyntheticSet::Photo(int column, int row) const { return photos_[Index(column, row)]; }

HGLOBAL SyntheticSet::TakePhoto(int column, int row) {
  HGLOBAL h = photos_[Index(column, row)];
  photos_[Index(column, row)] = nullptr;
  return h;
}

bool SyntheticSet::HasPhoto(int column, int row) const {
  return photos_[Index(column, row)] != nullptr;
}

const double* SyntheticSet::Orientation(int column, int row) const {
  return &orientations_[static_cast<size_t>(Index(column, row)) * 9];
}

void SyntheticSet::TrueRelative(int column, int row, int otherColumn, int otherRow,
                                double out[9]) const {
  double pt[9];
  TransposeInto(Orientation(column, row), pt);
  Multiply(pt, Orientation(otherColumn, otherRow), out);
}

const SyntheticPose& SyntheticSet::Pose(int column, int row) const {
  return poses_[Index(column, row)];
}

}  // namespace testing_support
