/// @file
/// zeq straight lines (unit Zeq_sline): TSLine, a line in the plane in the general form
/// ParA x + ParB y + ParC = 0, built from points, angles, slopes or other lines, with
/// intersections, angles, distances and clipping to a box.
///
/// Arithmetic runs in extended precision and is rounded when stored. Failures raise
/// EZEQSLineError with plain messages (no component name); a setter that raises leaves the
/// line as it was.
#pragma once

#include <string>

#include "zeq/base/base.h"
#include "zeq/base/export.h"

namespace zeq {

/// Errors of the line unit; unlike the other units' classes it derives from Exception directly.
class ZEQ_API EZEQSLineError : public Exception {
 public:
  using Exception::Exception;
};

/// A straight line of the plane, A x + B y + C = 0, with constructions, intersections,
/// distances and clipping.
class ZEQ_API TSLine : public TComponent {
 public:
  /// The line y = 0 (ParA 0, ParB 1, ParC 0), SubstituteInf false.
  explicit TSLine(TComponent* AOwner = nullptr);
  std::string ClassName() const override { return "TSLine"; }

  ///@{
  /// The parameters A, B and C of A x + B y + C = 0.
  double ParA() const { return FParA; }
  double ParB() const { return FParB; }
  double ParC() const { return FParC; }
  ///@}
  /// Whether CalcX and CalcY substitute a huge value for infinity (see SetSubstituteInf).
  bool SubstituteInf() const { return FSubstInf; }
  ///@{
  /// "parameter A and B must not both be zero" when the other one is 0 as well.
  void SetParA(double Value);
  void SetParB(double Value);
  void SetParC(double Value);
  ///@}
  /// With SubstituteInf, CalcX and CalcY divide by 1e-100 instead of raising for a zero ParA or
  /// ParB: a huge finite value stands for infinity.
  void SetSubstituteInf(bool Value) { FSubstInf = Value; }

  /// The line through two points; false (line unchanged) when they are equal.
  bool LineFrom2Points(double x1, double y1, double x2, double y2);
  /// The line through (x, y) in the direction Phi (radians).
  void LineThroughPoint(double x, double y, double Phi);
  /// The line y = k x + d.
  void LineFromSlopeIcpt(double k, double d);
  /// The perpendicular of L through (x, y); nothing for a null L.
  void NormalLine(double x, double y, const TSLine* L);
  /// The parallel of L through (x, y); nothing for a null L.
  void ParallelLine(double x, double y, const TSLine* L);

  /// The intersection with L; false (x, y untouched) for parallel or identical lines or a null L.
  bool InterSection(const TSLine* L, double& x, double& y) const;
  /// The angle to L in 0..pi/2 (radians).
  double AngleBetweenLines(const TSLine* L) const;
  /// The distance of the point (x, y) from the line.
  double Distance(double x, double y) const;
  /// y = k x + d; "cannot convert to k-d-form if ParB is zero".
  void CalcKDForm(double& k, double& d) const;
  /// x on the line for y; "cannot calculate x" for a horizontal line (see SubstituteInf).
  double CalcX(double y) const;
  /// y on the line for x; "cannot calculate y" for a vertical line (see SubstituteInf).
  double CalcY(double x) const;
  /// The direction angle of (ParB, -ParA) in [0, 2 pi).
  double GetDirect() const;
  /// "slope is infinite" for a vertical line.
  double GetSlope() const;
  /// "cannot calculate intercept (line is parallel to y axis)" for a vertical line.
  double GetIntercept() const;
  /// The part of the line inside the box x1 <= x <= x2, y1 <= y <= y2: the first two of the
  /// points on the edges x = x1, x = x2, y = y1, y = y2 (in this order) that lie within the box;
  /// a point equal to the first is not taken again, so that a line through a corner still reports
  /// its other end. False, and all four outputs 0, when the line misses the box.
  bool ClipBox(double x1, double y1, double x2, double y2, double& xa, double& ya, double& xb,
               double& yb);

 private:
  double FParA = 0.0;
  double FParB = 1.0;
  double FParC = 0.0;
  bool FSubstInf = false;
};

}  // namespace zeq
