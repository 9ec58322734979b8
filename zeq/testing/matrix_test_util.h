// Helpers shared by the matrix tests: fill a matrix from rows written as in mathematics and
// read A(i, j) (row i, column j, that is Elem(j, i)).
#pragma once

#include "zeq/matrix/matrix.h"
#include "zeq/testing/test_util.h"

namespace zeq::test {

using TRows = std::vector<std::vector<double>>;

// Fills a matrix of either twin from its rows.
template <class M>
void SetRows(M& X, const TRows& Rows) {
  X.Resize(static_cast<int32_t>(Rows[0].size()), static_cast<int32_t>(Rows.size()));
  for (size_t i = 0; i < Rows.size(); ++i)
    for (size_t j = 0; j < Rows[i].size(); ++j)
      X.SetVal(static_cast<int32_t>(j + 1), static_cast<int32_t>(i + 1),
               static_cast<typename M::TElem>(Rows[i][j]));
}

template <class M>
double A_(const M& X, int32_t i, int32_t j) {
  return X.GetVal(j, i);
}

// The matrix (of either twin) as rows, the form SetRows takes.
template <class M>
TRows RowsOf(const M& X) {
  TRows Rows(static_cast<size_t>(X.NrOfRows()), std::vector<double>(X.NrOfColumns()));
  for (int32_t i = 1; i <= X.NrOfRows(); ++i)
    for (int32_t j = 1; j <= X.NrOfColumns(); ++j) Rows[i - 1][j - 1] = A_(X, i, j);
  return Rows;
}

// The hash of M's bit patterns row by row (see TBitsHash).
inline uint64_t RowsHash(const TMatrix& M) {
  TBitsHash H;
  for (int32_t i = 1; i <= M.NrOfRows(); ++i)
    for (int32_t j = 1; j <= M.NrOfColumns(); ++j) H.Add(A_(M, i, j));
  return H.Value;
}

// Expects every element of M within Tol of Rows (1-based rows of the matrix, in order).
inline void ExpectRowsNear(const TMatrix& M, const TRows& Rows, double Tol) {
  const TRows Got = RowsOf(M);
  ASSERT_EQ(Got.size(), Rows.size());
  for (size_t i = 0; i < Rows.size(); ++i) {
    ASSERT_EQ(Got[i].size(), Rows[i].size()) << "row " << i + 1;
    for (size_t j = 0; j < Rows[i].size(); ++j)
      EXPECT_NEAR(Got[i][j], Rows[i][j], Tol) << "row " << i + 1 << " column " << j + 1;
  }
}

inline void SetColumn(TMatrix& M, const std::vector<double>& Values) {
  TRows Rows;
  for (double V : Values) Rows.push_back({V});
  SetRows(M, Rows);
}

}  // namespace zeq::test
