// Windows-only.
#include "live_engine.h"

#include <cmath>
#include <exception>

#include "com_text.h"
#include "controller.h"
#include "environment.h"
#include "event_args.h"
#include "handler_list.h"
#include "resource_request.h"
#include "resource_response.h"
#include "runtime.h"
#include "settings.h"
#include "web_view.h"
#include "window_record.h"

namespace standin {
namespace {

constexpr DWORD greetingTimeoutMs = 10000;

Json Op(const char* name) {
    Json message = Json::object();
    message["op"] = name;
    return message;
}

// The web view an event acts on, held while it is raised; notes on the line when there is none.
ComPtr<WebView> CurrentWebView(Json& line) {
    WebView* webView = Runtime::Get().webView;
    if (webView == nullptr) line["error"] = "no web view";
    return ComPtr<WebView>::Wrap(webView);
}

std::wstring Text(const Json& message, const char* name) {
    const auto found = message.find(name);
    return found != message.end() && found->is_string() ? Utf8ToWide(found->get<std::string>()) : std::wstring();
}

// The display's scale against 96 DPI, as the host's windows are sized with it.
double DisplayScale() {
    HDC screen = ::GetDC(nullptr);
    const int dpi = ::GetDeviceCaps(screen, LOGPIXELSX);
    ::ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi / 96.0 : 1.0;
}

}  // namespace

std::unique_ptr<LiveEngine> LiveEngine::Connect(const std::string& address, Json& line) {
    std::unique_ptr<LiveEngine> engine(new LiveEngine());
    Json greeting;
    std::string error;
    line["bridge"] = address;
    if (!engine->link_.Connect(address, greetingTimeoutMs, greeting, error)) {
        line["error"] = error;
        return nullptr;
    }
    engine->browserVersion_ = greeting.value("browserVersion", std::string());
    line["browserVersion"] = engine->browserVersion_;
    if (engine->browserVersion_.empty()) {
        line["error"] = "the bridge found no browser";
        return nullptr;
    }
    return engine;
}

void LiveEngine::StartBrowser(const std::wstring& arguments, std::function<void(HRESULT)> done) {
    std::string error;
    if (!delivering_ && !link_.StartDelivery([this](const Json& message) { OnMessage(message); }, error)) {
        Json line = Event("live:error");
        line["error"] = error;
        Runtime::Get().Record(std::move(line));
        Runtime::Get().After(Runtime::Get().scenario().tickMs, [done = std::move(done)] { done(E_FAIL); });
        return;
    }
    delivering_ = true;
    browserStarted_ = std::move(done);
    Json message = Op("start");
    message["arguments"] = WideToUtf8(arguments.c_str());
    link_.Send(std::move(message));
}

void LiveEngine::CreatePage(COREWEBVIEW2_COLOR background, std::function<void(HRESULT)> done) {
    pageCreated_ = std::move(done);
    Json message = Op("page");
    message["background"] = {background.A, background.R, background.G, background.B};
    link_.Send(std::move(message));
}

void LiveEngine::Navigate(const std::wstring& uri, Settings& settings) {
    Json message = Op("navigate");
    message["uri"] = WideToUtf8(uri.c_str());
    Json flags = Json::object();
    for (const char* name : {"IsScriptEnabled", "IsWebMessageEnabled", "AreDefaultScriptDialogsEnabled",
                             "AreDevToolsEnabled", "AreDefaultContextMenusEnabled"}) {
        flags[name] = settings.Flag(name);
    }
    message["settings"] = std::move(flags);
    link_.Send(std::move(message));
}

void LiveEngine::Reload() {
    link_.Send(Op("reload"));
}

void LiveEngine::SetFilters(const std::vector<RegisteredFilter>& filters) {
    Json message = Op("filters");
    message["filters"] = Json::array();
    for (const RegisteredFilter& filter : filters) {
        message["filters"].push_back({{"uri", WideToUtf8(filter.uri.c_str())},
                                      {"context", static_cast<int>(filter.context)},
                                      {"sourceKinds", static_cast<std::uint32_t>(filter.sourceKinds)}});
    }
    link_.Send(std::move(message));
}

void LiveEngine::SetBounds(const RECT& bounds) {
    static const double scale = DisplayScale();
    Json message = Op("bounds");
    message["width"] = bounds.right - bounds.left;
    message["height"] = bounds.bottom - bounds.top;
    message["scale"] = scale;
    message["screenWidth"] = ::GetSystemMetrics(SM_CXSCREEN);
    message["screenHeight"] = ::GetSystemMetrics(SM_CYSCREEN);
    link_.Send(std::move(message));
}

void LiveEngine::SetVisible(bool visible) {
    Json message = Op("visible");
    message["value"] = visible;
    link_.Send(std::move(message));
}

void LiveEngine::PostJson(const std::wstring& json, Json objects) {
    Json message = Op("post");
    message["json"] = WideToUtf8(json.c_str());
    message["objects"] = std::move(objects);
    link_.Send(std::move(message));
}

void LiveEngine::PostString(const std::wstring& text) {
    Json message = Op("post");
    message["json"] = Json(WideToUtf8(text.c_str())).dump();
    message["objects"] = nullptr;
    link_.Send(std::move(message));
}

void LiveEngine::Reply(const char* op, const Json& message, const char* name, Json value) {
    Json reply = Op(op);
    reply["id"] = message.value("id", std::int64_t{0});
    reply[name] = std::move(value);
    link_.Send(std::move(reply));
}

void LiveEngine::OnMessage(const Json& message) {
    const std::string ev = message.value("ev", std::string());
    try {
        if (ev == "browser") return Complete(browserStarted_, message);
        if (ev == "page") return Complete(pageCreated_, message);
        if (ev == "navigation-starting") return OnNavigationStarting(message);
        if (ev == "request") return OnRequest(message);
        if (ev == "new-window") return OnNewWindow(message);
        if (ev == "permission") return OnPermission(message);
        if (ev == "message") return OnWebMessage(message);
        Json line = Event("live:" + ev);
        OnPageEvent(ev, message, line);
        Runtime::Get().Record(std::move(line));
    } catch (const std::exception& error) {
        // Nothing may escape into the host's message loop.
        Json line = Event("live:error");
        line["event"] = ev;
        line["error"] = error.what();
        Runtime::Get().Record(std::move(line));
    }
}

void LiveEngine::Complete(std::function<void(HRESULT)>& done, const Json& message) {
    std::function<void(HRESULT)> completion = std::move(done);
    done = nullptr;
    if (!message.value("ok", false)) {
        Json line = Event("live:error");
        line["event"] = message.value("ev", std::string());
        line["error"] = message.value("error", std::string("the bridge gave no reason"));
        Runtime::Get().Record(std::move(line));
    }
    if (completion) completion(message.value("ok", false) ? S_OK : E_FAIL);
}

void LiveEngine::OnNavigationStarting(const Json& message) {
    Json line = Event("live:navigation-starting");
    line["uri"] = message.value("uri", std::string());
    bool cancel = false;
    if (const ComPtr<WebView> webView = CurrentWebView(line)) {
        const std::uint64_t id = Runtime::Get().NextNavigationId();
        const ComPtr<NavigationStartingArgs> args = MakeObject<NavigationStartingArgs>(
            Text(message, "uri"), id, message.value("userInitiated", false), message.value("redirected", false));
        Raise(webView->navigationStarting, webView->AsInterface(), args->AsInterface(), line);
        cancel = args->cancel;
        if (!cancel) webView->navigationId = id;
    }
    line["cancel"] = cancel;
    Reply("navigation", message, "cancel", cancel);
    Runtime::Get().Record(std::move(line));
}

void LiveEngine::OnRequest(const Json& message) {
    Json line = Event("live:request");
    line["method"] = message.value("method", std::string());
    line["uri"] = message.value("uri", std::string());
    line["source"] = message.value("source", 1);  // 1 document, 2 shared worker, 4 service worker
    Json reply = Op("response");
    reply["id"] = message.value("id", std::int64_t{0});
    ComPtr<IStream> body;
    if (const ComPtr<WebView> webView = CurrentWebView(line)) {
        std::vector<std::pair<std::wstring, std::wstring>> headers;
        for (const Json& header : message.value("headers", Json::array())) {
            headers.emplace_back(Utf8ToWide(header.at(0).get<std::string>()),
                                 Utf8ToWide(header.at(1).get<std::string>()));
        }
        const ComPtr<Request> request = MakeObject<Request>(Text(message, "uri"), Text(message, "method"),
                                                            MakeObject<RequestHeaders>(std::move(headers)));
        const auto context = static_cast<COREWEBVIEW2_WEB_RESOURCE_CONTEXT>(message.value("context", 0));
        const ComPtr<WebResourceRequestedArgs> args = MakeObject<WebResourceRequestedArgs>(request, context);
        Raise(webView->webResourceRequested, webView->AsInterface(), args->AsInterface(), line);
        if (Response* own = Response::FromInterface(args->response())) {
            Json response = Json::object();
            response["status"] = own->statusCode();
            response["reason"] = WideJson(own->reasonPhrase().c_str());
            response["headers"] = WideJson(own->headerText().c_str());
            reply.update(response);
            reply["body"] = static_cast<bool>(own->content());
            line["response"] = std::move(response);
            body = own->content();
        } else {
            line["response"] = args->response() != nullptr ? Json("other") : Json(nullptr);
        }
    }
    if (!line.contains("response") || !line["response"].is_object()) reply["none"] = true;
    link_.Send(std::move(reply));
    if (!body) {
        if (line.contains("response") && line["response"].is_object()) line["response"]["body"] = nullptr;
        Runtime::Get().Record(std::move(line));
        return;
    }
    // The line is written when the whole body has gone to the browser.
    link_.SendBody(message.value("id", std::int64_t{0}), std::move(body),
                   [line = std::move(line)](Json summary) mutable {
                       line["response"]["body"] = std::move(summary);
                       Runtime::Get().Record(std::move(line));
                   });
}

void LiveEngine::OnNewWindow(const Json& message) {
    Json line = Event("live:new-window");
    line["uri"] = message.value("uri", std::string());
    bool handled = false;
    if (const ComPtr<WebView> webView = CurrentWebView(line)) {
        const ComPtr<NewWindowRequestedArgs> args =
            MakeObject<NewWindowRequestedArgs>(Text(message, "uri"), message.value("userInitiated", false));
        Raise(webView->newWindowRequested, webView->AsInterface(), args->AsInterface(), line);
        handled = args->handled;
    }
    line["handled"] = handled;
    Reply("new-window", message, "handled", handled);
    Runtime::Get().Record(std::move(line));
}

void LiveEngine::OnPermission(const Json& message) {
    Json line = Event("live:permission");
    line["kind"] = message.value("kind", 0);
    line["uri"] = message.value("uri", std::string());
    int state = COREWEBVIEW2_PERMISSION_STATE_DEFAULT;
    if (const ComPtr<WebView> webView = CurrentWebView(line)) {
        const ComPtr<PermissionRequestedArgs> args = MakeObject<PermissionRequestedArgs>(
            Text(message, "uri"), static_cast<COREWEBVIEW2_PERMISSION_KIND>(message.value("kind", 0)));
        Raise(webView->permissionRequested, webView->AsInterface(), args->AsInterface(), line);
        state = args->state;
    }
    line["state"] = state;
    Reply("permission", message, "state", state);
    Runtime::Get().Record(std::move(line));
}

void LiveEngine::OnWebMessage(const Json& message) {
    Json line = Event("live:message");
    line["source"] = message.value("source", std::string());
    const bool isString = message.value("isString", false);
    line["isString"] = isString;
    if (const ComPtr<WebView> webView = CurrentWebView(line)) {
        const ComPtr<WebMessageReceivedArgs> args = MakeObject<WebMessageReceivedArgs>(
            Text(message, "source"), Text(message, isString ? "text" : "json"), isString);
        Raise(webView->webMessageReceived, webView->AsInterface(), args->AsInterface(), line);
    }
    // What the message did to the window, as record-window tells it in scripted mode.
    line["window"] = DescribeWindow(Runtime::Get().MainWindow());
    Runtime::Get().Record(std::move(line));
}

// The whole browser went: its web views hear of it first, then its environment, as with the runtime.
void LiveEngine::OnBrowserExited(WebView& webView, bool failed, Json& line) {
    line["failed"] = failed;
    const ComPtr<Environment> environment = ComPtr<Environment>::Wrap(webView.environment());
    const ComPtr<ProcessFailedArgs> failure =
        MakeObject<ProcessFailedArgs>(COREWEBVIEW2_PROCESS_FAILED_KIND_BROWSER_PROCESS_EXITED);
    Json failedLine;
    Raise(webView.processFailed, webView.AsInterface(), failure->AsInterface(), failedLine);
    line["processFailedHandlers"] = failedLine["handlers"];
    const ComPtr<BrowserProcessExitedArgs> exited = MakeObject<BrowserProcessExitedArgs>(
        failed ? COREWEBVIEW2_BROWSER_PROCESS_EXIT_KIND_FAILED : COREWEBVIEW2_BROWSER_PROCESS_EXIT_KIND_NORMAL);
    Raise(environment->browserProcessExited, static_cast<ICoreWebView2Environment*>(environment->AsInterface()),
          exited->AsInterface(), line);
}

void LiveEngine::OnPageEvent(const std::string& ev, const Json& message, Json& line) {
    if (ev == "bridge-closed" || ev == "bad-line") {
        if (ev == "bad-line") line["text"] = message.value("text", std::string());
        return;
    }
    const ComPtr<WebView> webView = CurrentWebView(line);
    if (!webView) return;
    IUnknown* const noArgs = nullptr;
    if (ev == "dom-content-loaded") {
        const ComPtr<DOMContentLoadedArgs> args = MakeObject<DOMContentLoadedArgs>(webView->navigationId);
        line["navigationId"] = webView->navigationId;
        Raise(webView->domContentLoaded, webView->AsInterface(), args->AsInterface(), line);
    } else if (ev == "title") {
        line["title"] = message.value("title", std::string());
        webView->documentTitle = Text(message, "title");
        Raise(webView->documentTitleChanged, webView->AsInterface(), noArgs, line);
    } else if (ev == "fullscreen") {
        webView->containsFullScreenElement = message.value("value", false);
        line["value"] = webView->containsFullScreenElement;
        Raise(webView->fullScreenElementChanged, webView->AsInterface(), noArgs, line);
    } else if (ev == "close-requested") {
        Raise(webView->windowCloseRequested, webView->AsInterface(), noArgs, line);
    } else if (ev == "process-failed") {
        line["kind"] = message.value("kind", 0);
        const ComPtr<ProcessFailedArgs> args =
            MakeObject<ProcessFailedArgs>(static_cast<COREWEBVIEW2_PROCESS_FAILED_KIND>(message.value("kind", 0)));
        Raise(webView->processFailed, webView->AsInterface(), args->AsInterface(), line);
    } else if (ev == "browser-exited") {
        OnBrowserExited(*webView.get(), message.value("failed", true), line);
    } else if (ev == "close-window") {
        // The player closes the window.
        line["posted"] = ::PostMessageW(Runtime::Get().MainWindow(), WM_CLOSE, 0, 0) != FALSE;
    } else if (ev == "navigated") {
        line["uri"] = message.value("uri", std::string());
        webView->SetSource(Text(message, "uri"));
    } else {
        line["error"] = "unknown event";
    }
}

}  // namespace standin
