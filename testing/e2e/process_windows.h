// The top-level windows of another process (Windows-only).
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace e2e {

// Every top-level window of the process, hidden ones too.
std::vector<HWND> TopLevelWindows(DWORD processId);

std::wstring WindowClassName(HWND window);

}  // namespace e2e
