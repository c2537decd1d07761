#include "oracle/head_cases.h"

namespace oracle {

namespace {

constexpr uint64_t kTwoGiB = uint64_t{1} << 31;
constexpr uint64_t kCap = 0x200000;

bool HasNumberFrom2GiB(const std::string& value) {
    uint64_t number = 0;
    bool inNumber = false;
    for (const char c : value) {
        const bool digit = c >= '0' && c <= '9';
        if (digit) {
            number = (inNumber ? number * 10 : 0) + static_cast<uint64_t>(c - '0');
            if (number >= kTwoGiB) return true;
        }
        inNumber = digit;
    }
    return false;
}

std::vector<std::optional<std::string>> RangeValues() {
    const uint64_t numbers[] = {0, 1, 9, 500, 999, 1000, 1001, kCap - 1, kCap, kCap + 1, kTwoGiB - 2, kTwoGiB - 1};
    std::vector<std::optional<std::string>> values = {
        std::nullopt,       "bytes=",      "Bytes=0-1", "items=0-1",     "bytes=-",     "bytes=--5",
        "bytes=abc-",       "bytes=0-abc", "bytes=100", "bytes= 5-\t9",  "bytes=+5-+9", "bytes=5x-9y",
        "bytes=0-10,20-30", "bytes=0--0",  "bytes=-0",  "bytes=007-010", "bytes=5--3",  "bytes=2147483648-"};
    for (const uint64_t a : numbers) {
        const std::string left = std::to_string(a);
        values.push_back("bytes=" + left + "-");
        values.push_back("bytes=-" + left);
        values.push_back("bytes=-" + left + "-");
        for (const uint64_t b : numbers) values.push_back("bytes=" + left + "-" + std::to_string(b));
    }
    return values;
}

}  // namespace

std::vector<HeadCase> GeneratedHeadCases() {
    const std::string paths[] = {"",
                                 "index.html",
                                 "PHOTO.JPG",
                                 "lib/app.min.js",
                                 "docs.old/readme",
                                 "archive.tar.gz",
                                 "page.html.",
                                 "a.woff2",
                                 "a.WOFF22",
                                 ".png",
                                 "x.Scon",
                                 "\xC3\x89T\xC3\x89.CSS",
                                 "movie.mp4?v=2",
                                 "README",
                                 "dir/.mpeg",
                                 "a.b.c.MiDi",
                                 std::string("a.js\0", 5),
                                 "x.",
                                 "x.JSON"};
    const uint64_t lengths[] = {
        0, 1, 2, 999, 1000, 1001, kCap - 1, kCap, kCap + 1, kTwoGiB - 1, kTwoGiB, uint64_t{5} << 30, UINT64_MAX};
    std::vector<HeadCase> cases;
    for (const std::optional<std::string>& range : RangeValues()) {
        if (range && HasNumberFrom2GiB(*range)) continue;
        for (const std::string& path : paths) {
            for (const uint64_t length : lengths) cases.push_back({path, length, range});
        }
    }
    return cases;
}

}  // namespace oracle
