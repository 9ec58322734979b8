/// @file
/// TMat3D: a three-dimensional array of doubles addressed by 1-based column (x), row (y) and
/// layer (z); a stack of equally sized matrices.
///
/// The layer values of one pixel are contiguous (x outermost, z innermost). Every dimension is
/// at least 1. Indices outside the array read 0 and drop writes; ranges are repaired.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "zeq/base/base.h"
#include "zeq/base/export.h"

namespace zeq {

class TMatrix;

/// A 1-based three-dimensional array of doubles: columns x rows x layers.
class ZEQ_API TMat3D : public TComponent {
 public:
  /// 1 x 1 x 1 holding 0.0.
  explicit TMat3D(TComponent* AOwner = nullptr);
  std::string ClassName() const override { return "TMat3D"; }

  ///@{
  /// The sizes.
  int32_t NrOfColumns() const { return FNumX; }
  int32_t NrOfRows() const { return FNumY; }
  int32_t NrOfLayers() const { return FNumZ; }
  ///@}
  ///@{
  /// Resize with that dimension raised to at least 1.
  void SetNrOfColumns(int32_t n);
  void SetNrOfRows(int32_t n);
  void SetNrOfLayers(int32_t n);
  ///@}
  ///@{
  /// A free identifier of the data.
  const std::string& DataID() const { return FDataID; }
  void SetDataID(std::string Value) { FDataID = std::move(Value); }
  ///@}
  /// The element at (Nx, Ny, Nz); 0.0 outside the array.
  double Elem(int32_t Nx, int32_t Ny, int32_t Nz) const { return GetVal(Nx, Ny, Nz); }

  /// Fired after changes of size and of many elements (not by SetVal).
  TNotifyEvent OnChange;
  /// Fires OnChange.
  void Changed();

  /// The element at (Nx, Ny, Nz); 0.0 outside the array.
  double GetVal(int32_t Nx, int32_t Ny, int32_t Nz) const;
  /// Stores inside the array, without OnChange.
  void SetVal(int32_t Nx, int32_t Ny, int32_t Nz, double Value);
  /// Keeps the overlapping elements, new ones 0.0, and fires OnChange. True when the array has
  /// the requested size afterwards (also when it had it already: then nothing fires); false for
  /// a size below 1. A failed allocation raises "...: not enough memory on heap" and keeps the
  /// array as it was.
  bool Resize(int32_t Nc, int32_t Nr, int32_t Nl);
  /// Resize, then Fill(0.0).
  bool ResizeAndClear(int32_t Nc, int32_t Nr, int32_t Nl);
  ///@{
  /// Repairs a range against one dimension: (0, 0) means all, bounds are clamped and ordered.
  void MakeValidColRange(int32_t& Low, int32_t& High) const;
  void MakeValidRowRange(int32_t& Low, int32_t& High) const;
  void MakeValidLayerRange(int32_t& Low, int32_t& High) const;
  ///@}

  ///@{
  /// Every element := value; the elements (i, i, i) := value. Each fires OnChange once.
  void Fill(double value);
  void FillDiag(double value);
  ///@}
  ///@{
  /// One draw per element in storage order.
  void FillRandomUniform(double RangeLow, double RangeHigh);
  void FillRandomGauss(double Mean, double StdDev);
  ///@}

  /// The first element nearest to Value in the repaired box (storage order); all 0 when none.
  void Find(int32_t LowCol, int32_t HighCol, int32_t LowRow, int32_t HighRow, int32_t LowLayer,
            int32_t HighLayer, double Value, int32_t& ColIx, int32_t& RowIx,
            int32_t& LayerIx) const;
  /// Minimum from uc_MaxReal down, Maximum from -uc_MaxReal up.
  void MinMax(int32_t LowCol, int32_t HighCol, int32_t LowRow, int32_t HighRow, int32_t LowLayer,
              int32_t HighLayer, double& Minimum, double& Maximum) const;
  ///@{
  /// As TMatrix::Percentile over the box; the sample draws a column, a row and a layer.
  double Percentile(double prob, int32_t LowCol, int32_t HighCol, int32_t LowRow, int32_t HighRow,
                    int32_t LowLayer, int32_t HighLayer) const;
  double Percentile(double prob, int32_t LowCol, int32_t HighCol, int32_t LowRow, int32_t HighRow,
                    int32_t LowLayer, int32_t HighLayer, int32_t SampleSize) const;
  ///@}
  /// 64 hexadecimal digits over the elements in storage order.
  std::string CRCofData() const;

  /// Resize to MatSource's shape and copy every element; OnChange once. Null: nothing.
  void Clone(const TMat3D* MatSource);
  /// The repaired rectangle of Layer into DestMat (resized to it), through its setter. A Layer
  /// outside the array raises "...: specified layer beyond data range". Null DestMat: nothing.
  void CopyLayerToMatrix(TMatrix* DestMat, int32_t LowCol, int32_t HighCol, int32_t LowRow,
                         int32_t HighRow, int32_t Layer) const;
  /// The rectangle of SrcMat (not repaired: positions outside it read 0) into Layer with its
  /// first element at (LayLowCol, LayLowRow); what falls outside the array is skipped. The
  /// layer check as above; no OnChange. Null SrcMat: nothing.
  void CopyMatrixToLayer(const TMatrix* SrcMat, int32_t SrcLowCol, int32_t SrcHighCol,
                         int32_t SrcLowRow, int32_t SrcHighRow, int32_t Layer, int32_t LayLowCol,
                         int32_t LayLowRow);

 private:
  size_t Offset(int32_t Nx, int32_t Ny, int32_t Nz) const {
    return (static_cast<size_t>(Nx - 1) * FNumY + static_cast<size_t>(Ny - 1)) * FNumZ +
           static_cast<size_t>(Nz - 1);
  }
  bool Inside(int32_t Nx, int32_t Ny, int32_t Nz) const {
    return Nx >= 1 && Nx <= FNumX && Ny >= 1 && Ny <= FNumY && Nz >= 1 && Nz <= FNumZ;
  }
  void CheckLayer(int32_t Layer) const;

  int32_t FNumX = 1;
  int32_t FNumY = 1;
  int32_t FNumZ = 1;
  std::string FDataID;
  std::vector<double> Mat;
};

}  // namespace zeq
