// What TMatrix and TIntMatrix share, written once over the matrix class M (M::TElem is double
// or int32_t): dense storage, range repair, filling, copying, statistics, reorganisation and
// search. Private to the matrix unit; a friend of both classes and the one way the unit's
// files reach a matrix's storage.
//
// Statistics take a visitor that calls its argument for every element of a rectangle, so
// that the sparse form of TIntMatrix can feed its stored entries to the same code.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <new>
#include <span>
#include <stdexcept>
#include <vector>

#include "zeq/base/internal/comb_sort.h"
#include "zeq/base/internal/moments.h"
#include "zeq/base/internal/range_repair.h"
#include "zeq/base/internal/sorted_search.h"
#include "zeq/math1/math1.h"
#include "zeq/matrix/internal/matrix_gemm.h"
#include "zeq/matrix/matrix.h"

namespace zeq::detail {

struct TMatrixTwin {
  template <class M>
  using TElemOf = typename M::TElem;

  static size_t Slots(int32_t Count) { return static_cast<size_t>(std::max(Count, 1)); }

  // ---- storage ----

  template <class M>
  static std::vector<TElemOf<M>> NewStorage(const M& Owner, int32_t Cols, int32_t Rows) {
    try {
      return std::vector<TElemOf<M>>(Slots(Cols) * Slots(Rows), TElemOf<M>{});
    } catch (const std::bad_alloc&) {
      Owner.OutOfMemory();
    } catch (const std::length_error&) {
      Owner.OutOfMemory();
    }
  }

  // Replaces the storage (shape and values) without notification.
  template <class M>
  static void Adopt(M& Mx, std::vector<TElemOf<M>>&& Storage, int32_t Nc, int32_t Nr) {
    Mx.Mat = std::move(Storage);
    Mx.FNCol = Nc;
    Mx.FNRow = Nr;
    Mx.FLd = Slots(Nr);
  }

  // The order of the sparse entries: by column, then by row.
  static bool SparseBefore(const TSpMatElemInt& E, int32_t Nc, int32_t Nr) {
    return E.colidx < Nc || (E.colidx == Nc && E.rowidx < Nr);
  }

  // Column-major storage: element (Nc, Nr) at Data(M)[(Nc - 1) * Ld(M) + Nr - 1].
  template <class M>
  static auto* Data(M& Mx) {
    return Mx.Mat.data();
  }
  template <class M>
  static size_t Ld(const M& Mx) {
    return Mx.FLd;
  }
  // The element itself, without range check or notification.
  template <class M>
  static auto& At(M& Mx, int32_t Nc, int32_t Nr) {
    return Mx.At(Nc, Nr);
  }
  // The double matrix as an operand of the exact products.
  static TOperand Operand(const TMatrix& Mx, bool Transposed) {
    return {Mx.Mat.data(), Mx.FLd, Transposed};
  }

  template <class M>
  static bool Resize(M& Mx, int32_t Nc, int32_t Nr) {
    if (Nc == Mx.FNCol && Nr == Mx.FNRow) return true;
    Nc = std::max(Nc, 0);
    Nr = std::max(Nr, 0);
    auto Storage = NewStorage(Mx, Nc, Nr);
    const int32_t KeepCols = std::min(Mx.FNCol, Nc), KeepRows = std::min(Mx.FNRow, Nr);
    for (int32_t c = 1; c <= KeepCols; ++c)
      std::copy_n(&Mx.At(c, 1), KeepRows,
                  Storage.begin() + static_cast<ptrdiff_t>(static_cast<size_t>(c - 1) * Slots(Nr)));
    Adopt(Mx, std::move(Storage), Nc, Nr);
    Mx.Changed();
    return true;
  }

  static void RepairRange(int32_t& Low, int32_t& High, int32_t Count) {
    detail::RepairRange(Low, High, Count);
  }

  template <class M>
  static void Fill(M& Mx, TElemOf<M> Value) {
    for (int32_t c = 1; c <= Mx.FNCol; ++c) std::fill_n(&Mx.At(c, 1), Mx.FNRow, Value);
    Mx.Changed();
  }

  template <class M>
  static void FillDiag(M& Mx, TElemOf<M> Value) {
    for (int32_t i = 1; i <= std::min(Mx.FNCol, Mx.FNRow); ++i) Mx.At(i, i) = Value;
    Mx.Changed();
  }

  // Copies a rectangle of Src (either matrix class, read through GetVal) to DestCol, DestRow.
  template <class M, class S>
  static void CopyFrom(M& Mx, const S* Src, int32_t ColLo, int32_t RowLo, int32_t ColHi,
                       int32_t RowHi, int32_t DestCol, int32_t DestRow) {
    if (Src == nullptr) return;
    const auto Clamp = [](int32_t& V, int32_t Count) { V = std::min(std::max(V, 1), Count); };
    Clamp(ColLo, Src->NrOfColumns());
    Clamp(ColHi, Src->NrOfColumns());
    Clamp(RowLo, Src->NrOfRows());
    Clamp(RowHi, Src->NrOfRows());
    if (RowLo > RowHi) std::swap(RowLo, RowHi);
    if (ColLo > ColHi) std::swap(ColLo, ColHi);
    // Only the part of the source rectangle that lands inside the destination is walked (a
    // huge sparse source copied into a small matrix costs the small matrix). 64-bit indices:
    // a corner near the ends of the 32-bit range must not wrap.
    const int64_t C0 = std::max<int64_t>(ColLo, int64_t{ColLo} + 1 - DestCol),
                  C1 = std::min<int64_t>(ColHi, int64_t{ColLo} + Mx.NrOfColumns() - DestCol),
                  R0 = std::max<int64_t>(RowLo, int64_t{RowLo} + 1 - DestRow),
                  R1 = std::min<int64_t>(RowHi, int64_t{RowLo} + Mx.NrOfRows() - DestRow);
    for (int64_t c = C0; c <= C1; ++c)
      for (int64_t r = R0; r <= R1; ++r)
        Mx.SetVal(
            static_cast<int32_t>(c - ColLo + DestCol), static_cast<int32_t>(r - RowLo + DestRow),
            static_cast<TElemOf<M>>(Src->GetVal(static_cast<int32_t>(c), static_cast<int32_t>(r))));
    Mx.Changed();
  }

  // Part of a row (AlongRow) or column of Mx into DestVec, which keeps its size.
  template <class M, class V>
  static void CopyLineToVec(const M& Mx, V* DestVec, bool AlongRow, int32_t Line, int32_t First,
                            int32_t Last) {
    if (DestVec == nullptr) return;
    if (AlongRow) {
      Mx.MakeValidColRange(First, Last);
      Line = std::clamp(Line, 1, std::max(Mx.NrOfRows(), 1));
    } else {
      Mx.MakeValidRowRange(First, Last);
      Line = std::clamp(Line, 1, std::max(Mx.NrOfColumns(), 1));
    }
    const int64_t End = std::min<int64_t>(Last, int64_t{DestVec->NrOfElem()} + First - 1);
    DestVec->Fill(0);
    for (int64_t i = First; i <= End; ++i) {  // 64-bit: Last may be the largest int32_t
      const auto Ix = static_cast<int32_t>(i);
      DestVec->SetVal(static_cast<int32_t>(i - First + 1),
                      AlongRow ? Mx.GetVal(Ix, Line) : Mx.GetVal(Line, Ix));
    }
  }

  template <class M>
  static void Clone(M& Mx, const M* Src) {
    if (Src == nullptr) return;
    Mx.Resize(Src->FNCol, Src->FNRow);
    if (Mx.OnChange) {
      for (int32_t c = 1; c <= Mx.FNCol; ++c)
        for (int32_t r = 1; r <= Mx.FNRow; ++r) Mx.SetVal(c, r, Src->GetVal(c, r));
    } else if (Src != &Mx) {  // no handler sees the element events: whole columns at once
      for (int32_t c = 1; c <= Mx.FNCol && Mx.FNRow > 0; ++c)
        std::copy_n(&Src->At(c, 1), Mx.FNRow, &Mx.At(c, 1));
    }
    Mx.Changed();
  }

  template <class M>
  static bool Transpose(M& Mx) {
    auto T = NewStorage(Mx, Mx.FNRow, Mx.FNCol);
    const size_t NewLd = Slots(Mx.FNCol);
    for (int32_t c = 1; c <= Mx.FNCol; ++c)
      for (int32_t r = 1; r <= Mx.FNRow; ++r)
        T[static_cast<size_t>(r - 1) * NewLd + static_cast<size_t>(c - 1)] = Mx.At(c, r);
    Adopt(Mx, std::move(T), Mx.FNRow, Mx.FNCol);
    Mx.Changed();
    return true;
  }

  // ---- rectangles ----

  // Calls F(x) for every element of the repaired rectangle, columns outer, rows inner.
  template <class M>
  static auto Dense(const M& Mx, int32_t LowCol, int32_t LowRow, int32_t HighCol, int32_t HighRow) {
    Mx.MakeValidColRange(LowCol, HighCol);
    Mx.MakeValidRowRange(LowRow, HighRow);
    return [&Mx, LowCol, LowRow, HighCol, HighRow](auto&& F) {
      for (int32_t c = LowCol; c <= HighCol; ++c)
        for (int32_t r = LowRow; r <= HighRow; ++r) F(Mx.At(c, r));
    };
  }

  template <class Visit>
  static std::vector<double> Collect(const TComponent& Owner, Visit&& V) {
    std::vector<double> D;
    try {
      V([&D](auto X) { D.push_back(static_cast<double>(X)); });
    } catch (const std::bad_alloc&) {
      RaiseComponentError<EZEQMatrixError>(&Owner, "not enough memory on heap");
    }
    return D;
  }

  // ---- statistics over a visitor ----

  template <class Visit>
  static void MeanVar(Visit&& V, double& Mean, double& Variance) {
    Mean = Variance = 0.0;
    double Sum = 0.0, SumSq = 0.0;
    int64_t N = 0;
    V([&](auto X) {
      const auto D = static_cast<double>(X);
      Sum = Sum + D;
      SumSq = SumSq + D * D;
      ++N;
    });
    if (N == 0) return;
    const auto Nd = static_cast<double>(N);
    Mean = Sum / Nd;
    Variance = N < 3 ? 1.0 : (SumSq - Sum * Sum / Nd) / (Nd - 1.0);
  }

  template <class Visit, class T>
  static void MinMax(Visit&& V, T StartMin, T StartMax, T& Minimum, T& Maximum) {
    Minimum = StartMin;
    Maximum = StartMax;
    V([&](auto X) {
      if (X < Minimum) Minimum = X;
      if (X > Maximum) Maximum = X;
    });
  }

  // Population skewness and excess kurtosis (double sums); returns N.
  template <class Visit>
  static int64_t SkewKurt(Visit&& V, double& Skewness, double& Kurtosis) {
    const TCentralMoments<double> M(V);
    const double Sigma = M.Count < 2 ? 0.0 : M.StdDev();
    if (M.Count < 2 || Sigma == 0) {
      Skewness = M.S3;  // the sums themselves, as documented (0.0 for no element)
      Kurtosis = M.S4;
      return M.Count;
    }
    M.SkewKurt(Sigma, Skewness, Kurtosis);
    return M.Count;
  }

  template <class Visit>
  static void SkewKurtSample(Visit&& V, double& Skewness, double& Kurtosis) {
    double S, K;
    const int64_t N = SkewKurt(V, S, K);
    Skewness = Kurtosis = 0.0;
    if (N < 4) return;
    const auto n = static_cast<double>(N);
    Skewness = S * n * n / ((n - 1) * (n - 2));
    Kurtosis = (K + 3) * n * n * (n + 1) / ((n - 1) * (n - 2) * (n - 3)) -
               3 * (n - 1) * (n - 1) / ((n - 2) * (n - 3));
  }

  template <class M>
  static double GeometricMean(const M& Mx, int32_t LowCol, int32_t LowRow, int32_t HighCol,
                              int32_t HighRow) {
    Mx.MakeValidColRange(LowCol, HighCol);
    Mx.MakeValidRowRange(LowRow, HighRow);
    if (LowCol > HighCol || LowRow > HighRow) return 0.0;
    double SumLn = 0.0;
    bool Zero = false;
    Dense(Mx, LowCol, LowRow, HighCol, HighRow)([&](auto X) {
      if (X < 0)
        RaiseComponentError<EZEQMatrixError>(&Mx, "negative argument passed to GeometricMean");
      if (X == 0) Zero = true;
      if (!Zero) SumLn = SumLn + std::log(static_cast<double>(X));
    });
    if (Zero) return 0.0;
    return std::exp((SumLn / (HighRow - LowRow + 1)) / (HighCol - LowCol + 1));
  }

  template <class M>
  static double HarmonicMean(const M& Mx, int32_t LowCol, int32_t LowRow, int32_t HighCol,
                             int32_t HighRow) {
    Mx.MakeValidColRange(LowCol, HighCol);
    Mx.MakeValidRowRange(LowRow, HighRow);
    double SumInv = 0.0;
    Dense(Mx, LowCol, LowRow, HighCol, HighRow)([&](auto X) {
      if (!(X > 0))
        RaiseComponentError<EZEQMatrixError>(&Mx,
                                             "negative or zero argument passed to HarmonicMean");
      SumInv = SumInv + 1.0 / static_cast<double>(X);
    });
    return static_cast<double>(HighRow - LowRow + 1) * static_cast<double>(HighCol - LowCol + 1) /
           SumInv;
  }

  template <class M>
  static bool Quartiles(const M& Mx, int32_t LowCol, int32_t LowRow, int32_t HighCol,
                        int32_t HighRow, double& Q1, double& Q2, double& Q3) {
    Q1 = Q2 = Q3 = 0.0;
    std::vector<double> X = Collect(Mx, Dense(Mx, LowCol, LowRow, HighCol, HighRow));
    const auto N = static_cast<int64_t>(X.size());
    if (N == 0) return false;
    SortArray(std::span<double>(X), true);
    if (N == 1) {
      Q1 = Q2 = Q3 = X[0];
      return true;
    }
    const auto Quartile = [&](double P) {
      const double Pos = static_cast<double>(N + 1) * P;
      const auto K = static_cast<int64_t>(Pos);
      const double F = Pos - static_cast<double>(K);
      if (K == 0) return X[0];
      if (K > N - 1) return X[static_cast<size_t>(N - 1)];
      return X[static_cast<size_t>(K - 1)] +
             (X[static_cast<size_t>(K)] - X[static_cast<size_t>(K - 1)]) * F;
    };
    Q1 = Quartile(0.25);
    Q2 = Quartile(0.5);
    Q3 = Quartile(0.75);
    return true;
  }

  static double ClampProb(double Prob) {
    return std::isnan(Prob) ? 0.0 : std::clamp(Prob, 0.0, 100.0);
  }

  // The element of rank round(N prob / 100), at most N - 1, by selection.
  static double SelectPercentile(std::vector<double>& X, double Prob) {
    if (X.empty()) return 0.0;
    const auto N = static_cast<double>(X.size());
    const auto K = static_cast<int32_t>(std::min(std::nearbyint(N * Prob / 100.0), N - 1));
    return QuickSelect(X, K, 0, static_cast<int32_t>(X.size()) - 1);
  }

  template <class M>
  static double Percentile(const M& Mx, double Prob, int32_t LowCol, int32_t LowRow,
                           int32_t HighCol, int32_t HighRow) {
    std::vector<double> X = Collect(Mx, Dense(Mx, LowCol, LowRow, HighCol, HighRow));
    return SelectPercentile(X, ClampProb(Prob));
  }

  template <class M>
  static double Percentile(const M& Mx, double Prob, int32_t LowCol, int32_t LowRow,
                           int32_t HighCol, int32_t HighRow, int32_t SampleSize) {
    Mx.MakeValidColRange(LowCol, HighCol);
    Mx.MakeValidRowRange(LowRow, HighRow);
    const int64_t N =
        int64_t{std::max(0, HighCol - LowCol + 1)} * std::max(0, HighRow - LowRow + 1);
    if (SampleSize <= 0 || N <= SampleSize)
      return Percentile(Mx, Prob, LowCol, LowRow, HighCol, HighRow);
    return SampledPercentile(Mx, Prob, SampleSize, [&] {
      const int32_t c = LowCol + Random(HighCol - LowCol + 1);
      const int32_t r = LowRow + Random(HighRow - LowRow + 1);
      return static_cast<double>(Mx.At(c, r));
    });
  }

  // The percentile of SampleSize values drawn by Draw() (after Randomize). A percentile that
  // falls among the sampled zeros is 0.
  template <class Draw>
  static double SampledPercentile(const TComponent& Owner, double Prob, int32_t SampleSize,
                                  Draw&& DrawOne) {
    Prob = ClampProb(Prob);
    Randomize();
    std::vector<double> Sample;
    try {
      Sample.reserve(static_cast<size_t>(SampleSize));
    } catch (const std::bad_alloc&) {
      RaiseComponentError<EZEQMatrixError>(&Owner, "not enough memory on heap");
    }
    int64_t Zeros = 0, Negatives = 0;
    for (int32_t s = 0; s < SampleSize; ++s) {
      const double X = DrawOne();
      Zeros += X == 0;
      Negatives += X < 0;
      Sample.push_back(X);
    }
    const double P = Prob / 100.0, Size = SampleSize;
    if (Negatives / Size < P && P < (Negatives + Zeros) / Size) return 0.0;  // among the zeros
    return SelectPercentile(Sample, Prob);
  }

  template <class M>
  static void MeanVec(const M& Mx, TDims Dim, TVector* Means) {
    if (Means == nullptr) return;
    const bool Columns = Dim == dimColumns;
    const int32_t Lines = Columns ? Mx.FNCol : Mx.FNRow, Across = Columns ? Mx.FNRow : Mx.FNCol;
    Means->SetVecSize(Lines);
    for (int32_t l = 1; l <= Lines; ++l) {
      double Sum = 0.0;
      for (int32_t k = 1; k <= Across; ++k)
        Sum = Sum + static_cast<double>(Columns ? Mx.At(l, k) : Mx.At(k, l));
      Means->SetVal(l, Sum / Across);
    }
  }

  // ---- reorganisation ----

  // The comb sort of rows (ByRows) or columns, keyed on line KeyIx of the other dimension.
  template <class M>
  static void SortLines(M& Mx, bool ByRows, int32_t KeyIx, bool Ascending, int32_t LowCol,
                        int32_t LowRow, int32_t HighCol, int32_t HighRow) {
    Mx.MakeValidColRange(LowCol, HighCol);
    Mx.MakeValidRowRange(LowRow, HighRow);
    const int32_t Lo = ByRows ? LowRow : LowCol, Hi = ByRows ? HighRow : HighCol;
    const int32_t OtherLo = ByRows ? LowCol : LowRow, OtherHi = ByRows ? HighCol : HighRow;
    if (Hi - Lo < 1) return;
    // Element (line, position along the other dimension).
    const auto Cell = [&Mx, ByRows ](int32_t Line, int32_t Pos) -> auto& {
      return ByRows ? Mx.At(Pos, Line) : Mx.At(Line, Pos);
    };
    const bool KeyInMatrix = KeyIx >= 1 && KeyIx <= (ByRows ? Mx.FNCol : Mx.FNRow);
    const bool KeyOutsideRange = KeyInMatrix && (KeyIx < OtherLo || KeyIx > OtherHi);
    const auto Key = [&](int32_t Line) { return KeyInMatrix ? Cell(Line, KeyIx) : TElemOf<M>{}; };
    // Rows without an exchange handler: each stretch of a pass is marked once on the key column
    // and the marks exchanged down every column, vectorised (the same exchanges as below).
    const bool Stretched = ByRows && KeyInMatrix && !Mx.OnSortExchange;
    std::vector<uint8_t> Marks;
    try {
      if (Stretched) Marks.resize(static_cast<size_t>(Hi - Lo + 1));
    } catch (const std::bad_alloc&) {
      Mx.OutOfMemory();
    }
    const auto StretchedPass = [&](int64_t Gap) {
      bool Exchanged = false;
      for (int64_t i = Lo; i + Gap <= Hi; i += Gap) {
        const int64_t Len = std::min<int64_t>(Gap, Hi - Gap - i + 1);
        const auto Row = static_cast<int32_t>(i);
        if (!CombMarkStretch(&Cell(Row, KeyIx), Len, Gap, Ascending, Marks.data())) continue;
        Exchanged = true;
        for (int32_t p = OtherLo; p <= OtherHi; ++p)
          CombExchangeStretch(&Cell(Row, p), Len, Gap, Marks.data());
        if (KeyOutsideRange) CombExchangeStretch(&Cell(Row, KeyIx), Len, Gap, Marks.data());
      }
      return Exchanged;
    };
    CombSortPasses(
        Hi - Lo + 1, Hi - Lo,
        [&](int64_t Gap) {
          if (Stretched && Gap >= CombVectorGap) return StretchedPass(Gap);
          bool Exchanged = false;
          for (int32_t i = Lo; i + Gap <= Hi; ++i) {
            const auto j = static_cast<int32_t>(i + Gap);
            const auto A = Key(i), B = Key(j);
            if (!(Ascending ? A > B : A < B)) continue;
            for (int32_t p = OtherLo; p <= OtherHi; ++p) std::swap(Cell(i, p), Cell(j, p));
            if (KeyOutsideRange) std::swap(Cell(i, KeyIx), Cell(j, KeyIx));
            Exchanged = true;
            Mx.SortExchange(ByRows ? 2 : 1, i, j, OtherLo, OtherHi);
          }
          return Exchanged;
        },
        [] {});
    Mx.Changed();
  }

  template <class M>
  static void MirrorColumns(M& Mx) {
    for (int32_t c = 1, d = Mx.FNCol; c < d; ++c, --d)
      std::swap_ranges(&Mx.At(c, 1), &Mx.At(c, 1) + Mx.FNRow, &Mx.At(d, 1));
    Mx.Changed();
  }

  template <class M>
  static void MirrorRows(M& Mx) {
    for (int32_t c = 1; c <= Mx.FNCol; ++c) std::reverse(&Mx.At(c, 1), &Mx.At(c, 1) + Mx.FNRow);
    Mx.Changed();
  }

  template <class M>
  static void ExchangeColumns(M& Mx, int32_t C1, int32_t C2) {
    if (C1 < 1 || C1 > Mx.FNCol || C2 < 1 || C2 > Mx.FNCol) return;
    if (C1 != C2) std::swap_ranges(&Mx.At(C1, 1), &Mx.At(C1, 1) + Mx.FNRow, &Mx.At(C2, 1));
    Mx.Changed();
  }

  template <class M>
  static void ExchangeRows(M& Mx, int32_t R1, int32_t R2) {
    if (R1 < 1 || R1 > Mx.FNRow || R2 < 1 || R2 > Mx.FNRow) return;
    for (int32_t c = 1; c <= Mx.FNCol; ++c) std::swap(Mx.At(c, R1), Mx.At(c, R2));
    Mx.Changed();
  }

  template <class M>
  static void EdgeVector(const M& Mx, TOrientation Orient, TEdgeOp Op, TVector* DestVec) {
    if (DestVec == nullptr) return;
    const bool PerRow = Orient == orHorizontal;
    const int32_t Lines = PerRow ? Mx.FNRow : Mx.FNCol, Across = PerRow ? Mx.FNCol : Mx.FNRow;
    DestVec->SetVecSize(Lines);
    for (int32_t l = 1; l <= Lines; ++l) {
      double V = Op == eopMin   ? static_cast<double>(uc_MaxDouble)
                 : Op == eopMax ? -static_cast<double>(uc_MaxDouble)
                                : 0.0;
      for (int32_t k = 1; k <= Across; ++k) {
        const auto X = static_cast<double>(PerRow ? Mx.At(k, l) : Mx.At(l, k));
        if (Op == eopMin) {
          if (X < V) V = X;
        } else if (Op == eopMax) {
          if (X > V) V = X;
        } else {
          V = V + X;
        }
      }
      if (Op == eopMean) V = V / Across;
      DestVec->SetVal(l, V);
    }
  }

  // ---- search ----

  template <class M>
  static void Find(const M& Mx, int32_t LowCol, int32_t HighCol, int32_t LowRow, int32_t HighRow,
                   double Value, int32_t& ColIx, int32_t& RowIx) {
    Mx.MakeValidColRange(LowCol, HighCol);
    Mx.MakeValidRowRange(LowRow, HighRow);
    ColIx = RowIx = 0;
    double Best = static_cast<double>(uc_MaxDouble);
    for (int32_t c = LowCol; c <= HighCol; ++c)
      for (int32_t r = LowRow; r <= HighRow; ++r) {
        const double D = std::fabs(static_cast<double>(Mx.At(c, r)) - Value);
        if (D < Best) {
          Best = D;
          ColIx = c;
          RowIx = r;
        }
      }
  }

  template <class M>
  static int32_t FindInSortedColumn(const M& Mx, int32_t Col, bool Ascending, double Value) {
    if (Col < 1 || Col > Mx.FNCol || Mx.FNRow < 1) return 0;
    const auto At = [&](int32_t r) { return static_cast<long double>(Mx.At(Col, r)); };
    return NearestInSorted(Mx.FNRow, At, Ascending, Value);
  }

  // ---- products: results delivered as the events require ----

  // Computes a Cols x Rows result with Compute(C, Ldc) and delivers it to Res: straight into
  // its storage when nothing watches it, else through its setter row by row afterwards.
  template <class M, class F>
  static void DeliverResult(const M& Self, M* Res, const M* Operand, int32_t Cols, int32_t Rows,
                            F Compute) {
    const bool Direct = !Res->OnChange && Res != &Self && Res != Operand;
    if (Direct) {
      Res->Resize(Cols, Rows);
      Compute(Res->Mat.data(), Res->FLd);
      return;
    }
    auto Buffer = NewStorage(*Res, Cols, Rows);
    const size_t Ld = Slots(Rows);
    Compute(Buffer.data(), Ld);
    Res->Resize(Cols, Rows);
    for (int32_t r = 1; r <= Rows; ++r)
      for (int32_t c = 1; c <= Cols; ++c)
        Res->SetVal(c, r, Buffer[static_cast<size_t>(c - 1) * Ld + static_cast<size_t>(r - 1)]);
  }
};

}  // namespace zeq::detail
