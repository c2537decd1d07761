#pragma once
// The one web view host object: the hub between the browser and the host. It holds
// the browser objects and owns one object per subsystem (content server, window
// state, handshake, pointer lock); its operations hand each request to the owner.

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "util/app_config.h"
#include "bridge/init_handshake.h"
#include "bridge/web_message.h"
#include "bundle/asset_bundle.h"
#include "extensions/extension_manager.h"
#include "input/pointer_lock.h"
#include "server/content_server.h"
#include "util/win_handles.h"
#include "webview/browser_loader.h"
#include "webview/webview2.h"
#include "webview/window_operations.h"

class PallantWebView final : private PageRequests, private ExtensionPage {
public:
    // Shows the user a failure of the browser start and ends the run; the entry point supplies it.
    using FailureReport = std::function<void(const std::string& message)>;

    // Registers itself with `extensions`, which must stay until the message loop has ended.
    PallantWebView(const AppConfig& config, const AssetBundle& bundle, HWND window, std::string appFolder,
                   std::string webFolder, const wchar_t* browserFolder, std::string userDataFolder,
                   const BrowserLoader& loader, ExtensionManager& extensions,
                   std::unique_ptr<WindowOperations> windowState, FailureReport reportFailure);
    PallantWebView(const PallantWebView&) = delete;
    PallantWebView& operator=(const PallantWebView&) = delete;

    // Starts creating the browser environment; returns before it exists.
    void Init();
    HRESULT OnEnvironmentCreated(HRESULT result, ICoreWebView2Environment* createdEnvironment);
    HRESULT OnControllerCreated(HRESULT result, ICoreWebView2Controller* createdController);

    // Content server.
    HRESULT HandleResourceRequest(ICoreWebView2WebResourceRequestedEventArgs* args);
    void CloseMappedFiles();

    // Message channel.
    void HandleWebMessage(const std::string& text);
    void PostToPage(const std::string& json) override;

    // Start-up handshake: directory handles, the init response, the extension's held messages.
    void SendInitResponse(bool withFolders) override;

    // Window operations.
    void SetFullscreen(bool on) override;
    void SetClientSize(int32_t width, int32_t height) override;
    void MoveWindowTo(int32_t x, int32_t y) override;
    void ShowMainWindow(WindowShow show) override;
    void FocusWindow() override;
    // WM_SIZE: the browser control follows the client area; the page hears of maximise and minimise.
    void OnMainWindowSized(WPARAM sizeKind);

    // Pointer lock.
    void SetPointerLockEnabled(bool enabled) override;
    void ClipCursorToWindow();
    void OnRawInput(HRAWINPUT input);
    // WM_ACTIVATE and the like: the locked cursor is let go while another window is in front.
    void OnMainWindowActivation(bool active);

    const AppConfig& config;
    const HWND window;
    const std::string appFolder;
    const std::string webFolder;
    const std::string userDataFolder;
    const std::string originUrl;
    const wchar_t* const browserFolder;
    // Released in reverse order when the host goes: the subsystems first, the environment last.
    ComPtr<ICoreWebView2Environment> environment;
    ComPtr<ICoreWebView2Controller> controller;
    ComPtr<ICoreWebView2> webView;
    ComPtr<ICoreWebView2_2> webView2;

private:
    void DeliverPageMessage(const std::string& text) override;
    const std::string* FindFolderPath(const std::string& placeholder) const override;

    void RegisterAcceleratorKeyHandler();
    void RegisterEventHandlers();
    void ShowPage();
    // Environment or controller creation failed: reported once, through reportFailure_.
    void FailBrowserStart(HRESULT code);

    const BrowserLoader& loader_;
    ExtensionManager& extensions_;
    const FailureReport reportFailure_;
    bool browserStartFailed_ = false;
    // The subsystems. The window state goes first, and with it the taskbar list.
    ContentServer server_;
    InitHandshake handshake_;
    PointerLock pointerLock_;
    const std::unique_ptr<WindowOperations> windowState_;
};
