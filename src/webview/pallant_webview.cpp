#include "webview/pallant_webview.h"

#include <cstdio>

#include "app/error_box.h"
#include "app/host_globals.h"
#include "util/text_convert.h"
#include "webview/app_origin.h"
#include "webview/com_callback.h"
#include "webview/environment_options.h"

PallantWebView::PallantWebView(const AppConfig& config, AssetBundle& bundle, HWND window, std::string appFolder,
                               std::string webFolder, const wchar_t* browserFolder, std::string userDataFolder,
                               const BrowserLoader& loader)
    : config(config),
      bundle(bundle),
      extensions(*g_extensionManager),
      window(window),
      appFolder(std::move(appFolder)),
      webFolder(std::move(webFolder)),
      userDataFolder(std::move(userDataFolder)),
      originUrl(config.contentMode == ContentMode::Bundle ? std::string(appOriginUrl) : config.main),
      browserFolder(browserFolder),
      loader_(loader) {
    extensions.AttachWebView(this);
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
    auto environment10 = environment.query<ICoreWebView2Environment10>(__uuidof(ICoreWebView2Environment10));
    if (environment10) {
        ComPtr<ICoreWebView2ControllerOptions> options;
        environment10->CreateCoreWebView2ControllerOptions(options.put());
        if (options) {
            auto options4 = options.query<ICoreWebView2ControllerOptions4>(__uuidof(ICoreWebView2ControllerOptions4));
            if (options4) {
                options4->put_AllowHostInputProcessing(config.allowHostInputProcessing ? TRUE : FALSE);
                const COREWEBVIEW2_COLOR background{255, config.backgroundColor.red, config.backgroundColor.green,
                                                    config.backgroundColor.blue};
                options4->put_DefaultBackgroundColor(background);
            }
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
    ShowErrorBox(text);
    // An orderly end: the loop runs the normal shutdown, with exit code 1.
    DestroyWindow(window);
    PostQuitMessage(1);
}
