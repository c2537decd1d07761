#include "server/response_head.h"

#include <gtest/gtest.h>

using Lines = std::vector<std::string>;

namespace {

struct Head {
    int32_t status;
    std::string reason;
    Lines headers;
    uint64_t rangeStart;
    uint64_t rangeLength;
};

Head Split(const ResponseHead& head) {
    Head split{head.status, std::string(head.reason), {}, head.rangeStart, head.rangeLength};
    size_t from = 0;
    for (size_t end; (end = head.headerText.find('\n', from)) != std::string::npos; from = end + 1) {
        split.headers.push_back(head.headerText.substr(from, end - from));
    }
    split.headers.push_back(head.headerText.substr(from));
    return split;
}

Head ComposeResponseHead(const std::string& path, uint64_t length, const std::optional<std::string>& range) {
    ResponseHead head;
    ::ComposeResponseHead(path, length, range ? std::optional<std::string_view>(*range) : std::nullopt, head);
    return Split(head);
}

Head ComposeMissingResponseHead() {
    ResponseHead head;
    ::ComposeMissingResponseHead(head);
    return Split(head);
}

}  // namespace

TEST(ResponseHead, WholeContent) {
    const Head head = ComposeResponseHead("index.html", 1234, std::nullopt);
    EXPECT_EQ(head.status, 200);
    EXPECT_EQ(head.reason, "OK");
    EXPECT_EQ(head.headers, (Lines{"Cache-Control: no-store", "Content-Type: text/html; charset=utf-8",
                                   "Accept-Ranges: bytes", "Content-Length: 1234"}));
    EXPECT_EQ(head.rangeStart, 0u);
    EXPECT_EQ(head.rangeLength, 1234u);

    // Lengths beyond 32 bits and empty files are written as they are, never capped.
    const Head large = ComposeResponseHead("movie.bin", 5000000000u, std::nullopt);
    EXPECT_EQ(large.headers.at(1), "Content-Type: application/octet-stream");
    EXPECT_EQ(large.headers.at(3), "Content-Length: 5000000000");
    EXPECT_EQ(large.rangeLength, 5000000000u);
    EXPECT_EQ(ComposeResponseHead("empty.txt", 0, std::nullopt).headers.at(3), "Content-Length: 0");
}

TEST(ResponseHead, PartialContent) {
    const Head head = ComposeResponseHead("media/clip.mp4", 1000, std::string("bytes=5-9"));
    EXPECT_EQ(head.status, 206);
    EXPECT_EQ(head.reason, "Partial Content");
    EXPECT_EQ(head.headers, (Lines{"Cache-Control: no-store", "Content-Type: video/mp4", "Accept-Ranges: bytes",
                                   "Content-Range: bytes 5-9/1000", "Content-Length: 5"}));
    EXPECT_EQ(head.rangeStart, 5u);
    EXPECT_EQ(head.rangeLength, 5u);

    const Head single = ComposeResponseHead("a.wav", 1, std::string("bytes=0-"));
    EXPECT_EQ(single.status, 206);
    EXPECT_EQ(single.headers.at(3), "Content-Range: bytes 0-0/1");
    EXPECT_EQ(single.headers.at(4), "Content-Length: 1");
    EXPECT_EQ(single.rangeLength, 1u);
}

TEST(ResponseHead, PartialContentIsCappedAtTwoMebibytes) {
    const uint64_t length = 5000000;
    const Head open = ComposeResponseHead("song.flac", length, std::string("bytes=0-"));
    EXPECT_EQ(open.status, 206);
    EXPECT_EQ(open.headers.at(3), "Content-Range: bytes 0-2097151/5000000");
    EXPECT_EQ(open.headers.at(4), "Content-Length: 2097152");
    EXPECT_EQ(open.rangeStart, 0u);
    EXPECT_EQ(open.rangeLength, maxRangeLength);

    const Head later = ComposeResponseHead("song.flac", length, std::string("bytes=1000-4999999"));
    EXPECT_EQ(later.headers.at(3), "Content-Range: bytes 1000-2098151/5000000");
    EXPECT_EQ(later.rangeStart, 1000u);
    EXPECT_EQ(later.rangeLength, maxRangeLength);

    // Exactly 2 MiB passes unchanged; one byte more is cut.
    const Head exact = ComposeResponseHead("song.flac", length, std::string("bytes=10-2097161"));
    EXPECT_EQ(exact.headers.at(3), "Content-Range: bytes 10-2097161/5000000");
    EXPECT_EQ(exact.rangeLength, 2097152u);
    const Head over = ComposeResponseHead("song.flac", length, std::string("bytes=10-2097162"));
    EXPECT_EQ(over.headers.at(3), "Content-Range: bytes 10-2097161/5000000");
    EXPECT_EQ(over.headers.at(4), "Content-Length: 2097152");

    // The last bytes of a large file are served whole when they fit.
    const Head tail = ComposeResponseHead("song.flac", length, std::string("bytes=-100"));
    EXPECT_EQ(tail.headers.at(3), "Content-Range: bytes 4999900-4999999/5000000");
    EXPECT_EQ(tail.rangeLength, 100u);
}

TEST(ResponseHead, UnsatisfiableRange) {
    const Lines expected{"Cache-Control: no-store", "Content-Type: image/png", "Accept-Ranges: bytes"};
    for (const char* value : {"bytes=1000-", "items=0-1"}) {
        const Head head = ComposeResponseHead("logo.png", 1000, std::string(value));
        EXPECT_EQ(head.status, 416) << value;
        EXPECT_EQ(head.reason, "Range Not Satisfiable") << value;
        EXPECT_EQ(head.headers, expected) << value;
        EXPECT_EQ(head.rangeLength, 0u) << value;
    }
    // An empty file satisfies no range.
    EXPECT_EQ(ComposeResponseHead("logo.png", 0, std::string("bytes=0-")).status, 416);
}

TEST(ResponseHead, MissingContent) {
    const Head head = ComposeMissingResponseHead();
    EXPECT_EQ(head.status, 404);
    EXPECT_EQ(head.reason, "Not Found");
    EXPECT_EQ(head.headers, Lines{"Cache-Control: no-store"});
    EXPECT_EQ(head.rangeLength, 0u);
}
