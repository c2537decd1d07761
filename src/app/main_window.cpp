#include "app/main_window.h"

#include <objidl.h>
#include <gdiplus.h>

#include "app/host_globals.h"
#include "app/window_metrics.h"
#include "input/pointer_lock.h"
#include "util/long_path.h"
#include "util/text_convert.h"
#include "webview/pallant_webview.h"

HICON LoadIconFromImageFile(const std::string& path) {
    const std::wstring longPath = ToLongPath(Utf8ToWide(path));
    Gdiplus::GpBitmap* bitmap = nullptr;
    if (Gdiplus::DllExports::GdipCreateBitmapFromFile(longPath.c_str(), &bitmap) != Gdiplus::Ok || !bitmap) {
        return nullptr;
    }
    HICON icon = nullptr;
    if (Gdiplus::DllExports::GdipCreateHICONFromBitmap(bitmap, &icon) != Gdiplus::Ok) icon = nullptr;
    Gdiplus::DllExports::GdipDisposeImage(bitmap);
    return icon;
}

DWORD MainWindowStyle(const AppConfig& config) {
    if (!config.caption) return WS_OVERLAPPED;
    return config.resizable ? WS_OVERLAPPEDWINDOW : (WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX);
}

HICON LoadWindowIcon(HINSTANCE instance, const AppConfig& config, const std::string& appFolder) {
    HICON icon = config.icon.empty() ? nullptr : LoadIconFromImageFile(appFolder + config.icon);
    return icon ? icon : LoadIconW(instance, MAKEINTRESOURCEW(32512));
}

bool RegisterMainWindowClass(HINSTANCE instance, HICON icon) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = MainWindowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = icon;
    windowClass.hIconSm = icon;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = mainWindowClassName;
    return RegisterClassExW(&windowClass) != 0;
}

HWND CreateMainWindow(HINSTANCE instance, const AppConfig& config, const std::wstring& title) {
    const DWORD style = MainWindowStyle(config);
    const OuterSize outer = OuterSizeForClient(ScaleForDpi(config.width), ScaleForDpi(config.height), style, 0);
    return CreateWindowExW(0, mainWindowClassName, title.c_str(), style, CW_USEDEFAULT, CW_USEDEFAULT, outer.width,
                           outer.height, nullptr, nullptr, instance, nullptr);
}

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        case WM_MOVE:
        case WM_MOVING:
            if (g_webView && g_webView->controller) g_webView->controller->NotifyParentWindowPositionChanged();
            return 0;
        case WM_SIZE:
            if (g_webView) g_webView->OnMainWindowSized(wParam);
            return 0;
        case WM_SETFOCUS:
            if (g_webView && g_webView->controller) {
                g_webView->controller->MoveFocus(COREWEBVIEW2_MOVE_FOCUS_REASON_PROGRAMMATIC);
            }
            return DefWindowProcW(window, message, wParam, lParam);
        case WM_INPUT:
            if (g_webView) g_webView->OnRawInput(reinterpret_cast<HRAWINPUT>(lParam));
            return 0;
        case WM_SYSCOMMAND:
            // Alt or F10 alone would open the window menu and take the keys from the page.
            if (wParam == SC_KEYMENU && (static_cast<LONG>(lParam) >> 16) <= 0) return 0;
            return DefWindowProcW(window, message, wParam, lParam);
        case WM_TIMER:
            if (wParam == pointerLockTimerId && g_webView) g_webView->ClipCursorToWindow();
            return 0;
        default:
            return DefWindowProcW(window, message, wParam, lParam);
    }
}
