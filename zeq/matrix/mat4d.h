/// @file
/// TMat4D: a four-dimensional array of doubles addressed by 1-based column (x), row (y), layer
/// (z) and time slot (t); a stack of images recorded at successive times, with a binary file
/// format of 4096-byte records.
///
/// Each row of each layer is a contiguous run of doubles (t outermost, x innermost), and every
/// loop runs x innermost. Every dimension is at least 1. Indices outside the array read 0 and
/// drop writes; ranges are repaired. Long operations report through OnPercentDone (Cut,
/// Resample, Transpose, CRCofData, the files) or through the global progress hooks (the box
/// statistics, the per-pixel reductions, CopyFrom, Clone).
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "zeq/base/base.h"
#include "zeq/base/export.h"

namespace zeq {

class TMatrix;
class TMat3D;

/// An element streamed from a file by TMat4D::ReadBinary.
using TOnReadMat4DElementEvent = std::function<void(TObject* Sender, int32_t ix, int32_t iy,
                                                    int32_t il, int32_t it, double Value)>;

/// A 1-based four-dimensional array of doubles (columns x rows x layers x time slots) with box
/// statistics, copies to and from matrices and 3-D arrays, per-pixel reductions and a binary
/// file format.
class ZEQ_API TMat4D : public TComponent {
 public:
  /// 1 x 1 x 1 x 1 holding 0.0.
  explicit TMat4D(TComponent* AOwner = nullptr);
  std::string ClassName() const override { return "TMat4D"; }

  // ---- attributes ----
  ///@{
  /// The sizes.
  int32_t NrOfColumns() const { return FNumX; }
  int32_t NrOfRows() const { return FNumY; }
  int32_t NrOfLayers() const { return FNumZ; }
  int32_t NrOfTimeSlots() const { return FNumT; }
  ///@}
  ///@{
  /// Resize with that dimension raised to at least 1.
  void SetNrOfColumns(int32_t n);
  void SetNrOfRows(int32_t n);
  void SetNrOfLayers(int32_t n);
  void SetNrOfTimeSlots(int32_t n);
  ///@}
  ///@{
  /// A free identifier of the data, stored in the binary file.
  const std::string& DataID() const { return FDataID; }
  void SetDataID(std::string Value) { FDataID = std::move(Value); }
  ///@}
  /// The element at (Nx, Ny, Nz, Nt); 0.0 outside the array.
  double Elem(int32_t Nx, int32_t Ny, int32_t Nz, int32_t Nt) const {
    return GetVal(Nx, Ny, Nz, Nt);
  }

  /// Fired after changes of size and of many elements (not by SetVal).
  TNotifyEvent OnChange;
  /// Progress of the long operations named above, in percent.
  TOnPercentDoneEvent OnPercentDone;
  /// Receives the elements of ReadBinary.
  TOnReadMat4DElementEvent OnReadElement;
  /// Fires OnChange.
  void Changed();
  /// Forwards a subordinate's progress as this array's own OnPercentDone.
  void PercDone(TObject* Sender, int32_t Percent);
  /// Hands one element to OnReadElement when it is assigned.
  void ReadElement(TObject* Sender, int32_t ix, int32_t iy, int32_t il, int32_t it, double Value);

  /// From a TMat4D: sizes, DataID, elements and the three events, without OnChange.
  void Assign(TPersistent* Source) override;
  /// Assigns this array to a TMat4D Dest; otherwise EConvertError.
  void AssignTo(TPersistent* Dest) override;

  // ---- elements and addressing ----
  /// The element at (Nx, Ny, Nz, Nt); 0.0 outside the array.
  double GetVal(int32_t Nx, int32_t Ny, int32_t Nz, int32_t Nt) const;
  /// Stores inside the array, without OnChange.
  void SetVal(int32_t Nx, int32_t Ny, int32_t Nz, int32_t Nt, double Value);
  /// ((iy - 1) NrOfColumns + ix - 1) NrOfLayers + il - 1, layers fastest; -2 when a time slot
  /// holds more than 2147483646 elements, -1 for an index outside the array.
  int32_t Lin3DAddr(int32_t ix, int32_t iy, int32_t il) const;
  /// The inverse; false (outputs untouched) for an address outside one time slot.
  bool ConvertLinTo3DAddr(int32_t LinAddr, int32_t& ix, int32_t& iy, int32_t& il) const;
  /// The element storage in mebibytes.
  double MemoryConsumed() const;
  ///@{
  /// Repairs a range against one dimension: (0, 0) means all, bounds are clamped and ordered.
  void MakeValidColRange(int32_t& Low, int32_t& High) const;
  void MakeValidRowRange(int32_t& Low, int32_t& High) const;
  void MakeValidLayerRange(int32_t& Low, int32_t& High) const;
  void MakeValidTSlotRange(int32_t& Low, int32_t& High) const;
  ///@}

  // ---- sizing ----
  /// Keeps the overlapping elements (new ones 0.0) and fires OnChange; true. The same sizes or
  /// a size below 1: nothing happens, true. A shape that cannot be allocated (also one whose
  /// element count overflows) raises "...: not enough memory on heap" and keeps the array as
  /// it was.
  bool Resize(int32_t Nc, int32_t Nr, int32_t Nl, int32_t Nt);
  /// Resize, then Fill(0.0).
  bool ResizeAndClear(int32_t Nc, int32_t Nr, int32_t Nl, int32_t Nt);
  /// Keeps only the repaired box. Progress: 2 nT nZ steps (the box is copied out, then taken
  /// back); OnChange once.
  void Cut(int32_t LowCol, int32_t HighCol, int32_t LowRow, int32_t HighRow, int32_t LowLayer,
           int32_t HighLayer, int32_t LowTimeslot, int32_t HighTimeslot);
  /// Reduces each dimension by its divisor: the first element of each block, or with Average
  /// the block's sum (positions outside counting 0) over the full block size. Offsets shift
  /// the blocks (O mod D, the sign of O kept). Nothing happens unless every divisor is
  /// positive. Progress: one step per new (time slot, layer); OnChange once.
  void Resample(int32_t XDiv, int32_t XOffset, int32_t YDiv, int32_t YOffset, int32_t ZDiv,
                int32_t ZOffset, int32_t TDiv, int32_t TOffset, bool Average);
  /// Exchanges columns and rows in every layer and time slot. Progress: 2 NrOfColumns NrOfRows
  /// steps over two phases, each testing AbortMathProc; an abort leaves the array unchanged and
  /// returns false.
  bool Transpose();

  // ---- filling ----
  /// Every element := value; OnChange once.
  void Fill(double value);
  /// The elements (i, i, i, i) := value; OnChange once.
  void FillDiag(double value);
  /// Layer Layer of every time slot; nothing outside the layers; no OnChange.
  void FillLayer(int32_t Layer, double value);
  ///@{
  /// One draw per element in storage order; OnChange once.
  void FillRandomUniform(double RangeLow, double RangeHigh);
  void FillRandomGauss(double Mean, double StdDev);
  ///@}

  // ---- box statistics: repaired ranges, time slot outermost, column innermost ----
  ///@{
  /// The sum of the box's elements and of their squares (double sums in storage order).
  double Sum(int32_t LowCol, int32_t HighCol, int32_t LowRow, int32_t HighRow, int32_t LowLayer,
             int32_t HighLayer, int32_t LowTimeSlot, int32_t HighTimeSlot) const;
  double SquaredSum(int32_t LowCol, int32_t HighCol, int32_t LowRow, int32_t HighRow,
                    int32_t LowLayer, int32_t HighLayer, int32_t LowTimeSlot,
                    int32_t HighTimeSlot) const;
  ///@}
  /// Double sums; the variance is 1.0 below three values.
  void MeanVar(int32_t LowCol, int32_t HighCol, int32_t LowRow, int32_t HighRow, int32_t LowLayer,
               int32_t HighLayer, int32_t LowTimeSlot, int32_t HighTimeSlot, double& Mean,
               double& Variance) const;
  /// The extrema of the box; Minimum starts at uc_MaxReal, Maximum at -uc_MaxReal.
  void MinMax(int32_t LowCol, int32_t HighCol, int32_t LowRow, int32_t HighRow, int32_t LowLayer,
              int32_t HighLayer, int32_t LowTimeSlot, int32_t HighTimeSlot, double& Minimum,
              double& Maximum) const;
  /// The number of elements x of the box with RangeLow <= x <= RangeHigh.
  int32_t CountValues(int32_t LowCol, int32_t HighCol, int32_t LowRow, int32_t HighRow,
                      int32_t LowLayer, int32_t HighLayer, int32_t LowTimeSlot,
                      int32_t HighTimeSlot, double RangeLow, double RangeHigh) const;
  /// The first element of the box (storage order) nearest to Value; all indices 0 when none is.
  void Find(int32_t LowCol, int32_t HighCol, int32_t LowRow, int32_t HighRow, int32_t LowLayer,
            int32_t HighLayer, int32_t LowTimeSlot, int32_t HighTimeSlot, double Value,
            int32_t& ColIx, int32_t& RowIx, int32_t& LayerIx, int32_t& TimeSlotIx) const;
  /// As TMatrix::Percentile over the box.
  double Percentile(double prob, int32_t LowCol, int32_t HighCol, int32_t LowRow, int32_t HighRow,
                    int32_t LowLayer, int32_t HighLayer, int32_t LowTimeSlot,
                    int32_t HighTimeSlot) const;
  /// Sampled: one random index per dimension (column, row, layer, time slot).
  double Percentile(double prob, int32_t LowCol, int32_t HighCol, int32_t LowRow, int32_t HighRow,
                    int32_t LowLayer, int32_t HighLayer, int32_t LowTimeSlot, int32_t HighTimeSlot,
                    int32_t SampleSize) const;
  /// 64 hexadecimal digits over the elements in storage order; progress in 1 % steps.
  std::string CRCofData() const;

  // ---- copies (the messages "...: specified column/row/layer/time slot beyond data range") --
  /// The repaired box of MatSource to (DestCol, DestRow, DestLayer, DestTSlot); positions
  /// outside this array are dropped; OnChange once.
  void CopyFrom(const TMat4D* MatSource, int32_t SrcLowCol, int32_t SrcHighCol, int32_t SrcLowRow,
                int32_t SrcHighRow, int32_t SrcLowLayer, int32_t SrcHighLayer, int32_t SrcLowTSlot,
                int32_t SrcHighTSlot, int32_t DestCol, int32_t DestRow, int32_t DestLayer,
                int32_t DestTSlot);
  /// The repaired rectangle of Layer in TimeSlot into DestMat (resized to it), through its
  /// setter. Null DestMat: nothing.
  void CopyLayerToMatrix(TMatrix* DestMat, int32_t LowCol, int32_t HighCol, int32_t LowRow,
                         int32_t HighRow, int32_t Layer, int32_t TimeSlot) const;
  /// The source rectangle is repaired against SrcMat (0, 0 taking all of it); what falls
  /// outside the layer is skipped.
  void CopyMatrixToLayer(const TMatrix* SrcMat, int32_t SrcLowCol, int32_t SrcHighCol,
                         int32_t SrcLowRow, int32_t SrcHighRow, int32_t Layer, int32_t TimeSlot,
                         int32_t LayLowCol, int32_t LayLowRow);
  /// The repaired box of TimeSlot into DestMat (resized to it), through its setter. Null
  /// DestMat: nothing.
  void CopyTimeSlotToMat3D(TMat3D* DestMat, int32_t LowCol, int32_t HighCol, int32_t LowRow,
                           int32_t HighRow, int32_t LowLay, int32_t HighLay,
                           int32_t TimeSlot) const;
  /// The source box is repaired against SrcMat.
  void CopyMat3DToTimeSlot(const TMat3D* SrcMat, int32_t SrcLowCol, int32_t SrcHighCol,
                           int32_t SrcLowRow, int32_t SrcHighRow, int32_t SrcLowLay,
                           int32_t SrcHighLay, int32_t TimeSlot, int32_t DestCol, int32_t DestRow,
                           int32_t DestLayer);
  /// Src[0], Src[1], ... to layers FirstLayer, FirstLayer + 1, ... up to the last layer.
  void Copy1DArrayToPixel(std::span<const double> Src, int32_t Col, int32_t Row, int32_t FirstLayer,
                          int32_t TimeSlot);

  // ---- per-pixel reductions over the layers and time slots of a box into DestMat ----
  ///@{
  /// For each pixel (column, row) of the box: the mean, maximum or minimum over the box's layers
  /// and time slots, into DestMat (resized to the box's columns x rows). Null DestMat: nothing.
  void MeanOfLayersToMatrix(TMatrix* DestMat, int32_t LowCol, int32_t HighCol, int32_t LowRow,
                            int32_t HighRow, int32_t LowLayer, int32_t HighLayer,
                            int32_t LowTimeSlot, int32_t HighTimeSlot) const;
  void MaximumOfLayersToMatrix(TMatrix* DestMat, int32_t LowCol, int32_t HighCol, int32_t LowRow,
                               int32_t HighRow, int32_t LowLayer, int32_t HighLayer,
                               int32_t LowTimeSlot, int32_t HighTimeSlot) const;
  void MinimumOfLayersToMatrix(TMatrix* DestMat, int32_t LowCol, int32_t HighCol, int32_t LowRow,
                               int32_t HighRow, int32_t LowLayer, int32_t HighLayer,
                               int32_t LowTimeSlot, int32_t HighTimeSlot) const;
  ///@}
  /// The population standard deviation, computed from values shifted by the pixel's first
  /// value, so that a pixel whose values are all equal gives exactly 0.
  void StdDevOfLayersToMatrix(TMatrix* DestMat, int32_t LowCol, int32_t HighCol, int32_t LowRow,
                              int32_t HighRow, int32_t LowLayer, int32_t HighLayer,
                              int32_t LowTimeSlot, int32_t HighTimeSlot) const;

  // ---- mirroring and cloning (OnChange once) ----
  ///@{
  /// Reverses the order of the columns, rows, layers or time slots.
  void MirrorColumns();
  void MirrorRows();
  void MirrorLayers();
  void MirrorTimeSlots();
  ///@}
  /// Shape and elements of MatSource (not DataID or events). Null: nothing.
  void Clone(const TMat4D* MatSource);

  // ---- the binary file: a header record, then 512 doubles per 4096-byte record ----
  /// Time slots TSlotStart..TSlotEnd (an argument <= 0: all) to a new file. DataID is stored in
  /// Latin-1, cut to 255 characters (characters outside Latin-1 become '?').
  void SaveBinary(const std::string& FName, int32_t TSlotStart, int32_t TSlotEnd);
  /// The header's counts and DataID; true when NrLayers >= 1 and NrTimeSlots > 0.
  bool ReadBinaryHeader(const std::string& FName, int32_t& NrColumns, int32_t& NrRows,
                        int32_t& NrLayers, int32_t& NrTimeSlots, std::string& DataID) const;
  /// Replaces the contents by time slots of the file. The file is checked against its header
  /// first (EInOutError for counts below 1 or a file too short to hold them), so a bad file
  /// never causes an allocation; a failure after the resize raises "...: cannot resize, memory
  /// low".
  void LoadBinary(const std::string& FName, int32_t TSlotStart, int32_t TSlotEnd);
  /// The same selection handed element by element to OnReadElement (it counts from 1).
  void ReadBinary(const std::string& FName, int32_t TSlotStart, int32_t TSlotEnd);
  /// Layer Layer of time slot TSlot of the file into the same place of this array (which is not
  /// resized: positions outside it are skipped); no OnChange.
  void ReadLayer(const std::string& FName, int32_t Layer, int32_t TSlot);
  /// The same into Data[x - 1][y - 1], sized to the file's columns and rows.
  void ReadLayer(const std::string& FName, int32_t Layer, int32_t TSlot,
                 TDouble2DArray& Data) const;
  /// Time slots of this array after those of an existing file of the same columns, rows and
  /// layers ("...: X,Y,Z of matrices do not match" otherwise).
  void AppendToBinaryFile(const std::string& FName, int32_t TSlotStart, int32_t TSlotEnd);

 private:
  friend struct TMat4DAccess;

  int32_t FNumX = 1;
  int32_t FNumY = 1;
  int32_t FNumZ = 1;
  int32_t FNumT = 1;
  std::string FDataID;
  std::vector<double> Mat;
};

}  // namespace zeq
