/// @file
/// zeq vectors (unit Zeq_vector): TVector (double) and TIntVector (32-bit integer), 1-based
/// resizable arrays with arithmetic, sorting, searching, statistics, streams and text files.
///
/// Indices outside 1..NrOfElem() read 0 and drop writes; index ranges are repaired, never
/// rejected (0, 0 means the whole vector). Every change ends with one OnChange call; the
/// element setter SetVal calls it for each element written.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "zeq/base/base.h"
#include "zeq/base/export.h"

namespace zeq {

/// Vector errors.
class ZEQ_API EZEQVectorError : public EZEQError {
 public:
  using EZEQError::EZEQError;
};

/// Integration rule of TVector::Integrate.
enum TIntegMethod : uint8_t { imSimple, imTrapezoidal, imSimpson };

class TIntVector;

namespace detail {
struct TVectorImpl;
}

/// A 1-based resizable vector of doubles: arithmetic, sorting, search, statistics, binary
/// streams and text files. Sums run in long double unless a method says otherwise.
class ZEQ_API TVector : public TComponent {
 public:
  /// The element type.
  using TElem = double;

  /// One element, 0.0; IsEmpty true. EZEQVectorError "...: not enough memory on heap" when
  /// even that cannot be allocated.
  explicit TVector(TComponent* AOwner = nullptr);
  std::string ClassName() const override { return "TVector"; }

  // ---- properties ----
  /// The number of elements (at least 1).
  int32_t NrOfElem() const { return FNElem; }
  /// Values below 1 or equal to the size do nothing; others Resize.
  void SetVecSize(int32_t NrOfElem);
  /// Element Index; 0.0 outside 1..NrOfElem.
  double Elem(int32_t Index) const { return GetVal(Index); }
  /// The Euclidean length, as CalcVecLeng.
  double Leng() const { return CalcVecLeng(); }
  ///@{
  /// True until an element is written (SetVal, Fill, the loads...); Clear sets it again. The
  /// application may set it too.
  bool IsEmpty() const { return FIsEmpty; }
  void SetIsEmpty(bool Value) { FIsEmpty = Value; }
  ///@}

  /// Fired after each change of size or contents (once per element for SetVal).
  TNotifyEvent OnChange;
  /// Told of each exchange of SortElems, so that the application can reorder data of its own.
  TSortExchgEvent OnSortExchange;

  // ---- frame ----
  /// From a TVector: size, IsEmpty, elements and both events, without OnChange. Otherwise
  /// EConvertError.
  void Assign(TPersistent* Source) override;
  /// Assigns this vector to a TVector Dest; otherwise EConvertError.
  void AssignTo(TPersistent* Dest) override;
  /// Fires OnChange.
  void Changed();

  // ---- size and elements ----
  /// NE elements (the first min(old, NE) kept, new ones 0). NE equal to the size: true, no
  /// OnChange; NE <= 0: false, nothing changes. EZEQVectorError "...: not enough memory"
  /// (size and contents kept) when the storage cannot be allocated.
  bool Resize(int32_t NE);
  /// Element Elem; 0.0 outside 1..NrOfElem.
  double GetVal(int32_t Elem) const;
  /// Stores Value at Elem and fires OnChange; writes outside 1..NrOfElem are dropped.
  void SetVal(int32_t Elem, double Value);
  /// (0, 0) -> (1, N); otherwise each bound clamped into 1..N, then ordered.
  void MakeValidElemRange(int32_t& LowElem, int32_t& HighElem) const;

  // ---- filling and copying ----
  /// Every element := value, then OnChange.
  void Fill(double value);
  /// Every element 0.0 and IsEmpty true, then OnChange.
  void Clear();
  /// Every element := |element|, then OnChange.
  void AbsVal();
  ///@{
  /// Every element drawn from the process-wide generator: uniform in [RangeLow, RangeHigh), or
  /// normal with Mean and StdDev; then OnChange.
  void FillRandomUniform(double RangeLow, double RangeHigh);
  void FillRandomGauss(double Mean, double StdDev);
  ///@}
  /// Resize to the source's size, then every element through SetVal, then OnChange once more.
  /// A null source does nothing; events and IsEmpty are not copied.
  void Clone(const TVector* VecSource);
  /// Source elements Lo..Hi (clamped into the source) to DestElem.. through SetVal; positions
  /// beyond this vector are dropped. A null source does nothing.
  void CopyFrom(const TVector* VecSource, int32_t SourceElemLo, int32_t SourceElemHi,
                int32_t DestElem);

  // ---- arithmetic (this vector changes; sums in long double) ----
  ///@{
  /// A null argument does nothing; different sizes raise "...: vectors have different
  /// dimensions" before any change.
  void Add(const TVector* OtherVec);
  void Subtract(const TVector* OtherVec);
  void SMult(double scalar);
  ///@}
  /// 0.0 for a null argument; different sizes raise as Add does.
  double DotProduct(const TVector* OtherVec) const;
  /// "EuclideanDistance: dimensions of vectors do not match" for different sizes.
  double EuclideanDistance(const TVector* OtherVec) const;
  /// Sum of element i * OtherVec(i + ElemShift) over i = 1..N; OtherVec's missing elements
  /// count as 0. 0.0 for a null argument.
  double Correlate(const TVector* OtherVec, int32_t ElemShift) const;
  /// sqrt of the sum of squares.
  double CalcVecLeng() const;
  /// Rescales to length Leng (negative reverses); "vector has zero length" for a zero vector.
  void SetVecLeng(double Leng);

  // ---- order ----
  /// Comb sort of RangeFirst..RangeLast ((0, 0) = all), reporting each exchange through
  /// OnSortExchange (ExchgWhat 0, the two indices, 0, 0). A range of one element does nothing.
  /// NaN elements are never exchanged.
  void SortElems(bool Ascending, int32_t RangeFirst, int32_t RangeLast);
  /// Reverses the order of the elements, then OnChange.
  void Mirror();
  /// Randomize, then NrOfElem exchanges of two random positions; no events.
  void ShuffleElems();

  // ---- search ----
  /// Smallest and largest element of the range and their first indices; the outputs start as
  /// 1.7e308, -1.7e308, 0, 0 and NaN elements are never taken.
  void MinMax(int32_t LowElem, int32_t HighElem, double& Minimum, double& Maximum, int32_t& MinIx,
              int32_t& MaxIx) const;
  /// The same without the indices.
  void MinMax(int32_t LowElem, int32_t HighElem, double& Minimum, double& Maximum) const;
  /// Index of the element nearest to value (lowest on ties); 0 when none is nearer than
  /// uc_MaxDouble (all NaN, say).
  int32_t Find(int32_t LowElem, int32_t HighElem, double value) const;
  /// Binary search in a sorted vector: the exact match or the nearer neighbour (the upper one
  /// on a tie); always a valid index.
  int32_t FindInSortedVector(bool Ascending, double Value) const;
  /// 64 hexadecimal digits over the elements.
  std::string CRCofData() const;

  // ---- statistics (none of them calls OnChange) ----
  /// Sum of the range, rounded to double after each addition.
  double Sum(int32_t LowElem, int32_t HighElem) const;
  /// Mean and variance (long double sums); the variance is 1.0 for fewer than three values.
  void MeanVar(int32_t LowElem, int32_t HighElem, double& Mean, double& Variance) const;
  /// Subtracts the mean of the whole vector and returns it.
  double MeanCenter();
  /// (x - mean) / stddev over the whole vector when stddev > 0.
  void Standardize(double& mean, double& stddev);
  /// (x - median) / |median - percentile(RefQuant)| when that difference is > 0.
  void QNormalize(double RefQuant, double& Median, double& QuantDiff);
  /// Percentile prob (percent, clamped to 0..100; NaN counts as 0) of the range by linear
  /// interpolation between the order statistics 0..n-1. Sorts a copy with SortArray, which
  /// advances ProcStat per pass. NaN elements stay where the sort finds them, so a result that
  /// interpolates next to one is NaN.
  double Percentile(double prob, int32_t LowElem, int32_t HighElem) const;
  /// Quartiles by the (n + 1) p rule; always true.
  bool Quartiles(int32_t LowElem, int32_t HighElem, double& Q1, double& Q2, double& Q3) const;
  /// The value of the first longest run of equal values in the sorted range.
  double Mode(int32_t LowElem, int32_t HighElem) const;
  /// Counts FirstElem..LastElem (not repaired) into |LastBin - FirstBin| / BinWidth bins
  /// starting at FirstBin. False (nothing changed) for more than 500 bins, for a bin count
  /// that is not a number (BinWidth 0 with an empty range) or for a null Histo. Values from
  /// the end of the last bin up to LastBin + BinWidth count as overflow.
  bool Histogram(int32_t FirstElem, int32_t LastElem, double FirstBin, double LastBin,
                 double BinWidth, TIntVector* Histo, int32_t& Underflow, int32_t& Overflow,
                 int32_t& MaxCnt) const;
  /// exp(mean(ln x)); 0 when an element is 0. "...: negative argument passed to GeometricMean".
  double GeometricMean(int32_t LowElem, int32_t HighElem) const;
  /// n / sum(1/x). "...: negative or zero argument passed to HarmonicMean".
  double HarmonicMean(int32_t LowElem, int32_t HighElem) const;
  /// Population skewness and excess kurtosis; 0, 0 for n <= 3 or a constant range.
  void SkewKurt(int32_t LowElem, int32_t HighElem, double& Skewness, double& Kurtosis) const;
  /// Bias-corrected sample skewness and kurtosis; 0, 0 for n < 4.
  void SkewKurtSample(int32_t LowElem, int32_t HighElem, double& Skewness, double& Kurtosis) const;
  /// Pearson's r of the two whole vectors; 0 for different sizes, n <= 1 or a constant vector.
  double PearsonCorrCoeff(const TVector* OtherVec) const;
  /// Integral of the samples (at positions 1..N) from BoundLow to BoundHigh; 0 for an unknown
  /// method, NaN for a NaN bound.
  double Integrate(double BoundLow, double BoundHigh, TIntegMethod Method) const;

  // ---- streams and files ----
  /// Writes the repaired range as lo, hi and the elements, 80-bit extended each. A null
  /// OutStream gets a new TMemoryStream, which the caller owns.
  void SaveToStream(TMemoryStream*& OutStream, int32_t LowElem, int32_t HighElem) const;
  /// The same into an open file stream; a null stream does nothing.
  void SaveToStream(TFileStream* OutStream, int32_t LowElem, int32_t HighElem) const;
  /// Reads a block written by SaveToStream back to its positions. False when the stream is
  /// null, the header cannot be read or is not a pair of 32-bit whole numbers, the block does
  /// not fit (hi > NrOfElem without AdjustVectorSize), or a value is missing (the values read
  /// so far stay). With AdjustVectorSize the vector first gets hi elements when it has fewer;
  /// it grows only for a non-empty block that the rest of the stream holds completely, and a
  /// growth that cannot be allocated gives false as well, the vector unchanged.
  bool LoadFromStream(TStream* InStream, bool AdjustVectorSize);
  /// Text file: "lo hi", then one value per line (Precision: decimals, -1 scientific in 13
  /// characters, -2 scientific in 26; clamped to -2..20, below -2 becoming 2). False when the
  /// file cannot be created.
  bool StoreOnFile(int32_t FirstElem, int32_t LastElem, int32_t Precision,
                   const std::string& FileName) const;
  /// Reads the text format with header. False when the file cannot be read or its header is
  /// not two integers, or the block does not fit; an unreadable value stops the reading and
  /// keeps what was read (true).
  bool LoadFromFile(const std::string& FileName, bool AdjustVectorSize);
  /// With AutoDetect: a file of one number per line without header; the element count is the
  /// number of lines holding a decimal digit.
  bool LoadFromFile(const std::string& FileName, bool AdjustVectorSize, bool AutoDetect);

 protected:
  /// Reports one exchange through OnSortExchange when it is assigned.
  void SortExchange(uint8_t ExchgWhat, int32_t Index1, int32_t Index2, int32_t First, int32_t Last);

 private:
  friend struct detail::TVectorImpl;

  int32_t FNElem = 0;
  bool FIsEmpty = true;
  std::vector<double> FVec;
};

/// A 1-based resizable vector of 32-bit integers, the twin of TVector; integer arithmetic wraps
/// around in two's complement, statistics are computed in floating point.
class ZEQ_API TIntVector : public TComponent {
 public:
  /// The element type.
  using TElem = int32_t;

  /// One element, 0; IsEmpty true.
  explicit TIntVector(TComponent* AOwner = nullptr);
  std::string ClassName() const override { return "TIntVector"; }

  // ---- properties ----
  /// The number of elements (at least 1).
  int32_t NrOfElem() const { return FNElem; }
  /// Values below 1 or equal to the size do nothing; others Resize.
  void SetIntVecSize(int32_t NrOfElem);
  /// Element Index; 0 outside 1..NrOfElem.
  int32_t Elem(int32_t Index) const { return GetVal(Index); }
  /// The Euclidean length, as CalcVecLeng.
  double Leng() const { return CalcVecLeng(); }
  ///@{
  /// As TVector::IsEmpty.
  bool IsEmpty() const { return FIsEmpty; }
  void SetIsEmpty(bool Value) { FIsEmpty = Value; }
  ///@}

  /// As TVector::OnChange.
  TNotifyEvent OnChange;
  /// As TVector::OnSortExchange.
  TSortExchgEvent OnSortExchange;

  // ---- frame, size and elements: as TVector ----
  /// From a TIntVector: size, IsEmpty, elements and both events, without OnChange. Otherwise
  /// EConvertError.
  void Assign(TPersistent* Source) override;
  /// Assigns this vector to a TIntVector Dest; otherwise EConvertError.
  void AssignTo(TPersistent* Dest) override;
  /// Fires OnChange.
  void Changed();
  /// As TVector::Resize.
  bool Resize(int32_t NE);
  /// Element Elem; 0 outside 1..NrOfElem.
  int32_t GetVal(int32_t Elem) const;
  /// As TVector::SetVal.
  void SetVal(int32_t Elem, int32_t Value);
  /// As TVector::MakeValidElemRange.
  void MakeValidElemRange(int32_t& LowElem, int32_t& HighElem) const;

  // ---- filling and copying: as TVector ----
  /// Every element := value, then OnChange.
  void Fill(int32_t value);
  /// Every element 0 and IsEmpty true, then OnChange.
  void Clear();
  /// |element| in 32-bit two's complement: -2147483648 stays.
  void AbsVal();
  /// As TVector::Clone.
  void Clone(const TIntVector* VecSource);
  /// As TVector::CopyFrom.
  void CopyFrom(const TIntVector* VecSource, int32_t SourceElemLo, int32_t SourceElemHi,
                int32_t DestElem);

  // ---- arithmetic: 32-bit two's complement, wrapping on overflow ----
  ///@{
  /// As TVector::Add, TVector::Subtract and TVector::SMult, wrapping on overflow.
  void Add(const TIntVector* OtherVec);
  void Subtract(const TIntVector* OtherVec);
  void SMult(int32_t scalar);
  ///@}
  /// Products in 64 bits, summed into a wrapping 32-bit result.
  int32_t DotProduct(const TIntVector* OtherVec) const;
  /// Each squared difference formed as a (wrapping) 32-bit integer.
  double EuclideanDistance(const TIntVector* OtherVec) const;
  /// The low 32 bits of the 64-bit sum; 0 for a null argument.
  int32_t Correlate(const TIntVector* OtherVec, int32_t ElemShift) const;
  /// sqrt of the sum of squares, each square a 32-bit integer (exact up to |x| = 46340).
  double CalcVecLeng() const;

  // ---- order and search: as TVector, with integer values ----
  /// As TVector::SortElems.
  void SortElems(bool Ascending, int32_t RangeFirst, int32_t RangeLast);
  /// Reverses the order of the elements, then OnChange.
  void Mirror();
  /// As TVector::ShuffleElems.
  void ShuffleElems();
  ///@{
  /// Minimum starts at 2147483647, Maximum at -2147483647, the indices at 0.
  void MinMax(int32_t LowElem, int32_t HighElem, int32_t& Minimum, int32_t& Maximum, int32_t& MinIx,
              int32_t& MaxIx) const;
  void MinMax(int32_t LowElem, int32_t HighElem, int32_t& Minimum, int32_t& Maximum) const;
  ///@}
  ///@{
  /// As TVector::Find and TVector::FindInSortedVector.
  int32_t Find(int32_t LowElem, int32_t HighElem, int32_t value) const;
  int32_t FindInSortedVector(bool Ascending, int32_t Value) const;
  ///@}
  /// 32 hexadecimal digits over the elements.
  std::string CRCofData() const;

  // ---- statistics: as TVector ----
  /// Wrapping 32-bit sum of the range.
  int32_t Sum(int32_t LowElem, int32_t HighElem) const;
  ///@{
  /// As the TVector methods of the same names, over the integer values.
  void MeanVar(int32_t LowElem, int32_t HighElem, double& Mean, double& Variance) const;
  double Percentile(double prob, int32_t LowElem, int32_t HighElem) const;
  bool Quartiles(int32_t LowElem, int32_t HighElem, double& Q1, double& Q2, double& Q3) const;
  int32_t Mode(int32_t LowElem, int32_t HighElem) const;
  ///@}
  /// BinWidth below 1 counts as 1; m = |LastBin - FirstBin + 1| div BinWidth bins. m outside
  /// 1..500 raises "Component \"Name.Histogram\": invalid number of bins". Values of a
  /// remainder bin beyond m are counted nowhere. A null Histo gives false.
  bool Histogram(int32_t FirstElem, int32_t LastElem, int32_t FirstBin, int32_t LastBin,
                 int32_t BinWidth, TIntVector* Histo, int32_t& Underflow, int32_t& Overflow,
                 int32_t& MaxCnt) const;
  ///@{
  /// As the TVector methods of the same names.
  double GeometricMean(int32_t LowElem, int32_t HighElem) const;
  double HarmonicMean(int32_t LowElem, int32_t HighElem) const;
  void SkewKurt(int32_t LowElem, int32_t HighElem, double& Skewness, double& Kurtosis) const;
  void SkewKurtSample(int32_t LowElem, int32_t HighElem, double& Skewness, double& Kurtosis) const;
  double PearsonCorrCoeff(const TIntVector* OtherVec) const;
  ///@}

  // ---- streams and files: as TVector, 32-bit integers ----
  ///@{
  /// As TVector's streams and files, with 32-bit little-endian integers in the streams and one
  /// integer per line in the text file.
  void SaveToStream(TMemoryStream*& OutStream, int32_t LowElem, int32_t HighElem) const;
  void SaveToStream(TFileStream* OutStream, int32_t LowElem, int32_t HighElem) const;
  bool LoadFromStream(TStream* InStream, bool AdjustVectorSize);
  bool StoreOnFile(int32_t FirstElem, int32_t LastElem, const std::string& FileName) const;
  ///@}
  /// Values are read as numbers and rounded to the nearest integer (ties to even); one
  /// outside the 32-bit range stops the reading like an unreadable one.
  bool LoadFromFile(const std::string& FileName, bool AdjustVectorSize);

 protected:
  /// Reports one exchange through OnSortExchange when it is assigned.
  void SortExchange(uint8_t ExchgWhat, int32_t Index1, int32_t Index2, int32_t First, int32_t Last);

 private:
  friend struct detail::TVectorImpl;

  int32_t FNElem = 0;
  std::vector<int32_t> FVec;
  bool FIsEmpty = true;
};

}  // namespace zeq
