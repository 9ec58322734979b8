// TIntVector: the 32-bit integer twin of TVector. What the twins share comes from
// vector_impl.h; this file holds the integer differences: wrapping 32-bit arithmetic, the
// MinMax start values, squares formed in 32 bits, the integer histogram.
#include <cmath>

#include "zeq/base/internal/int32_wrap.h"
#include "zeq/vector/internal/vector_impl.h"

namespace zeq {

using Impl = detail::TVectorImpl;

using detail::Wrap;
using detail::WrapAdd;
using detail::WrapMul;
using detail::WrapSub;

TIntVector::TIntVector(TComponent* AOwner) : TComponent(AOwner) { Impl::Construct(*this); }

void TIntVector::SetIntVecSize(int32_t NrOfElem) { Impl::SetSize(*this, NrOfElem); }

void TIntVector::Assign(TPersistent* Source) { Impl::Assign(*this, Source); }

void TIntVector::AssignTo(TPersistent* Dest) { Impl::AssignTo(*this, Dest); }

void TIntVector::Changed() {
  if (OnChange) OnChange(this);
}

void TIntVector::SortExchange(uint8_t ExchgWhat, int32_t Index1, int32_t Index2, int32_t First,
                              int32_t Last) {
  if (OnSortExchange) OnSortExchange(this, ExchgWhat, Index1, Index2, First, Last);
}

bool TIntVector::Resize(int32_t NE) { return Impl::Resize(*this, NE); }

int32_t TIntVector::GetVal(int32_t Elem) const { return Impl::GetVal(*this, Elem); }

void TIntVector::SetVal(int32_t Elem, int32_t Value) { Impl::SetVal(*this, Elem, Value); }

void TIntVector::MakeValidElemRange(int32_t& LowElem, int32_t& HighElem) const {
  Impl::MakeValidElemRange(*this, LowElem, HighElem);
}

void TIntVector::Fill(int32_t value) { Impl::Fill(*this, value, true); }

void TIntVector::Clear() { Impl::Fill(*this, 0, false); }

void TIntVector::AbsVal() {
  Impl::Transform(*this, [](int32_t X) { return X < 0 ? WrapSub(0, X) : X; });
}

void TIntVector::Clone(const TIntVector* VecSource) { Impl::Clone(*this, VecSource); }

void TIntVector::CopyFrom(const TIntVector* VecSource, int32_t SourceElemLo, int32_t SourceElemHi,
                          int32_t DestElem) {
  Impl::CopyFrom(*this, VecSource, SourceElemLo, SourceElemHi, DestElem);
}

void TIntVector::Add(const TIntVector* OtherVec) { Impl::Combine(*this, OtherVec, WrapAdd); }

void TIntVector::Subtract(const TIntVector* OtherVec) { Impl::Combine(*this, OtherVec, WrapSub); }

void TIntVector::SMult(int32_t scalar) {
  Impl::Transform(*this, [scalar](int32_t X) { return WrapMul(X, scalar); });
}

int32_t TIntVector::DotProduct(const TIntVector* OtherVec) const {
  if (OtherVec == nullptr) return 0;
  Impl::CheckSameSize(*this, OtherVec);
  uint32_t Sum = 0;  // the low 32 bits of each 64-bit product, wrapping
  for (int32_t i = 1; i <= FNElem; ++i)
    Sum += static_cast<uint32_t>(int64_t{FVec[static_cast<size_t>(i - 1)]} * OtherVec->GetVal(i));
  return Wrap(Sum);
}

double TIntVector::EuclideanDistance(const TIntVector* OtherVec) const {
  Impl::CheckDistanceSizes(*this, OtherVec);
  long double Sum = 0;
  for (int32_t i = 1; i <= FNElem; ++i) {
    const int32_t D = WrapSub(FVec[static_cast<size_t>(i - 1)], OtherVec->GetVal(i));
    Sum += WrapMul(D, D);
  }
  return static_cast<double>(std::sqrt(Sum));
}

int32_t TIntVector::Correlate(const TIntVector* OtherVec, int32_t ElemShift) const {
  if (OtherVec == nullptr) return 0;
  uint64_t Sum = 0;  // wrapping 64-bit sum; its low 32 bits are the result
  for (int32_t i = 1; i <= FNElem; ++i) {
    const int64_t j = int64_t{i} + ElemShift;
    if (j >= 1 && j <= OtherVec->NrOfElem())
      Sum += static_cast<uint64_t>(int64_t{FVec[static_cast<size_t>(i - 1)]} *
                                   OtherVec->GetVal(static_cast<int32_t>(j)));
  }
  return Wrap(static_cast<uint32_t>(Sum));
}

double TIntVector::CalcVecLeng() const {
  long double Sum = 0;
  for (int32_t X : FVec) Sum += WrapMul(X, X);
  return static_cast<double>(std::sqrt(Sum));
}

void TIntVector::SortElems(bool Ascending, int32_t RangeFirst, int32_t RangeLast) {
  Impl::SortElems(*this, Ascending, RangeFirst, RangeLast);
}

void TIntVector::Mirror() { Impl::Mirror(*this); }

void TIntVector::ShuffleElems() { Impl::Shuffle(*this); }

void TIntVector::MinMax(int32_t LowElem, int32_t HighElem, int32_t& Minimum, int32_t& Maximum,
                        int32_t& MinIx, int32_t& MaxIx) const {
  Impl::MinMax(*this, LowElem, HighElem, INT32_MAX, -INT32_MAX, Minimum, Maximum, MinIx, MaxIx);
}

void TIntVector::MinMax(int32_t LowElem, int32_t HighElem, int32_t& Minimum,
                        int32_t& Maximum) const {
  int32_t MinIx, MaxIx;
  MinMax(LowElem, HighElem, Minimum, Maximum, MinIx, MaxIx);
}

int32_t TIntVector::Find(int32_t LowElem, int32_t HighElem, int32_t value) const {
  return Impl::Find(*this, LowElem, HighElem, value);
}

int32_t TIntVector::FindInSortedVector(bool Ascending, int32_t Value) const {
  return Impl::FindInSorted(*this, Ascending, Value);
}

std::string TIntVector::CRCofData() const { return CheckStringOf(FVec); }

// ---- statistics ----

int32_t TIntVector::Sum(int32_t LowElem, int32_t HighElem) const {
  int32_t Sum = 0;
  for (int32_t X : Impl::Range(*this, LowElem, HighElem)) Sum = WrapAdd(Sum, X);
  return Sum;
}

void TIntVector::MeanVar(int32_t LowElem, int32_t HighElem, double& Mean, double& Variance) const {
  Impl::MeanVar(*this, LowElem, HighElem, Mean, Variance);
}

double TIntVector::Percentile(double prob, int32_t LowElem, int32_t HighElem) const {
  return Impl::Percentile(*this, prob, LowElem, HighElem);
}

bool TIntVector::Quartiles(int32_t LowElem, int32_t HighElem, double& Q1, double& Q2,
                           double& Q3) const {
  return Impl::Quartiles(*this, LowElem, HighElem, Q1, Q2, Q3);
}

int32_t TIntVector::Mode(int32_t LowElem, int32_t HighElem) const {
  return Impl::Mode(*this, LowElem, HighElem);
}

bool TIntVector::Histogram(int32_t FirstElem, int32_t LastElem, int32_t FirstBin, int32_t LastBin,
                           int32_t BinWidth, TIntVector* Histo, int32_t& Underflow,
                           int32_t& Overflow, int32_t& MaxCnt) const {
  const int64_t Width = std::max(BinWidth, 1);
  const int64_t M = std::llabs(int64_t{LastBin} - FirstBin + 1) / Width;
  if (M < 1 || M > 500)
    RaiseComponentError<EZEQVectorError>(this, "Histogram", "invalid number of bins");
  if (Histo == nullptr) return false;
  Impl::THistogramCounts Counts(Histo, static_cast<int32_t>(M));
  for (int64_t i = FirstElem; i <= LastElem; ++i) {
    const int64_t V = GetVal(static_cast<int32_t>(i));
    if (V < FirstBin)
      ++Counts.Under;
    else if (V < LastBin + Width)
      Counts.CountInBin(
          static_cast<int32_t>(std::min<int64_t>((V - FirstBin) / Width + 1, INT32_MAX)));
    else
      ++Counts.Over;
  }
  Counts.Store(Underflow, Overflow, MaxCnt);
  return true;
}

double TIntVector::GeometricMean(int32_t LowElem, int32_t HighElem) const {
  return Impl::GeometricMean(*this, LowElem, HighElem);
}

double TIntVector::HarmonicMean(int32_t LowElem, int32_t HighElem) const {
  return Impl::HarmonicMean(*this, LowElem, HighElem);
}

void TIntVector::SkewKurt(int32_t LowElem, int32_t HighElem, double& Skewness,
                          double& Kurtosis) const {
  Impl::SkewKurtIntern(*this, LowElem, HighElem, Skewness, Kurtosis);
}

void TIntVector::SkewKurtSample(int32_t LowElem, int32_t HighElem, double& Skewness,
                                double& Kurtosis) const {
  Impl::SkewKurtSample(*this, LowElem, HighElem, Skewness, Kurtosis);
}

double TIntVector::PearsonCorrCoeff(const TIntVector* OtherVec) const {
  return Impl::Pearson(*this, OtherVec);
}

}  // namespace zeq
