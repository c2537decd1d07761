#pragma once
// The one web view host object: the hub between the browser and the host. It holds
// the browser objects and owns one object per subsystem (content server, window
// state, handshake, pointer lock); its operations hand each request to the owner.
// The window procedure finds it through the window (see FromWindow).

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
#include "webview/close_protocol.h"
#include "webview/event_subscriptions.h"
#include "webview/restart_budget.h"
#include "util/webview2.h"
#include "webview/window_operations.h"

// The hub's timers on the main window (pointer lock has 1000).
inline constexpr UINT_PTR closeTimeoutTimerId = 1001;
inline constexpr UINT_PTR showWindowTimerId = 1002;
inline constexpr UINT_PTR unresponsiveTimerId = 1003;
// Work the hub posts to itself so that it runs from the message loop, never inside a
// browser callback (wParam: a HostTask).
inline constexpr UINT hostTaskMessage = WM_APP + 0x20;
enum class HostTask : WPARAM { ReportStartFailure = 1, RestartPage, RestartBrowser };

class PallantWebView final : private PageRequests, private ExtensionPage {
public:
    // Shows the user a failure of the browser start; the entry point supplies it.
    using FailureReport = std::function<void(const std::string& message)>;

    // What the hub is given. The config, bundle, loader and extensions must outlive it.
    struct Setup {
        const AppConfig& config;
        const AssetBundle& bundle;
        HWND window;
        std::string appFolder;
        std::string webFolder;
        const wchar_t* browserFolder;  // null for the installed runtime
        std::string userDataFolder;
        const BrowserLoader& loader;
        ExtensionManager& extensions;
        std::unique_ptr<WindowOperations> windowState;
        FailureReport reportFailure;
    };

    // Registers itself with the extensions and with the window.
    explicit PallantWebView(Setup setup);
    ~PallantWebView();
    PallantWebView(const PallantWebView&) = delete;
    PallantWebView& operator=(const PallantWebView&) = delete;

    // The hub of a main window, or null before it exists and after it went.
    static PallantWebView* FromWindow(HWND window);

    // Starts creating the browser environment; returns before it exists.
    void Init();
    // Exit code of the run: 0, or 1 once the host stopped with a message.
    int ExitCode() const { return exitCode_; }

    // The window procedure's messages.
    void OnMainWindowSized(WPARAM sizeKind);
    void OnMainWindowMoved();
    void OnMainWindowFocused();
    // WM_ACTIVATE and the like: the locked cursor is let go while another window is in front.
    void OnMainWindowActivation(bool active);
    void OnRawInput(HRAWINPUT input);
    void OnTimer(UINT_PTR id);
    void OnHostTask(HostTask task);
    // WM_CLOSE: true when the window may go now, false while the page is saving.
    bool OnCloseRequested();
    // WM_QUERYENDSESSION / WM_ENDSESSION: Windows logs off or shuts down.
    void OnSessionEnding();
    void OnSessionEnded();
    // WM_DESTROY, while the window still exists: everything of the browser goes.
    void OnMainWindowDestroying();
    // Content server.
    void CloseMappedFiles();

private:
    // PageRequests and ExtensionPage.
    void SendInitResponse(bool withFolders) override;
    void DeliverPageMessage(const std::string& text) override;
    void SetFullscreen(bool on) override;
    void SetClientSize(int32_t width, int32_t height) override;
    void MoveWindowTo(int32_t x, int32_t y) override;
    void ShowMainWindow(WindowShow show) override;
    void FocusWindow() override;
    void SetPointerLockEnabled(bool enabled) override;
    void SetCloseHandling(bool enabled) override;
    void CloseWindow() override;
    void PostToPage(const std::string& json) override;
    const std::string* FindFolderPath(const std::string& placeholder) const override;

    // Browser start: environment, then controller; each completion is one member.
    void CreateEnvironment();
    HRESULT OnEnvironmentCreated(HRESULT result, ICoreWebView2Environment* created);
    HRESULT OnControllerCreated(HRESULT result, ICoreWebView2Controller* created);
    void ApplySettings();
    void AddResourceFilter();
    void SubscribeToEvents();
    void NavigateToStartPage();
    // Environment or controller creation failed: reported once, from the message loop.
    void FailBrowserStart(HRESULT code);
    // Every handler removed and the controller closed; the browser objects released.
    void ReleaseBrowser();
    // A process of the browser went: the page or the whole browser comes back from the
    // message loop (OnHostTask), within RestartBudget's limits.
    void RestartAfterFailure(HostTask task);
    void StopAfterRepeatedFailures();
    void AskAboutUnresponsivePage();
    void ShowPage();

    // Browser events, one member each.
    HRESULT OnAcceleratorKeyPressed(ICoreWebView2Controller* sender, ICoreWebView2AcceleratorKeyPressedEventArgs* args);
    HRESULT OnDocumentTitleChanged(ICoreWebView2* sender, IUnknown* args);
    HRESULT OnWebResourceRequested(ICoreWebView2* sender, ICoreWebView2WebResourceRequestedEventArgs* args);
    HRESULT OnNavigationStarting(ICoreWebView2* sender, ICoreWebView2NavigationStartingEventArgs* args);
    HRESULT OnNavigationCompleted(ICoreWebView2* sender, ICoreWebView2NavigationCompletedEventArgs* args);
    HRESULT OnPermissionRequested(ICoreWebView2* sender, ICoreWebView2PermissionRequestedEventArgs* args);
    HRESULT OnFullScreenElementChanged(ICoreWebView2* sender, IUnknown* args);
    HRESULT OnWindowCloseRequested(ICoreWebView2* sender, IUnknown* args);
    HRESULT OnNewWindowRequested(ICoreWebView2* sender, ICoreWebView2NewWindowRequestedEventArgs* args);
    HRESULT OnWebMessageReceived(ICoreWebView2* sender, ICoreWebView2WebMessageReceivedEventArgs* args);
    HRESULT OnDOMContentLoaded(ICoreWebView2* sender, ICoreWebView2DOMContentLoadedEventArgs* args);
    HRESULT OnProcessFailed(ICoreWebView2* sender, ICoreWebView2ProcessFailedEventArgs* args);
    HRESULT OnBrowserProcessExited(ICoreWebView2Environment* sender, ICoreWebView2BrowserProcessExitedEventArgs* args);

    const AppConfig& config_;
    const HWND window_;
    const std::string appFolder_;
    const std::string webFolder_;
    const std::string userDataFolder_;
    const std::string originUrl_;
    const wchar_t* const browserFolder_;
    const BrowserLoader& loader_;
    ExtensionManager& extensions_;
    const FailureReport reportFailure_;
    // Browser callbacks reach the hub only through this; it is cleared when the hub goes.
    const std::shared_ptr<HubLink<PallantWebView>> link_;
    std::string startFailure_;
    bool pageShown_ = false;
    bool restarted_ = false;
    // The browser process failed; its environment's exit event starts the new one.
    bool awaitingBrowserExit_ = false;
    bool unresponsive_ = false;
    int exitCode_ = 0;
    RestartBudget restarts_;
    CloseProtocol close_;
    // Released in reverse order: the subscriptions first, the environment last.
    ComPtr<ICoreWebView2Environment> environment_;
    ComPtr<ICoreWebView2Controller> controller_;
    ComPtr<ICoreWebView2> webView_;
    ComPtr<ICoreWebView2_2> webView2_;
    EventSubscriptions subscriptions_;
    // The subsystems. The window state goes first, and with it the taskbar list.
    ContentServer server_;
    InitHandshake handshake_;
    PointerLock pointerLock_;
    const std::unique_ptr<WindowOperations> windowState_;
};
