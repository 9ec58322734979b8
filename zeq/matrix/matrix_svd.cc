// The spectral norm: the largest singular value by the Golub-Reinsch method.
//
// Householder reduction to bidiagonal form, then implicitly shifted QR sweeps on the
// bidiagonal. Only the singular values are needed, so the left and right transformations
// are not accumulated: their rounds still report progress and test the abort flag, and the
// singular values come out bit for bit as with the accumulation, which never feeds back
// into them.
#include <algorithm>
#include <cmath>
#include <vector>

#include "zeq/matrix/internal/matrix_twin.h"
#include "zeq/matrix/internal/spectral_norm.h"

namespace zeq::detail {

namespace {

double Hypot(double A, double B) { return std::sqrt(A * A + B * B); }  // direct, no rescaling

// |b| with the sign of a.
double WithSign(double A, double B) { return B >= 0.0 ? std::fabs(A) : -std::fabs(A); }

class TSingularValues {
 public:
  // A copy of M as an M x N row-major array.
  explicit TSingularValues(const TMatrix& Source)
      : FM(static_cast<size_t>(Source.NrOfRows())),
        FN(static_cast<size_t>(Source.NrOfColumns())),
        FA(FM * FN),
        FW(FN),
        FE(FN) {
    for (size_t r = 0; r < FM; ++r)
      for (size_t c = 0; c < FN; ++c)
        FA[r * FN + c] =
            TMatrixTwin::At(Source, static_cast<int32_t>(c + 1), static_cast<int32_t>(r + 1));
  }

  // False on abort or when a value did not converge in 30 iterations.
  bool Compute() {
    if (!Bidiagonalise()) return false;
    for (int Phase = 0; Phase < 2; ++Phase)  // the right- and left-hand accumulation rounds
      for (size_t i = FN; i-- > 0;)
        if (!Round()) return false;
    return Diagonalise();
  }

  double Largest() const {
    double Max = 0.0;
    for (double W : FW)
      if (W > Max) Max = W;
    return Max;
  }

 private:
  double& a(size_t r, size_t c) { return FA[r * FN + c]; }

  static bool Round() {
    AdvanceProgress(1.0);
    return !AbortRequested();
  }

  bool Negligible(double X) const { return std::fabs(X) + FNorm == FNorm; }

  bool Bidiagonalise() {
    double G = 0.0, Scale = 0.0;
    for (size_t i = 0; i < FN; ++i) {
      if (!Round()) return false;
      const size_t L = i + 1;
      FE[i] = Scale * G;
      G = Scale = 0.0;
      if (i < FM) {
        for (size_t k = i; k < FM; ++k) Scale = Scale + std::fabs(a(k, i));
        if (Scale != 0.0) {
          double S = 0.0;
          for (size_t k = i; k < FM; ++k) {
            a(k, i) = a(k, i) / Scale;
            S = S + a(k, i) * a(k, i);
          }
          const double F = a(i, i);
          G = -WithSign(std::sqrt(S), F);
          const double H = F * G - S;
          a(i, i) = F - G;
          for (size_t j = L; j < FN; ++j) {
            double Sum = 0.0;
            for (size_t k = i; k < FM; ++k) Sum = Sum + a(k, i) * a(k, j);
            const double Fj = Sum / H;
            for (size_t k = i; k < FM; ++k) a(k, j) = a(k, j) + Fj * a(k, i);
          }
          for (size_t k = i; k < FM; ++k) a(k, i) = a(k, i) * Scale;
        }
      }
      FW[i] = Scale * G;
      G = Scale = 0.0;
      if (i < FM && i + 1 != FN) {
        for (size_t k = L; k < FN; ++k) Scale = Scale + std::fabs(a(i, k));
        if (Scale != 0.0) {
          double S = 0.0;
          for (size_t k = L; k < FN; ++k) {
            a(i, k) = a(i, k) / Scale;
            S = S + a(i, k) * a(i, k);
          }
          const double F = a(i, L);
          G = -WithSign(std::sqrt(S), F);
          const double H = F * G - S;
          a(i, L) = F - G;
          for (size_t k = L; k < FN; ++k) FE[k] = a(i, k) / H;
          for (size_t j = L; j < FM; ++j) {
            double Sum = 0.0;
            for (size_t k = L; k < FN; ++k) Sum = Sum + a(j, k) * a(i, k);
            for (size_t k = L; k < FN; ++k) a(j, k) = a(j, k) + Sum * FE[k];
          }
          for (size_t k = L; k < FN; ++k) a(i, k) = a(i, k) * Scale;
        }
      }
      FNorm = std::max(FNorm, std::fabs(FW[i]) + std::fabs(FE[i]));
    }
    return true;
  }

  bool Diagonalise() {
    bool Converged = true;
    for (size_t k = FN; k-- > 0;) {
      if (!Round()) return false;
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
          if (Z < 0.0) FW[k] = -Z;
          break;
        }
        if (Its == 30) {  // no convergence: the routine fails, the other values go on
          Converged = false;
          break;
        }
        ShiftedSweep(L, k);
      }
    }
    return Converged;
  }

  // Zeroes e(l) with rotations when w(l - 1) is negligible.
  void CancelE(size_t L, size_t K) {
    double C = 0.0, S = 1.0;
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
    }
  }

  // One implicit QR sweep on rows l..k with the shift from the bottom 2 x 2 minor.
  void ShiftedSweep(size_t L, size_t K) {
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
      Zr = Hypot(F, H);
      FW[j] = Zr;
      if (Zr != 0.0) {
        Zr = 1.0 / Zr;
        C = F * Zr;
        S = H * Zr;
      }
      F = C * G + S * Y;
      X = C * Y - S * G;
    }
    FE[L] = 0.0;
    FE[K] = F;
    FW[K] = X;
  }

  size_t FM, FN;
  std::vector<double> FA, FW, FE;
  double FNorm = 0.0;
};

}  // namespace

double SpectralNorm(const TMatrix& M) {
  TSingularValues SV(M);
  if (!SV.Compute()) throw EZEQMatrixError("near singular covariance matrix");
  return SV.Largest();
}

}  // namespace zeq::detail
