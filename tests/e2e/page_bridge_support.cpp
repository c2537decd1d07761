#include "page_bridge_support.h"

#include <shlobj.h>

#include <fstream>
#include <sstream>

#include "e2e/wide_text.h"

namespace bridge_e2e {

namespace fs = std::filesystem;
using nlohmann::json;

int Scenario::Add(const std::string& line) {
    text_ += line;
    text_ += '\n';
    return ++lines_;
}

int Scenario::Message(const std::string& text, const std::string& source) {
    return Add("message " + source + " " + text);
}

int Scenario::EscapedMessage(const std::string& text, const std::string& source) {
    return Add("message% " + source + " " + text);
}

namespace {

bool IsStepLine(const json& line) {
    const auto ev = line.find("ev");
    return ev != line.end() && ev->is_string() && ev->get<std::string>().rfind("step:", 0) == 0;
}

// Index of the step line written for this scenario line; -1 when there is none.
long StepIndex(const e2e::Transcript& transcript, int line) {
    for (size_t i = 0; i < transcript.lines.size(); ++i) {
        const json& entry = transcript.lines[i];
        if (IsStepLine(entry) && entry.value("line", -1) == line) return static_cast<long>(i);
    }
    return -1;
}

RECT RectOf(const json& value) {
    RECT rect{};
    if (value.is_array() && value.size() == 4) {
        rect.left = value[0].get<long>();
        rect.top = value[1].get<long>();
        rect.right = value[2].get<long>();
        rect.bottom = value[3].get<long>();
    }
    return rect;
}

}  // namespace

json StepResult(const e2e::Transcript& transcript, int line) {
    const long index = StepIndex(transcript, line);
    return index < 0 ? json() : transcript.lines[static_cast<size_t>(index)];
}

std::vector<json> CallsDuring(const e2e::Transcript& transcript, int line, const std::string& ev) {
    std::vector<json> calls;
    const long end = StepIndex(transcript, line);
    if (end < 0) return calls;
    long begin = end;
    while (begin > 0 && !IsStepLine(transcript.lines[static_cast<size_t>(begin - 1)])) --begin;
    for (long i = begin; i < end; ++i) {
        const json& entry = transcript.lines[static_cast<size_t>(i)];
        if (entry.value("ev", "") == ev) calls.push_back(entry);
    }
    return calls;
}

std::vector<std::string> PostsDuring(const e2e::Transcript& transcript, int line) {
    std::vector<std::string> texts;
    for (const json& call : CallsDuring(transcript, line, "WebView.PostWebMessageAsJson")) {
        texts.push_back(call.value("text", "(no text)"));
    }
    return texts;
}

std::vector<std::string> AllPosts(const e2e::Transcript& transcript) {
    std::vector<std::string> texts;
    for (const json& call : transcript.Events("WebView.PostWebMessageAsJson")) {
        texts.push_back(call.value("text", "(no text)"));
    }
    return texts;
}

WindowRecord WindowAt(const e2e::Transcript& transcript, int line) {
    WindowRecord record;
    const json step = StepResult(transcript, line);
    if (step.is_null() || !step.value("exists", false)) return record;
    record.found = true;
    record.style = step["style"].get<long>();
    record.exStyle = step["exStyle"].get<long>();
    record.windowRect = RectOf(step["windowRect"]);
    const RECT client = RectOf(step["clientRect"]);
    record.clientWidth = client.right - client.left;
    record.clientHeight = client.bottom - client.top;
    record.minimized = step.value("minimized", false);
    record.maximized = step.value("maximized", false);
    return record;
}

bool SameRect(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

std::string RectText(const RECT& rect) {
    std::ostringstream text;
    text << "[" << rect.left << "," << rect.top << "," << rect.right << "," << rect.bottom << "]";
    return text.str();
}

RECT PrimaryMonitorRect() {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    GetMonitorInfoW(MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY), &info);
    return info.rcMonitor;
}

TestExtension::TestExtension(const e2e::AppFolder& app, const json& config, const std::string& library)
    : config_(app.Base() / L"extension-config.json"), record_(app.Base() / L"extension-record.jsonl") {
    app.CopyFromRunner(library, "Orvanta.dll");
    std::ofstream(config_, std::ios::binary | std::ios::trunc) << config.dump();
    std::error_code ignored;
    fs::remove(record_, ignored);
}

void TestExtension::Apply(e2e::HostRunOptions& options) const {
    options.environment.emplace_back(L"TESSARINE_TEST_EXTENSION_CONFIG", config_.wstring());
    options.environment.emplace_back(L"TESSARINE_TEST_EXTENSION_RECORD", record_.wstring());
}

std::vector<json> TestExtension::Record() const {
    std::vector<json> lines;
    std::ifstream file(record_, std::ios::binary);
    std::string text;
    while (std::getline(file, text)) {
        if (text.empty()) continue;
        json line = json::parse(text, nullptr, false);
        lines.push_back(line.is_discarded() ? json{{"call", "(unreadable line)"}, {"text", text}} : line);
    }
    return lines;
}

std::vector<json> TestExtension::Calls(const std::string& call) const {
    std::vector<json> lines;
    for (const json& line : Record()) {
        if (line.value("call", "") == call) lines.push_back(line);
    }
    return lines;
}

std::string KnownFolder(const GUID& id) {
    PWSTR path = nullptr;
    std::string folder;
    if (SUCCEEDED(SHGetKnownFolderPath(id, 0, nullptr, &path)) && path) folder = e2e::NarrowToUtf8(path);
    CoTaskMemFree(path);
    if (folder.rfind("\\\\?\\", 0) == 0) folder.erase(0, 4);
    return folder;
}

std::string AppFolderText(const e2e::AppFolder& app) {
    return e2e::NarrowToUtf8(app.App().wstring()) + "\\";
}

e2e::HostRun RunScenario(const e2e::AppFolder& app, const Scenario& scenario, e2e::HostRunOptions options) {
    options.scenario = scenario.Text();
    return RunHost(app, options);
}

}  // namespace bridge_e2e
