#include "zeq/math2/eigen.h"

#include "zeq/testing/matrix_test_util.h"
#include "zeq/testing/simd_levels.h"
#include "zeq/testing/test_util.h"
#include "zeq/testing/vector_test_util.h"

namespace zeq {
namespace {

using test::A_;

// A random symmetric matrix as tests/tools/plain_reference.py draws it (on and above the
// diagonal, row by row).
void FillSymmetric(TMatrix& M, int32_t n, test::TTestRandom& Gen) {
  M.Resize(n, n);
  for (int32_t i = 1; i <= n; ++i)
    for (int32_t j = i; j <= n; ++j) {
      const double V = Gen.Uniform();
      M.SetVal(i, j, V);
      M.SetVal(j, i, V);
    }
}

ZEQ_TEST_EVERY_SIMD_LEVEL(JacobiLevels);

// The documented cyclic sweep's results (tests/tools/plain_reference.py): convergence, and
// the hash of the values, the vectors and the triangle the sweep zeroes in place.
TEST_P(JacobiLevels, BitIdenticalToTheDocumentedSweep) {
  test::TTestRandom Gen(21);
  for (int32_t n : {1, 2, 3, 7, 16, 33}) {
    TMatrix M;
    FillSymmetric(M, n, Gen);
    const std::string Ref =
        test::ReferenceLine("zeq/math2/testdata/jacobi_reference.txt", test::Cat("jacobi ", n));
    EXPECT_EQ(CalcEigVec(&M), Ref[0] == '1');
    ASSERT_EQ(GetEigenSize(), n);
    test::TBitsHash H;
    for (int32_t i = 1; i <= n; ++i) H.Add(GetEigenResult(i, 0));
    for (int32_t i = 1; i <= n; ++i)
      for (int32_t k = 1; k <= n; ++k) H.Add(GetEigenResult(i, k));
    for (int32_t i = 1; i <= n; ++i)
      for (int32_t k = i + 1; k <= n; ++k) H.Add(M.GetVal(i, k));
    EXPECT_EQ(H.Value, test::HexWord(Ref, 1)) << n;
  }
}

// max |A v - lambda v| and max |v_i' v_j - delta_ij| over the eigen results, relative to |A|.
void ExpectResidualsBelow(const TMatrix& A, double Tol) {
  const int32_t n = A.NrOfColumns();
  const double Scale = A.Norm(ntFrobenius);
  for (int32_t i = 1; i <= n; ++i) {
    for (int32_t r = 1; r <= n; ++r) {
      double S = 0;
      for (int32_t k = 1; k <= n; ++k) S += A_(A, r, k) * GetEigenResult(i, k);
      ASSERT_NEAR(S, GetEigenResult(i, 0) * GetEigenResult(i, r), Tol * Scale) << n;
    }
    for (int32_t j = 1; j <= n; ++j) {
      double S = 0;
      for (int32_t k = 1; k <= n; ++k) S += GetEigenResult(i, k) * GetEigenResult(j, k);
      ASSERT_NEAR(S, i == j, Tol) << n;
    }
  }
}

// Random matrices are compared bit for bit above; here the sweep must also converge on hard
// spectra.
TEST(CalcEigVec, ResidualsOnRepeatedAndGradedSpectra) {
  // Q diag(lambda) Q' with the Householder Q = I - 2 u u' / u'u (u = 1, -2, 0.5, 3, 1.5;
  // u'u = 16.5): eigenvalues repeated (2, 2, 2, 5, 5) and graded (1e-8 .. 1e8).
  const double u[] = {1, -2, 0.5, 3, 1.5};
  for (const std::vector<double>& Lambda :
       {std::vector<double>{2, 2, 2, 5, 5}, std::vector<double>{1e-8, 1e-4, 1, 1e4, 1e8}}) {
    TMatrix Q, D, A, Work;
    D.Resize(5, 5);
    Q.Resize(5, 5);
    for (int32_t i = 1; i <= 5; ++i) {
      D.SetVal(i, i, Lambda[static_cast<size_t>(i - 1)]);
      for (int32_t j = 1; j <= 5; ++j) Q.SetVal(j, i, (i == j) - 2 * u[i - 1] * u[j - 1] / 16.5);
    }
    Q.Multiply(&D, &Work);
    Work.Multiply(&Q, &A);  // Q is symmetric
    Work.Clone(&A);
    ASSERT_TRUE(CalcEigVec(&Work));
    ExpectResidualsBelow(A, 1e-12);
    std::vector<double> Got;
    for (int32_t i = 1; i <= 5; ++i) Got.push_back(GetEigenResult(i, 0));
    std::sort(Got.begin(), Got.end());
    for (size_t k = 0; k < 5; ++k) EXPECT_NEAR(Got[k], Lambda[k], 1e-12 * Lambda[4]);
  }
}

using TValues = std::vector<double>;

TEST(CalcEigVec, DiagonalInputLimitsAndState) {
  TMatrix D;
  test::SetRows(D, {{3, 0, 0}, {0, -1, 0}, {0, 0, 7}});
  ProcStat = 0;
  ASSERT_TRUE(CalcEigVec(&D));
  EXPECT_EQ(ProcStat, 1);  // converged at the first test: sm = 0
  // Values, a unit vector, and indices outside.
  EXPECT_EQ((TValues{GetEigenResult(2, 0), GetEigenResult(3, 3), GetEigenResult(3, 2),
                     GetEigenResult(4, 0), GetEigenResult(1, 4)}),
            (TValues{-1, 1, 0, 0, 0}));
  TMatrix Huge;
  Huge.Resize(10001, 1);
  EXPECT_FALSE(CalcEigVec(&Huge));
  EXPECT_EQ(GetEigenSize(), 3);  // untouched
  RemoveEigenMatrix();
  EXPECT_EQ((std::tuple{GetEigenResult(1, 0), GetEigenSize()}), (std::tuple{0, 3}));
  TMatrix Bad;
  test::SetRows(Bad, {{1, NAN}, {NAN, 1}});
  EXPECT_FALSE(CalcEigVec(&Bad));  // NaN never converges: the sweep limit stops it
}

TEST(CalcCovar, ModesAgainstDirectSumsAndDocumentedCases) {
  TMatrix X, C;
  test::SetRows(X, {{1, 2, 5}, {2, 4, 5}, {4, 7, 5}, {5, 11, 5}});  // column 3 is constant
  C.Resize(3, 3);
  const auto Pair = [&](int32_t Mode) {  // C(1, 1), C(2, 1), C(1, 2), C(3, 3), C(3, 1)
    EXPECT_TRUE(CalcCovar(&X, &C, 0, 0, 0, 0, Mode));
    return TValues{A_(C, 1, 1), A_(C, 2, 1), A_(C, 1, 2), A_(C, 3, 3), A_(C, 3, 1)};
  };
  // Means 3 and 6: deviations -2 -1 1 2 and -4 -2 1 5; n - 1 = 3.
  const double r = 21 / std::sqrt(10.0 * 46);
  const std::pair<int32_t, TValues> Cases[] = {{0, {46.0 / 3, 31, 31, 100.0 / 3, 60.0 / 3}},
                                               {1, {10.0 / 3, 7, 7, 0, 0}},
                                               {2, {1, r, r, 1, 0}},  // exactly 1; 0 / 1e-38
                                               {3, {1, r * r, r * r, 0, 0}},
                                               {4, {0, 50.0 / 3, 50.0 / 3, 0, 26.0 / 3}}};
  for (const auto& [Mode, Expected] : Cases) {
    const TValues Got = Pair(Mode);
    for (size_t i = 0; i < Got.size(); ++i)
      EXPECT_NEAR(Got[i], Expected[i], 1e-14) << Mode << " " << i;
  }
  EXPECT_EQ(Pair(2)[3], 1.0);
  TMatrix Small;
  Small.Resize(2, 3);  // (p - 1) x p: refused, nothing written
  Small.Fill(9);
  EXPECT_FALSE(CalcCovar(&X, &Small, 0, 0, 0, 0, 1));
  EXPECT_EQ(Small.GetVal(1, 1), 9);
  EXPECT_FALSE(CalcCovar(&X, &C, 0, 0, 2, 2, 1));  // one observation
}

TEST(CalcPrincComp, RelativeSortedEigenvaluesProgressAndAbort) {
  // Two uncorrelated variables with variances 3 and 1 (listed small first).
  TMatrix X;
  test::SetRows(
      X, {{1, std::sqrt(3.0)}, {-1, std::sqrt(3.0)}, {1, -std::sqrt(3.0)}, {-1, -std::sqrt(3.0)}});
  X.SMult(std::sqrt(3.0 / 4));
  ASSERT_TRUE(CalcPrincComp(&X, 0, 0, 0, 0, 1));
  EXPECT_NEAR(GetEigenResult(1, 0), 0.75, 1e-15);
  EXPECT_NEAR(GetEigenResult(2, 0), 0.25, 1e-15);
  EXPECT_NEAR(std::fabs(GetEigenResult(1, 2)), 1, 1e-15);  // the first component is variable 2
  // Abort from the progress routine: false, and a later run works again.
  ProcStat = 0;
  MathFeedBackProc = [](double Progress) {
    if (Progress >= 3) AbortMathProc = true;
  };
  EXPECT_FALSE(CalcPrincComp(&X, 0, 0, 0, 0, 1));
  MathFeedBackProc = nullptr;
  EXPECT_TRUE(CalcPrincComp(&X, 0, 0, 0, 0, 1, false));
  EXPECT_NEAR(GetEigenResult(1, 0), 3, 1e-14);
}

TEST(CalcPrincComp, MatchesNumpyOnIrisRows) {
  test::TRows Rows, Components;
  for (const std::string& Line : test::DataLines("zeq/math2/testdata/pca_iris.txt"))
    (Line[0] == 'x' ? Rows : Components).push_back(test::NamedNumbers(Line).second);
  TMatrix X;
  test::SetRows(X, Rows);
  ASSERT_TRUE(CalcPrincComp(&X, 0, 0, 0, 0, 1));
  ASSERT_EQ(Components.size(), 3u);
  for (int32_t i = 1; i <= 3; ++i) {
    const std::vector<double>& C = Components[static_cast<size_t>(i - 1)];
    const double Sign = GetEigenResult(i, 1) < 0 ? -1 : 1;
    EXPECT_NEAR(GetEigenResult(i, 0), C[0], 1e-14);
    for (int32_t k = 1; k <= 3; ++k)
      EXPECT_NEAR(Sign * GetEigenResult(i, k), C[static_cast<size_t>(k)], 1e-13) << i << " " << k;
  }
}

TEST(PseudoInverse, MoorePenroseConditions) {
  std::mt19937_64 Gen(8);
  std::normal_distribution<double> N(0, 1);
  for (auto [m, n, Rank] : {std::tuple{3, 2, 2}, {6, 4, 2}, {4, 4, 3}, {2, 5, 2}}) {
    TMatrix A, P, AP, PA, APA, PAP, T;
    A.Resize(n, m);
    for (int32_t k = 0; k < Rank; ++k) {  // a sum of Rank outer products
      std::vector<double> x(static_cast<size_t>(m)), y(static_cast<size_t>(n));
      for (double& V : x) V = N(Gen);
      for (double& V : y) V = N(Gen);
      for (int32_t r = 1; r <= m; ++r)
        for (int32_t c = 1; c <= n; ++c)
          A.SetVal(c, r,
                   A.GetVal(c, r) + x[static_cast<size_t>(r - 1)] * y[static_cast<size_t>(c - 1)]);
    }
    ASSERT_TRUE(PseudoInverse(&A, &P, 0));
    ASSERT_EQ(P.NrOfRows(), n);
    ASSERT_EQ(P.NrOfColumns(), m);
    A.Multiply(&P, &AP);
    P.Multiply(&A, &PA);
    AP.Multiply(&A, &APA);
    PA.Multiply(&P, &PAP);
    test::ExpectRowsNear(APA, test::RowsOf(A), 1e-12);
    test::ExpectRowsNear(PAP, test::RowsOf(P), 1e-11);
    for (TMatrix* S : {&AP, &PA}) {  // both symmetric
      T.Assign(S);
      T.Transpose();
      test::ExpectRowsNear(*S, test::RowsOf(T), 1e-12);
    }
  }
}

TEST(MahalanobisDistance, ValueAndMessagesInOrder) {
  TVector a, b, c;
  test::FillWith(a, {3, 1});
  b.Resize(2);
  c.Resize(3);
  TMatrix S, NotSquare, BigS, Negative;
  test::SetRows(S, {{2, 0.5}, {0.5, 1}});
  EXPECT_NEAR(MahalanobisDistance(&a, &b, &S), std::sqrt(2 * 9 + 2 * 0.5 * 3 + 1), 1e-15);
  EXPECT_EQ(MahalanobisDistance(&a, &a, &S), 0);  // a zero square is no error
  NotSquare.Resize(2, 3);
  BigS.Resize(3, 3);
  test::SetRows(Negative, {{-1, 0}, {0, -1}});
  const std::string P = "MahalanobisDistance: ";
  test::ExpectThrowMessage<EZEQVectorError>([&] { MahalanobisDistance(&a, &c, &NotSquare); },
                                            P + "dimensions of vectors do not match");
  test::ExpectThrowMessage<EZEQVectorError>([&] { MahalanobisDistance(&a, &b, &NotSquare); },
                                            P + "inverse covariance matrix is not quadratric");
  test::ExpectThrowMessage<EZEQVectorError>(
      [&] { MahalanobisDistance(&a, &b, &BigS); },
      P + "dimension of vectors and inverse covariance matrix do not match");
  test::ExpectThrowMessage<EZEQVectorError>(
      [&] { MahalanobisDistance(&a, &b, &Negative); },
      P + "the inverse covariance matrix must be symmetric and positive definite");
}

}  // namespace
}  // namespace zeq
