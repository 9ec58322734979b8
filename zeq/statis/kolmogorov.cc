// The Kolmogorov-Smirnov distribution (Marsaglia, Tsang and Wang's matrix power, with its
// decimal exponent beside the matrix), its critical values, and Lilliefors' approximations.
#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include "zeq/math1/math1.h"
#include "zeq/matrix/matrix.h"
#include "zeq/statis/statis.h"

namespace zeq {

namespace {

using Ext = long double;

constexpr double SignifAlpha[5] = {0.20, 0.15, 0.10, 0.05, 0.01};

constexpr double KolmogorovTable[20][5] = {
    {0.900, 0.925, 0.950, 0.975, 0.995}, {0.684, 0.726, 0.776, 0.842, 0.929},
    {0.565, 0.597, 0.642, 0.708, 0.828}, {0.494, 0.525, 0.564, 0.624, 0.733},
    {0.446, 0.474, 0.510, 0.565, 0.669}, {0.410, 0.436, 0.470, 0.521, 0.618},
    {0.381, 0.405, 0.438, 0.486, 0.577}, {0.358, 0.381, 0.411, 0.457, 0.543},
    {0.339, 0.360, 0.388, 0.432, 0.514}, {0.322, 0.342, 0.368, 0.410, 0.490},
    {0.307, 0.326, 0.352, 0.391, 0.468}, {0.295, 0.313, 0.338, 0.375, 0.450},
    {0.284, 0.302, 0.325, 0.361, 0.433}, {0.274, 0.292, 0.314, 0.349, 0.418},
    {0.266, 0.283, 0.304, 0.338, 0.404}, {0.258, 0.274, 0.295, 0.328, 0.392},
    {0.250, 0.266, 0.286, 0.318, 0.381}, {0.244, 0.259, 0.278, 0.309, 0.371},
    {0.237, 0.252, 0.272, 0.301, 0.363}, {0.231, 0.246, 0.264, 0.294, 0.356}};

constexpr double KolmogorovAsymptotic[5] = {1.073, 1.138, 1.224, 1.358, 1.628};

// The exact matrix method costs about 2 log2(n) products of order m = 2 Trunc(n d) + 1 and a
// loop of n steps. Beyond this order, or for n beyond MaxMatrixN, the Pelz-Good expansion
// takes over: the time stays in milliseconds for every n and d (KSPValue(10^6, 0.0005) took
// seconds with an order-1001 matrix, and KSQuantile may call it many times). In that region
// (n d > 100 means n > 2660, since n d^2 <= 3.76) the expansion agrees with the exact
// distribution to better than 1e-9.
constexpr int32_t MaxMatrixOrder = 201;
constexpr int32_t MaxMatrixN = 100000;

constexpr Ext Pi2 = 9.869604401089358618834490999876151L;  // pi^2
constexpr Ext Sqrt2Pi = 2.506628274631000502415765284811045L;

// P(sqrt(n) D_n <= z) by Pelz and Good's (1976) expansion in powers of 1/sqrt(n),
//   K0(z) + K1(z) / sqrt(n) + K2(z) / n + K3(z) / n^1.5,
// each term written with theta-function sums that converge fast for the small and moderate
// z met here (z <= 2): sums over odd m of q^(m^2), q = exp(-pi^2 / (8 z^2)), and sums over
// all k of exp(-pi^2 k^2 / (2 z^2)).
Ext PelzGoodCdf(int32_t n, Ext z) {
  const Ext z2 = z * z, z4 = z2 * z2, z6 = z4 * z2, z8 = z4 * z4;
  const Ext Pi4 = Pi2 * Pi2, Pi6 = Pi4 * Pi2;
  Ext S0 = 0, S1 = 0, S2 = 0, S3 = 0, T2 = 0, T3 = 0;
  for (int k = 1; k <= 100; ++k) {
    const Ext m2 = Ext(2 * k - 1) * (2 * k - 1), m4 = m2 * m2, m6 = m4 * m2;
    const Ext Q = std::exp(-Pi2 * m2 / (8 * z2));     // q^(m^2)
    const Ext R = std::exp(-Pi2 * k * k / (2 * z2));  // the sums over all k
    if (Q == 0 && R == 0) break;
    S0 += Q;
    S1 += (Pi2 * m2 / 4 - z2) * Q;
    S2 += (6 * z6 + 2 * z4 + (2 * z4 - 5 * z2) * Pi2 * m2 / 4 + Pi4 * (1 - 2 * z2) * m4 / 16) * Q;
    S3 += (-30 * z6 - 90 * z8 + Pi2 * (135 * z4 - 96 * z6) * m2 / 4 +
           Pi4 * (212 * z4 - 60 * z2) * m4 / 16 + Pi6 * (5 - 30 * z2) * m6 / 64) *
          Q;
    T2 += Ext(k) * k * R;
    T3 += (3 * z2 - Pi2 * k * k) * k * k * R;
    if (Q < 1e-25L * S0 && R <= 1e-25L * T2) break;
  }
  const Ext K0 = Sqrt2Pi * S0 / z;
  const Ext K1 = Sqrt2Pi * S1 / (6 * z4);
  const Ext K2 = Sqrt2Pi * S2 / (72 * z6 * z) - Sqrt2Pi * Pi2 * T2 / (36 * z2 * z);
  const Ext K3 = Sqrt2Pi * S3 / (6480 * z8 * z2) + Sqrt2Pi * Pi2 * T3 / (216 * z6);
  const Ext Rn = std::sqrt(static_cast<Ext>(n));
  return K0 + K1 / Rn + K2 / n + K3 / (n * Rn);
}

// V := V^n for the matrix H, with the decimal exponent E kept beside it.
void MatrixPower(TMatrix& H, int32_t n, TMatrix& V, int32_t& E) {
  if (n == 1) {
    V.Assign(&H);
    E = 0;
    return;
  }
  int32_t EHalf;
  MatrixPower(H, n / 2, V, EHalf);
  TMatrix B;
  V.Multiply(&V, &B);  // B = V * V
  if (n % 2 == 1) {
    H.Multiply(&B, &V);
  } else {
    V.Assign(&B);
  }
  E = 2 * EHalf;
  const int32_t Centre = V.NrOfRows() / 2;  // the element [m div 2][m div 2]
  if (V.GetVal(Centre, Centre) > 1e140) {
    V.SMult(1e-140);
    E += 140;
  }
}

}  // namespace

double KSPValue(int32_t n, double d) {
  if (n < 1 || std::isnan(d)) return std::numeric_limits<double>::quiet_NaN();
  if (d <= 0) return 1.0;  // before the tail formula, which a large negative d would reach
  const Ext Nd = static_cast<Ext>(n) * d;
  const Ext S = Nd * d;
  const auto Asymptotic = [&] {
    return static_cast<double>(
        2 * std::exp(-(2.000071L + 0.331L / std::sqrt(static_cast<Ext>(n)) + 1.409L / n) * S));
  };
  if (S > 7.24L || (S > 3.76L && n > 99)) return Asymptotic();
  const auto k = static_cast<int32_t>(std::trunc(Nd)) + 1;
  const int32_t m = 2 * k - 1;
  if (m > MaxMatrixOrder || n > MaxMatrixN)
    return static_cast<double>(std::clamp<Ext>(1 - PelzGoodCdf(n, std::sqrt(S)), 0, 1));
  const Ext h = k - Nd;
  TMatrix H;
  H.Resize(m, m);
  // H[i][j] is row i, column j: Elem(j, i).
  for (int32_t i = 1; i <= m; ++i)
    for (int32_t j = 1; j <= m; ++j) H.SetVal(j, i, j <= i + 1 ? 1.0 : 0.0);
  for (int32_t i = 1; i <= m; ++i) {
    H.SetVal(1, i, static_cast<double>(H.GetVal(1, i) - std::pow(h, i)));
    H.SetVal(i, m, static_cast<double>(H.GetVal(i, m) - std::pow(h, m - i + 1)));
  }
  if (2 * h - 1 > 0) H.SetVal(1, m, static_cast<double>(H.GetVal(1, m) + std::pow(2 * h - 1, m)));
  for (int32_t i = 1; i <= m; ++i)
    for (int32_t j = 1; j <= m; ++j)
      if (i - j + 1 > 0) {
        Ext X = H.GetVal(j, i);
        for (int32_t g = 1; g <= i - j + 1; ++g) X /= g;
        H.SetVal(j, i, static_cast<double>(X));
      }
  TMatrix V;
  int32_t E;
  MatrixPower(H, n, V, E);
  Ext s = V.GetVal(k, k);
  for (int64_t i = 1; i <= n; ++i) {  // 64-bit: n may be INT32_MAX
    s = s * i / n;
    if (s < 1e-140L) {
      s *= 1e140L;
      E -= 140;
    }
  }
  s *= std::pow(10.0L, E);
  // For large n the matrix power can lose all precision (n = 31034, d = 0.00157 gave a
  // distribution value of 1e300): the expansion, which is accurate there, instead.
  if (!(s >= 0 && s <= 1))
    return static_cast<double>(std::clamp<Ext>(1 - PelzGoodCdf(n, std::sqrt(S)), 0, 1));
  return static_cast<double>(1 - s);
}

double KolmogSmir1SampleTestStat(int32_t n, TSignifLevel level) {
  if (level > Dot01 || n < 1) return -1;
  if (n <= 20) return KolmogorovTable[n - 1][level];
  return static_cast<double>(KolmogorovAsymptotic[level] / std::sqrt(static_cast<Ext>(n)));
}

double KSQuantile(int32_t n, TSignifLevel level) {
  Ext D = KolmogSmir1SampleTestStat(n, level);
  if (D < 0) return -1;
  const double Alpha = SignifAlpha[level];
  Ext Diff = KSPValue(n, static_cast<double>(D)) - Alpha;
  for (int It = 0; It < 1000 && std::fabs(Diff) > 1e-4L; ++It) {
    D = (1 + Diff) * D;
    Diff = KSPValue(n, static_cast<double>(D)) - Alpha;
  }
  return static_cast<double>(D);
}

double LillieforsPValue(int32_t n, double d) {
  if (n <= 5) return -1;
  Ext D = d, N = n;
  if (n > 100) {
    D = D * std::pow(N / 100, 0.49L);
    N = 100;
  }
  const Ext R = std::sqrt(N + 2.78019L);
  Ext E = -7.01256L * D * D * (N + 2.78019L) + 2.99587L * D * R - 0.122119L +
          0.97498L / std::sqrt(N) + 1.67997L / N;
  if (E > 0) E = 0;
  return static_cast<double>(std::exp(E));
}

double LillieforsQuantile(int32_t n, double alpha) {
  static const std::vector<double> P1 = {6.32207539843126,   -17.1398870006148, 38.42812675101057,
                                         -45.93241384693391, 7.88697700041829,  29.79317711037858,
                                         -18.48090137098585};
  static const std::vector<double> P2 = {12.940399038404,   -53.458334259532, 186.923866119699,
                                         -410.582178349305, 517.377862566267, -343.581476222384,
                                         92.123451358715};
  const double U = 1 - alpha;
  return static_cast<double>(
      1 / std::sqrt(static_cast<Ext>(n) * Polynomial(P1, 6, U) + Polynomial(P2, 6, U)));
}

}  // namespace zeq
