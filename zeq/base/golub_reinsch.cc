// The Golub-Reinsch singular value decomposition behind zeq/base/internal/golub_reinsch.h.
//
// Every sum keeps its order: sum over k rising, each product and each addition rounded. The
// Householder steps form the sums of all columns at once (row by row, one SIMD lane per column)
// and the row dots four rows at a time; the Givens rotations of the sweeps work on rows of U'
// and V'. Lengths sqrt(a^2 + b^2) are computed directly, without rescaling.
#include "zeq/base/internal/golub_reinsch.h"

#include <algorithm>
#include <cmath>

#include "zeq/base/hooks.h"
#include "zeq/base/internal/simd.h"

namespace zeq::detail {

namespace {

double Hypot(double A, double B) { return std::sqrt(A * A + B * B); }

// |a| with the sign of b.
double WithSign(double A, double B) { return B >= 0.0 ? std::fabs(A) : -std::fabs(A); }

// One progress step and the abort test that start every round of a phase.
bool Round() {
  AdvanceProgress(1.0);
  return !AbortRequested();
}

// Y[j] := Y[j] + X[j] * F.
ZEQ_SIMD_BODY void AddScaledBody(double* Y, const double* X, double F, size_t N) {
  for (size_t j = 0; j < N; ++j) Y[j] = Y[j] + X[j] * F;
}
ZEQ_SIMD_FUNCTION(AddScaled, (double* Y, const double* X, double F, size_t N), (Y, X, F, N))

// (X, Z) := (X c + Z s, Z c - X s), element by element.
ZEQ_SIMD_BODY void RotateBody(double* X, double* Z, double C, double S, size_t N) {
  for (size_t j = 0; j < N; ++j) {
    const double Xj = X[j], Zj = Z[j];
    X[j] = Xj * C + Zj * S;
    Z[j] = Zj * C - Xj * S;
  }
}
ZEQ_SIMD_FUNCTION(Rotate, (double* X, double* Z, double C, double S, size_t N), (X, Z, C, S, N))

// Sum[r] = sum over k in [0, N) of Rows[r][k] * Y[k], k rising, for four rows at once.
void Dot4(const double* R0, const double* R1, const double* R2, const double* R3, const double* Y,
          size_t N, double* Sum) {
  double S0 = 0.0, S1 = 0.0, S2 = 0.0, S3 = 0.0;
  for (size_t k = 0; k < N; ++k) {
    S0 = S0 + R0[k] * Y[k];
    S1 = S1 + R1[k] * Y[k];
    S2 = S2 + R2[k] * Y[k];
    S3 = S3 + R3[k] * Y[k];
  }
  Sum[0] = S0;
  Sum[1] = S1;
  Sum[2] = S2;
  Sum[3] = S3;
}

// The Householder reflection that maps the Count values X[0], X[Stride], ... onto a multiple of
// the first: the values are divided by Scale (the sum of their magnitudes, returned), the first
// becomes F - G with G = -sign(F) sqrt(sum of squares); H = F G - sum of squares. Nothing
// changes when Scale is 0.
struct THouseholder {
  double Scale = 0.0, G = 0.0, H = 0.0;
};

THouseholder Reflect(double* X, size_t Stride, size_t Count) {
  THouseholder R;
  for (size_t k = 0; k < Count; ++k) R.Scale = R.Scale + std::fabs(X[k * Stride]);
  if (R.Scale == 0.0) return R;
  double S = 0.0;
  for (size_t k = 0; k < Count; ++k) {
    X[k * Stride] = X[k * Stride] / R.Scale;
    S = S + X[k * Stride] * X[k * Stride];
  }
  const double F = X[0];
  R.G = -WithSign(std::sqrt(S), F);
  R.H = F * R.G - S;
  X[0] = F - R.G;
  return R;
}

}  // namespace

TGolubReinsch::TGolubReinsch(size_t M, size_t N, std::vector<double> A, bool Accumulate)
    : FM(M), FN(N), FAccumulate(Accumulate), FA(std::move(A)), FW(N), FE(N), FScratch(N) {
  if (FAccumulate) FV.assign(N * N, 0.0);
}

bool TGolubReinsch::Negligible(double X) const { return std::fabs(X) + FNorm == FNorm; }

TSvdStatus TGolubReinsch::Run() {
  if (!Bidiagonalise() || !AccumulateRight() || !AccumulateLeft()) return TSvdStatus::Aborted;
  if (FAccumulate) Transpose();
  return Diagonalise();
}

bool TGolubReinsch::Bidiagonalise() {
  double G = 0.0, Scale = 0.0;
  double* Sum = FScratch.data();
  for (size_t i = 0; i < FN; ++i) {
    if (!Round()) return false;
    const size_t L = i + 1, Width = FN - L;
    FE[i] = Scale * G;
    G = Scale = 0.0;
    if (i < FM) {
      const THouseholder R = Reflect(&a(i, i), FN, FM - i);
      Scale = R.Scale;
      G = R.G;
      if (Scale != 0.0) {
        // Column j > i: f(j) = (sum over k of a(k, i) a(k, j)) / H, then a(k, j) += f(j) a(k, i).
        if (Width > 0) {
          std::fill(Sum + L, Sum + FN, 0.0);
          for (size_t k = i; k < FM; ++k) AddScaled(Sum + L, &a(k, L), a(k, i), Width);
          for (size_t j = L; j < FN; ++j) Sum[j] = Sum[j] / R.H;
          for (size_t k = i; k < FM; ++k) AddScaled(&a(k, L), Sum + L, a(k, i), Width);
        }
        for (size_t k = i; k < FM; ++k) a(k, i) = a(k, i) * Scale;
      }
    }
    FW[i] = Scale * G;
    G = Scale = 0.0;
    if (i < FM && i + 1 != FN) {
      const THouseholder R = Reflect(&a(i, L), 1, Width);
      Scale = R.Scale;
      G = R.G;
      if (Scale != 0.0) {
        const double H = R.H;
        for (size_t k = L; k < FN; ++k) FE[k] = a(i, k) / H;
        // Row j > i: s(j) = sum over k of a(j, k) a(i, k), then a(j, k) += s(j) e(k).
        size_t j = L;
        for (; j + 4 <= FM; j += 4) {
          double S4[4];
          Dot4(&a(j, L), &a(j + 1, L), &a(j + 2, L), &a(j + 3, L), &a(i, L), Width, S4);
          for (size_t q = 0; q < 4; ++q) AddScaled(&a(j + q, L), &FE[L], S4[q], Width);
        }
        for (; j < FM; ++j) {
          double Sj = 0.0;
          for (size_t k = L; k < FN; ++k) Sj = Sj + a(j, k) * a(i, k);
          AddScaled(&a(j, L), &FE[L], Sj, Width);
        }
        for (size_t k = L; k < FN; ++k) a(i, k) = a(i, k) * Scale;
      }
    }
    FNorm = std::max(FNorm, std::fabs(FW[i]) + std::fabs(FE[i]));
  }
  return true;
}

bool TGolubReinsch::AccumulateRight() {
  double G = 0.0;
  size_t L = FN;
  double* Sum = FScratch.data();
  for (size_t i = FN; i-- > 0;) {
    if (!Round()) return false;
    if (!FAccumulate) continue;
    if (i + 1 < FN) {
      const size_t Width = FN - L;
      if (G != 0.0) {
        for (size_t j = L; j < FN; ++j) v(j, i) = (a(i, j) / a(i, L)) / G;
        // Column j >= L: s(j) = sum over k of a(i, k) v(k, j), then v(k, j) += s(j) v(k, i).
        std::fill(Sum + L, Sum + FN, 0.0);
        for (size_t k = L; k < FN; ++k) AddScaled(Sum + L, &v(k, L), a(i, k), Width);
        for (size_t k = L; k < FN; ++k) AddScaled(&v(k, L), Sum + L, v(k, i), Width);
      }
      for (size_t j = L; j < FN; ++j) v(i, j) = v(j, i) = 0.0;
    }
    v(i, i) = 1.0;
    G = FE[i];
    L = i;
  }
  return true;
}

bool TGolubReinsch::AccumulateLeft() {
  double* F = FScratch.data();
  for (size_t i = FN; i-- > 0;) {
    if (!Round()) return false;
    if (!FAccumulate || i >= FM) continue;
    const size_t L = i + 1, Width = FN - L;
    for (size_t j = L; j < FN; ++j) a(i, j) = 0.0;
    double G = FW[i];
    if (G != 0.0) {
      G = 1.0 / G;
      // Column j > i: f(j) = ((sum over k > i of a(k, i) a(k, j)) / a(i, i)) g, then
      // a(k, j) += f(j) a(k, i) for k >= i.
      if (Width > 0) {
        std::fill(F + L, F + FN, 0.0);
        for (size_t k = L; k < FM; ++k) AddScaled(F + L, &a(k, L), a(k, i), Width);
        for (size_t j = L; j < FN; ++j) F[j] = (F[j] / a(i, i)) * G;
        for (size_t k = i; k < FM; ++k) AddScaled(&a(k, L), F + L, a(k, i), Width);
      }
      for (size_t k = i; k < FM; ++k) a(k, i) = a(k, i) * G;
    } else {
      for (size_t k = i; k < FM; ++k) a(k, i) = 0.0;
    }
    a(i, i) = a(i, i) + 1.0;
  }
  return true;
}

void TGolubReinsch::Transpose() {
  FUt.assign(FN * FM, 0.0);
  FVt.assign(FN * FN, 0.0);
  for (size_t r = 0; r < FM; ++r)
    for (size_t c = 0; c < FN; ++c) FUt[c * FM + r] = a(r, c);
  for (size_t r = 0; r < FN; ++r)
    for (size_t c = 0; c < FN; ++c) FVt[c * FN + r] = v(r, c);
  FA = {};
  FV = {};
}

TSvdStatus TGolubReinsch::Diagonalise() {
  TSvdStatus Status = TSvdStatus::Done;
  for (size_t k = FN; k-- > 0;) {
    if (!Round()) return TSvdStatus::Aborted;
    for (int Its = 1; Its <= 30; ++Its) {
      // Find l: the bidiagonal splits above row l (e(l) negligible) or w(l - 1) vanishes.
      size_t L = k;
      bool Cancel = true;
      for (;; --L) {
        if (L == 0 || Negligible(FE[L])) {  // e(0) is always 0
          Cancel = false;
          break;
        }
        if (Negligible(FW[L - 1])) break;
      }
      if (Cancel) CancelE(L, k);
      const double Z = FW[k];
      if (L == k) {  // converged
        if (Z < 0.0) {
          FW[k] = -Z;
          if (FAccumulate)
            for (size_t j = 0; j < FN; ++j) FVt[k * FN + j] = -FVt[k * FN + j];
        }
        break;
      }
      if (Its == 30) {  // no convergence: the current values stand, the others go on
        Status = TSvdStatus::NotConverged;
        break;
      }
      ShiftedSweep(L, k);
    }
  }
  return Status;
}

// Zeroes e(l) with rotations when w(l - 1) is negligible.
void TGolubReinsch::CancelE(size_t L, size_t K) {
  double C = 0.0, S = 1.0;
  const size_t Nm = L - 1;
  for (size_t i = L; i <= K; ++i) {
    const double F = S * FE[i];
    FE[i] = C * FE[i];
    if (Negligible(F)) break;
    const double G = FW[i];
    double H = Hypot(F, G);
    FW[i] = H;
    H = 1.0 / H;
    C = G * H;
    S = -F * H;
    if (FAccumulate) Rotate(&FUt[Nm * FM], &FUt[i * FM], C, S, FM);
  }
}

// One implicit QR sweep on rows l..k with the shift from the bottom 2 x 2 minor.
void TGolubReinsch::ShiftedSweep(size_t L, size_t K) {
  double X = FW[L];
  double Y = FW[K - 1], G = FE[K - 1], H = FE[K];
  const double Z = FW[K];
  double F = ((Y - Z) * (Y + Z) + (G - H) * (G + H)) / (2.0 * H * Y);
  G = Hypot(F, 1.0);
  F = ((X - Z) * (X + Z) + H * ((Y / (F + WithSign(G, F))) - H)) / X;
  double C = 1.0, S = 1.0;
  for (size_t j = L; j < K; ++j) {
    const size_t i = j + 1;
    G = FE[i];
    Y = FW[i];
    H = S * G;
    G = C * G;
    double Zr = Hypot(F, H);
    FE[j] = Zr;
    C = F / Zr;
    S = H / Zr;
    F = X * C + G * S;
    G = G * C - X * S;
    H = Y * S;
    Y = Y * C;
    if (FAccumulate) Rotate(&FVt[j * FN], &FVt[i * FN], C, S, FN);
    Zr = Hypot(F, H);
    FW[j] = Zr;
    if (Zr != 0.0) {
      Zr = 1.0 / Zr;
      C = F * Zr;
      S = H * Zr;
    }
    F = C * G + S * Y;
    X = C * Y - S * G;
    if (FAccumulate) Rotate(&FUt[j * FM], &FUt[i * FM], C, S, FM);
  }
  FE[L] = 0.0;
  FE[K] = F;
  FW[K] = X;
}

}  // namespace zeq::detail
