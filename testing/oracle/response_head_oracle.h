// The earlier response-head composer, kept as a reference: a vector of header
// lines, a MIME type copied out of its table, Range numbers read as signed
// 32-bit values. The tests compare the host's composer with it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace oracle {

struct ResponseHead {
    int32_t status = 0;
    std::string reason;
    std::vector<std::string> headers;
    uint64_t rangeStart = 0;
    uint64_t rangeLength = 0;
};

ResponseHead ComposeMissingResponseHead();
ResponseHead ComposeResponseHead(const std::string& requestPath, uint64_t contentLength,
                                 const std::optional<std::string>& rangeValue);
std::string JoinHeaderLines(const std::vector<std::string>& lines);

}  // namespace oracle
