// Hierarchical agglomerative clustering with six linkage rules.
//
// The documented algorithm scans all active pairs at every merge (O(n^3)). Here every cluster
// keeps its nearest partner among the later slots (the first one on ties, as a row scan finds
// it), the merge takes the first cluster with the smallest such distance, and after a merge
// only the clusters whose partner was one of the two merged ones rescan their row: the same
// merges, ties and distances as the full scan, typically in O(n^2).
#include <algorithm>
#include <cfloat>
#include <cmath>
#include <limits>
#include <vector>

#include "zeq/math2/cluster.h"

namespace zeq {

const std::array<std::string, 6> ClusterMethodID = {"single linkage",    "complete linkage",
                                                    "Ward's method",     "average linkage",
                                                    "flexible strategy", "unweighted pair group"};

namespace {

// The distance of cluster k to the merger of clusters i and j, from the old distances.
double Linkage(TClusterMethod Method, long double Alpha, long double dki, long double dkj,
               long double dij, long double nk, long double ni, long double nj) {
  switch (Method) {
    case cmSingleLink:
      return static_cast<double>(dki < dkj ? dki : dkj);
    case cmCompleteLink:
      return static_cast<double>(dki > dkj ? dki : dkj);
    case cmWard:
      return static_cast<double>(((nk + ni) * dki + (nk + nj) * dkj - nk * dij) / (nk + ni + nj));
    case cmAvgLink:
      return static_cast<double>((dki + dkj) / 2);
    case cmFlexLink:
      return static_cast<double>(Alpha * (dki + dkj) + (1 - 2 * Alpha) * dij);
    case cmUpgma:
      return static_cast<double>((ni * dki + nj * dkj) / (ni + nj));
  }
  return 0.0;
}

struct TMerge {
  int32_t Id1, Id2;
  double Distance;
};

class TAgglomerator {
 public:
  TAgglomerator(std::vector<double>&& D, size_t N, TClusterMethod Method, double Alpha)
      : FD(std::move(D)),
        FN(N),
        FMethod(Method),
        FAlpha(Alpha),
        FId(N),
        FSize(N, 1),
        FNN(N),
        FNNDist(N) {
    for (size_t s = 0; s < N; ++s) FId[s] = static_cast<int32_t>(s + 1);
    for (size_t s = 0; s < N; ++s) Rescan(s);
  }

  // Merge number Step (1-based).
  TMerge Merge(int32_t Step) {
    size_t I = FN, J = FN;
    double Best = DBL_MAX;
    for (size_t s = 0; s < FN; ++s)
      if (FId[s] > 0 && FNN[s] < FN && FNNDist[s] < Best) {
        Best = FNNDist[s];
        I = s;
        J = FNN[s];
      }
    if (I == FN) {  // no distance below the largest double: the first two active clusters
      for (I = 0; FId[I] == 0;) ++I;
      for (J = I + 1; FId[J] == 0;) ++J;
      Best = D(I, J);
    }
    const TMerge M{FId[I], FId[J], Best};
    const long double dij = D(I, J), ni = FSize[I], nj = FSize[J];
    for (size_t k = 0; k < FN; ++k) {
      if (FId[k] == 0 || k == I || k == J) continue;
      const double New = Linkage(FMethod, FAlpha, D(I, k), D(J, k), dij, FSize[k], ni, nj);
      D(J, k) = D(k, J) = New;
    }
    FId[J] = static_cast<int32_t>(FN) + Step;
    FSize[J] += FSize[I];
    FId[I] = 0;
    FSize[I] = 0;
    UpdatePartners(I, J);
    return M;
  }

 private:
  // The distance of slots a and b: column a, row b of the symmetric matrix.
  double& D(size_t a, size_t b) { return FD[a * FN + b]; }

  // The first active slot after s with the smallest distance (strictly below the largest
  // double).
  void Rescan(size_t s) {
    size_t Best = FN;
    double BestDist = DBL_MAX;
    const double* Col = &FD[s * FN];
    for (size_t t = s + 1; t < FN; ++t)
      if (Col[t] < BestDist && FId[t] > 0) {
        BestDist = Col[t];
        Best = t;
      }
    FNN[s] = Best;
    FNNDist[s] = BestDist;
  }

  // After slot I joined slot J, whose distances changed: the earlier slots that pointed at I or
  // J rescan, the others take J when it is now nearer (or as near and earlier); J rescans.
  void UpdatePartners(size_t I, size_t J) {
    for (size_t k = 0; k < J; ++k) {
      if (FId[k] == 0) continue;
      if (FNN[k] == I || FNN[k] == J) {
        Rescan(k);
      } else {
        const double New = D(k, J);
        if (New < FNNDist[k] || (New == FNNDist[k] && J < FNN[k])) {
          FNNDist[k] = New;
          FNN[k] = J;
        }
      }
    }
    Rescan(J);
  }

  std::vector<double> FD;
  size_t FN;
  TClusterMethod FMethod;
  long double FAlpha;
  std::vector<int32_t> FId;
  std::vector<long double> FSize;
  std::vector<size_t> FNN;
  std::vector<double> FNNDist;
};

// The distance matrix of the rows of DataMat, with OnCalcDist installed for the call.
std::vector<double> DistanceMatrix(TMatrix& DataMat, TDistMode Mode,
                                   const TOnCalcDistanceEvent& OnCalcDist) {
  const int32_t N = DataMat.NrOfRows();
  TMatrix D;
  D.Resize(N, N);
  struct TRestore {
    TMatrix& M;
    TOnCalcDistanceEvent Saved;
    ~TRestore() { M.OnCalcDistance = std::move(Saved); }
  } Restore{DataMat, DataMat.OnCalcDistance};
  DataMat.OnCalcDistance = OnCalcDist;
  DataMat.CalcDistMat(Mode, &D);
  std::vector<double> Full(static_cast<size_t>(N) * static_cast<size_t>(N));
  for (int32_t c = 1; c <= N; ++c)
    for (int32_t r = 1; r <= N; ++r)
      Full[static_cast<size_t>(c - 1) * static_cast<size_t>(N) + static_cast<size_t>(r - 1)] =
          D.GetVal(c, r);
  return Full;
}

// Leaves in drawing order (the last merge's children, each inner node replaced by its children
// in column order), then the positions: leaves 1..n, inner nodes midway between their children.
void NodePositions(const std::vector<TMerge>& Merges, int32_t N, TVector& NodePos) {
  std::vector<double> Pos(static_cast<size_t>(2 * N), 0.0);
  double Next = 1;
  std::vector<int32_t> Stack{Merges.empty() ? 1 : 2 * N - 1};
  while (!Stack.empty()) {
    const int32_t Node = Stack.back();
    Stack.pop_back();
    if (Node <= N) {
      Pos[static_cast<size_t>(Node)] = Next++;
    } else {
      const TMerge& M = Merges[static_cast<size_t>(Node - N - 1)];
      Stack.push_back(M.Id2);
      Stack.push_back(M.Id1);
    }
  }
  for (size_t s = 0; s < Merges.size(); ++s)
    Pos[static_cast<size_t>(N) + s + 1] =
        (Pos[static_cast<size_t>(Merges[s].Id1)] + Pos[static_cast<size_t>(Merges[s].Id2)]) / 2;
  for (int32_t v = 1; v <= 2 * N - 1; ++v) NodePos.SetVal(v, Pos[static_cast<size_t>(v)]);
}

}  // namespace

void AgglomClustering(TObject* Sender, TMatrix* DataMat, TDistMode DistMode, TClusterMethod Method,
                      double FlexAlpha, TIntMatrix* Dendrogram, TVector* MergeDist,
                      TVector* NodePos, const TClusterFeedBack& FeedBack,
                      const TOnCalcDistanceEvent& OnCalcDist) {
  if (DataMat == nullptr || Dendrogram == nullptr || MergeDist == nullptr || NodePos == nullptr)
    return;
  const int32_t N = DataMat->NrOfRows();
  if (N < 1) return;
  if (FeedBack) FeedBack(Sender, ProcStat, 0);
  std::vector<double> D = DistanceMatrix(*DataMat, DistMode, OnCalcDist);
  if (MergeDist->NrOfElem() != N - 1) MergeDist->Resize(N - 1);
  if (NodePos->NrOfElem() != 2 * N - 1) NodePos->Resize(2 * N - 1);
  if (Dendrogram->NrOfColumns() != 3 || Dendrogram->NrOfRows() != N - 1)
    Dendrogram->Resize(3, N - 1);
  AbortMathProc = false;
  TAgglomerator A(std::move(D), static_cast<size_t>(N), Method, FlexAlpha);
  std::vector<TMerge> Merges;
  for (int32_t s = 1; s < N && !AbortRequested(); ++s) {
    ProcStat += 1;
    if (FeedBack) FeedBack(Sender, ProcStat, static_cast<int32_t>(100LL * s / N));
    Merges.push_back(A.Merge(s));
    Dendrogram->SetVal(1, s, Merges.back().Id1);
    Dendrogram->SetVal(2, s, Merges.back().Id2);
    Dendrogram->SetVal(3, s, N + s);
    MergeDist->SetVal(s, Merges.back().Distance);
  }
  if (AbortRequested()) {
    MergeDist->Fill(0.0);
    NodePos->Fill(0.0);
    Dendrogram->Fill(0);
    return;
  }
  NodePositions(Merges, N, *NodePos);
}

}  // namespace zeq
