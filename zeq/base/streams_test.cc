#include "zeq/base/base.h"
#include "zeq/testing/test_util.h"

namespace zeq {
namespace {

TEST(MemoryStream, ReadsWritesAndSeeks) {
  TMemoryStream S;
  const char Text[] = "abcdef";
  EXPECT_EQ((std::tuple{S.Write(Text, 6), S.Size(), S.Position()}), (std::tuple{6, 6, 6}));
  S.SetPosition(2);
  char Buf[8] = {};
  EXPECT_EQ(S.Read(Buf, 10), 4);  // only what is there
  EXPECT_STREQ(Buf, "cdef");
  EXPECT_EQ((std::tuple{S.Read(Buf, 1), S.Seek(-3, soEnd)}), (std::tuple{0, 3}));
  EXPECT_EQ(S.Seek(-10, soCurrent), 0);  // never before the start
  S.Seek(8, soBeginning);
  S.Write("z", 1);  // writing past the end fills the gap with zeros
  EXPECT_EQ((std::tuple{S.Size(), S.Memory()[7]}), (std::tuple{9, 0}));
  S.SetSize(2);
  EXPECT_EQ(S.Position(), 2);
  EXPECT_THROW(S.ReadBuffer(Buf, 1), EInOutError);
  S.Seek(int64_t{1} << 62, soBeginning);  // no memory can back a write there
  EXPECT_THROW(S.WriteBuffer("z", 1), EInOutError);
  EXPECT_EQ(S.Size(), 2);
}

TEST(StreamValues, ExtendedIsTenLittleEndianBytes) {
  TMemoryStream S;
  WriteExtendedToStream(&S, 1.0L);
  ASSERT_EQ(S.Size(), 10);
  const uint8_t One[10] = {0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x3F};
  EXPECT_EQ(std::memcmp(S.Memory(), One, 10), 0);
  WriteLongintToStream(&S, -2);
  const uint8_t MinusTwo[4] = {0xFE, 0xFF, 0xFF, 0xFF};
  EXPECT_EQ(std::memcmp(S.Memory() + 10, MinusTwo, 4), 0);
}

TEST(StreamValues, ReadingAnExhaustedStreamFails) {
  TMemoryStream S;
  WriteLongintToStream(&S, 7);
  S.SetPosition(0);
  bool Failed = false;
  ReadExtendedFromStream(&S, Failed);  // 4 bytes are not enough for 10
  EXPECT_TRUE(Failed);
  S.SetPosition(1);
  ReadLongintFromStream(&S, Failed);
  EXPECT_TRUE(Failed);
  Failed = false;
  ReadLongintFromStream(nullptr, Failed);
  EXPECT_TRUE(Failed);
  EXPECT_THROW(WriteExtendedToStream(nullptr, 1.0L), EInOutError);
}

// Random values and the special ones: the stream gives back their bits, and the portable
// encoding equals the native one.
TEST(StreamValues, EveryValueRoundTripsAndEncodesAsTheNativeFormat) {
  std::mt19937_64 Gen(7);
  std::uniform_real_distribution<long double> Mant(-1.0L, 1.0L);
  std::uniform_int_distribution<int> Exp(-16440, 16380);
  std::vector<long double> Values{0.0L, -0.0L, std::numeric_limits<long double>::denorm_min(),
                                  -std::numeric_limits<long double>::infinity()};
  for (int i = 0; i < 2000; ++i) Values.push_back(std::ldexp(Mant(Gen), Exp(Gen)));
  TMemoryStream S;
  for (long double X : Values) WriteExtendedToStream(&S, X);
  S.SetPosition(0);
  for (long double X : Values) {
    bool Failed = true;
    const long double Read = ReadExtendedFromStream(&S, Failed);
    EXPECT_EQ(std::pair(std::memcmp(&Read, &X, 10), Failed), std::pair(0, false));
    const TExtendedBytes Native = ExtendedToBytes(X);
    EXPECT_EQ(detail::EncodeExtendedPortable(X), Native) << static_cast<double>(X);
    const long double Back = detail::DecodeExtendedPortable(Native);
    EXPECT_EQ(std::memcmp(&Back, &X, 10), 0);
  }
  EXPECT_TRUE(std::isnan(detail::DecodeExtendedPortable(ExtendedToBytes(NAN))));
}

TEST(FileStream, WritesReadsAndReportsMissingFiles) {
  const std::string Name = test::TempPath("file_stream_test.bin");
  {
    TFileStream Out(Name, fmCreate);
    WriteLongintToStream(&Out, 123456);
    WriteExtendedToStream(&Out, 2.5L);
    EXPECT_EQ(Out.Size(), 14);
  }
  {
    TFileStream In(Name, fmOpenRead);
    bool Failed = true;
    EXPECT_EQ(ReadLongintFromStream(&In, Failed), 123456);
    EXPECT_EQ(ReadExtendedFromStream(&In, Failed), 2.5L);
    EXPECT_FALSE(Failed);
    EXPECT_EQ(In.Remaining(), 0);
    ReadLongintFromStream(&In, Failed);
    EXPECT_TRUE(Failed);
  }
  TMemoryStream M;
  M.LoadFromFile(Name);
  EXPECT_EQ(M.Size(), 14);
  std::remove(Name.c_str());
  test::ExpectThrowMessage<EInOutError>([&] { TFileStream Missing(Name, fmOpenRead); },
                                        "Cannot open file \"" + Name + "\"");
}

}  // namespace
}  // namespace zeq
