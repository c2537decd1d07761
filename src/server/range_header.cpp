#include "server/range_header.h"

#include "server/ascii_text.h"

namespace {

// Reads a decimal number the way strtol does (leading blanks, an optional
// sign, digits, the rest ignored) into a signed 32-bit value, then widens it
// with its sign so that a negative number compares above every length.
// Nothing when there are no digits or the value does not fit in 32 bits.
std::optional<uint64_t> ReadPosition(const std::string& text) {
    std::size_t i = 0;
    while (i < text.size() && IsSpaceAscii(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    const std::size_t firstDigit = i;
    int64_t magnitude = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        magnitude = magnitude * 10 + (text[i] - '0');
        if (magnitude > int64_t{1} << 31) return std::nullopt;
    }
    if (i == firstDigit) return std::nullopt;
    const int64_t value = negative ? -magnitude : magnitude;
    if (value > INT32_MAX) return std::nullopt;
    return static_cast<uint64_t>(value);
}

}  // namespace

std::optional<ByteRange> ParseRangeHeader(const std::string& value, uint64_t contentLength) {
    if (contentLength == 0) return std::nullopt;
    static const std::string unitPrefix = "bytes=";
    if (value.compare(0, unitPrefix.size(), unitPrefix) != 0) return std::nullopt;
    const std::string rangeSet = value.substr(unitPrefix.size());
    if (rangeSet.empty()) return std::nullopt;
    const std::size_t dash = rangeSet.find('-');
    if (dash == std::string::npos) return std::nullopt;

    const std::string before = rangeSet.substr(0, dash);
    const std::string after = rangeSet.substr(dash + 1);

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
