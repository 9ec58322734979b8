// The Chebyshev recursive filter: design by pole pairs (each pole placed on the unit circle,
// warped to an ellipse for a ripple, mapped by the bilinear transform and shifted to the
// cut-off), cascaded into one recursion, and a zero-phase forward-backward application.
//
// Design arithmetic runs in extended precision; the cascade's work arrays hold doubles, as the
// coefficients are stored.
#include <algorithm>
#include <array>
#include <cmath>
#include <new>
#include <vector>

#include "zeq/math2/filters.h"

namespace zeq {

namespace {

constexpr long double Pi = 3.141592653589793238462643383279502884L;
constexpr int32_t MaxPoles = 20;  // the cascade's 23-entry work arrays hold 20 poles

struct TSection {
  long double a0, a1, a2, b1, b2;
};

// One two-pole section for pole pair p (1-based) of NP poles.
TSection PolePairSection(int32_t p, int32_t NP, bool HighPass, long double Fc, long double Ripple) {
  const long double Angle = Pi / (2.0L * NP) + (p - 1) * Pi / NP;
  long double rp = -std::cos(Angle), ip = std::sin(Angle);
  if (Ripple != 0) {  // warp from the circle to an ellipse
    const long double es = std::sqrt(std::pow(100.0L / (100.0L - Ripple), 2) - 1.0L);
    const long double vx = (1.0L / NP) * std::log(1.0L / es + std::sqrt(1.0L / (es * es) + 1.0L));
    long double kx = (1.0L / NP) * std::log(1.0L / es + std::sqrt(1.0L / (es * es) - 1.0L));
    kx = (std::exp(kx) + std::exp(-kx)) / 2.0L;
    rp = rp * ((std::exp(vx) - std::exp(-vx)) / 2.0L) / kx;
    ip = ip * ((std::exp(vx) + std::exp(-vx)) / 2.0L) / kx;
  }
  // s-domain to z-domain (bilinear transform).
  const long double t = 2.0L * std::tan(0.5L);
  const long double w = 2.0L * Pi * Fc;
  const long double m = rp * rp + ip * ip;
  long double d = 4.0L - 4.0L * rp * t + m * t * t;
  const long double x0 = t * t / d, x1 = 2.0L * t * t / d, x2 = t * t / d;
  const long double y1 = (8.0L - 2.0L * m * t * t) / d;
  const long double y2 = (-4.0L - 4.0L * rp * t - m * t * t) / d;
  // Low-pass to low-pass or high-pass frequency transformation.
  const long double k = HighPass ? -std::cos(w / 2.0L + 0.5L) / std::cos(w / 2.0L - 0.5L)
                                 : std::sin(0.5L - w / 2.0L) / std::sin(0.5L + w / 2.0L);
  d = 1.0L + y1 * k - y2 * k * k;
  TSection S{(x0 - x1 * k + x2 * k * k) / d, (-2.0L * x0 * k + x1 + x1 * k * k - 2.0L * x2 * k) / d,
             (x0 * k * k - x1 * k + x2) / d, (2.0L * k + y1 + y1 * k * k - 2.0L * y2 * k) / d,
             (-k * k - y1 * k + y2) / d};
  if (HighPass) {
    S.a1 = -S.a1;
    S.b1 = -S.b1;
  }
  return S;
}

}  // namespace

void CalcChebFilterCoeffs(int32_t NPoles, bool HighPass, double CutOffFreq, double Ripple,
                          double& A0, TMatrix* ChebCoeffs) {
  if (NPoles % 2 != 0) throw EZEQMath2Error("CalcChebFilterCoeffs: NPoles must be even");
  if (NPoles < 2 || NPoles > MaxPoles)
    throw EZEQMath2Error("CalcChebFilterCoeffs: NPoles must be between 2 and 20");
  if (!(Ripple >= 0 && Ripple <= 29))
    throw EZEQMath2Error("CalcChebFilterCoeffs: invalid Ripple value");
  if (!(CutOffFreq >= 0 && CutOffFreq <= 0.5))
    throw EZEQMath2Error("CalcChebFilterCoeffs: invalid cutoff frequency");
  if (ChebCoeffs == nullptr) throw EZEQMath2Error("CalcChebFilterCoeffs: ChebCoeffs is undefined");

  std::array<double, 23> A{}, B{};
  A[2] = 1;
  B[2] = 1;
  for (int32_t p = 1; p <= NPoles / 2; ++p) {
    const TSection S = PolePairSection(p, NPoles, HighPass, CutOffFreq, Ripple);
    const std::array<double, 23> TA = A, TB = B;
    for (size_t i = 2; i <= 22; ++i) {
      A[i] = static_cast<double>(S.a0 * TA[i] + S.a1 * TA[i - 1] + S.a2 * TA[i - 2]);
      B[i] = static_cast<double>(TB[i] - S.b1 * TB[i - 1] - S.b2 * TB[i - 2]);
    }
  }
  B[2] = 0;
  for (size_t i = 0; i <= 20; ++i) {
    A[i] = A[i + 2];
    B[i] = -B[i + 2];
  }
  // Unit gain at DC (low-pass) or at the Nyquist frequency (high-pass).
  long double SA = 0, SB = 0;
  for (size_t i = 0; i <= 20; ++i) {
    const long double Sign = HighPass && i % 2 == 1 ? -1.0L : 1.0L;
    SA += A[i] * Sign;
    SB += B[i] * Sign;
  }
  const long double Gain = SA / (1.0L - SB);
  for (size_t i = 0; i <= 20; ++i) A[i] = static_cast<double>(A[i] / Gain);

  A0 = A[0];
  ChebCoeffs->Resize(2, NPoles);
  for (int32_t i = 1; i <= NPoles; ++i) {
    ChebCoeffs->SetVal(1, i, A[static_cast<size_t>(i)]);
    ChebCoeffs->SetVal(2, i, B[static_cast<size_t>(i)]);
  }
}

void ChebychevFilter(const TVector* SourceVec, int32_t LowElem, int32_t HighElem, TVector* DestVec,
                     double A0, const TMatrix* ChebCoeffs) {
  if (SourceVec == nullptr || DestVec == nullptr || ChebCoeffs == nullptr)
    throw EZEQMath2Error("ChebychevFilter: SourceVec, DestVec and/or ChebCoeffs is undefined");
  const int32_t P = ChebCoeffs->NrOfRows(), M = P + 1;
  const int64_t Last = static_cast<int64_t>(HighElem) + 2 * M;  // passes cover 1..Last
  std::vector<double> a(static_cast<size_t>(P) + 1), b(static_cast<size_t>(P) + 1);
  for (int32_t i = 1; i <= P; ++i) {
    a[static_cast<size_t>(i)] = ChebCoeffs->GetVal(1, i);
    b[static_cast<size_t>(i)] = ChebCoeffs->GetVal(2, i);
  }
  // Positions 1..Last of x (source element j - M, 0 outside the vector), y1 and y2 live at
  // index j + P, so that the P zeros before position 1 (forward) and after Last (backward)
  // are real entries and the recursions need no tests.
  std::vector<double> x, y1, y2;
  const int64_t Span = std::max<int64_t>(Last, 0);
  try {
    const auto Size = static_cast<size_t>(Span + 2 * P + 1);
    x.assign(Size, 0.0);
    y1.assign(Size, 0.0);
    y2.assign(Size, 0.0);
  } catch (const std::bad_alloc&) {
    throw EZEQMath2Error("ChebychevFilter: not enough memory");
  } catch (const std::length_error&) {
    throw EZEQMath2Error("ChebychevFilter: not enough memory");
  }
  const int64_t NSource = SourceVec->NrOfElem();
  for (int64_t j = M + 1; j <= Span && j - M <= NSource; ++j)
    x[static_cast<size_t>(j + P)] = SourceVec->GetVal(static_cast<int32_t>(j - M));
  const double* A = a.data();
  const double* B = b.data();
  // Forward: y1(j) = A0 x(j - M) + sum over i of a(i) x(j - i - M) + b(i) y1(j - i).
  for (int64_t j = 1; j <= Span; ++j) {
    const double* X = x.data() + j + P;
    double* Y = y1.data() + j + P;
    long double S = static_cast<long double>(A0) * X[0];
    for (int32_t i = 1; i <= P; ++i)
      S += static_cast<long double>(A[i]) * X[-i] + static_cast<long double>(B[i]) * Y[-i];
    Y[0] = static_cast<double>(S);
  }
  // Backward: y2(j) = A0 y1(j) + sum over i of a(i) y1(j + i) + b(i) y2(j + i), 0 beyond Last.
  for (int64_t j = Span; j >= 1; --j) {
    const double* Y1 = y1.data() + j + P;
    double* Y2 = y2.data() + j + P;
    long double S = static_cast<long double>(A0) * Y1[0];
    for (int32_t i = 1; i <= P; ++i)
      S += static_cast<long double>(A[i]) * Y1[i] + static_cast<long double>(B[i]) * Y2[i];
    Y2[0] = static_cast<double>(S);
  }
  // Writes outside DestVec would be dropped: only its elements in LowElem..HighElem are visited.
  const int32_t First = std::max(LowElem, 1), Final = std::min(HighElem, DestVec->NrOfElem());
  for (int32_t k = First; k <= Final; ++k) DestVec->SetVal(k, y2[static_cast<size_t>(k + M + P)]);
}

}  // namespace zeq
