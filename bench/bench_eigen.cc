// Eigen analysis: CalcEigVec (cyclic Jacobi) at n = 50, 200 and 500 beside LAPACK's dsyevd
// (OpenBLAS, one thread) and Eigen's SelfAdjointEigenSolver when installed, CalcPrincComp on
// 10^5 observations of 20 variables, and CalcCovar beside a plain covariance loop.
#include <benchmark/benchmark.h>

#include <random>
#include <vector>

#include "bench_util.h"
#include "zeq/math2/math2.h"

#ifdef ZEQ_HAVE_OPENBLAS
extern "C" {
void openblas_set_num_threads(int);
void dsyevd_(const char* jobz, const char* uplo, const int* n, double* a, const int* lda, double* w,
             double* work, const int* lwork, int* iwork, const int* liwork, int* info);
}
#endif
#ifdef ZEQ_HAVE_EIGEN
#include <Eigen/Eigenvalues>
#endif

namespace {

void BM_CalcEigVec_Zeq(benchmark::State& S) {
  const auto n = static_cast<int32_t>(S.range(0));
  const std::vector<double> Data = bench::RandomColumnMajor(n, n, true);
  zeq::TMatrix A;
  for (auto _ : S) {
    S.PauseTiming();
    bench::Load(A, Data, n, n);
    S.ResumeTiming();
    benchmark::DoNotOptimize(zeq::CalcEigVec(&A));
  }
}
BENCHMARK(BM_CalcEigVec_Zeq)->Arg(50)->Arg(200)->Arg(500)->Unit(benchmark::kMillisecond);

// 10^5 observations of 20 correlated variables.
const zeq::TMatrix& Observations() {
  static zeq::TMatrix* M = [] {
    auto* X = new zeq::TMatrix;
    X->Resize(20, 100000);
    std::mt19937_64 Gen(9);
    std::normal_distribution<double> N(0, 1);
    for (int32_t r = 1; r <= 100000; ++r) {
      const double Common = N(Gen);
      for (int32_t c = 1; c <= 20; ++c) X->SetVal(c, r, Common * c * 0.1 + N(Gen));
    }
    return X;
  }();
  return *M;
}

void BM_CalcPrincComp_100000x20(benchmark::State& S) {
  for (auto _ : S) benchmark::DoNotOptimize(zeq::CalcPrincComp(&Observations(), 0, 0, 0, 0, 1));
}
void BM_CalcCovar_100000x20(benchmark::State& S) {
  zeq::TMatrix C;
  C.Resize(20, 20);
  for (auto _ : S) benchmark::DoNotOptimize(zeq::CalcCovar(&Observations(), &C, 0, 0, 0, 0, 1));
}
// The same covariance as a plain double loop over a row-major copy.
void BM_PlainCovariance_100000x20(benchmark::State& S) {
  const zeq::TMatrix& X = Observations();
  std::vector<double> D(20 * 100000);
  for (int32_t r = 0; r < 100000; ++r)
    for (int32_t c = 0; c < 20; ++c) D[static_cast<size_t>(r) * 20 + c] = X.GetVal(c + 1, r + 1);
  std::vector<double> C(400);
  for (auto _ : S) {
    double Mean[20] = {};
    for (int32_t r = 0; r < 100000; ++r)
      for (int c = 0; c < 20; ++c) Mean[c] += D[static_cast<size_t>(r) * 20 + c];
    for (double& M : Mean) M /= 100000;
    std::fill(C.begin(), C.end(), 0.0);
    for (int32_t r = 0; r < 100000; ++r)
      for (int i = 0; i < 20; ++i)
        for (int j = 0; j <= i; ++j)
          C[static_cast<size_t>(i) * 20 + j] += (D[static_cast<size_t>(r) * 20 + i] - Mean[i]) *
                                                (D[static_cast<size_t>(r) * 20 + j] - Mean[j]);
    benchmark::DoNotOptimize(C.data());
  }
}
BENCHMARK(BM_CalcPrincComp_100000x20)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CalcCovar_100000x20)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainCovariance_100000x20)->Unit(benchmark::kMillisecond);

#ifdef ZEQ_HAVE_OPENBLAS
void BM_CalcEigVec_LapackDsyevd(benchmark::State& S) {
  openblas_set_num_threads(1);
  const int n = static_cast<int>(S.range(0));
  const std::vector<double> Data = bench::RandomColumnMajor(n, n, true);
  std::vector<double> A = Data, W(static_cast<size_t>(n));
  const char Jobz = 'V', Uplo = 'L';
  int Info, LWork = -1, LIWork = -1, IQuery;
  double Query;
  dsyevd_(&Jobz, &Uplo, &n, A.data(), &n, W.data(), &Query, &LWork, &IQuery, &LIWork, &Info);
  LWork = static_cast<int>(Query);
  LIWork = IQuery;
  std::vector<double> Work(static_cast<size_t>(LWork));
  std::vector<int> IWork(static_cast<size_t>(LIWork));
  for (auto _ : S) {
    S.PauseTiming();
    A = Data;
    S.ResumeTiming();
    dsyevd_(&Jobz, &Uplo, &n, A.data(), &n, W.data(), Work.data(), &LWork, IWork.data(), &LIWork,
            &Info);
  }
}
BENCHMARK(BM_CalcEigVec_LapackDsyevd)->Arg(50)->Arg(200)->Arg(500)->Unit(benchmark::kMillisecond);
#endif

#ifdef ZEQ_HAVE_EIGEN
void BM_CalcEigVec_EigenSelfAdjoint(benchmark::State& S) {
  const int n = static_cast<int>(S.range(0));
  const std::vector<double> Data = bench::RandomColumnMajor(n, n, true);
  const Eigen::Map<const Eigen::MatrixXd> A(Data.data(), n, n);
  for (auto _ : S) {
    Eigen::SelfAdjointEigenSolver<Eigen::MatrixXd> Solver(A);
    benchmark::DoNotOptimize(Solver.eigenvalues().data());
  }
}
BENCHMARK(BM_CalcEigVec_EigenSelfAdjoint)
    ->Arg(50)
    ->Arg(200)
    ->Arg(500)
    ->Unit(benchmark::kMillisecond);
#endif

}  // namespace

BENCHMARK_MAIN();
