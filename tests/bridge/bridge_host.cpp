#include "bridge_host.h"

#include "app/host_globals.h"
#include "app/main_window.h"
#include "util/text_convert.h"

namespace bridge_test {

namespace {

constexpr wchar_t windowClassName[] = L"TessarineBridgeTestWindow";
int timerTicks = 0;

}  // namespace

TestWindow::TestWindow(int x, int y, int width, int height) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = &TestWindow::Procedure;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = windowClassName;
    RegisterClassExW(&windowClass);  // a second registration by a later test fails harmlessly
    handle_ = CreateWindowExW(0, windowClassName, L"", WS_OVERLAPPEDWINDOW, x, y, width, height, nullptr, nullptr,
                              windowClass.hInstance, nullptr);
}

TestWindow::~TestWindow() {
    if (handle_) DestroyWindow(handle_);
}

int TestWindow::PumpTimerTicks(DWORD milliseconds) {
    timerTicks = 0;
    const ULONGLONG end = GetTickCount64() + milliseconds;
    while (GetTickCount64() < end) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
        Sleep(1);
    }
    return timerTicks;
}

LRESULT CALLBACK TestWindow::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    // Timers go to the host's own window procedure, as in the app.
    if (message == WM_TIMER) {
        if (wParam == pointerLockTimerId) ++timerTicks;
        return MainWindowProc(window, message, wParam, lParam);
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

BridgeHost::BridgeHost(HWND window)
    : extensions_("C:\\app\\", "www\\", "C:\\data\\Bridge", "{\"name\":\"Bridge\"}"), page_(FakeWebView::Create()) {
    config_.name = "Bridge";
    // The web view host takes the manager from the process-wide pointer, as at start-up.
    g_extensionManager = &extensions_;
    host_ = std::make_unique<PallantWebView>(config_, bundle_, window, "C:\\app\\", "www\\", nullptr,
                                             "C:\\data\\Bridge", loader_);
    host_->webView = ComPtr<ICoreWebView2>::Wrap(page_.get());
    g_webView = host_.get();
}

BridgeHost::~BridgeHost() {
    g_webView = nullptr;
    host_.reset();
    g_extensionManager = nullptr;
}

std::vector<std::string> BridgeHost::Posts() const {
    std::vector<std::string> texts;
    for (const auto& text : page_->postedJson) texts.push_back(WideToUtf8(text));
    return texts;
}

std::vector<std::string> BridgeHost::TakePosts() {
    std::vector<std::string> texts = Posts();
    page_->postedJson.clear();
    return texts;
}

}  // namespace bridge_test
