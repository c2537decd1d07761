// Windows-only. The stand-in's live mode: a real browser behind the host's
// interfaces. What the host asks of the browser goes to the live bridge (a
// process on the other side of a loopback socket that drives Chromium); what
// the page does comes back as the host's events, raised on the browser thread
// with the stand-in's own argument objects, and the host's answers go back.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "live_link.h"
#include "registered_filter.h"
#include "transcript.h"
#include "util/webview2.h"

namespace standin {

class WebView;

class Settings;

class LiveEngine {
public:
    // Connects to the bridge at "host:port" and notes on the line how it went;
    // null when there is no bridge to talk to.
    static std::unique_ptr<LiveEngine> Connect(const std::string& address, Json& line);

    const std::string& browserVersion() const { return browserVersion_; }

    // Each completion runs once, on the calling (browser) thread, from its message loop.
    void StartBrowser(const std::wstring& arguments, std::function<void(HRESULT)> done);
    void CreatePage(COREWEBVIEW2_COLOR background, std::function<void(HRESULT)> done);

    void Navigate(const std::wstring& uri, Settings& settings);
    void Reload();
    void SetFilters(const std::vector<RegisteredFilter>& filters);
    void SetBounds(const RECT& bounds);
    void SetVisible(bool visible);
    // objects: null, or one entry per slot as the transcript describes them.
    void PostJson(const std::wstring& json, Json objects);
    void PostString(const std::wstring& text);

private:
    LiveEngine() = default;
    void OnMessage(const Json& message);
    void Complete(std::function<void(HRESULT)>& done, const Json& message);
    void OnNavigationStarting(const Json& message);
    void OnRequest(const Json& message);
    void OnNewWindow(const Json& message);
    void OnPermission(const Json& message);
    void OnWebMessage(const Json& message);
    void OnPageEvent(const std::string& ev, const Json& message, Json& line);
    void OnBrowserExited(WebView& webView, bool failed, Json& line);
    void Reply(const char* op, const Json& message, const char* name, Json value);

    LiveLink link_;
    bool delivering_ = false;
    std::string browserVersion_;
    std::function<void(HRESULT)> browserStarted_;
    std::function<void(HRESULT)> pageCreated_;
};

}  // namespace standin
