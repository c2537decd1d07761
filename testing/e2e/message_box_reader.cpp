#include "message_box_reader.h"

#include <algorithm>

#include "process_windows.h"
#include "screen_capture.h"
#include "util/text_convert.h"

namespace e2e {

namespace {

// The text control of a message box carries this identifier.
constexpr int kMessageTextId = 0xFFFF;
constexpr UINT kCrossProcessTimeoutMs = 2000;

// WM_GETTEXT with a timeout: the other process may be busy.
std::wstring WindowTextOf(HWND window) {
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kCrossProcessTimeoutMs, &length)) {
        return {};
    }
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG,
                             kCrossProcessTimeoutMs, &copied)) {
        return {};
    }
    text.resize(std::min<size_t>(static_cast<size_t>(copied), text.size() - 1));
    return text;
}

struct ChildList {
    std::vector<HWND> children;
};

BOOL CALLBACK CollectChild(HWND child, LPARAM context) {
    reinterpret_cast<ChildList*>(context)->children.push_back(child);
    return TRUE;
}

std::vector<HWND> ChildrenOf(HWND parent) {
    ChildList list;
    EnumChildWindows(parent, CollectChild, reinterpret_cast<LPARAM>(&list));
    return list.children;
}

bool IsStatic(HWND window) {
    return _wcsicmp(WindowClassName(window).c_str(), L"Static") == 0;
}

bool IsIconStatic(HWND window) {
    const LONG style = GetWindowLongW(window, GWL_STYLE);
    return IsStatic(window) && (style & SS_TYPEMASK) == SS_ICON;
}

std::wstring MessageTextOf(HWND box) {
    if (HWND text = GetDlgItem(box, kMessageTextId)) return WindowTextOf(text);
    // Fall back to the first text-bearing static control.
    for (HWND child : ChildrenOf(box)) {
        if (!IsStatic(child) || IsIconStatic(child)) continue;
        std::wstring text = WindowTextOf(child);
        if (!text.empty()) return text;
    }
    return {};
}

// The visible icon control that holds an icon, or null.
HWND IconControlOf(HWND box) {
    for (HWND child : ChildrenOf(box)) {
        if (!IsIconStatic(child) || !IsWindowVisible(child)) continue;
        RECT area{};
        if (!GetWindowRect(child, &area) || area.right <= area.left || area.bottom <= area.top) continue;
        DWORD_PTR icon = 0;
        SendMessageTimeoutW(child, STM_GETICON, 0, 0, SMTO_ABORTIFHUNG, kCrossProcessTimeoutMs, &icon);
        if (icon) return child;
    }
    return nullptr;
}

IconKind IconOf(HWND box, DWORD waitMs) {
    HWND control = IconControlOf(box);
    if (!control) return IconKind::None;
    // Other windows on the same display must not hide the icon.
    SetWindowPos(box, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    const DWORD start = GetTickCount();
    IconKind kind = IconKind::Unknown;
    for (bool first = true;; first = false) {
        // A box caught half painted gets another paint.
        if (!first) RedrawWindow(control, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE);
        Sleep(150);
        RECT area{};
        if (!GetWindowRect(control, &area)) break;
        kind = ClassifyIconPixels(CaptureScreenRect(area));
        if (kind != IconKind::Unknown || GetTickCount() - start >= waitMs) break;
    }
    return kind;
}

bool WaitForWindowGone(HWND window, DWORD waitMs) {
    const DWORD start = GetTickCount();
    while (IsWindow(window)) {
        if (GetTickCount() - start >= waitMs) return false;
        Sleep(20);
    }
    return true;
}

}  // namespace

std::vector<HWND> FindMessageBoxes(DWORD processId) {
    std::vector<HWND> boxes;
    for (HWND window : TopLevelWindows(processId)) {
        if (IsWindowVisible(window) && WindowClassName(window) == L"#32770") boxes.push_back(window);
    }
    return boxes;
}

MessageBoxRecord ReadMessageBox(HWND box, DWORD iconWaitMs) {
    MessageBoxRecord record;
    record.caption = WideToUtf8(WindowTextOf(box));
    record.text = WideToUtf8(MessageTextOf(box));
    record.icon = IconOf(box, iconWaitMs);
    return record;
}

bool DismissMessageBox(HWND box, int button, DWORD waitMs) {
    HWND pressed = GetDlgItem(box, button);
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), reinterpret_cast<LPARAM>(pressed));
    if (WaitForWindowGone(box, waitMs / 2)) return true;
    if (pressed) SendMessageTimeoutW(pressed, BM_CLICK, 0, 0, SMTO_ABORTIFHUNG, kCrossProcessTimeoutMs, nullptr);
    return WaitForWindowGone(box, waitMs / 2);
}

std::string FormatMessageBoxLine(const MessageBoxRecord& record) {
    return record.caption + " | " + record.text + " | " + IconKindName(record.icon);
}

}  // namespace e2e
