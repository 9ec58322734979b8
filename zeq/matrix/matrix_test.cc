#include <gtest/gtest.h>

#include <cmath>
#include <tuple>
#include <vector>

#include "zeq/matrix/matrix.h"
#include "zeq/testing/matrix_test_util.h"
#include "zeq/testing/test_util.h"

namespace zeq {
namespace {

using test::A_;
using test::SetRows;

TEST(MatrixCore, NewMatrixAndCheckedAccess) {
  TMatrix M;
  EXPECT_EQ(M.NrOfColumns(), 1);
  EXPECT_EQ(M.NrOfRows(), 1);
  EXPECT_EQ(M.GetVal(1, 1), 0.0);
  EXPECT_EQ(M.GetVal(0, 1), 0.0);
  EXPECT_EQ(M.GetVal(2, 1), 0.0);
  EXPECT_EQ(M.GetVal(1, -5), 0.0);
  EXPECT_EQ(M.GetVal(INT32_MAX, INT32_MIN), 0.0);
  EXPECT_EQ(M.Precision(1), 15);
  EXPECT_EQ(M.Precision(2), -1);
  M.Resize(2, 2);
  int Changes = 0;
  M.OnChange = [&](TObject*) { ++Changes; };
  M.SetVal(3, 1, 7.0);
  EXPECT_EQ(Changes, 0);
  M.SetVal(2, 1, 7.0);
  EXPECT_EQ(M.Elem(2, 1), 7.0);
  EXPECT_EQ(Changes, 1);
}

TEST(MatrixCore, ResizeKeepsTheCommonRectangle) {
  TMatrix M;
  M.Resize(2, 3);
  double V = 1;
  for (int32_t c = 1; c <= 2; ++c)
    for (int32_t r = 1; r <= 3; ++r) M.SetVal(c, r, V++);
  int Changes = 0;
  M.OnChange = [&](TObject*) { ++Changes; };
  EXPECT_TRUE(M.Resize(3, 2));
  EXPECT_EQ(M.GetVal(1, 1), 1);
  EXPECT_EQ(M.GetVal(1, 2), 2);
  EXPECT_EQ(M.GetVal(2, 2), 5);
  EXPECT_EQ(M.GetVal(3, 1), 0);
  EXPECT_TRUE(M.Resize(3, 2));
  EXPECT_EQ(Changes, 1);
  M.ResizeAndClear(3, 2);
  EXPECT_EQ(Changes, 2);
  EXPECT_EQ(M.GetVal(1, 1), 0);
  M.SetNCols(-4);
  EXPECT_EQ(M.NrOfColumns(), 0);
}

TEST(MatrixCore, EmptyDimensionsAreCountsOnly) {
  TMatrix M;
  M.Resize(0, 4);
  EXPECT_EQ(M.NrOfColumns(), 0);
  EXPECT_EQ(M.NrOfRows(), 4);
  M.Fill(5);
  EXPECT_EQ(M.CountValues(0, 0, 0, 0, -1e300, 1e300), 0);
  EXPECT_EQ(M.CountValues(2, 7, 1, 4, -1e300, 1e300), 0);  // never visits the kept slot
  EXPECT_EQ(M.CRCofData(), std::string(64, '0'));
  EXPECT_EQ(M.GetVal(1, 1), 0);
  int32_t Lo = 3, Hi = 9;
  M.MakeValidColRange(Lo, Hi);
  EXPECT_GT(Lo, Hi);
}

TEST(MatrixCore, RangeRepair) {
  TMatrix M;
  M.Resize(5, 3);
  for (auto [Lo, Hi, ELo, EHi] : {std::tuple{0, 0, 1, 5}, {7, -2, 1, 5}, {4, 2, 2, 4}}) {
    int32_t L = Lo, H = Hi;
    M.MakeValidColRange(L, H);
    EXPECT_EQ(L, ELo);
    EXPECT_EQ(H, EHi);
  }
  int32_t L = 0, H = 0;
  M.MakeValidRowRange(L, H);
  EXPECT_EQ(H, 3);
}

TEST(MatrixCore, FillingAndCounting) {
  TMatrix M;
  M.Resize(3, 3);
  M.Fill(2);
  M.FillDiag(1);
  EXPECT_EQ(M.CountValues(0, 0, 0, 0, 1.0, 2.0), 9);
  EXPECT_EQ(M.CountValues(0, 0, 0, 0, 1.0, 1.0), 3);
  M.SetVal(1, 1, NAN);
  EXPECT_EQ(M.CountValues(0, 0, 0, 0, -1e300, 1e300), 8);
  SetRandSeed(9);
  M.FillRandomUniform(4, 2);  // mirrored interval
  EXPECT_EQ(M.CountValues(0, 0, 0, 0, 2.0, 4.0), 9);
  TMatrix N;
  N.Resize(3, 3);
  SetRandSeed(9);
  N.FillRandomUniform(4, 2);
  EXPECT_EQ(M.CRCofData(), N.CRCofData());  // one draw per element, storage order
}

TEST(MatrixCore, CopyFromClipsAtTheDestination) {
  TMatrix Src, Dest;
  SetRows(Src, {{1, 2, 3}, {4, 5, 6}});
  Dest.Resize(3, 3);
  int Changes = 0;
  Dest.OnChange = [&](TObject*) { ++Changes; };
  Dest.CopyFrom(&Src, 0, 0, 9, 9, 3, 1);  // DestCol = NrOfColumns: only the first column
  EXPECT_EQ(Dest.GetVal(3, 1), 1);
  EXPECT_EQ(Dest.GetVal(3, 2), 4);
  EXPECT_EQ(Changes, 3);
  Dest.CopyFrom(&Src, 1, 1, 3, 2, INT32_MAX, INT32_MAX);
  EXPECT_EQ(Changes, 4);
  Dest.CopyFrom(static_cast<const TMatrix*>(nullptr), 1, 1, 3, 2, 1, 1);
  EXPECT_EQ(Changes, 4);
}

TEST(MatrixCore, CopiesBetweenMatricesAndVectors) {
  TMatrix M;
  SetRows(M, {{1, 2, 3, 4, 5, 6, 7, 8}});
  TVector Short, Long;
  Short.Resize(3);
  Long.Resize(10);
  Long.Fill(9);
  M.CopyRowToVec(&Short, 1, 2, 8);
  EXPECT_EQ(Short.GetVal(1), 2);
  EXPECT_EQ(Short.GetVal(3), 4);
  M.CopyRowToVec(&Long, 1, 2, 8);
  EXPECT_EQ(Long.GetVal(7), 8);
  EXPECT_EQ(Long.GetVal(8), 0);
  EXPECT_EQ(Long.GetVal(10), 0);
  TMatrix C;
  C.Resize(2, 3);
  C.CopyFromVec(&Short, 0, 0, 2, 1);  // down column 2
  EXPECT_EQ(C.GetVal(2, 3), 4);
  C.CopyFromVec(dimColumns, &Short, 1, 2, 1, 1);  // along row 1
  EXPECT_EQ(C.GetVal(2, 1), 3);
  TVector Col;
  Col.Resize(3);
  C.CopyColToVec(&Col, 2, 0, 0);
  EXPECT_EQ(Col.GetVal(1), 3);
  EXPECT_EQ(Col.GetVal(3), 4);
}

TEST(MatrixCore, CloneAssignAndCheckString) {
  TMatrix Src, Dest;
  SetRows(Src, {{1, 2}, {3, 4}, {5, 6}});
  Src.SetDataID("data");
  Src.SetFPrecis(1, 40);
  Src.SetFPrecis(2, -3);
  EXPECT_EQ(Src.Precision(0), 25);
  EXPECT_EQ(Src.Precision(2), -1);
  int Changes = 0;
  Dest.OnChange = [&](TObject*) { ++Changes; };
  Dest.Clone(&Src);
  EXPECT_EQ(Changes, 1 + 6 + 1);
  EXPECT_EQ(Dest.CRCofData(), Src.CRCofData());
  EXPECT_EQ(Dest.DataID(), "");
  int SourceCalls = 0;
  Src.OnChange = [&](TObject*) { ++SourceCalls; };
  TMatrix Copy;
  Copy.Assign(&Src);
  EXPECT_EQ(SourceCalls, 0);
  EXPECT_EQ(Copy.DataID(), "data");
  EXPECT_EQ(Copy.Precision(1), 25);
  Copy.SetVal(1, 1, 0);
  EXPECT_EQ(SourceCalls, 1);  // the handler travelled with the data
  TVector V;
  EXPECT_THROW(Copy.Assign(&V), EConvertError);
  // Storage order is column by column: the check string of a transposed copy differs.
  TMatrix T;
  T.Assign(&Src);
  T.Transpose();
  EXPECT_NE(T.CRCofData(), Src.CRCofData());
}

TEST(MatrixCore, FailedResizeKeepsTheMatrix) {
  TMatrix M;
  M.SetName("m");
  SetRows(M, {{1, 2}});
  // 80 GB: above the allocation limit of this test program
  test::ExpectThrowMessage<EZEQMatrixError>([&] { M.Resize(100000, 100000); },
                                            "Component \"m\": not enough memory on heap");
  EXPECT_EQ(M.NrOfColumns(), 2);
  EXPECT_EQ(M.GetVal(2, 1), 2);
}

}  // namespace
}  // namespace zeq
