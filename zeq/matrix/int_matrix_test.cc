#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <random>
#include <utility>

#include "zeq/matrix/matrix.h"

namespace zeq {
namespace {

std::unique_ptr<TIntMatrix> Sparse(int32_t AllocBy) {
  return std::unique_ptr<TIntMatrix>(TIntMatrix::CreateSparse(nullptr, AllocBy));
}

TEST(SparseMatrix, InsertionKeepsTheEntriesSorted) {
  auto M = Sparse(2);
  EXPECT_TRUE(M->IsSparse());
  EXPECT_EQ(M->NrOfColumns(), 0);
  M->SetVal(5, 2, 7);
  M->SetVal(1, 9, 3);
  EXPECT_EQ(M->NrOfColumns(), 5);
  EXPECT_EQ(M->NrOfRows(), 9);
  ASSERT_EQ(M->SparseNumElem(), 2);
  EXPECT_EQ(M->SparseEntry(1).colidx, 1);
  EXPECT_EQ(M->SparseEntry(1).rowidx, 9);
  EXPECT_EQ(M->SparseEntry(2).colidx, 5);
  EXPECT_EQ(M->GetVal(3, 3), 0);
  EXPECT_EQ(M->GetVal(5, 2), 7);
  M->SetVal(5, 2, 0);  // a stored zero stays an entry
  EXPECT_EQ(M->SparseNumElem(), 2);
  EXPECT_EQ(M->NumAllocated(), 2);
  M->SetVal(3, 3, 1);
  EXPECT_EQ(M->NumAllocated(), 4);
  M->SetVal(0, 3, 1);  // below 1: nothing
  EXPECT_EQ(M->SparseNumElem(), 3);
}

TEST(SparseMatrix, HugeIndicesDoNotAllocateDenseStorage) {
  auto M = Sparse(1);
  M->SetVal(INT32_MAX, INT32_MAX, 4);
  M->SetVal(1, 1, 2);
  EXPECT_EQ(M->GetVal(INT32_MAX, INT32_MAX), 4);
  EXPECT_EQ(M->NrOfColumns(), INT32_MAX);
  EXPECT_EQ(M->Sum(0, 0, 0, 0), 6);
  EXPECT_EQ(M->CRCofData().size(), 32u);
}

TEST(SparseMatrix, RandomOperationsAgreeWithADenseModel) {
  std::mt19937_64 Gen(12);
  std::uniform_int_distribution<int32_t> Ix(1, 40), Val(-5, 5), Op(0, 9);
  auto M = Sparse(3);
  std::map<std::pair<int32_t, int32_t>, int32_t> Model;
  for (int Step = 0; Step < 4000; ++Step) {
    const int32_t c = Ix(Gen), r = Ix(Gen);
    switch (Op(Gen)) {
      case 0:
        M->Fill(0);
        Model.clear();
        break;
      case 1: {
        const int32_t Nc = Ix(Gen), Nr = Ix(Gen);
        M->Resize(Nc, Nr);
        std::erase_if(Model,
                      [&](const auto& E) { return E.first.first > Nc || E.first.second > Nr; });
        break;
      }
      default:
        M->SetVal(c, r, Val(Gen));
        Model[{c, r}] = M->GetVal(c, r);
    }
    ASSERT_EQ(M->SparseNumElem(), static_cast<int32_t>(Model.size()));
    for (int32_t i = 2; i <= M->SparseNumElem(); ++i) {  // sorted by (column, row), no repeats
      const TSpMatElemInt A = M->SparseEntry(i - 1), B = M->SparseEntry(i);
      ASSERT_TRUE(A.colidx < B.colidx || (A.colidx == B.colidx && A.rowidx < B.rowidx));
    }
    const auto It = Model.find({c, r});
    ASSERT_EQ(M->GetVal(c, r), It == Model.end() ? 0 : It->second);
  }
  TIntMatrix Dense;
  Dense.Assign(M.get());
  Dense.SparseToArray();
  int32_t Sum = 0;
  for (const auto& [Pos, V] : Model) {
    ASSERT_EQ(Dense.GetVal(Pos.first, Pos.second), V);
    Sum += V;
  }
  EXPECT_EQ(Dense.Sum(0, 0, 0, 0), Sum);
  EXPECT_EQ(M->Sum(0, 0, 0, 0), Sum);
}

TEST(SparseMatrix, ConversionsFillAndTranspose) {
  TIntMatrix M;
  M.Resize(3, 3);
  M.SetVal(1, 1, 4);
  M.SetVal(2, 3, 6);
  M.SetVal(3, 2, 8);
  M.ArrayToSparse(10);
  EXPECT_TRUE(M.IsSparse());
  EXPECT_EQ(M.SparseNumElem(), 3);
  EXPECT_EQ(M.NrOfColumns(), 3);
  M.Fill(4);
  EXPECT_EQ(M.GetVal(2, 3), 4);
  EXPECT_EQ(M.GetVal(2, 2), 0);
  M.Transpose();
  EXPECT_EQ(M.GetVal(3, 2), 4);
  EXPECT_EQ(M.GetVal(2, 3), 4);
  EXPECT_EQ(M.SparseEntry(1).colidx, 1);
  M.SparseToArray();
  EXPECT_FALSE(M.IsSparse());
  EXPECT_EQ(M.NrOfColumns(), 3);
  EXPECT_EQ(M.NrOfRows(), 3);
  M.SetVal(3, 3, 0);
  M.SetVal(3, 2, 0);
  M.ArrayToSparse(1);  // (3, 3) is zero: the round trip keeps the size all the same
  M.SparseToArray();
  EXPECT_EQ(M.NrOfColumns(), 3);
  EXPECT_EQ(M.NrOfRows(), 3);
  EXPECT_EQ(M.GetVal(2, 3), 4);
  auto Empty = Sparse(4);
  Empty->SparseToArray();
  EXPECT_EQ(Empty->NrOfColumns(), 1);
  Empty->ArrayToSparse(2);
  Empty->Fill(0);
  EXPECT_EQ(Empty->SparseNumElem(), 0);
}

TEST(SparseMatrix, SizesSetByResizeSurviveLaterWrites) {
  auto M = Sparse(2);
  M->Resize(10, 10);
  M->SetVal(2, 2, 1);
  EXPECT_EQ(M->NrOfColumns(), 10);
  EXPECT_EQ(M->NrOfRows(), 10);
  M->SetVal(12, 3, 1);
  EXPECT_EQ(M->NrOfColumns(), 12);
  EXPECT_EQ(M->NrOfRows(), 10);
  M->SparseToArray();
  EXPECT_EQ(M->NrOfColumns(), 12);
  EXPECT_EQ(M->GetVal(12, 3), 1);
}

TEST(SparseMatrix, ResizeTightensTheBoundsToTheRemainingEntries) {
  auto S = Sparse(1);
  S->SetVal(1, 1, 5);
  S->SetVal(5, 5, 6);
  S->Resize(3, 3);  // removes (5, 5): what is left fits a 2 x 2 matrix
  TIntMatrix D;
  D.Resize(2, 2);
  D.Fill(0);
  ASSERT_TRUE(D.Add(S.get()));
  EXPECT_EQ(D.GetVal(1, 1), 5);
  EXPECT_EQ(S->GetVal(2, 2), 0);
}

TEST(SparseMatrix, CopiesAreBoundedByTheSmallerSide) {
  auto Big = Sparse(1);
  Big->SetVal(1000000, 1000000, 9);
  Big->SetVal(2, 1, 4);
  TIntMatrix Small;
  Small.Resize(2, 2);
  Small.Fill(7);
  Small.CopyFrom(Big.get(), 1, 1, 1000000, 1000000, 1, 1);  // walks 2 x 2 positions, not 10^12
  EXPECT_EQ(Small.GetVal(2, 1), 4);
  EXPECT_EQ(Small.GetVal(1, 2), 0);
  Small.Fill(7);
  Small.CopyFrom(Big.get(), 999999, 999999, 1000000, 1000000, 0, 0);  // only (1, 1) lands
  EXPECT_EQ(Small.GetVal(1, 1), 9);
  EXPECT_EQ(Small.GetVal(2, 2), 7);
  auto Wide = Sparse(1);
  Wide->SetVal(INT32_MAX, 1, 3);
  Wide->SetVal(INT32_MAX - 1, 1, 2);
  TIntVector V;
  V.Resize(3);
  Wide->CopyRowToVec(&V, 1, INT32_MAX - 1, INT32_MAX);  // the loop ends at the last column
  EXPECT_EQ(V.GetVal(1), 2);
  EXPECT_EQ(V.GetVal(2), 3);
  EXPECT_EQ(V.GetVal(3), 0);
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
  EXPECT_EQ(D.GetVal(2, 2), 6);
  EXPECT_EQ(D.GetVal(1, 1), 1);
  S->SetVal(4, 1, 1);  // no longer fits
  EXPECT_FALSE(D.Add(S.get()));
  EXPECT_FALSE(S->Add(&D));  // a sparse matrix is never the target
}

TEST(IntMatrix, DenseTwinsWrapAndCount) {
  TIntMatrix A, B, C;
  A.Resize(2, 2);
  B.Resize(2, 2);
  A.Fill(INT32_MAX);
  B.FillDiag(2);
  ASSERT_TRUE(A.Multiply(&B, &C));
  EXPECT_EQ(C.GetVal(1, 1), -2);  // 2 * (2^31 - 1) wraps
  A.SetVal(1, 1, 3);
  A.SetVal(2, 1, 2);
  A.SetVal(1, 2, 7);
  A.SetVal(2, 2, 6);
  EXPECT_EQ(A.CountMaskedZeros(0, 0, 0, 0, 1), 2);  // the even elements
  int32_t Min, Max;
  TIntMatrix N;
  N.Resize(2, 1);
  N.Fill(INT32_MIN);
  N.MinMax(0, 0, 0, 0, Min, Max);
  EXPECT_EQ(Min, INT32_MIN);
  EXPECT_EQ(Max, -INT32_MAX);
  EXPECT_EQ(A.CRCofData().size(), 32u);
  EXPECT_EQ(A.Trace(), 9);
  EXPECT_EQ(std::pair(A.GetVal(3, 1), A.GetVal(1, 0)), std::pair(0, 0));  // outside: 0
  TIntVector V, R;
  V.Resize(2);
  V.Fill(1);
  ASSERT_TRUE(A.Multiply(&V, &R));
  EXPECT_EQ(R.GetVal(1), 5);
  EXPECT_EQ(R.GetVal(2), 13);
  A.SortRows(1, false, 0, 0, 0, 0);
  EXPECT_EQ(A.GetVal(1, 1), 7);
  double Q1, Q2, Q3;
  A.Quartiles(0, 0, 0, 0, Q1, Q2, Q3);
  EXPECT_EQ(Q2, 4.5);
  TMatrix D;
  D.Resize(2, 2);
  D.CopyFrom(&A, 0, 0, 9, 9, 1, 1);
  EXPECT_EQ(D.GetVal(1, 1), 7);
  C.SetNRows(0);  // counts only, as for TMatrix
  C.SetNCols(-3);
  EXPECT_EQ(std::pair(C.NrOfColumns(), C.NrOfRows()), std::pair(0, 0));
}

}  // namespace
}  // namespace zeq
