// End-to-end tests of the zeq tool: each row of cases.txt runs the program on a small file and
// compares its exit code and standard output; the plots are parsed as XML and counted.
#include <sys/wait.h>
#include <cstdlib>
#include <regex>

#include "zeq/testing/test_util.h"

namespace {

namespace fs = std::filesystem;

const std::string Here = std::string(ZEQ_SOURCE_DIR) + "/tests/cli";

std::string ReadAll(const std::string& Path) {
  std::ifstream In(Path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(In), {});
}

struct TRun {
  int Code;
  std::string Out, Err;
};

// Runs the tool with Args (a shell word list) in this folder.
TRun RunZeq(const std::string& Args, const std::string& Stdin = "/dev/null") {
  // Files named after the running test: ctest runs the tests of this program in parallel.
  const std::string Tag = ::testing::UnitTest::GetInstance()->current_test_info()->name();
  const std::string Out = zeq::test::TempPath("cli_out_" + Tag),
                    Err = zeq::test::TempPath("cli_err_" + Tag);
  const std::string Command = "cd '" + Here + "' && '" + ZEQ_CLI_PATH + "' " + Args + " < " +
                              Stdin + " > '" + Out + "' 2> '" + Err + "'";
  const int Status = std::system(Command.c_str());
  return {WIFEXITED(Status) ? WEXITSTATUS(Status) : -1, ReadAll(Out), ReadAll(Err)};
}

TEST(Cli, EveryCaseGivesItsExitCodeAndOutput) {
  int Cases = 0;
  for (const std::string& Line : zeq::test::DataLines("tests/cli/cases.txt")) {
    std::istringstream In(Line);
    int Code;
    std::string Expected, Args;
    In >> Code >> Expected;
    std::getline(In, Args);
    const TRun R = RunZeq(Args);
    EXPECT_EQ(R.Code, Code) << Line << "\n" << R.Err;
    if (Expected != "-") {
      EXPECT_EQ(R.Out, ReadAll(Here + "/expected/" + Expected)) << Line;
    }
    if (Code != 0) {  // nothing half-finished on standard output, and a message on the error one
      EXPECT_TRUE(R.Out.empty() || Code == 2) << Line;
      EXPECT_EQ(R.Err.rfind("zeq", 0), Code == 2 && Args.empty() ? std::string::npos : 0u) << Line;
    }
    ++Cases;
  }
  EXPECT_GE(Cases, 20);
}

TEST(Cli, ErrorsNameFileLineAndColumn) {
  EXPECT_EQ(RunZeq("stats data/bad.txt").Err,
            "zeq stats: data/bad.txt:3:3: '4x' is not a number\n");
  EXPECT_EQ(RunZeq("stats -", Here + "/data/bad.txt").Err,
            "zeq stats: <stdin>:3:3: '4x' is not a number\n");
  EXPECT_EQ(RunZeq("stats --bogus").Err,
            "zeq stats: unknown option --bogus (see zeq stats --help)\n");
  EXPECT_EQ(RunZeq("stats data/xy.txt", "/dev/null").Out,
            RunZeq("stats", Here + "/data/xy.txt").Out);
}

// The elements of an SVG document, checked for balance: every opened tag is closed in order.
std::vector<std::string> BalancedTags(const std::string& Svg) {
  std::vector<std::string> Open, All;
  const std::regex Tag("<(/?)([a-zA-Z][a-zA-Z0-9-]*)([^>]*?)(/?)>");
  for (auto It = std::sregex_iterator(Svg.begin(), Svg.end(), Tag); It != std::sregex_iterator();
       ++It) {
    const std::smatch& M = *It;
    if (M[1].length() > 0) {
      EXPECT_FALSE(Open.empty()) << "unmatched </" << M[2] << ">";
      if (Open.empty()) break;
      EXPECT_EQ(Open.back(), M[2].str());
      Open.pop_back();
      continue;
    }
    All.push_back(M[2].str() + M[3].str());
    if (M[4].length() == 0) Open.push_back(M[2].str());
  }
  EXPECT_TRUE(Open.empty()) << "unclosed <" << (Open.empty() ? "" : Open.back()) << ">";
  return All;
}

size_t Count(const std::vector<std::string>& Tags, const std::string& Start) {
  size_t N = 0;
  for (const std::string& T : Tags) N += T.rfind(Start, 0) == 0;
  return N;
}

TEST(Cli, PlotsAreWellFormedWithTheirPointsAndTicks) {
  const std::string Svg = zeq::test::TempPath("cli_plot.svg");
  fs::remove(Svg);
  ASSERT_EQ(RunZeq("fit line data/xy.txt --plot '" + Svg + "'").Code, 0);
  const std::string Text = ReadAll(Svg);
  ASSERT_EQ(Text.rfind("<?xml", 0), 0u);
  const std::vector<std::string> Tags = BalancedTags(Text.substr(Text.find("<svg")));
  EXPECT_EQ(Count(Tags, "circle class=\"point\""), 6u);     // one per data point
  EXPECT_EQ(Count(Tags, "polyline class=\"line\""), 1u);    // the fitted line
  EXPECT_GE(Count(Tags, "text class=\"tick-label\""), 8u);  // 1-2-5 ticks on both axes
  EXPECT_EQ(Count(Tags, "g class=\"legend\""), 2u);
  EXPECT_FALSE(fs::exists(Svg + ".part"));
  // A failed run leaves no picture behind, and an old one untouched.
  ASSERT_EQ(RunZeq("fit line data/bad.txt --plot '" + Svg + "'").Code, 1);
  EXPECT_EQ(ReadAll(Svg), Text);
  fs::remove(Svg);
  ASSERT_EQ(RunZeq("stats data/xy.txt --bins 4 --plot '" + Svg + "'").Code, 0);
  EXPECT_EQ(Count(BalancedTags(ReadAll(Svg)), "rect class=\"bar\""), 4u);
  fs::remove(Svg);
}

}  // namespace
