// Windows-only.
#include "test_host.h"

#include <shlwapi.h>

#include <cstring>
#include <string>

#include "test_handler.h"

namespace {

constexpr wchar_t windowClass[] = L"TessarineStandinSelfCheck";
constexpr UINT_PTR timeoutTimer = 77;
bool timedOut = false;

LRESULT CALLBACK TestWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_DESTROY:
            ::PostQuitMessage(0);
            return 0;
        case WM_TIMER:
            if (wParam == timeoutTimer) {
                timedOut = true;
                ::DestroyWindow(window);
            }
            return 0;
        default:
            return ::DefWindowProcW(window, message, wParam, lParam);
    }
}

// The tiny options object: only the first options interface, with values
// that the transcript must show.
class TinyOptions final : public ComObject<ICoreWebView2EnvironmentOptions> {
public:
    HRESULT STDMETHODCALLTYPE get_AdditionalBrowserArguments(LPWSTR* value) override {
        return Copy(L"--self-check", value);
    }
    HRESULT STDMETHODCALLTYPE put_AdditionalBrowserArguments(LPCWSTR) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE get_Language(LPWSTR* value) override {
        *value = nullptr;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE put_Language(LPCWSTR) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE get_TargetCompatibleBrowserVersion(LPWSTR* value) override {
        return Copy(L"144.0.3719.77", value);
    }
    HRESULT STDMETHODCALLTYPE put_TargetCompatibleBrowserVersion(LPCWSTR) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE get_AllowSingleSignOnUsingOSPrimaryAccount(BOOL* allow) override {
        *allow = TRUE;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE put_AllowSingleSignOnUsingOSPrimaryAccount(BOOL) override { return S_OK; }

private:
    static HRESULT Copy(const std::wstring& text, LPWSTR* out) {
        const std::size_t bytes = (text.size() + 1) * sizeof(wchar_t);
        *out = static_cast<LPWSTR>(::CoTaskMemAlloc(bytes));
        if (*out == nullptr) return E_OUTOFMEMORY;
        std::memcpy(*out, text.c_str(), bytes);
        return S_OK;
    }
};

std::wstring TakeString(LPWSTR text) {
    std::wstring copy = text != nullptr ? text : L"";
    ::CoTaskMemFree(text);
    return copy;
}

}  // namespace

TestHost::TestHost(HMODULE loader) : loader_(loader) {
    WNDCLASSEXW windowClassInfo{};
    windowClassInfo.cbSize = sizeof windowClassInfo;
    windowClassInfo.lpfnWndProc = TestWindowProc;
    windowClassInfo.hInstance = ::GetModuleHandleW(nullptr);
    windowClassInfo.lpszClassName = windowClass;
    ::RegisterClassExW(&windowClassInfo);
    window_ = ::CreateWindowExW(0, windowClass, L"self-check", WS_OVERLAPPEDWINDOW, 10, 10, 640, 480, nullptr, nullptr,
                                ::GetModuleHandleW(nullptr), nullptr);
}

TestHost::~TestHost() {
    ReleaseBrowser();
    if (::IsWindow(window_)) ::DestroyWindow(window_);
    // Leave no WM_QUIT behind for the next test's loop.
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    }
    ::UnregisterClassW(windowClass, ::GetModuleHandleW(nullptr));
}

HRESULT TestHost::Start(PCWSTR browserFolder, PCWSTR userDataFolder) {
    const auto create = reinterpret_cast<CreateCoreWebView2EnvironmentWithOptionsFn>(
        reinterpret_cast<void*>(::GetProcAddress(loader_, "CreateCoreWebView2EnvironmentWithOptions")));
    if (create == nullptr) return E_NOTIMPL;
    ComPtr<ICoreWebView2EnvironmentOptions> options;
    options.attach(new TinyOptions());
    auto handler = MakeHandler<ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler>(
        [this](HRESULT code, ICoreWebView2Environment* created) { return OnEnvironment(code, created); });
    insideCreate_ = true;
    const HRESULT hr = create(browserFolder, userDataFolder, options.get(), handler.get());
    insideCreate_ = false;
    return hr;
}

bool TestHost::RunUntilQuit(DWORD timeoutMs) {
    timedOut = false;
    ::SetTimer(window_, timeoutTimer, timeoutMs, nullptr);
    MSG message;
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
    return !timedOut;
}

void TestHost::ReleaseBrowser() {
    webView2.reset();
    webView.reset();
    controller.reset();
    environment.reset();
}

HRESULT TestHost::OnEnvironment(HRESULT code, ICoreWebView2Environment* created) {
    completionInsideCreate = completionInsideCreate || insideCreate_;
    environmentDelivered = true;
    environmentCode = code;
    if (created == nullptr) return S_OK;
    environment = ComPtr<ICoreWebView2Environment>::Wrap(created);
    auto handler = MakeHandler<ICoreWebView2CreateCoreWebView2ControllerCompletedHandler>(
        [this](HRESULT result, ICoreWebView2Controller* made) { return OnController(result, made); });
    auto environment10 = environment.query<ICoreWebView2Environment10>();
    if (environment10) {
        ComPtr<ICoreWebView2ControllerOptions> options;
        environment10->CreateCoreWebView2ControllerOptions(options.put());
        if (auto options4 = options.query<ICoreWebView2ControllerOptions4>()) {
            options4->put_AllowHostInputProcessing(TRUE);
            options4->put_DefaultBackgroundColor(COREWEBVIEW2_COLOR{255, 16, 32, 48});
        }
        usedControllerOptions = true;
        environment10->CreateCoreWebView2ControllerWithOptions(window_, options.get(), handler.get());
    } else {
        environment->CreateCoreWebView2Controller(window_, handler.get());
    }
    return S_OK;
}

HRESULT TestHost::OnController(HRESULT code, ICoreWebView2Controller* created) {
    controllerDelivered = true;
    controllerCode = code;
    if (created == nullptr) return S_OK;
    controller = ComPtr<ICoreWebView2Controller>::Wrap(created);
    controller->get_CoreWebView2(webView.put());
    webView2 = webView.query<ICoreWebView2_2>();

    ComPtr<ICoreWebView2Settings> settings;
    webView->get_Settings(settings.put());
    settings->put_IsScriptEnabled(TRUE);
    settings->put_AreHostObjectsAllowed(FALSE);
    if (auto settings3 = settings.query<ICoreWebView2Settings3>()) {
        settings3->put_AreBrowserAcceleratorKeysEnabled(FALSE);
        EventRegistrationToken token{};
        controller->add_AcceleratorKeyPressed(
            MakeHandler<ICoreWebView2AcceleratorKeyPressedEventHandler>(
                [this](ICoreWebView2Controller*, ICoreWebView2AcceleratorKeyPressedEventArgs* args) {
                    UINT key = 0;
                    args->get_VirtualKey(&key);
                    if (key == VK_F12) webView->OpenDevToolsWindow();
                    return S_OK;
                })
                .get(),
            &token);
    }
    if (auto settings8 = settings.query<ICoreWebView2Settings8>()) {
        settings8->put_IsPinchZoomEnabled(FALSE);
    }
    RECT bounds{};
    ::GetClientRect(window_, &bounds);
    controller->put_Bounds(bounds);
    RegisterHandlers();
    webView->Navigate((std::wstring(testOrigin) + L"index.html").c_str());
    return S_OK;
}

void TestHost::RegisterHandlers() {
    EventRegistrationToken token{};
    webView->add_DocumentTitleChanged(
        MakeHandler<ICoreWebView2DocumentTitleChangedEventHandler>([this](ICoreWebView2* sender, IUnknown*) {
            LPWSTR title = nullptr;
            sender->get_DocumentTitle(&title);
            ::SetWindowTextW(window_, TakeString(title).c_str());
            return S_OK;
        }).get(),
        &token);
    webView->AddWebResourceRequestedFilter((std::wstring(testOrigin) + L"*").c_str(),
                                           COREWEBVIEW2_WEB_RESOURCE_CONTEXT_ALL);
    webView->add_WebResourceRequested(MakeHandler<ICoreWebView2WebResourceRequestedEventHandler>(
                                          [this](ICoreWebView2*, ICoreWebView2WebResourceRequestedEventArgs* args) {
                                              return OnResourceRequest(args);
                                          })
                                          .get(),
                                      &token);
    webView->add_NavigationStarting(
        MakeHandler<ICoreWebView2NavigationStartingEventHandler>([](ICoreWebView2*,
                                                                    ICoreWebView2NavigationStartingEventArgs* args) {
            LPWSTR uri = nullptr;
            args->get_Uri(&uri);
            if (TakeString(uri).rfind(testOrigin, 0) != 0) args->put_Cancel(TRUE);
            return S_OK;
        }).get(),
        &token);
    webView->add_PermissionRequested(
        MakeHandler<ICoreWebView2PermissionRequestedEventHandler>([](ICoreWebView2*,
                                                                     ICoreWebView2PermissionRequestedEventArgs* args) {
            args->put_State(COREWEBVIEW2_PERMISSION_STATE_ALLOW);
            return S_OK;
        }).get(),
        &token);
    webView->add_ContainsFullScreenElementChanged(
        MakeHandler<ICoreWebView2ContainsFullScreenElementChangedEventHandler>([this](ICoreWebView2* sender,
                                                                                      IUnknown*) {
            BOOL value = FALSE;
            sender->get_ContainsFullScreenElement(&value);
            fullscreen = value != FALSE;
            return S_OK;
        }).get(),
        &token);
    webView->add_WindowCloseRequested(
        MakeHandler<ICoreWebView2WindowCloseRequestedEventHandler>([this](ICoreWebView2*, IUnknown*) {
            ::SendMessageW(window_, WM_CLOSE, 0, 0);
            return S_OK;
        }).get(),
        &token);
    webView->add_NewWindowRequested(
        MakeHandler<ICoreWebView2NewWindowRequestedEventHandler>([](ICoreWebView2*,
                                                                    ICoreWebView2NewWindowRequestedEventArgs* args) {
            LPWSTR uri = nullptr;
            args->get_Uri(&uri);
            ::CoTaskMemFree(uri);
            args->put_Handled(TRUE);
            return S_OK;
        }).get(),
        &token);
    webView->add_WebMessageReceived(
        MakeHandler<ICoreWebView2WebMessageReceivedEventHandler>([this](
                                                                     ICoreWebView2*,
                                                                     ICoreWebView2WebMessageReceivedEventArgs* args) {
            return OnMessage(args);
        }).get(),
        &token);
    if (webView2) {
        webView2->add_DOMContentLoaded(
            MakeHandler<ICoreWebView2DOMContentLoadedEventHandler>([this](ICoreWebView2*,
                                                                          ICoreWebView2DOMContentLoadedEventArgs*) {
                ::ShowWindow(window_, SW_SHOW);
                controller->put_IsVisible(TRUE);
                controller->MoveFocus(COREWEBVIEW2_MOVE_FOCUS_REASON_PROGRAMMATIC);
                return S_OK;
            }).get(),
            &token);
    }
}

// Answers with "whole" (200) or with the Range value (206), as plain text.
HRESULT TestHost::OnResourceRequest(ICoreWebView2WebResourceRequestedEventArgs* args) {
    ComPtr<ICoreWebView2WebResourceRequest> request;
    args->get_Request(request.put());
    ComPtr<ICoreWebView2HttpRequestHeaders> headers;
    request->get_Headers(headers.put());
    BOOL hasRange = FALSE;
    headers->Contains(L"range", &hasRange);
    std::string body = "whole";
    if (hasRange) {
        LPWSTR range = nullptr;
        headers->GetHeader(L"RANGE", &range);
        const std::wstring value = TakeString(range);
        body.assign(value.begin(), value.end());
    }
    ComPtr<IStream> stream;
    stream.attach(::SHCreateMemStream(reinterpret_cast<const BYTE*>(body.data()), static_cast<UINT>(body.size())));
    const std::wstring headerText = L"Content-Type: text/plain\r\nContent-Length: " + std::to_wstring(body.size());
    ComPtr<ICoreWebView2WebResourceResponse> response;
    environment->CreateWebResourceResponse(stream.get(), hasRange ? 206 : 200, hasRange ? L"Partial Content" : L"OK",
                                           headerText.c_str(), response.put());
    args->put_Response(response.get());
    return S_OK;
}

HRESULT TestHost::OnMessage(ICoreWebView2WebMessageReceivedEventArgs* args) {
    LPWSTR source = nullptr;
    args->get_Source(&source);
    ::CoTaskMemFree(source);
    LPWSTR text = nullptr;
    if (FAILED(args->TryGetWebMessageAsString(&text))) {
        ++nonStringMessages;
        return S_OK;
    }
    const std::wstring message = TakeString(text);
    messages.push_back(message);
    if (message.find(L"wrapper-init") != std::wstring::npos) {
        SendDirectoryHandles();
        webView->PostWebMessageAsJson(L"{\"type\":\"wrapper-init-response\"}");
    }
    return S_OK;
}

void TestHost::SendDirectoryHandles() {
    auto environment14 = environment.query<ICoreWebView2Environment14>();
    auto webView23 = webView.query<ICoreWebView2_23>();
    if (!environment14 || !webView23) return;
    ComPtr<ICoreWebView2FileSystemHandle> handle;
    environment14->CreateWebFileSystemDirectoryHandle(
        L"C:\\data", COREWEBVIEW2_FILE_SYSTEM_HANDLE_PERMISSION_READ_WRITE, handle.put());
    IUnknown* items[2] = {handle.get(), nullptr};
    ComPtr<ICoreWebView2ObjectCollection> collection;
    environment14->CreateObjectCollection(2, items, collection.put());
    webView23->PostWebMessageAsJsonWithAdditionalObjects(L"{\"type\":\"directory-handles\"}", collection.get());
}
