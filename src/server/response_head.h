#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Status line and headers of one answer of the content server, and the bytes
// of the content its body carries (200 and 206 only). The server keeps one head
// and composes every answer into it: the header text reuses its buffer, so an
// answer allocates nothing once the buffer has grown to fit.
struct ResponseHead {
    int32_t status = 0;
    std::string_view reason;  // a literal
    std::string headerText;   // the header lines joined by single line feeds, none after the last
    uint64_t rangeStart = 0;
    uint64_t rangeLength = 0;
};

// Upper bound of one partial answer; players ask again where it ended.
constexpr uint64_t maxRangeLength = 0x200000;

// 404 for content found in no source.
void ComposeMissingResponseHead(ResponseHead& head);

// 200, 206 or 416 for found content; rangeValue is the trimmed Range header
// when the request has one.
void ComposeResponseHead(std::string_view requestPath, uint64_t contentLength,
                         std::optional<std::string_view> rangeValue, ResponseHead& head);

// 500 for a found file that cannot be read: the header lines stay as composed.
void SetServerError(ResponseHead& head);
