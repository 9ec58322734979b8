// What the 3-D and 4-D arrays share: dense storage of Rank dimensions (outermost first), boxes
// of repaired ranges visited in storage order, and the box statistics that both offer.
//
// Each array names its dimensions (x, y, z[, t]) and maps them to storage order: TMat3D keeps
// x outermost and z innermost, TMat4D t outermost and x innermost. Everything here works in
// storage order; the arrays translate indices at their boundary.
#pragma once

#include <array>
#include <cmath>
#include <cstdint>
#include <limits>
#include <new>
#include <stdexcept>
#include <vector>

#include "zeq/base/base.h"
#include "zeq/matrix/internal/matrix_twin.h"

namespace zeq::detail {

template <size_t Rank>
using TNdIndex = std::array<int32_t, Rank>;

// Sizes in storage order and the flat offset of a 1-based index.
template <size_t Rank>
struct TNdShape {
  TNdIndex<Rank> N{};

  // The element count; 0 when it does not fit the address space.
  size_t Count() const {
    size_t c = 1;
    for (int32_t n : N) {
      if (n < 1 || c > std::numeric_limits<size_t>::max() / sizeof(double) / static_cast<size_t>(n))
        return 0;
      c *= static_cast<size_t>(n);
    }
    return c;
  }
  size_t Offset(const TNdIndex<Rank>& Ix) const {
    size_t o = 0;
    for (size_t d = 0; d < Rank; ++d)
      o = o * static_cast<size_t>(N[d]) + static_cast<size_t>(Ix[d] - 1);
    return o;
  }
  bool Contains(const TNdIndex<Rank>& Ix) const {
    for (size_t d = 0; d < Rank; ++d)
      if (Ix[d] < 1 || Ix[d] > N[d]) return false;
    return true;
  }
  bool operator==(const TNdShape&) const = default;
};

// A zero-filled storage of the shape; Owner's "not enough memory on heap" when it cannot exist.
template <size_t Rank>
std::vector<double> NewNdStorage(const TComponent& Owner, const TNdShape<Rank>& Shape) {
  const size_t Count = Shape.Count();
  try {
    if (Count == 0) throw std::bad_alloc();
    return std::vector<double>(Count, 0.0);
  } catch (const std::bad_alloc&) {
  } catch (const std::length_error&) {
  }
  RaiseComponentError<EZEQMatrixError>(&Owner, "not enough memory on heap");
}

// A box of inclusive 1-based ranges in storage order; Low > High in a dimension makes it empty.
template <size_t Rank>
struct TNdBox {
  TNdIndex<Rank> Low{}, High{};

  int64_t Count() const {
    int64_t c = 1;
    for (size_t d = 0; d < Rank; ++d) c *= std::max<int64_t>(0, int64_t{High[d]} - Low[d] + 1);
    return c;
  }
};

// Calls F(Element, Index) for every element of the box in storage order (the innermost
// dimension runs innermost and contiguously). AfterRun() follows each innermost run.
template <size_t Rank, class T, class F, class R>
void ForEachInBox(const TNdShape<Rank>& Shape, T* Data, const TNdBox<Rank>& Box, F&& Visit,
                  R&& AfterRun) {
  if (Box.Count() == 0) return;
  TNdIndex<Rank> Ix = Box.Low;
  constexpr size_t Inner = Rank - 1;
  while (true) {
    T* Run = Data + Shape.Offset(Ix);
    for (int32_t i = Box.Low[Inner]; i <= Box.High[Inner]; ++i) {
      Ix[Inner] = i;
      Visit(Run[i - Box.Low[Inner]], Ix);
    }
    AfterRun();
    size_t d = Inner;  // advance the outer dimensions like an odometer
    while (d-- > 0) {
      if (Ix[d] < Box.High[d]) {
        ++Ix[d];
        break;
      }
      Ix[d] = Box.Low[d];
    }
    if (d == static_cast<size_t>(-1)) return;
    Ix[Inner] = Box.Low[Inner];
  }
}

template <size_t Rank, class T, class F>
void ForEachInBox(const TNdShape<Rank>& Shape, T* Data, const TNdBox<Rank>& Box, F&& Visit) {
  ForEachInBox(Shape, Data, Box, Visit, [] {});
}

// The elements present in both shapes keep their values; the others are 0.
template <size_t Rank>
std::vector<double> ReshapedCopy(const TComponent& Owner, const TNdShape<Rank>& From,
                                 const std::vector<double>& Data, const TNdShape<Rank>& To) {
  std::vector<double> Result = NewNdStorage(Owner, To);
  TNdBox<Rank> Common;
  for (size_t d = 0; d < Rank; ++d) {
    Common.Low[d] = 1;
    Common.High[d] = std::min(From.N[d], To.N[d]);
  }
  ForEachInBox(From, Data.data(), Common,
               [&](double X, const TNdIndex<Rank>& Ix) { Result[To.Offset(Ix)] = X; });
  return Result;
}

// ---- box statistics ----

// The first element nearest to Value; Found is all 0 when none is nearer than uc_MaxDouble.
template <size_t Rank>
TNdIndex<Rank> NearestInBox(const TNdShape<Rank>& Shape, const double* Data,
                            const TNdBox<Rank>& Box, double Value) {
  TNdIndex<Rank> Found{};
  double Best = static_cast<double>(uc_MaxDouble);
  ForEachInBox(Shape, Data, Box, [&](double X, const TNdIndex<Rank>& Ix) {
    const double D = std::fabs(X - Value);
    if (D < Best) {
      Best = D;
      Found = Ix;
    }
  });
  return Found;
}

template <size_t Rank>
void MinMaxOfBox(const TNdShape<Rank>& Shape, const double* Data, const TNdBox<Rank>& Box,
                 double& Minimum, double& Maximum) {
  const auto Max = static_cast<double>(uc_MaxReal);
  TMatrixTwin::MinMax(
      [&](auto&& F) { ForEachInBox(Shape, Data, Box, [&](double X, auto&) { F(X); }); }, Max, -Max,
      Minimum, Maximum);
}

template <size_t Rank>
double PercentileOfBox(const TComponent& Owner, const TNdShape<Rank>& Shape, const double* Data,
                       const TNdBox<Rank>& Box, double Prob) {
  std::vector<double> X = TMatrixTwin::Collect(
      Owner, [&](auto&& F) { ForEachInBox(Shape, Data, Box, [&](double V, auto&) { F(V); }); });
  return TMatrixTwin::SelectPercentile(X, TMatrixTwin::ClampProb(Prob));
}

// From SampleSize elements drawn with replacement, one random index per dimension in the order
// of DrawOrder (positions in storage order), when the box holds more elements than that.
template <size_t Rank>
double PercentileOfBox(const TComponent& Owner, const TNdShape<Rank>& Shape, const double* Data,
                       const TNdBox<Rank>& Box, double Prob, int32_t SampleSize,
                       const std::array<size_t, Rank>& DrawOrder) {
  if (SampleSize <= 0 || Box.Count() <= SampleSize)
    return PercentileOfBox(Owner, Shape, Data, Box, Prob);
  return TMatrixTwin::SampledPercentile(Owner, Prob, SampleSize, [&] {
    TNdIndex<Rank> Ix;
    for (size_t d : DrawOrder) Ix[d] = Box.Low[d] + Random(Box.High[d] - Box.Low[d] + 1);
    return Data[Shape.Offset(Ix)];
  });
}

}  // namespace zeq::detail
