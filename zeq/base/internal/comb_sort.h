// The library's comb sort: shrink factor 1.3, equal keys never exchanged. Arrays, vectors,
// matrices and data tables all sort with it; they differ in the start gap, in how an
// exchange is made and reported, and in what is done after a pass.
#pragma once

#include <cstdint>

namespace zeq::detail {

// The next gap: trunc(Gap / 1.3), at least 1. Computed as 10 * Gap / 13 in integers, which is
// that quotient exactly, so no rounding of 1.3 can move the gap sequence.
inline int64_t NextCombGap(int64_t Gap) {
  const int64_t Next = Gap * 10 / 13;
  return Next < 1 ? 1 : Next;
}

// Runs passes until one with gap 1 makes no exchange. Pass(Gap) compares every pair
// (i, i + Gap) in rising i, exchanges those out of order and returns whether it exchanged
// any; AfterPass() runs after every pass. Fewer than 2 items: nothing runs.
template <class PassFn, class AfterPassFn>
void CombSortPasses(int64_t Count, int64_t StartGap, PassFn&& Pass, AfterPassFn&& AfterPass) {
  if (Count < 2) return;
  int64_t Gap = StartGap;
  for (;;) {
    Gap = NextCombGap(Gap);
    const bool Exchanged = Pass(Gap);
    AfterPass();
    if (Gap == 1 && !Exchanged) return;
  }
}

// One pass over D[0..N): every pair (i, i + Gap) in rising i exchanged when out of order
// (greater first when Ascending, smaller first otherwise; equal and NaN pairs stay). Returns
// whether any pair was exchanged. Vectorised where the gap allows, with exactly the exchanges
// of the plain loop (comb_pass.cc).
bool CombPass(double* D, int64_t N, int64_t Gap, bool Ascending);
bool CombPass(float* D, int64_t N, int64_t Gap, bool Ascending);
bool CombPass(int32_t* D, int64_t N, int64_t Gap, bool Ascending);

// The keyed form, for sorting lines by a key: one stretch of a pass is the pairs
// (k, k + Gap) for k in 0..Len, Len <= Gap, which share no element. CombMarkStretch sets
// Marks[k] for the pairs of Key out of order (as CombPass compares) and returns whether any
// is; CombExchangeStretch then exchanges the marked pairs of one line, so every line of the
// sorted block makes the exchanges its key made.
bool CombMarkStretch(const double* Key, int64_t Len, int64_t Gap, bool Ascending, uint8_t* Marks);
bool CombMarkStretch(const int32_t* Key, int64_t Len, int64_t Gap, bool Ascending, uint8_t* Marks);
void CombExchangeStretch(double* Line, int64_t Len, int64_t Gap, const uint8_t* Marks);
void CombExchangeStretch(int32_t* Line, int64_t Len, int64_t Gap, const uint8_t* Marks);

// Below this gap a stretch is too short for a vector step; the plain loop runs instead.
constexpr int64_t CombVectorGap = 16;

}  // namespace zeq::detail
