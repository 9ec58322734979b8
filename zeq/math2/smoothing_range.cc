// Argument checks, source copy and edge fill shared by the range smoothers.
#include <algorithm>
#include <new>

#include "zeq/math2/internal/smoothing_range.h"

namespace zeq::detail {

TSmoothMessages SmoothMessages(const std::string& Name, const char* Purpose, bool Polynomial) {
  const std::string Window = Polynomial ? "polynomial" : "smoothing window";
  return {Name + ": either SourceVec or DestVec is undefined",
          Name + ": specified range for " + Purpose + " is smaller than the length of the " +
              (Polynomial ? "polynomial" : "smoothing windows"),
          Name + ": length of " + Window + " is out of range",
          Name + ": length of " + Window + " must be odd"};
}

void CheckSmoothArgs(const TVector* Source, const TVector* Dest, int32_t& Low, int32_t& High,
                     int32_t Length, int32_t MinLength, int32_t MaxLength,
                     const TSmoothMessages& Msg) {
  if (Source == nullptr || Dest == nullptr) throw EZEQMath2Error(Msg.Undefined);
  const int32_t N = Source->NrOfElem();
  Low = std::clamp(Low, 1, N);
  High = std::clamp(High, 1, N);
  if (Low > High) std::swap(Low, High);
  if (static_cast<int64_t>(High) - Low < Length) throw EZEQMath2Error(Msg.Range);
  if (Length < MinLength || Length > MaxLength) throw EZEQMath2Error(Msg.OutOfRange);
  if (Length % 2 == 0) throw EZEQMath2Error(Msg.Even);
}

std::vector<double> CopyRange(const TVector& Source, int32_t Low, int32_t High) {
  std::vector<double> Copy(static_cast<size_t>(High - Low + 1));
  for (int32_t p = Low; p <= High; ++p) Copy[static_cast<size_t>(p - Low)] = Source.GetVal(p);
  return Copy;
}

void FillEdgesAndNotify(TVector& Dest, int32_t M, int32_t N) {
  const double First = Dest.GetVal(M + 1);
  for (int32_t e = 1; e <= M; ++e) Dest.SetVal(e, First);
  const double Last = Dest.GetVal(N - M);
  for (int32_t e = N - M + 1; e <= N; ++e) Dest.SetVal(e, Last);
  Dest.Changed();
}

}  // namespace zeq::detail
