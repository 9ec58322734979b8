// TIntMatrix arithmetic: element-wise sums and scalings, the products and transposition, all
// in 32-bit two's complement that wraps on overflow (the result of a sum of products then does
// not depend on the order of its terms). Dense matrices only, except where a method says so.
#include <algorithm>

#include "zeq/base/internal/int32_wrap.h"
#include "zeq/matrix/internal/matrix_twin.h"

namespace zeq {

using Twin = detail::TMatrixTwin;
using detail::Wrap;
using detail::WrapAdd;
using detail::WrapMul;
using detail::WrapSub;

bool TIntMatrix::Add(const TIntMatrix* MatB) {
  if (MatB == nullptr || FIsSparse) return false;
  if (!MatB->FIsSparse) {
    if (MatB->FNCol != FNCol || MatB->FNRow != FNRow) return false;
    for (int32_t c = 1; c <= FNCol; ++c)
      for (int32_t r = 1; r <= FNRow; ++r) At(c, r) = WrapAdd(At(c, r), MatB->At(c, r));
  } else {
    if (MatB->FSparseHighCol > FNCol || MatB->FSparseHighRow > FNRow) return false;
    for (int32_t i = 0; i < MatB->FSparseNumElem; ++i) {
      const TSpMatElemInt& E = MatB->SpMat[static_cast<size_t>(i)];
      At(E.colidx, E.rowidx) = WrapAdd(At(E.colidx, E.rowidx), E.value);
    }
  }
  Changed();
  return true;
}

bool TIntMatrix::Transpose() {
  if (!FIsSparse) return Twin::Transpose(*this);
  for (int32_t i = 0; i < FSparseNumElem; ++i)
    std::swap(SpMat[static_cast<size_t>(i)].colidx, SpMat[static_cast<size_t>(i)].rowidx);
  std::swap(FSparseLowCol, FSparseLowRow);
  std::swap(FSparseHighCol, FSparseHighRow);
  std::swap(FNCol, FNRow);
  TSpMatElemInt* E = SpMat.data();
  detail::CombSortPasses(
      FSparseNumElem, FSparseNumElem,
      [&](int64_t Gap) {
        bool Exchanged = false;
        for (int64_t i = 0; i + Gap < FSparseNumElem; ++i)
          if (Twin::SparseBefore(E[i + Gap], E[i].colidx, E[i].rowidx)) {
            std::swap(E[i], E[i + Gap]);
            Exchanged = true;
          }
        return Exchanged;
      },
      [] {});
  Changed();
  return true;
}

bool TIntMatrix::Subtract(const TIntMatrix* MatB) {
  if (FIsSparse || MatB == nullptr || MatB->FIsSparse || MatB->FNCol != FNCol ||
      MatB->FNRow != FNRow)
    return false;
  for (int32_t c = 1; c <= FNCol; ++c)
    for (int32_t r = 1; r <= FNRow; ++r) At(c, r) = WrapSub(At(c, r), MatB->At(c, r));
  Changed();
  return true;
}

void TIntMatrix::SMult(int32_t Scalar) {
  if (FIsSparse) return;
  for (int32_t c = 1; c <= FNCol; ++c)
    for (int32_t r = 1; r <= FNRow; ++r) At(c, r) = WrapMul(At(c, r), Scalar);
  Changed();
}

void TIntMatrix::SAdd(int32_t Scalar) {
  if (FIsSparse) return;
  for (int32_t c = 1; c <= FNCol; ++c)
    for (int32_t r = 1; r <= FNRow; ++r) At(c, r) = WrapAdd(At(c, r), Scalar);
  Changed();
}

namespace {

// C(i, j) = sum_k a(i, k) b(k, j) in wrapping 32-bit arithmetic, whose result does not depend
// on the order of the terms. a and b read op(A) and op(B) with 1-based (row, column).
template <class AFn, class BFn>
void IntProduct(int32_t Rows, int32_t Cols, int32_t K, AFn a, BFn b, int32_t* C, size_t Ldc) {
  for (int32_t j = 1; j <= Cols; ++j)
    for (int32_t i = 1; i <= Rows; ++i) {
      uint32_t S = 0;
      for (int32_t k = 1; k <= K; ++k)
        S += static_cast<uint32_t>(a(i, k)) * static_cast<uint32_t>(b(k, j));
      C[static_cast<size_t>(j - 1) * Ldc + static_cast<size_t>(i - 1)] = Wrap(S);
    }
}

}  // namespace

bool TIntMatrix::EMult(const TIntMatrix* MatB, TIntMatrix* MatRes) {
  if (FIsSparse || MatB == nullptr || MatRes == nullptr || MatB->FIsSparse || MatRes->FIsSparse ||
      FNCol != MatB->FNCol || FNRow != MatB->FNRow)
    return false;
  Twin::DeliverResult(*this, MatRes, MatB, FNCol, FNRow, [&](int32_t* C, size_t Ldc) {
    for (int32_t c = 1; c <= FNCol; ++c)
      for (int32_t r = 1; r <= FNRow; ++r)
        C[static_cast<size_t>(c - 1) * Ldc + static_cast<size_t>(r - 1)] =
            WrapMul(At(c, r), MatB->At(c, r));
  });
  Changed();
  return true;
}

bool TIntMatrix::Multiply(const TIntMatrix* MatB, TIntMatrix* MatRes) {
  if (FIsSparse || MatB == nullptr || MatRes == nullptr || MatB->FIsSparse || MatRes->FIsSparse ||
      FNCol != MatB->FNRow)
    return false;
  Twin::DeliverResult(*this, MatRes, MatB, MatB->FNCol, FNRow, [&](int32_t* C, size_t Ldc) {
    IntProduct(
        FNRow, MatB->FNCol, FNCol, [&](int32_t i, int32_t k) { return At(k, i); },
        [&](int32_t k, int32_t j) { return MatB->At(j, k); }, C, Ldc);
  });
  Changed();
  return true;
}

bool TIntMatrix::MultiplyTransposed(const TIntMatrix* MatB, TIntMatrix* MatRes) {
  if (FIsSparse || MatB == nullptr || MatRes == nullptr || MatB->FIsSparse || MatRes->FIsSparse ||
      FNCol != MatB->FNCol)
    return false;
  Twin::DeliverResult(*this, MatRes, MatB, MatB->FNRow, FNRow, [&](int32_t* C, size_t Ldc) {
    IntProduct(
        FNRow, MatB->FNRow, FNCol, [&](int32_t i, int32_t k) { return At(k, i); },
        [&](int32_t k, int32_t j) { return MatB->At(k, j); }, C, Ldc);
  });
  Changed();
  return true;
}

bool TIntMatrix::TransposeAndMultiply(const TIntMatrix* MatB, TIntMatrix* MatRes) {
  if (FIsSparse || MatB == nullptr || MatRes == nullptr || MatB->FIsSparse || MatRes->FIsSparse ||
      FNRow != MatB->FNRow)
    return false;
  Twin::DeliverResult(*this, MatRes, MatB, MatB->FNCol, FNCol, [&](int32_t* C, size_t Ldc) {
    IntProduct(
        FNCol, MatB->FNCol, FNRow, [&](int32_t i, int32_t k) { return At(i, k); },
        [&](int32_t k, int32_t j) { return MatB->At(j, k); }, C, Ldc);
  });
  Changed();
  return true;
}

bool TIntMatrix::Multiply(const TIntVector* VecB, TIntVector* VecRes) {
  if (FIsSparse || VecB == nullptr || VecRes == nullptr || FNCol != VecB->NrOfElem()) return false;
  std::vector<int32_t> Y(static_cast<size_t>(FNRow));
  IntProduct(
      FNRow, 1, FNCol, [&](int32_t i, int32_t k) { return At(k, i); },
      [&](int32_t k, int32_t) { return VecB->GetVal(k); }, Y.data(), Y.size());
  VecRes->SetIntVecSize(FNRow);
  for (int32_t i = 1; i <= FNRow; ++i) VecRes->SetVal(i, Y[static_cast<size_t>(i - 1)]);
  Changed();
  return true;
}

bool TIntMatrix::TransposeAndMultiply(const TIntVector* VecB, TIntVector* VecRes) {
  if (FIsSparse || VecB == nullptr || VecRes == nullptr || FNRow != VecB->NrOfElem()) return false;
  std::vector<int32_t> Y(static_cast<size_t>(FNCol));
  IntProduct(
      FNCol, 1, FNRow, [&](int32_t i, int32_t k) { return At(i, k); },
      [&](int32_t k, int32_t) { return VecB->GetVal(k); }, Y.data(), Y.size());
  VecRes->SetIntVecSize(FNCol);
  for (int32_t i = 1; i <= FNCol; ++i) VecRes->SetVal(i, Y[static_cast<size_t>(i - 1)]);
  Changed();
  return true;
}

}  // namespace zeq
