// TVector core: storage, element access, filling, copying, arithmetic, order and search.
//
// Arithmetic runs in long double and is rounded to double when stored. The routines that
// TIntVector shares are written once in vector_impl.h.
#include <cmath>

#include "zeq/vector/internal/vector_impl.h"

namespace zeq {

using Impl = detail::TVectorImpl;

TVector::TVector(TComponent* AOwner) : TComponent(AOwner) { Impl::Construct(*this); }

void TVector::SetVecSize(int32_t NrOfElem) { Impl::SetSize(*this, NrOfElem); }

void TVector::Assign(TPersistent* Source) { Impl::Assign(*this, Source); }

void TVector::AssignTo(TPersistent* Dest) { Impl::AssignTo(*this, Dest); }

void TVector::Changed() {
  if (OnChange) OnChange(this);
}

void TVector::SortExchange(uint8_t ExchgWhat, int32_t Index1, int32_t Index2, int32_t First,
                           int32_t Last) {
  if (OnSortExchange) OnSortExchange(this, ExchgWhat, Index1, Index2, First, Last);
}

bool TVector::Resize(int32_t NE) { return Impl::Resize(*this, NE); }

double TVector::GetVal(int32_t Elem) const { return Impl::GetVal(*this, Elem); }

void TVector::SetVal(int32_t Elem, double Value) { Impl::SetVal(*this, Elem, Value); }

void TVector::MakeValidElemRange(int32_t& LowElem, int32_t& HighElem) const {
  Impl::MakeValidElemRange(*this, LowElem, HighElem);
}

void TVector::Fill(double value) { Impl::Fill(*this, value, true); }

void TVector::Clear() { Impl::Fill(*this, 0.0, false); }

void TVector::AbsVal() {
  Impl::Transform(*this, [](double X) { return std::fabs(X); });
}

void TVector::FillRandomUniform(double RangeLow, double RangeHigh) {
  const long double Width = static_cast<long double>(RangeHigh) - RangeLow;
  for (double& X : FVec) X = static_cast<double>(Random() * Width + RangeLow);
  FIsEmpty = false;
  Changed();
}

void TVector::FillRandomGauss(double Mean, double StdDev) {
  for (double& X : FVec)
    X = static_cast<double>(static_cast<long double>(GRandom()) * StdDev + Mean);
  FIsEmpty = false;
  Changed();
}

void TVector::Clone(const TVector* VecSource) { Impl::Clone(*this, VecSource); }

void TVector::CopyFrom(const TVector* VecSource, int32_t SourceElemLo, int32_t SourceElemHi,
                       int32_t DestElem) {
  Impl::CopyFrom(*this, VecSource, SourceElemLo, SourceElemHi, DestElem);
}

void TVector::Add(const TVector* OtherVec) {
  Impl::Combine(*this, OtherVec, [](double A, double B) {
    return static_cast<double>(static_cast<long double>(A) + B);
  });
}

void TVector::Subtract(const TVector* OtherVec) {
  Impl::Combine(*this, OtherVec, [](double A, double B) {
    return static_cast<double>(static_cast<long double>(A) - B);
  });
}

void TVector::SMult(double scalar) {
  Impl::Transform(*this, [scalar](double X) {
    return static_cast<double>(static_cast<long double>(X) * scalar);
  });
}

double TVector::DotProduct(const TVector* OtherVec) const {
  if (OtherVec == nullptr) return 0.0;
  Impl::CheckSameSize(*this, OtherVec);
  long double Sum = 0;
  for (int32_t i = 1; i <= FNElem; ++i)
    Sum += static_cast<long double>(FVec[static_cast<size_t>(i - 1)]) * OtherVec->GetVal(i);
  return static_cast<double>(Sum);
}

double TVector::EuclideanDistance(const TVector* OtherVec) const {
  Impl::CheckDistanceSizes(*this, OtherVec);
  long double Sum = 0;
  for (int32_t i = 1; i <= FNElem; ++i) {
    const long double D =
        static_cast<long double>(FVec[static_cast<size_t>(i - 1)]) - OtherVec->GetVal(i);
    Sum += D * D;
  }
  return static_cast<double>(std::sqrt(Sum));
}

double TVector::Correlate(const TVector* OtherVec, int32_t ElemShift) const {
  if (OtherVec == nullptr) return 0.0;
  long double Sum = 0;
  for (int32_t i = 1; i <= FNElem; ++i) {
    const int64_t j = int64_t{i} + ElemShift;  // beyond the 32-bit range reads 0 as well
    if (j >= 1 && j <= OtherVec->NrOfElem())
      Sum += static_cast<long double>(FVec[static_cast<size_t>(i - 1)]) *
             OtherVec->GetVal(static_cast<int32_t>(j));
  }
  return static_cast<double>(Sum);
}

double TVector::CalcVecLeng() const {
  long double Sum = 0;
  for (double X : FVec) Sum += static_cast<long double>(X) * X;
  return static_cast<double>(std::sqrt(Sum));
}

void TVector::SetVecLeng(double Leng) {
  long double Sum = 0;
  for (double X : FVec) Sum += static_cast<long double>(X) * X;
  const long double Current = std::sqrt(Sum);
  if (Current == 0) throw EZEQVectorError("vector has zero length");
  const long double Factor = Leng / Current;
  Impl::Transform(*this, [Factor](double X) { return static_cast<double>(X * Factor); });
}

void TVector::SortElems(bool Ascending, int32_t RangeFirst, int32_t RangeLast) {
  Impl::SortElems(*this, Ascending, RangeFirst, RangeLast);
}

void TVector::Mirror() { Impl::Mirror(*this); }

void TVector::ShuffleElems() { Impl::Shuffle(*this); }

void TVector::MinMax(int32_t LowElem, int32_t HighElem, double& Minimum, double& Maximum,
                     int32_t& MinIx, int32_t& MaxIx) const {
  Impl::MinMax(*this, LowElem, HighElem, 1.7e308, -1.7e308, Minimum, Maximum, MinIx, MaxIx);
}

void TVector::MinMax(int32_t LowElem, int32_t HighElem, double& Minimum, double& Maximum) const {
  int32_t MinIx, MaxIx;
  MinMax(LowElem, HighElem, Minimum, Maximum, MinIx, MaxIx);
}

int32_t TVector::Find(int32_t LowElem, int32_t HighElem, double value) const {
  return Impl::Find(*this, LowElem, HighElem, value);
}

int32_t TVector::FindInSortedVector(bool Ascending, double Value) const {
  return Impl::FindInSorted(*this, Ascending, Value);
}

std::string TVector::CRCofData() const { return CheckStringOf(FVec); }

}  // namespace zeq
