// Windows-only.
#include "runtime.h"

#include <cstdio>
#include <cwchar>
#include <mutex>
#include <utility>

#include "com_text.h"
#include "controller.h"
#include "web_view.h"

namespace standin {
namespace {

Runtime* instance = nullptr;

// The whole file, or false when it cannot be read.
bool ReadFileBytes(const std::wstring& path, std::string& text) {
    std::FILE* file = ::_wfopen(path.c_str(), L"rb");
    if (file == nullptr) return false;
    char buffer[4096];
    std::size_t count = 0;
    while ((count = std::fread(buffer, 1, sizeof buffer, file)) > 0) text.append(buffer, count);
    const bool ok = std::ferror(file) == 0;
    std::fclose(file);
    return ok;
}

}  // namespace

Runtime& Runtime::Get() {
    static std::once_flag once;
    std::call_once(once, [] { instance = new Runtime(); });
    return *instance;
}

Runtime* Runtime::Existing() {
    return instance;
}

Runtime::Runtime() {
    std::wstring transcriptPath;
    if (ReadEnvironmentVariable(L"TESSARINE_STANDIN_TRANSCRIPT", transcriptPath) && !transcriptPath.empty()) {
        transcript_.Attach(::_wfopen(transcriptPath.c_str(), L"ab"));
    }

    std::wstring scenarioPath;
    const bool haveScenario =
        ReadEnvironmentVariable(L"TESSARINE_STANDIN_SCENARIO", scenarioPath) && !scenarioPath.empty();
    std::optional<ScenarioError> error;
    if (haveScenario) {
        std::string text;
        if (ReadFileBytes(scenarioPath, text)) {
            ParsedScenario parsed = ParseScenario(text);
            scenario_ = std::move(parsed.scenario);
            error = std::move(parsed.error);
        } else {
            error = ScenarioError{0, "cannot read the scenario file"};
        }
    }

    Json line = Event("scenario");
    line["file"] = haveScenario ? WideJson(scenarioPath.c_str()) : Json(nullptr);
    line["steps"] = scenario_.steps.size();
    Record(std::move(line));

    std::wstring bridge;
    if (ReadEnvironmentVariable(L"TESSARINE_LIVE_BRIDGE", bridge) && !bridge.empty()) {
        Json live = Event("live");
        live_ = LiveEngine::Connect(WideToUtf8(bridge.c_str()), live);
        Record(std::move(live));
        // Without its browser the live mode has no runtime to offer: the host says so and stops.
        if (!live_) {
            scenario_.evergreenPresent = false;
            scenario_.fixedPresent = false;
        } else {
            scenario_.browserVersion = live_->browserVersion();
        }
    }
    if (error) {
        // A broken scenario must not pass for a working one: no runtime is found,
        // so the host stops at its runtime check.
        scenario_ = Scenario();
        scenario_.evergreenPresent = false;
        scenario_.fixedPresent = false;
        Json bad = Event("scenario-error");
        bad["line"] = error->line;
        bad["message"] = error->message;
        Record(std::move(bad));
    }
}

void Runtime::Record(Json line) {
    if (browserThread_ != 0 && ::GetCurrentThreadId() != browserThread_) line["thread"] = "other";
    std::lock_guard<std::mutex> guard(lock_);
    transcript_.Write(line);
}

void Runtime::After(unsigned ms, std::function<void()> action) {
    const UINT_PTR id = ::SetTimer(nullptr, 0, ms, &Runtime::OnTimer);
    if (id == 0) {
        Json line = Event("timer-error");
        line["error"] = static_cast<std::uint32_t>(::GetLastError());
        Record(std::move(line));
        return;
    }
    timers_[id] = std::move(action);
}

void CALLBACK Runtime::OnTimer(HWND, UINT, UINT_PTR id, DWORD) {
    ::KillTimer(nullptr, id);
    Runtime* runtime = Existing();
    if (runtime == nullptr) return;
    const auto timer = runtime->timers_.find(id);
    if (timer == runtime->timers_.end()) return;
    std::function<void()> action = std::move(timer->second);
    runtime->timers_.erase(timer);
    action();
}

HWND Runtime::MainWindow() const {
    if (mainWindow != nullptr || browserThread_ == 0) return mainWindow;
    HWND found = nullptr;
    ::EnumThreadWindows(
        browserThread_,
        [](HWND window, LPARAM result) -> BOOL {
            // Dialogs and the windows the system keeps on every GUI thread are not it.
            static const wchar_t* const notMain[] = {L"#32770", L"IME", L"MSCTFIME UI", L"GDI+ Hook Window Class"};
            wchar_t className[64] = {};
            ::GetClassNameW(window, className, 64);
            if (::GetWindow(window, GW_OWNER) != nullptr) return TRUE;
            for (const wchar_t* name : notMain) {
                if (std::wcscmp(className, name) == 0) return TRUE;
            }
            *reinterpret_cast<HWND*>(result) = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

void Runtime::CountCreated(const char* name) {
    std::lock_guard<std::mutex> guard(lock_);
    ++alive_[name];
}

void Runtime::CountDestroyed(const char* name) {
    std::lock_guard<std::mutex> guard(lock_);
    --alive_[name];
}

std::size_t Runtime::ReleaseHeldObjects() {
    // Pending completions hold the host's completion handlers.
    std::map<UINT_PTR, std::function<void()>> pending;
    pending.swap(timers_);
    for (const auto& timer : pending) ::KillTimer(nullptr, timer.first);
    std::size_t released = pending.size();
    pending.clear();
    if (controller != nullptr) released += controller->ReleaseHandlers();
    if (webView != nullptr) released += webView->ReleaseHandlers();
    return released;
}

void Runtime::Unload(bool processExit) {
    Runtime* runtime = instance;
    if (runtime == nullptr) return;
    const std::size_t released = runtime->ReleaseHeldObjects();
    Json line = Event("unload");
    Json alive = Json::object();
    {
        std::lock_guard<std::mutex> guard(runtime->lock_);
        for (const auto& [name, count] : runtime->alive_) {
            if (count != 0) alive[name] = count;
        }
    }
    line["alive"] = std::move(alive);
    line["handlersReleased"] = released;
    runtime->Record(std::move(line));
    // When the process is ending, other modules may still release objects of
    // ours on their way out; they find the runtime still there. A live runtime
    // stays too: its threads may still be running and cannot be waited for here.
    if (!processExit && !runtime->live()) {
        instance = nullptr;
        delete runtime;
    }
}

}  // namespace standin
