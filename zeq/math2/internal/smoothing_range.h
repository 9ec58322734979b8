// The common frame of the range smoothers: argument checks with their messages, the window
// loop over a source that is copied once (or read live when the destination is the source),
// and the edge fill. Private to the unit.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "zeq/math2/math2_error.h"
#include "zeq/vector/vector.h"

namespace zeq::detail {

// The messages of one routine, in the order the checks run.
struct TSmoothMessages {
  std::string Undefined, Range, OutOfRange, Even;
};

// "<Name>: either SourceVec or DestVec is undefined", "<Name>: specified range for <Purpose>
// is smaller than the length of the <Window>s" (window) or "... of the polynomial",
// "<Name>: length of <Window> is out of range", "<Name>: length of <Window> must be odd", with
// Window "smoothing window" or "polynomial".
TSmoothMessages SmoothMessages(const std::string& Name, const char* Purpose, bool Polynomial);

// Raises the routine's message for a null vector, a range of fewer than Length + 1 elements
// (after clamping Low and High into the source and ordering them), a Length outside
// MinLength..MaxLength or an even Length.
void CheckSmoothArgs(const TVector* Source, const TVector* Dest, int32_t& Low, int32_t& High,
                     int32_t Length, int32_t MinLength, int32_t MaxLength,
                     const TSmoothMessages& Msg);

// Elements Low..High of Source, 0-based.
std::vector<double> CopyRange(const TVector& Source, int32_t Low, int32_t High);

// Elements 1..M of Dest get element M + 1, elements N - M + 1..N get element N - M; then
// Dest.Changed().
void FillEdgesAndNotify(TVector& Dest, int32_t M, int32_t N);

// Writes Value(X, i) to Dest element i - Low + 1 for every centre i = Low + M .. High - M,
// where X(p) reads source element p; then the edges. Value is a generic callable.
template <class ValueFn>
void EvaluateWindows(const TVector& Source, int32_t Low, int32_t High, int32_t M, TVector& Dest,
                     ValueFn&& Value) {
  const auto Run = [&](auto&& X) {
    for (int32_t i = Low + M; i <= High - M; ++i) Dest.SetVal(i - Low + 1, Value(X, i));
  };
  if (&Source == &Dest) {
    Run([&Source](int32_t p) { return Source.GetVal(p); });
  } else {
    const std::vector<double> Copy = CopyRange(Source, Low, High);
    const double* Data = Copy.data();
    Run([Data, Low](int32_t p) { return Data[p - Low]; });
  }
  FillEdgesAndNotify(Dest, M, High - Low + 1);
}

}  // namespace zeq::detail
