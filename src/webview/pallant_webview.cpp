#include "webview/pallant_webview.h"

#include <cstdio>
#include <utility>

#include "util/text_convert.h"
#include "webview/app_origin.h"
#include "webview/com_callback.h"
#include "webview/environment_options.h"

PallantWebView::PallantWebView(const AppConfig& config, const AssetBundle& bundle, HWND window, std::string appFolder,
                               std::string webFolder, const wchar_t* browserFolder, std::string userDataFolder,
                               const BrowserLoader& loader, ExtensionManager& extensions,
                               std::unique_ptr<WindowOperations> windowState, FailureReport reportFailure)
    : config(config),
      window(window),
      appFolder(std::move(appFolder)),
      webFolder(std::move(webFolder)),
      userDataFolder(std::move(userDataFolder)),
      originUrl(config.contentMode == ContentMode::Bundle ? std::string(appOriginUrl) : config.main),
      browserFolder(browserFolder),
      loader_(loader),
      extensions_(extensions),
      reportFailure_(std::move(reportFailure)),
      server_(bundle, this->appFolder, this->webFolder, originUrl),
      handshake_(this->appFolder, this->webFolder, this->userDataFolder, config.folderAccess),
      pointerLock_(window, [this](const std::string& json) { PostToPage(json); }),
      windowState_(std::move(windowState)) {
    extensions_.AttachWebView(this);
}

void PallantWebView::Init() {
    const std::wstring arguments = Utf8ToWide(config.chromiumArgs);
    const std::wstring dataFolder = Utf8ToWide(userDataFolder);
    if (config.hostingMode == HostingMode::WindowToVisual) {
        SetEnvironmentVariableW(L"COREWEBVIEW2_FORCED_HOSTING_MODE", L"COREWEBVIEW2_HOSTING_MODE_WINDOW_TO_VISUAL");
    }
    ComPtr<ICoreWebView2EnvironmentOptions> options = CreateEnvironmentOptions();
    if (!options) {
        FailBrowserStart(E_OUTOFMEMORY);
        return;
    }
    options->put_AdditionalBrowserArguments(arguments.c_str());
    auto handler = MakeCallback<ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler>(
        [this](HRESULT result, ICoreWebView2Environment* created) { return OnEnvironmentCreated(result, created); });
    // A call refused at once never completes: without this the hidden window would wait forever.
    const HRESULT started =
        loader_.createEnvironmentWithOptions(browserFolder, dataFolder.c_str(), options.get(), handler.get());
    if (FAILED(started)) FailBrowserStart(started);
}

HRESULT PallantWebView::OnEnvironmentCreated(HRESULT result, ICoreWebView2Environment* createdEnvironment) {
    environment = ComPtr<ICoreWebView2Environment>::Wrap(createdEnvironment);
    if (FAILED(result) || !environment) {
        FailBrowserStart(result);
        return S_OK;
    }
    auto handler = MakeCallback<ICoreWebView2CreateCoreWebView2ControllerCompletedHandler>(
        [this](HRESULT code, ICoreWebView2Controller* created) { return OnControllerCreated(code, created); });

    HRESULT started = S_OK;
    if (auto environment10 = environment.query<ICoreWebView2Environment10>()) {
        ComPtr<ICoreWebView2ControllerOptions> options;
        environment10->CreateCoreWebView2ControllerOptions(options.put());
        if (auto options4 = options.query<ICoreWebView2ControllerOptions4>()) {
            options4->put_AllowHostInputProcessing(config.allowHostInputProcessing ? TRUE : FALSE);
            const COREWEBVIEW2_COLOR background{255, config.backgroundColor.red, config.backgroundColor.green,
                                                config.backgroundColor.blue};
            options4->put_DefaultBackgroundColor(background);
        }
        started = environment10->CreateCoreWebView2ControllerWithOptions(window, options.get(), handler.get());
    } else {
        started = environment->CreateCoreWebView2Controller(window, handler.get());
    }
    if (FAILED(started)) FailBrowserStart(started);
    return S_OK;
}

void PallantWebView::FailBrowserStart(HRESULT code) {
    if (browserStartFailed_) return;
    browserStartFailed_ = true;
    // A success code without an object is still a failure: show a failure code for it.
    const HRESULT shown = FAILED(code) ? code : E_POINTER;
    char text[96];
    std::snprintf(text, sizeof text, "The browser control could not be started (error 0x%08lX).",
                  static_cast<unsigned long>(shown));
    reportFailure_(text);
}

HRESULT PallantWebView::HandleResourceRequest(ICoreWebView2WebResourceRequestedEventArgs* args) {
    return server_.HandleResourceRequest(environment.get(), args);
}

void PallantWebView::CloseMappedFiles() {
    server_.CloseMappedFiles();
}

void PallantWebView::HandleWebMessage(const std::string& text) {
    ::HandleWebMessage(text, *this);
}

// In remote mode the window may show a foreign site by now: nothing goes to it. Bundle
// mode never leaves the app origin.
void PallantWebView::PostToPage(const std::string& json) {
    if (!webView) return;
    if (config.contentMode == ContentMode::Remote && !TopDocumentIsAppPage(webView.get(), originUrl)) return;
    webView->PostWebMessageAsJson(Utf8ToWide(json).c_str());
}

void PallantWebView::SendInitResponse(bool withFolders) {
    if (withFolders && (config.contentMode == ContentMode::Bundle || TopDocumentIsAppPage(webView.get(), originUrl))) {
        handshake_.SendDirectoryHandles(environment.get(), webView.get());
    }
    PostToPage(InitHandshake::InitResponse(extensions_.ComponentIds()));
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
    ShowWindow(window, show == WindowShow::Maximize   ? SW_MAXIMIZE
                       : show == WindowShow::Minimize ? SW_MINIMIZE
                                                      : SW_RESTORE);
}

void PallantWebView::FocusWindow() {
    SetForegroundWindow(window);
    if (controller) controller->MoveFocus(COREWEBVIEW2_MOVE_FOCUS_REASON_PROGRAMMATIC);
}

void PallantWebView::OnMainWindowSized(WPARAM sizeKind) {
    if (!controller) return;
    RECT bounds{};
    GetClientRect(window, &bounds);
    controller->put_Bounds(bounds);
    const char* notice = sizeKind == SIZE_MAXIMIZED   ? R"({"type":"window-maximized"})"
                         : sizeKind == SIZE_MINIMIZED ? R"({"type":"window-minimized"})"
                                                      : nullptr;
    if (notice) PostToPage(notice);
}

void PallantWebView::SetPointerLockEnabled(bool enabled) {
    pointerLock_.SetPointerLockEnabled(enabled);
}

void PallantWebView::ClipCursorToWindow() {
    pointerLock_.ClipCursorToWindow();
}

void PallantWebView::OnRawInput(HRAWINPUT input) {
    pointerLock_.OnRawInput(input);
}

void PallantWebView::OnMainWindowActivation(bool active) {
    pointerLock_.OnActivation(active);
}
