// Sorting and insertion on plain arrays, written once as templates over the element type;
// the untyped forms dispatch on TVarKind to the same templates.
#include <algorithm>
#include <cstring>

#include "zeq/base/internal/comb_sort.h"
#include "zeq/math1/math1.h"

namespace zeq {

namespace {

template <class T>
void CombSortArray(T* D, int64_t N, bool Ascending) {
  detail::CombSortPasses(
      N, N, [&](int64_t Gap) { return detail::CombPass(D, N, Gap, Ascending); },
      [] { AdvanceProgress(1.0); });
}

// Insertion into a sorted array; returns the 0-based position or -1.
template <class T>
int32_t SortInto(T* D, int64_t N, T Value, bool Ascending, bool AllowDuplicates) {
  if (N <= 0) return -1;
  // "Below" in the array's order: smaller when ascending, larger when descending.
  const auto Before = [Ascending](T X, T Y) { return Ascending ? X < Y : X > Y; };
  int64_t Pos = 0;
  while (Pos < N - 1 && Before(D[Pos], Value)) ++Pos;
  if (D[Pos] == Value && !AllowDuplicates) return -1;
  if (Before(D[Pos], Value)) return -1;
  std::copy_backward(D + Pos, D + N - 1, D + N);
  D[Pos] = Value;
  return static_cast<int32_t>(Pos);
}

template <class T>
void InsertAt(T* D, int64_t N, T Value, int64_t Pos) {
  if (Pos < 0 || Pos >= N) return;
  std::copy_backward(D + Pos, D + N - 1, D + N);
  D[Pos] = Value;
}

// Calls F with the typed pointer for the kinds the array routines handle; false otherwise.
template <class F>
bool WithKind(void* Data, TVarKind Kind, F&& Fn) {
  switch (Kind) {
    case vkDouble:
    case vkReal:
      Fn(static_cast<double*>(Data));
      return true;
    case vkSingle:
      Fn(static_cast<float*>(Data));
      return true;
    case vkInteger:
    case vkLongint:
      Fn(static_cast<int32_t*>(Data));
      return true;
    default:
      return false;
  }
}

// The value behind an untyped pointer, read without assuming alignment.
template <class T>
T LoadValue(const void* P) {
  T V;
  std::memcpy(&V, P, sizeof(T));
  return V;
}

}  // namespace

void SortArray(std::span<double> Data, bool Ascending) {
  CombSortArray(Data.data(), static_cast<int64_t>(Data.size()), Ascending);
}
void SortArray(std::span<int32_t> Data, bool Ascending) {
  CombSortArray(Data.data(), static_cast<int64_t>(Data.size()), Ascending);
}
void SortArray(std::span<float> Data, bool Ascending) {
  CombSortArray(Data.data(), static_cast<int64_t>(Data.size()), Ascending);
}

void SortArray(void* Data, int32_t NumElems, TVarKind VarKind, bool Ascending) {
  if (Data == nullptr || NumElems <= 1) return;
  WithKind(Data, VarKind, [&](auto* D) { CombSortArray(D, NumElems, Ascending); });
}

int32_t SortIntoArray(std::span<double> Data, double Value, bool Ascending, bool AllowDuplicates) {
  return SortInto(Data.data(), static_cast<int64_t>(Data.size()), Value, Ascending,
                  AllowDuplicates);
}
int32_t SortIntoArray(std::span<float> Data, float Value, bool Ascending, bool AllowDuplicates) {
  return SortInto(Data.data(), static_cast<int64_t>(Data.size()), Value, Ascending,
                  AllowDuplicates);
}
int32_t SortIntoArray(std::span<int32_t> Data, int32_t Value, bool Ascending,
                      bool AllowDuplicates) {
  return SortInto(Data.data(), static_cast<int64_t>(Data.size()), Value, Ascending,
                  AllowDuplicates);
}

int32_t SortIntoArray(void* Data, int32_t NumElems, TVarKind VarKind, const void* Value,
                      bool Ascending, bool AllowDuplicates) {
  if (Data == nullptr || Value == nullptr) return 0;
  int32_t Pos = -1;
  WithKind(Data, VarKind, [&](auto* D) {
    using T = std::remove_pointer_t<decltype(D)>;
    Pos = SortInto(D, NumElems, LoadValue<T>(Value), Ascending, AllowDuplicates);
  });
  return Pos + 1;
}

void InsertIntoArray(std::span<double> Data, double Value, int32_t Pos) {
  InsertAt(Data.data(), static_cast<int64_t>(Data.size()), Value, Pos);
}
void InsertIntoArray(std::span<float> Data, float Value, int32_t Pos) {
  InsertAt(Data.data(), static_cast<int64_t>(Data.size()), Value, Pos);
}
void InsertIntoArray(std::span<int32_t> Data, int32_t Value, int32_t Pos) {
  InsertAt(Data.data(), static_cast<int64_t>(Data.size()), Value, Pos);
}

void InsertIntoArray(void* Data, int32_t NumElems, TVarKind VarKind, const void* Value,
                     int32_t Pos) {
  if (Data == nullptr || Value == nullptr) return;
  WithKind(Data, VarKind, [&](auto* D) {
    using T = std::remove_pointer_t<decltype(D)>;
    InsertAt(D, NumElems, LoadValue<T>(Value), int64_t{Pos} - 1);
  });
}

void ExChange(void* A, void* B, uint16_t Size) {
  if (A == nullptr || B == nullptr || A == B) return;
  auto* P = static_cast<unsigned char*>(A);
  auto* Q = static_cast<unsigned char*>(B);
  std::swap_ranges(P, P + Size, Q);
}

}  // namespace zeq
