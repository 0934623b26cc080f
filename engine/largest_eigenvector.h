#ifndef ENGINE_LARGEST_EIGENVECTOR_H
#define ENGINE_LARGEST_EIGENVECTOR_H

namespace seam {

/// The unit eigenvector of the largest eigenvalue of a symmetric 4 x 4 matrix,
/// and the gap from that eigenvalue to the next one. `bound` lies at or above
/// the largest eigenvalue. Solved directly where the two largest eigenvalues
/// lie apart; by Jacobi sweeps where they nearly meet. Reproducible: the same
/// matrix always gives the same bits.
void LargestEigenvector(double a[4][4], double bound, double vector[4], double* gap);

/// The direct solution alone: false (nothing written) where the two largest
/// eigenvalues lie within a millionth of `bound` of each other, or where the
/// root cannot be told apart from its neighbour.
bool LargestEigenvectorDirect(const double a[4][4], double bound, double vector[4], double* gap);

/// Cyclic Jacobi sweeps in a fixed order; `a` is left nearly diagonal.
void LargestEigenvectorByJacobi(double a[4][4], double vector[4], double* gap);

}  // namespace seam

#endif  // ENGINE_LARGEST_EIGENVECTOR_H
