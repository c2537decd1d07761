// Stands in for the programs the shell would start for a URL (browser, mail client,
// protocol handlers). Registered as their open command, it records what it was given
// instead: "shell_recorder.exe <folder> <argument>" writes <argument> in UTF-8 to a new
// file in <folder>. One file per launch, so launches running at once never collide.
#include <windows.h>

#include <string>

#include "util/text_convert.h"
#include "util/win_handles.h"

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) return 2;
    const std::string text = WideToUtf8(argv[2]);
    const std::wstring name = std::wstring(argv[1]) + L"\\launch-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                              std::to_wstring(GetTickCount64()) + L".txt";
    const UniqueHandle file(
        CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return 1;
    DWORD written = 0;
    const BOOL ok = WriteFile(file.get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    return ok && written == text.size() ? 0 : 1;
}
