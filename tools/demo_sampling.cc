// zeq-demo section of sampling and validation: draws from a tabulated chi-square density shown
// as a text histogram, Wilcoxon critical values, and a leave-one-out validation of a line.
#include <cmath>
#include <string>
#include <vector>

#include "demo_common.h"

namespace demo {

namespace {

void ChiSquareHistogram() {
  zeq::TRandGen G;
  G.SetResolution(64);
  G.SetLowBorder(0);
  G.SetHighBorder(16);
  G.Chi2Distri(4);
  G.Standardize();
  zeq::SetRandSeed(2026);
  constexpr int Draws = 20000, Bins = 16;
  std::vector<int> Count(Bins);
  double Sum = 0;
  for (int d = 0; d < Draws; ++d) {
    const double x = G.GetRandNum();
    Sum += x;
    ++Count[static_cast<size_t>(std::min(static_cast<int>(x), Bins - 1))];
  }
  std::printf("  %d draws from chi-square(4) on [0, 16): mean %s (4 expected)\n", Draws,
              Fixed(Sum / Draws).c_str());
  for (int b = 0; b < Bins; ++b)
    std::printf("  %2d-%-2d %5d %s\n", b, b + 1, Count[static_cast<size_t>(b)],
                std::string(static_cast<size_t>(Count[static_cast<size_t>(b)] / 80), '#').c_str());
}

void WilcoxonCriticalValues() {
  std::printf("  Wilcoxon signed-rank critical values, two-sided 5%%:");
  for (int32_t n : {10, 20, 50, 100, 500})
    std::printf(" n=%d: %d", n, zeq::WilcoxonSRQuantile(n, 0.05, true));
  std::printf("\n");
}

// Leave-one-out validation of a least-squares line through noisy points of y = 2x + 1.
void LineValidation() {
  constexpr int32_t m = 12;
  zeq::TMatrix X, Y;
  X.Resize(1, m);
  Y.Resize(1, m);
  for (int32_t r = 1; r <= m; ++r) {
    X.SetVal(1, r, r);
    Y.SetVal(1, r, 2 * r + 1 + 0.5 * std::sin(3.0 * r));
  }
  double a = 0, b = 0;
  zeq::TCrossValidator CV;
  CV.SetXMat(&X);
  CV.SetYMat(&Y);
  CV.SetTestSize(1);
  CV.OnModelCreateRequest = [&](zeq::TObject*, int32_t, const zeq::TIntArray& Rows, bool& Ok) {
    double Sx = 0, Sy = 0, Sxx = 0, Sxy = 0;
    const auto n = static_cast<double>(Rows.size());
    for (int32_t r : Rows) {
      const double x = X.GetVal(1, r), y = Y.GetVal(1, r);
      Sx += x, Sy += y, Sxx += x * x, Sxy += x * y;
    }
    b = (n * Sxy - Sx * Sy) / (n * Sxx - Sx * Sx);
    a = (Sy - b * Sx) / n;
    Ok = true;
  };
  CV.OnModelApplyRequest = [&](zeq::TObject*, int32_t, const zeq::TDoubleArray& P,
                               zeq::TDoubleArray& R) { R[0] = a + b * P[0]; };
  CV.Execute();
  std::printf("  leave-one-out RMSEP of a fitted line (noise amplitude 0.5): %s\n",
              Fixed(CV.GetRMSEP(1), 3).c_str());
}

}  // namespace

void SamplingTour() {
  Heading("Sampling from a tabulated density, critical values, cross-validation");
  ChiSquareHistogram();
  WilcoxonCriticalValues();
  LineValidation();
}

}  // namespace demo
