// TMatrix products, inversion, determinant and spectral norm against the plain triple loop
// and, when installed, OpenBLAS (one thread, and every core for the threaded product; BLAS and
// LAPACK) and Eigen, on the same data.
#include <benchmark/benchmark.h>

#include <random>
#include <vector>

#include "zeq/base/threads.h"
#include "zeq/matrix/matrix.h"

#ifdef ZEQ_HAVE_OPENBLAS
#include <cblas.h>
extern "C" {
void openblas_set_num_threads(int);
void dgetrf_(const int* m, const int* n, double* a, const int* lda, int* ipiv, int* info);
void dgetri_(const int* n, double* a, const int* lda, const int* ipiv, double* work,
             const int* lwork, int* info);
void dgesvd_(const char* jobu, const char* jobvt, const int* m, const int* n, double* a,
             const int* lda, double* s, double* u, const int* ldu, double* vt, const int* ldvt,
             double* work, const int* lwork, int* info);
}
#endif

#ifdef ZEQ_HAVE_EIGEN
#include <Eigen/Dense>
#endif

// form, m, k, n: the three forms at 256, 512 and 1024, and the two tall-skinny shapes
#define ZEQ_PRODUCT_SHAPES(B)                            \
  BENCHMARK(B)                                           \
      ->ArgsProduct({{0, 1, 2}, {256}, {256}, {256}})    \
      ->ArgsProduct({{0, 1, 2}, {512}, {512}, {512}})    \
      ->ArgsProduct({{0, 1, 2}, {1024}, {1024}, {1024}}) \
      ->Args({0, 1000, 50, 1000})                        \
      ->Args({0, 50, 1000, 50})                          \
      ->Unit(benchmark::kMillisecond)

// n, diagonally dominant (1) or with row exchanges (0)
#define ZEQ_LU_SIZES(B) \
  BENCHMARK(B)->Args({100, 1})->Args({500, 1})->Args({500, 0})->Unit(benchmark::kMillisecond)

// form (0 A b, 1 A^T b), rows, columns: square and the tall-skinny shapes
#define ZEQ_VECTOR_SHAPES(B)                  \
  BENCHMARK(B)                                \
      ->ArgsProduct({{0, 1}, {256}, {256}})   \
      ->ArgsProduct({{0, 1}, {512}, {512}})   \
      ->ArgsProduct({{0, 1}, {1024}, {1024}}) \
      ->ArgsProduct({{0, 1}, {1000}, {50}})   \
      ->ArgsProduct({{0, 1}, {50}, {1000}})   \
      ->Unit(benchmark::kMicrosecond)

namespace {

// Column-major random data, by default diagonally dominant so that every matrix is well
// conditioned (and factors without row exchanges); otherwise plain uniform values, whose
// factorisation exchanges nearly every row.
std::vector<double> RandomSquare(int N, uint64_t Seed, bool Dominant = true) {
  std::mt19937_64 Gen(Seed);
  std::uniform_real_distribution<double> U(-1, 1);
  std::vector<double> D(static_cast<size_t>(N) * N);
  for (int c = 0; c < N; ++c)
    for (int r = 0; r < N; ++r)
      D[static_cast<size_t>(c) * N + r] = U(Gen) + (Dominant && r == c ? N : 0);
  return D;
}

// The inversion and determinant's data: arguments n and whether diagonally dominant.
std::vector<double> LUData(const benchmark::State& State, uint64_t Seed) {
  return RandomSquare(static_cast<int>(State.range(0)), Seed, State.range(1) != 0);
}

void Load(zeq::TMatrix& M, const std::vector<double>& D, int N) {
  M.Resize(N, N);
  for (int c = 0; c < N; ++c)
    for (int r = 0; r < N; ++r) M.SetVal(c + 1, r + 1, D[static_cast<size_t>(c) * N + r]);
}

void SetFlops(benchmark::State& State, double PerIteration) {
  State.counters["GFLOPS"] = benchmark::Counter(
      PerIteration * static_cast<double>(State.iterations()) / 1e9, benchmark::Counter::kIsRate);
}

void BM_Multiply_Zeq(benchmark::State& State) {
  const int N = static_cast<int>(State.range(0));
  zeq::TMatrix A, B, C;
  Load(A, RandomSquare(N, 1), N);
  Load(B, RandomSquare(N, 2), N);
  for (auto _ : State) A.Multiply(&B, &C);
  SetFlops(State, 2.0 * N * N * N);
}

// The same product with every hardware thread (SetMaxThreads(0)); the bits are those of one
// thread.
void BM_Multiply_ZeqAllThreads(benchmark::State& State) {
  zeq::SetMaxThreads(0);
  State.counters["threads"] = zeq::MaxThreads();
  BM_Multiply_Zeq(State);
  zeq::SetMaxThreads(1);
}

// The three product forms on m x k times k x n (arguments: form, m, k, n; form 0 A B, 1 A B^T,
// 2 A^T B), square and tall-skinny shapes.
void FormOperands(int Form, int M, int K, int N, zeq::TMatrix& A, zeq::TMatrix& B) {
  std::mt19937_64 Gen(7);
  std::uniform_real_distribution<double> U(-1, 1);
  const auto Fill = [&](zeq::TMatrix& X, int Cols, int Rows) {
    X.Resize(Cols, Rows);
    for (int c = 1; c <= Cols; ++c)
      for (int r = 1; r <= Rows; ++r) X.SetVal(c, r, U(Gen));
  };
  Form == 2 ? Fill(A, M, K) : Fill(A, K, M);
  Form == 1 ? Fill(B, K, N) : Fill(B, N, K);
}

void BM_ProductForm_Zeq(benchmark::State& State) {
  const int Form = static_cast<int>(State.range(0)), M = static_cast<int>(State.range(1)),
            K = static_cast<int>(State.range(2)), N = static_cast<int>(State.range(3));
  zeq::TMatrix A, B, C;
  FormOperands(Form, M, K, N, A, B);
  for (auto _ : State) {
    if (Form == 0) A.Multiply(&B, &C);
    if (Form == 1) A.MultiplyTransposed(&B, &C);
    if (Form == 2) A.TransposeAndMultiply(&B, &C);
  }
  SetFlops(State, 2.0 * M * K * N);
}

// The matrix-vector forms (arguments: form, rows, columns; form 0 A b, 1 A^T b).
void VectorOperands(const benchmark::State& State, std::vector<double>& A, std::vector<double>& B) {
  const int Rows = static_cast<int>(State.range(1)), Cols = static_cast<int>(State.range(2));
  std::mt19937_64 Gen(8);
  std::uniform_real_distribution<double> U(-1, 1);
  A.resize(static_cast<size_t>(Rows) * Cols);
  B.resize(static_cast<size_t>(State.range(0) == 0 ? Cols : Rows));
  for (double& X : A) X = U(Gen);
  for (double& X : B) X = U(Gen);
}

void BM_VectorForm_Zeq(benchmark::State& State) {
  const int Rows = static_cast<int>(State.range(1)), Cols = static_cast<int>(State.range(2));
  std::vector<double> D, E;
  VectorOperands(State, D, E);
  zeq::TMatrix A;
  A.Resize(Cols, Rows);
  for (int c = 0; c < Cols; ++c)
    for (int r = 0; r < Rows; ++r) A.SetVal(c + 1, r + 1, D[static_cast<size_t>(c) * Rows + r]);
  zeq::TVector B, Y;
  B.SetVecSize(static_cast<int32_t>(E.size()));
  for (size_t i = 0; i < E.size(); ++i) B.SetVal(static_cast<int32_t>(i + 1), E[i]);
  for (auto _ : State) State.range(0) == 0 ? A.Multiply(&B, &Y) : A.TransposeAndMultiply(&B, &Y);
  SetFlops(State, 2.0 * Rows * Cols);
}

void BM_Multiply_PlainTripleLoop(benchmark::State& State) {
  const int N = static_cast<int>(State.range(0));
  const auto A = RandomSquare(N, 1), B = RandomSquare(N, 2);
  std::vector<double> C(A.size());
  for (auto _ : State) {
    for (int i = 0; i < N; ++i)
      for (int j = 0; j < N; ++j) {
        double S = 0;
        for (int k = 0; k < N; ++k)
          S = S + A[static_cast<size_t>(k) * N + i] * B[static_cast<size_t>(j) * N + k];
        C[static_cast<size_t>(j) * N + i] = S;
      }
    benchmark::DoNotOptimize(C.data());
  }
  SetFlops(State, 2.0 * N * N * N);
}

void BM_Invert_Zeq(benchmark::State& State) {
  const int N = static_cast<int>(State.range(0));
  const auto D = LUData(State, 3);
  zeq::TMatrix A;
  for (auto _ : State) {
    State.PauseTiming();
    Load(A, D, N);
    State.ResumeTiming();
    A.Invert();
  }
}

void BM_Determinant_Zeq(benchmark::State& State) {
  const int N = static_cast<int>(State.range(0));
  zeq::TMatrix A;
  Load(A, LUData(State, 4), N);
  for (auto _ : State) benchmark::DoNotOptimize(A.Determinant());
}

void BM_LUdecomposition_Zeq(benchmark::State& State) {
  const int N = static_cast<int>(State.range(0));
  zeq::TMatrix A, L, U;
  Load(A, LUData(State, 4), N);
  for (auto _ : State) A.LUdecomposition(&L, &U);
}

void BM_SpectralNorm_Zeq(benchmark::State& State) {
  const int N = static_cast<int>(State.range(0));
  zeq::TMatrix A;
  Load(A, RandomSquare(N, 5), N);
  for (auto _ : State) benchmark::DoNotOptimize(A.Norm(zeq::ntSpectral));
}

#ifdef ZEQ_HAVE_OPENBLAS
// cblas_dgemm on Threads threads (0: OpenBLAS's default, every core).
void OpenBlasMultiply(benchmark::State& State, int Threads) {
  openblas_set_num_threads(Threads);
  const int N = static_cast<int>(State.range(0));
  const auto A = RandomSquare(N, 1), B = RandomSquare(N, 2);
  std::vector<double> C(A.size());
  for (auto _ : State)
    cblas_dgemm(CblasColMajor, CblasNoTrans, CblasNoTrans, N, N, N, 1.0, A.data(), N, B.data(), N,
                0.0, C.data(), N);
  SetFlops(State, 2.0 * N * N * N);
  openblas_set_num_threads(1);
}

void BM_Multiply_OpenBLAS1Thread(benchmark::State& State) { OpenBlasMultiply(State, 1); }

void BM_ProductForm_OpenBLAS1Thread(benchmark::State& State) {
  openblas_set_num_threads(1);
  const int Form = static_cast<int>(State.range(0)), M = static_cast<int>(State.range(1)),
            K = static_cast<int>(State.range(2)), N = static_cast<int>(State.range(3));
  std::mt19937_64 Gen(7);
  std::uniform_real_distribution<double> U(-1, 1);
  std::vector<double> A(static_cast<size_t>(M) * K), B(static_cast<size_t>(K) * N),
      C(static_cast<size_t>(M) * N);
  for (double& X : A) X = U(Gen);
  for (double& X : B) X = U(Gen);
  const auto TA = Form == 2 ? CblasTrans : CblasNoTrans, TB = Form == 1 ? CblasTrans : CblasNoTrans;
  const int Lda = Form == 2 ? K : M, Ldb = Form == 1 ? N : K;
  for (auto _ : State)
    cblas_dgemm(CblasColMajor, TA, TB, M, N, K, 1.0, A.data(), Lda, B.data(), Ldb, 0.0, C.data(),
                M);
  SetFlops(State, 2.0 * M * K * N);
}
void BM_Multiply_OpenBLASAllThreads(benchmark::State& State) { OpenBlasMultiply(State, 0); }

void BM_VectorForm_OpenBLAS1Thread(benchmark::State& State) {
  openblas_set_num_threads(1);
  const int Rows = static_cast<int>(State.range(1)), Cols = static_cast<int>(State.range(2));
  std::vector<double> A, B;
  VectorOperands(State, A, B);
  std::vector<double> Y(static_cast<size_t>(State.range(0) == 0 ? Rows : Cols));
  const auto T = State.range(0) == 0 ? CblasNoTrans : CblasTrans;
  for (auto _ : State) {
    cblas_dgemv(CblasColMajor, T, Rows, Cols, 1.0, A.data(), Rows, B.data(), 1, 0.0, Y.data(), 1);
    benchmark::DoNotOptimize(Y.data());
  }
  SetFlops(State, 2.0 * Rows * Cols);
}

void BM_Invert_LapackGetrfGetri(benchmark::State& State) {
  openblas_set_num_threads(1);
  const int N = static_cast<int>(State.range(0));
  const auto D = LUData(State, 3);
  std::vector<int> Piv(static_cast<size_t>(N));
  std::vector<double> Work(static_cast<size_t>(N) * 64);
  const int LWork = static_cast<int>(Work.size());
  for (auto _ : State) {
    State.PauseTiming();
    auto A = D;
    State.ResumeTiming();
    int Info;
    dgetrf_(&N, &N, A.data(), &N, Piv.data(), &Info);
    dgetri_(&N, A.data(), &N, Piv.data(), Work.data(), &LWork, &Info);
    benchmark::DoNotOptimize(A.data());
  }
}

void BM_Determinant_LapackGetrf(benchmark::State& State) {
  openblas_set_num_threads(1);
  const int N = static_cast<int>(State.range(0));
  const auto D = LUData(State, 4);
  std::vector<int> Piv(static_cast<size_t>(N));
  for (auto _ : State) {
    auto A = D;  // the copy is part of the work, as Determinant copies too
    int Info;
    dgetrf_(&N, &N, A.data(), &N, Piv.data(), &Info);
    double Det = 1;
    for (int i = 0; i < N; ++i)
      Det *= (Piv[static_cast<size_t>(i)] != i + 1 ? -1 : 1) * A[static_cast<size_t>(i) * N + i];
    benchmark::DoNotOptimize(Det);
  }
}

void BM_SpectralNorm_LapackGesvd(benchmark::State& State) {
  openblas_set_num_threads(1);
  const int N = static_cast<int>(State.range(0));
  const auto D = RandomSquare(N, 5);
  std::vector<double> S(static_cast<size_t>(N)), Work(static_cast<size_t>(N) * 64);
  const int LWork = static_cast<int>(Work.size()), One = 1;
  for (auto _ : State) {
    auto A = D;
    int Info;
    dgesvd_("N", "N", &N, &N, A.data(), &N, S.data(), nullptr, &One, nullptr, &One, Work.data(),
            &LWork, &Info);
    benchmark::DoNotOptimize(S[0]);
  }
}

BENCHMARK(BM_Multiply_OpenBLAS1Thread)
    ->Arg(256)
    ->Arg(512)
    ->Arg(1024)
    ->Unit(benchmark::kMillisecond);
ZEQ_PRODUCT_SHAPES(BM_ProductForm_OpenBLAS1Thread);
ZEQ_VECTOR_SHAPES(BM_VectorForm_OpenBLAS1Thread);
BENCHMARK(BM_Multiply_OpenBLASAllThreads)->Arg(512)->Arg(1024)->Unit(benchmark::kMillisecond);
ZEQ_LU_SIZES(BM_Invert_LapackGetrfGetri);
ZEQ_LU_SIZES(BM_Determinant_LapackGetrf);
BENCHMARK(BM_SpectralNorm_LapackGesvd)->Arg(200)->Unit(benchmark::kMillisecond);
#endif

#ifdef ZEQ_HAVE_EIGEN
void BM_Multiply_Eigen(benchmark::State& State) {
  const int N = static_cast<int>(State.range(0));
  const auto A = RandomSquare(N, 1), B = RandomSquare(N, 2);
  Eigen::Map<const Eigen::MatrixXd> EA(A.data(), N, N), EB(B.data(), N, N);
  Eigen::MatrixXd C(N, N);
  for (auto _ : State) {
    C.noalias() = EA * EB;
    benchmark::DoNotOptimize(C.data());
  }
  SetFlops(State, 2.0 * N * N * N);
}

void BM_Invert_Eigen(benchmark::State& State) {
  const int N = static_cast<int>(State.range(0));
  const auto D = LUData(State, 3);
  Eigen::Map<const Eigen::MatrixXd> EA(D.data(), N, N);
  Eigen::MatrixXd Inv(N, N);
  for (auto _ : State) {
    Inv = EA.partialPivLu().inverse();
    benchmark::DoNotOptimize(Inv.data());
  }
}

void BM_Determinant_Eigen(benchmark::State& State) {
  const int N = static_cast<int>(State.range(0));
  const auto D = LUData(State, 4);
  Eigen::Map<const Eigen::MatrixXd> EA(D.data(), N, N);
  for (auto _ : State) benchmark::DoNotOptimize(EA.partialPivLu().determinant());
}

BENCHMARK(BM_Multiply_Eigen)->Arg(256)->Arg(512)->Arg(1024)->Unit(benchmark::kMillisecond);
ZEQ_LU_SIZES(BM_Invert_Eigen);
ZEQ_LU_SIZES(BM_Determinant_Eigen);
#endif

}  // namespace

BENCHMARK(BM_Multiply_Zeq)->Arg(256)->Arg(512)->Arg(1024)->Unit(benchmark::kMillisecond);
ZEQ_PRODUCT_SHAPES(BM_ProductForm_Zeq);
ZEQ_VECTOR_SHAPES(BM_VectorForm_Zeq);
BENCHMARK(BM_Multiply_ZeqAllThreads)->Arg(512)->Arg(1024)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Multiply_PlainTripleLoop)
    ->Arg(256)
    ->Arg(512)
    ->Arg(1024)
    ->Unit(benchmark::kMillisecond);
ZEQ_LU_SIZES(BM_Invert_Zeq);
ZEQ_LU_SIZES(BM_Determinant_Zeq);
ZEQ_LU_SIZES(BM_LUdecomposition_Zeq);
BENCHMARK(BM_SpectralNorm_Zeq)->Arg(200)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
