#ifndef TESTS_SUPPORT_SYNTHETIC_SCENE_H
#define TESTS_SUPPORT_SYNTHETIC_SCENE_H

/// Synthetic photo sets with known camera turns, for tests of alignment,
/// blending and the program.
///
/// A deterministic, richly textured scene (random-coloured cells at several
/// scales, so corners everywhere and no repetition) is painted on a vertical
/// cylinder or on a sphere around the camera. Each photo is rendered by an
/// ideal pinhole camera turning about the centre, with 2 x 2 supersampling
/// (by default).
///
/// Frames are the engine's: camera x to the right, y upward, looking along -z;
/// rows of the DIBs are stored bottom-up, so stored row y is camera y - cy
/// with cy = (height - 1) / 2 (likewise cx for x). The focal length is in
/// pixels. A photo's orientation R takes its camera rays into the world:
/// world = R x ray; the pair rotation between P and its neighbour Q (what the
/// engine solves into rightRotation or upRotation) is R_P^T x R_Q.
///
/// Angles: yaw turns the view to the right (towards +x), pitch upward, roll
/// about the view axis (counter-clockwise in the picture), all in degrees;
/// R = Yaw x Pitch x Roll.

#include <cstdint>
#include <vector>

#include "win32_api.h"

namespace testing_support {

enum class SceneSurface { kCylinder, kSphere };

/// A photograph painted on the scene's cylinder in place of the random
/// cells: `width` x `height` pixels, blue-green-red, rows from the top. Its
/// centre lies straight ahead at the horizon, and it spans `turnDegrees` of
/// the turn; upward it keeps the same pixels per radian (rows are tangent
/// heights on the cylinder). Outside its edges it is mirrored, so a picture
/// made of a photo and its mirror image that spans 360 degrees closes into a
/// seamless circle.
struct SceneTexture {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> bgr;  ///< 3 bytes a pixel, rows top-down without padding
  double turnDegrees = 360;
};

struct SyntheticPose {
  double yawDegrees = 0;
  double pitchDegrees = 0;
  double rollDegrees = 0;
};

/// What to render. Cells are indexed column + row x columns (row 0 at the
/// bottom, as in the engine's matrix).
struct SyntheticSetup {
  int layout = 0;  ///< the engine's layout numbers: 0 row, 1 column, 2 tile grid, 3 circle
  int columns = 3;
  int rows = 1;
  int width = 640;   ///< pixels, every photo
  int height = 480;
  double focal = 550;  ///< pixels
  /// Turn between neighbours when no poses are given: yaw per column, pitch
  /// per row. For layout 3 the yaw step is 360 / columns whatever is set here.
  double yawStepDegrees = 36;
  double pitchStepDegrees = 28;
  /// Yaw of column 0 and pitch of row 0 when no poses are given.
  double firstYawDegrees = 0;
  double firstPitchDegrees = 0;
  /// Extra deterministic yaw, pitch and roll per photo, uniform in
  /// [-jitter, +jitter] degrees.
  double jitterDegrees = 0;
  /// One pose per cell, replacing the steps and the jitter when not empty.
  std::vector<SyntheticPose> poses;
  /// Cells left without a photo (tile grid).
  std::vector<int> emptyCells;
  /// Exposure gain per cell (colour bytes multiplied, then clamped); 1 when
  /// absent.
  std::vector<double> gains;
  /// Amplitude of uniform noise added to every colour byte (0 for none).
  double noise = 0;
  SceneSurface surface = SceneSurface::kCylinder;
  /// Samples per pixel along each axis (2: 2 x 2 supersampling). 1 renders four
  /// times faster, with harder edges; for large photos in benchmarks.
  int supersample = 2;
  /// Selects the scene's texture and the noise; the same seed gives the same
  /// photos byte for byte.
  uint32_t seed = 1;
  /// A photograph to paint instead of the random cells (cylinder only); not
  /// owned, and it must outlive the set's construction.
  const SceneTexture* texture = nullptr;
};

/// A rendered set. Owns its photos (24-bit DIBs in movable global memory,
/// 40-byte header, no colour table) until they are taken.
class SyntheticSet {
 public:
  explicit SyntheticSet(const SyntheticSetup& scene);
  ~SyntheticSet();
  SyntheticSet(const SyntheticSet&) = delete;
  SyntheticSet& operator=(const SyntheticSet&) = delete;

  const SyntheticSetup& Setup() const { return setup_; }
  int Cells() const { return setup_.columns * setup_.rows; }
  /// The photo of a cell (null for an empty cell or one already taken). The
  /// set keeps ownership.
  HGLOBAL Photo(int column, int row) const;
  /// Hands the photo of a cell to the caller, who frees it with GlobalFree.
  HGLOBAL TakePhoto(int column, int row);
  bool HasPhoto(int column, int row) const;
  /// The camera-to-world rotation of a cell, row-major.
  const double* Orientation(int column, int row) const;
  /// The true pair rotation R_P^T x R_Q between two cells, row-major.
  void TrueRelative(int column, int row, int otherColumn, int otherRow, double out[9]) const;
  const SyntheticPose& Pose(int column, int row) const;

 private:
  int Index(int column, int row) const { return column + row * setup_.columns; }

  SyntheticSetup setup_;
  std::vector<HGLOBAL> photos_;
  std::vector<SyntheticPose> poses_;
  std::vector<double> orientations_;  // 9 per cell
};

/// The rotation R = Yaw x Pitch x Roll of a pose, row-major.
void PoseRotation(const SyntheticPose& pose, double out[9]);

/// The angle in degrees of the rotation a^T x b (how far apart two rotations are).
double RotationDistanceDegrees(const double a[9], const double b[9]);

/// The scene's colour (0xRRGGBB) seen along a world direction.
uint32_t SceneColour(const SyntheticSetup& scene, double x, double y, double z);

}  // namespace testing_support

#endif  // TESTS_SUPPORT_SYNTHETIC_SCENE_H
