// Special functions and distributions per call, beside GSL's equivalents when installed.
#include <benchmark/benchmark.h>

#include <cmath>

#include <vector>

#include "zeq/statis/statis.h"

#ifdef ZEQ_HAVE_GSL
#include <gsl/gsl_cdf.h>
#include <gsl/gsl_sf_gamma.h>
#endif

namespace {

// A spread of arguments, the same for every implementation.
std::vector<double> Args(double Lo, double Hi) {
  std::vector<double> A(256);
  for (size_t i = 0; i < A.size(); ++i)
    A[i] = Lo + (Hi - Lo) * (static_cast<double>(i) + 0.5) / A.size();
  return A;
}

template <class F>
void PerCall(benchmark::State& State, const std::vector<double>& A, F Fn) {
  size_t i = 0;
  for (auto _ : State) {
    benchmark::DoNotOptimize(Fn(A[i]));
    i = (i + 1) % A.size();
  }
  State.SetItemsProcessed(State.iterations());
}

void BM_IncompleteBeta_Zeq(benchmark::State& S) {
  PerCall(S, Args(0.01, 0.99), [](double x) { return zeq::IncompleteBeta(x, 2.5, 7.0); });
}
void BM_IncompleteGamma_Zeq(benchmark::State& S) {
  PerCall(S, Args(0.1, 20), [](double x) { return zeq::IncompleteGamma(x, 4.5); });
}
void BM_nDistriQuantile_Zeq(benchmark::State& S) {
  PerCall(S, Args(0.001, 0.999), [](double p) { return zeq::nDistriQuantile(p); });
}
void BM_tDistriQuantile_Zeq(benchmark::State& S) {
  PerCall(S, Args(0.001, 0.999), [](double p) { return zeq::tDistriQuantile(p, 12); });
}
void BM_KSPValue_Zeq(benchmark::State& S) {
  const auto N = static_cast<int32_t>(S.range(0));
  PerCall(S, Args(0.2 / std::sqrt(N), 1.5 / std::sqrt(N)),
          [N](double d) { return zeq::KSPValue(N, d); });
}

BENCHMARK(BM_IncompleteBeta_Zeq);
BENCHMARK(BM_IncompleteGamma_Zeq);
BENCHMARK(BM_nDistriQuantile_Zeq);
BENCHMARK(BM_tDistriQuantile_Zeq);
BENCHMARK(BM_KSPValue_Zeq)->Arg(50)->Arg(500);

#ifdef ZEQ_HAVE_GSL
void BM_IncompleteBeta_GSL(benchmark::State& S) {
  PerCall(S, Args(0.01, 0.99), [](double x) { return gsl_sf_beta_inc(2.5, 7.0, x); });
}
void BM_IncompleteGamma_GSL(benchmark::State& S) {
  PerCall(S, Args(0.1, 20), [](double x) { return gsl_sf_gamma_inc_P(4.5, x); });
}
void BM_nDistriQuantile_GSL(benchmark::State& S) {
  PerCall(S, Args(0.001, 0.999), [](double p) { return gsl_cdf_ugaussian_Pinv(p); });
}
void BM_tDistriQuantile_GSL(benchmark::State& S) {
  PerCall(S, Args(0.001, 0.999), [](double p) { return gsl_cdf_tdist_Pinv(p, 12); });
}
BENCHMARK(BM_IncompleteBeta_GSL);
BENCHMARK(BM_IncompleteGamma_GSL);
BENCHMARK(BM_nDistriQuantile_GSL);
BENCHMARK(BM_tDistriQuantile_GSL);
#endif

}  // namespace

BENCHMARK_MAIN();
