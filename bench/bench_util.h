// Helpers shared by the benchmark programs: the same random data for every implementation.
#pragma once

#include <random>
#include <vector>

#include "zeq/matrix/matrix.h"

namespace bench {

// Rows x Cols normal values, column-major (the layout of LAPACK and Eigen), from a fixed seed.
inline std::vector<double> RandomColumnMajor(int Rows, int Cols, bool Symmetric = false) {
  std::mt19937_64 Gen(42);
  std::normal_distribution<double> N(0, 1);
  std::vector<double> A(static_cast<size_t>(Rows) * static_cast<size_t>(Cols));
  for (int c = 0; c < Cols; ++c)
    for (int r = 0; r < Rows; ++r) {
      const size_t At = static_cast<size_t>(c) * Rows + r;
      A[At] = Symmetric && r < c ? A[static_cast<size_t>(r) * Rows + c] : N(Gen);
    }
  return A;
}

// M := the column-major Rows x Cols Data.
inline void Load(zeq::TMatrix& M, const std::vector<double>& Data, int Rows, int Cols) {
  M.Resize(Cols, Rows);
  for (int c = 0; c < Cols; ++c)
    for (int r = 0; r < Rows; ++r) M.SetVal(c + 1, r + 1, Data[static_cast<size_t>(c) * Rows + r]);
}

}  // namespace bench
