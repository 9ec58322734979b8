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

// GCC's ivdep lets it vectorise the stretches. Clang's counterpart (vectorize(assume_safety))
// warns whenever its vectoriser declines, as under the fuzzers' instrumentation, so clang
// builds run the same stretches unannotated: the same exchanges, not the same speed.
#if defined(__GNUC__) && !defined(__clang__)
#define ZEQ_NO_LOOP_CARRIED_DEPENDENCE _Pragma("GCC ivdep")
#else
#define ZEQ_NO_LOOP_CARRIED_DEPENDENCE
#endif

namespace zeq::detail {

namespace {

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

// The keyed form: marks the pairs of a stretch that are out of order, then applies the same
// exchanges to any number of lines (the rows of a matrix sorted by one column).
template <bool Ascending, class T>
[[gnu::always_inline]] inline bool MarkStretch(const T* Key, int64_t Len, int64_t Gap,
                                               uint8_t* Marks) {
  int Any = 0;
  ZEQ_NO_LOOP_CARRIED_DEPENDENCE
  for (int64_t k = 0; k < Len; ++k) {
    const T A = Key[k], B = Key[k + Gap];
    const bool OutOfOrder = Ascending ? A > B : A < B;
    Marks[k] = OutOfOrder;
    Any |= OutOfOrder;
  }
  return Any != 0;
}

template <class T>
ZEQ_SIMD_BODY bool MarkBody(const T* Key, int64_t Len, int64_t Gap, bool Ascending,
                            uint8_t* Marks) {
  return Ascending ? MarkStretch<true>(Key, Len, Gap, Marks)
                   : MarkStretch<false>(Key, Len, Gap, Marks);
}

template <class T>
ZEQ_SIMD_BODY void ExchangeBody(T* Line, int64_t Len, int64_t Gap, const uint8_t* Marks) {
  T* Lo = Line;
  T* Hi = Line + Gap;
  ZEQ_NO_LOOP_CARRIED_DEPENDENCE
  for (int64_t k = 0; k < Len; ++k) {
    const T A = Lo[k], B = Hi[k];
    const bool Swap = Marks[k] != 0;
    Lo[k] = Swap ? B : A;
    Hi[k] = Swap ? A : B;
  }
}

template <class T>
ZEQ_SIMD_BODY bool CombPassBody(T* D, int64_t N, int64_t Gap, bool Ascending) {
  if (Gap < CombVectorGap)
    return Ascending ? PlainPass<true>(D, N, Gap) : PlainPass<false>(D, N, Gap);
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

#define ZEQ_COMB_KEYED(T, Name)                                                                 \
  ZEQ_TARGET_AVX512 bool Mark##Name##Avx512(const T* K, int64_t L, int64_t G, bool A,           \
                                            uint8_t* M) {                                       \
    return MarkBody(K, L, G, A, M);                                                             \
  }                                                                                             \
  ZEQ_TARGET_AVX2 bool Mark##Name##Avx2(const T* K, int64_t L, int64_t G, bool A, uint8_t* M) { \
    return MarkBody(K, L, G, A, M);                                                             \
  }                                                                                             \
  bool Mark##Name##Generic(const T* K, int64_t L, int64_t G, bool A, uint8_t* M) {              \
    return MarkBody(K, L, G, A, M);                                                             \
  }                                                                                             \
  ZEQ_TARGET_AVX512 void Exchange##Name##Avx512(T* X, int64_t L, int64_t G, const uint8_t* M) { \
    ExchangeBody(X, L, G, M);                                                                   \
  }                                                                                             \
  ZEQ_TARGET_AVX2 void Exchange##Name##Avx2(T* X, int64_t L, int64_t G, const uint8_t* M) {     \
    ExchangeBody(X, L, G, M);                                                                   \
  }                                                                                             \
  void Exchange##Name##Generic(T* X, int64_t L, int64_t G, const uint8_t* M) {                  \
    ExchangeBody(X, L, G, M);                                                                   \
  }

ZEQ_COMB_KEYED(double, Double)
ZEQ_COMB_KEYED(int32_t, Int32)

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

bool CombMarkStretch(const double* Key, int64_t Len, int64_t Gap, bool Ascending, uint8_t* Marks) {
  return PickSimd(&MarkDoubleGeneric, &MarkDoubleAvx2, &MarkDoubleAvx512)(Key, Len, Gap, Ascending,
                                                                          Marks);
}
bool CombMarkStretch(const int32_t* Key, int64_t Len, int64_t Gap, bool Ascending, uint8_t* Marks) {
  return PickSimd(&MarkInt32Generic, &MarkInt32Avx2, &MarkInt32Avx512)(Key, Len, Gap, Ascending,
                                                                       Marks);
}
void CombExchangeStretch(double* Line, int64_t Len, int64_t Gap, const uint8_t* Marks) {
  PickSimd(&ExchangeDoubleGeneric, &ExchangeDoubleAvx2, &ExchangeDoubleAvx512)(Line, Len, Gap,
                                                                               Marks);
}
void CombExchangeStretch(int32_t* Line, int64_t Len, int64_t Gap, const uint8_t* Marks) {
  PickSimd(&ExchangeInt32Generic, &ExchangeInt32Avx2, &ExchangeInt32Avx512)(Line, Len, Gap, Marks);
}

}  // namespace zeq::detail
