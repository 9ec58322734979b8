/// @file
/// Distance-based analysis of a data matrix whose rows are objects and whose columns are
/// variables: k-means partitioning, hierarchical agglomerative clustering with six linkage rules,
/// nearest-neighbour search and estimation, and Gaussian kernels.
///
/// Distances are Euclidean over all columns unless stated; squared sums run in extended
/// precision. Long computations add to ProcStat and poll AbortMathProc.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "zeq/base/export.h"
#include "zeq/math2/math2_error.h"
#include "zeq/matrix/matrix.h"
#include "zeq/vector/vector.h"

namespace zeq {

/// Linkage rules of AgglomClustering.
enum TClusterMethod : uint8_t {
  cmSingleLink,
  cmCompleteLink,
  cmWard,
  cmAvgLink,
  cmFlexLink,
  cmUpgma
};
/// "single linkage", "complete linkage", "Ward's method", "average linkage", "flexible strategy",
/// "unweighted pair group".
extern ZEQ_API const std::array<std::string, 6> ClusterMethodID;

/// Weightings of EstimateByKNN.
enum TKnnWMode : uint8_t { kwmGauss, kwmAverage, kwmMedian, kwmLinear, kwmBiQuad };

/// A caller's distance of an object (its row index) to the reference.
using TCalcDistFunc = std::function<double(int32_t Obj)>;
/// Progress of AgglomClustering: the Sender given to it, ProcStat and the percentage done.
using TClusterFeedBack = std::function<void(TObject* Sender, double ProcStat, int32_t PercentDone)>;

///@{
/// k-means of the rows of DataMat into NumClusters clusters; returns the sum over the objects of
/// the squared distance to their centre. Centers gets one row per cluster (resized to DataMat's
/// columns x NumClusters), ClassIdx the cluster of each object (1..NumClusters, starting from 0
/// before the first assignment; an object whose distances are all NaN stays in cluster 0) and
/// ClusterSizes the sizes. Start centres: objects 1..NumClusters for RandSeed < 1, otherwise
/// objects drawn with the uniform generator seeded with RandSeed. One progress step per
/// iteration; the iteration stops when no assignment changes, after 1000 iterations or on abort
/// (then at once: the outputs are not meaningful). Clusters are renumbered by decreasing size
/// (equal sizes keep their order). The two integers after DataMat have no effect.
/// EZEQMath2Error: "kMeansClustering: number of clusters is greater than number of objects"
/// (before anything changes); "kMeansClustering: max. number of iterations exceeded" (after the
/// results are written).
ZEQ_API double kMeansClustering(const TMatrix* DataMat, int32_t Unused1, int32_t Unused2,
                                int32_t NumClusters, int32_t RandSeed, TMatrix* Centers,
                                TIntVector* ClassIdx, TIntVector* ClusterSizes);
///@}
/// The same with the start centres of RandSeed 0 and without the cluster sizes.
ZEQ_API double kMeansClustering(const TMatrix* DataMat, int32_t Unused1, int32_t Unused2,
                                int32_t NumClusters, TMatrix* Centers, TIntVector* ClassIdx);

/// An estimate of the iterations k-means needs (at least 20).
ZEQ_API int32_t kMeansEstimatedSteps(int32_t NumObj, int32_t NumVars, int32_t NumClusters);

/// Reduces the objects LoObj..HiObj (clamped into DataMat and ordered) to NumCenters
/// representatives by merging the closest pair into its weighted mean, one progress step per
/// merge; DataMat is not changed. Row c of Centers (not resized; over its columns) receives
/// representative c, for c up to NumCenters or the number of objects. MeanDist is the mean
/// distance from each representative to the nearest other one (1e10 when there is none).
ZEQ_API void FindCenters(const TMatrix* DataMat, int32_t LoObj, int32_t HiObj, int32_t NumCenters,
                         TMatrix* Centers, double& MeanDist);

/// Hierarchical agglomerative clustering of the rows of DataMat with the distances of
/// TMatrix::CalcDistMat (DistMode; OnCalcDist is installed in DataMat for the call). Merge s
/// (1..n - 1) is Dendrogram row s = (cluster, cluster, n + s), objects being clusters 1..n, at
/// the distance MergeDist(s); NodePos gives the horizontal position of every node of a
/// dendrogram drawing (leaves 1..n in drawing order, inner nodes midway between their
/// children). FlexAlpha is the flexible strategy's parameter. One step of ProcStat per merge;
/// FeedBack gets PercentDone 100 s / n. An abort leaves the three outputs zero. Pairs are
/// compared strictly: the first pair (i < j) in scan order wins a tie; when no pair compares
/// below the largest double (all distances NaN or infinite), the first two active clusters merge.
ZEQ_API void AgglomClustering(TObject* Sender, TMatrix* DataMat, TDistMode DistMode,
                              TClusterMethod Method, double FlexAlpha, TIntMatrix* Dendrogram,
                              TVector* MergeDist, TVector* NodePos,
                              const TClusterFeedBack& FeedBack,
                              const TOnCalcDistanceEvent& OnCalcDist);

/// The k (at most 100 and the number of rows) objects of FirstObj..LastObj nearest to RefVec
/// (over columns 1..RefVec.NrOfElem(), or by DistFunc when given), ascending, equal distances in
/// object order: NNList row j = (object, distance); NNList is not resized. Nothing is written for
/// k < 1 or an empty range (the bounds are clamped into DataMat).
ZEQ_API void FindNearestNeighbors(int32_t k, const TMatrix* DataMat, int32_t FirstObj,
                                  int32_t LastObj, const TVector* RefVec, TMatrix* NNList,
                                  const TCalcDistFunc& DistFunc);

/// Estimates the target of QueryVec from its k nearest objects (TargetVec holds one value per
/// object): Gaussian weights exp(-(d WParam / m)^2) (m the mean distance, 0.001 when 0), the
/// plain average, the median, linear weights 1 - (d / m) / WParam (positive ones only) or a full
/// quadratic model in the variables of QueryVec fitted by SVDLeastSquares. MeanDist is the mean
/// neighbour distance. Estimate is 0 when nothing can be estimated (no neighbours, all weights
/// 0, an aborted fit).
ZEQ_API void EstimateByKNN(const TMatrix* DataMat, const TVector* TargetVec, int32_t k,
                           TKnnWMode WMode, double WParam, const TVector* QueryVec,
                           double& Estimate, double& MeanDist);

/// For each object i of LoObj..HiObj (clamped and ordered): the mean distance to its k nearest
/// objects of the range, itself included, into element i of MeanDist (not resized). k is
/// clamped to 1..50 and to the size of the range.
ZEQ_API void MeanDistanceKNN(const TMatrix* DataMat, int32_t k, int32_t LoObj, int32_t HiObj,
                             TVector* MeanDist);

///@{
/// exp(-q), q = d^2 / Sigma^2 limited to 20, d^2 the squared distance over the elements of Vec2
/// (CalcGaussKernel) or over the columns of Mat against row Row. Identical points give 1 for any
/// Sigma; other points with Sigma 0, exp(-20). 0 for a null argument.
ZEQ_API double CalcGaussKernel(const TVector* Vec1, const TVector* Vec2, double Sigma);
ZEQ_API double CalcGaussKernelMat(const TVector* Vec, const TMatrix* Mat, int32_t Row,
                                  double Sigma);
///@}

}  // namespace zeq
