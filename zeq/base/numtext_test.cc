#include "zeq/base/base.h"
#include "zeq/testing/example_table.h"
#include "zeq/testing/test_util.h"

namespace zeq {
namespace {

using namespace test::table;

TEST(NumberTextExamples, TableOfCalls) {
  // A failed parse reads "false"; a successful one must also leave the value set.
  const auto Parsed = [](bool Ok, auto Value) { return Ok ? Show(Value) : "false"; };
  test::RunExamples("zeq/base/testdata/numtext_examples.txt",
                    ZEQ_CALLS(StrFixed, StrScientific, strff),
                    {{"StrFixedLength",
                      [](A a) { return Show(StrFixed(Num(a[0]), Int(a[1]), Int(a[2])).size()); }},
                     {"TryStrToInt",
                      [&](A a) {
                        int32_t V = 5;
                        const bool Ok = TryStrToInt(a[0], V);
                        return Parsed(Ok, V);
                      }},
                     {"TryStrToFloat", [&](A a) {
                        double V = 5;
                        const bool Ok = TryStrToFloat(a[0], V);
                        return Ok || V == 5 ? Parsed(Ok, V) : "changed on failure";
                      }}});
}

TEST(NumberText, ExtremeLongDoubles) {
  EXPECT_EQ(StrFixed(std::numeric_limits<long double>::max(), 1, 2).size(), 4933u + 3u);
  EXPECT_EQ(StrScientific(1e4000L, 10), " 1.0E+4000");
  EXPECT_EQ(StrScientific(-3e-4930L, 10), "-3.0E-4930");
}

}  // namespace
}  // namespace zeq
