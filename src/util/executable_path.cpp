// Windows-only.
#include "util/executable_path.h"

#include <windows.h>
#include <pathcch.h>

#include <vector>

#include "util/long_path.h"
#include "util/text_convert.h"

namespace {

// The longest path Windows can hand out, in UTF-16 units.
const DWORD kMaxPathUnits = 32767;

std::string ComputeExecutablePath() {
    std::vector<wchar_t> modulePath(kMaxPathUnits, L'\0');
    std::vector<wchar_t> canonicalPath(kMaxPathUnits, L'\0');
    const DWORD length = ::GetModuleFileNameW(nullptr, modulePath.data(), kMaxPathUnits);
    if (length == 0 || length >= kMaxPathUnits) return std::string();
    // Resolves . and .. (and adds \\?\ to a path over the classic limit, removed below).
    const wchar_t* chosen = canonicalPath.data();
    if (FAILED(::PathCchCanonicalizeEx(canonicalPath.data(), kMaxPathUnits, modulePath.data(),
                                       PATHCCH_ALLOW_LONG_PATHS))) {
        chosen = modulePath.data();
    }
    return WideToUtf8(StripLongPathPrefix(chosen));
}

}  // namespace

std::string ExecutablePath() {
    // Tested for emptiness rather than by a flag: a failed attempt is retried.
    static std::string cached;
    if (cached.empty()) cached = ComputeExecutablePath();
    return cached;
}
