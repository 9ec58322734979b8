#include "zeq/matrix/matrix.h"
#include "zeq/testing/matrix_test_util.h"
#include "zeq/testing/test_util.h"
#include "zeq/testing/vector_test_util.h"

namespace zeq {
namespace {

using test::RowsOf;
using test::SetRows;
using test::TRows;
using test::ValuesOf;

TEST(MatrixCore, NewMatrixAndCheckedAccess) {
  TMatrix M;
  M.SetVal(1, 1, 3);
  EXPECT_EQ(RowsOf(M), (TRows{{3}}));
  EXPECT_EQ((std::vector<double>{M.GetVal(0, 1), M.GetVal(2, 1), M.GetVal(1, -5),
                                 M.GetVal(INT32_MAX, INT32_MIN)}),
            (std::vector<double>(4, 0.0)));
  EXPECT_EQ(std::pair(M.Precision(1), M.Precision(2)), std::pair(15, -1));
  M.Resize(2, 2);
  test::TChangeCounter Changes(M);
  M.SetVal(3, 1, 7.0);
  EXPECT_EQ(Changes.Count, 0);
  M.SetVal(2, 1, 7.0);
  EXPECT_EQ((std::tuple{M.Elem(2, 1), Changes.Count}), (std::tuple{7.0, 1}));
}

TEST(MatrixCore, ResizeKeepsTheCommonRectangle) {
  TMatrix M;
  M.Resize(2, 3);
  double V = 1;
  for (int32_t c = 1; c <= 2; ++c)
    for (int32_t r = 1; r <= 3; ++r) M.SetVal(c, r, V++);
  test::TChangeCounter Changes(M);
  EXPECT_TRUE(M.Resize(3, 2));
  EXPECT_EQ(RowsOf(M), (TRows{{1, 4, 0}, {2, 5, 0}}));
  EXPECT_TRUE(M.Resize(3, 2));
  EXPECT_EQ(Changes.Count, 1);
  M.ResizeAndClear(3, 2);
  EXPECT_EQ((std::tuple{Changes.Count, M.GetVal(1, 1)}), (std::tuple{2, 0}));
  M.SetNCols(-4);
  EXPECT_EQ(M.NrOfColumns(), 0);
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
  test::TChangeCounter Changes(Dest);
  Dest.CopyFrom(&Src, 0, 0, 9, 9, 3, 1);  // DestCol = NrOfColumns: only the first column
  EXPECT_EQ(RowsOf(Dest), (TRows{{0, 0, 1}, {0, 0, 4}, {0, 0, 0}}));
  EXPECT_EQ(Changes.Count, 3);
  Dest.CopyFrom(&Src, 1, 1, 3, 2, INT32_MAX, INT32_MAX);
  EXPECT_EQ(Changes.Count, 4);
  Dest.CopyFrom(static_cast<const TMatrix*>(nullptr), 1, 1, 3, 2, 1, 1);
  EXPECT_EQ(Changes.Count, 4);
}

TEST(MatrixCore, CopiesBetweenMatricesAndVectors) {
  TMatrix M;
  SetRows(M, {{1, 2, 3, 4, 5, 6, 7, 8}});
  TVector Short, Long;
  Short.Resize(3);
  Long.Resize(10);
  Long.Fill(9);
  M.CopyRowToVec(&Short, 1, 2, 8);  // not resized; zero-filled first
  M.CopyRowToVec(&Long, 1, 2, 8);
  EXPECT_EQ(ValuesOf(Short), (std::vector<double>{2, 3, 4}));
  EXPECT_EQ(ValuesOf(Long), (std::vector<double>{2, 3, 4, 5, 6, 7, 8, 0, 0, 0}));
  TMatrix C;
  C.Resize(2, 3);
  C.CopyFromVec(&Short, 0, 0, 2, 1);              // down column 2
  C.CopyFromVec(dimColumns, &Short, 1, 2, 1, 1);  // along row 1
  EXPECT_EQ(RowsOf(C), (TRows{{2, 3}, {0, 3}, {0, 4}}));
  TVector Col;
  Col.Resize(3);
  C.CopyColToVec(&Col, 2, 0, 0);
  EXPECT_EQ(ValuesOf(Col), (std::vector<double>{3, 3, 4}));
}

TEST(MatrixCore, CloneAssignAndCheckString) {
  TMatrix Src, Dest;
  SetRows(Src, {{1, 2}, {3, 4}, {5, 6}});
  Src.SetDataID("data");
  Src.SetFPrecis(1, 40);
  Src.SetFPrecis(2, -3);
  EXPECT_EQ(std::pair(Src.Precision(0), Src.Precision(2)), std::pair(25, -1));
  test::TChangeCounter Changes(Dest);
  Dest.Clone(&Src);
  EXPECT_EQ(Changes.Count, 1 + 6 + 1);
  EXPECT_EQ((std::tuple{Dest.CRCofData(), Dest.DataID()}), (std::tuple{Src.CRCofData(), ""}));
  test::TChangeCounter SourceCalls(Src);
  TMatrix Copy;
  Copy.Assign(&Src);
  EXPECT_EQ(std::tuple(SourceCalls.Count, Copy.DataID(), Copy.Precision(1)),
            std::tuple(0, "data", 25));
  Copy.SetVal(1, 1, 0);
  EXPECT_EQ(SourceCalls.Count, 1);  // the handler travelled with the data
  TVector V;
  EXPECT_THROW(Copy.Assign(&V), EConvertError);
  // Storage order is column by column: the check string of a transposed copy differs.
  TMatrix T;
  T.Assign(&Src);
  T.Transpose();
  EXPECT_NE(T.CRCofData(), Src.CRCofData());
}

}  // namespace
}  // namespace zeq
