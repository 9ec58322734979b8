// The cyclic Jacobi eigen-decomposition and the eigen results it leaves per thread.
//
// The matrix is held in full (both triangles, column-major) so that the elements a rotation of
// the pair (p, q) changes are the contiguous columns p and q: they are rotated by SIMD across
// the elements. Every element has two copies, and the strided copies back into rows are
// postponed as long as no rotation reads them:
// - rotation (p, q) copies column q into row q only for the columns j > p, the ones this sweep
//   still reads; row p follows once, after the last pair of p (no rotation (p, q) reads row p
//   of another column);
// - the copies in the columns j < p, all in the lower triangle, are refreshed from the upper
//   triangle, which is always current, once per sweep, before anything reads them. Every element's
// arithmetic is the same at every SIMD level, so the results are those of the plain
// element-by-element sweep, bit for bit.
#include <algorithm>
#include <cmath>
#include <new>
#include <vector>

#include "zeq/base/internal/simd.h"
#include "zeq/math2/eigen.h"

namespace zeq {

namespace {

struct TEigenState {
  int32_t Size = 0;
  std::vector<double> Values;   // eigenvalue i at Values[i - 1]
  std::vector<double> Vectors;  // component k of eigenvector i at Vectors[(i - 1) n + k - 1]
};

thread_local TEigenState EigenState;

constexpr int32_t MaxOrder = 10000;
constexpr int MaxSweeps = 100;

// (G[j], H[j]) := (g - s (h + g tau), h + s (g - h tau)) from the old g and h.
ZEQ_SIMD_BODY void RotatePair(double* G, double* H, double S, double Tau, size_t N) {
  for (size_t j = 0; j < N; ++j) {
    const double g = G[j], h = H[j];
    G[j] = g - S * (h + g * Tau);
    H[j] = h + S * (g - h * Tau);
  }
}
// One rotation: the columns p and q of the matrix (Ap, Aq) and the eigenvectors p and q (Vp,
// Vq), N values each.
ZEQ_SIMD_BODY void RotateBody(double* Ap, double* Aq, double* Vp, double* Vq, double S, double Tau,
                              size_t N) {
  RotatePair(Ap, Aq, S, Tau, N);
  RotatePair(Vp, Vq, S, Tau, N);
}
ZEQ_SIMD_FUNCTION(Rotate,
                  (double* Ap, double* Aq, double* Vp, double* Vq, double S, double Tau, size_t N),
                  (Ap, Aq, Vp, Vq, S, Tau, N))

class TJacobi {
 public:
  TJacobi(const TMatrix& Mat, size_t N) : FN(N) {
    try {
      FA.assign(N * N, 0.0);
      FV.assign(N * N, 0.0);
      FD.resize(N);
      FB.resize(N);
      FZ.assign(N, 0.0);
    } catch (const std::bad_alloc&) {
      throw EZEQMath2Error("CalcEigVec: not enough memory");
    }
    for (size_t i = 0; i < N; ++i) {
      FV[i * N + i] = 1.0;
      FD[i] = FB[i] = Mat.GetVal(Index(i), Index(i));
      for (size_t j = i + 1; j < N; ++j) a(i, j) = a(j, i) = Mat.GetVal(Index(i), Index(j));
    }
  }

  // True on convergence; false when aborted or after the last sweep.
  bool Run() {
    for (int Sweep = 1; Sweep <= MaxSweeps; ++Sweep) {
      AdvanceProgress(1.0);
      double Sm = 0.0;
      for (size_t p = 0; p + 1 < FN; ++p)
        for (size_t q = p + 1; q < FN; ++q) Sm = Sm + std::fabs(a(p, q));
      if (Sm == 0.0) return true;
      const double Tresh =
          Sweep < 4 ? 0.2 * Sm / (static_cast<double>(FN) * static_cast<double>(FN)) : 0.0;
      for (size_t p = 0; p + 1 < FN; ++p) {
        for (size_t q = p + 1; q < FN; ++q) {
          AdvanceProgress(1.0);
          if (AbortRequested()) {
            MirrorRow(p, p);
            LowerFromUpper();
            return false;
          }
          Visit(p, q, Sweep, Tresh);
        }
        MirrorRow(p, p);
      }
      LowerFromUpper();
      for (size_t i = 0; i < FN; ++i) {
        FB[i] = FB[i] + FZ[i];
        FD[i] = FB[i];
        FZ[i] = 0.0;
      }
    }
    return false;
  }

  // The off-diagonal elements back into Mat, the results into the eigen state.
  void Store(TMatrix& Mat, TEigenState& State) {
    for (size_t i = 0; i < FN; ++i)
      for (size_t j = i + 1; j < FN; ++j) Mat.SetVal(Index(i), Index(j), a(i, j));
    State.Size = static_cast<int32_t>(FN);
    State.Values = std::move(FD);
    State.Vectors = std::move(FV);
  }

 private:
  static int32_t Index(size_t i) { return static_cast<int32_t>(i + 1); }
  double& a(size_t i, size_t j) { return FA[i * FN + j]; }  // column i, row j

  void Visit(size_t p, size_t q, int Sweep, double Tresh) {
    const double Apq = a(p, q);
    const double g = 200.0 * std::fabs(Apq);
    if (Sweep > 4 && std::fabs(FD[p]) + g == std::fabs(FD[p]) &&
        std::fabs(FD[q]) + g == std::fabs(FD[q])) {
      a(p, q) = a(q, p) = 0.0;
      return;
    }
    if (!(std::fabs(Apq) > Tresh)) return;
    double h = FD[q] - FD[p], t;
    if (std::fabs(h) + g == std::fabs(h)) {
      t = Apq / h;
    } else {
      const double Theta = h / (2.0 * Apq);
      t = 1.0 / (std::fabs(Theta) + std::sqrt(1.0 + Theta * Theta));
      if (Theta < 0.0) t = -t;
    }
    const double c = 1.0 / std::sqrt(1.0 + t * t), s = t * c, Tau = s / (1.0 + c);
    h = t * Apq;
    FZ[p] = FZ[p] - h;
    FZ[q] = FZ[q] + h;
    FD[p] = FD[p] - h;
    FD[q] = FD[q] + h;
    // Columns p and q in one pass; their rows p and q (the unused diagonal and a(p, q)) come
    // along and a(p, q) is set to 0 afterwards. Then the mirror row q.
    Rotate(&FA[p * FN], &FA[q * FN], &FV[p * FN], &FV[q * FN], s, Tau, FN);
    a(p, q) = a(q, p) = 0.0;
    MirrorRow(q, p);
  }

  // Row r of the columns j > After := column r.
  void MirrorRow(size_t r, size_t After) {
    const double* C = &FA[r * FN];
    for (size_t j = After + 1; j < FN; ++j) FA[j * FN + r] = C[j];
  }

  // a(x, y) := a(y, x) for x < y (column x, row y from column y, row x), in tiles that stay in
  // the cache.
  void LowerFromUpper() {
    constexpr size_t Tile = 32;
    for (size_t x0 = 0; x0 < FN; x0 += Tile)
      for (size_t y0 = x0; y0 < FN; y0 += Tile)
        for (size_t x = x0; x < std::min(x0 + Tile, FN); ++x)
          for (size_t y = std::max(y0, x + 1); y < std::min(y0 + Tile, FN); ++y)
            FA[x * FN + y] = FA[y * FN + x];
  }

  size_t FN;
  std::vector<double> FA, FV, FD, FB, FZ;
};

}  // namespace

bool CalcEigVec(TMatrix* Mat) {
  if (Mat == nullptr) return false;
  const int32_t N = Mat->NrOfColumns();
  if (N > MaxOrder) return false;
  TJacobi Jacobi(*Mat, static_cast<size_t>(std::max(N, 0)));
  AbortMathProc = false;
  const bool Converged = Jacobi.Run();
  Jacobi.Store(*Mat, EigenState);
  return Converged;
}

double GetEigenResult(int32_t VecIx, int32_t ElemIx) {
  const TEigenState& S = EigenState;
  const auto n = static_cast<int64_t>(S.Values.size());
  if (VecIx < 1 || VecIx > n || ElemIx < 0 || ElemIx > n) return 0.0;
  if (ElemIx == 0) return S.Values[static_cast<size_t>(VecIx - 1)];
  return S.Vectors[static_cast<size_t>((VecIx - 1) * n + (ElemIx - 1))];
}

int32_t GetEigenSize() { return EigenState.Size; }

void RemoveEigenMatrix() {
  EigenState.Values = {};
  EigenState.Vectors = {};
}

namespace detail {

// For CalcPrincComp: the eigen state of this thread.
void ScaleAndSortEigenResults(bool RelEigVals) {
  TEigenState& S = EigenState;
  const size_t n = S.Values.size();
  if (RelEigVals) {
    long double Sum = 0.0L;
    for (double V : S.Values) Sum += std::fabs(V);
    if (Sum != 0)
      for (double& V : S.Values) V = static_cast<double>(V / Sum);
  }
  // Selection sort, descending, of the values above 0; the vectors travel with their values.
  for (size_t i = 0; i < n; ++i) {
    double Best = 0.0;
    size_t At = n;
    for (size_t j = i; j < n; ++j)
      if (S.Values[j] > Best) {
        Best = S.Values[j];
        At = j;
      }
    if (At == n || At == i) continue;
    std::swap(S.Values[i], S.Values[At]);
    std::swap_ranges(S.Vectors.begin() + static_cast<ptrdiff_t>(i * n),
                     S.Vectors.begin() + static_cast<ptrdiff_t>((i + 1) * n),
                     S.Vectors.begin() + static_cast<ptrdiff_t>(At * n));
  }
}

}  // namespace detail

}  // namespace zeq
