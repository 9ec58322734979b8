// The spectral norm's own singular value iteration, shared by Norm and its tests. Private to
// the matrix unit.
#pragma once

#include "zeq/matrix/matrix.h"

namespace zeq::detail {

// The largest singular value of M (Golub-Reinsch); raises "near singular covariance matrix"
// when the iteration fails or is aborted.
double SpectralNorm(const TMatrix& M);

}  // namespace zeq::detail
