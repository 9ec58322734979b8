/// @file
/// Array algorithms: compensated summation, range statistics of plain arrays, selection,
/// sorting and insertion into sorted arrays, exchange of two variables.
///
/// Arrays are 0-based and passed as spans (a std::vector converts implicitly); the untyped
/// forms take a pointer, a count and a TVarKind and address elements from 1.
#pragma once

#include <cstdint>
#include <span>
#include <utility>

#include "zeq/base/base.h"
#include "zeq/base/export.h"

namespace zeq {

// ---- compensated summation ----

/// Kahan summation: Sum carries the compensated total of the numbers added since Reset.
class ZEQ_API TKahanSum : public TComponent {
 public:
  /// Sum 0.
  explicit TKahanSum(TComponent* AOwner = nullptr);
  std::string ClassName() const override { return "TKahanSum"; }

  /// Sum := 0 and the compensation cleared.
  void Reset();
  /// Adds ANumber to Sum, carrying the rounding error of the addition into the next one.
  void Add(double ANumber);

 private:
  double cps = 0.0;  // the low-order part lost by the last addition

 public:
  /// The compensated total so far.
  double Sum = 0.0;
};

// ---- range statistics (status 0 = done, -1 = invalid range) ----

/// Minimum and maximum of Data[LowIx..HighIx] and the index of their first occurrence.
/// Minimum starts at uc_MaxDouble, Maximum at -uc_MaxDouble, the indices at 0, and they keep
/// these values on an invalid range (a bound outside 0..High) or when LowIx > HighIx (not
/// invalid: nothing is scanned). NaN elements are never taken.
ZEQ_API int32_t MinMaxOfArray(std::span<const double> Data, int32_t LowIx, int32_t HighIx,
                              double& Minimum, double& Maximum, int32_t& MinIx, int32_t& MaxIx);
/// The same over the rectangle [LowIx1..HighIx1] x [LowIx2..HighIx2] of Data[i1][i2], the
/// outer index in the outer loop. Inner bounds are checked against the first row; a range
/// that reaches beyond a shorter row of the rectangle is invalid as well.
ZEQ_API int32_t MinMaxOfArray(const TDouble2DArray& Data, int32_t LowIx1, int32_t LowIx2,
                              int32_t HighIx1, int32_t HighIx2, double& Minimum, double& Maximum,
                              int32_t& MinIx1, int32_t& MinIx2, int32_t& MaxIx1, int32_t& MaxIx2);

/// Mean and variance of Data[LowIx..HighIx], sums carried in long double. The variance is
/// (sum of squares - sum^2 / n) / (n - 1) for n >= 3, 1.0 for n < 3, and never negative.
/// Outputs start at 0. Besides bounds outside the array, LowIx > HighIx is invalid (-1).
ZEQ_API int32_t MeanVarOfArray(std::span<const double> Data, int32_t LowIx, int32_t HighIx,
                               double& Mean, double& Variance);
/// The same over a rectangle of a 2-D array (n = number of cells), with the range rules of
/// the 2-D MinMaxOfArray; an empty rectangle is invalid.
ZEQ_API int32_t MeanVarOfArray(const TDouble2DArray& Data, int32_t LowIx1, int32_t LowIx2,
                               int32_t HighIx1, int32_t HighIx2, double& Mean, double& Variance);

// ---- selection ----

/// The value that would stand at index K if Data[LowIx..HighIx] were sorted ascending;
/// reorders that range in place. 0 when HighIx < LowIx. A K outside LowIx..HighIx is clamped
/// into it (giving the smallest or the largest value); a range reaching outside the array
/// gives NaN and leaves the array untouched. NaN elements make the order undefined but the
/// routine terminates. Linear expected time also when values repeat (three-way partitions).
ZEQ_API double QuickSelect(std::span<double> Data, int32_t K, int32_t LowIx, int32_t HighIx);

// ---- sorting (comb sort, shrink factor 1.3, equal elements never exchanged) ----
// Every pass adds 1 to ProcStat and calls MathFeedBackProc.

///@{
/// Comb sort of Data in place, ascending or descending; NaN elements are never exchanged.
ZEQ_API void SortArray(std::span<double> Data, bool Ascending);
ZEQ_API void SortArray(std::span<int32_t> Data, bool Ascending);
ZEQ_API void SortArray(std::span<float> Data, bool Ascending);
///@}
/// NumElems elements of the given kind; NumElems <= 1 or another kind does nothing.
ZEQ_API void SortArray(void* Data, int32_t NumElems, TVarKind VarKind, bool Ascending);

// ---- insertion ----

///@{
/// Inserts Value into the sorted Data (keeping its length: the last element drops off) at
/// the first element not below it (ascending) or not above it (descending). Returns the
/// 0-based position, or -1 when Value lies beyond the last element, equals the element found
/// while AllowDuplicates is false, or Data is empty.
ZEQ_API int32_t SortIntoArray(std::span<double> Data, double Value, bool Ascending,
                              bool AllowDuplicates);
ZEQ_API int32_t SortIntoArray(std::span<float> Data, float Value, bool Ascending,
                              bool AllowDuplicates);
ZEQ_API int32_t SortIntoArray(std::span<int32_t> Data, int32_t Value, bool Ascending,
                              bool AllowDuplicates);
///@}
/// The same on NumElems elements of the given kind, 1-based: the result is the position, or 0
/// when not inserted (also for another kind).
ZEQ_API int32_t SortIntoArray(void* Data, int32_t NumElems, TVarKind VarKind, const void* Value,
                              bool Ascending, bool AllowDuplicates);

///@{
/// Stores Value at the 0-based Pos, moving Data[Pos..High-1] up one place (the last element is
/// lost). A Pos outside 0..High does nothing.
ZEQ_API void InsertIntoArray(std::span<double> Data, double Value, int32_t Pos);
ZEQ_API void InsertIntoArray(std::span<float> Data, float Value, int32_t Pos);
ZEQ_API void InsertIntoArray(std::span<int32_t> Data, int32_t Value, int32_t Pos);
///@}
/// The same with a 1-based Pos in 1..NumElems; another kind or Pos does nothing.
ZEQ_API void InsertIntoArray(void* Data, int32_t NumElems, TVarKind VarKind, const void* Value,
                             int32_t Pos);

// ---- exchange ----

/// Exchanges the values of two variables of the same type.
template <class T>
void ExChange(T& A, T& B) {
  using std::swap;
  swap(A, B);
}
/// Exchanges Size bytes of two non-overlapping memory blocks.
ZEQ_API void ExChange(void* A, void* B, uint16_t Size);

}  // namespace zeq
