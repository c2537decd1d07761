#include "util/json_get.h"

#include <cmath>
#include <limits>

#include <gtest/gtest.h>

using nlohmann::json;

namespace {

constexpr int32_t kMin = std::numeric_limits<int32_t>::min();

// Strings, booleans and members of non-objects are pinned through the configuration's
// tests; numbers need their own.
TEST(JsonGet, NumbersBecomeSigned32BitValues) {
    const std::pair<json, int32_t> rows[] = {
        {-5, -5},
        {2147483647, 2147483647},
        {uint64_t{2147483648}, kMin},  // integers keep their low 32 bits
        {uint64_t{4294967297}, 1},
        {int64_t{-4294967297}, -1},
        {std::numeric_limits<int64_t>::min(), 0},
        {json::parse("8589934597"), 5},  // parsed as unsigned
        {800.9, 800},                    // floats are cut toward zero ...
        {-800.9, -800},
        {2147483647.9, 2147483647},
        {2147483648.0, kMin},  // ... and out of range, infinite or NaN give the minimum
        {-1e300, kMin},
        {std::numeric_limits<double>::infinity(), kMin},
        {std::nan(""), kMin},
        {"800", 77},  // not numbers: the fallback
        {true, 77},
        {nullptr, 77},
        {json::array({1}), 77},
    };
    for (const auto& [member, expected] : rows) {
        EXPECT_EQ(JsonGetInt(json{{"n", member}}, "n", 77), expected) << member.dump();
    }
}

}  // namespace
