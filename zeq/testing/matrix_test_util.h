// Helpers shared by the matrix tests: fill a matrix from rows written as in mathematics and
// read A(i, j) (row i, column j, that is Elem(j, i)).
#pragma once

#include <vector>

#include "zeq/matrix/matrix.h"

namespace zeq::test {

inline void SetRows(TMatrix& M, const std::vector<std::vector<double>>& Rows) {
  M.Resize(static_cast<int32_t>(Rows[0].size()), static_cast<int32_t>(Rows.size()));
  for (size_t i = 0; i < Rows.size(); ++i)
    for (size_t j = 0; j < Rows[i].size(); ++j)
      M.SetVal(static_cast<int32_t>(j + 1), static_cast<int32_t>(i + 1), Rows[i][j]);
}

inline double A_(const TMatrix& M, int32_t i, int32_t j) { return M.GetVal(j, i); }

}  // namespace zeq::test
