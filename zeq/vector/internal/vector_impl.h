// What TVector and TIntVector share, written once over the vector class V (V::TElem is
// double or int32_t). Private to the unit and the units built on it (the matrix products
// read and fill vectors in bulk): users include vector.h only.
//
// Each routine states the behaviour of both twins; where they differ (arithmetic, start
// values, formats) the caller passes the difference in or keeps its own code.
#pragma once

#include <algorithm>
#include <cmath>
#include <new>
#include <span>
#include <stdexcept>
#include <vector>

#include "zeq/base/internal/comb_sort.h"
#include "zeq/base/internal/moments.h"
#include "zeq/base/internal/sorted_search.h"
#include "zeq/math1/math1.h"
#include "zeq/vector/vector.h"

namespace zeq::detail {

struct TVectorImpl {
  // ---- construction and size ----

  template <class V>
  static void Construct(V& Vec) {
    try {
      Vec.FVec.assign(1, typename V::TElem{});
    } catch (const std::bad_alloc&) {
      RaiseComponentError<EZEQVectorError>(&Vec, "not enough memory on heap");
    }
    Vec.FNElem = 1;
    Vec.FIsEmpty = true;
  }

  template <class V>
  static bool Resize(V& Vec, int32_t NE) {
    if (NE == Vec.FNElem) return true;
    if (NE <= 0) return false;
    try {
      Vec.FVec.resize(static_cast<size_t>(NE));  // strong guarantee: kept as it was on failure
    } catch (const std::bad_alloc&) {
      RaiseComponentError<EZEQVectorError>(&Vec, "not enough memory");
    } catch (const std::length_error&) {
      RaiseComponentError<EZEQVectorError>(&Vec, "not enough memory");
    }
    Vec.FNElem = NE;
    Vec.Changed();
    return true;
  }

  template <class V>
  static void SetSize(V& Vec, int32_t NE) {
    if (NE >= 1 && NE != Vec.FNElem) Vec.Resize(NE);
  }

  template <class V>
  static bool InRange(const V& Vec, int32_t Elem) {
    return Elem >= 1 && Elem <= Vec.FNElem;
  }

  template <class V>
  static typename V::TElem GetVal(const V& Vec, int32_t Elem) {
    return InRange(Vec, Elem) ? Vec.FVec[static_cast<size_t>(Elem - 1)] : typename V::TElem{};
  }

  template <class V>
  static void SetVal(V& Vec, int32_t Elem, typename V::TElem Value) {
    if (!InRange(Vec, Elem)) return;
    Vec.FVec[static_cast<size_t>(Elem - 1)] = Value;
    Vec.FIsEmpty = false;
    Vec.Changed();
  }

  // The elements, 1 .. NrOfElem at [0 .. NrOfElem).
  template <class V>
  static const typename V::TElem* Data(const V& Vec) {
    return Vec.FVec.data();
  }

  // Elements 1 .. Count := Values[0 .. Count), as Count calls of SetVal: one OnChange each.
  // Without a handler no event can be seen, and the values are copied at once.
  template <class V>
  static void SetVals(V& Vec, const typename V::TElem* Values, int32_t Count) {
    Count = std::min(Count, Vec.FNElem);
    if (Vec.OnChange) {
      for (int32_t i = 1; i <= Count; ++i) SetVal(Vec, i, Values[i - 1]);
      return;
    }
    std::copy_n(Values, std::max(Count, 0), Vec.FVec.begin());
    if (Count > 0) Vec.FIsEmpty = false;
  }

  template <class V>
  static void MakeValidElemRange(const V& Vec, int32_t& LowElem, int32_t& HighElem) {
    if (LowElem == 0 && HighElem == 0) {
      LowElem = 1;
      HighElem = Vec.FNElem;
      return;
    }
    LowElem = std::clamp(LowElem, 1, Vec.FNElem);
    HighElem = std::clamp(HighElem, 1, Vec.FNElem);
    if (LowElem > HighElem) std::swap(LowElem, HighElem);
  }

  // The repaired range as a span of the storage.
  template <class V>
  static auto Range(const V& Vec, int32_t LowElem, int32_t HighElem) {
    Vec.MakeValidElemRange(LowElem, HighElem);
    return std::span<const typename V::TElem>(Vec.FVec).subspan(
        static_cast<size_t>(LowElem - 1), static_cast<size_t>(HighElem - LowElem + 1));
  }

  // ---- copying ----

  template <class V>
  static void Assign(V& Vec, TPersistent* Source) {
    const auto* Src = dynamic_cast<const V*>(Source);
    if (Src == nullptr) return Vec.TComponent::Assign(Source);
    if (Src == &Vec) return;
    Vec.FVec = Src->FVec;  // copy first: a failed allocation leaves this vector as it was
    Vec.FNElem = Src->FNElem;
    Vec.FIsEmpty = Src->FIsEmpty;
    Vec.OnChange = Src->OnChange;
    Vec.OnSortExchange = Src->OnSortExchange;
  }

  template <class V>
  static void AssignTo(V& Vec, TPersistent* Dest) {
    if (auto* D = dynamic_cast<V*>(Dest)) return D->Assign(&Vec);
    Vec.TComponent::AssignTo(Dest);
  }

  template <class V>
  static void Fill(V& Vec, typename V::TElem Value, bool MarkFilled) {
    std::fill(Vec.FVec.begin(), Vec.FVec.end(), Value);
    Vec.FIsEmpty = !MarkFilled;
    Vec.Changed();
  }

  template <class V>
  static void Clone(V& Vec, const V* Source) {
    if (Source == nullptr) return;
    Vec.Resize(Source->FNElem);
    for (int32_t i = 1; i <= Source->FNElem; ++i) Vec.SetVal(i, Source->GetVal(i));
    Vec.Changed();
  }

  template <class V>
  static void CopyFrom(V& Vec, const V* Source, int32_t Lo, int32_t Hi, int32_t DestElem) {
    if (Source == nullptr) return;
    Lo = std::clamp(Lo, 1, Source->FNElem);
    Hi = std::clamp(Hi, 1, Source->FNElem);
    if (Lo > Hi) std::swap(Lo, Hi);
    for (int32_t i = Lo; i <= Hi; ++i) {
      const int64_t Dest = int64_t{i} - Lo + DestElem;  // 64 bits: DestElem may be extreme
      if (Dest >= 1 && Dest <= Vec.FNElem)
        Vec.SetVal(static_cast<int32_t>(Dest), Source->GetVal(i));
    }
    Vec.Changed();
  }

  // ---- element-wise operations ----

  // Element i := Op(element i, Other element i). A null Other does nothing.
  template <class V, class F>
  static void Combine(V& Vec, const V* Other, F Op) {
    if (Other == nullptr) return;
    CheckSameSize(Vec, Other);
    for (int32_t i = 1; i <= Vec.FNElem; ++i) {
      auto& X = Vec.FVec[static_cast<size_t>(i - 1)];
      X = Op(X, Other->GetVal(i));
    }
    Vec.Changed();
  }

  template <class V, class F>
  static void Transform(V& Vec, F Op) {
    for (auto& X : Vec.FVec) X = Op(X);
    Vec.Changed();
  }

  template <class V>
  static void CheckSameSize(const V& Vec, const V* Other) {
    if (Other->FNElem != Vec.FNElem)
      RaiseComponentError<EZEQVectorError>(&Vec, "vectors have different dimensions");
  }

  template <class V>
  static void CheckDistanceSizes(const V& Vec, const V* Other) {
    if (Other == nullptr || Other->FNElem != Vec.FNElem)
      throw EZEQVectorError("EuclideanDistance: dimensions of vectors do not match");
  }

  // ---- order ----

  template <class V>
  static void SortElems(V& Vec, bool Ascending, int32_t First, int32_t Last) {
    if (First != 0 || Last != 0) {
      if (First > Last) std::swap(First, Last);
      First = std::clamp(First, 1, Vec.FNElem);
      Last = std::clamp(Last, 1, Vec.FNElem);
    } else {
      First = 1;
      Last = Vec.FNElem;
    }
    if (Last - First < 1) return;
    auto* D = Vec.FVec.data() - 1;  // 1-based view of the storage
    const bool Report = static_cast<bool>(Vec.OnSortExchange);
    auto* Block = Vec.FVec.data() + (First - 1);  // 0-based view of First..Last
    const int64_t Count = Last - First + 1;
    CombSortPasses(
        Count, Last - First,
        [&](int64_t Gap) {
          // Without an exchange handler the vectorised pass makes the same exchanges.
          if (!Report) return CombPass(Block, Count, Gap, Ascending);
          bool Exchanged = false;
          for (int64_t i = First; i + Gap <= Last; ++i) {
            auto& A = D[i];
            auto& B = D[i + Gap];
            if (Ascending ? A > B : A < B) {
              std::swap(A, B);
              Exchanged = true;
              if (Report)
                Vec.SortExchange(0, static_cast<int32_t>(i), static_cast<int32_t>(i + Gap), 0, 0);
            }
          }
          return Exchanged;
        },
        [] {});
    Vec.Changed();
  }

  template <class V>
  static void Mirror(V& Vec) {
    std::reverse(Vec.FVec.begin(), Vec.FVec.end());
    Vec.Changed();
  }

  template <class V>
  static void Shuffle(V& Vec) {
    Randomize();
    for (int32_t k = 0; k < Vec.FNElem; ++k) {
      const auto i = static_cast<size_t>(Random(Vec.FNElem));
      const auto j = static_cast<size_t>(Random(Vec.FNElem));
      std::swap(Vec.FVec[i], Vec.FVec[j]);
    }
  }

  // ---- search ----

  // Strict comparisons from the given start values; first occurrence wins.
  template <class V, class T>
  static void MinMax(const V& Vec, int32_t Low, int32_t High, T StartMin, T StartMax, T& Minimum,
                     T& Maximum, int32_t& MinIx, int32_t& MaxIx) {
    TMinMaxScan<T, int32_t> Scan(StartMin, StartMax);
    Vec.MakeValidElemRange(Low, High);
    for (int32_t i = Low; i <= High; ++i) Scan.Take(Vec.FVec[static_cast<size_t>(i - 1)], i);
    Minimum = Scan.Minimum, Maximum = Scan.Maximum;
    MinIx = Scan.MinAt, MaxIx = Scan.MaxAt;
  }

  template <class V>
  static int32_t Find(const V& Vec, int32_t Low, int32_t High, typename V::TElem Value) {
    Vec.MakeValidElemRange(Low, High);
    long double Best = uc_MaxDouble;
    int32_t BestIx = 0;
    for (int32_t i = Low; i <= High; ++i) {
      const long double D =
          std::fabs(static_cast<long double>(Vec.FVec[static_cast<size_t>(i - 1)]) - Value);
      if (D < Best) {
        Best = D;
        BestIx = i;
      }
    }
    return BestIx;
  }

  template <class V>
  static int32_t FindInSorted(const V& Vec, bool Ascending, typename V::TElem Value) {
    const auto At = [&Vec](int32_t i) {
      return static_cast<long double>(Vec.FVec[static_cast<size_t>(i - 1)]);
    };
    return NearestInSorted(Vec.FNElem, At, Ascending, Value);
  }

  // ---- statistics shared by the twins ----

  template <class V>
  static void MeanVar(const V& Vec, int32_t Low, int32_t High, double& Mean, double& Variance) {
    TMomentSums Sums;
    for (auto X : Range(Vec, Low, High)) Sums.Take(X);
    Sums.Result(Mean, Variance);
  }

  // A sorted copy of the range, sorted with the library's array sort (progress per pass).
  template <class V>
  static std::vector<typename V::TElem> SortedCopy(const V& Vec, int32_t Low, int32_t High) {
    const auto R = Range(Vec, Low, High);
    std::vector<typename V::TElem> S;
    try {
      S.assign(R.begin(), R.end());
    } catch (const std::bad_alloc&) {
      RaiseComponentError<EZEQVectorError>(&Vec, "not enough memory on heap");
    }
    SortArray(std::span<typename V::TElem>(S), true);
    return S;
  }

  template <class V>
  static double Percentile(const V& Vec, double Prob, int32_t Low, int32_t High) {
    Prob = std::isnan(Prob) ? 0.0 : std::clamp(Prob, 0.0, 100.0);
    const auto S = SortedCopy(Vec, Low, High);
    const size_t N = S.size();
    if (N == 1) return static_cast<double>(S[0]);
    if (Prob == 100.0) return static_cast<double>(S[N - 1]);
    const long double Pos = static_cast<long double>(N - 1) * Prob / 100.0L;
    const auto K = static_cast<size_t>(Pos);
    const long double F = Pos - static_cast<long double>(K);
    const long double A = S[K];
    return static_cast<double>(A + (static_cast<long double>(S[K + 1]) - A) * F);
  }

  template <class V>
  static bool Quartiles(const V& Vec, int32_t Low, int32_t High, double& Q1, double& Q2,
                        double& Q3) {
    Q1 = Q2 = Q3 = 0;
    const auto S = SortedCopy(Vec, Low, High);
    const auto N = static_cast<int64_t>(S.size());
    const auto X = [&S](int64_t i) {
      return static_cast<long double>(S[static_cast<size_t>(i - 1)]);
    };
    if (N < 2) {
      Q1 = Q2 = Q3 = static_cast<double>(X(1));
      return true;
    }
    const auto Quartile = [&](long double P) {
      const long double Pos = static_cast<long double>(N + 1) * P;
      const auto K = static_cast<int64_t>(Pos);
      const long double F = Pos - static_cast<long double>(K);
      if (K == 0) return static_cast<double>(X(1));
      if (K > N - 1) return static_cast<double>(X(N));
      return static_cast<double>(X(K) + (X(K + 1) - X(K)) * F);
    };
    Q1 = Quartile(0.25L);
    Q2 = Quartile(0.5L);
    Q3 = Quartile(0.75L);
    return true;
  }

  template <class V>
  static typename V::TElem Mode(const V& Vec, int32_t Low, int32_t High) {
    const auto S = SortedCopy(Vec, Low, High);
    auto Best = S[0];
    size_t BestRun = 1, Run = 1;
    for (size_t i = 1; i < S.size(); ++i) {
      Run = S[i] == S[i - 1] ? Run + 1 : 1;
      if (Run > BestRun) {
        BestRun = Run;
        Best = S[i];
      }
    }
    return Best;
  }

  template <class V>
  static double GeometricMean(const V& Vec, int32_t Low, int32_t High) {
    const auto R = Range(Vec, Low, High);
    for (auto X : R)
      if (X < 0)
        RaiseComponentError<EZEQVectorError>(&Vec, "negative argument passed to GeometricMean");
    long double SumLn = 0;
    for (auto X : R) {
      if (X == 0) return 0.0;
      SumLn += std::log(static_cast<long double>(X));
    }
    return static_cast<double>(std::exp(SumLn / static_cast<long double>(R.size())));
  }

  template <class V>
  static double HarmonicMean(const V& Vec, int32_t Low, int32_t High) {
    const auto R = Range(Vec, Low, High);
    long double SumInv = 0;
    for (auto X : R) {
      if (!(X > 0))
        RaiseComponentError<EZEQVectorError>(&Vec,
                                             "negative or zero argument passed to HarmonicMean");
      SumInv += 1.0L / static_cast<long double>(X);
    }
    return static_cast<double>(static_cast<long double>(R.size()) / SumInv);
  }

  // Population skewness and excess kurtosis (long double sums); returns n.
  template <class V>
  static int64_t SkewKurtIntern(const V& Vec, int32_t Low, int32_t High, double& Skewness,
                                double& Kurtosis) {
    Skewness = Kurtosis = 0;
    const auto R = Range(Vec, Low, High);
    const auto N = static_cast<int64_t>(R.size());
    if (N <= 3) return N;
    const TCentralMoments<long double> M([&](auto&& Take) {
      for (auto X : R) Take(X);
    });
    const long double S = M.StdDev();
    if (S != 0) {
      long double Skew, Kurt;
      M.SkewKurt(S, Skew, Kurt);
      Skewness = static_cast<double>(Skew);
      Kurtosis = static_cast<double>(Kurt);
    }
    return N;
  }

  template <class V>
  static void SkewKurtSample(const V& Vec, int32_t Low, int32_t High, double& Skewness,
                             double& Kurtosis) {
    double S, K;
    const int64_t N = SkewKurtIntern(Vec, Low, High, S, K);
    Skewness = Kurtosis = 0;
    if (N < 4) return;
    const auto n = static_cast<long double>(N);
    Kurtosis = static_cast<double>((K + 3) * n * n * (n + 1) / (n - 1) / (n - 2) / (n - 3) -
                                   3 * (n - 1) * (n - 1) / ((n - 2) * (n - 3)));
    Skewness = static_cast<double>(S * n * n / (n - 1) / (n - 2));
  }

  template <class V>
  static double Pearson(const V& Vec, const V* Other) {
    if (Other == nullptr || Other->FNElem != Vec.FNElem || Vec.FNElem <= 1) return 0.0;
    long double Sx = 0, Sy = 0, Sxx = 0, Syy = 0, Sxy = 0;
    for (size_t i = 0; i < Vec.FVec.size(); ++i) {
      const long double X = Vec.FVec[i], Y = Other->FVec[i];
      Sx += X;
      Sy += Y;
      Sxx += X * X;
      Syy += Y * Y;
      Sxy += X * Y;
    }
    if (!(Sxx > 0 && Syy > 0)) return 0.0;
    const auto N = static_cast<long double>(Vec.FNElem);
    const long double Qx = Sxx - Sx * Sx / N;
    const long double Qy = Syy - Sy * Sy / N;
    if (Qx == 0 || Qy == 0) return 0.0;
    return static_cast<double>((Sxy - Sx * Sy / N) / std::sqrt(std::fabs(Qx * Qy)));
  }

  // ---- histogram helpers ----

  // Counts of a histogram run. The element range of a histogram is not repaired, so a
  // caller may pass billions of indices; the counters saturate instead of overflowing.
  struct THistogramCounts {
    TIntVector* Histo;
    int64_t Under = 0, Over = 0;
    int32_t MaxCnt = 0;

    // Resizes Histo to M bins (when it differs) and clears it.
    THistogramCounts(TIntVector* H, int32_t M) : Histo(H) {
      if (M != Histo->NrOfElem()) Histo->Resize(M);
      Histo->Clear();
    }

    // One more count in bin B (ignored outside 1..NrOfElem of Histo).
    void CountInBin(int32_t B) {
      if (B < 1 || B > Histo->NrOfElem()) return;
      const int32_t Old = Histo->GetVal(B);
      const int32_t Count = Old == INT32_MAX ? Old : Old + 1;
      Histo->SetVal(B, Count);
      MaxCnt = std::max(MaxCnt, Count);
    }

    void Store(int32_t& Underflow, int32_t& Overflow, int32_t& MaxCount) const {
      Underflow = static_cast<int32_t>(std::min<int64_t>(Under, INT32_MAX));
      Overflow = static_cast<int32_t>(std::min<int64_t>(Over, INT32_MAX));
      MaxCount = MaxCnt;
    }
  };
};

}  // namespace zeq::detail
