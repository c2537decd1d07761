// tessarine-msgbox-watcher <process id>
// Prints each message box of the process as "caption | text | icon" and presses OK,
// until the process exits.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "e2e/message_box_watcher.h"
#include "util/win_handles.h"

namespace {

// One box, one line.
std::string OneLine(std::string text) {
    std::string flat;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') continue;
        flat += text[i] == '\n' ? std::string("\\n") : std::string(1, text[i]);
    }
    return flat;
}

void PrintBox(const e2e::MessageBoxRecord& record) {
    e2e::MessageBoxRecord flat = record;
    flat.caption = OneLine(flat.caption);
    flat.text = OneLine(flat.text);
    const std::string line = e2e::FormatMessageBoxLine(flat) + "\n";
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
    char* end = nullptr;
    const unsigned long processId = argc == 2 ? std::strtoul(argv[1], &end, 0) : 0;
    if (argc != 2 || !end || *end != '\0' || processId == 0) {
        std::fprintf(stderr, "usage: tessarine-msgbox-watcher <process id>\n");
        return 2;
    }
    UniqueHandle process(OpenProcess(SYNCHRONIZE, FALSE, static_cast<DWORD>(processId)));
    if (!process) {
        std::fprintf(stderr, "tessarine-msgbox-watcher: no process %lu (error %lu)\n", processId, GetLastError());
        return 1;
    }
    {
        e2e::MessageBoxWatcher watcher(static_cast<DWORD>(processId), PrintBox);
        WaitForSingleObject(process.get(), INFINITE);
    }
    return 0;
}
