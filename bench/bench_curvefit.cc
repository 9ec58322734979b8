// Curve fitting and the singular value decomposition: points per second of EnterStatValue, a
// degree-5 polynomial fit on 10^5 points, and CalcSVD (U, w and V) beside LAPACK's dgesdd
// (OpenBLAS, one thread) and Eigen's BDCSVD and JacobiSVD when they are installed, on the same
// matrices.
#include <benchmark/benchmark.h>

#include <random>
#include <vector>

#include "bench_util.h"
#include "zeq/math2/math2.h"

#ifdef ZEQ_HAVE_OPENBLAS
extern "C" {
void openblas_set_num_threads(int);
void dgesdd_(const char* jobz, const int* m, const int* n, double* a, const int* lda, double* s,
             double* u, const int* ldu, double* vt, const int* ldvt, double* work, const int* lwork,
             int* iwork, int* info);
}
#endif
#ifdef ZEQ_HAVE_EIGEN
#include <Eigen/SVD>
#endif

namespace {

void BM_EnterStatValue(benchmark::State& S) {
  zeq::TCurveFit F;
  for (auto _ : S) {
    S.PauseTiming();
    F.Init();
    S.ResumeTiming();
    for (int i = 0; i < 1000000; ++i) F.EnterStatValue(i * 1e-3, 2.0 - i * 1e-6);
  }
  S.SetItemsProcessed(S.iterations() * 1000000);
}

void BM_CalcPolyFit5(benchmark::State& S) {
  zeq::TCurveFit F;
  std::mt19937_64 Gen(3);
  std::normal_distribution<double> Noise(0, 0.1);
  for (int i = 0; i < 100000; ++i) {
    const double x = i * 1e-5;
    F.EnterStatValue(x, 1 - x + 2 * x * x * x + Noise(Gen));
  }
  std::vector<double> k(6);
  double Q;
  bool NearSingular;
  for (auto _ : S) F.CalcPolyFit(5, k, Q, NearSingular);
  S.SetItemsProcessed(S.iterations() * 100000);
}

void BM_CalcSVD_Zeq(benchmark::State& S) {
  const auto m = static_cast<int32_t>(S.range(0)), n = static_cast<int32_t>(S.range(1));
  const std::vector<double> Data = bench::RandomColumnMajor(m, n);
  zeq::TMatrix A, V;
  zeq::TVector W;
  for (auto _ : S) {
    S.PauseTiming();
    bench::Load(A, Data, m, n);
    S.ResumeTiming();
    zeq::CalcSVD(&A, &W, &V);
  }
}
BENCHMARK(BM_EnterStatValue)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CalcPolyFit5)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CalcSVD_Zeq)->Args({200, 200})->Args({1000, 50})->Unit(benchmark::kMillisecond);

#ifdef ZEQ_HAVE_OPENBLAS
void BM_CalcSVD_LapackDgesdd(benchmark::State& S) {
  openblas_set_num_threads(1);
  const int m = static_cast<int>(S.range(0)), n = static_cast<int>(S.range(1));
  const std::vector<double> Data = bench::RandomColumnMajor(m, n);
  std::vector<double> A, Sv(static_cast<size_t>(n)), U(static_cast<size_t>(m) * n),
      Vt(static_cast<size_t>(n) * n);
  std::vector<int> IWork(8 * static_cast<size_t>(n));
  const char Job = 'S';
  int Info, LWork = -1;
  double Query;
  A = Data;
  dgesdd_(&Job, &m, &n, A.data(), &m, Sv.data(), U.data(), &m, Vt.data(), &n, &Query, &LWork,
          IWork.data(), &Info);
  LWork = static_cast<int>(Query);
  std::vector<double> Work(static_cast<size_t>(LWork));
  for (auto _ : S) {
    S.PauseTiming();
    A = Data;
    S.ResumeTiming();
    dgesdd_(&Job, &m, &n, A.data(), &m, Sv.data(), U.data(), &m, Vt.data(), &n, Work.data(), &LWork,
            IWork.data(), &Info);
  }
}
BENCHMARK(BM_CalcSVD_LapackDgesdd)
    ->Args({200, 200})
    ->Args({1000, 50})
    ->Unit(benchmark::kMillisecond);
#endif

#ifdef ZEQ_HAVE_EIGEN
template <class Solver>
void EigenSvd(benchmark::State& S) {
  const int m = static_cast<int>(S.range(0)), n = static_cast<int>(S.range(1));
  const std::vector<double> Data = bench::RandomColumnMajor(m, n);
  const Eigen::Map<const Eigen::MatrixXd> A(Data.data(), m, n);
  for (auto _ : S) {
    Solver Svd(A, Eigen::ComputeThinU | Eigen::ComputeThinV);
    benchmark::DoNotOptimize(Svd.singularValues().data());
  }
}
void BM_CalcSVD_EigenBDCSVD(benchmark::State& S) { EigenSvd<Eigen::BDCSVD<Eigen::MatrixXd>>(S); }
void BM_CalcSVD_EigenJacobiSVD(benchmark::State& S) {
  EigenSvd<Eigen::JacobiSVD<Eigen::MatrixXd>>(S);
}
BENCHMARK(BM_CalcSVD_EigenBDCSVD)
    ->Args({200, 200})
    ->Args({1000, 50})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CalcSVD_EigenJacobiSVD)
    ->Args({200, 200})
    ->Args({1000, 50})
    ->Unit(benchmark::kMillisecond);
#endif

}  // namespace

BENCHMARK_MAIN();
