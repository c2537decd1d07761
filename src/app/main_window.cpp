#include "app/main_window.h"

#include <objidl.h>
#include <gdiplus.h>

#include "app/window_metrics.h"
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

WindowIcons LoadWindowIcons(HINSTANCE instance, const AppConfig& config, const std::string& appFolder) {
    HICON icon = config.icon.empty() ? nullptr : LoadIconFromImageFile(appFolder + config.icon);
    if (icon) return {icon, icon};
    auto ownIcon = [&](int widthMetric, int heightMetric) {
        return static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(32512), IMAGE_ICON,
                                             GetSystemMetrics(widthMetric), GetSystemMetrics(heightMetric),
                                             LR_DEFAULTCOLOR | LR_SHARED));
    };
    return {ownIcon(SM_CXICON, SM_CYICON), ownIcon(SM_CXSMICON, SM_CYSMICON)};
}

bool RegisterMainWindowClass(HINSTANCE instance, const WindowIcons& icons) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = MainWindowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = icons.large;
    windowClass.hIconSm = icons.compact;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = mainWindowClassName;
    return RegisterClassExW(&windowClass) != 0;
}

HWND CreateMainWindow(HINSTANCE instance, const AppConfig& config, const std::wstring& title) {
    const DWORD style = MainWindowStyle(config);
    auto outerAt = [&](uint32_t dpi) {
        return OuterSizeForClient(ScaleForDpi(config.width, dpi), ScaleForDpi(config.height, dpi), style, 0);
    };
    const uint32_t startDpi = SystemDpi();
    const OuterSize outer = outerAt(startDpi);
    HWND window = CreateWindowExW(0, mainWindowClassName, title.c_str(), style, CW_USEDEFAULT, CW_USEDEFAULT,
                                  outer.width, outer.height, nullptr, nullptr, instance, nullptr);
    // The system placed it on a monitor of another DPI: sized again for that one.
    const uint32_t dpi = window ? WindowDpi(window) : startDpi;
    if (dpi != startDpi) {
        const OuterSize resized = outerAt(dpi);
        SetWindowPos(window, nullptr, 0, 0, resized.width, resized.height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    return window;
}

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    // Null while the window is being created and once the hub has let go of it.
    PallantWebView* const hub = PallantWebView::FromWindow(window);
    switch (message) {
        case WM_CLOSE:
            if (hub && !hub->OnCloseRequested()) return 0;
            DestroyWindow(window);
            return 0;
        case WM_QUERYENDSESSION:
            if (hub) hub->OnSessionEnding();
            return TRUE;
        case WM_ENDSESSION:
            if (hub && wParam) hub->OnSessionEnded();
            return 0;
        case WM_DESTROY:
            PostQuitMessage(hub ? hub->ExitCode() : 0);
            if (hub) hub->OnMainWindowDestroying();
            return 0;
        case WM_MOVE:
        case WM_MOVING:
            if (hub) hub->OnMainWindowMoved();
            return 0;
        case WM_SIZE:
            if (hub) hub->OnMainWindowSized(wParam);
            return 0;
        case WM_SETFOCUS:
            if (hub) hub->OnMainWindowFocused();
            return DefWindowProcW(window, message, wParam, lParam);
        case WM_INPUT:
            if (hub) hub->OnRawInput(reinterpret_cast<HRAWINPUT>(lParam));
            return 0;
        case WM_SYSCOMMAND:
            // Alt or F10 alone would open the window menu and take the keys from the page.
            if (wParam == SC_KEYMENU && (static_cast<LONG>(lParam) >> 16) <= 0) return 0;
            return DefWindowProcW(window, message, wParam, lParam);
        case WM_ACTIVATE:
            if (hub) hub->OnMainWindowActivation(LOWORD(wParam) != WA_INACTIVE && HIWORD(wParam) == 0);
            return DefWindowProcW(window, message, wParam, lParam);
        case WM_TIMER:
            if (hub) hub->OnTimer(wParam);
            return 0;
        case WM_DPICHANGED: {
            // The suggested rectangle keeps the window's size in 96-DPI units on the new monitor.
            const RECT* suggested = reinterpret_cast<const RECT*>(lParam);
            SetWindowPos(window, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                         suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
            return 0;
        }
        case hostTaskMessage:
            if (hub) hub->OnHostTask(static_cast<HostTask>(wParam));
            return 0;
        default:
            return DefWindowProcW(window, message, wParam, lParam);
    }
}
