// zeq pca and cluster: principal components and k-means of the rows of the selected columns.
#include <algorithm>
#include <cmath>

#include "cli.h"
#include "zeq/math2/cluster.h"
#include "zeq/math2/eigen.h"

namespace zeqcli {

namespace {

// The columns as a matrix: one object per row, one variable per column.
void FillMatrix(zeq::TMatrix& M, const TColumns& Data) {
  M.Resize(static_cast<int32_t>(Data.Values.size()), static_cast<int32_t>(Data.Values[0].size()));
  for (size_t c = 0; c < Data.Values.size(); ++c)
    for (size_t r = 0; r < Data.Values[c].size(); ++r)
      M.SetVal(static_cast<int32_t>(c + 1), static_cast<int32_t>(r + 1), Data.Values[c][r]);
}

void RunPca(const TOptions& O) {
  const TColumns Data = ReadInput(O);
  FirstColumn(Data, 3);
  if (Data.Values.size() < 2) throw TInputError(Data.Source + ": two columns or more needed");
  zeq::TMatrix M;
  FillMatrix(M, Data);
  const auto P = static_cast<int32_t>(Data.Values.size());
  const int Mode = O.Has("correlation") ? 2 : 1;
  {
    TProgress Progress("principal components");
    if (!zeq::CalcPrincComp(&M, 0, 0, 0, 0, Mode, false)) throw TInputError("the analysis failed");
  }
  double Sum = 0;
  for (int32_t k = 1; k <= P; ++k) Sum += zeq::GetEigenResult(k, 0);
  std::vector<std::vector<double>> Explained, Loadings(static_cast<size_t>(P));
  std::vector<std::string> Names;
  for (int32_t k = 1; k <= P; ++k) {
    const double L = zeq::GetEigenResult(k, 0);
    Explained.push_back({L, L / Sum});
    Names.push_back("PC" + std::to_string(k));
    for (int32_t j = 1; j <= P; ++j)
      Loadings[static_cast<size_t>(j - 1)].push_back(zeq::GetEigenResult(k, j));
  }
  std::vector<std::string> Header{"variable"};
  Header.insert(Header.end(), Names.begin(), Names.end());
  TReport Report;
  Report.Table("explained variance", {"component", "eigenvalue", "share"}, Explained, Names);
  Report.Table("loadings", Header, Loadings, Data.Names);
  // Scores on the first two components: the centred (and, for correlations, scaled) rows.
  TSeries Scores{"objects", TSeriesKind::Points, {}, {}};
  std::vector<double> Mean(static_cast<size_t>(P)), Sd(static_cast<size_t>(P), 1.0);
  const auto N = static_cast<double>(Data.Values[0].size());
  for (size_t j = 0; j < Mean.size(); ++j) {
    for (double X : Data.Values[j]) Mean[j] += X / N;
    if (Mode == 2) {
      double S = 0;
      for (double X : Data.Values[j]) S += (X - Mean[j]) * (X - Mean[j]);
      Sd[j] = std::sqrt(S / (N - 1));
    }
  }
  for (size_t r = 0; r < Data.Values[0].size(); ++r) {
    double S1 = 0, S2 = 0;
    for (size_t j = 0; j < Mean.size(); ++j) {
      const double Z = (Data.Values[j][r] - Mean[j]) / Sd[j];
      S1 += Z * zeq::GetEigenResult(1, static_cast<int32_t>(j + 1));
      S2 += Z * zeq::GetEigenResult(2, static_cast<int32_t>(j + 1));
    }
    Scores.X.push_back(S1);
    Scores.Y.push_back(S2);
  }
  zeq::RemoveEigenMatrix();
  PlotIfAsked(O, {"Scores on the first two principal components", "PC1", "PC2", {Scores}});
  Print(O, Report);
}

// Hierarchical clustering: the merges and a dendrogram (leaves at height 0, each merge at its
// distance, drawn with the library's node positions).
void RunHierarchical(const TOptions& O, zeq::TMatrix& M) {
  const std::pair<const char*, zeq::TClusterMethod> Methods[] = {
      {"single", zeq::cmSingleLink}, {"complete", zeq::cmCompleteLink}, {"ward", zeq::cmWard},
      {"average", zeq::cmAvgLink},   {"flexible", zeq::cmFlexLink},     {"upgma", zeq::cmUpgma}};
  const std::string Name = O.Text("method", "");
  const auto* Method = std::find_if(std::begin(Methods), std::end(Methods),
                                    [&](const auto& P) { return Name == P.first; });
  if (Method == std::end(Methods)) throw TUsageError("unknown method '" + Name + "'");
  const int32_t N = M.NrOfRows();
  zeq::TIntMatrix Tree;
  zeq::TVector Dist, Pos;
  {
    TProgress Progress("clustering", N - 1);
    zeq::AgglomClustering(nullptr, &M, zeq::dmEuclid, Method->second, -0.25, &Tree, &Dist, &Pos,
                          nullptr, nullptr);
    if (TProgress::Aborted()) throw TInputError("interrupted");
  }
  std::vector<double> Height(static_cast<size_t>(2 * N), 0.0);
  std::vector<std::vector<double>> Merges;
  TSeries Lines{"merges", TSeriesKind::Line, {}, {}};
  for (int32_t s = 1; s < N; ++s) {
    const int32_t A = Tree.GetVal(1, s), B = Tree.GetVal(2, s);
    const double H = Dist.GetVal(s);
    Height[static_cast<size_t>(N + s)] = H;
    Merges.push_back({static_cast<double>(s), static_cast<double>(A), static_cast<double>(B),
                      static_cast<double>(N + s), H});
    const double XA = Pos.GetVal(A), XB = Pos.GetVal(B);
    for (auto [X, Y] : {std::pair{XA, Height[static_cast<size_t>(A)]},
                        {XA, H},
                        {XB, H},
                        {XB, Height[static_cast<size_t>(B)]},
                        {NAN, NAN}})
      Lines.X.push_back(X), Lines.Y.push_back(Y);
  }
  TReport Report;
  Report.Value("method", Name);
  Report.Table("merges", {"step", "cluster a", "cluster b", "new cluster", "distance"}, Merges);
  PlotIfAsked(O, {"Dendrogram (" + Name + ")", "objects", "distance", {Lines}});
  Print(O, Report);
}

void RunCluster(const TOptions& O) {
  const TColumns Data = ReadInput(O);
  if (O.Has("method")) {
    FirstColumn(Data, 2);
    zeq::TMatrix M;
    FillMatrix(M, Data);
    return RunHierarchical(O, M);
  }
  const int K = O.Integer("k", 2, 1, 1000);
  FirstColumn(Data, static_cast<size_t>(K));
  zeq::TMatrix M, Centers;
  FillMatrix(M, Data);
  zeq::TIntVector Members, Sizes;
  double Spread;
  {
    const int32_t Steps = zeq::kMeansEstimatedSteps(M.NrOfRows(), M.NrOfColumns(), K);
    TProgress Progress("k-means", Steps);
    Spread = zeq::kMeansClustering(&M, 0, 0, K, O.Integer("seed", 0, 0, 2000000000), &Centers,
                                   &Members, &Sizes);
    if (TProgress::Aborted()) throw TInputError("interrupted");
  }
  std::vector<std::vector<double>> CenterRows, Assign;
  std::vector<std::string> Labels, Header{"cluster", "size"};
  Header.insert(Header.end(), Data.Names.begin(), Data.Names.end());
  for (int32_t k = 1; k <= K; ++k) {
    CenterRows.push_back({static_cast<double>(Sizes.GetVal(k))});
    for (int32_t j = 1; j <= M.NrOfColumns(); ++j)
      CenterRows.back().push_back(Centers.GetVal(j, k));
    Labels.push_back(std::to_string(k));
  }
  std::vector<TSeries> Groups;
  for (int32_t k = 1; k <= K; ++k)
    Groups.push_back({"cluster " + std::to_string(k), TSeriesKind::Points, {}, {}});
  for (int32_t r = 1; r <= M.NrOfRows(); ++r) {
    const int32_t C = Members.GetVal(r);
    Assign.push_back({static_cast<double>(r), static_cast<double>(C)});
    if (C >= 1 && C <= K) {
      Groups[static_cast<size_t>(C - 1)].X.push_back(M.GetVal(1, r));
      Groups[static_cast<size_t>(C - 1)].Y.push_back(M.NrOfColumns() > 1 ? M.GetVal(2, r) : 0);
    }
  }
  TReport Report;
  Report.Value("within-cluster sum of squares", Spread);
  Report.Table("centres", Header, CenterRows, Labels);
  Report.Table("members", {"row", "cluster"}, Assign);
  PlotIfAsked(
      O, {"k-means clusters", Data.Names[0], Data.Names.size() > 1 ? Data.Names[1] : "", Groups});
  Print(O, Report);
}

}  // namespace

TCommand PcaCommand() {
  return {"pca",
          "[options] [FILE]",
          "principal components",
          "Principal components of the columns (one object per row): eigenvalues with their\n"
          "share of the variance and the loadings; --plot draws the scores on PC1 and PC2.",
          {{"correlation", 0, "", "analyse correlations instead of covariances"}},
          RunPca};
}

TCommand ClusterCommand() {
  return {
      "cluster",
      "[options] [FILE]",
      "k-means or hierarchical clustering",
      "k-means clustering of the rows into --k clusters (numbered by decreasing size): the\n"
      "centres, the sizes and each row's cluster; --plot draws the first two columns. With\n"
      "--method, hierarchical clustering (Euclidean distances): the merges and, with --plot,\n"
      "the dendrogram.",
      {{"k", 'k', "N", "number of clusters (default 2)"},
       {"method", 0, "NAME", "single, complete, ward, average, flexible or upgma linkage"},
       {"seed", 0, "N", "start centres drawn with this seed; 0 takes the first rows (default)"}},
      RunCluster};
}

}  // namespace zeqcli
