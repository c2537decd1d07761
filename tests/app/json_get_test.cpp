#include "app/json_get.h"

#include <cmath>
#include <limits>

#include <gtest/gtest.h>

using nlohmann::json;

namespace {

int32_t IntOf(const json& member) {
    return JsonGetInt(json{{"n", member}}, "n", 77);
}

}  // namespace

TEST(JsonGet, NonObjectsAndMissingMembersGiveFallbacks) {
    for (const json& value : {json(), json::array({1, 2}), json("text"), json(5), json::object()}) {
        EXPECT_EQ(JsonGetString(value, "a", "fb"), "fb") << value.dump();
        EXPECT_EQ(JsonGetInt(value, "a", 42), 42) << value.dump();
        EXPECT_TRUE(JsonGetBool(value, "a", true)) << value.dump();
        EXPECT_FALSE(JsonGetBool(value, "a", false)) << value.dump();
    }
}

TEST(JsonGet, StringsAndBooleansOnlyFromTheirOwnJsonType) {
    const json value = {{"s", "hello"}, {"empty", ""}, {"t", true},   {"f", false},
                        {"one", 1},     {"zero", 0},   {"z", nullptr}};
    EXPECT_EQ(JsonGetString(value, "s", "fb"), "hello");
    EXPECT_EQ(JsonGetString(value, "empty", "fb"), "");
    EXPECT_EQ(JsonGetString(value, "one", "fb"), "fb");
    EXPECT_EQ(JsonGetString(value, "t", "fb"), "fb");
    EXPECT_EQ(JsonGetString(value, "z", "fb"), "fb");
    EXPECT_TRUE(JsonGetBool(value, "t", false));
    EXPECT_FALSE(JsonGetBool(value, "f", true));
    EXPECT_FALSE(JsonGetBool(value, "one", false));
    EXPECT_TRUE(JsonGetBool(value, "zero", true));
    EXPECT_FALSE(JsonGetBool(value, "s", false));
}

TEST(JsonGet, IntegersKeepTheirLow32Bits) {
    EXPECT_EQ(IntOf(-5), -5);
    EXPECT_EQ(IntOf(2147483647), 2147483647);
    EXPECT_EQ(IntOf(uint64_t{2147483648}), std::numeric_limits<int32_t>::min());
    EXPECT_EQ(IntOf(uint64_t{4294967297}), 1);
    EXPECT_EQ(IntOf(int64_t{-4294967297}), -1);
    EXPECT_EQ(IntOf(std::numeric_limits<int64_t>::min()), 0);
    // The same through the parser, which picks the unsigned kind for large values.
    EXPECT_EQ(JsonGetInt(json::parse(R"({"n": 8589934597})"), "n", 0), 5);
}

TEST(JsonGet, FloatsTruncateTowardZeroAndSaturateToMinimum) {
    EXPECT_EQ(IntOf(800.9), 800);
    EXPECT_EQ(IntOf(-800.9), -800);
    EXPECT_EQ(IntOf(2147483647.9), 2147483647);
    EXPECT_EQ(IntOf(-2147483648.9), std::numeric_limits<int32_t>::min());
    EXPECT_EQ(IntOf(2147483648.0), std::numeric_limits<int32_t>::min());
    EXPECT_EQ(IntOf(-1e300), std::numeric_limits<int32_t>::min());
    EXPECT_EQ(IntOf(std::numeric_limits<double>::infinity()), std::numeric_limits<int32_t>::min());
    EXPECT_EQ(IntOf(std::nan("")), std::numeric_limits<int32_t>::min());
}

TEST(JsonGet, IntFallsBackForNonNumbers) {
    for (const json& member : {json("800"), json(true), json(nullptr), json::array({1})}) {
        EXPECT_EQ(IntOf(member), 77) << member.dump();
    }
}
