#include "server/range_header.h"

#include <gtest/gtest.h>

namespace {

// "start-end" for a valid range, "invalid" otherwise.
std::string Range(const std::string& value, uint64_t length = 1000) {
    const std::optional<ByteRange> range = ParseRangeHeader(value, length);
    if (!range) return "invalid";
    return std::to_string(range->start) + "-" + std::to_string(range->end);
}

}  // namespace

TEST(RangeHeader, ValidRangesWithinTheContent) {
    EXPECT_EQ(Range("bytes=0-499"), "0-499");
    EXPECT_EQ(Range("bytes=500-"), "500-999");
    EXPECT_EQ(Range("bytes=999-"), "999-999");
    EXPECT_EQ(Range("bytes=-1"), "999-999");
    EXPECT_EQ(Range("bytes=-1000"), "0-999");
    EXPECT_EQ(Range("bytes=0-999"), "0-999");
    EXPECT_EQ(Range("bytes=0-", 1), "0-0");
    EXPECT_EQ(Range("bytes=-1", 1), "0-0");
}

TEST(RangeHeader, RangesOutsideTheContentAreInvalid) {
    EXPECT_EQ(Range("bytes=1000-"), "invalid");
    EXPECT_EQ(Range("bytes=0-1000"), "invalid");
    EXPECT_EQ(Range("bytes=5-4"), "invalid");
    EXPECT_EQ(Range("bytes=-1001"), "invalid");
    // An empty content satisfies no range at all.
    EXPECT_EQ(Range("bytes=0-", 0), "invalid");
    EXPECT_EQ(Range("bytes=-1", 0), "invalid");
    // A zero suffix asks for nothing.
    EXPECT_EQ(Range("bytes=-0"), "invalid");
}

TEST(RangeHeader, MalformedValuesAreInvalid) {
    EXPECT_EQ(Range("bytes="), "invalid");
    EXPECT_EQ(Range(""), "invalid");
    EXPECT_EQ(Range("Bytes=0-1"), "invalid");
    EXPECT_EQ(Range(" bytes=0-1"), "invalid");
    EXPECT_EQ(Range("bytes=abc-"), "invalid");
    EXPECT_EQ(Range("bytes=0-abc"), "invalid");
    EXPECT_EQ(Range("bytes=-"), "invalid");
    EXPECT_EQ(Range("bytes=100"), "invalid");
    EXPECT_EQ(Range("bytes= -5"), "invalid");
}

TEST(RangeHeader, NumbersAreReadLikeStrtol) {
    // Only the first range counts; reading stops at the first stray byte.
    EXPECT_EQ(Range("bytes=0-10,20-30"), "0-10");
    EXPECT_EQ(Range("bytes=5x-9y"), "5-9");
    EXPECT_EQ(Range("bytes= 5-\t9"), "5-9");
    EXPECT_EQ(Range("bytes=+5-+9"), "5-9");
    EXPECT_EQ(Range("bytes=007-010"), "7-10");
    // A negative number counts as larger than any length.
    EXPECT_EQ(Range("bytes=--5"), "invalid");
    EXPECT_EQ(Range("bytes=5--3"), "invalid");
    EXPECT_EQ(Range("bytes=0--0"), "0-0");
}
