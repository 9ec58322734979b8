#include "zeq/base/base.h"
#include "zeq/testing/example_table.h"
#include "zeq/testing/test_util.h"

namespace zeq {
namespace {

TEST(StringExamples, TableOfCalls) {
  test::RunExamples("zeq/base/testdata/strings_examples.txt",
                    ZEQ_CALLS(StringContains, ReplaceCharInString, RemoveControlChars));
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
