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

// Sizes, entry count and allocated capacity of a sparse matrix.
std::tuple<int32_t, int32_t, int32_t, int32_t> Shape(const TIntMatrix& M) {
  return {M.NrOfColumns(), M.NrOfRows(), M.SparseNumElem(), M.NumAllocated()};
}

TEST(SparseMatrix, InsertionKeepsTheEntriesSorted) {
  auto M = Sparse(2);
  EXPECT_TRUE(M->IsSparse());
  EXPECT_EQ(M->NrOfColumns(), 0);
  M->SetVal(5, 2, 7);
  M->SetVal(1, 9, 3);
  EXPECT_EQ(Shape(*M), std::tuple(5, 9, 2, 2));
  EXPECT_EQ(std::tuple(M->SparseEntry(1).colidx, M->SparseEntry(1).rowidx, M->SparseEntry(2).colidx,
                       M->GetVal(3, 3), M->GetVal(5, 2)),
            std::tuple(1, 9, 5, 0, 7));
  M->SetVal(5, 2, 0);  // a stored zero stays an entry
  M->SetVal(3, 3, 1);  // the capacity grows by AllocBy
  M->SetVal(0, 3, 1);  // below 1: nothing
  EXPECT_EQ(Shape(*M), std::tuple(5, 9, 3, 4));
}

TEST(SparseMatrix, HugeIndicesDoNotAllocateDenseStorage) {
  auto M = Sparse(1);
  M->SetVal(INT32_MAX, INT32_MAX, 4);
  M->SetVal(1, 1, 2);
  EXPECT_EQ(std::tuple(M->GetVal(INT32_MAX, INT32_MAX), M->NrOfColumns(), M->Sum(0, 0, 0, 0)),
            std::tuple(4, INT32_MAX, 6));
  EXPECT_EQ(M->CRCofData().size(), 32u);
}

TEST(SparseMatrix, ConversionsFillAndTranspose) {
  TIntMatrix M;
  test::SetRows(M, {{4, 0, 0}, {0, 0, 8}, {0, 6, 0}});
  M.ArrayToSparse(10);
  EXPECT_TRUE(M.IsSparse());
  EXPECT_EQ(std::pair(M.SparseNumElem(), M.NrOfColumns()), std::pair(3, 3));
  M.Fill(4);  // the entries only
  M.Transpose();
  EXPECT_EQ(M.SparseEntry(1).colidx, 1);
  M.SparseToArray();
  EXPECT_FALSE(M.IsSparse());
  EXPECT_EQ(RowsOf(M), (TRows{{4, 0, 0}, {0, 0, 4}, {0, 4, 0}}));
  M.SetVal(3, 3, 0);
  M.SetVal(3, 2, 0);
  M.ArrayToSparse(1);  // (3, 3) is zero: the round trip keeps the size all the same
  M.SparseToArray();
  EXPECT_EQ(RowsOf(M), (TRows{{4, 0, 0}, {0, 0, 0}, {0, 4, 0}}));
  auto Empty = Sparse(4);
  Empty->SparseToArray();
  EXPECT_EQ(Empty->NrOfColumns(), 1);
  Empty->ArrayToSparse(2);
  Empty->Fill(0);
  EXPECT_EQ(Empty->SparseNumElem(), 0);
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

TEST(SparseMatrix, AddSparseToDense) {
  TIntMatrix D;
  D.Resize(3, 3);
  D.Fill(1);
  auto S = Sparse(1);
  S->SetVal(2, 2, 5);
  ASSERT_TRUE(D.Add(S.get()));
  EXPECT_EQ(RowsOf(D), (TRows{{1, 1, 1}, {1, 6, 1}, {1, 1, 1}}));
  S->SetVal(4, 1, 1);  // no longer fits
  EXPECT_FALSE(D.Add(S.get()));
  EXPECT_FALSE(S->Add(&D));  // a sparse matrix is never the target
  int32_t c = 9, r = 9;
  S->Find(0, 0, 0, 0, 5, c, r);  // not searched in the sparse form
  EXPECT_EQ(std::pair(c, r), std::pair(0, 0));
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
