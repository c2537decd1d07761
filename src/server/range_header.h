#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

// One byte range, both ends inclusive.
struct ByteRange {
    uint64_t start;
    uint64_t end;
};

// Reads the first range of a trimmed Range header value ("bytes=a-b",
// "bytes=a-", "bytes=-n") against a content of contentLength bytes. Nothing
// when the value is malformed or the range does not lie within the content.
std::optional<ByteRange> ParseRangeHeader(std::string_view value, uint64_t contentLength);
