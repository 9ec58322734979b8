// One comb-sort pass over a plain array, vectorised without changing a single exchange.
//
// The pass compares the pairs (i, i + Gap) in rising i. Within a stretch of at most Gap
// consecutive i the pairs share no element, so such a stretch can run as independent lanes;
// the stretches still run in rising order, so every element is compared exactly when the
// plain loop would compare it, with the same values. Comparison and exchange are a compare
// and two blends, which treat NaN and signed zeros as the plain comparison does.
#include <algorithm>

#include "zeq/base/internal/comb_sort.h"
#include "zeq/base/internal/simd.h"

#if defined(__clang__)
#define ZEQ_NO_LOOP_CARRIED_DEPENDENCE _Pragma("clang loop vectorize(assume_safety)")
#elif defined(__GNUC__)
#define ZEQ_NO_LOOP_CARRIED_DEPENDENCE _Pragma("GCC ivdep")
#else
#define ZEQ_NO_LOOP_CARRIED_DEPENDENCE
#endif

namespace zeq::detail {

namespace {

// Below this gap the stretches are too short to be worth a vector step.
constexpr int64_t VectorGap = 16;

template <bool Ascending, class T>
[[gnu::always_inline]] inline bool PlainPass(T* D, int64_t N, int64_t Gap) {
  bool Exchanged = false;
  for (int64_t i = 0; i + Gap < N; ++i) {
    const T A = D[i], B = D[i + Gap];
    const bool OutOfOrder = Ascending ? A > B : A < B;
    D[i] = OutOfOrder ? B : A;
    D[i + Gap] = OutOfOrder ? A : B;
    Exchanged |= OutOfOrder;
  }
  return Exchanged;
}

template <bool Ascending, class T>
[[gnu::always_inline]] inline bool StretchedPass(T* D, int64_t N, int64_t Gap) {
  int Exchanged = 0;
  for (int64_t i = 0; i + Gap < N; i += Gap) {
    T* Lo = D + i;
    T* Hi = D + i + Gap;
    const int64_t Len = std::min(Gap, N - Gap - i);  // Lo[0..Len) and Hi[0..Len) are disjoint
    ZEQ_NO_LOOP_CARRIED_DEPENDENCE
    for (int64_t k = 0; k < Len; ++k) {
      const T A = Lo[k], B = Hi[k];
      const bool OutOfOrder = Ascending ? A > B : A < B;
      Lo[k] = OutOfOrder ? B : A;
      Hi[k] = OutOfOrder ? A : B;
      Exchanged |= OutOfOrder;
    }
  }
  return Exchanged != 0;
}

template <class T>
ZEQ_SIMD_BODY bool CombPassBody(T* D, int64_t N, int64_t Gap, bool Ascending) {
  if (Gap < VectorGap) return Ascending ? PlainPass<true>(D, N, Gap) : PlainPass<false>(D, N, Gap);
  return Ascending ? StretchedPass<true>(D, N, Gap) : StretchedPass<false>(D, N, Gap);
}

// One copy per element type and SIMD level.
#define ZEQ_COMB_PASS(T, Name)                                                  \
  ZEQ_TARGET_AVX512 bool Name##Avx512(T* D, int64_t N, int64_t Gap, bool Asc) { \
    return CombPassBody(D, N, Gap, Asc);                                        \
  }                                                                             \
  ZEQ_TARGET_AVX2 bool Name##Avx2(T* D, int64_t N, int64_t Gap, bool Asc) {     \
    return CombPassBody(D, N, Gap, Asc);                                        \
  }                                                                             \
  bool Name##Generic(T* D, int64_t N, int64_t Gap, bool Asc) {                  \
    return CombPassBody(D, N, Gap, Asc);                                        \
  }

ZEQ_COMB_PASS(double, PassDouble)
ZEQ_COMB_PASS(float, PassFloat)
ZEQ_COMB_PASS(int32_t, PassInt32)

}  // namespace

bool CombPass(double* D, int64_t N, int64_t Gap, bool Ascending) {
  return PickSimd(&PassDoubleGeneric, &PassDoubleAvx2, &PassDoubleAvx512)(D, N, Gap, Ascending);
}
bool CombPass(float* D, int64_t N, int64_t Gap, bool Ascending) {
  return PickSimd(&PassFloatGeneric, &PassFloatAvx2, &PassFloatAvx512)(D, N, Gap, Ascending);
}
bool CombPass(int32_t* D, int64_t N, int64_t Gap, bool Ascending) {
  return PickSimd(&PassInt32Generic, &PassInt32Avx2, &PassInt32Avx512)(D, N, Gap, Ascending);
}

}  // namespace zeq::detail
