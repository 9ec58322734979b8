/// @file
/// zeq matrices (unit Zeq_matrix): TMatrix, a dense matrix of doubles addressed by 1-based
/// (column, row) pairs, with copying, linear algebra and norms.
///
/// Elem(Nc, Nr) is column Nc, row Nr; in mathematical notation A(i, j) is Elem(j, i). The
/// storage is column by column and always keeps at least one slot in each direction, so that
/// 0 columns or rows are counts only. Indices outside the matrix read 0 and drop writes;
/// ranges are repaired, never rejected.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "zeq/base/base.h"
#include "zeq/base/export.h"
#include "zeq/vector/vector.h"

namespace zeq {

/// Matrix errors.
class ZEQ_API EZEQMatrixError : public EZEQError {
 public:
  using EZEQError::EZEQError;
};

/// The norms of TMatrix::Norm.
enum TNormType : uint8_t { ntColwise, ntRowwise, ntSpectral, ntFrobenius };

/// Operations of EdgeVector.
enum TEdgeOp : uint8_t { eopMin, eopMax, eopSum, eopMean };

/// Distance measures between rows (DistanceOfObjects, CalcDistMat, clustering).
enum TDistMode : uint8_t { dmJaccard, dmManhattan, dmEuclid, dmEuclidSqr, dmDice, dmUserDef };

/// Display names of the distance measures, indexed by TDistMode.
extern ZEQ_API const std::array<std::string, 6> DistModeId;

/// An entry of the sparse form of TIntMatrix.
struct ZEQ_API TSpMatElemInt {
  ///@{
  /// Column, row and value of the entry.
  int32_t colidx;
  int32_t rowidx;
  int32_t value;
  ///@}
};

/// User-defined distance between two rows (in-out Distance).
using TOnCalcDistanceEvent =
    std::function<void(TObject* Sender, int32_t Row1, int32_t Row2, double& Distance)>;

class TIntMatrix;
class TMat3D;

namespace detail {
struct TMatrixTwin;
}  // namespace detail

/// A 1-based dense matrix of doubles (column, row): products, linear algebra, norms,
/// statistics over rectangles, scaling, sorting, search and distances between rows.
class ZEQ_API TMatrix : public TComponent {
 public:
  /// The element type.
  using TElem = double;

  /// 1 x 1 with the element 0.0, Precision 15 and -1. EZEQMatrixError "...: not enough memory
  /// on heap" when even that cannot be allocated.
  explicit TMatrix(TComponent* AOwner = nullptr);
  std::string ClassName() const override { return "TMatrix"; }

  // ---- attributes ----
  ///@{
  /// The size (0 columns or rows are allowed: counts only).
  int32_t NrOfColumns() const { return FNCol; }
  int32_t NrOfRows() const { return FNRow; }
  ///@}
  ///@{
  /// Resize to n columns (rows), the other count kept; negative n counts as 0.
  void SetNCols(int32_t n);
  void SetNRows(int32_t n);
  ///@}
  /// The element at column Nc, row Nr; 0.0 outside the matrix.
  double Elem(int32_t Nc, int32_t Nr) const { return GetVal(Nc, Nr); }
  ///@{
  /// A free identifier of the data.
  const std::string& DataID() const { return FDataID; }
  void SetDataID(std::string Value) { FDataID = std::move(Value); }
  ///@}
  ///@{
  /// Two integer settings for textual output: ix <= 1 the first, otherwise the second;
  /// values are clamped to -1..25. No operation reads them.
  int32_t GetFPrecis(int32_t ix) const;
  void SetFPrecis(int32_t ix, int32_t value);
  int32_t Precision(int32_t ix) const { return GetFPrecis(ix); }
  ///@}

  /// Fired after changes of size and contents (per element for SetVal).
  TNotifyEvent OnChange;
  /// Told of each exchange of SortRows and SortCols.
  TSortExchgEvent OnSortExchange;
  /// Computes the distance of two rows for dmUserDef.
  TOnCalcDistanceEvent OnCalcDistance;

  // ---- frame ----
  /// From a TMatrix: sizes, DataID, elements, Precision and the three events; no OnChange.
  void Assign(TPersistent* Source) override;
  /// Assigns this matrix to a TMatrix Dest; otherwise EConvertError.
  void AssignTo(TPersistent* Dest) override;
  /// Fires OnChange.
  void Changed();

  // ---- elements and size ----
  /// 0.0 outside 1..NrOfColumns x 1..NrOfRows.
  double GetVal(int32_t Nc, int32_t Nr) const;
  /// Stores and fires OnChange; outside the matrix nothing happens.
  void SetVal(int32_t Nc, int32_t Nr, double Value);
  /// Keeps the elements present before and after, new ones 0.0; negative sizes count as 0.
  /// The same size: true and nothing fires. A failed allocation raises "...: not enough memory
  /// on heap" and keeps the matrix as it was.
  bool Resize(int32_t Nc, int32_t Nr);
  /// Resize, then Fill(0.0).
  bool ResizeAndClear(int32_t Nc, int32_t Nr);
  ///@{
  /// Repairs a range against the columns (rows): (0, 0) means all, bounds are clamped and ordered.
  void MakeValidColRange(int32_t& LowCol, int32_t& HighCol) const;
  void MakeValidRowRange(int32_t& LowRow, int32_t& HighRow) const;
  ///@}

  // ---- filling ----
  /// Every element := value, then OnChange.
  void Fill(double value);
  /// The elements (i, i) := value, the others unchanged, then OnChange.
  void FillDiag(double value);
  ///@{
  /// One draw per element, columns outer and rows inner.
  void FillRandomUniform(double RangeLow, double RangeHigh);
  void FillRandomGauss(double Mean, double StdDev);
  ///@}

  // ---- copying ----
  /// A rectangle of MatSource (clamped into it) to DestCol, DestRow through SetVal; what falls
  /// outside this matrix is dropped; OnChange once more at the end. Null: nothing.
  void CopyFrom(const TMatrix* MatSource, int32_t SourceColLo, int32_t SourceRowLo,
                int32_t SourceColHi, int32_t SourceRowHi, int32_t DestCol, int32_t DestRow);
  /// Elements of VecSource along row DestRow (dimColumns) or down column DestCol (dimRows).
  void CopyFromVec(TDims Dim, const TVector* VecSource, int32_t Source1stElem,
                   int32_t SourceLastElem, int32_t DestCol, int32_t DestRow);
  /// Down a column.
  void CopyFromVec(const TVector* VecSource, int32_t Source1stElem, int32_t SourceLastElem,
                   int32_t DestCol, int32_t DestRow);
  ///@{
  /// Columns FirstCol..LastCol of Row into DestVec (not resized; zero-filled first).
  void CopyRowToVec(TVector* DestVec, int32_t Row, int32_t FirstCol, int32_t LastCol) const;
  void CopyColToVec(TVector* DestVec, int32_t Col, int32_t FirstRow, int32_t LastRow) const;
  ///@}
  /// Resize to MatSource's size and copy every element through SetVal; OnChange once more.
  void Clone(const TMatrix* MatSource);

  // ---- queries ----
  /// Elements x of the repaired rectangle with RangeLow <= x <= RangeHigh.
  int32_t CountValues(int32_t LowCol, int32_t HighCol, int32_t LowRow, int32_t HighRow,
                      double RangeLow, double RangeHigh) const;
  /// 64 hexadecimal digits over the elements in storage order.
  std::string CRCofData() const;

  // ---- products: false (nothing changes) for a null argument or mismatched sizes ----
  ///@{
  /// The result (resized; it must be neither this matrix nor the operand, else the product
  /// is computed into a scratch copy first) gets every element through its setter row by
  /// row when it has an OnChange handler, directly otherwise; this matrix fires OnChange once.
  /// Every element is the sum over k rising from 0.0, rounded after each addition.
  bool Multiply(const TMatrix* MatB, TMatrix* MatRes);
  bool MultiplyTransposed(const TMatrix* MatB, TMatrix* MatRes);
  bool TransposeAndMultiply(const TMatrix* MatB, TMatrix* MatRes);
  bool EMult(const TMatrix* MatB, TMatrix* MatRes);
  bool Multiply(const TVector* VecB, TVector* VecRes);
  bool TransposeAndMultiply(const TVector* VecB, TVector* VecRes);
  ///@}

  // ---- in-place arithmetic ----
  ///@{
  /// A := A + B, A - B (false, nothing changed, for a null or differently sized B); A := s A,
  /// A + s; then OnChange.
  bool Add(const TMatrix* MatB);
  bool Subtract(const TMatrix* MatB);
  void SMult(double Scalar);
  void SAdd(double Scalar);
  ///@}
  /// A := A^T (the sizes exchanged), then OnChange; true. A failed allocation raises "...: not
  /// enough memory on heap" and keeps the matrix.
  bool Transpose();

  // ---- linear algebra ----
  /// Crout LU with implicit partial pivoting, then one solve per identity column. False for a
  /// matrix that is not square or has no column (unchanged, silent), for a zero row
  /// (unchanged), for a pivot below 1e-100 (the matrix then holds its LU factors) and on
  /// abort. Progress: 2n steps on success.
  bool Invert();
  /// Sign of the row permutation times the product of U's diagonal; 0.0 when singular or not
  /// square.
  double Determinant() const;
  /// MatL (unit lower) and MatU (upper) with MatL * MatU = P * A, P the row permutation of
  /// the partial pivoting (not returned). False with MatL zero and MatU partly factored when
  /// singular.
  bool LUdecomposition(TMatrix* MatL, TMatrix* MatU) const;
  /// L with L * L^T = A for a symmetric positive definite A. Writes the factor transposed
  /// into this matrix's strict upper triangle. The positions of MatL above the diagonal are
  /// left as they were.
  bool CholeskyDecomp(TMatrix* MatL);
  /// ntSpectral raises "near singular covariance matrix" when the singular value iteration
  /// fails (30 iterations) or is aborted.
  double Norm(TNormType nt) const;
  /// Diagonal similarity scaling until no factor reaches 1.05 (at most 1000 sweeps). A row
  /// whose off-diagonal sum is 0 is left alone. False for a matrix that is not square.
  bool Balance();
  /// MatRes := A^T A / Norm (upper triangle computed and mirrored), with progress and abort
  /// per column.
  bool Square(TMatrix* MatRes, double Norm) const;
  /// The sum of the diagonal; 0.0 for a matrix that is not square.
  double Trace() const;
  /// Differences of order Order (1..10) down every column; m - Order rows remain.
  void Diff(int32_t Order);

  // ---- statistics over a rectangle (ranges repaired; sums in double, storage order) ----
  /// The sum of the repaired rectangle.
  double Sum(int32_t LoC, int32_t LoR, int32_t HiC, int32_t HiR) const;
  /// Variance 1.0 for fewer than three elements; both 0.0 for an empty rectangle.
  void MeanVar(int32_t LowCol, int32_t LowRow, int32_t HighCol, int32_t HighRow, double& Mean,
               double& Variance) const;
  /// Minimum starts at uc_MaxReal, Maximum at -uc_MaxReal; NaN is never taken.
  void MinMax(int32_t LowCol, int32_t LowRow, int32_t HighCol, int32_t HighRow, double& Minimum,
              double& Maximum) const;
  /// 0.0 when an element is 0 (or the rectangle is empty); "...: negative argument passed to
  /// GeometricMean" for a negative element.
  double GeometricMean(int32_t LowCol, int32_t LowRow, int32_t HighCol, int32_t HighRow) const;
  /// "...: negative or zero argument passed to HarmonicMean".
  double HarmonicMean(int32_t LowCol, int32_t LowRow, int32_t HighCol, int32_t HighRow) const;
  ///@{
  /// As TVector::SkewKurt and TVector::SkewKurtSample over the rectangle.
  void SkewKurt(int32_t LowCol, int32_t LowRow, int32_t HighCol, int32_t HighRow, double& Skewness,
                double& Kurtosis) const;
  void SkewKurtSample(int32_t LowCol, int32_t LowRow, int32_t HighCol, int32_t HighRow,
                      double& Skewness, double& Kurtosis) const;
  ///@}
  /// The (N + 1) p rule on a sorted copy (SortArray, progress per pass); false for an empty
  /// rectangle.
  bool Quartiles(int32_t LowCol, int32_t LowRow, int32_t HighCol, int32_t HighRow, double& Q1,
                 double& Q2, double& Q3) const;
  /// The element of rank round(N prob / 100) (at most N - 1) by QuickSelect; prob clamped
  /// to 0..100, NaN counting as 0.
  double Percentile(double prob, int32_t LowCol, int32_t LowRow, int32_t HighCol,
                    int32_t HighRow) const;
  /// The same from SampleSize elements drawn with replacement (after Randomize) when the
  /// rectangle is larger.
  double Percentile(double prob, int32_t LowCol, int32_t LowRow, int32_t HighCol, int32_t HighRow,
                    int32_t SampleSize) const;
  /// Column means (dimColumns, n values) or row means (dimRows, m values) into Means.
  void MeanVec(TDims Dim, TVector* Means) const;
  /// round(|LastBin - FirstBin| / BinWidth) bins (at most 500; false otherwise, also when the
  /// count is not a number or Histo is null). Elements beyond the last bin count as overflow.
  bool Histogram(int32_t LoX, int32_t LoY, int32_t HiX, int32_t HiY, double FirstBin,
                 double LastBin, double BinWidth, TIntVector* Histo, int32_t& Underflow,
                 int32_t& Overflow, int32_t& MaxCnt) const;

  // ---- scaling of columns and rows (OnChange once; result vectors optional) ----
  ///@{
  /// Each column (row) made mean 0 and standard deviation 1 (left as it is when the variance is
  /// 0); the means and standard deviations go to element l of Means and StdDevs when given.
  void StandardizeColumns(TVector* Means, TVector* StdDevs);
  void StandardizeRows(TVector* Means, TVector* StdDevs);
  ///@}
  ///@{
  /// Each column (row) x := (x - median) / |median - Percentile(RefQuant)| when that difference is
  /// positive; the medians and differences go to Medians and QuantDiffs when given.
  void QNormalizeColumns(double RefQuant, TVector* Medians, TVector* QuantDiffs);
  void QNormalizeRows(double RefQuant, TVector* Medians, TVector* QuantDiffs);
  ///@}
  ///@{
  /// Each column (row) made mean 0; the means go to Means when given.
  void MeanCenterColumns(TVector* Means);
  void MeanCenterRows(TVector* Means);
  ///@}
  /// Pearson correlation of all corresponding elements; "...: matrices do not match".
  double Correlate(const TMatrix* OtherMat) const;

  // ---- reorganisation ----
  /// Comb sort of the rows LowRow..HighRow by column SortColIx, exchanging the columns
  /// LowCol..HighCol (and the key); each exchange reported (2, i, i + gap, LowCol, HighCol).
  void SortRows(int32_t SortColIx, bool Ascending, int32_t LowCol, int32_t LowRow, int32_t HighCol,
                int32_t HighRow);
  /// The same for columns by row SortRowIx, reported (1, j, j + gap, LowRow, HighRow).
  void SortCols(int32_t SortRowIx, bool Ascending, int32_t LowCol, int32_t LowRow, int32_t HighCol,
                int32_t HighRow);
  ///@{
  /// Reverses the order of the columns (rows), then OnChange.
  void MirrorColumns();
  void MirrorRows();
  ///@}
  ///@{
  /// Indices outside the matrix make these do nothing (no exchange, no OnChange).
  void ExchangeColumns(int32_t c1, int32_t c2);
  void ExchangeRows(int32_t r1, int32_t r2);
  ///@}
  /// Min, max, sum or mean of every row (orHorizontal) or column into DestVec.
  void EdgeVector(TOrientation Orient, TEdgeOp EdgeOp, TVector* DestVec) const;

  // ---- search ----
  /// The first element nearest to Value; 0, 0 when none is nearer than uc_MaxDouble.
  void Find(int32_t LowCol, int32_t HighCol, int32_t LowRow, int32_t HighRow, double Value,
            int32_t& ColIx, int32_t& RowIx) const;
  /// Binary search in a sorted column: the exact row or the nearer neighbour (the higher row
  /// on a tie). 0 when Col lies outside the matrix or there are no rows.
  int32_t FindInSortedColumn(int32_t Col, bool ColIsAscending, double Value) const;

  // ---- distances between rows ----
  /// Rows outside 1..m read as zeros. dmJaccard and dmDice of two all-zero rows are 0 / 0,
  /// which gives NaN.
  double DistanceOfObjects(TDistMode Mode, int32_t obj1, int32_t obj2);
  /// Fills the m x m matrix DMat: -2 (nothing changed) when DMat is null or does not have m
  /// columns, -1 when it is not square, 0 after filling.
  int32_t CalcDistMat(TDistMode Mode, TMatrix* DMat);

  /// CopyFrom with an integer matrix (either form) as the source.
  void CopyFrom(const TIntMatrix* MatSource, int32_t SourceColLo, int32_t SourceRowLo,
                int32_t SourceColHi, int32_t SourceRowHi, int32_t DestCol, int32_t DestRow);
  /// CopyFrom with layer SourceLayer (clamped into the source's layers) of a 3-D array.
  void CopyFrom(const TMat3D* MatSource, int32_t SourceColLo, int32_t SourceRowLo,
                int32_t SourceColHi, int32_t SourceRowHi, int32_t SourceLayer, int32_t DestCol,
                int32_t DestRow);

 protected:
  /// Reports one exchange through OnSortExchange when it is assigned.
  void SortExchange(uint8_t ExchgWhat, int32_t Index1, int32_t Index2, int32_t First, int32_t Last);

 private:
  friend struct detail::TMatrixTwin;

  /// Column-major storage of max(FNCol, 1) columns of FLd = max(FNRow, 1) rows.
  double& At(int32_t Nc, int32_t Nr) {
    return Mat[static_cast<size_t>(Nc - 1) * FLd + static_cast<size_t>(Nr - 1)];
  }
  const double& At(int32_t Nc, int32_t Nr) const {
    return Mat[static_cast<size_t>(Nc - 1) * FLd + static_cast<size_t>(Nr - 1)];
  }
  bool InMatrix(int32_t Nc, int32_t Nr) const {
    return Nc >= 1 && Nc <= FNCol && Nr >= 1 && Nr <= FNRow;
  }
  [[noreturn]] void OutOfMemory() const;

  int32_t FNCol = 1;
  int32_t FNRow = 1;
  std::string FDataID;
  std::array<int32_t, 2> FPrecis{15, -1};
  size_t FLd = 1;
  std::vector<double> Mat;
};

/// The integer twin of TMatrix, dense or sparse. The sparse form stores only the entries set
/// explicitly, sorted by (column, row); its size grows to cover the largest stored position and
/// is kept through Resize and the conversions between the forms. Methods without a
/// sparse variant do nothing (or return 0 / false) in the sparse form: convert with SparseToArray
/// first.
class ZEQ_API TIntMatrix : public TComponent {
 public:
  /// The element type.
  using TElem = int32_t;

  /// The dense form, 1 x 1 with the element 0.
  explicit TIntMatrix(TComponent* AOwner = nullptr);
  /// The sparse form, empty (0 x 0), growing AllocBy entries at a time (at least 1). The
  /// result is owned like any component: by AOwner, or by the caller when AOwner is null.
  static TIntMatrix* CreateSparse(TComponent* AOwner, int32_t AllocBy);
  std::string ClassName() const override { return "TIntMatrix"; }

  // ---- attributes ----
  ///@{
  /// The size.
  int32_t NrOfColumns() const { return FNCol; }
  int32_t NrOfRows() const { return FNRow; }
  ///@}
  ///@{
  /// As TMatrix::SetNCols and TMatrix::SetNRows.
  void SetNCols(int32_t n);
  void SetNRows(int32_t n);
  ///@}
  /// The element at column Nc, row Nr; 0 outside the matrix and, in the sparse form, where no
  /// entry is stored.
  int32_t Elem(int32_t Nc, int32_t Nr) const { return GetVal(Nc, Nr); }
  ///@{
  /// A free identifier of the data.
  const std::string& DataID() const { return FDataID; }
  void SetDataID(std::string Value) { FDataID = std::move(Value); }
  ///@}
  /// True for the sparse form.
  bool IsSparse() const { return FIsSparse; }
  ///@{
  /// The sparse form's capacity in entries, its growth step and its number of entries.
  int32_t NumAllocated() const { return FNumAllocated; }
  int32_t AllocBy() const { return FAllocBy; }
  int32_t SparseNumElem() const { return FSparseNumElem; }
  ///@}
  /// Entry i (1-based) of the sparse form; {0, 0, 0} outside 1..SparseNumElem.
  TSpMatElemInt SparseEntry(int32_t i) const;

  /// Fired after changes of size and contents.
  TNotifyEvent OnChange;
  /// Told of each exchange of SortRows and SortCols.
  TSortExchgEvent OnSortExchange;
  /// Progress of the form conversions, in percent.
  TOnPercentDoneEvent OnPercentDone;

  // ---- frame ----
  /// From a TIntMatrix: form, sizes, DataID, contents and the three events; no OnChange.
  void Assign(TPersistent* Source) override;
  /// Assigns this matrix to a TIntMatrix Dest; otherwise EConvertError.
  void AssignTo(TPersistent* Dest) override;
  /// Fires OnChange.
  void Changed();
  /// Forwards a subordinate's progress as this matrix's own OnPercentDone.
  void PercDone(TObject* Sender, int32_t Percent);

  // ---- elements, size, forms ----
  /// The element at column Nc, row Nr; 0 outside the matrix and where the sparse form stores
  /// nothing.
  int32_t GetVal(int32_t Nc, int32_t Nr) const;
  /// Sparse form: stores (zeros too) and grows the matrix to cover the position.
  void SetVal(int32_t Nc, int32_t Nr, int32_t Value);
  /// As TMatrix::Resize; the sparse form drops the entries that fall outside.
  bool Resize(int32_t Nc, int32_t Nr);
  /// Resize, then Fill(0).
  bool ResizeAndClear(int32_t Nc, int32_t Nr);
  ///@{
  /// Repairs a range against the columns (rows): (0, 0) means all, bounds are clamped and ordered.
  void MakeValidColRange(int32_t& LowCol, int32_t& HighCol) const;
  void MakeValidRowRange(int32_t& LowRow, int32_t& HighRow) const;
  ///@}
  ///@{
  /// The dense form to the sparse one (the non-zero elements become entries, growing AllocBy at a
  /// time), and back (the sizes kept). Each does nothing in its target form already; a failed
  /// allocation raises "...: not enough memory on heap" and keeps the matrix.
  void ArrayToSparse(int32_t AllocBy);
  void SparseToArray();
  ///@}

  // ---- filling and copying ----
  /// Sparse form: 0 removes every entry, another value is written into the stored entries.
  void Fill(int32_t value);
  /// The elements (i, i) := value, then OnChange.
  void FillDiag(int32_t value);
  /// As TMatrix::CopyFrom; both forms.
  void CopyFrom(const TIntMatrix* MatSource, int32_t SourceColLo, int32_t SourceRowLo,
                int32_t SourceColHi, int32_t SourceRowHi, int32_t DestCol, int32_t DestRow);
  ///@{
  /// As TMatrix::CopyRowToVec and TMatrix::CopyColToVec.
  void CopyRowToVec(TIntVector* DestVec, int32_t Row, int32_t FirstCol, int32_t LastCol) const;
  void CopyColToVec(TIntVector* DestVec, int32_t Col, int32_t FirstRow, int32_t LastRow) const;
  ///@}
  /// Nothing when the forms differ.
  void Clone(const TIntMatrix* MatSource);

  // ---- queries ----
  /// Elements x of the repaired rectangle with RangeLow <= x <= RangeHigh.
  int32_t CountValues(int32_t LowCol, int32_t HighCol, int32_t LowRow, int32_t HighRow,
                      int32_t RangeLow, int32_t RangeHigh) const;
  /// Elements x with (x and Bitmask) = 0.
  int32_t CountMaskedZeros(int32_t LowCol, int32_t HighCol, int32_t LowRow, int32_t HighRow,
                           uint32_t Bitmask) const;
  /// 32 hexadecimal digits over the dense elements in storage order.
  std::string CRCofData() const;

  // ---- statistics (Sum to SkewKurtSample also in the sparse form, over stored entries) ----
  ///@{
  /// The sum of the rectangle and of the diagonal (0 when not square), wrapping in 32 bits.
  int32_t Sum(int32_t LoC, int32_t LoR, int32_t HiC, int32_t HiR) const;
  int32_t Trace() const;
  ///@}
  ///@{
  /// Minimum starts at 2147483647, Maximum at -2147483647.
  void MinMax(int32_t LowCol, int32_t LowRow, int32_t HighCol, int32_t HighRow, int32_t& Minimum,
              int32_t& Maximum) const;
  ///@}
  ///@{
  /// As the TMatrix statistics of the same names, over the integer values.
  void MeanVar(int32_t LowCol, int32_t LowRow, int32_t HighCol, int32_t HighRow, double& Mean,
               double& Variance) const;
  void SkewKurt(int32_t LowCol, int32_t LowRow, int32_t HighCol, int32_t HighRow, double& Skewness,
                double& Kurtosis) const;
  void SkewKurtSample(int32_t LowCol, int32_t LowRow, int32_t HighCol, int32_t HighRow,
                      double& Skewness, double& Kurtosis) const;
  double GeometricMean(int32_t LowCol, int32_t LowRow, int32_t HighCol, int32_t HighRow) const;
  double HarmonicMean(int32_t LowCol, int32_t LowRow, int32_t HighCol, int32_t HighRow) const;
  bool Quartiles(int32_t LowCol, int32_t LowRow, int32_t HighCol, int32_t HighRow, double& Q1,
                 double& Q2, double& Q3) const;
  double Percentile(double prob, int32_t LowCol, int32_t LowRow, int32_t HighCol,
                    int32_t HighRow) const;
  double Percentile(double prob, int32_t LowCol, int32_t LowRow, int32_t HighCol, int32_t HighRow,
                    int32_t SampleSize) const;
  void MeanVec(TDims Dim, TVector* Means) const;
  ///@}

  // ---- arithmetic: 32-bit integers, wrapping on overflow ----
  /// A := A + B, A - B for a dense A (false, nothing changed, otherwise); B dense of the same
  /// size, or sparse and fitting inside.
  ///@{
  bool Add(const TIntMatrix* MatB);
  bool Subtract(const TIntMatrix* MatB);
  ///@}
  /// A := s A, A + s for a dense A (the sparse form: nothing).
  ///@{
  void SMult(int32_t Scalar);
  void SAdd(int32_t Scalar);
  ///@}
  /// The products of TMatrix for dense matrices, with 32-bit wrapping sums (false for the
  /// sparse form).
  ///@{
  bool EMult(const TIntMatrix* MatB, TIntMatrix* MatRes);
  bool Multiply(const TIntMatrix* MatB, TIntMatrix* MatRes);
  bool MultiplyTransposed(const TIntMatrix* MatB, TIntMatrix* MatRes);
  bool TransposeAndMultiply(const TIntMatrix* MatB, TIntMatrix* MatRes);
  bool Multiply(const TIntVector* VecB, TIntVector* VecRes);
  bool TransposeAndMultiply(const TIntVector* VecB, TIntVector* VecRes);
  ///@}
  /// Sparse form: the indices of every entry exchanged and the entries re-sorted; the counts
  /// are exchanged as well, so that every entry stays inside the matrix.
  bool Transpose();

  // ---- reorganisation and search (dense form) ----
  ///@{
  /// As the TMatrix methods of the same names, for the dense form.
  void SortRows(int32_t SortColIx, bool Ascending, int32_t LowCol, int32_t LowRow, int32_t HighCol,
                int32_t HighRow);
  void SortCols(int32_t SortRowIx, bool Ascending, int32_t LowCol, int32_t LowRow, int32_t HighCol,
                int32_t HighRow);
  void MirrorColumns();
  void MirrorRows();
  void ExchangeColumns(int32_t c1, int32_t c2);
  void ExchangeRows(int32_t r1, int32_t r2);
  void EdgeVector(TOrientation Orient, TEdgeOp EdgeOp, TVector* DestVec) const;
  void Find(int32_t LowCol, int32_t HighCol, int32_t LowRow, int32_t HighRow, int32_t Value,
            int32_t& ColIx, int32_t& RowIx) const;
  int32_t FindInSortedColumn(int32_t Col, bool ColIsAscending, int32_t Value) const;
  ///@}

 protected:
  /// Reports one exchange through OnSortExchange when it is assigned.
  void SortExchange(uint8_t ExchgWhat, int32_t Index1, int32_t Index2, int32_t First, int32_t Last);

 private:
  friend struct detail::TMatrixTwin;

  int32_t& At(int32_t Nc, int32_t Nr) {
    return Mat[static_cast<size_t>(Nc - 1) * FLd + static_cast<size_t>(Nr - 1)];
  }
  const int32_t& At(int32_t Nc, int32_t Nr) const {
    return Mat[static_cast<size_t>(Nc - 1) * FLd + static_cast<size_t>(Nr - 1)];
  }
  bool InMatrix(int32_t Nc, int32_t Nr) const {
    return Nc >= 1 && Nc <= FNCol && Nr >= 1 && Nr <= FNRow;
  }
  [[noreturn]] void OutOfMemory() const;
  /// Sparse helpers.
  void ResetSparse(int32_t AllocBy);
  size_t SparseSearch(int32_t Nc, int32_t Nr) const;
  void WidenBounds(int32_t Nc, int32_t Nr);
  void SparseAppend(TSpMatElemInt Entry);
  /// Copies the sparse form's fields (entries, capacity, growth step, count, bounds) of Src.
  void CopySparseState(const TIntMatrix& Src);

  int32_t FNCol = 1;
  int32_t FNRow = 1;
  std::string FDataID;
  bool FIsSparse = false;
  int32_t FNumAllocated = 0;
  int32_t FAllocBy = 1;
  int32_t FSparseNumElem = 0;
  int32_t FSparseLowCol = INT32_MAX, FSparseHighCol = 1;
  int32_t FSparseLowRow = INT32_MAX, FSparseHighRow = 1;
  std::vector<TSpMatElemInt> SpMat;
  size_t FLd = 1;
  std::vector<int32_t> Mat;
};

}  // namespace zeq

#include "zeq/matrix/mat3d.h"  // IWYU pragma: export
#include "zeq/matrix/mat4d.h"  // IWYU pragma: export
