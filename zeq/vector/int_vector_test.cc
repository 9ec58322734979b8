#include "zeq/testing/test_util.h"
#include "zeq/testing/vector_test_util.h"
#include "zeq/vector/vector.h"

namespace zeq {
namespace {

void FillInt(TIntVector& V, const std::vector<int32_t>& Values) { test::FillWith(V, Values); }
std::vector<int32_t> Values(const TIntVector& V) { return test::ValuesOf(V); }

// The twin's arithmetic and statistics are rows of testdata/vector_examples.txt.
TEST(IntVector, CheckStringAndSort) {
  TIntVector A;
  FillInt(A, {1, -2, 300000});
  // Python: zlib.crc32 of byte k of each little-endian int32, k = 0..3
  EXPECT_EQ(A.CRCofData(), "D4B69D6E0563E69E6B08E0796C652460");
  FillInt(A, {5, 1, 5, 2, 2});
  A.SortElems(false, 0, 0);
  EXPECT_EQ(Values(A), (std::vector<int32_t>{5, 5, 2, 2, 1}));
}

}  // namespace
}  // namespace zeq
