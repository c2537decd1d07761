// Windows-only. A small host that drives the stand-in runtime the way
// tessarine.exe does: options, environment, controller (with options when
// offered), settings, the ten event handlers, the resource filter, navigation,
// and a message loop that ends when its window is destroyed.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "util/win_handles.h"
#include "util/webview2.h"

inline constexpr wchar_t testOrigin[] = L"https://app.localhost/";

class TestHost {
public:
    explicit TestHost(HMODULE loader);
    ~TestHost();
    TestHost(const TestHost&) = delete;
    TestHost& operator=(const TestHost&) = delete;

    // Calls CreateCoreWebView2EnvironmentWithOptions; returns its result.
    HRESULT Start(PCWSTR browserFolder, PCWSTR userDataFolder);
    // Runs the message loop until the window is destroyed; false on timeout.
    bool RunUntilQuit(DWORD timeoutMs);
    // Drops the browser objects in the host's order (web views, controller, environment).
    void ReleaseBrowser();

    HWND window() const { return window_; }

    // What the host saw.
    bool completionInsideCreate = false;
    HRESULT environmentCode = S_OK;
    bool environmentDelivered = false;
    HRESULT controllerCode = S_OK;
    bool controllerDelivered = false;
    bool usedControllerOptions = false;
    std::vector<std::wstring> messages;  // string messages received
    int nonStringMessages = 0;
    bool fullscreen = false;

    ComPtr<ICoreWebView2Environment> environment;
    ComPtr<ICoreWebView2Controller> controller;
    ComPtr<ICoreWebView2> webView;
    ComPtr<ICoreWebView2_2> webView2;

private:
    HRESULT OnEnvironment(HRESULT code, ICoreWebView2Environment* created);
    HRESULT OnController(HRESULT code, ICoreWebView2Controller* created);
    void RegisterHandlers();
    HRESULT OnResourceRequest(ICoreWebView2WebResourceRequestedEventArgs* args);
    HRESULT OnMessage(ICoreWebView2WebMessageReceivedEventArgs* args);
    void SendDirectoryHandles();

    HMODULE loader_;
    HWND window_ = nullptr;
    bool insideCreate_ = false;
};
