// TCrossValidator: drawing the test sets, asking for models and predictions, and scoring them.
//
// One run lives in a TRun: the used and test bit fields, the buffers handed to the events and
// the count of predicted objects. Its destructor clears the running flag and, unless the run
// finished, marks the results invalid, so that an event that throws leaves a usable validator.
#include "zeq/statis/crossvalidator.h"

#include <cmath>
#include <limits>

#include "zeq/base/random.h"
#include "zeq/statis/statis.h"

namespace zeq {

namespace {

// A run gives up, as if aborted, after this many failed model builds in a row.
constexpr int32_t MaxFailedBuilds = 100;

}  // namespace

class TCrossValidator::TRun {
 public:
  // The matrices are taken once: an event that reassigns XMat or YMat does not affect this run.
  explicit TRun(TCrossValidator& CV)
      : FCV(CV),
        FX(*CV.FXMat),
        FY(*CV.FYMat),
        FObjects(FX.NrOfRows()),
        FPredictors(FX.NrOfColumns()),
        FResponse(FY.NrOfColumns()) {
    FUsed.SetSize(FObjects);
    FTest.SetSize(FObjects);
    FCV.FIsRunning = true;
  }
  ~TRun() {
    FCV.FIsRunning = false;
    if (!FFinished) FCV.ResetResults(FY.NrOfColumns(), -1);
  }

  // True when every object was predicted, false when aborted or when model builds kept failing.
  bool Validate() {
    int32_t FailedBuilds = 0;
    bool Aborted = false;
    while (!Aborted) {
      DrawTestSet();
      if (BuildModel()) {
        FailedBuilds = 0;
        Aborted = PredictTestSet();
      } else {
        FUsed.CombineWith(&FTest, loAndNot);  // the test objects go back to the pool
        FUsedCount -= static_cast<int32_t>(FTestList.size());
        Aborted = ++FailedBuilds >= MaxFailedBuilds;
      }
      if (FUsedCount == FObjects) break;
    }
    FFinished = !Aborted;
    return FFinished;
  }

 private:
  int32_t Percent() const {
    return static_cast<int32_t>(std::nearbyint(static_cast<double>(FPredicted) / FObjects * 100));
  }

  // The remaining objects when they fit one set, else SizeTestSet objects drawn at random (a
  // used draw moves on to the next unused object, wrapping from the last to the first).
  void DrawTestSet() {
    FTest.Clear();
    const int32_t m = FObjects;
    if (m - FUsedCount <= FCV.FTestSize) {
      for (int32_t r = 1; r <= m; ++r)
        if (!FUsed.GetBit(r)) FTest.SetBit(r, true);
      for (int32_t r = 1; r <= m; ++r) FUsed.SetBit(r, true);
      FUsedCount = m;
      return;
    }
    for (int32_t i = 0; i < FCV.FTestSize; ++i) {
      int32_t r = zeq::Random(m) + 1;
      while (FUsed.GetBit(r)) r = r == m ? 1 : r + 1;
      FUsed.SetBit(r, true);
      FTest.SetBit(r, true);
      ++FUsedCount;
    }
  }

  bool BuildModel() {
    FTestList.clear();
    FTrainingList.clear();
    for (int32_t r = 1; r <= FObjects; ++r)
      (FTest.GetBit(r) ? FTestList : FTrainingList).push_back(r);
    bool Success = false;
    FCV.OnModelCreateRequest(&FCV, Percent(), FTrainingList, Success);
    return Success;
  }

  // Predicts and scores the test objects in order; true when OnCheckAbort asked to stop.
  bool PredictTestSet() {
    for (int32_t r : FTestList) {
      ++FPredicted;
      for (size_t j = 0; j < FPredictors.size(); ++j)
        FPredictors[j] = FX.GetVal(static_cast<int32_t>(j) + 1, r);
      FCV.OnModelApplyRequest(&FCV, Percent(), FPredictors, FResponse);
      if (FResponse.size() < static_cast<size_t>(FY.NrOfColumns()))
        throw EZEQStatisError(
            "TCrossValidator: OnModelApplyRequest must return one response per column of YMat");
      FCV.Score(FY, FResponse, r);
      bool Abort = false;
      if (FCV.OnCheckAbort) FCV.OnCheckAbort(&FCV, Abort);
      if (Abort) return true;
    }
    return false;
  }

  TCrossValidator& FCV;
  const TMatrix &FX, &FY;
  const int32_t FObjects;
  int32_t FUsedCount = 0;
  TBitFld FUsed, FTest;
  TDoubleArray FPredictors, FResponse;
  TIntArray FTestList, FTrainingList;
  int32_t FPredicted = 0;
  bool FFinished = false;
};

TCrossValidator::TCrossValidator(TComponent* AOwner) : TComponent(AOwner) { ResetResults(1, -1); }

void TCrossValidator::SetTestSize(int32_t n) {
  FTestSize = n < 1 ? 1 : n;
  ResetResults(FPress.NrOfElem(), -1);
}

void TCrossValidator::ResetResults(int32_t Columns, double Value) {
  for (TVector* v : {&FPress, &FTPCnt, &FFPCnt, &FTNCnt, &FFNCnt}) {
    v->SetVecSize(Columns);
    v->Fill(Value);
  }
}

void TCrossValidator::CheckReady() const {
  if (FXMat == nullptr || FYMat == nullptr)
    throw EZEQStatisError("TCrossValidator.Execute: data matrix not assigned");
  if (FXMat->NrOfRows() != FYMat->NrOfRows())
    throw EZEQStatisError("TCrossValidator.Execute: number of rows of XMat and YMat not equal");
  if (!OnModelApplyRequest)
    throw EZEQStatisError("TCrossValidator: OnModelApplyRequest event is not assigned");
  if (!OnModelCreateRequest)
    throw EZEQStatisError("TCrossValidator: OnModelCreateRequest event is not assigned");
  if (FIsRunning) throw EZEQStatisError("TCrossValidator.Execute: already running");
}

bool TCrossValidator::Execute() {
  CheckReady();
  const int32_t m = FXMat->NrOfRows();
  if (FTestSize > m / 2 + 1) FTestSize = m / 2 + 1;
  ResetResults(FYMat->NrOfColumns(), 0);
  if (m == 0) return true;  // nothing to validate
  TRun Run(*this);
  return Run.Validate();
}

void TCrossValidator::Score(const TMatrix& Y, const TDoubleArray& Response, int32_t Row) {
  for (int32_t k = 1; k <= Y.NrOfColumns(); ++k) {
    const double y = Y.GetVal(k, Row), Predicted = Response[k - 1];
    const double Error = Predicted - y;
    FPress.SetVal(k, FPress.GetVal(k) + Error * Error);
    const bool Right = std::fabs(Error) < 0.001;
    TVector& Count = y == 1 ? (Right ? FTPCnt : FFNCnt) : (Right ? FTNCnt : FFPCnt);
    Count.SetVal(k, Count.GetVal(k) + 1);
  }
}

double TCrossValidator::GetRMSEP(int32_t k) const {
  if (FXMat == nullptr) return std::numeric_limits<double>::quiet_NaN();
  return std::sqrt(FPress.GetVal(k) / FXMat->NrOfRows());
}

double TCrossValidator::GetTPRate(int32_t k) const {
  const double Sum = FTPCnt.GetVal(k) + FFNCnt.GetVal(k);
  return Sum == 0 ? 0.0 : FTPCnt.GetVal(k) / Sum;
}

double TCrossValidator::GetFPRate(int32_t k) const {
  const double Sum = FFPCnt.GetVal(k) + FTNCnt.GetVal(k);
  return Sum == 0 ? 1.0 : FFPCnt.GetVal(k) / Sum;
}

}  // namespace zeq
