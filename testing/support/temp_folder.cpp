#include "support/temp_folder.h"

#include <windows.h>
#include <winioctl.h>

#include "util/executable_path.h"
#include "util/long_path.h"
#include "util/text_convert.h"
#include "util/win_handles.h"

namespace test_support {

namespace {

// By hand: the C runtime's calls behind std::filesystem refuse \\?\ paths.
void RemoveTree(const std::wstring& folder) {
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = found.cFileName;
            if (name == L"." || name == L"..") continue;
            const std::wstring child = folder + L"\\" + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(child);
            } else {
                DeleteFileW(child.c_str());
            }
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    RemoveDirectoryW(folder.c_str());
}

}  // namespace

TempFolder::TempFolder(const std::wstring& name) {
    wchar_t temp[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH + 1, temp);
    folder_ = ToLongPath(temp + name + L"-\x00FC\x65E5-" + std::to_wstring(GetCurrentProcessId()));
    RemoveTree(folder_);
    CreateDirectoryW(folder_.c_str(), nullptr);
}

TempFolder::~TempFolder() {
    RemoveTree(folder_);
}

std::wstring TempFolder::Wide(const std::wstring& name) const {
    return name.empty() ? folder_ : folder_ + L"\\" + name;
}

std::string TempFolder::Utf8(const std::wstring& name) const {
    return WideToUtf8(StripLongPathPrefix(Wide(name)));
}

bool TempFolder::Write(const std::wstring& name, const std::string& bytes) const {
    UniqueHandle file(CreateFileW(Wide(name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    DWORD written = 0;
    return file.valid() && WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
           written == bytes.size();
}

bool TempFolder::WriteZeros(const std::wstring& name, uint64_t size) const {
    UniqueHandle file(CreateFileW(Wide(name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    DWORD returned = 0;
    // Sparse where the file system allows it; fine either way.
    DeviceIoControl(file.get(), FSCTL_SET_SPARSE, nullptr, 0, nullptr, 0, &returned, nullptr);
    LARGE_INTEGER end;
    end.QuadPart = static_cast<LONGLONG>(size);
    return file.valid() && SetFilePointerEx(file.get(), end, nullptr, FILE_BEGIN) && SetEndOfFile(file.get());
}

bool TempFolder::MakeFolder(const std::wstring& name) const {
    return CreateDirectoryW(Wide(name).c_str(), nullptr) != FALSE;
}

std::wstring ProgramFolder() {
    const std::wstring program = ToLongPath(Utf8ToWide(ExecutablePath()));
    return program.substr(0, program.rfind(L'\\'));
}

}  // namespace test_support
