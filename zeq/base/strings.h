/// @file
/// Small string routines: pattern test, character replacement, quoted names and removal of
/// control characters. Strings are UTF-8; the routines never split a multi-byte character.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "zeq/base/export.h"

namespace zeq {

/// True when S contains Pattern. The pattern "//dig" stands for any decimal digit 0..9; any
/// other pattern is looked for literally.
ZEQ_API bool StringContains(std::string_view S, std::string_view Pattern);

/// S with every occurrence of OldChar replaced by NewChar.
ZEQ_API std::string ReplaceCharInString(std::string_view S, char OldChar, char NewChar);

/// S without control characters (codes 0..31 and 127).
ZEQ_API std::string RemoveControlChars(std::string_view S);

/// State of a quoted-name parser that is fed one character at a time.
enum TQuotedNameState : uint8_t {
  qnsBefore,    // skipping white space before the name
  qnsQuoted,    // inside a name opened by the delimiter
  qnsUnquoted,  // inside a name that did not start with the delimiter
  qnsDone       // a name is complete
};

/// Feeds character C to the parser and returns true when it completed a name in Name.
/// White space before a name is skipped. A name that starts with Delimiter runs to the next
/// Delimiter (white space included); any other name runs to the next white space, so that
/// plain words such as `x   y` read as two names. Start with State = qnsBefore and Name
/// empty; after a completed name the state is qnsDone, and the next character starts over.
ZEQ_API bool ParseQuotedName(char C, char Delimiter, TQuotedNameState& State, std::string& Name);

}  // namespace zeq
