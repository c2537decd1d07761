#pragma once
// The host's one top-level window: class, styles, DPI scaling, icon, procedure.

#include <windows.h>

#include <string>

#include "util/app_config.h"

inline constexpr wchar_t mainWindowClassName[] = L"Tessarine";

HICON LoadIconFromImageFile(const std::string& path);

DWORD MainWindowStyle(const AppConfig& config);
struct WindowIcons {
    HICON large = nullptr;
    HICON compact = nullptr;  // not "small": rpcndr.h defines it as a macro
};
// The configured icon from the app folder for both, or else the executable's own icon
// group at the system's large and small icon sizes: a shipped game's program carries the
// game's icon drawn at each size, better than one image scaled down.
WindowIcons LoadWindowIcons(HINSTANCE instance, const AppConfig& config, const std::string& appFolder);
bool RegisterMainWindowClass(HINSTANCE instance, const WindowIcons& icons);
HWND CreateMainWindow(HINSTANCE instance, const AppConfig& config, const std::wstring& title);

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
