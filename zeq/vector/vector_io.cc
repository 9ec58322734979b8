// Binary stream blocks and text files of TVector and TIntVector.
//
// A block is lo, hi and the elements lo..hi, little-endian: 80-bit extended values for
// TVector, 32-bit integers for TIntVector. Readers never trust a header further than the
// data behind it: a block that could not be in the stream is refused before any memory is
// allocated for it.
#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <memory>
#include <string>
#include <string_view>

#include "zeq/vector/internal/vector_impl.h"

namespace zeq {

using Impl = detail::TVectorImpl;

namespace {

// ---- element codecs ----

// TVector: lo, hi and the values as extended; lo and hi must be whole 32-bit numbers.
struct TExtendedCodec {
  static constexpr int64_t Size = 10;
  static void Write(TStream* S, long double V) { WriteExtendedToStream(S, V); }
  static bool ReadValue(TStream* S, double& V) {
    bool Failed;
    V = static_cast<double>(ReadExtendedFromStream(S, Failed));
    return !Failed;
  }
  static bool ReadIndex(TStream* S, int32_t& Ix) {
    bool Failed;
    const long double X = ReadExtendedFromStream(S, Failed);
    // A header holds whole numbers only: 1.5 is not an index (and NaN fails too).
    if (Failed || !(X >= INT32_MIN && X <= INT32_MAX) || X != std::nearbyint(X)) return false;
    Ix = static_cast<int32_t>(X);
    return true;
  }
};

// TIntVector: everything as 32-bit integers.
struct TLongintCodec {
  static constexpr int64_t Size = 4;
  static void Write(TStream* S, int32_t V) { WriteLongintToStream(S, V); }
  static bool ReadValue(TStream* S, int32_t& V) {
    bool Failed;
    V = ReadLongintFromStream(S, Failed);
    return !Failed;
  }
  static bool ReadIndex(TStream* S, int32_t& Ix) { return ReadValue(S, Ix); }
};

// A load grows the vector to Hi elements so that the block keeps its positions; the elements
// before Lo are zeros that no data backs. They may be as many as the block's own values, or 65536,
// whichever is more: a 25-byte block claiming positions near 2^31 must not allocate 8 GB.
bool GrowthBacked(int32_t Lo, int32_t Hi) {
  const int64_t Values = int64_t{Hi} - Lo + 1, Gap = int64_t{Lo} - 1;
  return Gap <= std::max<int64_t>(Values, 65536);
}

template <class Codec, class V>
void SaveBlock(const V& Vec, TStream* S, int32_t Lo, int32_t Hi) {
  Vec.MakeValidElemRange(Lo, Hi);
  Codec::Write(S, Lo);
  Codec::Write(S, Hi);
  for (int32_t i = Lo; i <= Hi; ++i) Codec::Write(S, Vec.GetVal(i));
}

template <class Codec, class V>
bool LoadBlock(V& Vec, TStream* S, bool AdjustVectorSize) {
  int32_t Lo = 0, Hi = 0;
  if (S == nullptr || !Codec::ReadIndex(S, Lo) || !Codec::ReadIndex(S, Hi)) return false;
  if (AdjustVectorSize && Hi > Vec.NrOfElem()) {
    // Grow only for a whole block that is really in the stream, so that a forged header
    // cannot make the vector allocate what no data backs; a failed allocation is a failed
    // load that leaves the vector as it was.
    const int64_t Count = int64_t{Hi} - Lo + 1;
    if (Count < 1 || S->Remaining() / Codec::Size < Count || !GrowthBacked(Lo, Hi)) return false;
    try {
      Vec.Resize(Hi);
    } catch (const EZEQVectorError&) {
      return false;
    }
  }
  bool Result = Hi <= Vec.NrOfElem();
  for (int64_t i = Lo; Result && i <= Hi; ++i) {
    typename V::TElem Value{};
    if (!Codec::ReadValue(S, Value))
      Result = false;  // nothing more can be read after this
    else
      Vec.SetVal(static_cast<int32_t>(i), Value);
  }
  Vec.Changed();
  return Result;
}

// ---- text ----

// Whitespace-separated tokens of a whole file held in memory.
class TTokens {
 public:
  explicit TTokens(std::string Text) : FText(std::move(Text)) {}

  bool Next(std::string_view& Token) {
    const size_t Start = FText.find_first_not_of(Blanks, FPos);
    if (Start == std::string::npos) return false;
    const size_t End = std::min(FText.find_first_of(Blanks, Start), FText.size());
    Token = std::string_view(FText).substr(Start, End - Start);
    FPos = End;
    return true;
  }

  // Does the rest of the text hold at least Count tokens? (Counts tokens, not characters, and
  // stops as soon as it has seen Count.)
  bool CanHold(int64_t Count) const {
    size_t Pos = FPos;
    for (int64_t Seen = 0; Seen < Count; ++Seen) {
      const size_t Start = FText.find_first_not_of(Blanks, Pos);
      if (Start == std::string::npos) return false;
      Pos = FText.find_first_of(Blanks, Start);
      if (Pos == std::string::npos) return Seen + 1 >= Count;
    }
    return true;
  }

  const std::string& Text() const { return FText; }

 private:
  static constexpr const char* Blanks = " \t\r\n\f\v";
  std::string FText;
  size_t FPos = 0;
};

// The whole file, or false when it cannot be read.
bool ReadWholeFile(const std::string& FileName, std::string& Text) {
  try {
    TFileStream F(FileName, fmOpenRead);
    Text.resize(static_cast<size_t>(F.Size()));
    F.ReadBuffer(Text.data(), static_cast<int64_t>(Text.size()));
    return true;
  } catch (const std::exception&) {  // EInOutError, or a file too large for memory
    return false;
  }
}

// A number token. One beyond the double range (such as 1.7977E+0308, the largest double written
// with four decimals) reads as the largest double of its sign, so that what StoreOnFile writes
// always reads back.
bool ReadDouble(TTokens& T, double& V) {
  std::string_view Token;
  if (!T.Next(Token)) return false;
  if (TryStrToFloat(Token, V)) return true;
  if (!Token.empty() && Token.front() == '+') Token.remove_prefix(1);
  long double Wide = 0;
  const auto [Ptr, Err] = std::from_chars(Token.data(), Token.data() + Token.size(), Wide);
  if (Err != std::errc() || Ptr != Token.data() + Token.size() || !std::isfinite(Wide))
    return false;
  const auto Max = std::numeric_limits<double>::max();
  V = Wide > Max ? Max : Wide < -Max ? -Max : static_cast<double>(Wide);
  return true;
}

// A number rounded to the nearest integer (ties to even); false outside the 32-bit range.
bool ReadInt32Value(TTokens& T, int32_t& V) {
  double D;
  if (!ReadDouble(T, D)) return false;
  D = std::nearbyint(D);
  if (!(D >= INT32_MIN && D <= INT32_MAX)) return false;
  V = static_cast<int32_t>(D);
  return true;
}

bool ReadValue(TTokens& T, double& V) { return ReadDouble(T, V); }
bool ReadValue(TTokens& T, int32_t& V) { return ReadInt32Value(T, V); }

// The text format with header: "lo hi", then the values lo..hi.
template <class V>
bool LoadText(V& Vec, const std::string& FileName, bool AdjustVectorSize) {
  std::string Text;
  if (!ReadWholeFile(FileName, Text)) return false;
  TTokens T(std::move(Text));
  std::string_view LoText, HiText;
  int32_t Lo = 0, Hi = 0;
  if (!T.Next(LoText) || !T.Next(HiText) || !TryStrToInt(LoText, Lo) || !TryStrToInt(HiText, Hi))
    return false;
  if (AdjustVectorSize && Hi > Vec.NrOfElem()) {
    // As for streams: grow only for a block the rest of the file can hold.
    const int64_t Count = int64_t{Hi} - Lo + 1;
    if (Count < 1 || !T.CanHold(Count) || !GrowthBacked(Lo, Hi)) return false;
    try {
      Vec.Resize(Hi);
    } catch (const EZEQVectorError&) {
      return false;
    }
  }
  bool Result = Hi <= Vec.NrOfElem();
  for (int64_t i = Lo; Result && i <= Hi; ++i) {
    typename V::TElem Value{};
    // An unreadable value ends the reading; the values read so far stay, but a load that
    // stopped early is not a success.
    if (!ReadValue(T, Value)) {
      Result = false;
      break;
    }
    Vec.SetVal(static_cast<int32_t>(i), Value);
  }
  Vec.Changed();
  return Result;
}

// Writes Lines to a new file; true once the file exists, whatever happens while writing.
template <class LineFn>
bool WriteText(const std::string& FileName, int64_t Count, LineFn Line) {
  std::unique_ptr<TFileStream> F;
  try {
    F = std::make_unique<TFileStream>(FileName, fmCreate);
  } catch (const EInOutError&) {
    return false;
  }
  try {
    std::string Chunk;
    for (int64_t i = 0; i < Count; ++i) {
      Chunk += Line(i);
      Chunk += '\n';
      if (Chunk.size() >= (1 << 16) || i + 1 == Count) {
        F->WriteBuffer(Chunk.data(), static_cast<int64_t>(Chunk.size()));
        Chunk.clear();
      }
    }
  } catch (const EInOutError&) {
    // a write error ends the writing; the file was created, so the result stays true
  }
  return true;
}

// The range rule of StoreOnFile: ordered, then First at least 1 and Last at most N.
void StoreRange(int32_t& First, int32_t& Last, int32_t N) {
  if (First > Last) std::swap(First, Last);
  First = std::max(First, 1);
  Last = std::min(Last, N);
}

}  // namespace

// ---- TVector ----

void TVector::SaveToStream(TMemoryStream*& OutStream, int32_t LowElem, int32_t HighElem) const {
  if (OutStream == nullptr) OutStream = new TMemoryStream;
  SaveBlock<TExtendedCodec>(*this, OutStream, LowElem, HighElem);
}

void TVector::SaveToStream(TFileStream* OutStream, int32_t LowElem, int32_t HighElem) const {
  if (OutStream != nullptr) SaveBlock<TExtendedCodec>(*this, OutStream, LowElem, HighElem);
}

bool TVector::LoadFromStream(TStream* InStream, bool AdjustVectorSize) {
  return LoadBlock<TExtendedCodec>(*this, InStream, AdjustVectorSize);
}

bool TVector::StoreOnFile(int32_t FirstElem, int32_t LastElem, int32_t Precision,
                          const std::string& FileName) const {
  const int32_t P = Precision < -2 ? 2 : std::min(Precision, 20);
  const int32_t W = P == -2 ? 26 : P == -1 ? 13 : 1;
  StoreRange(FirstElem, LastElem, FNElem);
  const int64_t Values = std::max<int64_t>(0, int64_t{LastElem} - FirstElem + 1);
  return WriteText(FileName, Values + 1, [&](int64_t Line) {
    if (Line == 0) return std::to_string(FirstElem) + " " + std::to_string(LastElem);
    return strff(GetVal(static_cast<int32_t>(FirstElem + Line - 1)), W, P);
  });
}

bool TVector::LoadFromFile(const std::string& FileName, bool AdjustVectorSize) {
  return LoadText(*this, FileName, AdjustVectorSize);
}

bool TVector::LoadFromFile(const std::string& FileName, bool AdjustVectorSize, bool AutoDetect) {
  if (!AutoDetect) return LoadFromFile(FileName, AdjustVectorSize);
  std::string Text;
  if (!ReadWholeFile(FileName, Text)) return false;
  int32_t Count = 0;
  for (size_t Start = 0; Start < Text.size();) {
    const size_t End = std::min(Text.find('\n', Start), Text.size());
    if (StringContains(std::string_view(Text).substr(Start, End - Start), "//dig") &&
        Count < INT32_MAX)
      ++Count;
    Start = End + 1;
  }
  if (AdjustVectorSize) Resize(Count);
  TTokens T(std::move(Text));
  bool Result = true;
  for (int32_t i = 1; Result && i <= FNElem; ++i) {
    double Value;
    Result = ReadDouble(T, Value);  // a load that stops early is not a success
    if (Result) SetVal(i, Value);
  }
  Changed();
  return Result;
}

// ---- TIntVector ----

void TIntVector::SaveToStream(TMemoryStream*& OutStream, int32_t LowElem, int32_t HighElem) const {
  if (OutStream == nullptr) OutStream = new TMemoryStream;
  SaveBlock<TLongintCodec>(*this, OutStream, LowElem, HighElem);
}

void TIntVector::SaveToStream(TFileStream* OutStream, int32_t LowElem, int32_t HighElem) const {
  if (OutStream != nullptr) SaveBlock<TLongintCodec>(*this, OutStream, LowElem, HighElem);
}

bool TIntVector::LoadFromStream(TStream* InStream, bool AdjustVectorSize) {
  return LoadBlock<TLongintCodec>(*this, InStream, AdjustVectorSize);
}

bool TIntVector::StoreOnFile(int32_t FirstElem, int32_t LastElem,
                             const std::string& FileName) const {
  StoreRange(FirstElem, LastElem, FNElem);
  const int64_t Values = std::max<int64_t>(0, int64_t{LastElem} - FirstElem + 1);
  return WriteText(FileName, Values + 1, [&](int64_t Line) {
    if (Line == 0) return std::to_string(FirstElem) + " " + std::to_string(LastElem);
    return std::to_string(GetVal(static_cast<int32_t>(FirstElem + Line - 1)));
  });
}

bool TIntVector::LoadFromFile(const std::string& FileName, bool AdjustVectorSize) {
  return LoadText(*this, FileName, AdjustVectorSize);
}

}  // namespace zeq
