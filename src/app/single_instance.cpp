#include "app/single_instance.h"

#include "app/main_window.h"
#include "util/text_convert.h"

namespace {

// How long a second start waits for the first copy's window, which may still be coming up.
constexpr int windowSearchTries = 50;
constexpr DWORD windowSearchPauseMs = 100;

struct Search {
    const wchar_t* mark;
    HWND found;
};

BOOL CALLBACK FindMarkedWindow(HWND window, LPARAM context) {
    auto* search = reinterpret_cast<Search*>(context);
    wchar_t className[64] = {};
    GetClassNameW(window, className, 64);
    if (std::wstring(className) != mainWindowClassName || GetPropW(window, search->mark) == nullptr) return TRUE;
    search->found = window;
    return FALSE;
}

}  // namespace

SingleInstance::SingleInstance(const std::string& appName) {
    // Kernel object names may not hold a backslash; the app's name is otherwise kept whole.
    std::wstring name = Utf8ToWide(appName);
    for (wchar_t& c : name) {
        if (c == L'\\') c = L'/';
    }
    mark_ = L"Tessarine.App." + name;
    mutex_.reset(CreateMutexW(nullptr, FALSE, (L"Local\\" + mark_).c_str()));
    // NOLINTNEXTLINE(cppcoreguidelines-prefer-member-initializer): the error is CreateMutexW's, just above
    claimed_ = mutex_ && GetLastError() != ERROR_ALREADY_EXISTS;
}

void SingleInstance::MarkWindow(HWND window) const {
    SetPropW(window, mark_.c_str(), reinterpret_cast<HANDLE>(1));
}

bool SingleInstance::ActivateRunningCopy() const {
    for (int tries = 0; tries < windowSearchTries; ++tries) {
        Search search{mark_.c_str(), nullptr};
        EnumWindows(FindMarkedWindow, reinterpret_cast<LPARAM>(&search));
        if (search.found != nullptr) {
            if (IsIconic(search.found)) ShowWindow(search.found, SW_RESTORE);
            SetForegroundWindow(search.found);
            return true;
        }
        Sleep(windowSearchPauseMs);
    }
    return false;
}
