/// @file
/// TRandGen: random numbers from a distribution given as a table of relative probabilities over
/// [LowBorder, HighBorder], drawn by rejection sampling from the process-wide uniform generator.
///
/// Point i of the table (1..Resolution) stands for the left edge of the i-th of Resolution equal
/// bins; inside a bin the density is interpolated linearly, and the last bin falls linearly to 0
/// at HighBorder. Values set one by one are clamped to [0, 1]; the shape generators store their
/// densities as they are, and Standardize or Normalize brings them into that range.
#pragma once

#include <cstdint>
#include <vector>

#include "zeq/base/base.h"
#include "zeq/base/export.h"

namespace zeq {

/// A generator of random numbers that follow a tabulated distribution.
class ZEQ_API TRandGen : public TComponent {
 public:
  /// Resolution 500, every point 1.0, both borders 0.
  explicit TRandGen(TComponent* AOwner = nullptr);
  std::string ClassName() const override { return "TRandGen"; }

  ///@{
  /// The interval [LowBorder, HighBorder] the table spans.
  double LowBorder() const { return FLowBorder; }
  void SetLowBorder(double Value) { FLowBorder = Value; }
  double HighBorder() const { return FHighBorder; }
  void SetHighBorder(double Value) { FHighBorder = Value; }
  ///@}
  /// The number of table points.
  int32_t Resolution() const { return FResolution; }
  /// n clamped to 10..4000; the table is rebuilt with every point 1.0.
  void SetResolution(int32_t n);

  ///@{
  /// The table value at point i; 0 outside 1..Resolution.
  double GetProbability(int32_t i) const;
  double Probability(int32_t i) const { return GetProbability(i); }
  ///@}
  /// Stores p clamped to [0, 1] (NaN stores 0) at point i; other indices are ignored.
  void SetProbability(int32_t i, double p);
  ///@{
  /// LowBorder + (HighBorder - LowBorder)(i - 1) / Resolution; LowBorder below 1 and
  /// HighBorder above Resolution.
  double GetLambda(int32_t i) const;
  double Lambda(int32_t i) const { return GetLambda(i); }
  ///@}
  /// The point whose bin holds x: 0 below LowBorder (and for NaN), Resolution + 1 above
  /// HighBorder and at HighBorder itself. Equal borders put x = LowBorder at point 1.
  int32_t IndexOfLambda(double x) const;

  ///@{
  /// One number by rejection sampling (at most 100001 candidates; the last one is returned when
  /// none is accepted, so a table of zeros cannot hang the caller).
  double GetRandNum() const;
  double Random() const { return GetRandNum(); }
  ///@}

  /// Rescales linearly to minimum 0 and maximum 1; nothing when all values are equal.
  void Normalize();
  /// Divides by the maximum; false (table unchanged) when the maximum is 0.
  bool Standardize();

  // ---- shapes: point i receives the density at Lambda(i) ----
  /// exp(-(x - Mean)^2 / (2 StdDev^2)); the table is left unchanged unless StdDev is finite and
  /// not 0 and Mean is finite.
  void NormalDistri(double Mean, double StdDev);
  ///@{
  /// The Student t, chi-square and F densities, accurate to about 1e-15 relative. Degrees of
  /// freedom that are not finite and positive leave the table unchanged. Where a density is
  /// infinite (at x = 0 for chi-square with df < 2 and F with df1 < 2), the point receives the
  /// mean density of its bin instead, from the distribution function.
  void tDistri(double df);
  void Chi2Distri(double df);
  void FDistri(double df1, double df2);
  ///@}
  /// WeibullDensity(x, Shape, Scale), unchanged unless both are finite and positive; a value that
  /// overflows (a shape below 1, just above 0) is replaced by the bin's mean density.
  void WeibullDistri(double Shape, double Scale);
  /// Every point 1.0.
  void UniformDistri();

 private:
  template <class Density>
  void FillTable(Density&& f);
  /// Replaces every infinite value by the mean density over its bin (F the distribution
  /// function); 1 when the bin is empty (equal borders).
  template <class Cdf>
  void TamePoles(Cdf&& F);

  double FLowBorder = 0;
  double FHighBorder = 0;
  int32_t FResolution = 500;
  std::vector<double> FDistVec;  // point i at [i - 1]
};

}  // namespace zeq
