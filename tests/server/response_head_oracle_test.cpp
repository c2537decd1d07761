// The allocation-free composer against the one it replaced, over generated
// paths, lengths and Range values; and Range positions the old one could not read.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "oracle/response_head_oracle.h"
#include "server/response_head.h"

namespace {

constexpr uint64_t kTwoGiB = uint64_t{1} << 31;

// Values the old reader refused for being beyond signed 32 bits: the one place
// where the two may answer differently.
bool HasNumberFrom2GiB(const std::string& value) {
    uint64_t number = 0;
    bool inNumber = false;
    for (const char c : value) {
        if (c >= '0' && c <= '9') {
            number = inNumber ? number * 10 + static_cast<uint64_t>(c - '0') : static_cast<uint64_t>(c - '0');
            if (number >= kTwoGiB) return true;
            inNumber = true;
        } else {
            inNumber = false;
        }
    }
    return false;
}

// The value of the Content-Range line, or "" when there is none.
std::string ContentRange(const std::string& headerText) {
    const std::string name = "Content-Range: bytes ";
    const size_t at = headerText.find(name);
    if (at == std::string::npos) return "";
    const size_t from = at + name.size();
    return headerText.substr(from, headerText.find('\n', from) - from);
}

std::vector<std::string> RangeValues(const std::vector<uint64_t>& numbers) {
    std::vector<std::string> values = {"bytes=",       "Bytes=0-1",   "items=0-1",     "bytes=-",
                                       "bytes=--5",    "bytes=abc-",  "bytes=0-abc",   "bytes=100",
                                       "bytes= 5-\t9", "bytes=+5-+9", "bytes=5x-9y",   "bytes=0-10,20-30",
                                       "bytes=0--0",   "bytes=-0",    "bytes=007-010", "bytes=5--3"};
    for (const uint64_t a : numbers) {
        const std::string left = std::to_string(a);
        values.push_back("bytes=" + left + "-");
        values.push_back("bytes=-" + left);
        values.push_back("bytes=-" + left + "-");
        for (const uint64_t b : numbers) values.push_back("bytes=" + left + "-" + std::to_string(b));
    }
    return values;
}

TEST(ResponseHeadOracle, SameAnswersAsTheComposerItReplaced) {
    const std::vector<std::string> paths = {"",
                                            "index.html",
                                            "PHOTO.JPG",
                                            "lib/app.min.js",
                                            "docs.old/readme",
                                            "archive.tar.gz",
                                            "page.html.",
                                            "a.woff2",
                                            "a.WOFF22",
                                            ".png",
                                            "x.Scon",
                                            "\xC3\x89T\xC3\x89.CSS",
                                            "movie.mp4?v=2",
                                            "README",
                                            "dir/.mpeg",
                                            "a.b.c.MiDi", std::string("a.js\0", 5), "x.", "x.JSON"};
    const std::vector<uint64_t> lengths = {0,
                                           1,
                                           2,
                                           999,
                                           1000,
                                           1001,
                                           maxRangeLength - 1,
                                           maxRangeLength,
                                           maxRangeLength + 1,
                                           kTwoGiB - 1,
                                           kTwoGiB,
                                           uint64_t{5} << 30,
                                           UINT64_MAX};
    const std::vector<uint64_t> numbers = {
        0,           1,           9,      500, 999, 1000, 1001, maxRangeLength - 1, maxRangeLength, maxRangeLength + 1,
        kTwoGiB - 2, kTwoGiB - 1, kTwoGiB};
    const std::vector<std::string> ranges = RangeValues(numbers);

    ResponseHead head;  // reused, as the server does
    ComposeMissingResponseHead(head);
    const oracle::ResponseHead missing = oracle::ComposeMissingResponseHead();
    EXPECT_EQ(head.headerText, oracle::JoinHeaderLines(missing.headers));
    EXPECT_EQ(head.status, missing.status);
    EXPECT_EQ(head.reason, missing.reason);

    size_t compared = 0;
    for (const std::string& path : paths) {
        for (const uint64_t length : lengths) {
            std::vector<std::optional<std::string>> values(ranges.begin(), ranges.end());
            values.push_back(std::nullopt);
            for (const std::optional<std::string>& range : values) {
                if (range && HasNumberFrom2GiB(*range)) continue;
                const oracle::ResponseHead expected = oracle::ComposeResponseHead(path, length, range);
                ComposeResponseHead(path, length, range ? std::optional<std::string_view>(*range) : std::nullopt, head);
                const std::string context = path + " " + std::to_string(length) + " " + range.value_or("(none)");
                ASSERT_EQ(head.headerText, oracle::JoinHeaderLines(expected.headers)) << context;
                ASSERT_EQ(head.status, expected.status) << context;
                ASSERT_EQ(head.reason, expected.reason) << context;
                if (expected.status == 200 || expected.status == 206) {
                    ASSERT_EQ(head.rangeStart, expected.rangeStart) << context;
                    ASSERT_EQ(head.rangeLength, expected.rangeLength) << context;
                }
                ++compared;
            }
        }
    }
    EXPECT_GT(compared, 40000u);
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
