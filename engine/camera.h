#ifndef ENGINE_CAMERA_H
#define ENGINE_CAMERA_H

/// The camera model shared by alignment, focal estimation, arrangement and
/// blending.
///
/// Every photo is a pinhole camera turning about one common centre. Camera
/// frame: x to the right, y upward (rows are stored bottom-up, so pixel y grows
/// upward too), the camera looks along -z. The ray of pixel (x, y) of a photo at
/// pyramid level k is (x - cx, y - cy, -focal / 2^k) with the centre of
/// PhotoCentre; focal is always held in level-0 pixels.
///
/// A pair rotation R between photo P and its right or upper neighbour Q maps a
/// ray of Q to the ray of the same scene point in P: ray_P = R x ray_Q. It is
/// stored in P's rightRotation or upRotation.
///
/// Matrices are 3 x 3 doubles stored row by row: element (r, c) is m[3r + c],
/// the layout of the element fields orientation, rightRotation and upRotation.

#include <vector>

#include "seamcore.h"

namespace seam {

struct Vec3 {
  double x = 0;
  double y = 0;
  double z = 0;
};

/// A 3 x 3 matrix, row-major (m[3 * row + column]).
struct Mat3 {
  double m[9] = {0, 0, 0, 0, 0, 0, 0, 0, 0};

  double& operator()(int row, int column) { return m[3 * row + column]; }
  double operator()(int row, int column) const { return m[3 * row + column]; }
  /// Copies from / to one of the element's row-major 9-double fields.
  static Mat3 From(const double* values);
  void CopyTo(double* values) const;
  Vec3 Column(int c) const { return {m[c], m[3 + c], m[6 + c]}; }
  void SetColumn(int c, const Vec3& v) {
    m[c] = v.x;
    m[3 + c] = v.y;
    m[6 + c] = v.z;
  }
};

/// Which neighbour of P a pair links: the right one (column+1) or the upper
/// one (row+1).
enum class PairKind { kRight, kUp };

// ---- vectors and matrices --------------------------------------------------

/// The vector divided by its length; a zero vector comes back unchanged rather
/// than as NaNs.
Vec3 Normalize(const Vec3& v);
Vec3 Cross(const Vec3& a, const Vec3& b);
double Dot(const Vec3& a, const Vec3& b);
/// Sum of the products of the first `count` entries of a and b.
double Dot(const double* a, const double* b, int count);
Vec3 Add(const Vec3& a, const Vec3& b);
Vec3 Scale(const Vec3& v, double s);
double Length(const Vec3& v);

/// out = A (n x m) x B (m x p), all row-major; out must not alias A or B.
void MatrixProduct(const double* a, const double* b, double* out, int n, int m, int p);
/// out = transpose of A (n x m, row-major), an m x n matrix; out must not alias A.
void Transpose(const double* a, double* out, int n, int m);
Mat3 Multiply(const Mat3& a, const Mat3& b);
Vec3 Multiply(const Mat3& a, const Vec3& v);
Mat3 Transposed(const Mat3& a);
/// The determinant by the rule of Sarrus.
double Determinant(const Mat3& a);
Mat3 Identity();
/// x with A x = b by Cramer's rule; false when det A is exactly 0.
bool Solve3(const Mat3& a, const Vec3& b, Vec3* x);

/// Makes a near-rotation orthonormal through its columns: 20 rounds of
/// c_i = normalise(0.2 (c_j x c_k) + 0.8 c_i), then c2 = c0 x c1, c1 = c2 x c0.
Mat3 Orthonormalize(const Mat3& a);

// ---- rotations from rays ---------------------------------------------------

/// The proper rotation with target ~= result x source in the least-squares
/// sense over `count` (>= 3) unit-ray pairs, in closed form (Horn's
/// quaternion). Fails (false) only with fewer than 3 pairs or rays that leave
/// the turn open (all along one direction).
bool LeastSquaresRotation(const Vec3* source, const Vec3* target, int count, Mat3* out);
/// The best of the fits over all pairs, all pairs but one (count > 4) and all
/// pairs but two (count > 5), scored by the median squared residual over all
/// pairs (earlier candidates win ties), refitted on its inliers: the pairs
/// within 2.5 times its median residual (at least 1e-4 in ray units). Fails
/// only when every fit fails.
bool RobustRotation(const Vec3* source, const Vec3* target, int count, Mat3* out);

/// The median squared distance between result x source_i and target_i.
double RotationScore(const Mat3& rotation, const Vec3* source, const Vec3* target, int count);

/// The pure turn by `angle` radians towards the neighbour: about y for a right
/// pair (the neighbour's centre to the right), about x for an upper one.
Mat3 TurnTowardsNeighbour(PairKind kind, double angle);
/// The pure turn towards the neighbour by the mean over the list of the angle
/// of P's point less that of Q's point (x for a right pair, y for an upper
/// one), with pixels of the level whose centres and focal length are given.
Mat3 ShiftRotation(PairKind kind, const StitchPair* list, int count, double cxP, double cyP,
                   double cxQ, double cyQ, double focalAtLevel);
/// The turn used when neither the fit nor the list's shift is plausible: about y (right pair) or x
/// (upper pair) by extent x 0.5 / focal, at most pi/6. `extent` is the smaller
/// of the two photos' level-0 widths (right) or heights (up); focal in level-0
/// pixels.
Mat3 DefaultRotation(PairKind kind, double extent, double focal);
/// The default rotation for the pair (P, Q) of the matrix.
Mat3 DefaultPairRotation(const StitchMatrix& matrix, const StitchOptions& options, int column,
                         int row, PairKind kind);
/// True when R turns the right way (towards the neighbour), by at most 60
/// degrees and at least a little, about an axis close enough to the expected
/// one (within 0.7071 in the components that must stay small).
bool IsPlausiblePairRotation(const Mat3& r, PairKind kind);

// ---- the photo's geometry --------------------------------------------------

/// The image centre of a photo at level k, in level-k pixels, from its level-0
/// size: ((width - 1) / 2) / 2^k and ((height - 1) / 2) / 2^k.
void PhotoCentre(const StitchPyramid& pyramid, int level, double* cx, double* cy);
/// The (unnormalised) ray (x - cx, y - cy, -focalAtLevel).
Vec3 PixelRay(double x, double y, double cx, double cy, double focalAtLevel);

/// Projects pixel (x, y) of Q at level k into P through the pair rotation R.
/// focal in level-0 pixels; centres in level-k pixels. Unrounded form.
/// The denominator is not guarded: a point that R turns behind P gives an
/// infinite or meaningless position, as the callers only project overlap points.
void ProjectIntoNeighbour(const Mat3& r, double focal, int level, double x, double y, double cxQ,
                          double cyQ, double cxP, double cyP, double* xP, double* yP);
/// The rounded form: each coordinate + 0.5, truncated toward zero.
void ProjectIntoNeighbourRounded(const Mat3& r, double focal, int level, double x, double y,
                                 double cxQ, double cyQ, double cxP, double cyP, LONG* xP,
                                 LONG* yP);

// ---- neighbour pairs -------------------------------------------------------

/// One neighbour pair of the layout: P at (column, row), Q to its right or above.
struct NeighbourPair {
  int column = 0;
  int row = 0;
  int neighbourColumn = 0;
  int neighbourRow = 0;
  PairKind kind = PairKind::kRight;
};

/// The pairs of the layout in their fixed visiting order: row 0: (c, 0)-(c+1, 0);
/// column 1: (0, r)-(0, r+1); tile grid: right pairs (c outer, r inner), then
/// upper pairs (c outer, r inner), only where both cells hold a photo; circle:
/// (c, 0)-((c+1) mod columns, 0) for every c. An unknown layout has no pairs.
std::vector<NeighbourPair> LayoutPairs(const StitchMatrix& matrix);
/// The element that holds a pair's list (P's element).
StitchElement* PairElement(StitchMatrix& matrix, const NeighbourPair& pair);
/// The list and count of a pair in P's element.
StitchPair* PairList(StitchElement& element, PairKind kind);
LONG* PairCount(StitchElement& element, PairKind kind);
double* PairRotationField(StitchElement& element, PairKind kind);

// ---- pair rotations ----------------------------------------------------------

/// Solves the rotation of P at (column, row) and its `kind` neighbour from P's
/// list (pixels of level k), and stores it in rightRotation or upRotation: the
/// robust fit when it is plausible, else the list's shift rotation when that
/// is plausible, else the default rotation. Returns 0, or
/// 10007 (nothing written) when the list holds fewer than 3 pairs or a cell
/// is missing.
long SolvePairRotation(StitchMatrix* matrix, const StitchOptions* options, int column, int row,
                       PairKind kind, int level);
/// Solves every pair of the layout at level k (order of LayoutPairs); a pair
/// with too few points keeps its previous rotation. Returns 0.
long SolveAllPairRotations(StitchMatrix* matrix, const StitchOptions* options, int level);

// ---- the cylinder ------------------------------------------------------------

/// A point on a vertical cylinder about the camera centre: radius r, angle q
/// (radians, 0 looking along -z, growing towards +x), height v.
struct CylinderPoint {
  double r = 0;
  double q = 0;
  double v = 0;
};
/// A panorama position unrolled from a cylinder of radius R: u the arc length,
/// v the height, both in the same units as R.
struct UnrolledPoint {
  double u = 0;
  double v = 0;
  double radius = 0;
};

/// (r sin q, v, -r cos q).
Vec3 CylinderToSpace(const CylinderPoint& p);
/// r = sqrt(x^2 + z^2), q in [0, 2 pi) from acos(-z / r), v = y.
CylinderPoint SpaceToCylinder(const Vec3& p);
CylinderPoint UnrolledToCylinder(const UnrolledPoint& p);
UnrolledPoint CylinderToUnrolled(const CylinderPoint& p);
Vec3 UnrolledToSpace(const UnrolledPoint& p);
/// The angle of the point on the cylinder of radius R: u = q R, v = y.
UnrolledPoint SpaceToUnrolled(const Vec3& p, double radius);
/// Turns a photo ray (x, y, depth) with depth > 0 along the view direction as
/// M x (x, y, -depth), scales it onto the cylinder of radius R (horizontal
/// distance at least 0.01) and unrolls it.
UnrolledPoint PhotoRayToUnrolled(const Mat3& m, const Vec3& ray, double radius);
/// The pixel offset from the photo's centre (x right, y up) at image distance
/// F (pixels) of the unrolled point, for a photo whose orientation is M: the
/// cylinder point turned into the camera frame and projected. Exact inverse of
/// PhotoRayToUnrolled with the same M, R and F = depth. Returns false (offsets
/// set to 1e30) when the point lies behind the photo or within 1e-6 R of its
/// image plane's horizon.
bool UnrolledToPhotoPixel(const Mat3& m, double imageDistance, const UnrolledPoint& p, double* x,
                          double* y);

// ---- the tile grid -----------------------------------------------------------

/// The breadth-first visit of the tile grid from the lowest photo of column 0
/// through 4-neighbours (left, right, below, above), as cell indices
/// (column + row x columns). Stops when every photo is visited or none is left.
/// Empty when column 0 holds no photo.
std::vector<int> TileVisitOrder(const StitchMatrix& matrix);
/// 1 when the grid is at least 2 x 2, has a photo on each of its four edges and
/// all photos are edge-connected; else 0.
int CheckTileLayout(const StitchMatrix& matrix);

}  // namespace seam

#endif  // ENGINE_CAMERA_H
