// tessarine-msgbox-watcher <process id>
//   Prints each message box of the process as "caption | text | icon" and presses
//   OK, until the process exits.
// tessarine-msgbox-watcher --run [--timeout-ms N] <program> [arguments]
//   Starts the program, prints its boxes as "box: caption | text | icon" and
//   presses OK, and ends with its exit code; after N ms it ends the program and
//   exits with 124.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <string>

#include "e2e/message_box_watcher.h"
#include "util/win_handles.h"

namespace {

constexpr int timedOutCode = 124;

// One box, one line.
std::string OneLine(std::string text) {
    std::string flat;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') continue;
        flat += text[i] == '\n' ? std::string("\\n") : std::string(1, text[i]);
    }
    return flat;
}

void PrintBox(const e2e::MessageBoxRecord& record, const char* prefix) {
    e2e::MessageBoxRecord flat = record;
    flat.caption = OneLine(flat.caption);
    flat.text = OneLine(flat.text);
    const std::string line = prefix + e2e::FormatMessageBoxLine(flat) + "\n";
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fflush(stdout);
}

int Usage() {
    std::fprintf(stderr,
                 "usage: tessarine-msgbox-watcher <process id>\n"
                 "       tessarine-msgbox-watcher --run [--timeout-ms N] <program> [arguments]\n");
    return 2;
}

int Watch(const char* id) {
    char* end = nullptr;
    const unsigned long processId = std::strtoul(id, &end, 0);
    if (!end || *end != '\0' || processId == 0) return Usage();
    UniqueHandle process(OpenProcess(SYNCHRONIZE, FALSE, static_cast<DWORD>(processId)));
    if (!process) {
        std::fprintf(stderr, "tessarine-msgbox-watcher: no process %lu (error %lu)\n", processId, GetLastError());
        return 1;
    }
    e2e::MessageBoxWatcher watcher(static_cast<DWORD>(processId),
                                   [](const e2e::MessageBoxRecord& record) { PrintBox(record, ""); });
    WaitForSingleObject(process.get(), INFINITE);
    return 0;
}

int Run(int argc, wchar_t** argv) {
    int next = 2;
    DWORD timeoutMs = INFINITE;
    if (next + 1 < argc && std::wcscmp(argv[next], L"--timeout-ms") == 0) {
        wchar_t* end = nullptr;
        timeoutMs = std::wcstoul(argv[next + 1], &end, 10);
        if (!end || *end != L'\0' || timeoutMs == 0) return Usage();
        next += 2;
    }
    if (next >= argc) return Usage();
    std::wstring commandLine = L"\"" + std::wstring(argv[next]) + L"\"";
    for (int i = next + 1; i < argc; ++i) commandLine += L" " + std::wstring(argv[i]);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    if (!CreateProcessW(argv[next], commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &started)) {
        std::fprintf(stderr, "tessarine-msgbox-watcher: cannot start %ls (error %lu)\n", argv[next], GetLastError());
        return 1;
    }
    UniqueHandle process(started.hProcess);
    UniqueHandle thread(started.hThread);
    DWORD code = 0;
    {
        e2e::MessageBoxWatcher watcher(started.dwProcessId,
                                       [](const e2e::MessageBoxRecord& record) { PrintBox(record, "box: "); });
        if (WaitForSingleObject(process.get(), timeoutMs) != WAIT_OBJECT_0) {
            TerminateProcess(process.get(), timedOutCode);
            WaitForSingleObject(process.get(), 10000);
            return timedOutCode;
        }
    }
    GetExitCodeProcess(process.get(), &code);
    return static_cast<int>(code);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc >= 3 && std::wcscmp(argv[1], L"--run") == 0) return Run(argc, argv);
    if (argc != 2) return Usage();
    char id[32] = {};
    std::wcstombs(id, argv[1], sizeof id - 1);
    return Watch(id);
}
