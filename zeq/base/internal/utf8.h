// UTF-8 text as characters: decoding one character, and counting and cutting by characters,
// for the names, identifiers and IDs whose limits are counted in characters.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace zeq::detail {

struct TUtf8Char {
  uint32_t Code;  // the code point (the byte itself when not well formed)
  size_t Length;  // bytes taken
  bool WellFormed;
};

// The character that starts at byte i < S.size(). A byte that does not start a complete
// sequence is a character of its own, one byte long and not well formed.
inline TUtf8Char DecodeUtf8(std::string_view S, size_t i) {
  const auto B = static_cast<uint8_t>(S[i]);
  const size_t Len = B < 0x80                ? 1
                     : B >= 0xC2 && B < 0xE0 ? 2
                     : B >= 0xE0 && B < 0xF0 ? 3
                     : B >= 0xF0 && B < 0xF5 ? 4
                                             : 0;
  if (Len == 0 || i + Len > S.size()) return {B, 1, false};
  uint32_t Code = Len == 1 ? B : B & (0x7Fu >> Len);
  for (size_t k = 1; k < Len; ++k) {
    const auto C = static_cast<uint8_t>(S[i + k]);
    if ((C & 0xC0) != 0x80) return {B, 1, false};
    Code = (Code << 6) | (C & 0x3Fu);
  }
  return {Code, Len, true};
}

inline int32_t CharCount(std::string_view S) {
  int32_t Count = 0;
  for (size_t i = 0; i < S.size(); i += DecodeUtf8(S, i).Length) ++Count;
  return Count;
}

// The first Limit characters of S, never cutting a character.
inline std::string CutToChars(std::string_view S, int32_t Limit) {
  size_t i = 0;
  for (int32_t Count = 0; i < S.size() && Count < Limit; ++Count) i += DecodeUtf8(S, i).Length;
  return std::string(S.substr(0, i));
}

}  // namespace zeq::detail
