// The allocation-free composer against the one it replaced, over generated paths
// (MIME types), lengths (the 2 MiB cap, beyond 32 bits) and Range values (every form
// the reader accepts or refuses); Range positions the old one could not read.
#include <gtest/gtest.h>

#include <string>

#include "oracle/head_cases.h"
#include "oracle/response_head_oracle.h"
#include "server/response_head.h"

namespace {

// The value of the Content-Range line, or "" when there is none.
std::string ContentRange(const std::string& headerText) {
    const std::string name = "Content-Range: bytes ";
    const size_t at = headerText.find(name);
    if (at == std::string::npos) return "";
    const size_t from = at + name.size();
    return headerText.substr(from, headerText.find('\n', from) - from);
}

TEST(ResponseHeadOracle, SameAnswersAsTheComposerItReplaced) {
    ResponseHead head;  // reused, as the server does
    ComposeMissingResponseHead(head);
    const oracle::ResponseHead missing = oracle::ComposeMissingResponseHead();
    EXPECT_EQ(head.headerText, oracle::JoinHeaderLines(missing.headers));
    EXPECT_EQ(head.status, missing.status);
    EXPECT_EQ(head.reason, missing.reason);

    const std::vector<oracle::HeadCase> cases = oracle::GeneratedHeadCases();
    ASSERT_GT(cases.size(), 40000u);
    for (const oracle::HeadCase& c : cases) {
        const oracle::ResponseHead expected = oracle::ComposeResponseHead(c.path, c.length, c.range);
        ComposeResponseHead(c.path, c.length, c.range ? std::optional<std::string_view>(*c.range) : std::nullopt, head);
        const std::string context = c.path + " " + std::to_string(c.length) + " " + c.range.value_or("(none)");
        ASSERT_EQ(head.headerText, oracle::JoinHeaderLines(expected.headers)) << context;
        ASSERT_EQ(head.status, expected.status) << context;
        ASSERT_EQ(head.reason, expected.reason) << context;
        if (expected.status == 200 || expected.status == 206) {
            ASSERT_EQ(head.rangeStart, expected.rangeStart) << context;
            ASSERT_EQ(head.rangeLength, expected.rangeLength) << context;
        }
    }
}

TEST(ResponseHead, RangePositionsPast2GiBAreReadAs64BitNumbers) {
    constexpr uint64_t k5GiB = uint64_t{5} << 30;
    struct Row {
        const char* value;
        uint64_t length;
        int status;
        const char* contentRange;  // "" when there is none
    };
    const Row rows[] = {
        {"bytes=2147483648-", k5GiB, 206, "2147483648-2149580799/5368709120"},
        {"bytes=4294967296-4294967299", k5GiB, 206, "4294967296-4294967299/5368709120"},
        {"bytes=-3000000000", k5GiB, 206, "2368709120-2370806271/5368709120"},
        {"bytes=5368709119-", k5GiB, 206, "5368709119-5368709119/5368709120"},
        {"bytes=5368709120-", k5GiB, 416, ""},
        {"bytes=0-5368709120", k5GiB, 416, ""},
        {"bytes=-5368709121", k5GiB, 416, ""},
        {"bytes=-18446744073709551615", UINT64_MAX, 206, "0-2097151/18446744073709551615"},
        {"bytes=18446744073709551614-", UINT64_MAX, 206,
         "18446744073709551614-18446744073709551614/18446744073709551615"},
        {"bytes=18446744073709551615-", UINT64_MAX, 416, ""},
        {"bytes=18446744073709551616-", UINT64_MAX, 416, ""},
        {"bytes=0-99999999999999999999", UINT64_MAX, 416, ""},
        {"bytes=-2147483648-", k5GiB, 206, "3221225472-3223322623/5368709120"},
        {"bytes=5--2147483648", k5GiB, 416, ""},
    };
    ResponseHead head;
    for (const Row& row : rows) {
        ComposeResponseHead("movie.mp4", row.length, std::string_view(row.value), head);
        EXPECT_EQ(head.status, row.status) << row.value;
        EXPECT_EQ(ContentRange(head.headerText), row.contentRange) << row.value;
    }
}

}  // namespace
