// The least-squares solver on plain arrays, for the unit's own callers (the polynomial fits,
// the nearest-neighbour estimates), which would otherwise copy their design matrices into and
// out of TMatrix objects. Private to the unit.
#pragma once

#include <cstddef>
#include <vector>

namespace zeq::detail {

struct TLeastSquares {
  std::vector<double> Coeffs;     // N values
  std::vector<double> StdErrors;  // N values
  bool NearSingular = false;
};

// SVDLeastSquares for the row-major M x N design A and the M responses B. False when aborted.
bool SolveLeastSquares(size_t M, size_t N, std::vector<double> A, const std::vector<double>& B,
                       TLeastSquares& Result);

}  // namespace zeq::detail
