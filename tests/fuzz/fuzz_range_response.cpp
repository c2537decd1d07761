// Range header and response head: a 206 window lies inside the content and is at
// most 2 MiB, a 200 carries it all, nothing else but a 416 comes out. (The header
// text is the oracle comparison's.)
#include <cstring>
#include <string_view>

#include "server/range_header.h"
#include "server/response_head.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 9) return 0;
    uint64_t length = 0;
    std::memcpy(&length, data, 8);
    // Small lengths half of the time, so ranges inside the content are found too.
    if (data[8] & 1) length %= 5000000;
    const std::string_view value(reinterpret_cast<const char*>(data) + 9, size - 9);
    if (const auto range = ParseRangeHeader(value, length)) {
        if (range->start > range->end || range->end >= length) __builtin_trap();
    }
    // Composed into a head that held another answer, as the server reuses its head.
    ResponseHead head;
    ComposeResponseHead("media/clip.mp4", length, std::nullopt, head);
    ComposeResponseHead("media/clip.mp4", length, value, head);
    if (head.status == 206) {
        if (head.rangeLength == 0 || head.rangeLength > maxRangeLength || head.rangeStart >= length ||
            head.rangeLength > length - head.rangeStart) {
            __builtin_trap();
        }
    } else if (head.status == 200) {
        if (head.rangeStart != 0 || head.rangeLength != length) __builtin_trap();
    } else if (head.status != 416) {
        __builtin_trap();
    }
    return 0;
}
