// Finds, reads and answers the message boxes of another process (Windows-only).
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "icon_kind.h"

namespace e2e {

struct MessageBoxRecord {
    std::string caption;  // UTF-8
    std::string text;     // UTF-8
    IconKind icon = IconKind::Unknown;
};

// Visible top-level dialog windows (class "#32770") of the process.
std::vector<HWND> FindMessageBoxes(DWORD processId);

// Caption, text and icon of a shown message box. The icon is judged by the pixels of the
// box's icon control on the screen, so the box is raised to the top first and given up
// to iconWaitMs to be painted.
MessageBoxRecord ReadMessageBox(HWND box, DWORD iconWaitMs = 3000);

// Presses the button (OK, or IDCANCEL, ...) and waits up to waitMs for the box to go; true when it went.
bool DismissMessageBox(HWND box, int button = IDOK, DWORD waitMs = 3000);

// "caption | text | icon", the line the standalone watcher prints.
std::string FormatMessageBoxLine(const MessageBoxRecord& record);

}  // namespace e2e
