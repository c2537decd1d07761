#include "entry_name_check.h"

#include "util/windows_names.h"

namespace {

std::string SegmentReason(const std::string& segment) {
    if (segment.empty()) return "empty path segment";
    if (segment == "." || segment == "..") return "'" + segment + "' segment";
    if (segment.back() == '.' || segment.back() == ' ') return "segment ending in a dot or space";
    if (IsWindowsDeviceName(segment)) return "reserved device name '" + segment + "'";
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
        std::string reason = SegmentReason(name.substr(begin, end - begin));
        if (!reason.empty()) return reason;
        if (end == std::string::npos) return "";
        begin = end + 1;
    }
}
