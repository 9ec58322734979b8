// Geometry: the convex hull of 10^6 random points, point-in-polygon tests of 10^6 points
// against a 1000-vertex polygon, and the correlation of two 1024 x 1024 bitmap areas.
#include <benchmark/benchmark.h>

#include <cmath>
#include <random>
#include <vector>

#include "zeq/math2/math2.h"

namespace {

std::vector<zeq::TPointDouble> RandomPoints(size_t N) {
  std::mt19937_64 Gen(7);
  std::uniform_real_distribution<double> U(-1, 1);
  std::vector<zeq::TPointDouble> P(N);
  for (auto& Q : P) Q = {U(Gen), U(Gen)};
  return P;
}

void BM_Convex2DHull_1e6(benchmark::State& S) {
  const auto P = RandomPoints(1000000);
  for (auto _ : S) benchmark::DoNotOptimize(zeq::Convex2DHull(P).size());
  S.SetItemsProcessed(S.iterations() * 1000000);
}

void BM_PointIsInsidePolygon_1e6_1000(benchmark::State& S) {
  std::vector<zeq::TPointDouble> Star(1000);  // a star-shaped, non-convex polygon
  for (size_t i = 0; i < Star.size(); ++i) {
    const double a = 2 * 3.141592653589793 * static_cast<double>(i) / 1000, r = 0.6 + 0.3 * std::sin(7 * a);
    Star[i] = {r * std::cos(a), r * std::sin(a)};
  }
  const auto P = RandomPoints(1000000);
  for (auto _ : S) {
    size_t Inside = 0;
    for (const auto& Q : P) Inside += zeq::PointIsInsidePolygon(Q.X, Q.Y, Star);
    benchmark::DoNotOptimize(Inside);
  }
  S.SetItemsProcessed(S.iterations() * 1000000);
}

void BM_CalcImgCorrelation_1024(benchmark::State& S) {
  zeq::TBitmap A(1024, 1024), B(1024, 1024);
  std::mt19937_64 Gen(3);
  for (int32_t y = 0; y < 1024; ++y)
    for (int32_t x = 0; x < 1024; ++x) {
      const auto C = static_cast<zeq::TColor>(Gen());
      A.SetPixel(x, y, C);
      B.SetPixel(x, y, C ^ 0x0F0F0F);
    }
  const zeq::TRect Area{0, 0, 1023, 1023};
  for (auto _ : S) benchmark::DoNotOptimize(zeq::CalcImgCorrelation(&A, &B, Area, Area, zeq::icmGrayValues));
  S.SetItemsProcessed(S.iterations() * 1024 * 1024);
}

BENCHMARK(BM_Convex2DHull_1e6)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PointIsInsidePolygon_1e6_1000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CalcImgCorrelation_1024)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
