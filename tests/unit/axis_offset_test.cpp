#include <gtest/gtest.h>

#include "axis_offset.h"

namespace {

TEST(AxisOffsetText, ConvertsLikeAtoiAndSaturatesOutOfRange) {
    const std::pair<const char*, std::uint32_t> cases[] = {
        {"", 0},
        {"0", 0},
        {"42", 42},
        {"  \t\n7", 7},
        {"+9", 9},
        {"-0", 0},
        {"-1", 4294967295u},
        {"12abc", 12},
        {"abc", 0},
        {"- 1", 0},
        {"+-1", 0},
        {"1 2", 1},
        {"0004294967295", 4294967295u},
        {"2147483647", 2147483647u},
        {"2147483648", 2147483648u},
        {"4294967295", 4294967295u},
        {"4294967296", 4294967295u},
        {"99999999999999999999999999999", 4294967295u},
        {"-2147483647", 2147483649u},
        {"-2147483648", 2147483648u},
        {"-2147483649", 2147483648u},
        {"-99999999999999999999999999999", 2147483648u},
    };
    for (const auto& [text, expected] : cases) {
        EXPECT_EQ(axisOffsetFromText(text), expected) << '"' << text << '"';
    }
}

}  // namespace
