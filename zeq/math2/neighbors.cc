// Nearest neighbours: the search, the k-nearest-neighbour estimates, mean neighbour distances,
// and the Gaussian kernels.
//
// Neighbour lists keep the best distances in ascending order; a new distance equal to a listed
// one goes after it, so equal distances keep the order of their objects.
#include <algorithm>
#include <cfloat>
#include <cmath>
#include <vector>

#include "zeq/math2/cluster.h"
#include "zeq/math2/internal/least_squares.h"

namespace zeq {

namespace {

// The K best (smallest) distances seen, ascending, with their objects.
class TNeighbourList {
 public:
  explicit TNeighbourList(size_t K) : FDist(K, DBL_MAX), FObj(K, 0) {}
  void Offer(double D, int32_t Obj) {
    // The first listed distance above D; a NaN or a distance not below the largest double is
    // never listed.
    const auto At = std::upper_bound(FDist.begin(), FDist.end(), D);
    if (At == FDist.end() || !(D < DBL_MAX)) return;
    const auto Pos = static_cast<size_t>(At - FDist.begin());
    std::copy_backward(FDist.begin() + static_cast<ptrdiff_t>(Pos), FDist.end() - 1, FDist.end());
    std::copy_backward(FObj.begin() + static_cast<ptrdiff_t>(Pos), FObj.end() - 1, FObj.end());
    FDist[Pos] = D;
    FObj[Pos] = Obj;
  }
  const std::vector<double>& Dist() const { return FDist; }
  const std::vector<int32_t>& Obj() const { return FObj; }

 private:
  std::vector<double> FDist;
  std::vector<int32_t> FObj;
};

// Columns 1..P of rows First..Last, row by row.
std::vector<double> RowsOf(const TMatrix& M, int32_t First, int32_t Last, size_t P) {
  std::vector<double> X(static_cast<size_t>(Last - First + 1) * P);
  for (size_t c = 0; c < P; ++c)
    for (int32_t r = First; r <= Last; ++r)
      X[static_cast<size_t>(r - First) * P + c] = M.GetVal(static_cast<int32_t>(c + 1), r);
  return X;
}

double Distance(const double* A, const double* B, size_t P) {
  long double S = 0.0L;
  for (size_t c = 0; c < P; ++c) {
    const long double D = static_cast<long double>(A[c]) - B[c];
    S += D * D;
  }
  return static_cast<double>(std::sqrt(S));
}

std::vector<double> ValuesOf(const TVector& V) {
  std::vector<double> X(static_cast<size_t>(V.NrOfElem()));
  for (size_t i = 0; i < X.size(); ++i) X[i] = V.GetVal(static_cast<int32_t>(i + 1));
  return X;
}

// The neighbour list of RefVec among the rows First..Last (1-based, valid).
TNeighbourList Neighbours(size_t K, const TMatrix& DataMat, int32_t First, int32_t Last,
                          const TVector* RefVec, const TCalcDistFunc& DistFunc) {
  TNeighbourList List(K);
  if (DistFunc) {
    for (int32_t i = First; i <= Last; ++i) List.Offer(DistFunc(i), i);
    return List;
  }
  const std::vector<double> Ref = ValuesOf(*RefVec);
  const std::vector<double> X = RowsOf(DataMat, First, Last, Ref.size());
  for (int32_t i = First; i <= Last; ++i)
    List.Offer(Distance(&X[static_cast<size_t>(i - First) * Ref.size()], Ref.data(), Ref.size()),
               i);
  return List;
}

// The full quadratic model in the P variables (constant, linear terms, squares, cross products)
// fitted to the neighbours, evaluated at Q; false when the fit was aborted.
bool QuadraticEstimate(const TMatrix& DataMat, const TVector& Target, const TNeighbourList& List,
                       size_t K, const std::vector<double>& Q, double& Estimate) {
  const size_t P = Q.size(), N = 1 + 2 * P + P * (P - 1) / 2;
  const auto Terms = [P](const double* x, double* Row) {
    size_t t = 0;
    Row[t++] = 1.0;
    for (size_t a = 0; a < P; ++a) Row[t++] = x[a];
    for (size_t a = 0; a < P; ++a) Row[t++] = x[a] * x[a];
    for (size_t a = 0; a < P; ++a)
      for (size_t b = a + 1; b < P; ++b) Row[t++] = x[a] * x[b];
  };
  std::vector<double> A(K * N), B(K);
  for (size_t j = 0; j < K; ++j) {
    const int32_t Obj = List.Obj()[j];
    const std::vector<double> x = RowsOf(DataMat, Obj, Obj, P);
    Terms(x.data(), &A[j * N]);
    B[j] = Target.GetVal(Obj);
  }
  detail::TLeastSquares LS;
  if (!detail::SolveLeastSquares(K, N, std::move(A), B, LS)) return false;
  std::vector<double> Row(N);
  Terms(Q.data(), Row.data());
  long double S = 0.0L;
  for (size_t t = 0; t < N; ++t) S += static_cast<long double>(LS.Coeffs[t]) * Row[t];
  Estimate = static_cast<double>(S);
  return true;
}

}  // namespace

void FindNearestNeighbors(int32_t k, const TMatrix* DataMat, int32_t FirstObj, int32_t LastObj,
                          const TVector* RefVec, TMatrix* NNList, const TCalcDistFunc& DistFunc) {
  if (DataMat == nullptr || NNList == nullptr || (RefVec == nullptr && !DistFunc)) return;
  const int32_t Rows = DataMat->NrOfRows();
  k = std::min({k, 100, Rows});
  if (k < 1 || FirstObj > LastObj) return;
  FirstObj = std::clamp(FirstObj, 1, Rows);
  LastObj = std::clamp(LastObj, 1, Rows);
  const TNeighbourList List =
      Neighbours(static_cast<size_t>(k), *DataMat, FirstObj, LastObj, RefVec, DistFunc);
  for (int32_t j = 1; j <= k; ++j) {
    NNList->SetVal(1, j, List.Obj()[static_cast<size_t>(j - 1)]);
    NNList->SetVal(2, j, List.Dist()[static_cast<size_t>(j - 1)]);
  }
}

void EstimateByKNN(const TMatrix* DataMat, const TVector* TargetVec, int32_t k, TKnnWMode WMode,
                   double WParam, const TVector* QueryVec, double& Estimate, double& MeanDist) {
  Estimate = MeanDist = 0.0;
  if (DataMat == nullptr || TargetVec == nullptr || QueryVec == nullptr) return;
  const int32_t Rows = DataMat->NrOfRows();
  const auto K = static_cast<size_t>(std::clamp(std::min(k, Rows), 0, 100));
  if (K == 0) return;
  const TNeighbourList List = Neighbours(K, *DataMat, 1, Rows, QueryVec, nullptr);
  long double SumD = 0.0L;
  for (size_t j = 0; j < K; ++j) SumD += List.Dist()[j];
  MeanDist = static_cast<double>(SumD / K);
  const long double m = MeanDist == 0 ? 0.001L : MeanDist;
  const auto Y = [&](size_t j) {
    return static_cast<long double>(TargetVec->GetVal(List.Obj()[j]));
  };
  long double Sw = 0.0L, Swy = 0.0L;
  const auto Weigh = [&](long double w, size_t j) {
    Sw += w;
    Swy += w * Y(j);
  };
  switch (WMode) {
    case kwmGauss:
      for (size_t j = 0; j < K; ++j) {
        const long double z = List.Dist()[j] * static_cast<long double>(WParam) / m;
        Weigh(std::exp(-z * z), j);
      }
      break;
    case kwmAverage:
      for (size_t j = 0; j < K; ++j) Weigh(1.0L, j);
      Sw = static_cast<long double>(K);
      break;
    case kwmMedian: {
      TVector V;
      V.Resize(static_cast<int32_t>(K));
      for (size_t j = 0; j < K; ++j)
        V.SetVal(static_cast<int32_t>(j + 1), static_cast<double>(Y(j)));
      double Q1, Q3;
      V.Quartiles(1, static_cast<int32_t>(K), Q1, Estimate, Q3);
      return;
    }
    case kwmLinear:
      for (size_t j = 0; j < K; ++j) {
        const long double w = 1 - (List.Dist()[j] / m) / WParam;
        if (w > 0) Weigh(w, j);
      }
      break;
    case kwmBiQuad:
      QuadraticEstimate(*DataMat, *TargetVec, List, K, ValuesOf(*QueryVec), Estimate);
      return;
  }
  Estimate = Sw > 0 ? static_cast<double>(Swy / Sw) : 0.0;
}

void MeanDistanceKNN(const TMatrix* DataMat, int32_t k, int32_t LoObj, int32_t HiObj,
                     TVector* MeanDist) {
  if (DataMat == nullptr || MeanDist == nullptr || DataMat->NrOfRows() < 1) return;
  DataMat->MakeValidRowRange(LoObj, HiObj);
  const auto P = static_cast<size_t>(DataMat->NrOfColumns());
  const std::vector<double> X = RowsOf(*DataMat, LoObj, HiObj, P);
  const auto K = static_cast<size_t>(std::clamp(k, 1, std::min(50, HiObj - LoObj + 1)));
  for (int32_t i = LoObj; i <= HiObj; ++i) {
    TNeighbourList List(K);
    const double* Xi = &X[static_cast<size_t>(i - LoObj) * P];
    for (int32_t j = LoObj; j <= HiObj; ++j)
      List.Offer(Distance(Xi, &X[static_cast<size_t>(j - LoObj) * P], P), j);
    long double Sum = 0.0L;
    for (double D : List.Dist()) Sum += D;
    MeanDist->SetVal(i, static_cast<double>(Sum / K));
  }
}

namespace {

double GaussOfSquaredDistance(long double D2, double Sigma) {
  if (D2 == 0) return 1.0;
  long double q = D2 / (static_cast<long double>(Sigma) * Sigma);
  if (!(q <= 20)) q = 20;  // also for Sigma 0
  return static_cast<double>(std::exp(-q));
}

}  // namespace

double CalcGaussKernel(const TVector* Vec1, const TVector* Vec2, double Sigma) {
  if (Vec1 == nullptr || Vec2 == nullptr) return 0.0;
  long double D2 = 0.0L;
  for (int32_t t = 1; t <= Vec2->NrOfElem(); ++t) {
    const long double D = static_cast<long double>(Vec1->GetVal(t)) - Vec2->GetVal(t);
    D2 += D * D;
  }
  return GaussOfSquaredDistance(D2, Sigma);
}

double CalcGaussKernelMat(const TVector* Vec, const TMatrix* Mat, int32_t Row, double Sigma) {
  if (Vec == nullptr || Mat == nullptr) return 0.0;
  long double D2 = 0.0L;
  for (int32_t t = 1; t <= Mat->NrOfColumns(); ++t) {
    const long double D = static_cast<long double>(Vec->GetVal(t)) - Mat->GetVal(t, Row);
    D2 += D * D;
  }
  return GaussOfSquaredDistance(D2, Sigma);
}

}  // namespace zeq
