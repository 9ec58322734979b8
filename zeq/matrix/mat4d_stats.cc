// TMat4D: statistics over boxes, the check string and the per-pixel reductions over layers and
// time slots into a matrix.
//
// Boxes are visited in storage order (time slot outermost, column innermost) and their sums run
// in double in that order. Progress through the global hooks counts rows of the box (or pixels
// of a reduction), about a hundred steps.
#include <algorithm>
#include <cmath>

#include "zeq/base/internal/progress_steps.h"
#include "zeq/matrix/internal/mat4d_access.h"
#include "zeq/matrix/matrix.h"

namespace zeq {

using Access = TMat4DAccess;
using Twin = detail::TMatrixTwin;

namespace {

int64_t RowsOf(const detail::TNdBox<4>& Box) {
  return Box.Count() / std::max(1, Box.High[3] - Box.Low[3] + 1);
}

// Calls F(x) for every element of the box, advancing the global hooks row by row.
template <class F>
void VisitWithProgress(const TMat4D& M, const detail::TNdBox<4>& Box, F&& Visit) {
  auto Progress = detail::HookSteps(RowsOf(Box));
  detail::ForEachInBox(
      Access::Shape(M), Access::Data(M).data(), Box, [&](double X, auto&) { Visit(X); },
      [&] { Progress.Advance(); });
}

}  // namespace

namespace {

// The sum of F(x) over the box, in storage order.
template <class F>
double SumOver(const TMat4D& M, const detail::TNdBox<4>& Box, F&& Term) {
  double S = 0;
  VisitWithProgress(M, Box, [&](double X) { S = S + Term(X); });
  return S;
}

}  // namespace

double TMat4D::Sum(int32_t LowCol, int32_t HighCol, int32_t LowRow, int32_t HighRow,
                   int32_t LowLayer, int32_t HighLayer, int32_t LowTimeSlot,
                   int32_t HighTimeSlot) const {
  return SumOver(*this,
                 Access::Box(*this, LowCol, HighCol, LowRow, HighRow, LowLayer, HighLayer,
                             LowTimeSlot, HighTimeSlot),
                 [](double X) { return X; });
}

double TMat4D::SquaredSum(int32_t LowCol, int32_t HighCol, int32_t LowRow, int32_t HighRow,
                          int32_t LowLayer, int32_t HighLayer, int32_t LowTimeSlot,
                          int32_t HighTimeSlot) const {
  return SumOver(*this,
                 Access::Box(*this, LowCol, HighCol, LowRow, HighRow, LowLayer, HighLayer,
                             LowTimeSlot, HighTimeSlot),
                 [](double X) { return X * X; });
}

void TMat4D::MeanVar(int32_t LowCol, int32_t HighCol, int32_t LowRow, int32_t HighRow,
                     int32_t LowLayer, int32_t HighLayer, int32_t LowTimeSlot, int32_t HighTimeSlot,
                     double& Mean, double& Variance) const {
  const auto Box = Access::Box(*this, LowCol, HighCol, LowRow, HighRow, LowLayer, HighLayer,
                               LowTimeSlot, HighTimeSlot);
  Twin::MeanVar([&](auto&& F) { VisitWithProgress(*this, Box, F); }, Mean, Variance);
}

void TMat4D::MinMax(int32_t LowCol, int32_t HighCol, int32_t LowRow, int32_t HighRow,
                    int32_t LowLayer, int32_t HighLayer, int32_t LowTimeSlot, int32_t HighTimeSlot,
                    double& Minimum, double& Maximum) const {
  const auto Box = Access::Box(*this, LowCol, HighCol, LowRow, HighRow, LowLayer, HighLayer,
                               LowTimeSlot, HighTimeSlot);
  const auto Max = static_cast<double>(uc_MaxReal);
  Twin::MinMax([&](auto&& F) { VisitWithProgress(*this, Box, F); }, Max, -Max, Minimum, Maximum);
}

int32_t TMat4D::CountValues(int32_t LowCol, int32_t HighCol, int32_t LowRow, int32_t HighRow,
                            int32_t LowLayer, int32_t HighLayer, int32_t LowTimeSlot,
                            int32_t HighTimeSlot, double RangeLow, double RangeHigh) const {
  int64_t Count = 0;
  detail::ForEachInBox(Access::Shape(*this), Mat.data(),
                       Access::Box(*this, LowCol, HighCol, LowRow, HighRow, LowLayer, HighLayer,
                                   LowTimeSlot, HighTimeSlot),
                       [&](double X, auto&) { Count += RangeLow <= X && X <= RangeHigh; });
  return static_cast<int32_t>(std::min<int64_t>(Count, INT32_MAX));
}

void TMat4D::Find(int32_t LowCol, int32_t HighCol, int32_t LowRow, int32_t HighRow,
                  int32_t LowLayer, int32_t HighLayer, int32_t LowTimeSlot, int32_t HighTimeSlot,
                  double Value, int32_t& ColIx, int32_t& RowIx, int32_t& LayerIx,
                  int32_t& TimeSlotIx) const {
  const auto Ix = detail::NearestInBox(Access::Shape(*this), Mat.data(),
                                       Access::Box(*this, LowCol, HighCol, LowRow, HighRow,
                                                   LowLayer, HighLayer, LowTimeSlot, HighTimeSlot),
                                       Value);
  TimeSlotIx = Ix[0], LayerIx = Ix[1], RowIx = Ix[2], ColIx = Ix[3];
}

double TMat4D::Percentile(double prob, int32_t LowCol, int32_t HighCol, int32_t LowRow,
                          int32_t HighRow, int32_t LowLayer, int32_t HighLayer, int32_t LowTimeSlot,
                          int32_t HighTimeSlot) const {
  return detail::PercentileOfBox(*this, Access::Shape(*this), Mat.data(),
                                 Access::Box(*this, LowCol, HighCol, LowRow, HighRow, LowLayer,
                                             HighLayer, LowTimeSlot, HighTimeSlot),
                                 prob);
}

double TMat4D::Percentile(double prob, int32_t LowCol, int32_t HighCol, int32_t LowRow,
                          int32_t HighRow, int32_t LowLayer, int32_t HighLayer, int32_t LowTimeSlot,
                          int32_t HighTimeSlot, int32_t SampleSize) const {
  // The indices are drawn column, row, layer, time slot: storage positions 3, 2, 1, 0.
  return detail::PercentileOfBox(*this, Access::Shape(*this), Mat.data(),
                                 Access::Box(*this, LowCol, HighCol, LowRow, HighRow, LowLayer,
                                             HighLayer, LowTimeSlot, HighTimeSlot),
                                 prob, SampleSize, {3, 2, 1, 0});
}

std::string TMat4D::CRCofData() const {
  TCRCRegisters<8> Regs;
  auto* Self = const_cast<TMat4D*>(this);  // progress reaches the handler as from the array
  auto Progress = detail::PercentSteps(static_cast<int64_t>(Mat.size()),
                                       [Self](int32_t Percent) { Self->PercDone(Self, Percent); });
  const size_t Row = static_cast<size_t>(FNumX);
  for (size_t First = 0; First < Mat.size(); First += Row) {
    for (size_t i = First; i < First + Row; ++i) Regs.AddElement(Mat[i]);
    Progress.Advance(static_cast<int64_t>(Row));
  }
  return Regs.Str();
}

// ---- per-pixel reductions ----

namespace {

// Per pixel of the box's rectangle: Start(first value) once, then Take(value) for the others in
// storage order; Result() is stored through DestMat's setter, pixels rows outer, columns inner.
template <class TAcc>
void ReducePixels(const TMat4D& M, TMatrix* DestMat, const detail::TNdBox<4>& Box) {
  if (DestMat == nullptr) return;
  const int32_t Width = Box.High[3] - Box.Low[3] + 1, Height = Box.High[2] - Box.Low[2] + 1;
  DestMat->Resize(Width, Height);
  DestMat->Fill(0);
  std::vector<TAcc> Acc(static_cast<size_t>(Width) * Height);
  bool First = true;
  for (int32_t t = Box.Low[0]; t <= Box.High[0]; ++t)
    for (int32_t z = Box.Low[1]; z <= Box.High[1]; ++z) {
      for (int32_t y = Box.Low[2]; y <= Box.High[2]; ++y) {
        const double* Row = &Access::Data(M)[Access::Offset(M, Box.Low[3], y, z, t)];
        TAcc* Out = &Acc[static_cast<size_t>(y - Box.Low[2]) * Width];
        for (int32_t i = 0; i < Width; ++i) First ? Out[i].Start(Row[i]) : Out[i].Take(Row[i]);
      }
      First = false;
    }
  auto Progress = detail::HookSteps(int64_t{Width} * Height);
  for (int32_t y = 1; y <= Height; ++y)
    for (int32_t x = 1; x <= Width; ++x) {
      DestMat->SetVal(x, y, Acc[static_cast<size_t>(y - 1) * Width + (x - 1)].Result());
      Progress.Advance();
    }
}

struct TMeanAcc {
  double Sum = 0;
  int64_t n = 0;
  void Start(double X) { Take(X); }
  void Take(double X) { Sum = Sum + X, ++n; }
  double Result() const { return Sum / static_cast<double>(n); }
};

struct TMaxAcc {
  double Best = 0;
  void Start(double X) { Best = X; }
  void Take(double X) { Best = X > Best ? X : Best; }
  double Result() const { return Best; }
};

struct TMinAcc {
  double Best = 0;
  void Start(double X) { Best = X; }
  void Take(double X) { Best = X < Best ? X : Best; }
  double Result() const { return Best; }
};

// sqrt(max(0, S2/n - (S1/n)^2)) over x - x0, which leaves the deviation unchanged.
struct TStdDevAcc {
  double Shift = 0, S1 = 0, S2 = 0;
  int64_t n = 0;
  void Start(double X) { Shift = X, Take(X); }
  void Take(double X) {
    const double D = X - Shift;
    S1 = S1 + D, S2 = S2 + D * D, ++n;
  }
  double Result() const {
    const auto N = static_cast<double>(n);
    return std::sqrt(std::max(0.0, S2 / N - (S1 / N) * (S1 / N)));
  }
};

}  // namespace

#define ZEQ_MAT4D_REDUCTION(Name, Acc)                                                          \
  void TMat4D::Name(TMatrix* DestMat, int32_t LowCol, int32_t HighCol, int32_t LowRow,          \
                    int32_t HighRow, int32_t LowLayer, int32_t HighLayer, int32_t LowTimeSlot,  \
                    int32_t HighTimeSlot) const {                                               \
    ReducePixels<Acc>(*this, DestMat,                                                           \
                      Access::Box(*this, LowCol, HighCol, LowRow, HighRow, LowLayer, HighLayer, \
                                  LowTimeSlot, HighTimeSlot));                                  \
  }
ZEQ_MAT4D_REDUCTION(MeanOfLayersToMatrix, TMeanAcc)
ZEQ_MAT4D_REDUCTION(MaximumOfLayersToMatrix, TMaxAcc)
ZEQ_MAT4D_REDUCTION(MinimumOfLayersToMatrix, TMinAcc)
ZEQ_MAT4D_REDUCTION(StdDevOfLayersToMatrix, TStdDevAcc)
#undef ZEQ_MAT4D_REDUCTION

}  // namespace zeq
