#include "server/response_head.h"

#include <charconv>
#include <cstring>

#include "server/mime_types.h"
#include "server/range_header.h"

namespace {

// The longest head: the fixed text of a 206 answer, the longest type, four numbers.
constexpr std::size_t maxHeadLength = 160 + maxMimeTypeLength + std::size_t{4} * 20;

// Header lines written on the stack, then copied into the head's buffer at once.
class HeadText {
public:
    HeadText& operator<<(std::string_view text) {
        std::memcpy(bytes_ + used_, text.data(), text.size());
        used_ += text.size();
        return *this;
    }
    HeadText& operator<<(uint64_t value) {
        used_ = static_cast<std::size_t>(std::to_chars(bytes_ + used_, bytes_ + sizeof bytes_, value).ptr - bytes_);
        return *this;
    }
    void StoreIn(std::string& text) const { text.assign(bytes_, used_); }

private:
    char bytes_[maxHeadLength];
    std::size_t used_ = 0;
};

constexpr std::string_view cacheLine = "Cache-Control: no-store";

void Restart(ResponseHead& head) {
    head.rangeStart = 0;
    head.rangeLength = 0;
}

}  // namespace

void ComposeMissingResponseHead(ResponseHead& head) {
    Restart(head);
    head.headerText.assign(cacheLine);
    head.status = 404;
    head.reason = "Not Found";
}

void ComposeResponseHead(std::string_view requestPath, uint64_t contentLength,
                         std::optional<std::string_view> rangeValue, ResponseHead& head) {
    Restart(head);
    HeadText text;
    text << cacheLine << "\nContent-Type: " << MimeTypeForPath(requestPath) << "\nAccept-Ranges: bytes";

    if (!rangeValue) {
        text << "\nContent-Length: " << contentLength;
        text.StoreIn(head.headerText);
        head.status = 200;
        head.reason = "OK";
        head.rangeLength = contentLength;
        return;
    }

    const std::optional<ByteRange> range = ParseRangeHeader(*rangeValue, contentLength);
    if (!range) {
        text.StoreIn(head.headerText);
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
    text << "\nContent-Range: bytes " << range->start << "-" << end << "/" << contentLength
         << "\nContent-Length: " << length;
    text.StoreIn(head.headerText);
    head.status = 206;
    head.reason = "Partial Content";
    head.rangeStart = range->start;
    head.rangeLength = length;
}

void SetServerError(ResponseHead& head) {
    head.status = 500;
    head.reason = "Internal Server Error";
}
