#include "util/windows_names.h"

#include <array>

namespace {

bool EqualsIgnoringCase(std::string_view text, std::string_view upper) {
    if (text.size() != upper.size()) return false;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i] >= 'a' && text[i] <= 'z' ? static_cast<char>(text[i] - 32) : text[i];
        if (c != upper[i]) return false;
    }
    return true;
}

}  // namespace

std::string_view TrimTrailingDotsAndSpaces(std::string_view segment) {
    while (!segment.empty() && (segment.back() == '.' || segment.back() == ' ')) segment.remove_suffix(1);
    return segment;
}

bool IsWindowsDeviceName(std::string_view segment) {
    std::string_view stem = segment.substr(0, segment.find('.'));
    while (!stem.empty() && stem.back() == ' ') stem.remove_suffix(1);
    static constexpr std::array<std::string_view, 6> plain = {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"};
    for (const std::string_view device : plain) {
        if (EqualsIgnoringCase(stem, device)) return true;
    }
    if (stem.size() < 4 ||
        !(EqualsIgnoringCase(stem.substr(0, 3), "COM") || EqualsIgnoringCase(stem.substr(0, 3), "LPT"))) {
        return false;
    }
    const std::string_view digit = stem.substr(3);
    // ¹ ² ³ in UTF-8.
    return (digit.size() == 1 && digit[0] >= '0' && digit[0] <= '9') || digit == "\xC2\xB9" || digit == "\xC2\xB2" ||
           digit == "\xC2\xB3";
}

bool IsDotSegment(std::string_view segment) {
    return !segment.empty() && segment != "." && TrimTrailingDotsAndSpaces(segment).empty();
}

std::string SafeFolderName(std::string_view name) {
    std::string safe;
    for (const char c : name) {
        const bool refused =
            static_cast<unsigned char>(c) < 0x20 || std::string_view("<>:\"/\\|?*").find(c) != std::string_view::npos;
        safe += refused ? '_' : c;
    }
    safe.resize(TrimTrailingDotsAndSpaces(safe).size());
    if (safe.empty()) return "_";
    if (IsWindowsDeviceName(safe)) {
        // After the stem: a device name stays one whatever extension follows it.
        std::string_view stem = std::string_view(safe).substr(0, safe.find('.'));
        while (!stem.empty() && stem.back() == ' ') stem.remove_suffix(1);
        safe.insert(stem.size(), 1, '_');
    }
    return safe;
}
