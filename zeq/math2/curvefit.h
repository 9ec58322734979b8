/// @file
/// TCurveFit: collects (x, y) points one at a time with running sums in extended precision, and
/// on request gives descriptive statistics of x, y and x - y, correlation and rank correlation,
/// fits of a line, a parabola, polynomials and a circle, a regression analysis of variance, and
/// the two-column ASC text format.
///
/// The points live in an owned TMatrix (column 1 x, column 2 y, rows 1..NumData) that grows by
/// at least 1000 rows at a time; the sums and extrema always describe exactly those points, except
/// that removing a point leaves the extrema as they were. Fits never change the points.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "zeq/base/base.h"
#include "zeq/base/export.h"
#include "zeq/math2/math2_error.h"
#include "zeq/matrix/matrix.h"

namespace zeq {

/// A set of (x, y) points with running sums: descriptive and rank statistics, line, parabola,
/// polynomial and circle fits, and ASC text files.
class ZEQ_API TCurveFit : public TComponent {
 public:
  /// No points (room for 1000).
  explicit TCurveFit(TComponent* AOwner = nullptr);
  ~TCurveFit() override;
  std::string ClassName() const override { return "TCurveFit"; }

  // ---- points ----
  /// Clears the sums and the points (the capacity stays); the minima start at 1.797...e308 and
  /// the maxima at its negative.
  void Init();
  /// Adds a point; returns the new NumData.
  int32_t EnterStatValue(double x, double y);
  /// Removes point ix (1..NumData), moving the later ones up; other indices change nothing. The
  /// extrema are not recomputed.
  void RemoveStatValue(int32_t ix);
  /// Exchanges x and y everywhere (points, sums, extrema).
  void FlipXY();
  /// The number of points.
  int32_t NumData() const { return FNumData; }
  ///@{
  /// Point ix (1..NumData); 0 outside.
  double DataX(int32_t ix) const;
  double DataY(int32_t ix) const;
  ///@}

  // ---- descriptive statistics ----
  ///@{
  /// The extrema of x and y over the points entered (see RemoveStatValue).
  double MinX() const { return FMinX; }
  double MaxX() const { return FMaxX; }
  double MinY() const { return FMinY; }
  double MaxY() const { return FMaxY; }
  ///@}
  ///@{
  /// The means of x, y and x - y; 0 when there is no point.
  double MeanX() const;
  double MeanY() const;
  double MeanDiff() const;
  ///@}
  ///@{
  /// The standard deviations of x, y and x - y:
  /// sqrt(|(sum of squares - sum^2 / n) / (n - 1)|); 0 for fewer than three points.
  double StdDevX() const;
  double StdDevY() const;
  double StdDevDiff() const;
  ///@}
  /// Pearson's r from the sums; 0 for fewer than three points or when undefined.
  double CorrCoeff() const;
  ///@{
  /// Bias-corrected sample skewness and kurtosis of x or y (TMatrix::SkewKurtSample); 0 without
  /// points.
  double SkewnessX() const;
  double SkewnessY() const;
  double KurtosisX() const;
  double KurtosisY() const;
  ///@}
  ///@{
  /// Circular mean of the values read as angles in degrees, in [0, 360). An exactly zero sum
  /// of cosines gives 90 or 270 by the sign of the sum of sines, and NaN when both sums vanish.
  double MeanAngleX() const;
  double MeanAngleY() const;
  ///@}
  /// All outputs 0 first; the means for n > 0, the standard deviations and r for n >= 3.
  void CalcStatistics(int32_t& NumData, double& MeanX, double& MeanY, double& StdevX,
                      double& StdevY, double& MeanDiff, double& StdevDiff, double& rxy) const;
  ///@{
  /// TMatrix::Quartiles of x or y over the points, with its result; false and zeros without
  /// points.
  bool QuartilesX(double& q1, double& q2, double& q3) const;
  bool QuartilesY(double& q1, double& q2, double& q3) const;
  ///@}

  // ---- rank statistics (pair counts cached until the points change) ----
  /// Kendall's tau-b; p is its two-sided p-value from the normal approximation (ErfApprox).
  /// 0 and p = 0 when undefined (fewer than three points, all pairs tied).
  double KendallsTau(double& p);
  /// Goodman-Kruskal gamma (Nc - Nd) / (Nc + Nd); 0 when Nc + Nd = 0.
  double KruskalGamma();
  /// Spearman's rho with the tie correction; 0 for fewer than three points.
  double SpearmanRankCorr() const;

  // ---- fits (outputs zeroed first; too few points raise EZEQMath2Error) ----
  /// y = k x + d. "CalcLinFit: not enough data points" for n < 2; all x equal: zeros.
  void CalcLinFit(double& k, double& d, double& FitQual) const;
  /// y = k0 + k1 x + k2 x^2. "CalcParabolFit: not enough data points" for n < 3.
  void CalcParabolFit(double& k0, double& k1, double& k2, double& FitQual) const;
  /// y = kArray[0] + sum of kArray[j] x^j, j = 1..nOrder, by SVDLeastSquares; FitQual is the
  /// squared correlation of y and the fitted values. Clears AbortMathProc first; false only when
  /// aborted. "CalcPolyFit: kArray must hold nOrder + 1 values" for a shorter kArray.
  bool CalcPolyFit(uint8_t nOrder, std::span<double> kArray, double& FitQual, bool& NearSingular);
  /// y = kArray[0] + sum of kArray[j] (x - XShift)^j, fitted on (x - XShift) / s with s the
  /// standard deviation of x (1 when 0) and y centred; XShift 0 on entry is replaced by the
  /// mean of x. Far better conditioned than CalcPolyFit for high orders or offset x.
  bool CalcCenteredPolyFit(uint8_t nOrder, std::span<double> kArray, double& XShift,
                           double& FitQual, bool& NearSingular);
  /// Circle of radius r around (dx, dy), algebraic fit from the sums. "CalcCircleFit: not
  /// enough data points" for n < 3, "CalcCircleFit: radius is infinite" for collinear points.
  void CalcCircleFit(double& r, double& dx, double& dy) const;
  /// Regression analysis of variance of the points read as (observed, estimated) pairs.
  void CalcAnovaReg(int32_t NumVars, bool IncludeConst, int32_t& dfreg, int32_t& dfres,
                    int32_t& dftotal, double& SSE, double& SSR, double& SST, double& MSE,
                    double& MSR, double& F) const;

  // ---- ASC text files ----
  /// Writes the points with Precision decimals (strff, width 1); returns "" or the message of
  /// the failure (nothing is written then). An empty Comment becomes "Exported by ZEQ TCurveFit
  /// component: " + FName; line feeds in Comment become spaces.
  std::string ExportAsASC(const std::string& FName, const std::string& Comment, int32_t Precision);
  /// Reads a two-column ASC file, replacing the points and the sums (cleared first). 0 on
  /// success; otherwise the points stay as they were and the result is ReadHeaderOfASC's code
  /// (-1 to -4), -5 (a row attribute is unreadable), -6 (a value is unreadable or missing, also
  /// when the file cannot hold the rows its header claims) or -7 (the header announces column
  /// attributes). "TCurveFit.ImportASC: number of columns must be 2 (is actually N)." raises.
  int32_t ImportASC(const std::string& FName);

 private:
  /// The pair counts of the rank statistics, computed on first use after a change.
  void UpdatePairCounts();
  int32_t ImportASCPoints(const std::string& FName);
  void AddPoint(double x, double y, int Sign);
  double MeanAngle(int32_t Col) const;
  double SampleMoment(int32_t Col, bool Kurtosis) const;
  bool PolyFit(uint8_t nOrder, std::span<double> kArray, double XShift, double Scale, double YShift,
               double& FitQual, bool& NearSingular, const char* Name);

  long double sumx = 0, sumy = 0, sumxq = 0, sumyq = 0, sumDiff = 0, SumDiffq = 0, sumxy = 0,
              sumx2y = 0, sumxy2 = 0, sumx3 = 0, sumy3 = 0;
  int32_t FNumData = 0;
  double FMinX = 0, FMaxX = 0, FMinY = 0, FMaxY = 0;
  TMatrix* FData;
  bool FKendallValid = false;
  /// 64-bit pair counts: n (n - 1) / 2 pairs exceed 32 bits beyond 65536 points.
  int64_t FKendallConcord = 0, FKendallDiscord = 0, FKendallTies1 = 0, FKendallTies2 = 0;
};

}  // namespace zeq
