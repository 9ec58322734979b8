#include "zeq/math2/svd.h"

#include "zeq/testing/matrix_test_util.h"
#include "zeq/testing/nist.h"
#include "zeq/testing/simd_levels.h"
#include "zeq/testing/test_util.h"
#include "zeq/testing/vector_test_util.h"

namespace zeq {
namespace {

using test::A_;

void FillRandom(TMatrix& A, int32_t Rows, int32_t Cols, int32_t Rank, std::mt19937_64& Gen) {
  // A product of Rows x Rank and Rank x Cols factors has rank Rank.
  std::normal_distribution<double> N(0, 1);
  std::vector<double> L(static_cast<size_t>(Rows * Rank)), R(static_cast<size_t>(Rank * Cols));
  for (double& V : L) V = N(Gen);
  for (double& V : R) V = N(Gen);
  A.Resize(Cols, Rows);
  for (int32_t i = 0; i < Rows; ++i)
    for (int32_t j = 0; j < Cols; ++j) {
      double S = 0;
      for (int32_t k = 0; k < Rank; ++k)
        S += L[static_cast<size_t>(i * Rank + k)] * R[static_cast<size_t>(k * Cols + j)];
      A.SetVal(j + 1, i + 1, S);
    }
}

TEST(CalcSVD, ReproducesTheMatrixWithOrthonormalFactors) {
  std::mt19937_64 Gen(7);
  const int32_t Shapes[][3] = {{1, 1, 1},   {5, 3, 3},  {40, 12, 12}, {30, 30, 30},
                               {25, 10, 4}, {60, 8, 1}, {3, 7, 3},    {20, 20, 13}};
  for (const auto& S : Shapes) {
    const int32_t m = S[0], n = S[1];
    TMatrix A, U, V;
    TVector W;
    FillRandom(A, m, n, S[2], Gen);
    U.Clone(&A);
    ASSERT_TRUE(CalcSVD(&U, &W, &V));
    ASSERT_EQ(W.NrOfElem(), n);
    const double Scale = A.Norm(ntFrobenius);
    int32_t NonZero = 0;
    for (int32_t j = 1; j <= n; ++j) {
      EXPECT_GE(W.GetVal(j), 0.0);
      NonZero += W.GetVal(j) > 1e-10 * Scale;
    }
    EXPECT_EQ(NonZero, std::min(S[2], m));
    for (int32_t i = 1; i <= m; ++i)
      for (int32_t j = 1; j <= n; ++j) {
        double Sum = 0;
        for (int32_t k = 1; k <= n; ++k) Sum += A_(U, i, k) * W.GetVal(k) * A_(V, j, k);
        ASSERT_NEAR(Sum, A_(A, i, j), 1e-13 * Scale) << m << "x" << n;
      }
    // V'V = I; U'U = I on the columns with a non-zero singular value (for m >= n).
    for (int32_t p = 1; p <= n; ++p)
      for (int32_t q = 1; q <= n; ++q) {
        double Vv = 0, Uu = 0;
        for (int32_t k = 1; k <= n; ++k) Vv += A_(V, k, p) * A_(V, k, q);
        for (int32_t k = 1; k <= m; ++k) Uu += A_(U, k, p) * A_(U, k, q);
        EXPECT_NEAR(Vv, p == q, 1e-13);
        if (m >= n && W.GetVal(p) > 1e-10 * Scale && W.GetVal(q) > 1e-10 * Scale) {
          EXPECT_NEAR(Uu, p == q, 1e-13);
        }
      }
  }
}

TEST(CalcSVD, ProgressAbortAndNonFiniteElements) {
  TMatrix A, V;
  TVector W, B, C;
  test::SetRows(A, {{1, 2}, {3, 4}, {5, 6}});
  ProcStat = 0;
  ASSERT_TRUE(CalcSVD(&A, &W, &V));
  EXPECT_EQ(ProcStat, 8);  // four phases, one step per column each
  const std::string Before = A.CRCofData();
  AbortMathProc = true;
  EXPECT_FALSE(CalcSVD(&A, &W, &V));
  AbortMathProc = false;
  EXPECT_EQ(A.CRCofData(), Before);  // an aborted decomposition leaves A alone
  // NaN and infinities terminate, and the solver reports them as near singular.
  test::FillWith(B, {1, 1, 1});
  for (double Bad : {std::nan(""), std::numeric_limits<double>::infinity()}) {
    test::SetRows(A, {{1, 2}, {Bad, 4}, {5, 6}});
    bool NearSingular = false;
    EXPECT_TRUE(SVDLeastSquares(&A, &B, &C, nullptr, NearSingular));
    EXPECT_TRUE(NearSingular);
  }
}

TEST(SVDLeastSquares, RankDeficientDesignGivesTheMinimumNormSolution) {
  // Columns 1 and 2 are equal: y = x fits with any c1 + c2 = 1; the minimum norm has 0.5, 0.5.
  // SVDBackSubst with the factors of CalcSVD (the zero singular value made exactly 0) agrees.
  TMatrix A, U, V;
  test::SetRows(A, {{1, 1, 1}, {2, 2, 1}, {3, 3, 1}, {4, 4, 1}});
  U.Clone(&A);
  TVector B, C, E, W, X;
  test::FillWith(B, {1, 2, 3, 4});
  bool NearSingular;
  ASSERT_TRUE(SVDLeastSquares(&A, &B, &C, &E, NearSingular));
  EXPECT_TRUE(NearSingular);
  ASSERT_TRUE(CalcSVD(&U, &W, &V));
  for (int32_t j = 1; j <= 3; ++j)
    if (W.GetVal(j) < 1e-10) W.SetVal(j, 0);
  SVDBackSubst(&U, &W, &V, &B, &X);
  test::ExpectAllNear(test::ValuesOf(C), {0.5, 0.5, 0}, 1e-14);
  test::ExpectAllNear(test::ValuesOf(X), {0.5, 0.5, 0}, 1e-14);
  EXPECT_EQ(E.NrOfElem(), 3);
  TMatrix NoColumns;
  NoColumns.Resize(0, 4);
  C.Fill(7);
  EXPECT_TRUE(SVDLeastSquares(&NoColumns, &B, &C, nullptr, NearSingular));  // nothing to fit
  EXPECT_EQ(test::ValuesOf(C), (std::vector<double>{7, 7, 7}));
}

TEST(SVDLeastSquares, NistMultipleRegressionAndNoIntercept) {
  // Longley: seven parameters with an intercept; NoInt1/2: y = B1 x. Minimum LRE held.
  for (auto [Name, Intercept, Floor] :
       {std::tuple{"Longley", true, 7.0}, std::tuple{"NoInt1", false, 14.0},
        std::tuple{"NoInt2", false, 14.0}}) {
    const auto S = test::ReadNist("math2", Name);
    const std::vector<double> Certified = S.B();
    const auto m = static_cast<int32_t>(S.Rows.size());
    const auto p = static_cast<int32_t>(S.Rows[0].size()) - 1, n = p + Intercept;
    TMatrix A;
    TVector B, C;
    A.Resize(n, m);
    B.Resize(m);
    for (int32_t r = 1; r <= m; ++r) {
      const auto& Row = S.Rows[static_cast<size_t>(r - 1)];
      B.SetVal(r, Row[0]);
      if (Intercept) A.SetVal(1, r, 1.0);
      for (int32_t j = 1; j <= p; ++j) A.SetVal(j + Intercept, r, Row[static_cast<size_t>(j)]);
    }
    bool NearSingular;
    ASSERT_TRUE(SVDLeastSquares(&A, &B, &C, nullptr, NearSingular));
    EXPECT_FALSE(NearSingular);
    for (int32_t j = 1; j <= n; ++j)
      EXPECT_GE(test::LRE(C.GetVal(j), Certified[static_cast<size_t>(j - 1)]), Floor)
          << Name << " B" << j - 1;
  }
}

ZEQ_TEST_EVERY_SIMD_LEVEL(SvdLevels);

TEST_P(SvdLevels, EveryLevelGivesTheSameBits) {
  std::mt19937_64 Gen(99);
  TMatrix A, Ref;
  FillRandom(A, 37, 23, 23, Gen);
  Ref.Clone(&A);
  TMatrix V, RefV;
  TVector W, RefW;
  ASSERT_TRUE(detail::SetActiveSimdLevel(detail::TSimdLevel::Generic));
  ASSERT_TRUE(CalcSVD(&Ref, &RefW, &RefV));
  ASSERT_TRUE(detail::SetActiveSimdLevel(GetParam()));
  ASSERT_TRUE(CalcSVD(&A, &W, &V));
  EXPECT_EQ(A.CRCofData(), Ref.CRCofData());
  EXPECT_EQ(V.CRCofData(), RefV.CRCofData());
  EXPECT_EQ(W.CRCofData(), RefW.CRCofData());
}

}  // namespace
}  // namespace zeq
