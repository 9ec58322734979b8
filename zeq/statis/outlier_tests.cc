// Outlier tests (Dean-Dixon, Grubbs) and their critical values.
#include <algorithm>
#include <cmath>

#include "zeq/statis/statis.h"

namespace zeq {

namespace {

// Critical values of Dixon's ratios: r10 (n = 3..7), r11 (8..10), r21 (11..13), r22 (14..).
// Columns: 0.001, 0.002, 0.005, 0.01, 0.02, 0.05, 0.10, 0.20, 0.50.
struct TDixonRow {
  int32_t n;
  double Value[9];
};

constexpr TDixonRow DixonRows[] = {
    {3, {0.999, 0.998, 0.994, 0.988, 0.976, 0.941, 0.886, 0.782, 0.501}},
    {4, {0.964, 0.949, 0.921, 0.889, 0.847, 0.766, 0.679, 0.561, 0.324}},
    {5, {0.895, 0.869, 0.824, 0.782, 0.729, 0.643, 0.559, 0.452, 0.251}},
    {6, {0.822, 0.792, 0.744, 0.698, 0.646, 0.563, 0.484, 0.387, 0.210}},
    {7, {0.763, 0.731, 0.681, 0.636, 0.587, 0.507, 0.433, 0.344, 0.184}},
    {8, {0.799, 0.769, 0.724, 0.682, 0.633, 0.554, 0.480, 0.386, 0.211}},
    {9, {0.750, 0.720, 0.675, 0.634, 0.586, 0.512, 0.441, 0.352, 0.190}},
    {10, {0.713, 0.683, 0.637, 0.597, 0.551, 0.477, 0.409, 0.325, 0.174}},
    {11, {0.770, 0.746, 0.708, 0.674, 0.636, 0.575, 0.518, 0.445, 0.304}},
    {12, {0.739, 0.714, 0.676, 0.643, 0.605, 0.546, 0.489, 0.420, 0.284}},
    {13, {0.713, 0.687, 0.649, 0.617, 0.580, 0.522, 0.467, 0.399, 0.269}},
    {14, {0.732, 0.708, 0.672, 0.640, 0.603, 0.546, 0.491, 0.422, 0.287}},
    {15, {0.708, 0.685, 0.648, 0.617, 0.582, 0.524, 0.470, 0.403, 0.272}},
    {20, {0.627, 0.604, 0.568, 0.538, 0.503, 0.450, 0.401, 0.339, 0.224}},
    {25, {0.574, 0.550, 0.517, 0.489, 0.457, 0.406, 0.359, 0.302, 0.197}},
    {30, {0.539, 0.517, 0.484, 0.456, 0.425, 0.376, 0.332, 0.278, 0.179}},
    {40, {0.490, 0.469, 0.438, 0.412, 0.382, 0.337, 0.295, 0.246, 0.157}},
    {50, {0.460, 0.439, 0.410, 0.384, 0.355, 0.312, 0.272, 0.226, 0.143}},
    {60, {0.437, 0.417, 0.388, 0.363, 0.336, 0.294, 0.256, 0.211, 0.133}},
    {70, {0.422, 0.403, 0.374, 0.349, 0.321, 0.280, 0.244, 0.201, 0.125}},
    {80, {0.408, 0.389, 0.360, 0.337, 0.310, 0.270, 0.234, 0.192, 0.119}},
    {90, {0.397, 0.377, 0.350, 0.326, 0.300, 0.261, 0.226, 0.185, 0.115}},
    {100, {0.387, 0.368, 0.341, 0.317, 0.292, 0.253, 0.219, 0.179, 0.111}},
};

}  // namespace

double DeanDixonCriticalValues(int32_t n, TSignifLevelEx level) {
  if (n < 3 || n > 100 || level > Dot500) return -1;
  // Every n up to 15 has its own row; the r22 rows between the published ones (15, 20, ...,
  // 100) are interpolated linearly in n and rounded to three decimals like the table.
  const TDixonRow* Upper = std::find_if(std::begin(DixonRows), std::end(DixonRows),
                                        [n](const TDixonRow& R) { return R.n >= n; });
  if (Upper->n == n) return Upper->Value[level];
  const TDixonRow* Lower = Upper - 1;
  const double F = static_cast<double>(n - Lower->n) / (Upper->n - Lower->n);
  const double V = Lower->Value[level] + (Upper->Value[level] - Lower->Value[level]) * F;
  return std::nearbyint(V * 1000) / 1000;
}

int32_t DeanDixonTest(const TVector* data, TSignifLevelEx level, double& q) {
  q = 0;
  const int32_t n = data == nullptr ? 0 : data->NrOfElem();
  if (n < 3) throw EZEQStatisError("DeanDixonTest: number of data points is too low");
  if (n > 100) throw EZEQStatisError("DeanDixonTest: number of data points is too high");
  TVector Sorted;
  Sorted.Clone(data);
  Sorted.SortElems(true, 0, 0);
  const auto x = [&Sorted](int32_t i) { return Sorted.GetVal(i); };
  const auto Ratio = [](double Num, double Den) { return Den == 0 ? 0.0 : Num / Den; };
  double rL, rH;
  if (n <= 7) {
    rL = Ratio(x(2) - x(1), x(n) - x(1));
    rH = Ratio(x(n) - x(n - 1), x(n) - x(1));
  } else if (n <= 10) {
    rL = Ratio(x(2) - x(1), x(n - 1) - x(1));
    rH = Ratio(x(n) - x(n - 1), x(n) - x(2));
  } else if (n <= 13) {
    rL = Ratio(x(3) - x(1), x(n - 1) - x(1));
    rH = Ratio(x(n) - x(n - 2), x(n) - x(2));
  } else {
    rL = Ratio(x(3) - x(1), x(n - 2) - x(1));
    rH = Ratio(x(n) - x(n - 2), x(n) - x(3));
  }
  const double Candidate = rH > rL ? x(n) : x(1);
  q = rH > rL ? rH : rL;
  if (!(q > DeanDixonCriticalValues(n, level))) return 0;
  for (int32_t i = 1; i <= n; ++i)
    if (data->GetVal(i) == Candidate) return i;
  return 0;
}

double GrubbsCriticalValues(int32_t n, double alpha, bool TwoSided) {
  if (!(alpha > 0 && alpha < 1) || n <= 2) return -1;
  const double s = TwoSided ? 2 : 1;
  const long double t = tDistriQuantile(1 - alpha / (s * n), n - 2);
  const long double T2 = t * t;
  return static_cast<double>((n - 1) / std::sqrt(static_cast<long double>(n)) *
                             std::sqrt(T2 / (T2 + n - 2)));
}

int32_t GrubbsTest(const TVector* data, double alpha, double& g) {
  g = 0;
  if (!(alpha > 0 && alpha < 1)) throw EZEQStatisError("GrubbsTest: invalid level of significance");
  const int32_t n = data == nullptr ? 0 : data->NrOfElem();
  if (n < 4) throw EZEQStatisError("GrubbsTest: number of data points is too low");
  double Mean, Variance;
  data->MeanVar(0, 0, Mean, Variance);
  const double SD = std::sqrt(Variance);
  if (!(SD > 0)) return 0;
  int32_t Candidate = 0;
  for (int32_t i = 1; i <= n; ++i) {
    const double Z = std::fabs(data->GetVal(i) - Mean) / SD;
    if (Z > g) {
      g = Z;
      Candidate = i;
    }
  }
  return GrubbsCriticalValues(n, alpha, true) < g ? Candidate : 0;
}

}  // namespace zeq
