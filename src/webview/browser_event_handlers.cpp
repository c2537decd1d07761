// The browser events the host follows, registered once when the controller exists.
#include <windows.h>
#include <shellapi.h>

#include "util/text_convert.h"
#include "webview/com_callback.h"
#include "util/navigation_policy.h"
#include "webview/pallant_webview.h"

void PallantWebView::RegisterAcceleratorKeyHandler() {
    EventRegistrationToken token{};
    auto handler = MakeCallback<ICoreWebView2AcceleratorKeyPressedEventHandler>(
        [this](ICoreWebView2Controller*, ICoreWebView2AcceleratorKeyPressedEventArgs* args) {
            UINT key = 0;
            args->get_VirtualKey(&key);
            if (config.enableDevTools && key == VK_F12 && webView) webView->OpenDevToolsWindow();
            return S_OK;
        });
    controller->add_AcceleratorKeyPressed(handler.get(), &token);
}

void PallantWebView::RegisterEventHandlers() {
    EventRegistrationToken token{};

    auto title = MakeCallback<ICoreWebView2DocumentTitleChangedEventHandler>([this](ICoreWebView2* sender, IUnknown*) {
        CoTaskMemPtr<wchar_t> text;
        sender->get_DocumentTitle(text.put());
        SetWindowTextW(window, text ? text.get() : L"");
        return S_OK;
    });
    webView->add_DocumentTitleChanged(title.get(), &token);

    if (config.contentMode == ContentMode::Bundle) {
        // The plain filter covers only the documents' own requests; a service or shared
        // worker of the app asks the same origin and must be answered too.
        const std::wstring filter = Utf8ToWide(originUrl + "*");
        if (auto webView22 = webView.query<ICoreWebView2_22>()) {
            webView22->AddWebResourceRequestedFilterWithRequestSourceKinds(
                filter.c_str(), COREWEBVIEW2_WEB_RESOURCE_CONTEXT_ALL,
                COREWEBVIEW2_WEB_RESOURCE_REQUEST_SOURCE_KINDS_ALL);
        } else {
            webView->AddWebResourceRequestedFilter(filter.c_str(), COREWEBVIEW2_WEB_RESOURCE_CONTEXT_ALL);
        }
        auto resources = MakeCallback<ICoreWebView2WebResourceRequestedEventHandler>(
            [this](ICoreWebView2*, ICoreWebView2WebResourceRequestedEventArgs* args) {
                return HandleResourceRequest(args);
            });
        webView->add_WebResourceRequested(resources.get(), &token);

        auto navigation = MakeCallback<ICoreWebView2NavigationStartingEventHandler>(
            [this](ICoreWebView2*, ICoreWebView2NavigationStartingEventArgs* args) {
                CoTaskMemPtr<wchar_t> uri;
                args->get_Uri(uri.put());
                if (!IsAppUrl(AppUrlQuestion::Navigation, WideToUtf8(uri.get()), originUrl)) args->put_Cancel(TRUE);
                return S_OK;
            });
        webView->add_NavigationStarting(navigation.get(), &token);
    }

    // Only the app's own pages get permissions without asking; third-party frames
    // keep the runtime's default.
    auto permission = MakeCallback<ICoreWebView2PermissionRequestedEventHandler>(
        [this](ICoreWebView2*, ICoreWebView2PermissionRequestedEventArgs* args) {
            CoTaskMemPtr<wchar_t> uri;
            args->get_Uri(uri.put());
            if (IsAppUrl(AppUrlQuestion::Permission, WideToUtf8(uri.get()), originUrl)) {
                args->put_State(COREWEBVIEW2_PERMISSION_STATE_ALLOW);
            }
            return S_OK;
        });
    webView->add_PermissionRequested(permission.get(), &token);

    auto fullscreen = MakeCallback<ICoreWebView2ContainsFullScreenElementChangedEventHandler>(
        [this](ICoreWebView2* sender, IUnknown*) {
            BOOL contains = FALSE;
            sender->get_ContainsFullScreenElement(&contains);
            SetFullscreen(contains != FALSE);
            return S_OK;
        });
    webView->add_ContainsFullScreenElementChanged(fullscreen.get(), &token);

    auto close = MakeCallback<ICoreWebView2WindowCloseRequestedEventHandler>([this](ICoreWebView2*, IUnknown*) {
        SendMessageW(window, WM_CLOSE, 0, 0);
        return S_OK;
    });
    webView->add_WindowCloseRequested(close.get(), &token);

    // New windows open in the user's browser, never in one of the runtime's own, and
    // only when the user asked for one: a script (a third-party frame's too) may not
    // open pages or mail on its own, as browsers block such pop-ups.
    auto newWindow = MakeCallback<ICoreWebView2NewWindowRequestedEventHandler>(
        [](ICoreWebView2*, ICoreWebView2NewWindowRequestedEventArgs* args) {
            CoTaskMemPtr<wchar_t> uri;
            args->get_Uri(uri.put());
            BOOL userInitiated = FALSE;
            args->get_IsUserInitiated(&userInitiated);
            if (userInitiated && uri && IsShellSafeUri(WideToUtf8(uri.get()))) {
                ShellExecuteW(nullptr, L"open", uri.get(), nullptr, nullptr, SW_SHOWDEFAULT);
            }
            args->put_Handled(TRUE);
            return S_OK;
        });
    webView->add_NewWindowRequested(newWindow.get(), &token);

    auto message = MakeCallback<ICoreWebView2WebMessageReceivedEventHandler>(
        [this](ICoreWebView2*, ICoreWebView2WebMessageReceivedEventArgs* args) {
            ReceiveWebMessage(args, originUrl, *this);
            return S_OK;
        });
    webView->add_WebMessageReceived(message.get(), &token);

    if (webView2) {
        auto loaded = MakeCallback<ICoreWebView2DOMContentLoadedEventHandler>(
            [this](ICoreWebView2*, ICoreWebView2DOMContentLoadedEventArgs*) {
                ShowPage();
                return S_OK;
            });
        webView2->add_DOMContentLoaded(loaded.get(), &token);
    }
}

void PallantWebView::ShowPage() {
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);
    controller->put_IsVisible(TRUE);
    if (!config.caption) {
        SetWindowLongW(window, GWL_STYLE, GetWindowLongW(window, GWL_STYLE) & ~WS_CAPTION);
        SetWindowPos(window, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED);
    }
    controller->MoveFocus(COREWEBVIEW2_MOVE_FOCUS_REASON_PROGRAMMATIC);
}
