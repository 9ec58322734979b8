// TCurveFit: the points, their running sums and the descriptive and rank statistics.
//
// The sums are long double and are updated term by term as points come and go, so that the
// statistics cost O(1); the pair counts of the rank statistics cost O(n^2) and are cached until
// the points change.
#include "zeq/math2/curvefit.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <numbers>
#include <vector>

#include "zeq/math1/math1.h"
#include "zeq/statis/statis.h"

namespace zeq {

namespace {

constexpr int32_t GrowBy = 1000;

// The capacity grows by 1000 rows, or by half the current capacity (rounded down to thousands)
// when that is more: growing by a fixed step makes entering n points cost O(n^2) copies, which
// at 10^6 points takes tens of seconds. The first growth, from 1000 to 2000 rows, is the same.
int32_t GrownCapacity(int32_t Rows) {
  const int64_t Step = std::max<int64_t>(GrowBy, static_cast<int64_t>(Rows) / 2000 * 1000);
  return static_cast<int32_t>(std::min<int64_t>(static_cast<int64_t>(Rows) + Step, INT32_MAX));
}
constexpr long double DegToRad = std::numbers::pi_v<long double> / 180;

// sqrt(|(SumSq - Sum^2 / n) / (n - 1)|), 0 for fewer than three values.
double StdDevOfSums(long double Sum, long double SumSq, int32_t N) {
  if (N < 3) return 0.0;
  return static_cast<double>(std::sqrt(std::fabs((SumSq - Sum * Sum / N) / (N - 1))));
}

}  // namespace

TCurveFit::TCurveFit(TComponent* AOwner) : TComponent(AOwner), FData(new TMatrix(nullptr)) {
  FData->Resize(2, GrowBy);
  Init();
}

TCurveFit::~TCurveFit() { delete FData; }

void TCurveFit::Init() {
  sumx = sumy = sumxq = sumyq = sumDiff = SumDiffq = sumxy = sumx2y = sumxy2 = sumx3 = sumy3 = 0;
  FNumData = 0;
  FData->Fill(0.0);
  FMinX = FMinY = DBL_MAX;
  FMaxX = FMaxY = -DBL_MAX;
  FKendallValid = false;
}

// Adds (Sign = 1) or removes (Sign = -1) the point's terms.
void TCurveFit::AddPoint(double x, double y, int Sign) {
  const long double X = x, Y = y, D = X - Y, S = Sign;
  sumx += S * X;
  sumy += S * Y;
  sumxq += S * (X * X);
  sumyq += S * (Y * Y);
  sumDiff += S * D;
  SumDiffq += S * (D * D);
  sumxy += S * (X * Y);
  sumx2y += S * (X * X * Y);
  sumxy2 += S * (Y * Y * X);
  sumx3 += S * (X * X * X);
  sumy3 += S * (Y * Y * Y);
}

int32_t TCurveFit::EnterStatValue(double x, double y) {
  if (FNumData + 1 > FData->NrOfRows()) FData->Resize(2, GrownCapacity(FData->NrOfRows()));
  if (x < FMinX) FMinX = x;
  if (x > FMaxX) FMaxX = x;
  if (y < FMinY) FMinY = y;
  if (y > FMaxY) FMaxY = y;
  AddPoint(x, y, 1);
  ++FNumData;
  FData->SetVal(1, FNumData, x);
  FData->SetVal(2, FNumData, y);
  FKendallValid = false;
  return FNumData;
}

void TCurveFit::RemoveStatValue(int32_t ix) {
  FKendallValid = false;
  if (ix < 1 || ix > FNumData) return;
  AddPoint(FData->GetVal(1, ix), FData->GetVal(2, ix), -1);
  for (int32_t r = ix; r < FNumData; ++r) {
    FData->SetVal(1, r, FData->GetVal(1, r + 1));
    FData->SetVal(2, r, FData->GetVal(2, r + 1));
  }
  --FNumData;
}

void TCurveFit::FlipXY() {
  std::swap(FMinX, FMinY);
  std::swap(FMaxX, FMaxY);
  std::swap(sumx, sumy);
  std::swap(sumxq, sumyq);
  std::swap(sumx2y, sumxy2);
  std::swap(sumx3, sumy3);
  sumDiff = -sumDiff;
  for (int32_t r = 1; r <= FNumData; ++r) {
    const double x = FData->GetVal(1, r);
    FData->SetVal(1, r, FData->GetVal(2, r));
    FData->SetVal(2, r, x);
  }
  FKendallValid = false;
}

double TCurveFit::DataX(int32_t ix) const {
  return ix >= 1 && ix <= FNumData ? FData->GetVal(1, ix) : 0.0;
}
double TCurveFit::DataY(int32_t ix) const {
  return ix >= 1 && ix <= FNumData ? FData->GetVal(2, ix) : 0.0;
}

double TCurveFit::MeanX() const {
  return FNumData < 1 ? 0.0 : static_cast<double>(sumx / FNumData);
}
double TCurveFit::MeanY() const {
  return FNumData < 1 ? 0.0 : static_cast<double>(sumy / FNumData);
}
double TCurveFit::MeanDiff() const {
  return FNumData < 1 ? 0.0 : static_cast<double>(sumDiff / FNumData);
}
double TCurveFit::StdDevX() const { return StdDevOfSums(sumx, sumxq, FNumData); }
double TCurveFit::StdDevY() const { return StdDevOfSums(sumy, sumyq, FNumData); }
double TCurveFit::StdDevDiff() const { return StdDevOfSums(sumDiff, SumDiffq, FNumData); }

double TCurveFit::CorrCoeff() const {
  if (FNumData < 3 || !(sumxq > 0) || !(sumyq > 0)) return 0.0;
  const long double n = FNumData;
  const auto Sxx = static_cast<double>(sumxq - sumx * sumx / n);
  const auto Syy = static_cast<double>(sumyq - sumy * sumy / n);
  if (Sxx == 0 || Syy == 0) return 0.0;
  return static_cast<double>((sumxy - sumx * sumy / n) /
                             std::sqrt(std::fabs(static_cast<long double>(Sxx) * Syy)));
}

void TCurveFit::CalcStatistics(int32_t& NumData, double& MeanX, double& MeanY, double& StdevX,
                               double& StdevY, double& MeanDiff, double& StdevDiff,
                               double& rxy) const {
  NumData = FNumData;
  MeanX = MeanY = StdevX = StdevY = MeanDiff = StdevDiff = rxy = 0.0;
  if (FNumData > 0) {
    MeanX = this->MeanX();
    MeanY = this->MeanY();
    MeanDiff = this->MeanDiff();
  }
  if (FNumData >= 3) {
    StdevX = StdDevX();
    StdevY = StdDevY();
    StdevDiff = StdDevDiff();
    rxy = CorrCoeff();
  }
}

double TCurveFit::SampleMoment(int32_t Col, bool Kurtosis) const {
  if (FNumData < 1) return 0.0;
  double S, K;
  FData->SkewKurtSample(Col, 1, Col, FNumData, S, K);
  return Kurtosis ? K : S;
}
double TCurveFit::SkewnessX() const { return SampleMoment(1, false); }
double TCurveFit::SkewnessY() const { return SampleMoment(2, false); }
double TCurveFit::KurtosisX() const { return SampleMoment(1, true); }
double TCurveFit::KurtosisY() const { return SampleMoment(2, true); }

double TCurveFit::MeanAngle(int32_t Col) const {
  long double S = 0, C = 0;
  for (int32_t r = 1; r <= FNumData; ++r) {
    const long double A = FData->GetVal(Col, r) * DegToRad;
    S += std::sin(A);
    C += std::cos(A);
  }
  const long double a = std::atan(S / C) / DegToRad;
  if (C < 0) return static_cast<double>(180 + a);
  if (S < 0) return static_cast<double>(360 + a);
  return static_cast<double>(a);
}
double TCurveFit::MeanAngleX() const { return MeanAngle(1); }
double TCurveFit::MeanAngleY() const { return MeanAngle(2); }

bool TCurveFit::QuartilesX(double& q1, double& q2, double& q3) const {
  q1 = q2 = q3 = 0.0;
  return FNumData >= 1 && FData->Quartiles(1, 1, 1, FNumData, q1, q2, q3);
}
bool TCurveFit::QuartilesY(double& q1, double& q2, double& q3) const {
  q1 = q2 = q3 = 0.0;
  return FNumData >= 1 && FData->Quartiles(2, 1, 2, FNumData, q1, q2, q3);
}

// ---- rank statistics ----

void TCurveFit::UpdatePairCounts() {
  if (FKendallValid) return;
  FKendallConcord = FKendallDiscord = FKendallTies1 = FKendallTies2 = 0;
  const auto n = static_cast<size_t>(FNumData);
  if (n >= 3) {
    std::vector<double> X(n), Y(n);
    for (size_t i = 0; i < n; ++i) {
      X[i] = FData->GetVal(1, static_cast<int32_t>(i + 1));
      Y[i] = FData->GetVal(2, static_cast<int32_t>(i + 1));
    }
    for (size_t i = 0; i + 1 < n; ++i)
      for (size_t j = i + 1; j < n; ++j) {
        const long double dx = static_cast<long double>(X[i]) - X[j];
        const long double dy = static_cast<long double>(Y[i]) - Y[j];
        const auto p = static_cast<double>(dx * dy);
        if (p > 0) {
          ++FKendallConcord;
        } else if (p < 0) {
          ++FKendallDiscord;
        } else if (p == 0) {  // NaN counts nowhere
          if (dx != 0) ++FKendallTies1;
          if (dy != 0) ++FKendallTies2;
        }
      }
  }
  FKendallValid = true;
}

double TCurveFit::KendallsTau(double& p) {
  UpdatePairCounts();
  const long double Nc = FKendallConcord, Nd = FKendallDiscord;
  const auto Den =
      static_cast<double>(std::sqrt((Nc + Nd + FKendallTies1) * (Nc + Nd + FKendallTies2)));
  p = 0.0;
  if (Den == 0) return 0.0;
  const long double Tau = (Nc - Nd) / Den, n = FNumData;
  const long double z = std::fabs(Tau / std::sqrt((4 * n + 10) / (9 * n * (n - 1))));
  p = 1.0 - ErfApprox(static_cast<double>(z / uc_sqrt2));
  return static_cast<double>(Tau);
}

double TCurveFit::KruskalGamma() {
  UpdatePairCounts();
  const int64_t Sum = FKendallConcord + FKendallDiscord;
  if (Sum == 0) return 0.0;
  return static_cast<double>(static_cast<long double>(FKendallConcord - FKendallDiscord) / Sum);
}

namespace {

// Ranks 1..n into column RankCol of the rows sorted by column KeyCol, runs of equal keys
// sharing the average of their ranks; returns the sum of (t^2 - 1) t / 12 over the runs.
long double RankColumn(TMatrix& W, int32_t n, int32_t KeyCol, int32_t RankCol) {
  W.SortRows(KeyCol, true, 1, 1, 4, n);
  long double Ties = 0;
  int32_t RunStart = 1;
  const auto CloseRun = [&](int32_t RunEnd) {  // rows RunStart..RunEnd hold equal keys
    const long double t = RunEnd - RunStart + 1;
    const double Rank = static_cast<double>((RunStart + RunEnd) / 2.0L);
    for (int32_t r = RunStart; r <= RunEnd; ++r) W.SetVal(RankCol, r, t >= 2 ? Rank : r);
    if (t >= 2) Ties += (t * t - 1) * t / 12;
  };
  for (int32_t r = 2; r <= n; ++r)
    if (W.GetVal(KeyCol, r) != W.GetVal(KeyCol, r - 1)) {
      CloseRun(r - 1);
      RunStart = r;
    }
  CloseRun(n);
  return Ties;
}

}  // namespace

double TCurveFit::SpearmanRankCorr() const {
  const int32_t n = FNumData;
  if (n < 3) return 0.0;
  TMatrix W;
  W.Resize(4, n);
  W.CopyFrom(FData, 1, 1, 2, n, 1, 1);
  const long double Tx = RankColumn(W, n, 1, 3), Ty = RankColumn(W, n, 2, 4);
  TKahanSum D;
  for (int32_t r = 1; r <= n; ++r) {
    const double Diff = W.GetVal(3, r) - W.GetVal(4, r);
    D.Add(Diff * Diff);
  }
  const long double nl = n, N3 = nl * (nl * nl - 1);
  if (Tx == 0 && Ty == 0) return static_cast<double>(1 - 6 * D.Sum / N3);
  if (12 * Tx == N3 || 12 * Ty == N3) return 0.0;
  return static_cast<double>((N3 - 6 * (D.Sum + Tx + Ty)) /
                             std::sqrt((N3 - 12 * Tx) * (N3 - 12 * Ty)));
}

}  // namespace zeq
