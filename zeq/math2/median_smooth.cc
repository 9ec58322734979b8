// The moving median: a sliding window kept sorted, so that each step costs a binary search and
// a short shift instead of a sort of the whole window.
//
// The documented value of a window is Q2 of TVector::Quartiles over the window, that is
// x(m + 1) + (x(m + 2) - x(m + 1)) * 0 on the sorted window x(1..2m + 1). For windows without
// NaN that is the middle value itself, except that a zero comes out as +0.0 and an infinite
// middle value or right neighbour gives NaN; the sorted window answers it. Windows holding NaN
// depend on where the comb sort leaves the NaN, so they are evaluated literally.
#include <algorithm>
#include <cmath>
#include <vector>

#include "zeq/base/internal/comb_sort.h"
#include "zeq/math2/internal/smoothing_range.h"
#include "zeq/math2/smoothing.h"

namespace zeq {

namespace {

// Q2 by the (n + 1) p rule from the two sorted values around the middle.
double MiddleQuartile(long double Middle, long double Above) {
  return static_cast<double>(Middle + (Above - Middle) * 0.0L);
}

// The documented evaluation: the window copied centre first, then x(i + k), x(i - k) for
// k = 1..m, sorted by the library's comb sort (which never moves a NaN), then Q2.
template <class Reader>
double LiteralWindowMedian(const Reader& X, int32_t i, int32_t m, std::vector<double>& Scratch) {
  Scratch.clear();
  Scratch.push_back(X(i));
  for (int32_t k = 1; k <= m; ++k) {
    Scratch.push_back(X(i + k));
    Scratch.push_back(X(i - k));
  }
  double* D = Scratch.data();
  const auto N = static_cast<int64_t>(Scratch.size());
  detail::CombSortPasses(
      N, N,
      [&](int64_t Gap) {
        bool Exchanged = false;
        for (int64_t j = 0; j + Gap < N; ++j)
          if (D[j] > D[j + Gap]) {
            std::swap(D[j], D[j + Gap]);
            Exchanged = true;
          }
        return Exchanged;
      },
      [] {});
  return MiddleQuartile(D[m], D[m + 1]);
}

// The window's values without NaN, sorted, and the count of NaN in the window.
class TSortedWindow {
 public:
  void Insert(double V) {
    if (std::isnan(V)) {
      ++FNaNs;
      return;
    }
    FSorted.insert(std::upper_bound(FSorted.begin(), FSorted.end(), V), V);
  }
  // Removes Old and inserts New with one shift of the values between their places.
  void Replace(double Old, double New) {
    if (std::isnan(Old) || std::isnan(New)) {
      Remove(Old);
      Insert(New);
      return;
    }
    const auto From = std::lower_bound(FSorted.begin(), FSorted.end(), Old);
    const auto To = std::upper_bound(FSorted.begin(), FSorted.end(), New);
    if (To > From) {  // New goes above Old's place: shift the values between down
      std::move(From + 1, To, From);
      *(To - 1) = New;
    } else {
      std::move_backward(To, From, From + 1);
      *To = New;
    }
  }
  bool HasNaN() const { return FNaNs > 0; }
  double Median(int32_t m) const { return MiddleQuartile(FSorted[m], FSorted[m + 1]); }

 private:
  void Remove(double V) {
    if (std::isnan(V)) {
      --FNaNs;
      return;
    }
    FSorted.erase(std::lower_bound(FSorted.begin(), FSorted.end(), V));
  }

  std::vector<double> FSorted;
  int32_t FNaNs = 0;
};

// Medians of the windows of a source that no write changes.
void SlidingMedians(const std::vector<double>& X, int32_t m, TVector& Dest) {
  const auto Read = [&X](int32_t p) { return X[static_cast<size_t>(p)]; };  // 0-based
  std::vector<double> Scratch;
  TSortedWindow Window;
  for (int32_t p = 0; p < 2 * m + 1; ++p) Window.Insert(Read(p));
  const auto Count = static_cast<int32_t>(X.size());
  for (int32_t c = m; c + m < Count; ++c) {
    if (c > m) Window.Replace(Read(c - m - 1), Read(c + m));
    const double V = Window.HasNaN() ? LiteralWindowMedian(Read, c, m, Scratch) : Window.Median(m);
    Dest.SetVal(c + 1, V);  // the centre at offset c in the range is output element c + 1
  }
}

}  // namespace

void MovingMedianSmooth(const TVector* SourceVec, int32_t LowElem, int32_t HighElem,
                        TVector* DestVec, int32_t WindowLength) {
  detail::CheckSmoothArgs(SourceVec, DestVec, LowElem, HighElem, WindowLength, 3, INT32_MAX,
                          detail::SmoothMessages("MovingMedianSmooth", "smoothing", false));
  const int32_t m = WindowLength / 2;
  if (SourceVec == DestVec) {  // the windows read values already written: evaluate literally
    std::vector<double> Scratch;
    detail::EvaluateWindows(
        *SourceVec, LowElem, HighElem, m, *DestVec,
        [&](const auto& X, int32_t i) { return LiteralWindowMedian(X, i, m, Scratch); });
    return;
  }
  SlidingMedians(detail::CopyRange(*SourceVec, LowElem, HighElem), m, *DestVec);
  detail::FillEdgesAndNotify(*DestVec, m, HighElem - LowElem + 1);
}

}  // namespace zeq
