// TCrossValidator: the events in order, the scores of a model computed by hand, and the state
// left by aborts, failed builds and throwing handlers.
#include <stdexcept>

#include "zeq/statis/statis.h"
#include "zeq/testing/test_util.h"

namespace zeq {
namespace {

// x in column 1 of X; y in column 1 of Y and a 0/1 label in column 2.
struct CrossValidatorLineModel : ::testing::Test {
  TMatrix X, Y;
  TCrossValidator CV;
  std::vector<std::string> Events;
  double a = 0, b = 0;  // the model y = a + b x, fitted by least squares

  void SetUp() override {
    X.Resize(1, 4);
    Y.Resize(2, 4);
    const double xs[] = {0, 1, 2, 3}, ys[] = {1, 3, 2, 5}, Labels[] = {1, 0, 0, 1};
    for (int32_t r = 1; r <= 4; ++r) {
      X.SetVal(1, r, xs[r - 1]);
      Y.SetVal(1, r, ys[r - 1]);
      Y.SetVal(2, r, Labels[r - 1]);
    }
    CV.SetXMat(&X);
    CV.SetYMat(&Y);
    CV.OnModelCreateRequest = [this](TObject*, int32_t Percent, const TIntArray& Rows,
                                     bool& Success) {
      Events.push_back(Event('C', Percent) + "/" + std::to_string(Rows.size()));
      Fit(Rows);
      Success = true;
    };
    // The label is predicted by the fixed rule x < 1.5, whatever the training set.
    CV.OnModelApplyRequest = [this](TObject*, int32_t Percent, const TDoubleArray& Predictors,
                                    TDoubleArray& Response) {
      Events.push_back(Event('A', Percent));
      Response[0] = a + b * Predictors[0];
      Response[1] = Predictors[0] < 1.5 ? 1 : 0;
    };
  }

  // (GCC 12 warns falsely about "A" + std::to_string(...) under -O2.)
  static std::string Event(char Kind, int32_t Percent) {
    return std::string(1, Kind).append(std::to_string(Percent));
  }

  void Fit(const TIntArray& Rows) {
    double Sx = 0, Sy = 0, Sxx = 0, Sxy = 0;
    const auto n = static_cast<double>(Rows.size());
    for (int32_t r : Rows) {
      const double x = X.GetVal(1, r), y = Y.GetVal(1, r);
      Sx += x, Sy += y, Sxx += x * x, Sxy += x * y;
    }
    b = (n * Sxy - Sx * Sy) / (n * Sxx - Sx * Sx);
    a = (Sy - b * Sx) / n;
  }

  void ExpectInvalidResults() {
    for (auto Result :
         {&TCrossValidator::Press, &TCrossValidator::TPCount, &TCrossValidator::FPCount,
          &TCrossValidator::TNCount, &TCrossValidator::FNCount})
      for (int32_t k = 1; k <= 2; ++k) EXPECT_EQ((CV.*Result)(k), -1);
    EXPECT_FALSE(CV.IsRunning());
  }
};

TEST_F(CrossValidatorLineModel, LeaveOneOutScoresMatchTheHandComputedPredictions) {
  CV.OnCheckAbort = [this](TObject*, bool&) { Events.push_back("K"); };
  CV.SetTestSize(1);
  ASSERT_TRUE(CV.Execute());
  // Leave-out predictions 4/3, 13/7, 27/7, 3 for y = 1, 3, 2, 5 (exact fractions):
  // PRESS = 1/9 + 64/49 + 169/49 + 4 = 3910/441.
  EXPECT_NEAR(CV.Press(1), 3910.0 / 441, 1e-13);
  EXPECT_NEAR(CV.GetRMSEP(1), std::sqrt(3910.0 / 441 / 4), 1e-14);
  // Labels 1, 0, 0, 1 against the rule's 1, 1, 0, 0: one of each outcome.
  for (double Count : {CV.TPCount(2), CV.FPCount(2), CV.TNCount(2), CV.FNCount(2)})
    EXPECT_EQ(Count, 1);
  EXPECT_EQ((std::tuple{CV.GetTPRate(2), CV.GetFPRate(2)}), (std::tuple{0.5, 0.5}));
  EXPECT_EQ(CV.GetTPRate(1), 0);  // y = 1 occurs once but is never predicted within 0.001
  const std::vector<std::string> Expected = {"C0/3",  "A25", "K", "C25/3", "A50",  "K",
                                             "C50/3", "A75", "K", "C75/3", "A100", "K"};
  EXPECT_EQ(Events, Expected);
  EXPECT_FALSE(CV.IsRunning());
}

TEST_F(CrossValidatorLineModel, RatesWithoutOneClass) {
  for (int32_t r = 1; r <= 4; ++r) Y.SetVal(2, r, 1);  // every label 1: no negatives
  CV.Execute();
  EXPECT_EQ((std::tuple{CV.GetFPRate(2), CV.GetTPRate(2)}), (std::tuple{1, 0.5}));
  for (int32_t r = 1; r <= 4; ++r) Y.SetVal(2, r, 0.5);  // never exactly 1: no positives
  CV.Execute();
  EXPECT_EQ(CV.GetTPRate(2), 0);
}

TEST_F(CrossValidatorLineModel, TestSetsAreLoweredAndTheRestIsTakenAtOnce) {
  X.Resize(1, 10);
  Y.Resize(2, 10);
  CV.SetTestSize(8);
  ASSERT_TRUE(CV.Execute());
  EXPECT_EQ(CV.SizeTestSet(), 6);  // 10 div 2 + 1
  // Training sets of 4 (a drawn test set of 6), then of 6 (the remaining 4).
  EXPECT_EQ((std::tuple{Events.front(), Events[7]}), (std::tuple{"C0/4", "C60/6"}));
  EXPECT_EQ(Events.size(), 12u);
  CV.SetTestSize(0);
  EXPECT_EQ(CV.SizeTestSet(), 1);
  ExpectInvalidResults();
}

TEST_F(CrossValidatorLineModel, AbortAfterTheFirstPredictionInvalidatesTheResults) {
  CV.OnCheckAbort = [](TObject*, bool& Abort) { Abort = true; };
  EXPECT_FALSE(CV.Execute());
  EXPECT_EQ(Events.size(), 2u);
  ExpectInvalidResults();
}

TEST_F(CrossValidatorLineModel, FailedBuildsReturnTheirObjectsToThePool) {
  int32_t Builds = 0;
  std::vector<int32_t> Predicted;
  CV.OnModelCreateRequest = [&](TObject*, int32_t, const TIntArray& Rows, bool& Success) {
    Fit(Rows);
    Success = ++Builds > 3;
  };
  CV.OnModelApplyRequest = [&](TObject*, int32_t, const TDoubleArray& P, TDoubleArray& R) {
    Predicted.push_back(static_cast<int32_t>(P[0]));
    R[0] = R[1] = 0;
  };
  CV.SetTestSize(1);
  ASSERT_TRUE(CV.Execute());
  std::sort(Predicted.begin(), Predicted.end());
  EXPECT_EQ(Predicted, (std::vector<int32_t>{0, 1, 2, 3}));  // each object exactly once
  // A model that never builds: the run gives up after 100 attempts.
  Builds = -1000000;
  EXPECT_FALSE(CV.Execute());
  EXPECT_EQ(Builds, -1000000 + 100);
  ExpectInvalidResults();
}

TEST_F(CrossValidatorLineModel, AThrowingHandlerLeavesAUsableValidator) {
  const auto Apply = CV.OnModelApplyRequest;
  CV.OnModelApplyRequest = [](TObject*, int32_t, const TDoubleArray&, TDoubleArray&) {
    throw std::runtime_error("model failed");
  };
  EXPECT_THROW(CV.Execute(), std::runtime_error);
  ExpectInvalidResults();
  CV.OnModelApplyRequest = [](TObject*, int32_t, const TDoubleArray&, TDoubleArray& R) {
    R.resize(1);
  };
  test::ExpectThrowMessage<EZEQStatisError>(
      [&] { CV.Execute(); },
      "TCrossValidator: OnModelApplyRequest must return one response per column of YMat");
  ExpectInvalidResults();
  CV.OnModelApplyRequest = [&](TObject* S, int32_t P, const TDoubleArray& X, TDoubleArray& R) {
    test::ExpectThrowMessage<EZEQStatisError>([&] { CV.Execute(); },
                                              "TCrossValidator.Execute: already running");
    Apply(S, P, X, R);
  };
  CV.SetTestSize(1);
  EXPECT_TRUE(CV.Execute());
  EXPECT_NEAR(CV.Press(1), 3910.0 / 441, 1e-13);
}

TEST(CrossValidator, ChecksItsSetupInOrder) {
  TCrossValidator CV;
  const auto Expect = [&](const std::string& Message) {
    test::ExpectThrowMessage<EZEQStatisError>([&] { CV.Execute(); }, Message);
  };
  TMatrix X, Y;
  X.Resize(2, 5);
  Y.Resize(1, 4);
  CV.SetXMat(&X);
  Expect("TCrossValidator.Execute: data matrix not assigned");
  CV.SetYMat(&Y);
  Expect("TCrossValidator.Execute: number of rows of XMat and YMat not equal");
  Y.Resize(1, 5);
  Expect("TCrossValidator: OnModelApplyRequest event is not assigned");
  CV.OnModelApplyRequest = [](TObject*, int32_t, const TDoubleArray&, TDoubleArray&) {};
  Expect("TCrossValidator: OnModelCreateRequest event is not assigned");
  EXPECT_EQ(CV.SizeTestSet(), 2);
  EXPECT_EQ(CV.GetFPRate(1), 0.5);  // results start invalid: (-1) / (-1 + -1)
}

}  // namespace
}  // namespace zeq
