// A web view host for unit tests of the page bridge (Windows-only): the real
// PallantWebView with a fake browser web view that records what is posted to the page.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "app/app_config.h"
#include "bundle/asset_bundle.h"
#include "extensions/extension_manager.h"
#include "support/fake_web_view.h"
#include "webview/browser_loader.h"
#include "webview/pallant_webview.h"

namespace bridge_test {

// A hidden top-level window whose procedure counts pointer-lock timer ticks and hands
// every timer message to the host's main window procedure.
class TestWindow {
public:
    TestWindow(int x, int y, int width, int height);
    ~TestWindow();
    TestWindow(const TestWindow&) = delete;
    TestWindow& operator=(const TestWindow&) = delete;

    HWND handle() const { return handle_; }
    // Dispatches this thread's messages for the given time; returns how many WM_TIMER
    // messages with the pointer-lock timer id reached the window meanwhile.
    int PumpTimerTicks(DWORD milliseconds);

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    HWND handle_ = nullptr;
};

// Published as g_webView and g_extensionManager while it exists.
class BridgeHost {
public:
    // `window` may be null for tests that never touch a window.
    explicit BridgeHost(HWND window = nullptr);
    ~BridgeHost();
    BridgeHost(const BridgeHost&) = delete;
    BridgeHost& operator=(const BridgeHost&) = delete;

    PallantWebView& host() { return *host_; }
    ExtensionManager& extensions() { return extensions_; }
    // The texts posted with PostWebMessageAsJson so far, as UTF-8; TakePosts also forgets them.
    std::vector<std::string> Posts() const;
    std::vector<std::string> TakePosts();

private:
    AppConfig config_;
    AssetBundle bundle_;
    BrowserLoader loader_;
    ExtensionManager extensions_;
    ComPtr<FakeWebView> page_;
    std::unique_ptr<PallantWebView> host_;
};

}  // namespace bridge_test
