// k-means partitioning, its step estimate, and the centre finder that merges the closest
// objects.
//
// The objects are copied once into rows of a contiguous array; squared distances are summed in
// extended precision over the columns.
#include <algorithm>
#include <cfloat>
#include <cmath>
#include <limits>
#include <numeric>
#include <vector>

#include "zeq/math2/cluster.h"

namespace zeq {

namespace {

// The rows of a matrix (or of a range of its rows) as contiguous arrays of P values.
struct TObjects {
  size_t N = 0, P = 0;
  std::vector<double> X;

  TObjects(const TMatrix& M, int32_t First, int32_t Last)
      : N(static_cast<size_t>(std::max(Last - First + 1, 0))),
        P(static_cast<size_t>(M.NrOfColumns())),
        X(N * P) {
    for (size_t i = 0; i < N; ++i)
      for (size_t c = 0; c < P; ++c)
        X[i * P + c] = M.GetVal(static_cast<int32_t>(c + 1), First + static_cast<int32_t>(i));
  }
  double* Row(size_t i) { return &X[i * P]; }
  const double* Row(size_t i) const { return &X[i * P]; }
};

long double SquaredDistance(const double* A, const double* B, size_t P) {
  long double S = 0.0L;
  for (size_t c = 0; c < P; ++c) {
    const long double D = static_cast<long double>(A[c]) - B[c];
    S += D * D;
  }
  return S;
}

// Assigns every object to its nearest centre (strictly nearer wins; 0 when none compares below
// the largest double); true when an assignment changed.
bool AssignObjects(const TObjects& O, const std::vector<double>& Centres, size_t K,
                   std::vector<int32_t>& Class) {
  bool Changed = false;
  for (size_t i = 0; i < O.N; ++i) {
    long double Best = DBL_MAX;
    int32_t BestClass = 0;
    for (size_t c = 0; c < K; ++c) {
      const long double D = SquaredDistance(O.Row(i), &Centres[c * O.P], O.P);
      if (D < Best) {
        Best = D;
        BestClass = static_cast<int32_t>(c + 1);
      }
    }
    if (BestClass != Class[i]) {
      Class[i] = BestClass;
      Changed = true;
    }
  }
  return Changed;
}

// Every centre := the mean of its members (zeros without members); returns the sizes.
std::vector<int32_t> UpdateCentres(const TObjects& O, const std::vector<int32_t>& Class, size_t K,
                                   std::vector<double>& Centres) {
  std::vector<int32_t> Size(K, 0);
  std::vector<long double> Sum(K * O.P, 0.0L);
  for (size_t i = 0; i < O.N; ++i) {
    if (Class[i] < 1) continue;
    const auto c = static_cast<size_t>(Class[i] - 1);
    ++Size[c];
    for (size_t v = 0; v < O.P; ++v) Sum[c * O.P + v] += O.Row(i)[v];
  }
  for (size_t c = 0; c < K; ++c)
    for (size_t v = 0; v < O.P; ++v)
      Centres[c * O.P + v] = Size[c] > 0 ? static_cast<double>(Sum[c * O.P + v] / Size[c]) : 0.0;
  return Size;
}

}  // namespace

double kMeansClustering(const TMatrix* DataMat, int32_t /*Unused1*/, int32_t /*Unused2*/,
                        int32_t NumClusters, int32_t RandSeed, TMatrix* Centers,
                        TIntVector* ClassIdx, TIntVector* ClusterSizes) {
  if (DataMat == nullptr || Centers == nullptr || ClassIdx == nullptr || NumClusters < 1)
    return 0.0;
  if (NumClusters > DataMat->NrOfRows())
    throw EZEQMath2Error("kMeansClustering: number of clusters is greater than number of objects");
  const TObjects O(*DataMat, 1, DataMat->NrOfRows());
  const auto K = static_cast<size_t>(NumClusters);
  const auto P = static_cast<int32_t>(O.P);
  if (Centers->NrOfColumns() != P || Centers->NrOfRows() != NumClusters)
    Centers->Resize(P, NumClusters);
  if (ClassIdx->NrOfElem() != static_cast<int32_t>(O.N))
    ClassIdx->Resize(static_cast<int32_t>(O.N));
  if (ClusterSizes != nullptr) ClusterSizes->Resize(NumClusters);

  std::vector<double> Centres(K * O.P);
  if (RandSeed >= 1) SetRandSeed(static_cast<uint64_t>(RandSeed));
  for (size_t c = 0; c < K; ++c) {
    const size_t Obj = RandSeed < 1 ? c : static_cast<size_t>(Random(static_cast<int32_t>(O.N)));
    std::copy_n(O.Row(Obj), O.P, &Centres[c * O.P]);
  }
  std::vector<int32_t> Class(O.N, 0), Size(K, 0);
  int32_t Iterations = 0;
  bool Changed = true;
  while (Changed && Iterations < 1001 && !AbortRequested()) {
    ++Iterations;
    AdvanceProgress(1.0);
    Changed = AssignObjects(O, Centres, K, Class);
    if (Changed) Size = UpdateCentres(O, Class, K, Centres);
  }
  if (AbortRequested()) return 0.0;
  long double Total = 0.0L;
  for (size_t i = 0; i < O.N; ++i)
    if (Class[i] > 0)
      Total += SquaredDistance(O.Row(i), &Centres[static_cast<size_t>(Class[i] - 1) * O.P], O.P);

  // Renumber by decreasing size, equal sizes in their order: old cluster Order[r] becomes r + 1.
  std::vector<size_t> Order(K);
  std::iota(Order.begin(), Order.end(), 0);
  std::stable_sort(Order.begin(), Order.end(),
                   [&](size_t a, size_t b) { return Size[a] > Size[b]; });
  std::vector<int32_t> NewNumber(K + 1, 0);
  for (size_t r = 0; r < K; ++r) NewNumber[Order[r] + 1] = static_cast<int32_t>(r + 1);
  for (size_t i = 0; i < O.N; ++i)
    ClassIdx->SetVal(static_cast<int32_t>(i + 1), NewNumber[static_cast<size_t>(Class[i])]);
  for (size_t r = 0; r < K; ++r) {
    for (size_t v = 0; v < O.P; ++v)
      Centers->SetVal(static_cast<int32_t>(v + 1), static_cast<int32_t>(r + 1),
                      Centres[Order[r] * O.P + v]);
    if (ClusterSizes != nullptr) ClusterSizes->SetVal(static_cast<int32_t>(r + 1), Size[Order[r]]);
  }
  if (Iterations > 1000)
    throw EZEQMath2Error("kMeansClustering: max. number of iterations exceeded");
  return static_cast<double>(Total);
}

double kMeansClustering(const TMatrix* DataMat, int32_t Unused1, int32_t Unused2,
                        int32_t NumClusters, TMatrix* Centers, TIntVector* ClassIdx) {
  return kMeansClustering(DataMat, Unused1, Unused2, NumClusters, 0, Centers, ClassIdx, nullptr);
}

int32_t kMeansEstimatedSteps(int32_t NumObj, int32_t NumVars, int32_t NumClusters) {
  const long double a = NumObj, v = NumVars, c = NumClusters;
  const long double Steps = 0.18232L * std::sqrt(a * v) - 108 - 0.00092427L * a -
                            0.00017557L * a * c + 0.38775L * std::sqrt(a * c);
  const long double Rounded = std::nearbyint(Steps);
  return !(Rounded >= 20) ? 20 : static_cast<int32_t>(std::min<long double>(Rounded, INT32_MAX));
}

void FindCenters(const TMatrix* DataMat, int32_t LoObj, int32_t HiObj, int32_t NumCenters,
                 TMatrix* Centers, double& MeanDist) {
  MeanDist = 1e10;
  if (DataMat == nullptr || Centers == nullptr || DataMat->NrOfRows() < 1) return;
  DataMat->MakeValidRowRange(LoObj, HiObj);
  TObjects O(*DataMat, LoObj, HiObj);
  std::vector<double> W(O.N, 1.0);
  // Merge the closest pair while more than NumCenters objects remain. The closest pair is
  // searched from +infinity rather than from 1e10, so that objects whose squared distances all
  // exceed 1e10 merge as well (the same pairs are found whenever one is closer than that).
  for (size_t m = O.N; m > static_cast<size_t>(std::max(NumCenters, 1)); --m) {
    AdvanceProgress(1.0);
    long double Best = std::numeric_limits<long double>::infinity();
    size_t I = m, J = m;
    for (size_t i = 0; i + 1 < m; ++i)
      for (size_t j = i + 1; j < m; ++j) {
        const long double D = SquaredDistance(O.Row(i), O.Row(j), O.P);
        if (D < Best) {
          Best = D;
          I = i;
          J = j;
        }
      }
    if (I == m) break;  // all distances NaN
    for (size_t v = 0; v < O.P; ++v)
      O.Row(I)[v] = static_cast<double>((W[I] * static_cast<long double>(O.Row(I)[v]) +
                                         W[J] * static_cast<long double>(O.Row(J)[v])) /
                                        (W[I] + W[J]));
    W[I] += W[J];
    std::copy_n(O.Row(m - 1), O.P, O.Row(J));  // the last object fills slot j
    W[J] = W[m - 1];
  }
  const auto K =
      static_cast<int32_t>(std::min<size_t>(static_cast<size_t>(std::max(NumCenters, 0)), O.N));
  for (int32_t c = 1; c <= K; ++c)
    for (int32_t v = 1; v <= Centers->NrOfColumns(); ++v)
      Centers->SetVal(
          v, c, static_cast<size_t>(v) <= O.P ? O.Row(static_cast<size_t>(c - 1))[v - 1] : 0.0);
  // The mean over the centres of the distance to the nearest other centre.
  long double Sum = 0.0L;
  for (int32_t c = 1; c <= K; ++c) {
    long double Nearest = std::numeric_limits<long double>::infinity();
    for (int32_t d = 1; d <= K; ++d) {
      if (d == c) continue;
      long double S = 0.0L;
      for (int32_t v = 1; v <= Centers->NrOfColumns(); ++v) {
        const long double Diff =
            static_cast<long double>(Centers->GetVal(v, c)) - Centers->GetVal(v, d);
        S += Diff * Diff;
      }
      Nearest = std::min(Nearest, std::sqrt(S));
    }
    Sum += std::isinf(Nearest) ? 1e10L : Nearest;
  }
  if (K > 0) MeanDist = static_cast<double>(Sum / K);
}

}  // namespace zeq
