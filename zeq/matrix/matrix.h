// zeq matrices (unit Zeq_matrix): TMatrix, a dense matrix of doubles addressed by 1-based
// (column, row) pairs, with copying, linear algebra and norms.
//
// Elem(Nc, Nr) is column Nc, row Nr; in mathematical notation A(i, j) is Elem(j, i). The
// storage is column by column and always keeps at least one slot in each direction, so that
// 0 columns or rows are counts only. Indices outside the matrix read 0 and drop writes;
// ranges are repaired, never rejected.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "zeq/base/base.h"
#include "zeq/vector/vector.h"

namespace zeq {

// Matrix errors.
class EZEQMatrixError : public EZEQError {
 public:
  using EZEQError::EZEQError;
};

// The norms of TMatrix::Norm.
enum TNormType : uint8_t { ntColwise, ntRowwise, ntSpectral, ntFrobenius };

// User-defined distance between two rows (in-out Distance).
using TOnCalcDistanceEvent =
    std::function<void(TObject* Sender, int32_t Row1, int32_t Row2, double& Distance)>;

namespace detail {
struct TMatrixAccess;
}

class TMatrix : public TComponent {
 public:
  // 1 x 1 with the element 0.0, Precision 15 and -1. EZEQMatrixError "...: not enough memory
  // on heap" when even that cannot be allocated.
  explicit TMatrix(TComponent* AOwner = nullptr);
  std::string ClassName() const override { return "TMatrix"; }

  // ---- attributes ----
  int32_t NrOfColumns() const { return FNCol; }
  int32_t NrOfRows() const { return FNRow; }
  void SetNCols(int32_t n);
  void SetNRows(int32_t n);
  double Elem(int32_t Nc, int32_t Nr) const { return GetVal(Nc, Nr); }
  const std::string& DataID() const { return FDataID; }
  void SetDataID(std::string Value) { FDataID = std::move(Value); }
  // Two integer settings for textual output: ix <= 1 the first, otherwise the second;
  // values are clamped to -1..25. No operation reads them.
  int32_t GetFPrecis(int32_t ix) const;
  void SetFPrecis(int32_t ix, int32_t value);
  int32_t Precision(int32_t ix) const { return GetFPrecis(ix); }

  TNotifyEvent OnChange;
  TSortExchgEvent OnSortExchange;
  TOnCalcDistanceEvent OnCalcDistance;

  // ---- frame ----
  // From a TMatrix: sizes, DataID, elements, Precision and the three events; no OnChange.
  void Assign(TPersistent* Source) override;
  void AssignTo(TPersistent* Dest) override;
  void Changed();

  // ---- elements and size ----
  // 0.0 outside 1..NrOfColumns x 1..NrOfRows.
  double GetVal(int32_t Nc, int32_t Nr) const;
  // Stores and fires OnChange; outside the matrix nothing happens.
  void SetVal(int32_t Nc, int32_t Nr, double Value);
  // Keeps the elements present before and after, new ones 0.0; negative sizes count as 0.
  // The same size: true and nothing fires. A failed allocation raises "...: not enough memory
  // on heap" and keeps the matrix as it was.
  bool Resize(int32_t Nc, int32_t Nr);
  // Resize, then Fill(0.0).
  bool ResizeAndClear(int32_t Nc, int32_t Nr);
  void MakeValidColRange(int32_t& LowCol, int32_t& HighCol) const;
  void MakeValidRowRange(int32_t& LowRow, int32_t& HighRow) const;

  // ---- filling ----
  void Fill(double value);
  void FillDiag(double value);
  // One draw per element, columns outer and rows inner.
  void FillRandomUniform(double RangeLow, double RangeHigh);
  void FillRandomGauss(double Mean, double StdDev);

  // ---- copying ----
  // A rectangle of MatSource (clamped into it) to DestCol, DestRow through SetVal; what falls
  // outside this matrix is dropped; OnChange once more at the end. Null: nothing.
  void CopyFrom(const TMatrix* MatSource, int32_t SourceColLo, int32_t SourceRowLo,
                int32_t SourceColHi, int32_t SourceRowHi, int32_t DestCol, int32_t DestRow);
  // Elements of VecSource along row DestRow (dimColumns) or down column DestCol (dimRows).
  void CopyFromVec(TDims Dim, const TVector* VecSource, int32_t Source1stElem,
                   int32_t SourceLastElem, int32_t DestCol, int32_t DestRow);
  // Down a column.
  void CopyFromVec(const TVector* VecSource, int32_t Source1stElem, int32_t SourceLastElem,
                   int32_t DestCol, int32_t DestRow);
  // Columns FirstCol..LastCol of Row into DestVec (not resized; zero-filled first).
  void CopyRowToVec(TVector* DestVec, int32_t Row, int32_t FirstCol, int32_t LastCol) const;
  void CopyColToVec(TVector* DestVec, int32_t Col, int32_t FirstRow, int32_t LastRow) const;
  // Resize to MatSource's size and copy every element through SetVal; OnChange once more.
  void Clone(const TMatrix* MatSource);

  // ---- queries ----
  // Elements x of the repaired rectangle with RangeLow <= x <= RangeHigh.
  int32_t CountValues(int32_t LowCol, int32_t HighCol, int32_t LowRow, int32_t HighRow,
                      double RangeLow, double RangeHigh) const;
  // 64 hexadecimal digits over the elements in storage order.
  std::string CRCofData() const;

  // ---- products: false (nothing changes) for a null argument or mismatched sizes ----
  // The result (resized; it must be neither this matrix nor the operand, else the product
  // is computed into a scratch copy first) gets every element through its setter row by
  // row when it has an OnChange handler, directly otherwise; this matrix fires OnChange once.
  // Every element is the sum over k rising from 0.0, rounded after each addition.
  bool Multiply(const TMatrix* MatB, TMatrix* MatRes);
  bool MultiplyTransposed(const TMatrix* MatB, TMatrix* MatRes);
  bool TransposeAndMultiply(const TMatrix* MatB, TMatrix* MatRes);
  bool EMult(const TMatrix* MatB, TMatrix* MatRes);
  bool Multiply(const TVector* VecB, TVector* VecRes);
  bool TransposeAndMultiply(const TVector* VecB, TVector* VecRes);

  // ---- in-place arithmetic ----
  bool Add(const TMatrix* MatB);
  bool Subtract(const TMatrix* MatB);
  void SMult(double Scalar);
  void SAdd(double Scalar);
  bool Transpose();

  // ---- linear algebra ----
  // Crout LU with implicit partial pivoting, then one solve per identity column. False for a
  // matrix that is not square or has no column (unchanged, silent), for a zero row
  // (unchanged), for a pivot below 1e-100 (the matrix then holds its LU factors) and on
  // abort. Progress: 2n steps on success.
  bool Invert();
  // Sign of the row permutation times the product of U's diagonal; 0.0 when singular or not
  // square.
  double Determinant() const;
  // MatL (unit lower) and MatU (upper) with MatL * MatU = P * A; the sign of P is kept per
  // thread for Determinant.
  bool LUdecomposition(TMatrix* MatL, TMatrix* MatU) const;
  // L with L * L^T = A for a symmetric positive definite A. Writes the factor transposed
  // into this matrix's strict upper triangle. The positions of MatL above the diagonal are
  // left as they were.
  bool CholeskyDecomp(TMatrix* MatL);
  // ntSpectral raises "near singular covariance matrix" when the singular value iteration
  // fails (30 iterations) or is aborted.
  double Norm(TNormType nt) const;
  // Diagonal similarity scaling until no factor reaches 1.05 (at most 1000 sweeps). A row
  // whose off-diagonal sum is 0 is left alone. False for a matrix that is not square.
  bool Balance();
  // MatRes := A^T A / Norm (upper triangle computed and mirrored), with progress and abort
  // per column.
  bool Square(TMatrix* MatRes, double Norm) const;
  double Trace() const;
  // Differences of order Order (1..10) down every column; m - Order rows remain.
  void Diff(int32_t Order);

 protected:
  void SortExchange(uint8_t ExchgWhat, int32_t Index1, int32_t Index2, int32_t First, int32_t Last);

 private:
  friend struct detail::TMatrixAccess;

  // Column-major storage of max(FNCol, 1) columns of FLd = max(FNRow, 1) rows.
  double& At(int32_t Nc, int32_t Nr) {
    return Mat[static_cast<size_t>(Nc - 1) * FLd + static_cast<size_t>(Nr - 1)];
  }
  const double& At(int32_t Nc, int32_t Nr) const {
    return Mat[static_cast<size_t>(Nc - 1) * FLd + static_cast<size_t>(Nr - 1)];
  }
  bool InMatrix(int32_t Nc, int32_t Nr) const {
    return Nc >= 1 && Nc <= FNCol && Nr >= 1 && Nr <= FNRow;
  }
  // Replaces the storage (shape and values) without notification.
  void AdoptStorage(std::vector<double>&& Storage, int32_t Nc, int32_t Nr);
  [[noreturn]] void OutOfMemory() const;

  int32_t FNCol = 1;
  int32_t FNRow = 1;
  std::string FDataID;
  std::array<int32_t, 2> FPrecis{15, -1};
  size_t FLd = 1;
  std::vector<double> Mat;
};

}  // namespace zeq
