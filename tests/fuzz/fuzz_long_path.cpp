// Long paths: an absolute path gets the prefix once, and taking it off gives the path back.
#include <string>

#include "util/long_path.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::wstring path;
    for (size_t i = 0; i + 1 < size; i += 2) path.push_back(static_cast<wchar_t>(data[i] | (data[i + 1] << 8)));
    std::wstring backslashed = path;
    for (wchar_t& unit : backslashed) unit = unit == L'/' ? L'\\' : unit;
    const std::wstring longPath = ToLongPath(path);
    if (ToLongPath(longPath) != longPath) __builtin_trap();
    // What the host passes: a drive path or a network path, longer than a bare "C:\".
    if (path.size() < 4) return 0;
    const bool drive = path[1] == L':' && (path[2] == L'\\' || path[2] == L'/');
    const bool network =
        backslashed.compare(0, 2, L"\\\\") == 0 && backslashed[2] != L'\\' && path[2] != L'?' && path[2] != L'.';
    if (!drive && !network) return 0;
    if (longPath.compare(0, 4, L"\\\\?\\") != 0 || StripLongPathPrefix(longPath) != backslashed) __builtin_trap();
    return 0;
}
