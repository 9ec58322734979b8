// The products must give exactly the bits of the documented order of computation: every
// sum from 0.0, k rising, product rounded, then added. The plain loops of
// tests/tools/plain_reference.py are the reference; every kernel the CPU has is checked
// against them.
#include "zeq/matrix/matrix.h"
#include "zeq/testing/matrix_test_util.h"
#include "zeq/testing/simd_levels.h"
#include "zeq/testing/test_util.h"

namespace zeq {
namespace {

// Filled column by column over a wide range (rounding matters), as the reference script does.
void FillRandom(TMatrix& M, int32_t Cols, int32_t Rows, test::TTestRandom& Gen) {
  M.Resize(Cols, Rows);
  for (int32_t c = 1; c <= Cols; ++c)
    for (int32_t r = 1; r <= Rows; ++r) {
      const double U = Gen.Uniform();
      M.SetVal(c, r, std::ldexp(U, static_cast<int>(Gen.Next() % 61) - 30));
    }
}

using test::A_;  // A(i, j) of the documented notation: row i, column j

enum TForm { fMultiply, fMultiplyTransposed, fTransposeAndMultiply };

bool RunForm(TForm Form, TMatrix& A, const TMatrix& B, TMatrix& Res) {
  switch (Form) {
    case fMultiply:
      return A.Multiply(&B, &Res);
    case fMultiplyTransposed:
      return A.MultiplyTransposed(&B, &Res);
    default:
      return A.TransposeAndMultiply(&B, &Res);
  }
}

void ExpectBitIdentical(TForm Form, int32_t m, int32_t n, int32_t p, test::TTestRandom& Gen,
                        bool WithHandler) {
  TMatrix A, B, Res;
  FillRandom(A, n, m, Gen);  // m rows, n columns
  // Operand shapes that make the inner dimensions agree.
  if (Form == fMultiply) FillRandom(B, p, n, Gen);
  if (Form == fMultiplyTransposed) FillRandom(B, n, p, Gen);
  if (Form == fTransposeAndMultiply) FillRandom(B, p, m, Gen);
  if (WithHandler) Res.OnChange = [](TObject*) {};
  ASSERT_TRUE(RunForm(Form, A, B, Res));
  ASSERT_EQ(std::pair(Res.NrOfRows(), Res.NrOfColumns()),
            std::pair(Form == fTransposeAndMultiply ? n : m, p));
  const std::string Key = test::Cat("product ", m, " ", n, " ", p, " ", Form, " ", WithHandler);
  EXPECT_EQ(test::RowsHash(Res),
            test::HexWord(test::ReferenceLine("zeq/matrix/testdata/product_reference.txt", Key), 0))
      << Key;
}

ZEQ_TEST_EVERY_SIMD_LEVEL(ProductKernels);

TEST_P(ProductKernels, MatrixProductsAreBitIdenticalToThePlainLoop) {
  test::TTestRandom Gen(17);
  const int32_t Shapes[][3] = {{1, 1, 1},     {1, 7, 1},      {7, 1, 1},    {1, 1, 9},
                               {3, 5, 2},     {17, 13, 11},   {16, 12, 12}, {33, 300, 29},
                               {64, 257, 40}, {129, 70, 131}, {5, 0, 4},    {0, 4, 3},
                               {4, 3, 0},     {200, 600, 7}};
  for (const auto& S : Shapes)
    for (TForm Form : {fMultiply, fMultiplyTransposed, fTransposeAndMultiply}) {
      ExpectBitIdentical(Form, S[0], S[1], S[2], Gen, false);
      ExpectBitIdentical(Form, S[0], S[1], S[2], Gen, true);
    }
}

// The threaded products split C's columns between threads: the bits must not depend on how
// many there are, on any kernel (shapes above and below the size that starts threads, odd
// ones and tall or wide ones).
TEST_P(ProductKernels, ThreadedProductsAreBitIdenticalToOneThread) {
  test::TTestRandom Gen(29);
  const int32_t Shapes[][3] = {{160, 170, 180}, {1000, 50, 1000}, {50, 1000, 50}, {7, 400, 2000},
                               {2000, 300, 9},  {31, 17, 23},     {0, 5, 5}};
  for (const auto& S : Shapes)
    for (TForm Form : {fMultiply, fMultiplyTransposed, fTransposeAndMultiply}) {
      TMatrix A, B, One, Many;
      FillRandom(A, S[1], S[0], Gen);
      FillRandom(B, Form == fMultiplyTransposed ? S[1] : S[2],
                 Form == fMultiply             ? S[1]
                 : Form == fMultiplyTransposed ? S[2]
                                               : S[0],
                 Gen);
      SetMaxThreads(1);
      ASSERT_TRUE(RunForm(Form, A, B, One));
      for (int32_t Threads : {2, 3, 5}) {
        SetMaxThreads(Threads);
        ASSERT_EQ(MaxThreads(), Threads);
        ASSERT_TRUE(RunForm(Form, A, B, Many));
        ASSERT_EQ(Many.CRCofData(), One.CRCofData()) << Form << " " << S[0] << " " << Threads;
        ASSERT_EQ(std::pair(Many.NrOfColumns(), Many.NrOfRows()),
                  std::pair(One.NrOfColumns(), One.NrOfRows()));
      }
    }
  SetMaxThreads(1);
}

class VectorKernels : public test::SimdLevelTest {};

// Shapes below, at and across the kernels' blocks of eight rows and eight columns.
TEST_P(VectorKernels, VectorFormsAndElementWiseProductAreBitIdentical) {
  test::TTestRandom Gen(23);
  for (auto [m, n] : {std::pair{1, 1}, {7, 13}, {64, 3}, {5, 130}, {8, 8}, {37, 41}, {130, 17}}) {
    TMatrix A, B, Res;
    FillRandom(A, n, m, Gen);
    FillRandom(B, n, m, Gen);
    ASSERT_TRUE(A.EMult(&B, &Res));
    for (int32_t c = 1; c <= n; ++c)
      for (int32_t r = 1; r <= m; ++r) ASSERT_EQ(Res.GetVal(c, r), A.GetVal(c, r) * B.GetVal(c, r));
    TVector X, Y, Z;
    X.Resize(n);
    X.FillRandomUniform(-3, 3);
    test::TChangeCounter Events(Y);
    const bool Resized = Y.NrOfElem() != m;
    ASSERT_TRUE(A.Multiply(&X, &Y));
    ASSERT_EQ(Y.NrOfElem(), m);
    EXPECT_EQ(Events.Count, Resized + m);  // a new size, then one per element
    for (int32_t i = 1; i <= m; ++i) {
      double S = 0.0;
      for (int32_t k = 1; k <= n; ++k) S = S + A_(A, i, k) * X.GetVal(k);
      ASSERT_EQ(std::bit_cast<uint64_t>(Y.GetVal(i)), std::bit_cast<uint64_t>(S));
    }
    TVector V;
    V.Resize(m);
    V.FillRandomUniform(-3, 3);
    ASSERT_TRUE(A.TransposeAndMultiply(&V, &Z));
    ASSERT_EQ(Z.NrOfElem(), n);
    for (int32_t i = 1; i <= n; ++i) {
      double S = 0.0;
      for (int32_t k = 1; k <= m; ++k) S = S + A_(A, k, i) * V.GetVal(k);
      ASSERT_EQ(std::bit_cast<uint64_t>(Z.GetVal(i)), std::bit_cast<uint64_t>(S));
    }
  }
}

INSTANTIATE_TEST_SUITE_P(EveryKernel, VectorKernels, test::EverySimdLevel(),
                         test::SimdLevelParamName);

TEST(Products, ResultAliasingAnOperandStillGivesTheProduct) {
  TMatrix A, B, Expected;
  test::TTestRandom Gen(3);
  FillRandom(A, 4, 4, Gen);
  FillRandom(B, 4, 4, Gen);
  ASSERT_TRUE(A.Multiply(&B, &Expected));
  ASSERT_TRUE(A.Multiply(&B, &A));  // the result replaces the left operand
  EXPECT_EQ(A.CRCofData(), Expected.CRCofData());
}

}  // namespace
}  // namespace zeq
