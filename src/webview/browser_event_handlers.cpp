// The browser events the host follows, one member each; registered when the
// controller exists (controller_setup.cpp).
#include <windows.h>
#include <shellapi.h>

#include "util/debug_trace.h"
#include "util/text_convert.h"
#include "util/navigation_policy.h"
#include "webview/pallant_webview.h"

namespace {

// How long a page may hang before the player is asked what to do.
constexpr UINT unresponsiveAskDelayMs = 10000;

}  // namespace

HRESULT PallantWebView::OnAcceleratorKeyPressed(ICoreWebView2Controller*,
                                                ICoreWebView2AcceleratorKeyPressedEventArgs* args) {
    UINT key = 0;
    args->get_VirtualKey(&key);
    if (config_.enableDevTools && key == VK_F12 && webView_) webView_->OpenDevToolsWindow();
    return S_OK;
}

HRESULT PallantWebView::OnDocumentTitleChanged(ICoreWebView2* sender, IUnknown*) {
    CoTaskMemPtr<wchar_t> text;
    sender->get_DocumentTitle(text.put());
    SetWindowTextW(window_, text ? text.get() : L"");
    return S_OK;
}

HRESULT PallantWebView::OnWebResourceRequested(ICoreWebView2*, ICoreWebView2WebResourceRequestedEventArgs* args) {
    return server_.HandleResourceRequest(environment_.get(), args);
}

HRESULT PallantWebView::OnNavigationStarting(ICoreWebView2*, ICoreWebView2NavigationStartingEventArgs* args) {
    CoTaskMemPtr<wchar_t> uri;
    args->get_Uri(uri.put());
    if (!IsAppUrl(AppUrlQuestion::Navigation, WideToUtf8(uri.get()), originUrl_)) args->put_Cancel(TRUE);
    return S_OK;
}

HRESULT PallantWebView::OnNavigationCompleted(ICoreWebView2*, ICoreWebView2NavigationCompletedEventArgs*) {
    // Also when it failed: the runtime's error page shows, and the window can be closed.
    if (!pageShown_) ShowPage();
    return S_OK;
}

// Only the app's own pages get permissions without asking; third-party frames
// keep the runtime's default.
HRESULT PallantWebView::OnPermissionRequested(ICoreWebView2*, ICoreWebView2PermissionRequestedEventArgs* args) {
    CoTaskMemPtr<wchar_t> uri;
    args->get_Uri(uri.put());
    if (IsAppUrl(AppUrlQuestion::Permission, WideToUtf8(uri.get()), originUrl_)) {
        TraceIfFailed(args->put_State(COREWEBVIEW2_PERMISSION_STATE_ALLOW), "put_State");
    }
    return S_OK;
}

HRESULT PallantWebView::OnFullScreenElementChanged(ICoreWebView2* sender, IUnknown*) {
    BOOL contains = FALSE;
    sender->get_ContainsFullScreenElement(&contains);
    SetFullscreen(contains != FALSE);
    return S_OK;
}

// window.close(): the page itself is done, so nothing is announced to it.
HRESULT PallantWebView::OnWindowCloseRequested(ICoreWebView2*, IUnknown*) {
    CloseWindow();
    return S_OK;
}

// New windows open in the user's browser, never in one of the runtime's own, and
// only when the user asked for one: a script (a third-party frame's too) may not
// open pages or mail on its own, as browsers block such pop-ups.
HRESULT PallantWebView::OnNewWindowRequested(ICoreWebView2*, ICoreWebView2NewWindowRequestedEventArgs* args) {
    CoTaskMemPtr<wchar_t> uri;
    args->get_Uri(uri.put());
    BOOL userInitiated = FALSE;
    args->get_IsUserInitiated(&userInitiated);
    if (userInitiated && uri && IsShellSafeUri(WideToUtf8(uri.get()))) {
        ShellExecuteW(nullptr, L"open", uri.get(), nullptr, nullptr, SW_SHOWDEFAULT);
    }
    TraceIfFailed(args->put_Handled(TRUE), "put_Handled");
    return S_OK;
}

HRESULT PallantWebView::OnWebMessageReceived(ICoreWebView2*, ICoreWebView2WebMessageReceivedEventArgs* args) {
    // A page that talks is alive again.
    if (unresponsive_) {
        unresponsive_ = false;
        KillTimer(window_, unresponsiveTimerId);
    }
    ReceiveWebMessage(args, originUrl_, *this);
    return S_OK;
}

HRESULT PallantWebView::OnDOMContentLoaded(ICoreWebView2*, ICoreWebView2DOMContentLoadedEventArgs*) {
    ShowPage();
    return S_OK;
}

HRESULT PallantWebView::OnProcessFailed(ICoreWebView2*, ICoreWebView2ProcessFailedEventArgs* args) {
    COREWEBVIEW2_PROCESS_FAILED_KIND kind = COREWEBVIEW2_PROCESS_FAILED_KIND_UNKNOWN_PROCESS_EXITED;
    if (FAILED(args->get_ProcessFailedKind(&kind))) return S_OK;
    switch (kind) {
        case COREWEBVIEW2_PROCESS_FAILED_KIND_RENDER_PROCESS_EXITED:
            KillTimer(window_, unresponsiveTimerId);
            RestartAfterFailure(HostTask::RestartPage);
            break;
        case COREWEBVIEW2_PROCESS_FAILED_KIND_RENDER_PROCESS_UNRESPONSIVE:
            // The runtime says so again while the page hangs; the first time starts the clock.
            if (!unresponsive_) {
                unresponsive_ = true;
                SetTimer(window_, unresponsiveTimerId, unresponsiveAskDelayMs, nullptr);
            }
            break;
        case COREWEBVIEW2_PROCESS_FAILED_KIND_BROWSER_PROCESS_EXITED:
            // With the environment's exit event the new browser waits for the old one's
            // last process, which still holds the profile.
            if (environment_.query<ICoreWebView2Environment5>()) {
                awaitingBrowserExit_ = true;
            } else {
                RestartAfterFailure(HostTask::RestartBrowser);
            }
            break;
        default:
            // Frames, the GPU and helpers: the runtime brings those back itself.
            break;
    }
    return S_OK;
}

HRESULT PallantWebView::OnBrowserProcessExited(ICoreWebView2Environment*,
                                               ICoreWebView2BrowserProcessExitedEventArgs* args) {
    COREWEBVIEW2_BROWSER_PROCESS_EXIT_KIND kind = COREWEBVIEW2_BROWSER_PROCESS_EXIT_KIND_NORMAL;
    args->get_BrowserProcessExitKind(&kind);
    if (awaitingBrowserExit_ || kind == COREWEBVIEW2_BROWSER_PROCESS_EXIT_KIND_FAILED) {
        awaitingBrowserExit_ = false;
        RestartAfterFailure(HostTask::RestartBrowser);
    }
    return S_OK;
}

void PallantWebView::AskAboutUnresponsivePage() {
    unresponsive_ = false;
    if (!webView_ || exitCode_ != 0) return;
    // OK, the default, keeps waiting: a player who only presses Enter loses nothing.
    const int answer = MessageBoxW(
        window_, L"The app is not responding.\n\nChoose OK to keep waiting for it, or Cancel to restart it.",
        Utf8ToWide(config_.title).c_str(), MB_OKCANCEL | MB_ICONWARNING);
    if (answer != IDCANCEL) {
        unresponsive_ = true;
        SetTimer(window_, unresponsiveTimerId, unresponsiveAskDelayMs, nullptr);
    } else {
        RestartAfterFailure(HostTask::RestartPage);
    }
}

void PallantWebView::ShowPage() {
    pageShown_ = true;
    KillTimer(window_, showWindowTimerId);
    ShowWindow(window_, SW_SHOW);
    UpdateWindow(window_);
    if (controller_) controller_->put_IsVisible(TRUE);
    if (!config_.caption) {
        SetWindowLongW(window_, GWL_STYLE, GetWindowLongW(window_, GWL_STYLE) & ~WS_CAPTION);
        SetWindowPos(window_, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED);
    }
    if (controller_) controller_->MoveFocus(COREWEBVIEW2_MOVE_FOCUS_REASON_PROGRAMMATIC);
}
