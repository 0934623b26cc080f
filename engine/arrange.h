#ifndef ENGINE_ARRANGE_H
#define ENGINE_ARRANGE_H

/// The arrangement of all photos in one panorama frame.
///
/// The pair rotations only say how each photo turns relative to its
/// neighbours. Arranging chains them into one `orientation` per photo (a
/// row-major rotation taking the photo's camera rays into the panorama frame)
/// and levels the panorama: its up direction becomes the frame's y axis and the
/// first photo's left edge lands at angle 0 of the cylinder (the unrolled
/// mappings of camera.h).
///
/// Both routines read the pair rotations as solved (SolveAllPairRotations at
/// the render level) and options->focal in level-0 pixels.

#include "camera.h"
#include "seamcore.h"

namespace seam {

/// Writes every photo's orientation for the row, column and tile grid layouts
/// (for a full circle it chains and levels like a row, without closing).
/// `level` is the render level; the levelling uses level-0 sizes and
/// options->focal. Always succeeds.
void Arrange(StitchMatrix* matrix, const StitchOptions* options, int level);

/// Closes and arranges a full circle: bisects options->focal (20 steps, each
/// re-solving every pair rotation at `level`) until the chain of right
/// rotations closes sideways, chains and levels the orientations, and returns
/// the correction that undoes the remaining closing rotation K (where the
/// chain puts photo 0 again after the last photo): K's unit axis in the
/// levelled frame and minus K's angle in radians, within [-pi/4, 0] (0 when
/// K turns by more than pi/4 or is undefined).
/// Writes options->focal and every orientation. Returns 0, or the first error
/// of the pair solver other than 10007.
long ArrangeFullCircle(StitchMatrix* matrix, StitchOptions* options, int level, Vec3* closureAxis,
                       double* closureAngle);

/// The rotation by `angle` radians about the unit axis (right-handed).
Mat3 AxisAngleRotation(const Vec3& axis, double angle);

// Building blocks, exposed for tests and for the full-circle closing.

/// orientation[0] = identity, orientation[i] = Rel[0] x ... x Rel[i-1], along
/// row 0 with rightRotation (row, circle) or up column 0 with upRotation
/// (column).
void ChainOrientations(StitchMatrix* matrix);
/// Turns every orientation about the vertical so that no left corner of the
/// first column's photos lies left of angle 0 of the cylinder: the leftmost
/// one comes to angle 0. Nothing turns when none lies left of it. A canvas
/// that is no full circle starts at angle 0; a corner left of it would wrap
/// round to the canvas's far end and stretch the canvas over the whole turn.
void KeepLeftEdgeFromAngleZero(StitchMatrix* matrix, double focal);
/// The normalised sum of the second columns of the orientations whose entry 11
/// is positive (row, circle, tile grid); for the column layout the first
/// columns of those whose entry 00 is positive.
Vec3 MeanUpDirection(const StitchMatrix& matrix);
/// The candidate level frame from a corner ray c and up direction u: the
/// rotation whose rows are normalise(c x u), u and normalise((c x u) x u), so
/// that it takes u to the y axis and c to angle 0 of the cylinder.
Mat3 CandidateLevelFrame(const Vec3& corner, const Vec3& up);
/// The axis and angle of a closing rotation K, with the guards of the closing
/// test (axis (1, 0, 0) and angle 0 when K is not a clean rotation, angle 0
/// when beyond pi/4).
void ClosingAxisAngle(const Mat3& k, Vec3* axis, double* angle);

}  // namespace seam

#endif  // ENGINE_ARRANGE_H
