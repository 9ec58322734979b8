/// @file
/// Byte streams (memory and file) and the routines that read and write single extended and
/// 32-bit integer values at a stream's position, little-endian.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "zeq/base/export.h"
#include "zeq/base/object.h"

namespace zeq {

/// Where Seek counts from: the start, the position, the end.
enum TSeekOrigin : uint8_t { soBeginning, soCurrent, soEnd };

/// File stream modes.
enum TFileMode : uint8_t {
  fmCreate,        // create or truncate, then read and write
  fmOpenRead,      // existing file, read only
  fmOpenWrite,     // existing file, write only
  fmOpenReadWrite  // existing file, read and write
};

/// A sequence of bytes with a position; the base of the memory and file streams.
class ZEQ_API TStream : public TObject {
 public:
  std::string ClassName() const override { return "TStream"; }

  /// Reads up to Count bytes at the position; returns how many were read (0 at the end).
  virtual int64_t Read(void* Buffer, int64_t Count) = 0;
  /// Writes Count bytes at the position; returns how many were written.
  virtual int64_t Write(const void* Buffer, int64_t Count) = 0;
  /// Moves the position and returns the new one. A position before the start becomes 0.
  virtual int64_t Seek(int64_t Offset, TSeekOrigin Origin) = 0;
  /// The number of bytes. The inherited version seeks to the end and back.
  virtual int64_t Size();
  /// Sets the number of bytes (a file is truncated or extended with zeros).
  virtual void SetSize(int64_t NewSize) = 0;

  ///@{
  /// The position, and a move to Pos counted from the start.
  int64_t Position() { return Seek(0, soCurrent); }
  void SetPosition(int64_t Pos) { Seek(Pos, soBeginning); }
  ///@}
  /// Bytes between the position and the end (0 when the position lies beyond the end).
  int64_t Remaining();

  ///@{
  /// Read and Write of exactly Count bytes; EInOutError ("Stream read error",
  /// "Stream write error") when fewer were transferred.
  void ReadBuffer(void* Buffer, int64_t Count);
  void WriteBuffer(const void* Buffer, int64_t Count);
  ///@}
  /// Copies Count bytes of Source from its position (Count <= 0: all of Source from its
  /// start) to this stream; returns the number copied.
  int64_t CopyFrom(TStream* Source, int64_t Count);
};

/// A stream held in memory, growing as it is written.
class ZEQ_API TMemoryStream : public TStream {
 public:
  std::string ClassName() const override { return "TMemoryStream"; }

  int64_t Read(void* Buffer, int64_t Count) override;
  int64_t Write(const void* Buffer, int64_t Count) override;
  int64_t Seek(int64_t Offset, TSeekOrigin Origin) override;
  /// The number of bytes held.
  int64_t Size() override { return static_cast<int64_t>(FData.size()); }
  /// Shrinking moves a position beyond the new end back to it; growing adds zero bytes.
  void SetSize(int64_t NewSize) override;

  /// Empties the stream (size and position 0).
  void Clear();
  ///@{
  /// The bytes held (valid until the next change of size).
  const uint8_t* Memory() const { return FData.data(); }
  uint8_t* Memory() { return FData.data(); }
  ///@}

  ///@{
  /// Replaces the contents by the file's bytes (position 0), or writes the contents to the file;
  /// EInOutError when the file cannot be opened, read or written.
  void LoadFromFile(const std::string& FileName);
  void SaveToFile(const std::string& FileName);
  ///@}

 private:
  std::vector<uint8_t> FData;
  int64_t FPos = 0;
};

/// A stream over a file of the file system (buffered by the C library).
class ZEQ_API TFileStream : public TStream {
 public:
  ///@{
  /// Opens or creates the file; EInOutError "Cannot open file \"name\"" or
  /// "Cannot create file \"name\"" when that fails.
  TFileStream(const std::string& FileName, TFileMode Mode);
  ~TFileStream() override;
  TFileStream(const TFileStream&) = delete;
  TFileStream& operator=(const TFileStream&) = delete;
  ///@}

  std::string ClassName() const override { return "TFileStream"; }
  /// The name the stream was opened with.
  const std::string& FileName() const { return FFileName; }

  int64_t Read(void* Buffer, int64_t Count) override;
  int64_t Write(const void* Buffer, int64_t Count) override;
  int64_t Seek(int64_t Offset, TSeekOrigin Origin) override;
  /// Truncates or extends the file (with zeros); the position stays.
  void SetSize(int64_t NewSize) override;

 private:
  enum class TLastOp : uint8_t { None, Read, Write };
  /// The C library needs a seek between a read and a write on the same file.
  void SwitchTo(TLastOp Op);

  std::string FFileName;
  std::FILE* FFile = nullptr;
  TLastOp FLastOp = TLastOp::None;
};

/// Reads one 80-bit extended value (10 bytes, little-endian). Failed is set to true when the
/// stream held fewer than 10 bytes (the value is then 0 and must not be used), else false.
/// A null stream fails.
ZEQ_API long double ReadExtendedFromStream(TStream* InStream, bool& Failed);
/// Writes one 80-bit extended value; EInOutError when the stream cannot take it.
ZEQ_API void WriteExtendedToStream(TStream* OutStream, long double Value);
///@{
/// The same for one 32-bit signed integer (4 bytes, little-endian).
ZEQ_API int32_t ReadLongintFromStream(TStream* InStream, bool& Failed);
ZEQ_API void WriteLongintToStream(TStream* OutStream, int32_t Value);
///@}

}  // namespace zeq
