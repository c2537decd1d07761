#include "server/response_head.h"

#include <charconv>

#include "server/mime_types.h"
#include "server/range_header.h"

namespace {

void AppendNumber(std::string& text, uint64_t value) {
    char digits[20];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    text.append(digits, static_cast<std::size_t>(end - digits));
}

void Restart(ResponseHead& head) {
    head.headerText.assign("Cache-Control: no-store");
    head.rangeStart = 0;
    head.rangeLength = 0;
}

}  // namespace

void ComposeMissingResponseHead(ResponseHead& head) {
    Restart(head);
    head.status = 404;
    head.reason = "Not Found";
}

void ComposeResponseHead(std::string_view requestPath, uint64_t contentLength,
                         std::optional<std::string_view> rangeValue, ResponseHead& head) {
    Restart(head);
    std::string& text = head.headerText;
    text += "\nContent-Type: ";
    text += MimeTypeForPath(requestPath);
    text += "\nAccept-Ranges: bytes";

    if (!rangeValue) {
        text += "\nContent-Length: ";
        AppendNumber(text, contentLength);
        head.status = 200;
        head.reason = "OK";
        head.rangeLength = contentLength;
        return;
    }

    const std::optional<ByteRange> range = ParseRangeHeader(*rangeValue, contentLength);
    if (!range) {
        head.status = 416;
        head.reason = "Range Not Satisfiable";
        return;
    }

    uint64_t end = range->end;
    uint64_t length = end - range->start + 1;
    if (length > maxRangeLength) {
        end = range->start + maxRangeLength - 1;
        length = maxRangeLength;
    }
    text += "\nContent-Range: bytes ";
    AppendNumber(text, range->start);
    text += '-';
    AppendNumber(text, end);
    text += '/';
    AppendNumber(text, contentLength);
    text += "\nContent-Length: ";
    AppendNumber(text, length);
    head.status = 206;
    head.reason = "Partial Content";
    head.rangeStart = range->start;
    head.rangeLength = length;
}

void SetServerError(ResponseHead& head) {
    head.status = 500;
    head.reason = "Internal Server Error";
}
