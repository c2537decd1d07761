// Windows-only.
#include "util/known_folder.h"

#include <shlobj.h>

#include "util/long_path.h"
#include "util/text_convert.h"
#include "util/win_handles.h"

std::string GetKnownFolderPath(REFKNOWNFOLDERID id) {
    // The shell may hand out a buffer even when it fails; the owner frees it either way.
    CoTaskMemPtr<wchar_t> path;
    if (FAILED(::SHGetKnownFolderPath(id, 0, nullptr, path.put())) || !path) return std::string();
    return WideToUtf8(StripLongPathPrefix(path.get()));
}
