// The browser's life: environment, controller (settings, bounds, event handlers,
// start page), its teardown, and its restart after a crash.
#include <cstdio>

#include "util/debug_trace.h"
#include "util/text_convert.h"
#include "webview/environment_options.h"
#include "webview/pallant_webview.h"

namespace {

// A last resort: a page whose first navigation never ends still gets its window.
constexpr UINT showWindowDelayMs = 5000;

}  // namespace

void PallantWebView::Init() {
    if (config_.hostingMode == HostingMode::WindowToVisual) {
        SetEnvironmentVariableW(L"COREWEBVIEW2_FORCED_HOSTING_MODE", L"COREWEBVIEW2_HOSTING_MODE_WINDOW_TO_VISUAL");
    }
    CreateEnvironment();
}

void PallantWebView::CreateEnvironment() {
    ComPtr<ICoreWebView2EnvironmentOptions> options = CreateEnvironmentOptions();
    if (!options) {
        FailBrowserStart(E_OUTOFMEMORY);
        return;
    }
    TraceIfFailed(options->put_AdditionalBrowserArguments(Utf8ToWide(config_.chromiumArgs).c_str()),
                  "put_AdditionalBrowserArguments");
    auto handler = MakeHubCallback<ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler>(
        link_, &PallantWebView::OnEnvironmentCreated);
    // A call refused at once never completes: without this the hidden window would wait forever.
    const HRESULT started = loader_.createEnvironmentWithOptions(browserFolder_, Utf8ToWide(userDataFolder_).c_str(),
                                                                 options.get(), handler.get());
    if (FAILED(started)) FailBrowserStart(started);
}

HRESULT PallantWebView::OnEnvironmentCreated(HRESULT result, ICoreWebView2Environment* created) {
    if (FAILED(result) || !created) {
        FailBrowserStart(result);
        return S_OK;
    }
    environment_ = ComPtr<ICoreWebView2Environment>::Wrap(created);
    if (auto environment5 = environment_.query<ICoreWebView2Environment5>()) {
        subscriptions_.Add(environment5.get(), &ICoreWebView2Environment5::add_BrowserProcessExited,
                           &ICoreWebView2Environment5::remove_BrowserProcessExited, link_,
                           &PallantWebView::OnBrowserProcessExited);
    }
    auto handler = MakeHubCallback<ICoreWebView2CreateCoreWebView2ControllerCompletedHandler>(
        link_, &PallantWebView::OnControllerCreated);
    HRESULT started = S_OK;
    if (auto environment10 = environment_.query<ICoreWebView2Environment10>()) {
        ComPtr<ICoreWebView2ControllerOptions> options;
        environment10->CreateCoreWebView2ControllerOptions(options.put());
        if (auto options4 = options.query<ICoreWebView2ControllerOptions4>()) {
            options4->put_AllowHostInputProcessing(config_.allowHostInputProcessing ? TRUE : FALSE);
            const COREWEBVIEW2_COLOR background{255, config_.backgroundColor.red, config_.backgroundColor.green,
                                                config_.backgroundColor.blue};
            options4->put_DefaultBackgroundColor(background);
        }
        started = environment10->CreateCoreWebView2ControllerWithOptions(window_, options.get(), handler.get());
    } else {
        started = environment_->CreateCoreWebView2Controller(window_, handler.get());
    }
    if (FAILED(started)) FailBrowserStart(started);
    return S_OK;
}

void PallantWebView::FailBrowserStart(HRESULT code) {
    if (!startFailure_.empty()) return;
    // A success code without an object is still a failure: show a failure code for it.
    const HRESULT shown = FAILED(code) ? code : E_POINTER;
    char text[96];
    std::snprintf(text, sizeof text, "The browser control could not be started (error 0x%08lX).",
                  static_cast<unsigned long>(shown));
    startFailure_ = text;
    // The box waits for the message loop: a modal loop inside the runtime's callback
    // would let it call in again.
    PostMessageW(window_, hostTaskMessage, static_cast<WPARAM>(HostTask::ReportStartFailure), 0);
}

HRESULT PallantWebView::OnControllerCreated(HRESULT result, ICoreWebView2Controller* created) {
    if (FAILED(result) || !created) {
        FailBrowserStart(result);
        return S_OK;
    }
    controller_ = ComPtr<ICoreWebView2Controller>::Wrap(created);
    controller_->get_CoreWebView2(webView_.put());
    if (!webView_) {
        FailBrowserStart(result);
        return S_OK;
    }
    webView2_ = webView_.query<ICoreWebView2_2>();
    ApplySettings();

    RECT bounds{};
    GetClientRect(window_, &bounds);
    TraceIfFailed(controller_->put_Bounds(bounds), "put_Bounds");

    SubscribeToEvents();
    NavigateToStartPage();
    if (!pageShown_) SetTimer(window_, showWindowTimerId, showWindowDelayMs, nullptr);
    return S_OK;
}

void PallantWebView::ApplySettings() {
    ComPtr<ICoreWebView2Settings> settings;
    webView_->get_Settings(settings.put());
    if (settings) {
        TraceIfFailed(settings->put_IsScriptEnabled(TRUE), "put_IsScriptEnabled");
        TraceIfFailed(settings->put_AreHostObjectsAllowed(FALSE), "put_AreHostObjectsAllowed");
        TraceIfFailed(settings->put_AreDefaultScriptDialogsEnabled(TRUE), "put_AreDefaultScriptDialogsEnabled");
        TraceIfFailed(settings->put_IsWebMessageEnabled(TRUE), "put_IsWebMessageEnabled");
        TraceIfFailed(settings->put_IsZoomControlEnabled(FALSE), "put_IsZoomControlEnabled");
        TraceIfFailed(settings->put_AreDefaultContextMenusEnabled(TRUE), "put_AreDefaultContextMenusEnabled");
        TraceIfFailed(settings->put_AreDevToolsEnabled(config_.enableDevTools ? TRUE : FALSE),
                      "put_AreDevToolsEnabled");
    }
    // Without Settings3 the browser keeps its own keys and F12 is left to it.
    if (auto settings3 = settings.query<ICoreWebView2Settings3>()) {
        TraceIfFailed(settings3->put_AreBrowserAcceleratorKeysEnabled(FALSE), "put_AreBrowserAcceleratorKeysEnabled");
        subscriptions_.Add(controller_.get(), &ICoreWebView2Controller::add_AcceleratorKeyPressed,
                           &ICoreWebView2Controller::remove_AcceleratorKeyPressed, link_,
                           &PallantWebView::OnAcceleratorKeyPressed);
    }
    if (auto settings8 = settings.query<ICoreWebView2Settings8>()) {
        TraceIfFailed(settings8->put_IsReputationCheckingRequired(FALSE), "put_IsReputationCheckingRequired");
        TraceIfFailed(settings8->put_IsPinchZoomEnabled(FALSE), "put_IsPinchZoomEnabled");
        TraceIfFailed(settings8->put_IsSwipeNavigationEnabled(FALSE), "put_IsSwipeNavigationEnabled");
    }
}

void PallantWebView::AddResourceFilter() {
    // The plain filter covers only the documents' own requests; a service or shared
    // worker of the app asks the same origin and must be answered too.
    const std::wstring filter = Utf8ToWide(originUrl_ + "*");
    if (auto webView22 = webView_.query<ICoreWebView2_22>()) {
        if (SUCCEEDED(webView22->AddWebResourceRequestedFilterWithRequestSourceKinds(
                filter.c_str(), COREWEBVIEW2_WEB_RESOURCE_CONTEXT_ALL,
                COREWEBVIEW2_WEB_RESOURCE_REQUEST_SOURCE_KINDS_ALL))) {
            return;
        }
    }
    // The pages' own requests at least: without a filter nothing of the app would load.
    TraceIfFailed(webView_->AddWebResourceRequestedFilter(filter.c_str(), COREWEBVIEW2_WEB_RESOURCE_CONTEXT_ALL),
                  "AddWebResourceRequestedFilter");
}

void PallantWebView::SubscribeToEvents() {
    ICoreWebView2* const view = webView_.get();
    using V = ICoreWebView2;
    subscriptions_.Add(view, &V::add_DocumentTitleChanged, &V::remove_DocumentTitleChanged, link_,
                       &PallantWebView::OnDocumentTitleChanged);
    if (config_.contentMode == ContentMode::Bundle) {
        AddResourceFilter();
        subscriptions_.Add(view, &V::add_WebResourceRequested, &V::remove_WebResourceRequested, link_,
                           &PallantWebView::OnWebResourceRequested);
        subscriptions_.Add(view, &V::add_NavigationStarting, &V::remove_NavigationStarting, link_,
                           &PallantWebView::OnNavigationStarting);
    }
    subscriptions_.Add(view, &V::add_PermissionRequested, &V::remove_PermissionRequested, link_,
                       &PallantWebView::OnPermissionRequested);
    subscriptions_.Add(view, &V::add_ContainsFullScreenElementChanged, &V::remove_ContainsFullScreenElementChanged,
                       link_, &PallantWebView::OnFullScreenElementChanged);
    subscriptions_.Add(view, &V::add_WindowCloseRequested, &V::remove_WindowCloseRequested, link_,
                       &PallantWebView::OnWindowCloseRequested);
    subscriptions_.Add(view, &V::add_NewWindowRequested, &V::remove_NewWindowRequested, link_,
                       &PallantWebView::OnNewWindowRequested);
    subscriptions_.Add(view, &V::add_WebMessageReceived, &V::remove_WebMessageReceived, link_,
                       &PallantWebView::OnWebMessageReceived);
    if (webView2_) {
        subscriptions_.Add(webView2_.get(), &ICoreWebView2_2::add_DOMContentLoaded,
                           &ICoreWebView2_2::remove_DOMContentLoaded, link_, &PallantWebView::OnDOMContentLoaded);
    }
    subscriptions_.Add(view, &V::add_NavigationCompleted, &V::remove_NavigationCompleted, link_,
                       &PallantWebView::OnNavigationCompleted);
    subscriptions_.Add(view, &V::add_ProcessFailed, &V::remove_ProcessFailed, link_, &PallantWebView::OnProcessFailed);
}

void PallantWebView::NavigateToStartPage() {
    const std::string startUrl = config_.contentMode == ContentMode::Bundle ? originUrl_ + config_.main : config_.main;
    const HRESULT navigated = webView_->Navigate(Utf8ToWide(startUrl).c_str());
    // Without DOM-content-loaded events, or without a navigation, nothing else would
    // ever show the window.
    if (!webView2_ || FAILED(navigated)) ShowPage();
}

void PallantWebView::ReleaseBrowser() {
    subscriptions_.RemoveAll();
    if (controller_) controller_->Close();
    webView2_.reset();
    webView_.reset();
    controller_.reset();
    environment_.reset();
}

void PallantWebView::OnHostTask(HostTask task) {
    if (task == HostTask::ReportStartFailure) {
        reportFailure_(startFailure_);
        exitCode_ = 1;
        DestroyWindow(window_);
        return;
    }
    if (exitCode_ != 0 || !IsWindow(window_)) return;
    if (!restarts_.TryRestart(GetTickCount64())) {
        StopAfterRepeatedFailures();
        return;
    }
    restarted_ = true;
    if (task == HostTask::RestartPage) {
        if (webView_) webView_->Reload();
        return;
    }
    // Same folder, same options: the browser comes back with the app's profile.
    awaitingBrowserExit_ = false;
    ReleaseBrowser();
    CreateEnvironment();
}

void PallantWebView::RestartAfterFailure(HostTask task) {
    PostMessageW(window_, hostTaskMessage, static_cast<WPARAM>(task), 0);
}

void PallantWebView::StopAfterRepeatedFailures() {
    exitCode_ = 1;
    KillTimer(window_, unresponsiveTimerId);
    ShowPage();
    MessageBoxW(window_,
                L"The app stopped working and could not be restarted. It will close now; starting it again may help.",
                Utf8ToWide(config_.title).c_str(), MB_OK | MB_ICONERROR);
    DestroyWindow(window_);
}
