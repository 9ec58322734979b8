// TRandGen: the table, its shapes and the rejection sampler.
#include "zeq/statis/randgen.h"

#include <algorithm>
#include <cmath>

#include "zeq/base/random.h"
#include "zeq/statis/internal/exact_densities.h"
#include "zeq/statis/statis.h"

namespace zeq {

namespace {

constexpr int32_t MinResolution = 10, MaxResolution = 4000;
constexpr int32_t MaxAttempts = 100001;

bool PositiveFinite(double x) { return x > 0 && std::isfinite(x); }

}  // namespace

TRandGen::TRandGen(TComponent* AOwner) : TComponent(AOwner), FDistVec(FResolution, 1.0) {}

void TRandGen::SetResolution(int32_t n) {
  FResolution = std::clamp(n, MinResolution, MaxResolution);
  FDistVec.assign(FResolution, 1.0);
}

double TRandGen::GetProbability(int32_t i) const {
  return i >= 1 && i <= FResolution ? FDistVec[i - 1] : 0.0;
}

void TRandGen::SetProbability(int32_t i, double p) {
  if (i < 1 || i > FResolution) return;
  FDistVec[i - 1] = p > 1 ? 1.0 : p > 0 ? p : 0.0;
}

double TRandGen::GetLambda(int32_t i) const {
  if (i < 1) return FLowBorder;
  if (i > FResolution) return FHighBorder;
  return FLowBorder + (FHighBorder - FLowBorder) * (i - 1) / FResolution;
}

int32_t TRandGen::IndexOfLambda(double x) const {
  if (std::isnan(x) || x < FLowBorder) return 0;
  if (x > FHighBorder) return FResolution + 1;
  // Equal or infinite borders make the quotient NaN; such an x belongs to the first bin.
  const double Bin = std::floor((x - FLowBorder) * FResolution / (FHighBorder - FLowBorder));
  if (!(Bin >= 0)) return 1;
  return Bin >= FResolution ? FResolution + 1 : static_cast<int32_t>(Bin) + 1;
}

double TRandGen::GetRandNum() const {
  int32_t k = 1;
  double u = 0;
  for (int32_t Attempt = 1; Attempt <= MaxAttempts; ++Attempt) {
    k = zeq::Random(FResolution) + 1;
    u = zeq::Random();
    const double Pk = FDistVec[k - 1];
    const double p = k < FResolution ? Pk + (FDistVec[k] - Pk) * u : (1 - u) * Pk;
    if (p >= 1 || zeq::Random() < p) break;
  }
  return FLowBorder + (k - 1 + u) * (FHighBorder - FLowBorder) / FResolution;
}

void TRandGen::Normalize() {
  const auto [Min, Max] = std::minmax_element(FDistVec.begin(), FDistVec.end());
  const double Low = *Min, Range = *Max - *Min;
  if (Range == 0) return;
  for (double& v : FDistVec) v = (v - Low) / Range;
}

bool TRandGen::Standardize() {
  const double Max = *std::max_element(FDistVec.begin(), FDistVec.end());
  if (Max == 0) return false;
  for (double& v : FDistVec) v /= Max;
  return true;
}

template <class Density>
void TRandGen::FillTable(Density&& f) {
  for (int32_t i = 1; i <= FResolution; ++i) FDistVec[i - 1] = static_cast<double>(f(GetLambda(i)));
}

template <class Cdf>
void TRandGen::TamePoles(Cdf&& F) {
  for (int32_t i = 1; i <= FResolution; ++i) {
    if (!std::isinf(FDistVec[i - 1])) continue;
    const double Left = GetLambda(i), Right = GetLambda(i + 1);
    FDistVec[i - 1] = Right > Left ? (F(Right) - F(Left)) / (Right - Left) : 1.0;
  }
}

void TRandGen::NormalDistri(double Mean, double StdDev) {
  if (!std::isfinite(Mean) || !std::isfinite(StdDev) || StdDev == 0) return;
  const double TwoVar = 2 * StdDev * StdDev;
  FillTable([&](double x) { return std::exp(-(x - Mean) * (x - Mean) / TwoVar); });
}

void TRandGen::tDistri(double df) {
  if (!PositiveFinite(df)) return;
  FillTable([&](double x) { return detail::TDensityExact(x, df); });
}

void TRandGen::Chi2Distri(double df) {
  if (!PositiveFinite(df)) return;
  FillTable([&](double x) { return detail::Chi2DensityExact(x, df); });
  TamePoles([&](double x) { return IncompleteGamma(x / 2, df / 2); });
}

void TRandGen::FDistri(double df1, double df2) {
  if (!PositiveFinite(df1) || !PositiveFinite(df2)) return;
  FillTable([&](double x) { return detail::FDensityExact(x, df1, df2); });
  TamePoles([&](double x) { return fDistriIntegral(x, df1, df2); });
}

void TRandGen::WeibullDistri(double Shape, double Scale) {
  if (!PositiveFinite(Shape) || !PositiveFinite(Scale)) return;
  FillTable([&](double x) { return WeibullDensity(x, Shape, Scale); });
  // A shape below 1 can overflow just above 0.
  TamePoles([&](double x) { return x > 0 ? -std::expm1(-std::pow(x / Scale, Shape)) : 0.0; });
}

void TRandGen::UniformDistri() { std::fill(FDistVec.begin(), FDistVec.end(), 1.0); }

}  // namespace zeq
