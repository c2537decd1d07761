#include "oracle/response_head_oracle.h"

#include <map>

#include "server/ascii_text.h"
#include "server/mime_types.h"

namespace oracle {

namespace {

constexpr uint64_t maxRangeLength = 0x200000;

struct ByteRange {
    uint64_t start;
    uint64_t end;
};

std::string MimeTypeForPath(const std::string& path) {
    static const std::map<std::string, std::string> types = [] {
        std::map<std::string, std::string> built;
        const MimeTypeRows table = MimeTypeTable();
        for (std::size_t i = 0; i < table.count; ++i) {
            built.emplace(std::string(table.rows[i].first), std::string(table.rows[i].second));
        }
        return built;
    }();
    const std::size_t dot = path.rfind('.');
    const std::string extension = dot == std::string::npos ? std::string() : ToLowerAscii(path.substr(dot));
    const auto found = types.find(extension);
    return found == types.end() ? "application/octet-stream" : found->second;
}

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
        const auto start = ReadPosition(before);
        if (!start || *start >= contentLength) return std::nullopt;
        return ByteRange{*start, contentLength - 1};
    }
    if (dash == 0) {
        const auto count = ReadPosition(after);
        if (!count || *count == 0 || *count > contentLength) return std::nullopt;
        return ByteRange{contentLength - *count, contentLength - 1};
    }
    const auto start = ReadPosition(before);
    const auto end = ReadPosition(after);
    if (!start || !end || *start >= contentLength || *end >= contentLength || *start > *end) return std::nullopt;
    return ByteRange{*start, *end};
}

}  // namespace

ResponseHead ComposeMissingResponseHead() {
    ResponseHead head;
    head.status = 404;
    head.reason = "Not Found";
    head.headers.push_back("Cache-Control: no-store");
    return head;
}

ResponseHead ComposeResponseHead(const std::string& requestPath, uint64_t contentLength,
                                 const std::optional<std::string>& rangeValue) {
    ResponseHead head;
    head.headers.push_back("Cache-Control: no-store");
    head.headers.push_back("Content-Type: " + MimeTypeForPath(requestPath));
    head.headers.push_back("Accept-Ranges: bytes");
    if (!rangeValue) {
        head.headers.push_back("Content-Length: " + std::to_string(contentLength));
        head.status = 200;
        head.reason = "OK";
        head.rangeStart = 0;
        head.rangeLength = contentLength;
        return head;
    }
    const std::optional<ByteRange> range = ParseRangeHeader(*rangeValue, contentLength);
    if (!range) {
        head.status = 416;
        head.reason = "Range Not Satisfiable";
        return head;
    }
    uint64_t end = range->end;
    uint64_t length = end - range->start + 1;
    if (length > maxRangeLength) {
        end = range->start + maxRangeLength - 1;
        length = maxRangeLength;
    }
    head.headers.push_back("Content-Range: bytes " + std::to_string(range->start) + "-" + std::to_string(end) + "/" +
                           std::to_string(contentLength));
    head.headers.push_back("Content-Length: " + std::to_string(length));
    head.status = 206;
    head.reason = "Partial Content";
    head.rangeStart = range->start;
    head.rangeLength = length;
    return head;
}

std::string JoinHeaderLines(const std::vector<std::string>& lines) {
    std::string text;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i > 0) text += '\n';
        text += lines[i];
    }
    return text;
}

}  // namespace oracle
