// Complex FFTs of 1024, 65536 and 2^20 points: TFastFourier beside GSL's radix-2 transform and
// FFTW (FFTW_ESTIMATE, one thread) when installed, on the same data. Each iteration runs a
// forward and an inverse transform, so that the data stay bounded; items are transforms.
// Wavelet transforms of 2^20 values are timed too.
#include <benchmark/benchmark.h>

#include <cmath>
#include <random>
#include <vector>

#include "bench_util.h"
#include "zeq/fourier/fourier.h"
#include "zeq/wavelet/wavelet.h"

#ifdef ZEQ_HAVE_GSL
#include <gsl/gsl_fft_complex.h>
#endif
#ifdef ZEQ_HAVE_FFTW
#include <fftw3.h>
#endif

namespace {

// N complex values, interleaved, the same for every implementation.
std::vector<double> Interleaved(size_t N) {
  return bench::RandomColumnMajor(static_cast<int>(2 * N), 1);
}

void BM_Fft_Zeq(benchmark::State& S) {
  const auto N = static_cast<int32_t>(S.range(0));
  const std::vector<double> D = Interleaved(static_cast<size_t>(N));
  zeq::TFastFourier F;
  F.SetSpectrumSize(N);
  for (int32_t i = 1; i <= N; ++i) {
    F.SetRealSpec(i, D[2 * static_cast<size_t>(i - 1)]);
    F.SetImagSpec(i, D[2 * static_cast<size_t>(i - 1) + 1]);
  }
  for (auto _ : S) {
    F.Transform();
    F.InverseTransform();
  }
  S.SetItemsProcessed(2 * S.iterations());
}
BENCHMARK(BM_Fft_Zeq)->Arg(1024)->Arg(65536)->Arg(1 << 20);

#ifdef ZEQ_HAVE_GSL
void BM_Fft_GslRadix2(benchmark::State& S) {
  const auto N = static_cast<size_t>(S.range(0));
  std::vector<double> D = Interleaved(N);
  for (auto _ : S) {
    gsl_fft_complex_radix2_forward(D.data(), 1, N);
    gsl_fft_complex_radix2_inverse(D.data(), 1, N);
  }
  S.SetItemsProcessed(2 * S.iterations());
}
BENCHMARK(BM_Fft_GslRadix2)->Arg(1024)->Arg(65536)->Arg(1 << 20);
#endif

#ifdef ZEQ_HAVE_FFTW
void BM_Fft_FftwEstimate(benchmark::State& S) {
  const auto N = static_cast<int>(S.range(0));
  std::vector<double> D = Interleaved(static_cast<size_t>(N));
  auto* X = reinterpret_cast<fftw_complex*>(D.data());
  fftw_plan Forward = fftw_plan_dft_1d(N, X, X, FFTW_FORWARD, FFTW_ESTIMATE);
  fftw_plan Backward = fftw_plan_dft_1d(N, X, X, FFTW_BACKWARD, FFTW_ESTIMATE);
  for (auto _ : S) {
    fftw_execute(Forward);
    fftw_execute(Backward);
    for (double& V : D) V *= 1.0 / N;  // FFTW does not scale
  }
  fftw_destroy_plan(Forward);
  fftw_destroy_plan(Backward);
  S.SetItemsProcessed(2 * S.iterations());
}
BENCHMARK(BM_Fft_FftwEstimate)->Arg(1024)->Arg(65536)->Arg(1 << 20);
#endif

void BM_WaveletTransform(benchmark::State& S) {
  zeq::TWavelet1D W;
  W.SetSize(1 << 20);
  W.SetOrder(static_cast<int32_t>(S.range(0)));
  for (int32_t i = 1; i <= (1 << 20); ++i) W.SetData(i, std::sin(i * 0.01));
  for (auto _ : S) {
    W.Transform(20);
    W.InverseTransform(20);
  }
  S.SetItemsProcessed(2 * S.iterations());
}
BENCHMARK(BM_WaveletTransform)->Arg(1)->Arg(3)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
