// Linear window smoothers and Savitzky-Golay derivatives, and the Golay coefficient tables,
// which are generated here from their closed formulas when the program is compiled.
//
// Window sums are doubles; each product is formed in extended precision and rounded once,
// when it is added to the sum.
#include "zeq/math2/smoothing.h"

#include <numeric>

#include "zeq/math2/internal/smoothing_range.h"

namespace zeq {

namespace {

// ---- the tables ----

// Row (length - 5) / 2 of a Golay table from Coefficient(m, j) and Norm(m, c), reduced by the
// greatest common divisor of c(0..m).
template <class CoeffFn, class NormFn>
constexpr TGolayTable MakeGolayTable(CoeffFn Coefficient, NormFn Norm) {
  TGolayTable T{};
  for (int32_t Row = 0; Row < 11; ++Row) {
    const int32_t m = Row + 2;
    std::array<int32_t, 13> c{};
    int32_t Divisor = 0;
    for (int32_t j = 0; j <= m; ++j) {
      c[j] = Coefficient(m, j);
      Divisor = std::gcd(Divisor, c[j]);
    }
    T[Row][0] = Norm(m, c) / Divisor;
    for (int32_t j = 0; j <= m; ++j) T[Row][j + 1] = c[j] / Divisor;
  }
  return T;
}

constexpr TGolayTable GolayPolyTable =
    MakeGolayTable([](int32_t m, int32_t j) { return 3 * m * m + 3 * m - 1 - 5 * j * j; },
                   [](int32_t m, const std::array<int32_t, 13>& c) {
                     int32_t S = c[0];
                     for (int32_t j = 1; j <= m; ++j) S += 2 * c[j];
                     return S;
                   });

constexpr TGolayTable Golay2ndDerivTable =
    MakeGolayTable([](int32_t m, int32_t j) { return 3 * j * j - m * (m + 1); },
                   [](int32_t m, const std::array<int32_t, 13>& c) {
                     int32_t S = 0;
                     for (int32_t j = 1; j <= m; ++j) S += c[j] * j * j;
                     return S;
                   });

// ---- the window values ----

// (c(0) x(i) + sum over k = 1..m of c(k) (x(i + k) + x(i - k))) / Norm.
template <class Reader, class CoeffFn>
double SymmetricWindow(const Reader& X, int32_t i, int32_t m, CoeffFn c, long double Norm) {
  double S = static_cast<double>(c(0) * static_cast<long double>(X(i)));
  for (int32_t k = 1; k <= m; ++k) {
    const double Pair = X(i + k) + X(i - k);
    S = static_cast<double>(S + c(k) * static_cast<long double>(Pair));
  }
  return static_cast<double>(S / Norm);
}

// Checks the arguments of a Savitzky-Golay routine and evaluates the table row's window.
void GolaySmooth(const TVector* SourceVec, int32_t Low, int32_t High, TVector* DestVec,
                 int32_t Length, const TGolayTable& Table, const detail::TSmoothMessages& Msg) {
  detail::CheckSmoothArgs(SourceVec, DestVec, Low, High, Length, 5, 25, Msg);
  const auto& Row = Table[static_cast<size_t>((Length - 5) / 2)];
  const int32_t m = Length / 2;
  const auto c = [&Row](int32_t k) { return static_cast<long double>(Row[k + 1]); };
  detail::EvaluateWindows(*SourceVec, Low, High, m, *DestVec, [&](const auto& X, int32_t i) {
    return SymmetricWindow(X, i, m, c, Row[0]);
  });
}

}  // namespace

const TGolayTable GolayPoly = GolayPolyTable;
const TGolayTable Golay2ndDeriv = Golay2ndDerivTable;

void MovingAverageSmooth(const TVector* SourceVec, int32_t LowElem, int32_t HighElem,
                         TVector* DestVec, int32_t WindowLength) {
  detail::CheckSmoothArgs(SourceVec, DestVec, LowElem, HighElem, WindowLength, 3, INT32_MAX,
                          detail::SmoothMessages("MovingAverageSmooth", "smoothing", false));
  const int32_t m = WindowLength / 2;
  detail::EvaluateWindows(*SourceVec, LowElem, HighElem, m, *DestVec,
                          [&](const auto& X, int32_t i) {
                            double S = X(i);
                            for (int32_t k = 1; k <= m; ++k) S = S + (X(i + k) + X(i - k));
                            return S / WindowLength;
                          });
}

void WeightedAverageSmooth(const TVector* SourceVec, int32_t LowElem, int32_t HighElem,
                           TVector* DestVec, int32_t WindowLength) {
  detail::CheckSmoothArgs(SourceVec, DestVec, LowElem, HighElem, WindowLength, 3, INT32_MAX,
                          detail::SmoothMessages("WeightedAverageSmooth", "smoothing", false));
  const int32_t m = WindowLength / 2;
  const auto Weight = [m](int32_t k) { return static_cast<long double>(m + 1 - k); };
  // 4 S / (length + 1)^2 = S / (m + 1)^2, the sum of the weights.
  const long double Divisor = static_cast<long double>(WindowLength + 1) * (WindowLength + 1) / 4;
  detail::EvaluateWindows(
      *SourceVec, LowElem, HighElem, m, *DestVec,
      [&](const auto& X, int32_t i) { return SymmetricWindow(X, i, m, Weight, Divisor); });
}

void PolynomialSmooth(const TVector* SourceVec, int32_t LowElem, int32_t HighElem, TVector* DestVec,
                      int32_t PolyLength) {
  GolaySmooth(SourceVec, LowElem, HighElem, DestVec, PolyLength, GolayPoly,
              detail::SmoothMessages("PolynomialSmooth", "smoothing", true));
}

void SecondDeriv(const TVector* SourceVec, int32_t LowElem, int32_t HighElem, TVector* DestVec,
                 int32_t PolyLength) {
  GolaySmooth(SourceVec, LowElem, HighElem, DestVec, PolyLength, Golay2ndDeriv,
              detail::SmoothMessages("SecondDeriv", "smoothing", true));
}

void FirstDeriv(const TVector* SourceVec, int32_t LowElem, int32_t HighElem, TVector* DestVec,
                int32_t PolyLength) {
  detail::CheckSmoothArgs(SourceVec, DestVec, LowElem, HighElem, PolyLength, 5, 25,
                          detail::SmoothMessages("FirstDeriv", "calculation", true));
  const int32_t m = PolyLength / 2;
  const long double Divisor = static_cast<long double>(m) * (m + 1) * (2 * m + 1) / 3;
  detail::EvaluateWindows(*SourceVec, LowElem, HighElem, m, *DestVec,
                          [&](const auto& X, int32_t i) {
                            double S = 0.0;
                            for (int32_t j = -m; j <= m; ++j)
                              S = static_cast<double>(S + j * static_cast<long double>(X(i + j)));
                            return static_cast<double>(S / Divisor);
                          });
}

}  // namespace zeq
