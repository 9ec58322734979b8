// Helpers shared by the vector tests: fill a vector from a list and read it back.
#pragma once

#include "zeq/testing/test_util.h"
#include "zeq/vector/vector.h"

namespace zeq::test {

template <class V>
void FillWith(V& Vec, const std::vector<typename V::TElem>& Values) {
  Vec.Resize(static_cast<int32_t>(Values.size()));
  for (size_t i = 0; i < Values.size(); ++i) Vec.SetVal(static_cast<int32_t>(i + 1), Values[i]);
}

template <class V>
std::vector<typename V::TElem> ValuesOf(const V& Vec) {
  std::vector<typename V::TElem> R;
  for (int32_t i = 1; i <= Vec.NrOfElem(); ++i) R.push_back(Vec.GetVal(i));
  return R;
}

}  // namespace zeq::test
