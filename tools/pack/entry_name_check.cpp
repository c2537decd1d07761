#include "entry_name_check.h"

#include <algorithm>
#include <array>

namespace {

std::string UpperAscii(std::string text) {
    for (char& c : text) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return text;
}

// CON, NUL, COM1 and the like open devices on Windows, with any extension.
bool IsDeviceName(const std::string& segment) {
    static const std::array<const char*, 4> plain = {"CON", "PRN", "AUX", "NUL"};
    const std::string stem = UpperAscii(segment.substr(0, segment.find('.')));
    if (std::find_if(plain.begin(), plain.end(), [&](const char* d) { return stem == d; }) != plain.end()) {
        return true;
    }
    return stem.size() == 4 && (stem.compare(0, 3, "COM") == 0 || stem.compare(0, 3, "LPT") == 0) && stem[3] >= '1' &&
           stem[3] <= '9';
}

std::string SegmentReason(const std::string& segment) {
    if (segment.empty()) return "empty path segment";
    if (segment == "." || segment == "..") return "'" + segment + "' segment";
    if (segment.back() == '.' || segment.back() == ' ') return "segment ending in a dot or space";
    if (IsDeviceName(segment)) return "reserved device name '" + segment + "'";
    return "";
}

}  // namespace

std::string UnsafeEntryNameReason(const std::string& name) {
    if (name.empty()) return "empty name";
    if (name.front() == '/') return "absolute path";
    for (const char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\\') return "backslash in name";
        if (c == ':') return "drive or stream designator ':'";
        if (byte < 0x20 || byte == 0x7F) return "control character in name";
    }
    size_t begin = 0;
    while (true) {
        const size_t end = name.find('/', begin);
        const std::string reason = SegmentReason(name.substr(begin, end - begin));
        if (!reason.empty()) return reason;
        if (end == std::string::npos) return "";
        begin = end + 1;
    }
}
