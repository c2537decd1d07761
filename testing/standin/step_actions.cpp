// Windows-only.
#include "step_actions.h"

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "com_text.h"
#include "controller.h"
#include "environment.h"
#include "event_args.h"
#include "resource_request.h"
#include "resource_response.h"
#include "runtime.h"
#include "web_view.h"
#include "window_record.h"

namespace standin {
namespace {

// The web view the step acts on, held for the length of the step.
ComPtr<WebView> CurrentWebView(Json& line) {
    WebView* webView = Runtime::Get().webView;
    if (webView == nullptr) line["error"] = "no web view";
    return ComPtr<WebView>::Wrap(webView);
}

void DomContentLoaded(Json& line) {
    const ComPtr<WebView> webView = CurrentWebView(line);
    if (!webView) return;
    const ComPtr<DOMContentLoadedArgs> args = MakeObject<DOMContentLoadedArgs>(webView->navigationId);
    line["navigationId"] = webView->navigationId;
    Raise(webView->domContentLoaded, webView->AsInterface(), args->AsInterface(), line);
}

void RecordWindow(Json& line) {
    const HWND window = Runtime::Get().MainWindow();
    if (window == nullptr) {
        line["error"] = "no main window";
        return;
    }
    const Json state = DescribeWindow(window);
    for (const auto& [key, value] : state.items()) line[key] = value;
}

void CloseWindow(Json& line) {
    const HWND window = Runtime::Get().MainWindow();
    if (window == nullptr) {
        line["error"] = "no main window";
        return;
    }
    line["posted"] = ::PostMessageW(window, WM_CLOSE, 0, 0) != FALSE;
}

// Windows asks and tells from outside the program's thread, and waits for each answer: the
// host handles both while its own loop runs, as at a log-off.
DWORD WINAPI SendEndOfSession(void* window) {
    constexpr UINT waitMs = 60000;
    const auto target = static_cast<HWND>(window);
    DWORD_PTR mayEnd = FALSE;
    ::SendMessageTimeoutW(target, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_NORMAL, waitMs, &mayEnd);
    ::SendMessageTimeoutW(target, WM_ENDSESSION, mayEnd != FALSE ? TRUE : FALSE, ENDSESSION_LOGOFF, SMTO_NORMAL, waitMs,
                          nullptr);
    // The thread held the stand-in loaded: the host may have let go of it meanwhile.
    HMODULE self = nullptr;
    ::GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                         reinterpret_cast<LPCWSTR>(&SendEndOfSession), &self);
    ::FreeLibraryAndExitThread(self, 0);
}

void EndSession(Json& line) {
    const HWND window = Runtime::Get().MainWindow();
    if (window == nullptr) {
        line["error"] = "no main window";
        return;
    }
    HMODULE self = nullptr;
    ::GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS, reinterpret_cast<LPCWSTR>(&SendEndOfSession), &self);
    const HANDLE thread = ::CreateThread(nullptr, 0, &SendEndOfSession, window, 0, nullptr);
    line["sent"] = thread != nullptr;
    if (thread != nullptr) {
        ::CloseHandle(thread);
    } else {
        ::FreeLibrary(self);
    }
}

void WindowCloseRequested(Json& line) {
    const ComPtr<WebView> webView = CurrentWebView(line);
    if (!webView) return;
    Raise(webView->windowCloseRequested, webView->AsInterface(), static_cast<IUnknown*>(nullptr), line);
}

void Title(const Step& step, Json& line) {
    line["title"] = step.text;
    const ComPtr<WebView> webView = CurrentWebView(line);
    if (!webView) return;
    webView->documentTitle = Utf8ToWide(step.text);
    Raise(webView->documentTitleChanged, webView->AsInterface(), static_cast<IUnknown*>(nullptr), line);
}

void Fullscreen(const Step& step, Json& line) {
    line["value"] = step.number != 0;
    const ComPtr<WebView> webView = CurrentWebView(line);
    if (!webView) return;
    webView->containsFullScreenElement = step.number != 0;
    Raise(webView->fullScreenElementChanged, webView->AsInterface(), static_cast<IUnknown*>(nullptr), line);
}

void Accelerator(const Step& step, Json& line) {
    line["vk"] = step.number;
    line["kind"] = step.number2;
    const ComPtr<Controller> controller = ComPtr<Controller>::Wrap(Runtime::Get().controller);
    if (!controller) {
        line["error"] = "no controller";
        return;
    }
    const ComPtr<AcceleratorKeyPressedArgs> args = MakeObject<AcceleratorKeyPressedArgs>(
        static_cast<UINT>(step.number), static_cast<COREWEBVIEW2_KEY_EVENT_KIND>(step.number2));
    Raise(controller->acceleratorKeyPressed, controller->AsInterface(), args->AsInterface(), line);
    line["handled"] = args->handled;
}

void Navigate(const Step& step, Json& line) {
    line["uri"] = step.uri;
    const ComPtr<WebView> webView = CurrentWebView(line);
    if (!webView) return;
    const ComPtr<NavigationStartingArgs> args =
        MakeObject<NavigationStartingArgs>(Utf8ToWide(step.uri), Runtime::Get().NextNavigationId());
    Raise(webView->navigationStarting, webView->AsInterface(), args->AsInterface(), line);
    line["cancel"] = args->cancel;
    // A navigation the host let go on shows its page, as the browser's would.
    if (!args->cancel) webView->SetSource(Utf8ToWide(step.uri));
}

void NewWindow(const Step& step, Json& line) {
    line["uri"] = step.uri;
    const ComPtr<WebView> webView = CurrentWebView(line);
    if (!webView) return;
    line["userInitiated"] = step.number2 != 0;
    const ComPtr<NewWindowRequestedArgs> args =
        MakeObject<NewWindowRequestedArgs>(Utf8ToWide(step.uri), step.number2 != 0);
    Raise(webView->newWindowRequested, webView->AsInterface(), args->AsInterface(), line);
    line["handled"] = args->handled;
}

void Permission(const Step& step, Json& line) {
    line["kind"] = step.number;
    line["uri"] = step.uri;
    const ComPtr<WebView> webView = CurrentWebView(line);
    if (!webView) return;
    const ComPtr<PermissionRequestedArgs> args = MakeObject<PermissionRequestedArgs>(
        Utf8ToWide(step.uri), static_cast<COREWEBVIEW2_PERMISSION_KIND>(step.number));
    Raise(webView->permissionRequested, webView->AsInterface(), args->AsInterface(), line);
    line["state"] = static_cast<int>(args->state);
}

void WebResourceRequest(const Step& step, Json& line) {
    line["method"] = step.text;
    line["uri"] = step.uri;
    if (step.kind == StepKind::RequestFrom) line["source"] = step.number2;
    const ComPtr<WebView> webView = CurrentWebView(line);
    if (!webView) return;
    const std::wstring uri = Utf8ToWide(step.uri);
    // Like the browser, only requests that a registered filter covers reach the host.
    const bool filtered =
        webView->MatchesFilter(uri, COREWEBVIEW2_WEB_RESOURCE_CONTEXT_ALL,
                               static_cast<COREWEBVIEW2_WEB_RESOURCE_REQUEST_SOURCE_KINDS>(step.number2));
    line["filtered"] = filtered;
    if (!filtered) {
        line["handlers"] = 0;
        line["response"] = nullptr;
        return;
    }
    std::vector<std::pair<std::wstring, std::wstring>> headers;
    for (const Header& header : step.headers) {
        headers.emplace_back(Utf8ToWide(header.name), Utf8ToWide(header.value));
    }
    const ComPtr<Request> request =
        MakeObject<Request>(uri, Utf8ToWide(step.text), MakeObject<RequestHeaders>(std::move(headers)));
    const ComPtr<WebResourceRequestedArgs> args =
        MakeObject<WebResourceRequestedArgs>(request, COREWEBVIEW2_WEB_RESOURCE_CONTEXT_ALL);
    Raise(webView->webResourceRequested, webView->AsInterface(), args->AsInterface(), line);
    ICoreWebView2WebResourceResponse* response = args->response();
    if (response == nullptr) {
        line["response"] = nullptr;
    } else if (Response* own = Response::FromInterface(response)) {
        line["response"] = own->Describe();
    } else {
        line["response"] = "other";
    }
}

void Message(const Step& step, bool isString, Json& line) {
    line["source"] = step.uri;
    const ComPtr<WebView> webView = CurrentWebView(line);
    if (!webView) return;
    const ComPtr<WebMessageReceivedArgs> args =
        MakeObject<WebMessageReceivedArgs>(Utf8ToWide(step.uri), Utf8ToWide(step.text), isString);
    Raise(webView->webMessageReceived, webView->AsInterface(), args->AsInterface(), line);
}

void ProcessFailed(const Step& step, Json& line) {
    line["kind"] = step.number;
    const ComPtr<WebView> webView = CurrentWebView(line);
    if (!webView) return;
    const ComPtr<ProcessFailedArgs> args =
        MakeObject<ProcessFailedArgs>(static_cast<COREWEBVIEW2_PROCESS_FAILED_KIND>(step.number));
    Raise(webView->processFailed, webView->AsInterface(), args->AsInterface(), line);
}

// Raised on the environment of the current web view, which the host may let go of
// while it handles the event: held for the length of the step.
void BrowserExited(const Step& step, Json& line) {
    line["failed"] = step.number != 0;
    const ComPtr<WebView> webView = CurrentWebView(line);
    if (!webView) return;
    const ComPtr<Environment> environment = ComPtr<Environment>::Wrap(webView->environment());
    const ComPtr<BrowserProcessExitedArgs> args =
        MakeObject<BrowserProcessExitedArgs>(step.number != 0 ? COREWEBVIEW2_BROWSER_PROCESS_EXIT_KIND_FAILED
                                                              : COREWEBVIEW2_BROWSER_PROCESS_EXIT_KIND_NORMAL);
    Raise(environment->browserProcessExited, static_cast<ICoreWebView2Environment*>(environment->AsInterface()),
          args->AsInterface(), line);
}

void NavigationCompleted(const Step& step, Json& line) {
    line["success"] = step.number != 0;
    const ComPtr<WebView> webView = CurrentWebView(line);
    if (!webView) return;
    const ComPtr<NavigationCompletedArgs> args =
        MakeObject<NavigationCompletedArgs>(step.number != 0, webView->navigationId);
    Raise(webView->navigationCompleted, webView->AsInterface(), args->AsInterface(), line);
}

// Plays the block count times within this one tick, as a browser delivering a
// backlog would. One line for the whole run: totals, and what each block step
// gave in the last round.
void Repeat(const Step& step, Json& line) {
    line["count"] = step.number;
    line["steps"] = step.block.size();
    std::int64_t rounds = 0;
    std::size_t handlers = 0;
    std::map<std::string, std::int64_t> results;
    Json last = Json::array();
    std::string error;
    while (rounds < step.number && error.empty()) {
        last = Json::array();
        for (const Step& inner : step.block) {
            Json result = Event(std::string("step:") + StepKeyword(inner.kind));
            result["line"] = inner.line;
            PlayStep(inner, result);
            handlers += result.value("handlers", std::size_t{0});
            const auto returned = result.find("results");
            if (returned != result.end()) {
                for (const Json& hr : *returned) ++results[hr.get<std::string>()];
            }
            // An object the block needs has gone: the rest would fail the same way.
            error = result.value("error", std::string());
            last.push_back(std::move(result));
            if (!error.empty()) break;
        }
        if (error.empty()) ++rounds;
    }
    line["rounds"] = rounds;
    line["handlers"] = handlers;
    Json counted = Json::object();
    for (const auto& [hr, times] : results) counted[hr] = times;
    line["results"] = std::move(counted);
    line["last"] = std::move(last);
    if (!error.empty()) line["error"] = error;
}

}  // namespace

unsigned PlayStep(const Step& step, Json& line) {
    unsigned delay = Runtime::Get().scenario().tickMs;
    switch (step.kind) {
        case StepKind::DomContentLoaded:
            DomContentLoaded(line);
            break;
        case StepKind::RecordWindow:
            RecordWindow(line);
            break;
        case StepKind::CloseWindow:
            CloseWindow(line);
            break;
        case StepKind::EndSession:
            EndSession(line);
            break;
        case StepKind::WindowCloseRequested:
            WindowCloseRequested(line);
            break;
        case StepKind::Wait:
            line["ms"] = step.number;
            delay = static_cast<unsigned>(step.number);
            break;
        case StepKind::Title:
            Title(step, line);
            break;
        case StepKind::Fullscreen:
            Fullscreen(step, line);
            break;
        case StepKind::Accelerator:
            Accelerator(step, line);
            break;
        case StepKind::Navigate:
            Navigate(step, line);
            break;
        case StepKind::NewWindow:
            NewWindow(step, line);
            break;
        case StepKind::Permission:
            Permission(step, line);
            break;
        case StepKind::Request:
        case StepKind::RequestFrom:
            WebResourceRequest(step, line);
            break;
        case StepKind::Message:
            Message(step, true, line);
            break;
        case StepKind::MessageJson:
            Message(step, false, line);
            break;
        case StepKind::Repeat:
            Repeat(step, line);
            break;
        case StepKind::ProcessFailed:
            ProcessFailed(step, line);
            break;
        case StepKind::BrowserExited:
            BrowserExited(step, line);
            break;
        case StepKind::NavigationCompleted:
            NavigationCompleted(step, line);
            break;
    }
    return delay;
}

}  // namespace standin
