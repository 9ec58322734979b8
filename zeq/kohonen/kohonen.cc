// TKohonen: weights, training passes and the application of the map.
//
// A pass works on plain copies: the training rows packed row by row and the weights neuron by
// neuron (features contiguous), written back to the weight array before each feedback, so that
// a handler reading GetWeight sees the finished pass. The order of every sum and update is the
// documented one.
#include "zeq/kohonen/kohonen.h"

#include <algorithm>
#include <cmath>

namespace zeq {

TKohonen::TKohonen(TComponent* AOwner) : TComponent(AOwner) {
  NewScales();
  SetWeigtsToRandom();
}

void TKohonen::NewWeights() {
  TMat3D Fresh;
  Fresh.Resize(FSizeX, FSizeY, FNrInSens);
  FKohMat.Clone(&Fresh);
}

void TKohonen::NewScales() {
  MeanVec.SetVecSize(FNrInSens);
  MeanVec.Fill(0);
  StdDevVec.SetVecSize(FNrInSens);
  StdDevVec.Fill(1);
}

void TKohonen::SetSizeX(int32_t n) {
  if (n < 1) return;
  FSizeX = n;
  NewWeights();
}

void TKohonen::SetSizeY(int32_t n) {
  if (n < 1) return;
  FSizeY = n;
  NewWeights();
}

void TKohonen::SetNumInsens(int32_t n) {
  if (n < 1) return;
  FNrInSens = n;
  NewWeights();
  FDataMat.Resize(n, FNrTrnObj);
  FDataMat.Fill(0);
  NewScales();
}

void TKohonen::SetDataMat(const TMatrix* m) {
  if (m == nullptr) return;
  FDataMat.Clone(m);
  FNrInSens = std::max(1, m->NrOfColumns());
  FNrTrnObj = m->NrOfRows();
  NewWeights();
  NewScales();
}

void TKohonen::DoFeedback(int32_t Percent) {
  if (OnFeedback) OnFeedback(this, Percent);
}

void TKohonen::StandardizeData() { FDataMat.StandardizeColumns(&MeanVec, &StdDevVec); }

void TKohonen::SetWeigtsToRandom() {
  for (int32_t x = 1; x <= FSizeX; ++x)
    for (int32_t y = 1; y <= FSizeY; ++y)
      for (int32_t k = 1; k <= FNrInSens; ++k) FKohMat.SetVal(x, y, k, (Random() - 0.5) * 0.2);
}

void TKohonen::Trainit() {
  FCurStep = 1;
  SetWeigtsToRandom();
  ContinueTraining();
}

namespace {

// Squared distance of a weight vector and an object over n features, in feature order.
double SquaredDistance(const double* W, const double* D, int32_t n) {
  double Sum = 0;
  for (int32_t k = 0; k < n; ++k) Sum = Sum + (W[k] - D[k]) * (W[k] - D[k]);
  return Sum;
}

// The neighbourhood positions along one axis of Size neurons around Center with radius r:
// clipped to the map, or wrapped once on a cyclic map.
std::vector<int32_t> Neighbourhood(int32_t Center, int32_t r, int32_t Size, bool Cyclic) {
  std::vector<int32_t> P;
  for (int32_t i = Center - r; i <= Center + r; ++i) {
    if (Cyclic)
      P.push_back(i < 1 ? i + Size : i > Size ? i - Size : i);
    else if (i >= 1 && i <= Size)
      P.push_back(i);
  }
  return P;
}

}  // namespace

std::vector<double> TKohonen::PackedWeights() const {
  std::vector<double> W;
  W.reserve(static_cast<size_t>(FSizeX) * FSizeY * FNrInSens);
  for (int32_t x = 1; x <= FSizeX; ++x)
    for (int32_t y = 1; y <= FSizeY; ++y)
      for (int32_t k = 1; k <= FNrInSens; ++k) W.push_back(FKohMat.GetVal(x, y, k));
  return W;
}

void TKohonen::TrainPass(std::vector<double>& W, const std::vector<double>& Data) {
  const int32_t n = FNrInSens;
  const auto Neuron = [&](int32_t x, int32_t y) {
    return &W[(static_cast<size_t>(x - 1) * FSizeY + static_cast<size_t>(y - 1)) * n];
  };
  for (int32_t j = 0; j < FNrTrnObj; ++j) {
    const double* d = &Data[static_cast<size_t>(j) * n];
    int32_t wx = 1, wy = 1;
    double Dmin = SquaredDistance(Neuron(1, 1), d, n);
    for (int32_t x = 1; x <= FSizeX; ++x)
      for (int32_t y = 1; y <= FSizeY; ++y) {
        const double D = SquaredDistance(Neuron(x, y), d, n);
        if (D < Dmin) Dmin = D, wx = x, wy = y;
      }
    int32_t rx = FCurNeighb, ry = FCurNeighb;
    if (FCyclic) {
      rx = std::clamp(rx, 0, std::max(0, FSizeX / 2 - 1));
      ry = std::clamp(ry, 0, std::max(0, FSizeY / 2 - 1));
    }
    const std::vector<int32_t> Ys = Neighbourhood(wy, ry, FSizeY, FCyclic);
    for (int32_t x : Neighbourhood(wx, rx, FSizeX, FCyclic))
      for (int32_t y : Ys) {
        double* w = Neuron(x, y);
        const double a = FCurAlpha * (1 / (std::sqrt(SquaredDistance(w, d, n) - Dmin) + 1));
        for (int32_t k = 0; k < n; ++k) w[k] = w[k] + (d[k] - w[k]) * a;
      }
  }
}

void TKohonen::ContinueTraining() {
  const int32_t n = FNrInSens;
  std::vector<double> Data(static_cast<size_t>(FNrTrnObj) * n), W = PackedWeights();
  for (int32_t j = 1; j <= FNrTrnObj; ++j)
    for (int32_t k = 1; k <= n; ++k)
      Data[static_cast<size_t>(j - 1) * n + (k - 1)] = FDataMat.GetVal(k, j);
  const auto WriteBack = [&] {
    size_t w = 0;
    for (int32_t x = 1; x <= FSizeX; ++x)
      for (int32_t y = 1; y <= FSizeY; ++y)
        for (int32_t k = 1; k <= n; ++k) FKohMat.SetVal(x, y, k, W[w++]);
  };
  struct TClearAbort {
    bool& Flag;
    ~TClearAbort() { Flag = false; }
  } Clear{FAbort};
  FAbort = false;
  const double N = FMaxSteps, R0 = FMaxNeighb;
  do {
    const double f = (N - FCurStep) / N;
    FCurNeighb = static_cast<int32_t>(std::nearbyint(f * f * (R0 - 1) + 1));
    FCurAlpha = f * f * FMaxAlpha;
    TrainPass(W, Data);
    WriteBack();
    DoFeedback(static_cast<int32_t>(std::nearbyint(FCurStep * 100.0 / N)));
    ++FCurStep;
  } while (!FAbort && FCurStep < FMaxSteps);
}

void TKohonen::ApplyIt(const TVector* InData, int32_t& BestIx, int32_t& BestIy,
                       double& Distance) const {
  Distance = static_cast<double>(uc_MaxDouble);
  if (InData == nullptr) return;
  std::vector<double> z(static_cast<size_t>(FNrInSens));
  for (int32_t k = 1; k <= FNrInSens; ++k) {
    const double Centred = InData->GetVal(k) - MeanVec.GetVal(k), s = StdDevVec.GetVal(k);
    z[static_cast<size_t>(k - 1)] = s == 0 ? Centred : Centred / s;
  }
  const std::vector<double> W = PackedWeights();
  const double* Neuron = W.data();
  for (int32_t x = 1; x <= FSizeX; ++x)
    for (int32_t y = 1; y <= FSizeY; ++y, Neuron += FNrInSens) {
      const double D = SquaredDistance(Neuron, z.data(), FNrInSens);
      if (D < Distance) Distance = D, BestIx = x, BestIy = y;
    }
}

double TKohonen::GetWeight(int32_t x, int32_t y, int32_t k) const {
  if (x < 1 || x > FSizeX || y < 1 || y > FSizeY || k < 1 || k > FNrInSens) return 0.0;
  return MeanVec.GetVal(k) + StdDevVec.GetVal(k) * FKohMat.GetVal(x, y, k);
}

}  // namespace zeq
