// Least-squares line and parabola from sums over centred points, shared by TCurveFit and the
// Wilcoxon critical values of the statistics unit (which sits below the fitting unit).
//
// The caller supplies the means; the points are centred on them (u = x - mean x,
// v = y - mean y) and every sum runs in long double in index order, so that both callers get
// the same coefficients for the same points and means.
#pragma once

#include <cstdint>

namespace zeq::detail {

struct TCentredSums {
  double MeanX = 0, MeanY = 0;
  long double n = 0;
  long double u = 0, v = 0, uu = 0, vv = 0, uv = 0, uuv = 0, uuu = 0, uuuu = 0;
};

// The sums over points 1..Count; X(i) and Y(i) return the coordinates of point i.
template <class XOf, class YOf>
TCentredSums CentredSums(int32_t Count, double MeanX, double MeanY, XOf X, YOf Y) {
  TCentredSums S;
  S.MeanX = MeanX;
  S.MeanY = MeanY;
  S.n = Count;
  for (int32_t r = 1; r <= Count; ++r) {
    const long double U = X(r) - static_cast<long double>(MeanX);
    const long double V = Y(r) - static_cast<long double>(MeanY);
    const long double UU = U * U;
    S.u += U;
    S.v += V;
    S.uu += UU;
    S.vv += V * V;
    S.uv += U * V;
    S.uuv += UU * V;
    S.uuu += UU * U;
    S.uuuu += UU * UU;
  }
  return S;
}

struct TLineFit {
  double k = 0, d = 0, FitQual = 0;
};

// y = k x + d; all zero when the x values do not vary.
inline TLineFit LineFromSums(const TCentredSums& S) {
  TLineFit F;
  const long double n = S.n, Det = n * S.uu - S.u * S.u;
  if (Det == 0) return F;
  const long double K = (n * S.uv - S.u * S.v) / Det;
  const long double D0 = (S.uu * S.v - S.u * S.uv) / Det;
  const long double D = D0 - K * S.MeanX + S.MeanY;
  F.k = static_cast<double>(K);
  F.d = static_cast<double>(D);
  const long double q = S.vv - S.v * S.v / n;
  F.FitQual = q == 0 ? 1.0 : static_cast<double>((D * S.v + K * S.uv - S.v * S.v / n) / q);
  return F;
}

struct TParabolaFit {
  double k0 = 0, k1 = 0, k2 = 0, FitQual = 0;
};

// y = k0 + k1 x + k2 x^2. Two intermediate determinants are rounded to double on purpose:
// that is how the documented fit computes them.
inline TParabolaFit ParabolaFromSums(const TCentredSums& S) {
  const long double n = S.n;
  const long double A = n * S.uuv - S.uu * S.v, B = n * S.uuu - S.u * S.uu;
  const long double C = n * S.uv - S.u * S.v;
  const auto D = static_cast<double>(n * S.uu - S.u * S.u);
  const long double E = D * static_cast<long double>(static_cast<double>(n * S.uuuu - S.uu * S.uu));
  const long double c2 = E == B * B ? 0.0L : (D * A - B * C) / (E - B * B);
  const long double c1 = D == 0 ? 0.0L : (C - B * c2) / D;
  const long double c0 = (S.v - c1 * S.u - c2 * S.uu) / n;
  const long double xm = S.MeanX;
  TParabolaFit F;
  F.k2 = static_cast<double>(c2);
  F.k1 = static_cast<double>(c1 - 2 * c2 * xm);
  F.k0 = static_cast<double>(xm * xm * c2 + c0 - c1 * xm + S.MeanY);
  const auto q = static_cast<double>(S.vv - S.v * S.v / n);
  F.FitQual =
      q != 0 ? static_cast<double>((c0 * S.v + c1 * S.uv + c2 * S.uuv - S.v * S.v / n) / q) : 1.0;
  return F;
}

}  // namespace zeq::detail
