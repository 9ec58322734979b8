/// @file
/// TCrossValidator: repeated random-split cross-validation of a model that the application
/// builds and applies through two events.
///
/// The objects (rows) of XMat and YMat are split into disjoint random test sets; for each set
/// the application builds a model on the other objects (OnModelCreateRequest) and predicts every
/// test object (OnModelApplyRequest). Per response column the validator sums the squared
/// prediction errors and counts a two-class confusion table (class "1" is a true value of
/// exactly 1, a prediction within 0.001 counts as right). The matrices are referenced, never
/// copied or freed.
#pragma once

#include <cstdint>
#include <functional>

#include "zeq/base/base.h"
#include "zeq/base/export.h"
#include "zeq/matrix/matrix.h"
#include "zeq/vector/vector.h"

namespace zeq {

/// PercentDone is the share of objects predicted so far; Predictors holds the test object's row
/// of XMat (element j - 1 for column j) and Response must receive one prediction per column of
/// YMat.
using TOnModelApplyRequestEvent = std::function<void(
    TObject* Sender, int32_t PercentDone, const TDoubleArray& Predictors, TDoubleArray& Response)>;
/// ObjectList holds the 1-based rows to train on, ascending; Success reports a usable model.
using TOnModelCreateRequestEvent = std::function<void(TObject* Sender, int32_t PercentDone,
                                                      const TIntArray& ObjectList, bool& Success)>;

/// Cross-validation of a model supplied through events: repeatedly trains on all objects but a
/// random test set and predicts the test set, until every object was predicted once.
class ZEQ_API TCrossValidator : public TComponent {
 public:
  /// Test sets of 2 objects, no matrices, no events.
  explicit TCrossValidator(TComponent* AOwner = nullptr);
  std::string ClassName() const override { return "TCrossValidator"; }

  /// The number of objects left out of each training.
  int32_t SizeTestSet() const { return FTestSize; }
  /// SizeTestSet = max(n, 1); the results become invalid (-1).
  void SetTestSize(int32_t n);
  ///@{
  /// The predictors, one object per row (referenced, not owned).
  TMatrix* XMat() const { return FXMat; }
  void SetXMat(TMatrix* Value) { FXMat = Value; }
  ///@}
  ///@{
  /// The responses, one object per row and one response per column (referenced, not owned).
  TMatrix* YMat() const { return FYMat; }
  void SetYMat(TMatrix* Value) { FYMat = Value; }
  ///@}
  /// True while Execute runs (its events see it).
  bool IsRunning() const { return FIsRunning; }

  /// Runs the validation: true when every object was predicted, false when OnCheckAbort asked to
  /// stop or when 100 model builds in a row failed (a failed build returns its test objects to
  /// the pool, to be drawn again); then every result is -1. A SizeTestSet above
  /// NrOfRows div 2 + 1 is lowered to that. Raises EZEQStatisError for unassigned matrices or
  /// events, matrices of different heights, a call from inside its own events and a Response
  /// left shorter than YMat's width; exceptions from the events pass through. After any
  /// exception the results are -1 and the validator can run again.
  bool Execute();

  /// sqrt(Press(k) / XMat.NrOfRows); NaN without XMat.
  double GetRMSEP(int32_t k) const;
  /// TP / (TP + FN) for response column k; 0 when there is no true 1.
  double GetTPRate(int32_t k) const;
  /// FP / (FP + TN); 1 when every true value is 1.
  double GetFPRate(int32_t k) const;
  ///@{
  /// The raw results of column k (0 outside the columns of the last run).
  double Press(int32_t k) const { return FPress.GetVal(k); }
  double TPCount(int32_t k) const { return FTPCnt.GetVal(k); }
  double FPCount(int32_t k) const { return FFPCnt.GetVal(k); }
  double TNCount(int32_t k) const { return FTNCnt.GetVal(k); }
  double FNCount(int32_t k) const { return FFNCnt.GetVal(k); }
  ///@}

  /// Asked to predict one test object with the model of the last build.
  TOnModelApplyRequestEvent OnModelApplyRequest;
  /// Asked to build a model from the listed training objects.
  TOnModelCreateRequestEvent OnModelCreateRequest;
  /// Asked after each predicted object (optional); setting Abort stops the run.
  TOnCheckAbortEvent OnCheckAbort;

 private:
  class TRun;
  void CheckReady() const;
  void ResetResults(int32_t Columns, double Value);
  void Score(const TMatrix& Y, const TDoubleArray& Response, int32_t Row);

  int32_t FTestSize = 2;
  TVector FPress;
  bool FIsRunning = false;
  TVector FTPCnt, FFPCnt, FTNCnt, FFNCnt;
  TMatrix* FXMat = nullptr;
  TMatrix* FYMat = nullptr;
};

}  // namespace zeq
