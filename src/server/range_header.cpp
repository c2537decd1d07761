#include "server/range_header.h"

#include <limits>

#include "server/ascii_text.h"

namespace {

// Reads a decimal number the way strtoull does (leading blanks, an optional sign,
// digits, the rest ignored), as an unsigned 64-bit position so that media past
// 2 GiB can be reached. Nothing when there are no digits or the digits do not fit
// in 64 bits. A negative number wraps around, so it counts as larger than any
// real length.
std::optional<uint64_t> ReadPosition(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && IsSpaceAscii(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    const std::size_t firstDigit = i;
    uint64_t value = 0;
    constexpr uint64_t most = std::numeric_limits<uint64_t>::max();
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        const auto digit = static_cast<uint64_t>(text[i] - '0');
        if (value > (most - digit) / 10) return std::nullopt;
        value = value * 10 + digit;
    }
    if (i == firstDigit) return std::nullopt;
    return negative ? 0 - value : value;
}

}  // namespace

std::optional<ByteRange> ParseRangeHeader(std::string_view value, uint64_t contentLength) {
    if (contentLength == 0) return std::nullopt;
    constexpr std::string_view unitPrefix = "bytes=";
    if (value.substr(0, unitPrefix.size()) != unitPrefix) return std::nullopt;
    const std::string_view rangeSet = value.substr(unitPrefix.size());
    if (rangeSet.empty()) return std::nullopt;
    const std::size_t dash = rangeSet.find('-');
    if (dash == std::string_view::npos) return std::nullopt;

    const std::string_view before = rangeSet.substr(0, dash);
    const std::string_view after = rangeSet.substr(dash + 1);

    if (dash == rangeSet.size() - 1) {
        // "a-": from a to the end.
        const auto start = ReadPosition(before);
        if (!start || *start >= contentLength) return std::nullopt;
        return ByteRange{*start, contentLength - 1};
    }
    if (dash == 0) {
        // "-n": the last n bytes. A zero count asks for nothing and is refused
        // rather than answered with a window that starts past the content.
        const auto count = ReadPosition(after);
        if (!count || *count == 0 || *count > contentLength) return std::nullopt;
        return ByteRange{contentLength - *count, contentLength - 1};
    }
    const auto start = ReadPosition(before);
    const auto end = ReadPosition(after);
    if (!start || !end || *start >= contentLength || *end >= contentLength || *start > *end) return std::nullopt;
    return ByteRange{*start, *end};
}
