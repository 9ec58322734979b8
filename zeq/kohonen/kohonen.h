/// @file
/// zeq self-organizing maps (unit Zeq_kohonen): TKohonen trains a two-dimensional Kohonen map
/// on the rows of a matrix and maps new objects onto it.
///
/// Training runs on the caller's thread, one pass over all training objects per step, with a
/// neighbourhood radius and a learning rate that shrink quadratically; OnFeedback reports each
/// finished pass, and AbortTraining (called from it) stops after the pass in progress.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "zeq/base/base.h"
#include "zeq/base/export.h"
#include "zeq/matrix/matrix.h"
#include "zeq/vector/vector.h"

namespace zeq {

/// A self-organizing (Kohonen) map of SizeX x SizeY neurons over NrOfInSens features.
class ZEQ_API TKohonen : public TComponent {
 public:
  /// A 1 x 1 map of one feature with random weights.
  explicit TKohonen(TComponent* AOwner = nullptr);
  std::string ClassName() const override { return "TKohonen"; }

  // ---- settings ----
  ///@{
  /// The neighbourhood radius of the first pass; it shrinks quadratically to 1 over the training.
  int32_t InitialNeighbors() const { return FMaxNeighb; }
  void SetInitialNeighbors(int32_t n) { FMaxNeighb = n; }
  ///@}
  ///@{
  /// A free text kept with the map.
  const std::string& Comment() const { return FComment; }
  void SetComment(std::string Value) { FComment = std::move(Value); }
  ///@}
  ///@{
  /// The number of passes of a full training; values below 1 are taken as 1.
  int32_t NrOfTrnSteps() const { return FMaxSteps; }
  void SetNrOfTrnSteps(int32_t n) { FMaxSteps = n < 1 ? 1 : n; }
  ///@}
  ///@{
  /// The learning rate of the first pass; it shrinks quadratically to 0 over the training.
  double InitialAlpha() const { return FMaxAlpha; }
  void SetInitialAlpha(double Value) { FMaxAlpha = Value; }
  ///@}
  ///@{
  /// A cyclic map wraps around at its edges (a torus); a plain one stops there.
  bool Cyclic() const { return FCyclic; }
  void SetCyclic(bool Value) { FCyclic = Value; }
  ///@}
  ///@{
  /// The map's size in neurons, and the number of features of each neuron.
  int32_t SizeX() const { return FSizeX; }
  int32_t SizeY() const { return FSizeY; }
  int32_t NrOfInSens() const { return FNrInSens; }
  ///@}
  ///@{
  /// Ignored below 1; otherwise the weights are replaced by zeros of the new shape.
  void SetSizeX(int32_t n);
  void SetSizeY(int32_t n);
  ///@}
  /// Ignored below 1; otherwise the weights, the training data and the feature scales are
  /// replaced for n features (zeros; scales 0 and 1).
  void SetNumInsens(int32_t n);
  ///@{
  /// A copy of m becomes the training data (one object per row); the weights are replaced by
  /// zeros and the feature scales reset to mean 0, standard deviation 1, so that GetWeight reports
  /// raw weights until StandardizeData records real ones. Null: nothing.
  void SetDataMat(const TMatrix* m);
  void SetTrainData(const TMatrix* m) { SetDataMat(m); }
  ///@}

  // ---- the running training (read only) ----
  ///@{
  /// The pass in progress, with its neighbourhood radius and learning rate.
  int32_t CurrentStep() const { return FCurStep; }
  int32_t CurrentNeighbors() const { return FCurNeighb; }
  double CurrentAlpha() const { return FCurAlpha; }
  ///@}

  /// Called after each pass with the share of passes done, in percent.
  TOnPercentDoneEvent OnFeedback;
  /// Calls OnFeedback(this, Percent) when assigned.
  void DoFeedback(int32_t Percent);

  // ---- training and application ----
  /// Standardizes the training columns, recording their means and standard deviations.
  void StandardizeData();
  /// Every weight (r - 0.5) 0.2 with r from the uniform generator, x outer, feature inner.
  void SetWeigtsToRandom();
  /// From pass 1 with random weights.
  void Trainit();
  /// Passes from the current one on while it is below NrOfTrnSteps (at least one pass).
  void ContinueTraining();
  /// Training stops after the pass in progress.
  void AbortTraining() { FAbort = true; }
  /// The neuron nearest to the raw object InData (NrOfInSens values, scaled as the training
  /// data were) and its squared distance; the first of equal neurons, x outer. A null InData
  /// leaves BestIx and BestIy alone and Distance at uc_MaxDouble.
  void ApplyIt(const TVector* InData, int32_t& BestIx, int32_t& BestIy, double& Distance) const;
  ///@{
  /// Weight k of neuron (x, y) in the units of the training data; 0 outside the map.
  double GetWeight(int32_t x, int32_t y, int32_t k) const;
  double Weights(int32_t x, int32_t y, int32_t k) const { return GetWeight(x, y, k); }
  ///@}

 private:
  void NewWeights();
  void NewScales();
  /// The weights neuron by neuron (x outer, y inner), features contiguous.
  std::vector<double> PackedWeights() const;
  void TrainPass(std::vector<double>& W, const std::vector<double>& Data);

  int32_t FMaxNeighb = 2;
  std::string FComment;
  int32_t FCurNeighb = 0;
  int32_t FMaxSteps = 200;
  int32_t FCurStep = 1;
  double FMaxAlpha = 1.0;
  double FCurAlpha = 0;
  TMat3D FKohMat;
  int32_t FSizeX = 1, FSizeY = 1;
  int32_t FNrInSens = 1;
  int32_t FNrTrnObj = 1;
  TVector MeanVec, StdDevVec;
  bool FCyclic = false;
  bool FAbort = false;
  TMatrix FDataMat;
};

}  // namespace zeq
