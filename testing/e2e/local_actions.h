// What a test does on the machine around the host: reading and opening the app's files
// and the host's image as another program would, and keeping its own windows answering.
#pragma once

#include <windows.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "e2e/app_folder.h"
#include "util/text_convert.h"
#include "util/win_handles.h"

namespace e2e {

inline std::string ReadWholeFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A path below the app folder ("www/a.txt") with backslashes.
inline std::wstring WidePath(const AppFolder& app, const std::string& relative) {
    std::wstring path = (app.App() / Utf8ToWide(relative)).wstring();
    std::replace(path.begin(), path.end(), L'/', L'\\');
    return path;
}

// The error another program gets when it opens the file (0: it could).
inline DWORD OpenError(const std::wstring& path, DWORD access) {
    const UniqueHandle file(CreateFileW(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                        nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    return file ? 0 : GetLastError();
}

// A resource of an executable image, mapped for reading: no code runs, nothing is resolved.
inline std::string ImageResource(const std::wstring& image, const wchar_t* name, const wchar_t* type) {
    const ModuleHandle module(
        LoadLibraryExW(image.c_str(), nullptr, LOAD_LIBRARY_AS_IMAGE_RESOURCE | LOAD_LIBRARY_AS_DATAFILE));
    HRSRC found = module ? FindResourceW(module.get(), name, type) : nullptr;
    const void* bytes = found ? LockResource(LoadResource(module.get(), found)) : nullptr;
    return bytes ? std::string(static_cast<const char*>(bytes), SizeofResource(module.get(), found)) : "";
}

// Dispatches this thread's window messages for a while.
inline void PumpMessagesFor(DWORD milliseconds) {
    for (const ULONGLONG end = GetTickCount64() + milliseconds; GetTickCount64() < end; Sleep(5)) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
    }
}

}  // namespace e2e
