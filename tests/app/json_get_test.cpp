#include "app/json_get.h"

#include <cmath>
#include <limits>

#include <gtest/gtest.h>

using nlohmann::json;

namespace {

constexpr int32_t kMin = std::numeric_limits<int32_t>::min();

TEST(JsonGet, EachTypeOnlyFromItsOwnJsonKindElseTheFallback) {
    for (const json& notObject : {json(), json::array({1, 2}), json("text"), json(5), json::object()}) {
        EXPECT_EQ(JsonGetString(notObject, "a", "fb"), "fb") << notObject.dump();
        EXPECT_EQ(JsonGetInt(notObject, "a", 42), 42) << notObject.dump();
        EXPECT_TRUE(JsonGetBool(notObject, "a", true)) << notObject.dump();
    }
    const json value = {{"s", "hello"}, {"empty", ""}, {"t", true}, {"one", 1}, {"zero", 0}, {"z", nullptr}};
    EXPECT_EQ(JsonGetString(value, "s", "fb"), "hello");
    EXPECT_EQ(JsonGetString(value, "empty", "fb"), "");
    for (const char* other : {"one", "t", "z"}) EXPECT_EQ(JsonGetString(value, other, "fb"), "fb") << other;
    EXPECT_TRUE(JsonGetBool(value, "t", false));
    EXPECT_FALSE(JsonGetBool(value, "one", false));
    EXPECT_TRUE(JsonGetBool(value, "zero", true));
}

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
