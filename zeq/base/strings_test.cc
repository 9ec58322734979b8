#include "zeq/base/base.h"
#include "zeq/testing/test_util.h"

namespace zeq {
namespace {

TEST(StringContains, DigitPatternMatchesAnyDecimalDigit) {
  EXPECT_TRUE(StringContains("x7", "//dig"));
  EXPECT_TRUE(StringContains("0", "//dig"));
  EXPECT_FALSE(StringContains("abc \xC2\xB2", "//dig"));  // superscript two is not a digit
  EXPECT_FALSE(StringContains("", "//dig"));
  EXPECT_TRUE(StringContains("abcdef", "cde"));
  EXPECT_FALSE(StringContains("abc", "//"));
}

TEST(Strings, ReplaceAndRemoveControlCharacters) {
  EXPECT_EQ(ReplaceCharInString("a\nb\nc", '\n', ' '), "a b c");
  EXPECT_EQ(RemoveControlChars(std::string("a\tb\x7F"
                                           "c\0d\xC3\xA9",
                                           9)),
            "abcd\xC3\xA9");
}

std::vector<std::string> ParseAll(const std::string& Text) {
  std::vector<std::string> Names;
  TQuotedNameState State = qnsBefore;
  std::string Name;
  for (char C : Text)
    if (ParseQuotedName(C, '"', State, Name)) Names.push_back(Name);
  return Names;
}

TEST(ParseQuotedName, ReadsQuotedAndPlainNames) {
  EXPECT_EQ(ParseAll("  \"first name\" \"x\"\n"), (std::vector<std::string>{"first name", "x"}));
  EXPECT_EQ(ParseAll("x   y\n"), (std::vector<std::string>{"x", "y"}));
  EXPECT_EQ(ParseAll("\"\" z\t"), (std::vector<std::string>{"", "z"}));
  EXPECT_TRUE(ParseAll("\"unterminated").empty());
}

}  // namespace
}  // namespace zeq
