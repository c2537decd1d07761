// Portable: works on wide strings only.
#include "util/long_path.h"

namespace {

const wchar_t kLongPrefix[] = L"\\\\?\\";
const size_t kLongPrefixLength = 4;
const wchar_t kLongUncPrefix[] = L"\\\\?\\UNC\\";
const size_t kLongUncPrefixLength = 8;

bool IsSeparator(wchar_t unit) {
    return unit == L'\\' || unit == L'/';
}

bool HasLongPrefix(const std::wstring& path) {
    return path.compare(0, kLongPrefixLength, kLongPrefix) == 0;
}

bool HasLongUncPrefix(const std::wstring& path) {
    if (path.size() < kLongUncPrefixLength || !HasLongPrefix(path)) return false;
    for (size_t i = kLongPrefixLength; i < kLongUncPrefixLength - 1; ++i) {
        if ((path[i] | 0x20) != (kLongUncPrefix[i] | 0x20)) return false;
    }
    return path[kLongUncPrefixLength - 1] == L'\\';
}

// \\server\share: a plain \\?\ in front would make Windows read "\server" as a
// folder of the local namespace, so network paths take \\?\UNC\ instead.
// \\?\ and \\.\ are namespace prefixes, not servers.
bool IsNetworkPath(const std::wstring& path) {
    return path.size() >= 3 && IsSeparator(path[0]) && IsSeparator(path[1]) && !IsSeparator(path[2]) &&
           path[2] != L'?' && path[2] != L'.';
}

void AppendWithBackslashes(std::wstring& out, const std::wstring& path, size_t from) {
    for (size_t i = from; i < path.size(); ++i) out.push_back(path[i] == L'/' ? L'\\' : path[i]);
}

}  // namespace

std::wstring ToLongPath(const std::wstring& path) {
    std::wstring result;
    if (path.size() < kLongPrefixLength || HasLongPrefix(path)) {
        result.reserve(path.size());
        AppendWithBackslashes(result, path, 0);
    } else if (IsNetworkPath(path)) {
        result.reserve(kLongUncPrefixLength + path.size() - 2);
        result = kLongUncPrefix;
        AppendWithBackslashes(result, path, 2);
    } else {
        result.reserve(kLongPrefixLength + path.size());
        result = kLongPrefix;
        AppendWithBackslashes(result, path, 0);
    }
    return result;
}

std::wstring StripLongPathPrefix(const std::wstring& path) {
    if (HasLongUncPrefix(path)) return L"\\\\" + path.substr(kLongUncPrefixLength);
    if (path.size() >= kLongPrefixLength && HasLongPrefix(path)) return path.substr(kLongPrefixLength);
    return path;
}
