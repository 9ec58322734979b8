#include "zeq/base/threads.h"
#include "zeq/matrix/matrix.h"
#include "zeq/testing/matrix_test_util.h"
#include "zeq/testing/simd_levels.h"
#include "zeq/testing/test_util.h"

namespace zeq {
namespace {

using test::A_;
using test::SetRows;

void RandomWellConditioned(TMatrix& M, int32_t N, std::mt19937_64& Gen) {
  std::uniform_real_distribution<double> U(-1, 1);
  M.Resize(N, N);
  for (int32_t c = 1; c <= N; ++c)
    for (int32_t r = 1; r <= N; ++r)
      M.SetVal(c, r, U(Gen) + (c == r ? N : 0));  // diagonally dominant
}

// The factorisation and the inversion exactly as documented, written plainly (1-based,
// row-major), as the reference for the blocked and vectorised implementation: every sum from
// 0.0 with k rising. ReferenceLU factors a in place; false for a zero row or a tiny pivot.
// Columns < n stops before column Columns + 1, as an abort there does.
bool ReferenceLU(std::vector<std::vector<double>>& a, int n, std::vector<int>& index, int& sign,
                 int Columns = -1) {
  std::vector<double> scale(n + 1);
  index.assign(n + 1, 0);
  sign = 1;
  for (int i = 1; i <= n; ++i) {
    double big = 0;
    for (int j = 1; j <= n; ++j) big = std::max(big, std::fabs(a[i][j]));
    if (big == 0) return false;
    scale[i] = 1 / big;
  }
  bool fail = false;
  for (int j = 1; j <= (Columns < 0 ? n : Columns); ++j) {
    for (int i = 1; i < j; ++i) {
      double s = 0;
      for (int k = 1; k < i; ++k) s = s + a[i][k] * a[k][j];
      a[i][j] = a[i][j] - s;
    }
    double big = 0;
    int imax = 0;
    for (int i = j; i <= n; ++i) {
      double s = 0;
      for (int k = 1; k < j; ++k) s = s + a[i][k] * a[k][j];
      a[i][j] = a[i][j] - s;
      const double d = scale[i] * std::fabs(a[i][j]);
      if (d >= big) big = d, imax = i;
    }
    if (imax != j) {
      std::swap(a[imax], a[j]);
      scale[imax] = scale[j];
      sign = -sign;
    }
    index[j] = imax;
    if (std::fabs(a[j][j]) < 1.0e-100L) a[j][j] = 1.0e-100, fail = true;
    for (int i = j + 1; i <= n; ++i) a[i][j] = a[i][j] / a[j][j];
  }
  return !fail;
}

bool ReferenceInvert(std::vector<std::vector<double>>& a, int n) {
  std::vector<int> index;
  int sign;
  if (!ReferenceLU(a, n, index, sign)) return false;
  std::vector<std::vector<double>> res(n + 1, std::vector<double>(n + 1));
  for (int j = 1; j <= n; ++j) {
    std::vector<double> x(n + 1, 0.0);
    x[j] = 1;
    int ii = 0;
    for (int i = 1; i <= n; ++i) {
      const int p = index[i];
      double s = x[p];
      x[p] = x[i];
      if (ii != 0) {
        double t = 0;
        for (int k = ii; k < i; ++k) t = t + a[i][k] * x[k];
        s = s - t;
      } else if (s != 0) {
        ii = i;
      }
      x[i] = s;
    }
    for (int i = n; i >= 1; --i) {
      double t = 0;
      for (int k = i + 1; k <= n; ++k) t = t + a[i][k] * x[k];
      x[i] = (x[i] - t) / a[i][i];
    }
    for (int i = 1; i <= n; ++i) res[i][j] = x[i];
  }
  a = res;
  return true;
}

// A random N x N matrix in M and, 1-based by rows, in Ref.
std::vector<std::vector<double>> RandomPair(TMatrix& M, int32_t N, std::mt19937_64& Gen) {
  std::uniform_real_distribution<double> U(-1, 1);
  M.Resize(N, N);
  std::vector<std::vector<double>> Ref(N + 1, std::vector<double>(N + 1));
  for (int32_t i = 1; i <= N; ++i)
    for (int32_t j = 1; j <= N; ++j) {
      const double V = U(Gen) * (i == 1 ? 1e-3 : 1);  // a small first row forces row exchanges
      M.SetVal(j, i, V);
      Ref[i][j] = V;
    }
  return Ref;
}

void ExpectSameBits(const TMatrix& M, const std::vector<std::vector<double>>& Ref, int32_t N) {
  for (int32_t i = 1; i <= N; ++i)
    for (int32_t j = 1; j <= N; ++j)
      ASSERT_EQ(std::bit_cast<uint64_t>(A_(M, i, j)), std::bit_cast<uint64_t>(Ref[i][j]))
          << N << " " << i << " " << j;
}

TEST(Invert, TwoByTwoAndSingularCases) {
  TMatrix M;
  SetRows(M, {{4, 7}, {2, 6}});
  ProcStat = 0;
  ASSERT_TRUE(M.Invert());
  test::ExpectRowsNear(M, {{0.6, -0.7}, {-0.2, 0.4}}, 1e-15);
  EXPECT_EQ(ProcStat, 4);  // 2n progress steps
  SetRows(M, {{1, 2}, {2, 4}});
  EXPECT_FALSE(M.Invert());
  EXPECT_NE(A_(M, 2, 2), 4);  // the factors stay in the matrix
  SetRows(M, {{1, 2}, {0, 0}});
  int Changes = 0;
  M.OnChange = [&](TObject*) { ++Changes; };
  EXPECT_FALSE(M.Invert());  // zero row: unchanged
  EXPECT_EQ(A_(M, 1, 2), 2);
  EXPECT_EQ(Changes, 1);  // fires after the computation whatever its result
  TMatrix NonSquare;
  NonSquare.Resize(3, 2);
  NonSquare.OnChange = M.OnChange;
  EXPECT_FALSE(NonSquare.Invert());
  EXPECT_EQ(Changes, 1);
  // The pivot floor 1e-100 is absolute, as documented: a perfectly conditioned matrix below it
  // counts as singular, one just above it inverts.
  SetRows(M, {{1e-101, 0}, {0, 1e-101}});
  EXPECT_FALSE(M.Invert());
  SetRows(M, {{1e-99, 0}, {0, 1e-99}});
  ASSERT_TRUE(M.Invert());
  EXPECT_DOUBLE_EQ(A_(M, 1, 1), 1e99);
  SetRows(M, {{NAN, 1}, {1, 2}});
  M.Invert();  // terminates; the result is unspecified
  SetRows(M, {{NAN, NAN}, {NAN, NAN}});
  EXPECT_FALSE(M.Invert());
  SetRows(M, {{4, 7}, {2, 6}});
  AbortMathProc = true;
  EXPECT_FALSE(M.Invert());
  AbortMathProc = false;
  EXPECT_EQ(A_(M, 1, 1), 4);  // stopped in the row scaling: unchanged
}

TEST(Invert, ProductWithTheInverseIsTheIdentity) {
  std::mt19937_64 Gen(1);
  for (int32_t N : {1, 3, 8, 9, 17, 60}) {
    TMatrix A, Inv, P;
    RandomWellConditioned(A, N, Gen);
    Inv.Assign(&A);
    ASSERT_TRUE(Inv.Invert());
    ASSERT_TRUE(A.Multiply(&Inv, &P));
    for (int32_t i = 1; i <= N; ++i)
      for (int32_t j = 1; j <= N; ++j) ASSERT_NEAR(A_(P, i, j), i == j ? 1.0 : 0.0, 1e-10) << N;
  }
}

TEST(Determinant, SignsSingularityNonFiniteInputAndNoEvents) {
  TMatrix M;
  for (const auto& [Rows, Det] : std::vector<std::pair<test::TRows, double>>{
           {{{0, 1}, {1, 0}}, -1},
           {{{1, 2}, {2, 4}}, 0},
           {{{1, 2}, {3, 4}}, -2},
           {{{NAN, 1}, {1, 2}}, 0},  // a NaN pivot counts as too small
           {{{1, 2, 3}, {4, 5, 6}}, 0},
           {{{2, 0, 0}, {0, 3, 0}, {0, 0, 4}}, 24}}) {
    SetRows(M, Rows);
    EXPECT_NEAR(M.Determinant(), Det, 1e-15) << Rows.size();
  }
  int Changes = 0;
  M.OnChange = [&](TObject*) { ++Changes; };
  EXPECT_EQ(M.Determinant(), 24);
  EXPECT_EQ(Changes, 0);
  SetRows(M, {{HUGE_VAL, 1}, {1, 2}});
  M.Determinant();  // terminates; the value follows the floating-point rules
}

// The factors, bit for bit those of the plain algorithm (row exchanges included). With
// handlers they move through the element setters, one event each; without, in bulk.
TEST(LUdecomposition, PlainFactorsWithAndWithoutHandlers) {
  constexpr int32_t N = 12;
  std::mt19937_64 Gen(3);
  TMatrix A, L1, U1, L2, U2;
  std::vector<std::vector<double>> Ref = RandomPair(A, N, Gen), RefL = Ref, RefU = Ref;
  std::vector<int> Index;
  int Sign;
  ASSERT_TRUE(ReferenceLU(Ref, N, Index, Sign));
  for (int32_t i = 1; i <= N; ++i)
    for (int32_t j = 1; j <= N; ++j) {
      RefL[i][j] = i > j ? Ref[i][j] : i == j;
      RefU[i][j] = i <= j ? Ref[i][j] : 0;
    }
  ASSERT_TRUE(A.LUdecomposition(&L1, &U1));
  ExpectSameBits(L1, RefL, N);
  ExpectSameBits(U1, RefU, N);
  int LEvents = 0, UEvents = 0, CloneEvents = 0;
  L2.OnChange = [&](TObject*) { ++LEvents; };
  U2.OnChange = [&](TObject*) { ++UEvents; };
  ASSERT_TRUE(A.LUdecomposition(&L2, &U2));
  EXPECT_EQ(LEvents, 2 + N + N * (N - 1) / 2);  // Resize, Fill, the diagonal, the moved part
  TMatrix C;
  C.OnChange = [&](TObject*) { ++CloneEvents; };
  C.Clone(&A);
  EXPECT_EQ(UEvents, CloneEvents + N * (N - 1) / 2);  // Clone, the zeroed part
  EXPECT_EQ(L1.CRCofData(), L2.CRCofData());
  EXPECT_EQ(U1.CRCofData(), U2.CRCofData());
}

TEST(LUdecomposition, EqualScaledCandidatesTakeTheLowerRow) {
  TMatrix A, L, U;
  SetRows(A, {{2, 1}, {2, 1}});  // identical rows: equal scaled candidates, singular
  EXPECT_FALSE(A.LUdecomposition(&L, &U));
  SetRows(A, {{1, 1}, {2, 2.5}});  // scaled candidates 1/1 and 2/2.5 = 0.8: row 1 stays
  ASSERT_TRUE(A.LUdecomposition(&L, &U));
  EXPECT_EQ(A_(U, 1, 1), 1);
  SetRows(A, {{1, 1}, {2, 2}});  // 1/1 and 2/2: equal, the lower row (2) is the pivot
  A.LUdecomposition(&L, &U);
  EXPECT_EQ(A_(U, 1, 1), 2);
  EXPECT_FALSE(A.LUdecomposition(nullptr, &U));
  EXPECT_FALSE(A.LUdecomposition(&A, &U));
}

TEST(Cholesky, FactorAndItsTransposeInTheInput) {
  TMatrix A, L;
  SetRows(A, {{4, 2}, {2, 3}});
  ASSERT_TRUE(A.CholeskyDecomp(&L));
  test::ExpectRowsNear(L, {{2, 0}, {1, std::sqrt(2.0)}}, 0);
  EXPECT_EQ(A_(A, 1, 2), 1);  // the input's upper element now holds the factor
  SetRows(A, {{1, 2}, {2, 1}});
  EXPECT_FALSE(A.CholeskyDecomp(&L));
  A.Resize(2, 3);
  EXPECT_FALSE(A.CholeskyDecomp(&L));
}

TEST(Norms, AllFourKinds) {
  TMatrix M;
  SetRows(M, {{3, 4}});
  EXPECT_EQ(M.Norm(ntFrobenius), 5);
  SetRows(M, {{1, -2}, {3, 4}});
  EXPECT_EQ(std::pair(M.Norm(ntColwise), M.Norm(ntRowwise)), std::pair(6.0, 7.0));
  // numpy.linalg.norm([[1, -2], [3, 4]], 2) = 5.116672736016927
  EXPECT_NEAR(M.Norm(ntSpectral), 5.116672736016927, 1e-14);
  SetRows(M, {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}});
  EXPECT_EQ(M.Norm(ntSpectral), 1);
  SetRows(M, {{1, 2, 3}});  // fewer rows than columns
  EXPECT_NEAR(M.Norm(ntSpectral), std::sqrt(14.0), 1e-14);
  SetRows(M, {{0.5, -1.25, 2}, {3, 0.75, -0.5}, {-2, 1, 1.5}, {0.25, 0.5, -3}});
  // numpy.linalg.norm(A, 2) for these rows
  EXPECT_NEAR(M.Norm(ntSpectral), 4.369027285572729, 1e-13);
  ProcStat = 0;
  M.Norm(ntSpectral);
  EXPECT_EQ(ProcStat, 12);  // four phases of n = 3 rounds
  AbortMathProc = true;
  test::ExpectThrowMessage<EZEQMatrixError>([&] { M.Norm(ntSpectral); },
                                            "near singular covariance matrix");
  AbortMathProc = false;
  M.Resize(0, 0);
  EXPECT_EQ(std::pair(M.Norm(ntSpectral), M.Norm(ntColwise)), std::pair(0.0, 0.0));
}

TEST(Balance, ScalesTheOffDiagonal) {
  TMatrix M;
  SetRows(M, {{1, 100}, {0.01, 1}});
  ASSERT_TRUE(M.Balance());
  EXPECT_NEAR(std::fabs(A_(M, 1, 2)) / std::fabs(A_(M, 2, 1)), 1, 0.1);
  EXPECT_EQ(A_(M, 1, 1), 1);
  SetRows(M, {{2, 0}, {0, 3}});
  ASSERT_TRUE(M.Balance());
  EXPECT_EQ(A_(M, 1, 2), 0);
  SetRows(M, {{1, 0}, {5, 1}});  // a zero off-diagonal row: left alone
  ASSERT_TRUE(M.Balance());
  EXPECT_EQ(A_(M, 2, 1), 5);
  M.Resize(2, 3);
  EXPECT_FALSE(M.Balance());
}

TEST(OtherOperations, SquareTraceDiffTransposeArithmetic) {
  TMatrix M, S;
  SetRows(M, {{1, 3}, {2, 4}});  // columns (1, 2) and (3, 4)
  ProcStat = 0;
  ASSERT_TRUE(M.Square(&S, 1));
  EXPECT_EQ(test::RowsOf(S), (test::TRows{{5, 11}, {11, 25}}));
  EXPECT_EQ(std::pair(ProcStat, M.Trace()), std::pair(2.0, 5.0));
  TMatrix D;
  SetRows(D, {{1}, {4}, {9}, {16}});
  D.Diff(0);
  D.Diff(11);
  EXPECT_EQ(D.NrOfRows(), 4);
  D.Diff(1);
  D.Diff(3);  // 3 rows: nothing
  EXPECT_EQ(test::RowsOf(D), (test::TRows{{3}, {5}, {7}}));
  SetRows(M, {{1, 2, 3}});
  ASSERT_TRUE(M.Transpose());
  EXPECT_EQ(test::RowsOf(M), (test::TRows{{1}, {2}, {3}}));
  TMatrix A, B;
  SetRows(A, {{1, 2}});
  SetRows(B, {{10, 20}});
  ASSERT_TRUE(A.Add(&B));
  A.SMult(2);
  A.SAdd(1);
  ASSERT_TRUE(A.Subtract(&B));
  EXPECT_EQ(test::RowsOf(A), (test::TRows{{13, 25}}));
  B.Resize(1, 1);
  EXPECT_FALSE(A.Add(&B));
  EXPECT_FALSE(A.Subtract(nullptr));
}

class InvertKernels : public test::SimdLevelTest {};

// Sizes up to several column panels and row blocks of the factorisation, and not multiples
// of them; the determinant is the product of the same factors' diagonal.
TEST_P(InvertKernels, BitIdenticalToThePlainAlgorithm) {
  std::mt19937_64 Gen(31);
  for (int32_t N : {1, 2, 3, 7, 8, 9, 16, 23, 40, 97, 150}) {
    TMatrix M;
    std::vector<std::vector<double>> Ref = RandomPair(M, N, Gen);
    std::vector<std::vector<double>> Factors = Ref;
    std::vector<int> Index;
    int Sign;
    ASSERT_TRUE(ReferenceLU(Factors, N, Index, Sign));
    double Det = 1.0;
    for (int32_t i = 1; i <= N; ++i) Det = Det * Factors[i][i];
    EXPECT_EQ(std::bit_cast<uint64_t>(M.Determinant()), std::bit_cast<uint64_t>(Sign * Det)) << N;
    ASSERT_TRUE(ReferenceInvert(Ref, N));
    ASSERT_TRUE(M.Invert());
    ExpectSameBits(M, Ref, N);
  }
}

// Large enough for the factorisation's panel products to run on the pool's threads.
TEST(Invert, ThreadedFactorsAreBitIdenticalToOneThread) {
  constexpr int32_t N = 640;
  std::mt19937_64 Gen(37);
  TMatrix A, One, Many;
  RandomPair(A, N, Gen);
  One.Assign(&A);
  ASSERT_TRUE(One.Invert());
  const double Det = A.Determinant();
  SetMaxThreads(3);
  Many.Assign(&A);
  ASSERT_TRUE(Many.Invert());
  EXPECT_EQ(std::bit_cast<uint64_t>(A.Determinant()), std::bit_cast<uint64_t>(Det));
  SetMaxThreads(1);
  EXPECT_EQ(Many.CRCofData(), One.CRCofData());
}

int AbortStep = 0;
void AbortAtStep(double Progress) {
  if (Progress >= AbortStep) AbortMathProc = true;
}

// An abort in the factorisation (in its second column panel) leaves the columns before it
// factored and the others with their rows exchanged; one in the solves leaves the factors.
TEST(Invert, AnAbortLeavesWhatThePlainAlgorithmHasDone) {
  constexpr int32_t N = 97;
  for (int32_t Step : {60, N + 3}) {
    std::mt19937_64 Gen(5);
    TMatrix M;
    std::vector<std::vector<double>> Ref = RandomPair(M, N, Gen);
    std::vector<int> Index;
    int Sign;
    ReferenceLU(Ref, N, Index, Sign, std::min(Step - 1, N));
    AbortStep = Step;
    MathFeedBackProc = AbortAtStep;
    ProcStat = 0;
    EXPECT_FALSE(M.Invert());
    MathFeedBackProc = nullptr;
    AbortMathProc = false;
    ExpectSameBits(M, Ref, N);
  }
}

INSTANTIATE_TEST_SUITE_P(EveryKernel, InvertKernels, test::EverySimdLevel(),
                         test::SimdLevelParamName);

TEST(Invert, FactorsWithInfinitiesFollowTheDocumentedOrderToo) {
  // The second row is the pivot (scaled 1 against 1e-80), and L(2, 1) = 1e220 / 1e-90
  // overflows: the solves must not skip the "zero" terms then, and must follow the exchange.
  const std::vector<std::vector<double>> Rows{{1e220, 1e300}, {1e-90, 1e-90}};
  TMatrix M;
  SetRows(M, Rows);
  std::vector<std::vector<double>> Ref(3, std::vector<double>(3));
  for (int i = 1; i <= 2; ++i)
    for (int j = 1; j <= 2; ++j) Ref[i][j] = Rows[i - 1][j - 1];
  ASSERT_TRUE(ReferenceInvert(Ref, 2));
  ASSERT_TRUE(M.Invert());
  ExpectSameBits(M, Ref, 2);
}

}  // namespace
}  // namespace zeq
