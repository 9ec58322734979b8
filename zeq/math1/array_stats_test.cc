// Minimum, maximum, mean and variance of array ranges: rows of testdata/array_examples.txt.
#include "zeq/math1/math1.h"
#include "zeq/testing/example_table.h"
#include "zeq/testing/test_util.h"

namespace zeq {
namespace {

using namespace test::table;

TEST(ArrayStatsExamples, TableOfCalls) {
  test::RunExamples(
      "zeq/math1/testdata/array_examples.txt",
      {{"MinMaxOfArray",
        [](A a) {
          double Min = DBL_MAX, Max = -DBL_MAX;
          int32_t I = 0, J = 0;
          const int32_t Status = MinMaxOfArray(List(a[0]), Int(a[1]), Int(a[2]), Min, Max, I, J);
          return Show(Status, Min, Max, I, J);
        }},
       {"MinMaxOf2DArray",
        [](A a) {
          double Min = DBL_MAX, Max = -DBL_MAX;
          int32_t I0 = 0, J0 = 0, I1 = 0, J1 = 0;
          const int32_t Status = MinMaxOfArray(ListRows(a[0]), Int(a[1]), Int(a[2]), Int(a[3]),
                                               Int(a[4]), Min, Max, I0, J0, I1, J1);
          return Show(Status, Min, I0, J0, Max, I1, J1);
        }},
       {"MeanVarOfArray",
        [](A a) {
          double Mean = 5, Var = 5;
          const int32_t Status = MeanVarOfArray(List(a[0]), Int(a[1]), Int(a[2]), Mean, Var);
          return Show(Status, Mean, Var);
        }},
       {"MeanVarOf2DArray", [](A a) {
          double Mean = 5, Var = 5;
          const int32_t Status =
              MeanVarOfArray(ListRows(a[0]), Int(a[1]), Int(a[2]), Int(a[3]), Int(a[4]), Mean, Var);
          return Show(Status, Mean, Var);
        }}});
}

TEST(MeanVarOfArray, ExtendedSumsSurviveALargeOffset) {
  // 1e5 plus deviations of 0.1 and 0.3: the sum of squares is near 1e13, where a double
  // keeps steps of 0.002 and the one-pass formula would lose the third digit of the
  // variance; long double steps are 1e-6, so about seven digits survive.
  std::vector<double> D;
  for (int i = 0; i < 1001; ++i) D.push_back(1e5 + (i % 2 == 0 ? 0.1 : 0.3));
  double Mean, Var;
  MeanVarOfArray(D, 0, 1000, Mean, Var);
  EXPECT_NEAR(Mean, 1e5 + 0.1 + 0.2 * 500.0 / 1001.0, 1e-10);
  EXPECT_NEAR(Var, 10.02 / 1001.0, 1e-8);  // 500 * 501 * 0.2^2 / 1001 / 1000
}

}  // namespace
}  // namespace zeq
