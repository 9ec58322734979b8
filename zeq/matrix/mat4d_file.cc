// TMat4D's binary file: a header record and the elements, 512 little-endian doubles to each
// 4096-byte record, time slot outermost and column innermost.
//
// Every reader checks the header's counts against the file's length before it allocates or
// changes anything, so a damaged or hostile header ends in an input/output error instead of a
// huge allocation. Unused bytes (the header's tail, the slots after the last element) are
// written as zeros.
#include <array>
#include <bit>
#include <cmath>
#include <cstring>
#include <limits>
#include <type_traits>

#include "zeq/base/internal/progress_steps.h"
#include "zeq/base/internal/utf8.h"
#include "zeq/matrix/internal/mat4d_access.h"

namespace zeq {

using Access = TMat4DAccess;

namespace {

constexpr int64_t RecordBytes = 4096, Slots = 512, MaxIDChars = 255;

// ---- DataID: UTF-8 in memory, Latin-1 in the file ----

// The Latin-1 bytes of at most 255 characters of Utf8; '?' for a character beyond Latin-1 or
// a byte that does not start a well-formed sequence.
std::string Latin1Of(const std::string& Utf8) {
  std::string Out;
  for (size_t i = 0; i < Utf8.size() && static_cast<int64_t>(Out.size()) < MaxIDChars;) {
    const detail::TUtf8Char C = detail::DecodeUtf8(Utf8, i);
    Out += C.WellFormed && C.Code < 0x100 ? static_cast<char>(C.Code) : '?';
    i += C.Length;
  }
  return Out;
}

std::string Utf8Of(const uint8_t* Latin1, size_t Count) {
  std::string Out;
  for (size_t i = 0; i < Count; ++i) {
    const uint8_t C = Latin1[i];
    if (C < 0x80) {
      Out += static_cast<char>(C);
    } else {
      Out += static_cast<char>(0xC0 | (C >> 6));
      Out += static_cast<char>(0x80 | (C & 0x3F));
    }
  }
  return Out;
}

// ---- little-endian fields ----

// Little-endian fields, assembled byte by byte whatever the host's byte order.
template <class T>
T LoadLE(const uint8_t* P) {
  using U = std::conditional_t<sizeof(T) == 8, uint64_t, uint32_t>;
  U V = 0;
  for (size_t k = sizeof(T); k-- > 0;) V = static_cast<U>(V << 8) | P[k];
  return std::bit_cast<T>(V);
}

template <class T>
void StoreLE(uint8_t* P, T Value) {
  using U = std::conditional_t<sizeof(T) == 8, uint64_t, uint32_t>;
  auto V = std::bit_cast<U>(Value);
  for (size_t k = 0; k < sizeof(T); ++k, V >>= 8) P[k] = static_cast<uint8_t>(V & 0xFF);
}

using TRecord = std::array<uint8_t, RecordBytes>;

struct THeader {
  TRecord Raw{};
  int32_t X = 0, Y = 0, Z = 0, T = 0;
  std::string DataID;

  void Decode() {
    X = LoadLE<int32_t>(&Raw[0]), Y = LoadLE<int32_t>(&Raw[4]);
    Z = LoadLE<int32_t>(&Raw[8]), T = LoadLE<int32_t>(&Raw[12]);
    DataID = Utf8Of(&Raw[17], Raw[16]);
  }
  void Encode() {
    StoreLE(&Raw[0], X), StoreLE(&Raw[4], Y), StoreLE(&Raw[8], Z), StoreLE(&Raw[12], T);
  }
};

THeader ReadHeader(TFileStream& F) {
  THeader H;
  F.SetPosition(0);
  F.ReadBuffer(H.Raw.data(), RecordBytes);
  H.Decode();
  return H;
}

void WriteHeader(TFileStream& F, THeader& H) {
  H.Encode();
  F.SetPosition(0);
  F.WriteBuffer(H.Raw.data(), RecordBytes);
}

// Whole records move between the file and the array's storage without a copy through the
// record buffer when the host stores doubles as the file does, 256 records (1 MiB) at a time,
// so that progress is still reported while a large array moves.
constexpr bool Bulk = std::endian::native == std::endian::little;
constexpr size_t BulkRecords = 256;

// Runs of doubles between memory and a record: a copy on a little-endian host.
void DecodeRun(const uint8_t* Bytes, double* Out, size_t n) {
  if constexpr (std::endian::native == std::endian::little)
    std::memcpy(Out, Bytes, n * 8);
  else
    for (size_t k = 0; k < n; ++k) Out[k] = LoadLE<double>(Bytes + 8 * k);
}

void EncodeRun(const double* In, uint8_t* Bytes, size_t n) {
  if constexpr (std::endian::native == std::endian::little)
    std::memcpy(Bytes, In, n * 8);
  else
    for (size_t k = 0; k < n; ++k) StoreLE(Bytes + 8 * k, In[k]);
}

// Elements are read record by record from the one holding element First on.
class TRecordReader {
 public:
  TRecordReader(TFileStream& F, int64_t First) : FFile(F) {
    FFile.SetPosition((1 + First / Slots) * RecordBytes);
    Load();
    FSlot = First % Slots;
  }
  // Up to Count next elements: what the record in hand still holds, or, once it is used up,
  // as many whole records as Count covers (at most BulkRecords, read straight into Out on a
  // little-endian host); returns how many.
  size_t NextRun(double* Out, size_t Count) {
    if (FSlot == Slots && Bulk && Count >= static_cast<size_t>(Slots)) {
      const size_t Records = std::min(Count / static_cast<size_t>(Slots), BulkRecords);
      FFile.ReadBuffer(Out, static_cast<int64_t>(Records) * RecordBytes);
      return Records * static_cast<size_t>(Slots);
    }
    if (FSlot == Slots) Load(), FSlot = 0;
    const size_t n = std::min(Count, static_cast<size_t>(Slots - FSlot));
    DecodeRun(&FRecord[static_cast<size_t>(FSlot) * 8], Out, n);
    FSlot += static_cast<int64_t>(n);
    return n;
  }

 private:
  void Load() { FFile.ReadBuffer(FRecord.data(), RecordBytes); }
  TFileStream& FFile;
  TRecord FRecord{};
  int64_t FSlot = 0;
};

// Elements are packed from slot First mod 512 of record 1 + First div 512 on (the slots before
// it as given in Start). A full record is written when another element follows, and the last
// one by Finish, even when partly filled.
class TRecordWriter {
 public:
  TRecordWriter(TFileStream& F, int64_t First, const TRecord& Start)
      : FFile(F), FRecord(Start), FSlot(First % Slots) {
    FFile.SetPosition((1 + First / Slots) * RecordBytes);
  }
  // Up to Count elements: as many as fit the record in hand, or, when it is empty, the whole
  // records that more elements follow (at most BulkRecords, written straight from In on a
  // little-endian host); returns how many.
  size_t PutRun(const double* In, size_t Count) {
    if (FSlot == Slots) Flush();
    const size_t Followed = (Count - 1) / static_cast<size_t>(Slots);
    if (FSlot == 0 && Bulk && Followed > 0) {
      const size_t Records = std::min(Followed, BulkRecords);
      FFile.WriteBuffer(In, static_cast<int64_t>(Records) * RecordBytes);
      return Records * static_cast<size_t>(Slots);
    }
    const size_t n = std::min(Count, static_cast<size_t>(Slots - FSlot));
    EncodeRun(In, &FRecord[static_cast<size_t>(FSlot) * 8], n);
    FSlot += static_cast<int64_t>(n);
    return n;
  }
  void Finish() { Flush(); }

 private:
  void Flush() {
    FFile.WriteBuffer(FRecord.data(), RecordBytes);
    FRecord.fill(0);
    FSlot = 0;
  }
  TFileStream& FFile;
  TRecord FRecord;
  int64_t FSlot;
};

[[noreturn]] void InvalidFile(const std::string& FName) {
  throw EInOutError("Invalid or truncated TMat4D file \"" + FName + "\"");
}

// The header of a file that holds every element it counts (EInOutError otherwise).
THeader CheckedHeader(TFileStream& F) {
  THeader H = ReadHeader(F);
  const bool Counts = H.X >= 1 && H.Y >= 1 && H.Z >= 1 && H.T >= 0;
  const long double Elements = static_cast<long double>(H.X) * H.Y * H.Z * H.T;
  const long double Records = 1 + std::ceil(Elements / Slots);
  if (!Counts || Records * RecordBytes > static_cast<long double>(F.Size()))
    InvalidFile(F.FileName());
  return H;
}

// Repairs a time-slot selection against Count slots: an argument <= 0 selects all; Start
// beyond Count (or after the lowered End) raises the time-slot message.
void SelectTimeSlots(const TMat4D& M, int32_t Count, int32_t& Start, int32_t& End) {
  if (Start > Count) Access::CheckTimeSlot(M, 0);
  End = std::min(End, Count);
  if (Start <= 0 || End <= 0) Start = 1, End = Count;
  if (Start > End) Access::CheckTimeSlot(M, 0);
}

auto PercentOf(TMat4D& M, int64_t Total) {
  return detail::PercentSteps(Total, [&M](int32_t Percent) { M.PercDone(&M, Percent); });
}

// Writes the elements of time slots Start..End of M in file order.
void WriteTimeSlots(TMat4D& M, TRecordWriter& W, int32_t Start, int32_t End) {
  const std::vector<double>& Data = Access::Data(M);
  const size_t SlotSize = Data.size() / static_cast<size_t>(M.NrOfTimeSlots());
  const size_t First = static_cast<size_t>(Start - 1) * SlotSize,
               Last = static_cast<size_t>(End) * SlotSize;
  auto Progress = PercentOf(M, static_cast<int64_t>(Last - First));
  for (size_t i = First; i < Last;) {
    const size_t n = W.PutRun(&Data[i], Last - i);
    i += n;
    Progress.Advance(static_cast<int64_t>(n));
  }
  W.Finish();
}

// Reads Count elements from R into Dest.
void ReadInto(TMat4D& M, TRecordReader& R, int64_t Count, double* Dest) {
  auto Progress = PercentOf(M, Count);
  for (int64_t i = 0; i < Count;) {
    const size_t n = R.NextRun(Dest + i, static_cast<size_t>(Count - i));
    i += static_cast<int64_t>(n);
    Progress.Advance(static_cast<int64_t>(n));
  }
}

// Reads Count elements from R, handing element i (0-based) to Take(i, Value).
template <class F>
void ReadEach(TMat4D& M, TRecordReader& R, int64_t Count, F&& Take) {
  auto Progress = PercentOf(M, Count);
  std::array<double, static_cast<size_t>(Slots)> Run;
  for (int64_t i = 0; i < Count;) {
    const size_t n =
        R.NextRun(Run.data(), static_cast<size_t>(std::min<int64_t>(Count - i, Slots)));
    for (size_t k = 0; k < n; ++k) Take(i + static_cast<int64_t>(k), Run[k]);
    i += static_cast<int64_t>(n);
    Progress.Advance(static_cast<int64_t>(n));
  }
}

}  // namespace

void TMat4D::SaveBinary(const std::string& FName, int32_t TSlotStart, int32_t TSlotEnd) {
  SelectTimeSlots(*this, FNumT, TSlotStart, TSlotEnd);
  TFileStream F(FName, fmCreate);
  THeader H;
  H.X = FNumX, H.Y = FNumY, H.Z = FNumZ, H.T = TSlotEnd - TSlotStart + 1;
  const std::string ID = Latin1Of(FDataID);
  H.Raw[16] = static_cast<uint8_t>(ID.size());
  std::memcpy(&H.Raw[17], ID.data(), ID.size());
  WriteHeader(F, H);
  TRecordWriter W(F, 0, TRecord{});
  WriteTimeSlots(*this, W, TSlotStart, TSlotEnd);
}

bool TMat4D::ReadBinaryHeader(const std::string& FName, int32_t& NrColumns, int32_t& NrRows,
                              int32_t& NrLayers, int32_t& NrTimeSlots, std::string& DataID) const {
  TFileStream F(FName, fmOpenRead);
  const THeader H = ReadHeader(F);
  NrColumns = H.X, NrRows = H.Y, NrLayers = H.Z, NrTimeSlots = H.T;
  DataID = H.DataID;
  return H.Z >= 1 && H.T > 0;
}

void TMat4D::LoadBinary(const std::string& FName, int32_t TSlotStart, int32_t TSlotEnd) {
  TFileStream F(FName, fmOpenRead);
  const THeader H = ReadHeader(F);
  SelectTimeSlots(*this, H.T, TSlotStart, TSlotEnd);
  CheckedHeader(F);
  try {
    Resize(H.X, H.Y, H.Z, TSlotEnd - TSlotStart + 1);
    FDataID = H.DataID;
    const int64_t SlotSize = int64_t{H.X} * H.Y * H.Z;
    TRecordReader R(F, (TSlotStart - 1) * SlotSize);
    ReadInto(*this, R, SlotSize * (TSlotEnd - TSlotStart + 1), Mat.data());
  } catch (...) {
    RaiseComponentError<EZEQMatrixError>(this, "cannot resize, memory low");
  }
}

void TMat4D::ReadBinary(const std::string& FName, int32_t TSlotStart, int32_t TSlotEnd) {
  TFileStream F(FName, fmOpenRead);
  const THeader H = ReadHeader(F);
  SelectTimeSlots(*this, H.T, TSlotStart, TSlotEnd);
  CheckedHeader(F);
  const int64_t Plane = int64_t{H.X} * H.Y, SlotSize = Plane * H.Z;
  TRecordReader R(F, (TSlotStart - 1) * SlotSize);
  ReadEach(*this, R, SlotSize * (TSlotEnd - TSlotStart + 1), [&](int64_t i, double X) {
    ReadElement(this, static_cast<int32_t>(i % H.X) + 1, static_cast<int32_t>(i / H.X % H.Y) + 1,
                static_cast<int32_t>(i / Plane % H.Z) + 1, static_cast<int32_t>(i / SlotSize) + 1,
                X);
  });
}

namespace {

// Checks a layer selection of the file and positions a reader at its first element.
TRecordReader LayerReader(const TMat4D& M, TFileStream& F, const THeader& H, int32_t Layer,
                          int32_t TSlot, int32_t LayersHere) {
  if (TSlot < 1 || TSlot > H.T) Access::CheckTimeSlot(M, 0);
  if (Layer < 1 || Layer > H.Z || Layer > LayersHere) Access::CheckLayer(M, 0);
  CheckedHeader(F);
  const int64_t Plane = int64_t{H.X} * H.Y;
  return TRecordReader(F, (int64_t{TSlot - 1} * H.Z + (Layer - 1)) * Plane);
}

}  // namespace

void TMat4D::ReadLayer(const std::string& FName, int32_t Layer, int32_t TSlot) {
  TFileStream F(FName, fmOpenRead);
  const THeader H = ReadHeader(F);
  TRecordReader R = LayerReader(*this, F, H, Layer, TSlot, FNumZ);
  ReadEach(*this, R, int64_t{H.X} * H.Y, [&](int64_t i, double X) {
    SetVal(static_cast<int32_t>(i % H.X) + 1, static_cast<int32_t>(i / H.X) + 1, Layer, TSlot, X);
  });
}

void TMat4D::ReadLayer(const std::string& FName, int32_t Layer, int32_t TSlot,
                       TDouble2DArray& Data) const {
  TFileStream F(FName, fmOpenRead);
  const THeader H = ReadHeader(F);
  auto* Self = const_cast<TMat4D*>(this);  // progress only
  TRecordReader R = LayerReader(*this, F, H, Layer, TSlot, std::numeric_limits<int32_t>::max());
  Data.assign(static_cast<size_t>(H.X), std::vector<double>(static_cast<size_t>(H.Y)));
  ReadEach(*Self, R, int64_t{H.X} * H.Y, [&](int64_t i, double X) {
    Data[static_cast<size_t>(i % H.X)][static_cast<size_t>(i / H.X)] = X;
  });
}

void TMat4D::AppendToBinaryFile(const std::string& FName, int32_t TSlotStart, int32_t TSlotEnd) {
  TFileStream F(FName, fmOpenReadWrite);
  THeader H = ReadHeader(F);
  if (H.X != FNumX || H.Y != FNumY || H.Z != FNumZ)
    RaiseComponentError<EZEQMatrixError>(this, "X,Y,Z of matrices do not match");
  SelectTimeSlots(*this, FNumT, TSlotStart, TSlotEnd);
  CheckedHeader(F);
  const int64_t Stored = int64_t{H.X} * H.Y * H.Z * H.T;
  const int64_t Slots64 = int64_t{H.T} + (TSlotEnd - TSlotStart + 1);
  if (Slots64 > std::numeric_limits<int32_t>::max()) Access::CheckTimeSlot(*this, 0);
  H.T = static_cast<int32_t>(Slots64);
  WriteHeader(F, H);
  TRecord Start{};
  if (Stored % Slots > 0) {  // the used slots of the last record survive
    F.SetPosition((1 + Stored / Slots) * RecordBytes);
    F.ReadBuffer(Start.data(), RecordBytes);
  }
  TRecordWriter W(F, Stored, Start);
  WriteTimeSlots(*this, W, TSlotStart, TSlotEnd);
}

}  // namespace zeq
