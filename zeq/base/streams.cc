// Memory and file streams and the single-value stream routines.
#include "zeq/base/streams.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <filesystem>
#include <limits>
#include <new>
#include <stdexcept>

#include "zeq/base/errors.h"
#include "zeq/base/extended.h"

namespace zeq {

int64_t TStream::Size() {
  const int64_t Pos = Seek(0, soCurrent);
  const int64_t End = Seek(0, soEnd);
  Seek(Pos, soBeginning);
  return End;
}

int64_t TStream::Remaining() { return std::max<int64_t>(0, Size() - Position()); }

void TStream::ReadBuffer(void* Buffer, int64_t Count) {
  if (Count > 0 && Read(Buffer, Count) != Count) throw EInOutError("Stream read error");
}

void TStream::WriteBuffer(const void* Buffer, int64_t Count) {
  if (Count > 0 && Write(Buffer, Count) != Count) throw EInOutError("Stream write error");
}

int64_t TStream::CopyFrom(TStream* Source, int64_t Count) {
  if (Source == nullptr) return 0;
  if (Count <= 0) {
    Source->SetPosition(0);
    Count = Source->Size();
  }
  std::vector<uint8_t> Chunk(static_cast<size_t>(std::min<int64_t>(Count, 1 << 16)));
  int64_t Copied = 0;
  while (Copied < Count) {
    const int64_t Want = std::min<int64_t>(Count - Copied, static_cast<int64_t>(Chunk.size()));
    const int64_t Got = Source->Read(Chunk.data(), Want);
    if (Got <= 0) break;
    WriteBuffer(Chunk.data(), Got);
    Copied += Got;
  }
  return Copied;
}

// ---- TMemoryStream ----

int64_t TMemoryStream::Read(void* Buffer, int64_t Count) {
  const int64_t Avail = std::max<int64_t>(0, Size() - FPos);
  const int64_t N = std::clamp<int64_t>(Count, 0, Avail);
  if (N > 0) std::memcpy(Buffer, FData.data() + FPos, static_cast<size_t>(N));
  FPos += N;
  return N;
}

int64_t TMemoryStream::Write(const void* Buffer, int64_t Count) {
  if (Count <= 0) return 0;
  if (Count > std::numeric_limits<int64_t>::max() - FPos) return 0;
  if (FPos + Count > Size()) {
    try {  // a position far beyond the end cannot be backed by memory: nothing is written
      FData.resize(static_cast<size_t>(FPos + Count));
    } catch (const std::bad_alloc&) {
      return 0;
    } catch (const std::length_error&) {
      return 0;
    }
  }
  std::memcpy(FData.data() + FPos, Buffer, static_cast<size_t>(Count));
  FPos += Count;
  return Count;
}

int64_t TMemoryStream::Seek(int64_t Offset, TSeekOrigin Origin) {
  const int64_t Base = Origin == soBeginning ? 0 : Origin == soCurrent ? FPos : Size();
  // Saturate instead of overflowing on absurd offsets.
  const int64_t Max = std::numeric_limits<int64_t>::max();
  const int64_t Target = Offset > 0 && Base > Max - Offset ? Max : Base + Offset;
  FPos = std::max<int64_t>(0, Target);
  return FPos;
}

void TMemoryStream::SetSize(int64_t NewSize) {
  FData.resize(static_cast<size_t>(std::max<int64_t>(0, NewSize)));
  FPos = std::min(FPos, Size());
}

void TMemoryStream::Clear() {
  FData.clear();
  FData.shrink_to_fit();
  FPos = 0;
}

void TMemoryStream::LoadFromFile(const std::string& FileName) {
  TFileStream F(FileName, fmOpenRead);
  std::vector<uint8_t> Data(static_cast<size_t>(F.Size()));
  F.ReadBuffer(Data.data(), static_cast<int64_t>(Data.size()));
  FData = std::move(Data);
  FPos = 0;
}

void TMemoryStream::SaveToFile(const std::string& FileName) {
  TFileStream F(FileName, fmCreate);
  F.WriteBuffer(FData.data(), Size());
}

// ---- TFileStream ----

TFileStream::TFileStream(const std::string& FileName, TFileMode Mode) : FFileName(FileName) {
  static constexpr const char* Modes[] = {"w+b", "rb", "r+b", "r+b"};
  FFile = std::fopen(FileName.c_str(), Modes[Mode <= fmOpenReadWrite ? Mode : fmOpenRead]);
  if (FFile == nullptr)
    throw EInOutError((Mode == fmCreate ? "Cannot create file \"" : "Cannot open file \"") +
                      FileName + "\"");
}

TFileStream::~TFileStream() {
  if (FFile != nullptr) std::fclose(FFile);
}

void TFileStream::SwitchTo(TLastOp Op) {
  if (FLastOp != TLastOp::None && FLastOp != Op) std::fseek(FFile, 0, SEEK_CUR);
  FLastOp = Op;
}

int64_t TFileStream::Read(void* Buffer, int64_t Count) {
  if (Count <= 0) return 0;
  SwitchTo(TLastOp::Read);
  return static_cast<int64_t>(std::fread(Buffer, 1, static_cast<size_t>(Count), FFile));
}

int64_t TFileStream::Write(const void* Buffer, int64_t Count) {
  if (Count <= 0) return 0;
  SwitchTo(TLastOp::Write);
  return static_cast<int64_t>(std::fwrite(Buffer, 1, static_cast<size_t>(Count), FFile));
}

int64_t TFileStream::Seek(int64_t Offset, TSeekOrigin Origin) {
  static constexpr int Whence[] = {SEEK_SET, SEEK_CUR, SEEK_END};
  FLastOp = TLastOp::None;
  if (std::fseek(FFile, static_cast<long>(Offset), Whence[Origin <= soEnd ? Origin : soCurrent]) !=
      0)
    std::fseek(FFile, 0, SEEK_SET);  // only a target before the start can fail here
  return static_cast<int64_t>(std::ftell(FFile));
}

void TFileStream::SetSize(int64_t NewSize) {
  const int64_t Pos = Position();
  std::fflush(FFile);
  std::error_code Err;
  std::filesystem::resize_file(FFileName, static_cast<uintmax_t>(std::max<int64_t>(0, NewSize)),
                               Err);
  if (Err) throw EInOutError("Cannot set the size of file \"" + FFileName + "\"");
  Seek(std::min(Pos, NewSize), soBeginning);
}

// ---- single values ----

long double ReadExtendedFromStream(TStream* InStream, bool& Failed) {
  TExtendedBytes B{};
  Failed = InStream == nullptr || InStream->Read(B.data(), static_cast<int64_t>(B.size())) !=
                                      static_cast<int64_t>(B.size());
  return Failed ? 0.0L : BytesToExtended(B);
}

void WriteExtendedToStream(TStream* OutStream, long double Value) {
  if (OutStream == nullptr) throw EInOutError("Stream write error");
  const TExtendedBytes B = ExtendedToBytes(Value);
  OutStream->WriteBuffer(B.data(), static_cast<int64_t>(B.size()));
}

int32_t ReadLongintFromStream(TStream* InStream, bool& Failed) {
  std::array<uint8_t, 4> B{};
  Failed = InStream == nullptr || InStream->Read(B.data(), 4) != 4;
  if (Failed) return 0;
  const uint32_t U = B[0] | (B[1] << 8) | (B[2] << 16) | (static_cast<uint32_t>(B[3]) << 24);
  return static_cast<int32_t>(U);
}

void WriteLongintToStream(TStream* OutStream, int32_t Value) {
  if (OutStream == nullptr) throw EInOutError("Stream write error");
  const auto U = static_cast<uint32_t>(Value);
  const std::array<uint8_t, 4> B = {static_cast<uint8_t>(U), static_cast<uint8_t>(U >> 8),
                                    static_cast<uint8_t>(U >> 16), static_cast<uint8_t>(U >> 24)};
  OutStream->WriteBuffer(B.data(), 4);
}

}  // namespace zeq
