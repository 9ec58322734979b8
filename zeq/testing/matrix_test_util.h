// Helpers shared by the matrix tests: fill a matrix from rows written as in mathematics and
// read A(i, j) (row i, column j, that is Elem(j, i)).
#pragma once

#include <vector>

#include "zeq/matrix/matrix.h"

namespace zeq::test {

using TRows = std::vector<std::vector<double>>;

inline void SetRows(TMatrix& M, const TRows& Rows) {
  M.Resize(static_cast<int32_t>(Rows[0].size()), static_cast<int32_t>(Rows.size()));
  for (size_t i = 0; i < Rows.size(); ++i)
    for (size_t j = 0; j < Rows[i].size(); ++j)
      M.SetVal(static_cast<int32_t>(j + 1), static_cast<int32_t>(i + 1), Rows[i][j]);
}

inline double A_(const TMatrix& M, int32_t i, int32_t j) { return M.GetVal(j, i); }

// The matrix as rows, the form SetRows takes.
inline TRows RowsOf(const TMatrix& M) {
  TRows Rows(static_cast<size_t>(M.NrOfRows()), std::vector<double>(M.NrOfColumns()));
  for (int32_t i = 1; i <= M.NrOfRows(); ++i)
    for (int32_t j = 1; j <= M.NrOfColumns(); ++j) Rows[i - 1][j - 1] = A_(M, i, j);
  return Rows;
}

// A matrix of one column.
inline void SetColumn(TMatrix& M, const std::vector<double>& Values) {
  TRows Rows;
  for (double V : Values) Rows.push_back({V});
  SetRows(M, Rows);
}

}  // namespace zeq::test
