#include "zeq/matrix/matrix.h"
#include "zeq/testing/matrix_test_util.h"
#include "zeq/testing/test_util.h"
#include "zeq/testing/vector_test_util.h"

namespace zeq {
namespace {

using test::RowsOf;
using test::TRows;

std::unique_ptr<TIntMatrix> Sparse(int32_t AllocBy) {
  return std::unique_ptr<TIntMatrix>(TIntMatrix::CreateSparse(nullptr, AllocBy));
}

TEST(SparseMatrix, SizesSetByResizeSurviveLaterWritesAndTightenToTheEntries) {
  auto M = Sparse(2);
  M->Resize(10, 10);
  M->SetVal(2, 2, 1);
  EXPECT_EQ(std::pair(M->NrOfColumns(), M->NrOfRows()), std::pair(10, 10));
  M->SetVal(12, 3, 1);
  EXPECT_EQ(std::pair(M->NrOfColumns(), M->NrOfRows()), std::pair(12, 10));
  M->SparseToArray();
  EXPECT_EQ(std::pair(M->NrOfColumns(), M->GetVal(12, 3)), std::pair(12, 1));
  auto S = Sparse(1);
  S->SetVal(1, 1, 5);
  S->SetVal(5, 5, 6);
  S->Resize(3, 3);  // removes (5, 5): what is left fits a 2 x 2 matrix
  TIntMatrix D;
  D.Resize(2, 2);
  D.Fill(0);
  ASSERT_TRUE(D.Add(S.get()));
  EXPECT_EQ(std::pair(D.GetVal(1, 1), S->GetVal(2, 2)), std::pair(5, 0));
  EXPECT_FALSE(S->Add(&D));  // a sparse matrix is never the target, nor searched:
  int32_t c = 9, r = 9;      // the outputs of Find are cleared
  S->Find(0, 0, 0, 0, 5, c, r);
  EXPECT_EQ(std::pair(c, r), std::pair(0, 0));
}

TEST(SparseMatrix, CopiesAreBoundedByTheSmallerSide) {
  auto Big = Sparse(1);
  Big->SetVal(1000000, 1000000, 9);
  Big->SetVal(2, 1, 4);
  TIntMatrix Small;
  Small.Resize(2, 2);
  Small.Fill(7);
  Small.CopyFrom(Big.get(), 1, 1, 1000000, 1000000, 1, 1);  // walks 2 x 2 positions, not 10^12
  EXPECT_EQ(RowsOf(Small), (TRows{{0, 4}, {0, 0}}));
  Small.Fill(7);
  Small.CopyFrom(Big.get(), 999999, 999999, 1000000, 1000000, 0, 0);  // only (1, 1) lands
  EXPECT_EQ(RowsOf(Small), (TRows{{9, 7}, {7, 7}}));
  auto Wide = Sparse(1);
  Wide->SetVal(INT32_MAX, 1, 3);
  Wide->SetVal(INT32_MAX - 1, 1, 2);
  TIntVector V;
  V.Resize(3);
  Wide->CopyRowToVec(&V, 1, INT32_MAX - 1, INT32_MAX);  // the loop ends at the last column
  EXPECT_EQ(test::ValuesOf(V), (std::vector<int32_t>{2, 3, 0}));
  Wide->Transpose();
  Wide->CopyColToVec(&V, 1, INT32_MAX, INT32_MAX);
  EXPECT_EQ(V.GetVal(1), 3);
}

TEST(IntMatrix, DenseTwinsWrapAndCount) {
  TIntMatrix A, B, C, N;
  A.Resize(2, 2);
  B.Resize(2, 2);
  A.Fill(INT32_MAX);
  B.FillDiag(2);
  ASSERT_TRUE(A.Multiply(&B, &C));
  EXPECT_EQ(C.GetVal(1, 1), -2);  // 2 * (2^31 - 1) wraps
  test::SetRows(A, {{3, 2}, {7, 6}});
  int32_t Min, Max;
  N.Resize(2, 1);
  N.Fill(INT32_MIN);
  N.MinMax(0, 0, 0, 0, Min, Max);
  // the even elements; the start value of the maximum; outside: 0
  EXPECT_EQ(std::tuple(A.CountMaskedZeros(0, 0, 0, 0, 1), Min, Max, A.Trace(), A.GetVal(3, 1),
                       A.GetVal(1, 0)),
            std::tuple(2, INT32_MIN, -INT32_MAX, 9, 0, 0));
  EXPECT_EQ(A.CRCofData().size(), 32u);
  TIntVector V, R;
  test::FillWith(V, {1, 1});
  ASSERT_TRUE(A.Multiply(&V, &R));
  EXPECT_EQ(test::ValuesOf(R), (std::vector<int32_t>{5, 13}));
  A.SortRows(1, false, 0, 0, 0, 0);
  double Q1, Q2, Q3;
  A.Quartiles(0, 0, 0, 0, Q1, Q2, Q3);
  TMatrix D;
  D.Resize(2, 2);
  D.CopyFrom(&A, 0, 0, 9, 9, 1, 1);
  EXPECT_EQ(std::tuple(A.GetVal(1, 1), Q2, D.GetVal(1, 1)), std::tuple(7, 4.5, 7.0));
  C.SetNRows(0);  // counts only, as for TMatrix
  C.SetNCols(-3);
  EXPECT_EQ(std::pair(C.NrOfColumns(), C.NrOfRows()), std::pair(0, 0));
}

}  // namespace
}  // namespace zeq
