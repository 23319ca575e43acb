#pragma once
// The table test most tests are made of: each row an input and what it must give.
#include <gtest/gtest.h>

#include <initializer_list>
#include <utility>

namespace tallyx::test {

// Each row's input through `f` against the row's expected value, traced by the input.
template <class In, class Out, class F>
void ExpectEach(std::initializer_list<std::pair<In, Out>> rows, F f)
{
    for (const auto& [input, expected] : rows) {
        SCOPED_TRACE(::testing::PrintToString(input));
        EXPECT_EQ(f(input), expected);
    }
}

} // namespace tallyx::test
