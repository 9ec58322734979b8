// TCurveFit's fits: line, parabola, polynomials (by the SVD least-squares solver), circle, and
// the regression analysis of variance.
//
// The line and the parabola centre the data on the means of the points first, which keeps
// their sums well conditioned; sums run in extended precision and are rounded where the
// documented algorithm rounds them.
#include <cmath>
#include <vector>

#include "zeq/base/internal/centred_fit.h"
#include "zeq/math2/curvefit.h"
#include "zeq/math2/internal/least_squares.h"

namespace zeq {

namespace {

// The centred sums of points 1..n of the matrix, the means from its MeanVar.
detail::TCentredSums CentredSumsOf(const TMatrix& Data, int32_t n) {
  double MeanX, MeanY, Var;
  Data.MeanVar(1, 1, 1, n, MeanX, Var);
  Data.MeanVar(2, 1, 2, n, MeanY, Var);
  return detail::CentredSums(
      n, MeanX, MeanY, [&](int32_t r) { return Data.GetVal(1, r); },
      [&](int32_t r) { return Data.GetVal(2, r); });
}

// Squared correlation of y and the fitted f, 0 when undefined.
struct TFitQuality {
  long double Syy = 0, Sff = 0, Sy = 0, Sf = 0, Syf = 0;
  void Take(long double y, long double f) {
    Syy += y * y;
    Sff += f * f;
    Sy += y;
    Sf += f;
    Syf += y * f;
  }
  double RSquared(long double n) const {
    if (!(Syy > 0) || !(Sff > 0)) return 0.0;
    const long double vy = Syy - Sy * Sy / n, vf = Sff - Sf * Sf / n;
    if (vy == 0 || vf == 0) return 0.0;
    const long double r = (Syf - Sy * Sf / n) / std::sqrt(std::fabs(vy * vf));
    return static_cast<double>(r * r);
  }
};

}  // namespace

void TCurveFit::CalcLinFit(double& k, double& d, double& FitQual) const {
  k = d = FitQual = 0.0;
  if (FNumData < 2) throw EZEQMath2Error("CalcLinFit: not enough data points");
  const detail::TLineFit F = detail::LineFromSums(CentredSumsOf(*FData, FNumData));
  k = F.k, d = F.d, FitQual = F.FitQual;
}

void TCurveFit::CalcParabolFit(double& k0, double& k1, double& k2, double& FitQual) const {
  k0 = k1 = k2 = FitQual = 0.0;
  if (FNumData < 3) throw EZEQMath2Error("CalcParabolFit: not enough data points");
  const detail::TParabolaFit F = detail::ParabolaFromSums(CentredSumsOf(*FData, FNumData));
  k0 = F.k0, k1 = F.k1, k2 = F.k2, FitQual = F.FitQual;
}

// The polynomial in t = (x - XShift) / Scale fitted to y - YShift; kArray receives the
// coefficients of the powers of (x - XShift), kArray[0] with YShift added back.
bool TCurveFit::PolyFit(uint8_t nOrder, std::span<double> kArray, double XShift, double Scale,
                        double YShift, double& FitQual, bool& NearSingular, const char* Name) {
  FitQual = 0.0;
  NearSingular = false;
  if (kArray.size() < static_cast<size_t>(nOrder) + 1)
    throw EZEQMath2Error(std::string(Name) + ": kArray must hold nOrder + 1 values");
  for (size_t j = 0; j <= nOrder; ++j) kArray[j] = 0.0;
  AbortMathProc = false;
  const auto M = static_cast<size_t>(FNumData), N = static_cast<size_t>(nOrder) + 1;
  // Design row i: t, t^2, ..., t^nOrder, 1 (powers by repeated multiplication).
  std::vector<double> A(M * N), B(M);
  for (size_t i = 0; i < M; ++i) {
    const auto Row = static_cast<int32_t>(i + 1);
    const double t = (FData->GetVal(1, Row) - XShift) / Scale;
    double Power = 1.0;
    for (size_t j = 0; j < nOrder; ++j) A[i * N + j] = Power = Power * t;
    A[i * N + nOrder] = 1.0;
    B[i] = FData->GetVal(2, Row) - YShift;
  }
  detail::TLeastSquares LS;
  const std::vector<double> Design = A;
  if (!detail::SolveLeastSquares(M, N, std::move(A), B, LS)) return false;
  NearSingular = LS.NearSingular;
  TFitQuality Q;
  for (size_t i = 0; i < M; ++i) {
    long double f = LS.Coeffs[nOrder];
    for (size_t j = 0; j < nOrder; ++j)
      f += static_cast<long double>(LS.Coeffs[j]) * Design[i * N + j];
    Q.Take(B[i], f);
  }
  FitQual = Q.RSquared(static_cast<long double>(M));
  long double ScalePower = 1;
  for (size_t j = 1; j <= nOrder; ++j) {
    ScalePower *= Scale;
    kArray[j] = static_cast<double>(LS.Coeffs[j - 1] / ScalePower);
  }
  kArray[0] = static_cast<double>(static_cast<long double>(LS.Coeffs[nOrder]) + YShift);
  return true;
}

bool TCurveFit::CalcPolyFit(uint8_t nOrder, std::span<double> kArray, double& FitQual,
                            bool& NearSingular) {
  return PolyFit(nOrder, kArray, 0.0, 1.0, 0.0, FitQual, NearSingular, "CalcPolyFit");
}

bool TCurveFit::CalcCenteredPolyFit(uint8_t nOrder, std::span<double> kArray, double& XShift,
                                    double& FitQual, bool& NearSingular) {
  double MeanX = 0, VarX = 0, MeanY = 0, VarY = 0;
  if (FNumData >= 1) {
    FData->MeanVar(1, 1, 1, FNumData, MeanX, VarX);
    FData->MeanVar(2, 1, 2, FNumData, MeanY, VarY);
  }
  if (XShift == 0) XShift = MeanX;
  double s = std::sqrt(VarX);
  if (s == 0) s = 1;
  return PolyFit(nOrder, kArray, XShift, s, MeanY, FitQual, NearSingular, "CalcCenteredPolyFit");
}

void TCurveFit::CalcCircleFit(double& r, double& dx, double& dy) const {
  r = dx = dy = 0.0;
  if (FNumData < 3) throw EZEQMath2Error("CalcCircleFit: not enough data points");
  const long double n = FNumData, Sxx = sumxq, Syy = sumyq, Sx = sumx, Sy = sumy;
  const auto Round = [](long double X) { return static_cast<long double>(static_cast<double>(X)); };
  const long double Ay = Round((Sxx + Syy) * Sy - (sumx2y + sumy3) * n);
  const long double Dyy = Round(Sy * Sy - n * Syy);
  const long double Ax = Round((Sxx + Syy) * Sx - (sumxy2 + sumx3) * n);
  const long double Dxx = Round(Sx * Sx - n * Sxx);
  const long double C = Round(n * sumxy - Sx * Sy);
  const long double Det = Round(Dyy * Dxx - C * C);
  if (Det == 0) throw EZEQMath2Error("CalcCircleFit: radius is infinite");
  const long double X = (C * Ay + Dyy * Ax) / 2 / Det, Y = (C * Ax + Ay * Dxx) / 2 / Det;
  dx = static_cast<double>(X);
  dy = static_cast<double>(Y);
  r = static_cast<double>(std::sqrt(((X * X + Y * Y) * n + Sxx + Syy - 2 * (Sx * X + Sy * Y)) / n));
}

void TCurveFit::CalcAnovaReg(int32_t NumVars, bool IncludeConst, int32_t& dfreg, int32_t& dfres,
                             int32_t& dftotal, double& SSE, double& SSR, double& SST, double& MSE,
                             double& MSR, double& F) const {
  const long double n = FNumData;
  dfreg = NumVars;
  dftotal = IncludeConst ? FNumData - 1 : FNumData;
  const long double m = IncludeConst && FNumData > 0 ? sumx / n : 0.0L;
  dfres = dftotal - dfreg;
  SSE = static_cast<double>(SumDiffq);
  SSR = static_cast<double>(m * m * n + sumyq - 2 * m * sumy);
  SST = static_cast<double>(m * m * n + sumxq - 2 * m * sumx);
  MSE = SSE / dfres;
  MSR = SSR / dfreg;
  F = MSR == 0 ? 0.0 : MSE == 0 ? 1e10 : MSR / MSE;
}

}  // namespace zeq
