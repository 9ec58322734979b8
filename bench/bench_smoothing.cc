// Smoothing and filtering of 10^6 samples: samples per second of each routine. The moving
// median is timed at three window lengths (its cost should grow far slower than the window);
// the moving kernel filter also runs as a plain double-precision correlation, the work numpy's
// convolve does (bench/peers/smoothing_peers.py times numpy and scipy on the same sizes).
#include <benchmark/benchmark.h>

#include <cmath>
#include <random>
#include <vector>

#include "zeq/math2/math2.h"

namespace {

constexpr int32_t N = 1000000;

const zeq::TVector& NoisySignal() {
  static zeq::TVector* V = [] {
    auto* S = new zeq::TVector;
    S->Resize(N);
    std::mt19937_64 Gen(1);
    std::normal_distribution<double> Noise(0, 0.3);
    for (int32_t i = 1; i <= N; ++i) S->SetVal(i, std::sin(i * 0.001) + Noise(Gen));
    return S;
  }();
  return *V;
}

template <class Fn>
void Samples(benchmark::State& State, Fn Run) {
  zeq::TVector Dst;
  Dst.Resize(N);
  for (auto _ : State) Run(Dst);
  State.SetItemsProcessed(State.iterations() * N);
}

void BM_MovingMedianSmooth(benchmark::State& S) {
  const auto W = static_cast<int32_t>(S.range(0));
  Samples(S, [W](zeq::TVector& D) { zeq::MovingMedianSmooth(&NoisySignal(), 1, N, &D, W); });
}
void BM_MovingAverageSmooth(benchmark::State& S) {
  Samples(S, [](zeq::TVector& D) { zeq::MovingAverageSmooth(&NoisySignal(), 1, N, &D, 25); });
}
void BM_PolynomialSmooth(benchmark::State& S) {
  const auto L = static_cast<int32_t>(S.range(0));
  Samples(S, [L](zeq::TVector& D) { zeq::PolynomialSmooth(&NoisySignal(), 1, N, &D, L); });
}
void BM_MovingKernelFilter(benchmark::State& S) {
  zeq::TVector Kernel;
  zeq::CalcSincLPKernel(101, 0.05, zeq::swBlackman, &Kernel);
  Samples(S, [&](zeq::TVector& D) { zeq::MovingKernelFilter(&NoisySignal(), 1, N, &D, &Kernel); });
}
// The same correlation in plain doubles over contiguous arrays: the floor set by memory and
// double arithmetic, for comparison with the extended-precision sums above.
void BM_PlainDoubleCorrelation(benchmark::State& S) {
  std::vector<double> X(N + 100), K(101, 0.01), Y(N);
  for (size_t i = 0; i < X.size(); ++i) X[i] = std::sin(static_cast<double>(i));
  for (auto _ : S) {
    for (size_t i = 0; i < Y.size(); ++i) {
      double Acc = 0;
      for (size_t k = 0; k < K.size(); ++k) Acc += K[k] * X[i + k];
      Y[i] = Acc;
    }
    benchmark::DoNotOptimize(Y.data());
  }
  S.SetItemsProcessed(S.iterations() * N);
}
void BM_ChebychevFilter(benchmark::State& S) {
  zeq::TMatrix Coeffs;
  double A0;
  zeq::CalcChebFilterCoeffs(static_cast<int32_t>(S.range(0)), false, 0.05, 0.5, A0, &Coeffs);
  Samples(S, [&](zeq::TVector& D) { zeq::ChebychevFilter(&NoisySignal(), 1, N, &D, A0, &Coeffs); });
}

BENCHMARK(BM_MovingMedianSmooth)->Arg(5)->Arg(25)->Arg(101)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MovingAverageSmooth)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PolynomialSmooth)->Arg(5)->Arg(25)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MovingKernelFilter)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainDoubleCorrelation)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ChebychevFilter)->Arg(4)->Arg(8)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
