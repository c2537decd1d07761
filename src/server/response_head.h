#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// Status line and headers of one answer of the content server, and the bytes
// of the content its body carries (200 and 206 only).
struct ResponseHead {
    int32_t status = 0;
    std::string reason;
    std::vector<std::string> headers;
    uint64_t rangeStart = 0;
    uint64_t rangeLength = 0;
};

// Upper bound of one partial answer; players ask again where it ended.
constexpr uint64_t maxRangeLength = 0x200000;

// 404 for content found in no source.
ResponseHead ComposeMissingResponseHead();

// 200, 206 or 416 for found content; rangeValue is the trimmed Range header
// when the request has one.
ResponseHead ComposeResponseHead(const std::string& requestPath, uint64_t contentLength,
                                 const std::optional<std::string>& rangeValue);

// The lines joined by single line feeds, none after the last.
std::string JoinHeaderLines(const std::vector<std::string>& lines);
