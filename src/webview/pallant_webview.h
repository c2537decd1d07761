#pragma once
// The one web view host object: holds the browser objects and the state that the
// window operations, the content server, the handshake and pointer lock keep.

#include <windows.h>
#include <shobjidl.h>

#include <cstdint>
#include <map>
#include <string>

#include "app/app_config.h"
#include "bundle/asset_bundle.h"
#include "extensions/extension_manager.h"
#include "util/win_handles.h"
#include "webview/browser_loader.h"
#include "webview/webview2.h"

// A folder file mapped for partial answers; kept until shutdown.
struct MappedFile {
    UniqueHandle file;
    UniqueHandle mapping;
    MappedView view;
};

class PallantWebView {
public:
    PallantWebView(const AppConfig& config, AssetBundle& bundle, HWND window, std::string appFolder,
                   std::string webFolder, const wchar_t* browserFolder, std::string userDataFolder,
                   const BrowserLoader& loader);
    PallantWebView(const PallantWebView&) = delete;
    PallantWebView& operator=(const PallantWebView&) = delete;

    // Starts creating the browser environment; returns before it exists.
    void Init();
    HRESULT OnEnvironmentCreated(HRESULT result, ICoreWebView2Environment* createdEnvironment);
    HRESULT OnControllerCreated(HRESULT result, ICoreWebView2Controller* createdController);

    // Content server.
    HRESULT HandleResourceRequest(ICoreWebView2WebResourceRequestedEventArgs* args);
    const uint8_t* MapFile(const std::string& requestPath, const std::string& fullPath);
    void CloseMappedFiles();

    // Message channel.
    void HandleWebMessage(const std::string& text);
    void PostToPage(const std::string& json);

    // Start-up handshake.
    void SendInitResponse();
    void SendDirectoryHandles();
    void AddDirectoryHandle(ICoreWebView2Environment14* environment14, ICoreWebView2FileSystemHandle** slot,
                            const std::string& placeholder, const std::string& path);

    // Window state.
    void SetFullscreen(bool on);
    void SetClientSize(int32_t width, int32_t height);
    void MoveWindowTo(int32_t x, int32_t y);
    void FocusWindow();
    void OnMainWindowSized(WPARAM sizeKind);

    // Pointer lock.
    void SetPointerLockEnabled(bool enabled);
    void ClipCursorToWindow();
    void PostPointerMovement(int32_t dx, int32_t dy);
    void OnRawInput(HRAWINPUT input);
    void OnRawMouse(const RAWMOUSE& mouse);

    const AppConfig& config;
    AssetBundle& bundle;
    ExtensionManager& extensions;
    HWND window;
    std::string appFolder;
    std::string webFolder;
    std::string userDataFolder;
    std::string originUrl;
    const wchar_t* browserFolder;
    ComPtr<ICoreWebView2Environment> environment;
    ComPtr<ICoreWebView2Controller> controller;
    ComPtr<ICoreWebView2> webView;
    ComPtr<ICoreWebView2_2> webView2;
    ComPtr<ITaskbarList2> taskbarList;
    std::map<std::string, MappedFile> mappedFiles;
    bool isFullscreen = false;
    LONG savedStyle = 0;
    LONG savedExStyle = 0;
    RECT savedWindowRect{};
    std::map<std::string, std::string> folderPaths;
    bool pointerLockEnabled = false;
    bool skipNextAbsoluteSample = false;
    int32_t lastAbsoluteX = 0;
    int32_t lastAbsoluteY = 0;

private:
    void RegisterAcceleratorKeyHandler();
    void RegisterEventHandlers();
    void ShowPage();
    // Environment or controller creation failed: tell the user and end with exit code 1.
    void FailBrowserStart(HRESULT code);

    const BrowserLoader& loader_;
    bool browserStartFailed_ = false;
};
