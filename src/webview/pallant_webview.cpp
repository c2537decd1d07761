#include "webview/pallant_webview.h"

#include <utility>

#include "util/debug_trace.h"
#include "util/text_convert.h"
#include "webview/app_origin.h"

PallantWebView::PallantWebView(Setup setup)
    : config_(setup.config),
      window_(setup.window),
      appFolder_(std::move(setup.appFolder)),
      webFolder_(std::move(setup.webFolder)),
      userDataFolder_(std::move(setup.userDataFolder)),
      originUrl_(config_.contentMode == ContentMode::Bundle ? std::string(appOriginUrl) : config_.main),
      browserFolder_(setup.browserFolder),
      loader_(setup.loader),
      extensions_(setup.extensions),
      reportFailure_(std::move(setup.reportFailure)),
      link_(std::make_shared<HubLink<PallantWebView>>(HubLink<PallantWebView>{this})),
      close_(config_.closeTimeoutSeconds),
      server_(setup.bundle, appFolder_, webFolder_, originUrl_),
      handshake_(appFolder_, webFolder_, userDataFolder_, config_.folderAccess),
      pointerLock_(window_, [this](const std::string& json) { PostToPage(json); }),
      windowState_(std::move(setup.windowState)) {
    extensions_.AttachWebView(this);
    SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

PallantWebView::~PallantWebView() {
    link_->hub = nullptr;
    if (IsWindow(window_) && FromWindow(window_) == this) SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
    ReleaseBrowser();
}

PallantWebView* PallantWebView::FromWindow(HWND window) {
    return reinterpret_cast<PallantWebView*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

void PallantWebView::CloseMappedFiles() {
    server_.CloseMappedFiles();
}

// In remote mode the window may show a foreign site by now: nothing goes to it. Bundle
// mode never leaves the app origin.
void PallantWebView::PostToPage(const std::string& json) {
    if (!webView_) return;
    if (config_.contentMode == ContentMode::Remote && !TopDocumentIsAppPage(webView_.get(), originUrl_)) return;
    TraceIfFailed(webView_->PostWebMessageAsJson(Utf8ToWide(json).c_str()), "PostWebMessageAsJson");
}

void PallantWebView::SendInitResponse(bool withFolders) {
    if (withFolders &&
        (config_.contentMode == ContentMode::Bundle || TopDocumentIsAppPage(webView_.get(), originUrl_))) {
        handshake_.SendDirectoryHandles(environment_.get(), webView_.get());
    }
    PostToPage(InitHandshake::InitResponse(extensions_.ComponentIds(), std::exchange(restarted_, false)));
    extensions_.OnPageReady();
}

void PallantWebView::DeliverPageMessage(const std::string& text) {
    extensions_.DeliverPageMessage(text);
}

const std::string* PallantWebView::FindFolderPath(const std::string& placeholder) const {
    return handshake_.FindFolderPath(placeholder);
}

void PallantWebView::SetFullscreen(bool on) {
    windowState_->SetFullscreen(on);
}

void PallantWebView::SetClientSize(int32_t width, int32_t height) {
    windowState_->SetClientSize(width, height);
}

void PallantWebView::MoveWindowTo(int32_t x, int32_t y) {
    windowState_->MoveWindowTo(x, y);
}

void PallantWebView::ShowMainWindow(WindowShow show) {
    ShowWindow(window_, show == WindowShow::Maximize   ? SW_MAXIMIZE
                        : show == WindowShow::Minimize ? SW_MINIMIZE
                                                       : SW_RESTORE);
}

void PallantWebView::FocusWindow() {
    SetForegroundWindow(window_);
    if (controller_) controller_->MoveFocus(COREWEBVIEW2_MOVE_FOCUS_REASON_PROGRAMMATIC);
}

void PallantWebView::OnMainWindowSized(WPARAM sizeKind) {
    if (!controller_) return;
    RECT bounds{};
    GetClientRect(window_, &bounds);
    TraceIfFailed(controller_->put_Bounds(bounds), "put_Bounds");
    const char* notice = sizeKind == SIZE_MAXIMIZED   ? R"({"type":"window-maximized"})"
                         : sizeKind == SIZE_MINIMIZED ? R"({"type":"window-minimized"})"
                                                      : nullptr;
    if (notice) PostToPage(notice);
}

void PallantWebView::OnMainWindowMoved() {
    if (controller_) controller_->NotifyParentWindowPositionChanged();
}

void PallantWebView::OnMainWindowFocused() {
    if (controller_) controller_->MoveFocus(COREWEBVIEW2_MOVE_FOCUS_REASON_PROGRAMMATIC);
}

void PallantWebView::SetPointerLockEnabled(bool enabled) {
    pointerLock_.SetPointerLockEnabled(enabled);
}

void PallantWebView::OnRawInput(HRAWINPUT input) {
    pointerLock_.OnRawInput(input);
}

void PallantWebView::OnMainWindowActivation(bool active) {
    pointerLock_.OnActivation(active);
}

void PallantWebView::OnTimer(UINT_PTR id) {
    switch (id) {
        case pointerLockTimerId:
            pointerLock_.ClipCursorToWindow();
            break;
        case closeTimeoutTimerId:
            // The page had its time to save.
            KillTimer(window_, id);
            DestroyWindow(window_);
            break;
        case showWindowTimerId:
            KillTimer(window_, id);
            if (!pageShown_) ShowPage();
            break;
        case unresponsiveTimerId:
            KillTimer(window_, id);
            AskAboutUnresponsivePage();
            break;
        default:
            break;
    }
}

void PallantWebView::SetCloseHandling(bool enabled) {
    close_.SetEnabled(enabled);
}

void PallantWebView::CloseWindow() {
    // Posted: closing inside the runtime's callback would destroy the control under it.
    close_.SetEnabled(false);
    PostMessageW(window_, WM_CLOSE, 0, 0);
}

bool PallantWebView::OnCloseRequested() {
    if (close_.OnCloseRequested() == CloseProtocol::Decision::CloseNow) return true;
    PostToPage(R"({"type":"window-close-requested"})");
    SetTimer(window_, closeTimeoutTimerId, close_.TimeoutMs(), nullptr);
    return false;
}

void PallantWebView::OnSessionEnding() {
    if (close_.OnCloseRequested() == CloseProtocol::Decision::Announce) {
        PostToPage(R"({"type":"window-close-requested"})");
    }
}

void PallantWebView::OnSessionEnded() {
    // Windows ends the process soon after this returns: the page saves while the loop
    // runs here, until it asks to close or the timeout comes first.
    if (close_.Announced()) {
        const ULONGLONG end = GetTickCount64() + close_.TimeoutMs();
        MSG message{};
        while (GetTickCount64() < end) {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(end - GetTickCount64()), QS_ALLINPUT);
            bool closeAsked = false;
            while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
                if (message.hwnd == window_ && message.message == WM_CLOSE) {
                    closeAsked = true;
                    continue;
                }
                TranslateMessage(&message);
                DispatchMessageW(&message);
            }
            if (closeAsked) break;
        }
    }
    if (IsWindow(window_)) DestroyWindow(window_);
}

void PallantWebView::OnMainWindowDestroying() {
    KillTimer(window_, closeTimeoutTimerId);
    KillTimer(window_, showWindowTimerId);
    KillTimer(window_, unresponsiveTimerId);
    // The extension goes while its last messages can still reach the page, then the browser.
    extensions_.Unload();
    ReleaseBrowser();
    SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
}
