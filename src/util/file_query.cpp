// Windows-only.
#include "util/file_query.h"

#include <windows.h>

#include "util/long_path.h"
#include "util/text_convert.h"
#include "util/win_handles.h"

std::wstring SystemFilePath(const std::string& path) {
    std::wstring wide = Utf8ToWide(path);
    if (wide.find(L'\0') != std::wstring::npos) return std::wstring();
    return ToLongPath(wide);
}

bool PathExists(const std::string& path) {
    const std::wstring systemPath = SystemFilePath(path);
    if (systemPath.empty()) return false;
    return ::GetFileAttributesW(systemPath.c_str()) != INVALID_FILE_ATTRIBUTES;
}

uint64_t FileSize(const std::string& path) {
    const std::wstring systemPath = SystemFilePath(path);
    if (systemPath.empty()) return 0;
    // Opened for attributes only, sharing everything, so no reader or writer is
    // disturbed. (The C runtime's stat of msvcrt.dll takes the ? of \\?\ for a
    // wildcard and refuses every long path.)
    UniqueHandle file(::CreateFileW(systemPath.c_str(), FILE_READ_ATTRIBUTES,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                    FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!file.valid()) return 0;
    BY_HANDLE_FILE_INFORMATION info = {};
    if (!::GetFileInformationByHandle(file.get(), &info)) return 0;
    if (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return 0;
    return (static_cast<uint64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
}
