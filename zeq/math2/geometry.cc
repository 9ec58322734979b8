// Polygons, convex hulls, great-circle distances and the parenthesis check.
//
// Cross products and areas are formed in extended precision, so that their signs are those of
// the exact values far more often than double arithmetic would allow.
#include "zeq/math2/geometry.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <numeric>
#include <vector>

#include "zeq/math1/math1.h"

namespace zeq {

namespace {

constexpr long double Pi = std::numbers::pi_v<long double>;

// The crossing test of A against the edge (B, C): -1 when the edge crosses the ray to the right
// of A, 0 when A lies on the edge, +1 otherwise.
int EdgeTest(TPointDouble A, TPointDouble B, TPointDouble C) {
  if (A.Y == B.Y && B.Y == C.Y)
    return (B.X <= A.X && A.X <= C.X) || (C.X <= A.X && A.X <= B.X) ? 0 : 1;
  if (B.Y > C.Y) std::swap(B, C);
  if (A.Y == B.Y && A.X == B.X) return 0;
  if (A.Y <= B.Y || A.Y > C.Y) return 1;
  const long double D =
      (static_cast<long double>(B.X) - A.X) * (static_cast<long double>(C.Y) - A.Y) -
      (static_cast<long double>(B.Y) - A.Y) * (static_cast<long double>(C.X) - A.X);
  return D > 0 ? -1 : D < 0 ? 1 : 0;
}

long double Cross(TPointDouble O, TPointDouble P, TPointDouble Q) {  // (P - O) x (Q - O)
  return (static_cast<long double>(P.X) - O.X) * (static_cast<long double>(Q.Y) - O.Y) -
         (static_cast<long double>(P.Y) - O.Y) * (static_cast<long double>(Q.X) - O.X);
}

}  // namespace

double SphereGreatCircleDist(double Radius, double Lat1, double Long1, double Lat2, double Long2) {
  const long double R = Pi / 180;
  const long double P1 = Lat1 * R, P2 = Lat2 * R,
                    DL = (static_cast<long double>(Long1) - Long2) * R;
  const long double C = std::cos(P1) * std::cos(P2) * std::cos(DL) + std::sin(P1) * std::sin(P2);
  return static_cast<double>(std::acos(std::clamp(C, -1.0L, 1.0L)) * Radius);
}

bool PointIsInsidePolygon(double X, double Y, std::span<const TPointDouble> Poly) {
  if (Poly.empty()) return false;
  const TPointDouble A{X, Y};
  int T = -EdgeTest(A, Poly.back(), Poly.front());
  for (size_t i = 1; i < Poly.size() && T != 0; ++i) T *= EdgeTest(A, Poly[i - 1], Poly[i]);
  return T == 1;
}

double PolygonArea(std::span<const TPointDouble> Poly) {
  if (Poly.empty()) return 0.0;
  const auto Term = [](TPointDouble P, TPointDouble Q) {
    return (static_cast<long double>(P.X) - Q.X) * (static_cast<long double>(P.Y) + Q.Y);
  };
  long double S = Term(Poly.back(), Poly.front());
  for (size_t i = 0; i + 1 < Poly.size(); ++i) S += Term(Poly[i], Poly[i + 1]);
  return static_cast<double>(S / 2);
}

void OuterRectOfPolygon(std::span<const TPointDouble> Poly, double& MinX, double& MinY,
                        double& MaxX, double& MaxY) {
  MinX = MinY = MaxX = MaxY = 0.0;
  if (Poly.empty()) return;
  MinX = MaxX = Poly[0].X;
  MinY = MaxY = Poly[0].Y;
  for (const TPointDouble& P : Poly.subspan(1)) {
    if (P.X < MinX) MinX = P.X;
    if (P.X > MaxX) MaxX = P.X;
    if (P.Y < MinY) MinY = P.Y;
    if (P.Y > MaxY) MaxY = P.Y;
  }
}

bool PointIsInsideConvexHull(double X, double Y, std::span<const TPointDouble> Hull) {
  if (Hull.empty()) return false;
  const TPointDouble Q{X, Y};
  const size_t h = Hull.size() - 1;
  long double D = Cross(Hull[h], Hull[0], Q);
  for (size_t i = 0; D > 0 && i < h; ++i) D = Cross(Hull[i], Hull[i + 1], Q);
  return D > 0;
}

std::vector<TPointDouble> Convex2DHull(std::span<const TPointDouble> Points) {
  const size_t n = Points.size();
  if (n < 4) return {Points.begin(), Points.end()};
  // Centred coordinates and their directions, sorted (equal angles keep their input order).
  long double Sx = 0.0L, Sy = 0.0L;
  for (const TPointDouble& P : Points) Sx += P.X, Sy += P.Y;
  const auto Cx = static_cast<double>(Sx / n), Cy = static_cast<double>(Sy / n);
  std::vector<long double> X(n), Y(n), Angle(n);
  for (size_t i = 0; i < n; ++i) {
    X[i] = Points[i].X - Cx;
    Y[i] = Points[i].Y - Cy;
    Angle[i] = AngleToXAxis(static_cast<double>(X[i]), static_cast<double>(Y[i])) + Pi / 2;
    if (Angle[i] > 2 * Pi) Angle[i] -= 2 * Pi;
  }
  std::vector<size_t> Order(n);
  std::iota(Order.begin(), Order.end(), 0);
  std::stable_sort(Order.begin(), Order.end(),
                   [&](size_t a, size_t b) { return Angle[a] < Angle[b]; });
  // Of points in nearly the same direction the nearer to the centroid goes (the later one on a
  // tie); the walk from a point stops at the first different direction, after one cycle at most.
  std::vector<bool> Removed(n, false);
  const auto Dist2 = [&](size_t i) { return X[i] * X[i] + Y[i] * Y[i]; };
  for (size_t p = 0; p < n; ++p) {
    const size_t i = Order[p];
    if (Removed[i]) continue;
    for (size_t Step = 1; Step < n; ++Step) {
      const size_t k = Order[(p + Step) % n];
      if (Removed[k]) continue;
      if (!(std::fabs(Angle[k] - Angle[i]) < 1e-4L)) break;
      if (Dist2(i) < Dist2(k)) {
        Removed[i] = true;
        break;
      }
      Removed[k] = true;
    }
  }
  // The remaining points as a ring in angular order.
  std::vector<size_t> Ring;
  for (size_t i : Order)
    if (!Removed[i]) Ring.push_back(i);
  const size_t m = Ring.size();
  std::vector<size_t> Next(m), Prev(m);
  for (size_t r = 0; r < m; ++r) {
    Next[r] = (r + 1) % m;
    Prev[r] = (r + m - 1) % m;
  }
  std::vector<bool> Gone(m, false);
  size_t Left = m;
  // Concavity removal: j is inner when the parallel through it to the line a-c lies no
  // farther from the centroid than that line.
  const auto Inner = [&](size_t a, size_t j, size_t c) {
    const long double xa = X[Ring[a]], ya = Y[Ring[a]], xj = X[Ring[j]], yj = Y[Ring[j]];
    const long double xc = X[Ring[c]], yc = Y[Ring[c]];
    if (xa == xc) return !((ya - yc) * (xa - xj) > 0);
    const long double s = (ya - yc) / (xa - xc);
    return std::fabs(yj - s * xj) <= std::fabs(ya - s * xa);
  };
  if (m >= 3) {
    size_t a = 0, j = 1, c = 2;
    for (size_t Step = 0; Step < 2 * n && Left >= 3; ++Step) {
      if (Inner(a, j, c)) {
        Gone[j] = true;
        --Left;
        Next[Prev[j]] = Next[j];
        Prev[Next[j]] = Prev[j];
        j = a;
        a = Prev[a];
      } else {
        a = j;
        j = c;
        c = Next[c];
      }
    }
  }
  std::vector<TPointDouble> Hull;
  for (size_t r = 0; r < m; ++r)
    if (!Gone[r]) Hull.push_back(Points[Ring[r]]);
  return Hull;
}

int32_t CheckParanthInExp(std::string_view Exp) {
  int32_t Depth = 0;
  for (size_t i = 0; i < Exp.size(); ++i) {
    if (Exp[i] == '(') ++Depth;
    if (Exp[i] == ')' && --Depth < 0) return -static_cast<int32_t>(i + 1);
  }
  return Depth;
}

}  // namespace zeq
