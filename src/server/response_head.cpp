#include "server/response_head.h"

#include "server/mime_types.h"
#include "server/range_header.h"

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
