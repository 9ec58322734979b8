// The radix-2 transform on split arrays: a bit-reversed copy, one exact radix-4 pass for the
// first two stages (their twiddles are 1 and +-i), then one pass per stage with precomputed
// twiddles, each pass a SIMD loop over the butterflies of a block.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>

#include "zeq/base/internal/simd.h"
#include "zeq/fourier/internal/fft_plan.h"

namespace zeq::detail {

namespace {

size_t Log2(size_t H) {
  size_t L = 0;
  while ((size_t{1} << L) < H) ++L;
  return L;
}

// One stage of half-size H over all blocks with the twiddles (C, S) for j = 0..H-1 (for the
// inverse, S holds the negated sines: the conjugate twiddles). Each block's butterflies are
// independent, one SIMD lane each.
// (x0, x1) := (x0 + w x1, x0 - w x1) for w = c + i s.
[[gnu::always_inline]] inline void Butterfly(double& X0r, double& X0i, double& X1r, double& X1i,
                                             double c, double s) {
  const double Tr = c * X1r - s * X1i, Ti = c * X1i + s * X1r;
  X1r = X0r - Tr;
  X1i = X0i - Ti;
  X0r = X0r + Tr;
  X0i = X0i + Ti;
}

ZEQ_SIMD_BODY void Butterflies(double* __restrict R0, double* __restrict I0, double* __restrict R1,
                               double* __restrict I1, const double* __restrict C,
                               const double* __restrict S, size_t H) {
  for (size_t j = 0; j < H; ++j) Butterfly(R0[j], I0[j], R1[j], I1[j], C[j], S[j]);
}
ZEQ_SIMD_BODY void StageBody(double* Re, double* Im, size_t N, size_t H, const double* C,
                             const double* S) {
  for (size_t k = 0; k < N; k += 2 * H)
    Butterflies(Re + k, Im + k, Re + k + H, Im + k + H, C, S, H);
}
ZEQ_SIMD_FUNCTION(Stage,
                  (double* Re, double* Im, size_t N, size_t H, const double* C, const double* S),
                  (Re, Im, N, H, C, S))

// The stages of half-size H and 2H in one pass over blocks of 4H: per element exactly the
// operations of the two radix-2 stages, in the same order, with half the passes over memory.
// (C1, S1) are the H twiddles of the first stage, (C2, S2) the 2H of the second.
ZEQ_SIMD_BODY void Butterflies4(double* __restrict Ra, double* __restrict Ia, double* __restrict Rb,
                                double* __restrict Ib, double* __restrict Rc, double* __restrict Ic,
                                double* __restrict Rd, double* __restrict Id,
                                const double* __restrict C1, const double* __restrict S1,
                                const double* __restrict C2, const double* __restrict S2,
                                const double* __restrict C3, const double* __restrict S3,
                                size_t H) {
  for (size_t j = 0; j < H; ++j) {
    double ar = Ra[j], ai = Ia[j], br = Rb[j], bi = Ib[j], cr = Rc[j], ci = Ic[j], dr = Rd[j],
           di = Id[j];
    Butterfly(ar, ai, br, bi, C1[j], S1[j]);  // the first stage: twiddle j of H
    Butterfly(cr, ci, dr, di, C1[j], S1[j]);
    Butterfly(ar, ai, cr, ci, C2[j], S2[j]);  // the second: twiddles j and H + j of 2H
    Butterfly(br, bi, dr, di, C3[j], S3[j]);
    Ra[j] = ar, Ia[j] = ai, Rb[j] = br, Ib[j] = bi, Rc[j] = cr, Ic[j] = ci, Rd[j] = dr, Id[j] = di;
  }
}
ZEQ_SIMD_BODY void TwoStagesBody(double* Re, double* Im, size_t N, size_t H, const double* C1,
                                 const double* S1, const double* C2, const double* S2) {
  for (size_t k = 0; k < N; k += 4 * H)
    Butterflies4(Re + k, Im + k, Re + k + H, Im + k + H, Re + k + 2 * H, Im + k + 2 * H,
                 Re + k + 3 * H, Im + k + 3 * H, C1, S1, C2, S2, C2 + H, S2 + H, H);
}
ZEQ_SIMD_FUNCTION(TwoStages,
                  (double* Re, double* Im, size_t N, size_t H, const double* C1, const double* S1,
                   const double* C2, const double* S2),
                  (Re, Im, N, H, C1, S1, C2, S2))

// The bit-reversed copy of the interleaved data into the split arrays, with the stages of
// half-size 1 and 2 done on the way: their twiddles are 1 and +-i, so each group of four
// points needs additions only.
void GatherFirstTwoStages(const double* Data, const uint32_t* Rev, double* Re, double* Im, size_t N,
                          bool Forward) {
  for (size_t k = 0; k + 4 <= N; k += 4) {
    const double* P0 = Data + 2 * static_cast<size_t>(Rev[k]);
    const double* P1 = Data + 2 * static_cast<size_t>(Rev[k + 1]);
    const double* P2 = Data + 2 * static_cast<size_t>(Rev[k + 2]);
    const double* P3 = Data + 2 * static_cast<size_t>(Rev[k + 3]);
    const double ar = P0[0] + P1[0], ai = P0[1] + P1[1], br = P0[0] - P1[0], bi = P0[1] - P1[1];
    const double cr = P2[0] + P3[0], ci = P2[1] + P3[1], dr = P2[0] - P3[0], di = P2[1] - P3[1];
    const double tr = Forward ? -di : di, ti = Forward ? dr : -dr;  // +-i d
    Re[k] = ar + cr;
    Im[k] = ai + ci;
    Re[k + 2] = ar - cr;
    Im[k + 2] = ai - ci;
    Re[k + 1] = br + tr;
    Im[k + 1] = bi + ti;
    Re[k + 3] = br - tr;
    Im[k + 3] = bi - ti;
  }
}

// The split arrays back into the interleaved data, times Scale: 1, or 1 / N for the inverse,
// which is exact for a power of two, so that the product equals the division by N.
ZEQ_SIMD_BODY void ScatterBody(const double* __restrict Re, const double* __restrict Im,
                               double* __restrict Data, size_t N, double Scale) {
  for (size_t k = 0; k < N; ++k) {
    Data[2 * k] = Re[k] * Scale;
    Data[2 * k + 1] = Im[k] * Scale;
  }
}
ZEQ_SIMD_FUNCTION(Scatter,
                  (const double* Re, const double* Im, double* Data, size_t N, double Scale),
                  (Re, Im, Data, N, Scale))

}  // namespace

void TFftPlan::Prepare() {
  if (FRe.size() == FN) return;
  FRe.assign(FN, 0.0);
  FIm.assign(FN, 0.0);
  FRev.assign(FN, 0);
  for (size_t k = 0, r = 0; k < FN; ++k) {  // r runs through 0..N-1 in bit-reversed order
    FRev[k] = static_cast<uint32_t>(r);
    size_t Bit = FN >> 1;
    while (r & Bit) {
      r ^= Bit;
      Bit >>= 1;
    }
    r |= Bit;
  }
  // e^(i pi j / H) for the passes H = 4 .. N / 2. The angles of a pass are every other angle of
  // the next (pi j / H = pi 2j / 2H exactly), so only the largest pass is evaluated, in extended
  // precision, and the others take every second, fourth, ... value of it.
  FCos.clear();
  FSin.clear();
  FSinNeg.clear();
  FPassStart.assign(64, 0);
  if (FN < 8) return;
  const size_t Largest = FN / 2;
  std::vector<double> C(Largest), S(Largest);
  for (size_t j = 0; j < Largest; ++j) {
    const long double Angle = std::numbers::pi_v<long double> * static_cast<long double>(j) /
                              static_cast<long double>(Largest);
    C[j] = static_cast<double>(std::cos(Angle));
    S[j] = static_cast<double>(std::sin(Angle));
  }
  size_t Log = 2;
  for (size_t H = 4; H < FN; H *= 2, ++Log) {
    FPassStart[Log] = FCos.size();
    for (size_t j = 0; j < H; ++j) {
      FCos.push_back(C[j * (Largest / H)]);
      FSin.push_back(S[j * (Largest / H)]);
      FSinNeg.push_back(-S[j * (Largest / H)]);
    }
  }
}

void TFftPlan::Execute(double* Data, int Sign) {
  const size_t N = FN;
  if (N < 2) return;
  Prepare();
  double* Re = FRe.data();
  double* Im = FIm.data();
  const bool Forward = Sign > 0;
  if (N == 2) {
    Re[0] = Data[0] + Data[2];
    Im[0] = Data[1] + Data[3];
    Re[1] = Data[0] - Data[2];
    Im[1] = Data[1] - Data[3];
  } else {
    GatherFirstTwoStages(Data, FRev.data(), Re, Im, N, Forward);
  }
  // The stages H = 4, 8, ... in pairs; those that stay within blocks of CacheBlock points run
  // block by block while the block is in the cache, the larger ones over the whole array.
  const auto Cos = [&](size_t H) { return &FCos[FPassStart[Log2(H)]]; };
  const auto Sin = [&](size_t H) {
    return Forward ? &FSin[FPassStart[Log2(H)]] : &FSinNeg[FPassStart[Log2(H)]];
  };
  const auto RunStages = [&](double* R, double* I, size_t Len, size_t From, size_t To) {
    size_t H = From;
    for (; 2 * H < To; H *= 4) TwoStages(R, I, Len, H, Cos(H), Sin(H), Cos(2 * H), Sin(2 * H));
    if (H < To) Stage(R, I, Len, H, Cos(H), Sin(H));
  };
  constexpr size_t CacheBlock = 4096;
  const size_t Block = std::min(N, CacheBlock);
  for (size_t k = 0; k < N; k += Block) RunStages(Re + k, Im + k, Block, 4, Block);
  RunStages(Re, Im, N, std::max<size_t>(Block, 4), N);
  Scatter(Re, Im, Data, N, Forward ? 1.0 : 1.0 / static_cast<double>(N));
}

}  // namespace zeq::detail
