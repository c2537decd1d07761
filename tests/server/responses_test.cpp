// The pieces of an answer that the end-to-end server tests cannot reach cheaply: the
// exact reading of Range values, lengths beyond 32 bits and the 2 MiB boundary. Whole
// header blocks of every status are pinned there, byte for byte.
#include <gtest/gtest.h>

#include "server/ascii_text.h"
#include "server/mime_types.h"
#include "server/range_header.h"
#include "server/response_head.h"

namespace {

constexpr uint64_t kHuge = uint64_t{1} << 40;

// "start-end" for a valid range, "invalid" otherwise.
std::string Range(const std::string& value, uint64_t length) {
    const std::optional<ByteRange> range = ParseRangeHeader(value, length);
    return range ? std::to_string(range->start) + "-" + std::to_string(range->end) : "invalid";
}

TEST(RangeHeader, ReadsTheFirstRangeLikeStrtolWithinTheContent) {
    struct Row {
        const char* value;
        uint64_t length;
        std::string expected;
        const char* why;
    };
    const Row rows[] = {
        {"bytes=0-499", 1000, "0-499", "start and end"},
        {"bytes=500-", 1000, "500-999", "open end runs to the last byte"},
        {"bytes=-100", 1000, "900-999", "a suffix counts from the end"},
        {"bytes=-1000", 1000, "0-999", "a suffix as long as the content"},
        {"bytes=0-", 1, "0-0", "a one-byte content"},
        {"bytes=1000-", 1000, "invalid", "start at the length"},
        {"bytes=0-1000", 1000, "invalid", "end at the length is not shortened"},
        {"bytes=5-4", 1000, "invalid", "end before start"},
        {"bytes=-1001", 1000, "invalid", "suffix longer than the content"},
        {"bytes=-0", 1000, "invalid", "a zero suffix asks for nothing"},
        {"bytes=0-", 0, "invalid", "an empty content satisfies no range"},
        {"bytes=", 1000, "invalid", "nothing after the unit"},
        {"Bytes=0-1", 1000, "invalid", "the unit is case-sensitive"},
        {"items=0-1", 1000, "invalid", "another unit"},
        {" bytes=0-1", 1000, "invalid", "the value arrives trimmed"},
        {"bytes=abc-", 1000, "invalid", "no digits"},
        {"bytes=-", 1000, "invalid", "no digits on either side"},
        {"bytes=100", 1000, "invalid", "no dash"},
        {"bytes=0-10,20-30", 1000, "0-10", "only the first range counts"},
        {"bytes=5x-9y", 1000, "5-9", "reading stops at a stray byte"},
        {"bytes= 5-\t9", 1000, "5-9", "blanks before a number are skipped"},
        {"bytes=+5-+9", 1000, "5-9", "a plus sign is read"},
        {"bytes=5--3", 1000, "invalid", "a negative end counts as huge"},
        {"bytes=0--0", 1000, "0-0", "minus zero is zero"},
        {"bytes=2147483648-", kHuge, "2147483648-1099511627775", "past 2 GiB"},
        {"bytes=-4294967296", kHuge, "1095216660480-1099511627775", "a suffix beyond 32 bits"},
        {"bytes=99999999999999999999999-", kHuge, "invalid", "beyond 64 bits"},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(Range(row.value, row.length), row.expected) << row.value << ": " << row.why;
    }
}

TEST(ResponseHead, WindowsAtTheCapAndLengthsBeyond32Bits) {
    struct Row {
        uint64_t length;
        std::optional<std::string> range;
        int status;
        std::string lastLines;  // the end of the joined header text
        uint64_t start;
        uint64_t count;
        const char* why;
    };
    const Row rows[] = {
        {5000000000u, std::nullopt, 200, "Content-Length: 5000000000", 0, 5000000000u, "no 32-bit cut"},
        {5000000, "bytes=10-2097161", 206, "Content-Range: bytes 10-2097161/5000000\nContent-Length: 2097152", 10,
         2097152, "exactly 2 MiB passes"},
        {5000000, "bytes=10-2097162", 206, "Content-Range: bytes 10-2097161/5000000\nContent-Length: 2097152", 10,
         2097152, "one byte more is cut"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.why);
        ResponseHead head;
        ComposeResponseHead("movie.mp4", row.length,
                            row.range ? std::optional<std::string_view>(*row.range) : std::nullopt, head);
        const std::string& text = head.headerText;
        EXPECT_EQ(head.status, row.status);
        ASSERT_GE(text.size(), row.lastLines.size()) << text;
        EXPECT_EQ(text.substr(text.size() - row.lastLines.size()), row.lastLines) << text;
        EXPECT_EQ(head.rangeStart, row.start);
        EXPECT_EQ(head.rangeLength, row.count);
    }
}

TEST(MimeTypes, OnlyTheLastDotCountsInAnyAsciiCase) {
    const std::pair<const char*, const char*> rows[] = {
        {"PHOTO.JPG", "image/jpeg"},
        {"music/theme.opus", "audio/ogg; codecs=opus"},
        {".png", "image/png"},
        {"README", "application/octet-stream"},
        {"docs.old/readme", "application/octet-stream"},
        {"archive.tar.gz", "application/octet-stream"},
        {"page.html.", "application/octet-stream"},
        {"\xC3\x89T\xC3\x89.CSS", "text/css; charset=utf-8"},
    };
    for (const auto& [path, type] : rows) EXPECT_EQ(MimeTypeForPath(path), type) << path;
    EXPECT_EQ(ToLowerAscii("\xC3\x89T@Z["), "\xC3\x89t@z[");
}

TEST(AsciiText, TrimRemovesOnlyAsciiBlanksAtBothEnds) {
    const std::pair<std::string, std::string> rows[] = {
        {"  bytes=5-9 ", "bytes=5-9"},
        {"\t\n\v\f\r x y \r\n", "x y"},
        {" \t ", ""},
        {"\xA0x\x85", "\xA0x\x85"},  // no-break space and NEL are not blanks here
        {std::string(" \0 ", 3), std::string("\0", 1)},
    };
    for (auto [text, expected] : rows) {
        TrimSpace(text);
        EXPECT_EQ(text, expected);
    }
}

}  // namespace
