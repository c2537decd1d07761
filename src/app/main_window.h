#pragma once
// The host's one top-level window: class, styles, DPI scaling, icon, procedure.

#include <windows.h>

#include <string>

#include "util/app_config.h"

inline constexpr wchar_t mainWindowClassName[] = L"Tessarine";

HICON LoadIconFromImageFile(const std::string& path);

DWORD MainWindowStyle(const AppConfig& config);
// The configured icon from the app folder, or the executable's own icon.
HICON LoadWindowIcon(HINSTANCE instance, const AppConfig& config, const std::string& appFolder);
bool RegisterMainWindowClass(HINSTANCE instance, HICON icon);
HWND CreateMainWindow(HINSTANCE instance, const AppConfig& config, const std::wstring& title);

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
