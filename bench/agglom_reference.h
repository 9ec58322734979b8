// The documented agglomerative clustering, transcribed plainly: every merge scans all active
// pairs (O(n^3)). The benchmark times it beside the fast version (the tests compare the fast
// version merge by merge with the same scan in tests/tools/plain_reference.py).
#pragma once

#include <cfloat>
#include <cstdint>
#include <vector>

#include "zeq/math2/cluster.h"

namespace zeq::test {

struct TReferenceMerge {
  int32_t Id1, Id2;
  double Distance;
};

// D: the n x n distance matrix, D[a * n + b] = column a, row b (symmetric).
inline std::vector<TReferenceMerge> ReferenceAgglomeration(std::vector<double> D, size_t n,
                                                           TClusterMethod Method, double Alpha) {
  std::vector<int32_t> Id(n);
  std::vector<long double> Size(n, 1.0L);
  for (size_t s = 0; s < n; ++s) Id[s] = static_cast<int32_t>(s + 1);
  std::vector<TReferenceMerge> Merges;
  for (size_t Step = 1; Step < n; ++Step) {
    double Best = DBL_MAX;
    size_t I = n, J = n;
    for (size_t i = 0; i < n; ++i)
      for (size_t j = i + 1; j < n; ++j)
        if (Id[i] > 0 && Id[j] > 0 && D[i * n + j] < Best) {
          Best = D[i * n + j];
          I = i;
          J = j;
        }
    if (I == n) {  // nothing below the largest double: the first two active slots
      for (I = 0; Id[I] == 0;) ++I;
      for (J = I + 1; Id[J] == 0;) ++J;
      Best = D[I * n + J];
    }
    Merges.push_back({Id[I], Id[J], Best});
    const long double dij = D[I * n + J], ni = Size[I], nj = Size[J], a = Alpha;
    for (size_t k = 0; k < n; ++k) {
      if (Id[k] == 0 || k == I || k == J) continue;
      const long double dki = D[k * n + I], dkj = D[k * n + J], nk = Size[k];
      long double New = 0;
      switch (Method) {
        case cmSingleLink:
          New = dki < dkj ? dki : dkj;
          break;
        case cmCompleteLink:
          New = dki > dkj ? dki : dkj;
          break;
        case cmWard:
          New = ((nk + ni) * dki + (nk + nj) * dkj - nk * dij) / (nk + ni + nj);
          break;
        case cmAvgLink:
          New = (dki + dkj) / 2;
          break;
        case cmFlexLink:
          New = a * (dki + dkj) + (1 - 2 * a) * dij;
          break;
        case cmUpgma:
          New = (ni * dki + nj * dkj) / (ni + nj);
          break;
      }
      D[k * n + J] = D[J * n + k] = static_cast<double>(New);
    }
    Id[J] = static_cast<int32_t>(n + Step);
    Size[J] += Size[I];
    Id[I] = 0;
    Size[I] = 0;
  }
  return Merges;
}

}  // namespace zeq::test
