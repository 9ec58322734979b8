// Helpers shared by the tests of every unit.
#pragma once

#include <gtest/gtest.h>

#include <string>

namespace zeq::test {

// Call() must raise E with exactly Message.
template <class E, class F>
void ExpectThrowMessage(F&& Call, const std::string& Message) {
  try {
    Call();
    ADD_FAILURE() << "no exception; expected: " << Message;
  } catch (const E& Err) {
    EXPECT_EQ(std::string(Err.what()), Message);
  }
}

}  // namespace zeq::test
