// Principal components and the pseudo-inverse, built on CalcCovar, CalcEigVec and CalcSVD.
#include <algorithm>
#include <cmath>

#include "zeq/math2/eigen.h"
#include "zeq/math2/svd.h"

namespace zeq {

namespace detail {
void ScaleAndSortEigenResults(bool RelEigVals);  // jacobi.cc
}

bool CalcPrincComp(const TMatrix* InMat, int32_t LoCol, int32_t HiCol, int32_t LoRow, int32_t HiRow,
                   int32_t Mode, bool RelEigVals) {
  if (InMat == nullptr) return false;
  InMat->MakeValidColRange(LoCol, HiCol);
  const int32_t p = HiCol - LoCol + 1;
  TMatrix Scratch;
  Scratch.Resize(p, p);
  if (!CalcCovar(InMat, &Scratch, LoCol, HiCol, LoRow, HiRow, Mode)) return false;
  if (!CalcEigVec(&Scratch)) return false;
  detail::ScaleAndSortEigenResults(RelEigVals);
  return true;
}

bool CalcPrincComp(const TMatrix* InMat, int32_t LoCol, int32_t HiCol, int32_t LoRow, int32_t HiRow,
                   int32_t Mode) {
  return CalcPrincComp(InMat, LoCol, HiCol, LoRow, HiRow, Mode, true);
}

bool PseudoInverse(const TMatrix* InMat, TMatrix* OutMat, double Tolerance) {
  if (InMat == nullptr || OutMat == nullptr) return false;
  const int32_t m = InMat->NrOfRows(), n = InMat->NrOfColumns();
  TMatrix U, V;
  TVector W;
  U.Clone(InMat);
  OutMat->Resize(m, n);
  if (!CalcSVD(&U, &W, &V)) return false;
  if (Tolerance == 0) {
    double WMax = 0.0;
    for (int32_t j = 1; j <= n; ++j) WMax = std::max(WMax, W.GetVal(j));
    Tolerance = std::max(m, n) * WMax * 1.2e-16;
  }
  for (int32_t j = 1; j <= n; ++j) {
    const double w = W.GetVal(j);
    for (int32_t r = 1; r <= n; ++r)
      V.SetVal(j, r, std::fabs(w) <= Tolerance ? 0.0 : V.GetVal(j, r) / w);
  }
  return V.MultiplyTransposed(&U, OutMat);
}

}  // namespace zeq
