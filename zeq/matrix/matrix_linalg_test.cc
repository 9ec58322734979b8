#include "zeq/base/threads.h"
#include "zeq/matrix/matrix.h"
#include "zeq/testing/matrix_test_util.h"
#include "zeq/testing/simd_levels.h"
#include "zeq/testing/test_util.h"

namespace zeq {
namespace {

using test::A_;
using test::SetRows;

// A random N x N matrix as tests/tools/plain_reference.py draws it: the reference file holds
// the plain algorithm's results for it (every sum from 0.0 with k rising), as bit hashes.
void RandomSquare(TMatrix& M, int32_t N, test::TTestRandom& Gen) {
  M.Resize(N, N);
  for (int32_t i = 1; i <= N; ++i)
    for (int32_t j = 1; j <= N; ++j)
      M.SetVal(j, i, Gen.Uniform() * (i == 1 ? 1e-3 : 1));  // a small first row: exchanges
}

uint64_t Reference(const std::string& Key, size_t Word) {
  return test::HexWord(test::ReferenceLine("zeq/matrix/testdata/invert_reference.txt", Key), Word);
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
  test::TChangeCounter Changes(M);
  EXPECT_FALSE(M.Invert());  // zero row: unchanged
  EXPECT_EQ(A_(M, 1, 2), 2);
  EXPECT_EQ(Changes.Count, 1);  // fires after the computation whatever its result
  TMatrix NonSquare;
  NonSquare.Resize(3, 2);
  NonSquare.OnChange = M.OnChange;
  EXPECT_FALSE(NonSquare.Invert());
  EXPECT_EQ(Changes.Count, 1);
  // The pivot floor 1e-100 is absolute, as documented: a perfectly conditioned matrix below it
  // counts as singular, one just above it inverts.
  SetRows(M, {{1e-101, 0}, {0, 1e-101}});
  EXPECT_FALSE(M.Invert());
  SetRows(M, {{1e-99, 0}, {0, 1e-99}});
  ASSERT_TRUE(M.Invert());
  EXPECT_DOUBLE_EQ(A_(M, 1, 1), 1e99);
  SetRows(M, {{NAN, NAN}, {NAN, NAN}});
  EXPECT_FALSE(M.Invert());
  SetRows(M, {{4, 7}, {2, 6}});
  AbortMathProc = true;
  EXPECT_FALSE(M.Invert());
  AbortMathProc = false;
  EXPECT_EQ(A_(M, 1, 1), 4);  // stopped in the row scaling: unchanged
}

TEST(Invert, ProductWithTheInverseIsTheIdentity) {
  test::TTestRandom Gen(1);
  for (int32_t N : {1, 3, 8, 9, 17, 60}) {
    TMatrix A, Inv, P;
    RandomSquare(A, N, Gen);
    for (int32_t i = 1; i <= N; ++i) A.SetVal(i, i, A.GetVal(i, i) + N);  // diagonally dominant
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
  test::TChangeCounter Changes(M);
  EXPECT_EQ((std::tuple{M.Determinant(), Changes.Count}), (std::tuple{24, 0}));
}

// The factors, bit for bit those of the plain algorithm (row exchanges included). With
// handlers they move through the element setters, one event each; without, in bulk.
TEST(LUdecomposition, PlainFactorsWithAndWithoutHandlers) {
  constexpr int32_t N = 12;
  test::TTestRandom Gen(3);
  TMatrix A, L1, U1, L2, U2;
  RandomSquare(A, N, Gen);
  ASSERT_TRUE(A.LUdecomposition(&L1, &U1));
  EXPECT_EQ(std::pair(test::RowsHash(L1), test::RowsHash(U1)),
            std::pair(Reference("lu 12", 0), Reference("lu 12", 1)));
  TMatrix C;
  test::TChangeCounter LEvents(L2), UEvents(U2), CloneEvents(C);
  ASSERT_TRUE(A.LUdecomposition(&L2, &U2));
  EXPECT_EQ(LEvents.Count, 2 + N + N * (N - 1) / 2);  // Resize, Fill, the diagonal, the moved part
  C.Clone(&A);
  EXPECT_EQ(UEvents.Count, CloneEvents.Count + N * (N - 1) / 2);  // Clone, the zeroed part
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

ZEQ_TEST_EVERY_SIMD_LEVEL(InvertKernels);

// Sizes up to several column panels and row blocks of the factorisation, and not multiples
// of them; the determinant is the product of the same factors' diagonal.
TEST_P(InvertKernels, BitIdenticalToThePlainAlgorithm) {
  test::TTestRandom Gen(31);
  for (int32_t N : {1, 2, 3, 7, 8, 9, 16, 23, 40, 97, 150}) {
    TMatrix M;
    RandomSquare(M, N, Gen);
    const std::string Key = test::Cat("invert ", N);
    EXPECT_EQ(std::bit_cast<uint64_t>(M.Determinant()), Reference(Key, 0)) << N;
    ASSERT_TRUE(M.Invert());
    EXPECT_EQ(test::RowsHash(M), Reference(Key, 1)) << N;
  }
}

// Large enough for the factorisation's panel products to run on the pool's threads.
TEST(Invert, ThreadedFactorsAreBitIdenticalToOneThread) {
  constexpr int32_t N = 640;
  test::TTestRandom Gen(37);
  TMatrix A, One, Many;
  RandomSquare(A, N, Gen);
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
    test::TTestRandom Gen(5);
    TMatrix M;
    RandomSquare(M, N, Gen);
    AbortStep = Step;
    MathFeedBackProc = AbortAtStep;
    ProcStat = 0;
    EXPECT_FALSE(M.Invert());
    MathFeedBackProc = nullptr;
    AbortMathProc = false;
    EXPECT_EQ(test::RowsHash(M), Reference(test::Cat("abort ", Step), 0)) << Step;
  }
}

TEST(Invert, FactorsWithInfinitiesFollowTheDocumentedOrderToo) {
  // The second row is the pivot (scaled 1 against 1e-80), and L(2, 1) = 1e220 / 1e-90
  // overflows: the solves must not skip the "zero" terms then, and must follow the exchange.
  TMatrix M;
  test::SetRows(M, {{1e220, 1e300}, {1e-90, 1e-90}});
  ASSERT_TRUE(M.Invert());
  std::vector<uint64_t> Bits;  // the plain algorithm's (tests/tools/plain_reference.py)
  for (const std::vector<double>& Row : test::RowsOf(M))
    for (double X : Row) Bits.push_back(std::bit_cast<uint64_t>(X));
  EXPECT_EQ(Bits, (std::vector<uint64_t>{0, 0xfff8000000000000, 1ull << 63, 0xfff8000000000000}));
}

}  // namespace
}  // namespace zeq
