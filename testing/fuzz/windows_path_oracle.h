// Test-side oracle for the fuzz targets: where a relative path lands once Windows
// has read it, written apart from the guards it checks.
#pragma once

#include <string>

namespace fuzz_oracle {

inline bool OpensDevice(const std::string& segment) {
    std::string stem = segment.substr(0, segment.find('.'));
    while (!stem.empty() && stem.back() == ' ') stem.pop_back();
    for (char& c : stem) c = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c;
    for (const char* device : {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"}) {
        if (stem == device) return true;
    }
    if (stem.size() < 4 || (stem.compare(0, 3, "COM") != 0 && stem.compare(0, 3, "LPT") != 0)) return false;
    const std::string digit = stem.substr(3);
    return (digit.size() == 1 && digit[0] >= '0' && digit[0] <= '9') || digit == "\xC2\xB9" || digit == "\xC2\xB2" ||
           digit == "\xC2\xB3";
}

// Whether `relative`, joined below a folder, stays inside it and names a file there.
// Windows turns "/" into "\", drops the trailing dots and spaces of each segment,
// skips "." and lets ".." climb, and opens a device for a device name anywhere; Wine
// hands ".." to the file system, which climbs too, even behind \\?\. A segment of
// dots and spaces only (".. ", "...") counts as climbing: the stricter reading.
// A colon (drive, stream) or NUL never stays inside.
inline bool StaysInside(const std::string& relative) {
    long depth = 0;
    std::string::size_type start = 0;
    while (true) {
        const auto end = relative.find_first_of("/\\", start);
        const std::string raw = relative.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (raw.find(':') != std::string::npos || raw.find('\0') != std::string::npos || OpensDevice(raw)) return false;
        const bool dotsAndSpaces = raw.find_first_not_of(". ") == std::string::npos;
        if (dotsAndSpaces && !raw.empty() && raw != ".") {
            if (--depth < 0) return false;
        } else if (!dotsAndSpaces) {
            ++depth;
        }
        if (end == std::string::npos) return true;
        start = end + 1;
    }
}

}  // namespace fuzz_oracle
