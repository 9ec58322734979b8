/// @file
/// Plane and sphere geometry on point lists, the correlation of two bitmap areas, and a
/// parenthesis check of expressions.
///
/// A polygon is its list of vertices in order; the edge from the last vertex back to the first
/// is implied.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "zeq/base/base.h"
#include "zeq/base/export.h"
#include "zeq/math2/math2_error.h"

namespace zeq {

/// Colour channels and derived values compared by CalcImgCorrelation.
enum TImgCompareMode : uint8_t {
  icmRed,
  icmBlue,
  icmGreen,
  icmHue,
  icmLightness,
  icmSaturation,
  icmGrayValues
};

/// The great-circle distance on a sphere of Radius between two points given by latitude and
/// longitude in degrees.
ZEQ_API double SphereGreatCircleDist(double Radius, double Lat1, double Long1, double Lat2,
                                     double Long2);

/// True when (X, Y) lies strictly inside the polygon (a crossing test by cross products; a point
/// on the boundary is outside). False for an empty polygon.
ZEQ_API bool PointIsInsidePolygon(double X, double Y, std::span<const TPointDouble> Poly);

/// The signed shoelace area, positive for counter-clockwise vertices; 0 for an empty polygon.
ZEQ_API double PolygonArea(std::span<const TPointDouble> Poly);

/// The bounding rectangle of the vertices; all four outputs 0 for an empty polygon.
ZEQ_API void OuterRectOfPolygon(std::span<const TPointDouble> Poly, double& MinX, double& MinY,
                                double& MaxX, double& MaxY);

/// True when (X, Y) lies strictly left of every edge of the counter-clockwise Hull (points on an
/// edge are outside). False for an empty hull.
ZEQ_API bool PointIsInsideConvexHull(double X, double Y, std::span<const TPointDouble> Hull);

/// The convex hull in counter-clockwise angular order around the centroid, starting from the
/// direction straight below it; points on an edge of the hull are left out, and of points in
/// nearly the same direction from the centroid (within 1e-4 radians) only the farthest is kept.
/// Fewer than four points are returned as they are. The hull consists of the input points
/// themselves. O(n log n).
ZEQ_API std::vector<TPointDouble> Convex2DHull(std::span<const TPointDouble> Points);

/// The Pearson correlation (as TCurveFit computes it) of a channel of the pixels of Area1 in
/// Img1 with the pixels of the same place in Area2 of Img2 (rectangles inclusive of their right
/// and bottom edges); 0 with fewer than three pixels or a constant channel. Pixels outside a
/// bitmap read as black. EZEQMath2Error "image ranges to compare are not of equal size" when the
/// areas differ in width or height; 0 for a null bitmap.
ZEQ_API double CalcImgCorrelation(const TBitmap* Img1, const TBitmap* Img2, const TRect& Area1,
                                  const TRect& Area2, TImgCompareMode Mode);

/// 0 when the parentheses of Exp balance, the number of unclosed "(" when positive, and
/// -(position) of the first ")" without a partner (1-based).
ZEQ_API int32_t CheckParanthInExp(std::string_view Exp);

}  // namespace zeq
