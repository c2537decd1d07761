#include "scenario.h"

#include <map>
#include <sstream>

namespace e2e {

using nlohmann::json;

int Scenario::Add(const std::string& line) {
    text_ += line + "\n";
    return ++lines_;
}

int Scenario::Message(const std::string& text, const std::string& source) {
    return Add("message " + source + " " + text);
}

namespace {

bool IsStepLine(const json& line) {
    const auto ev = line.find("ev");
    return ev != line.end() && ev->is_string() && ev->get<std::string>().rfind("step:", 0) == 0;
}

long StepIndex(const Transcript& transcript, int line) {
    for (size_t i = 0; i < transcript.lines.size(); ++i) {
        const json& entry = transcript.lines[i];
        if (IsStepLine(entry) && entry.value("line", -1) == line) return static_cast<long>(i);
    }
    return -1;
}

RECT RectOf(const json& value) {
    if (!value.is_array() || value.size() != 4) return RECT{};
    return RECT{value[0].get<long>(), value[1].get<long>(), value[2].get<long>(), value[3].get<long>()};
}

}  // namespace

json StepResult(const Transcript& transcript, int line) {
    const long index = StepIndex(transcript, line);
    return index < 0 ? json() : transcript.lines[static_cast<size_t>(index)];
}

std::vector<json> CallsDuring(const Transcript& transcript, int line, const std::string& ev) {
    std::vector<json> calls;
    const long end = StepIndex(transcript, line);
    long begin = end;
    while (begin > 0 && !IsStepLine(transcript.lines[static_cast<size_t>(begin - 1)])) --begin;
    for (long i = begin; i < end; ++i) {
        const json& entry = transcript.lines[static_cast<size_t>(i)];
        if (entry.value("ev", "") == ev) calls.push_back(entry);
    }
    return calls;
}

std::vector<std::string> PostsDuring(const Transcript& transcript, int line) {
    std::vector<std::string> texts;
    for (const json& call : CallsDuring(transcript, line, "WebView.PostWebMessageAsJson")) {
        texts.push_back(call.value("text", "(no text)"));
    }
    return texts;
}

std::vector<std::string> AllPosts(const Transcript& transcript) {
    std::vector<std::string> texts;
    for (const json& call : transcript.Events("WebView.PostWebMessageAsJson")) {
        texts.push_back(call.value("text", "(no text)"));
    }
    return texts;
}

std::vector<json> Values(const Transcript& transcript, const std::string& ev, const std::string& member) {
    std::vector<json> values;
    for (const json& line : transcript.Events(ev)) values.push_back(line.value(member, json("(missing)")));
    return values;
}

std::string CallValues(const Transcript& transcript, const std::string& prefix) {
    std::string calls;
    for (const json& line : transcript.lines) {
        const std::string ev = line.value("ev", "");
        if (ev.rfind(prefix, 0) != 0) continue;
        calls += (calls.empty() ? "" : " ") + ev.substr(prefix.size()) + "=" + line.value("value", json()).dump();
    }
    return calls;
}

json Lookup(const Transcript& transcript, const std::string& query) {
    if (!query.empty() && query.back() == '#') return transcript.Events(query.substr(0, query.size() - 1)).size();
    const size_t dot = query.rfind('.');
    const json line = transcript.First(query.substr(0, dot));
    if (line.is_null()) return "(no call)";
    return line.value(query.substr(dot + 1), json("(no member)"));
}

WindowRecord WindowAt(const Transcript& transcript, int line) {
    WindowRecord record;
    const json step = StepResult(transcript, line);
    if (step.is_null() || !step.value("exists", false)) return record;
    record.found = true;
    record.visible = step.value("visible", false);
    record.style = step["style"].get<long>();
    record.exStyle = step["exStyle"].get<long>();
    record.windowRect = RectOf(step["windowRect"]);
    const RECT client = RectOf(step["clientRect"]);
    record.clientWidth = client.right - client.left;
    record.clientHeight = client.bottom - client.top;
    record.minimized = step.value("minimized", false);
    record.maximized = step.value("maximized", false);
    record.text = step.value("text", "");
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

RECT VirtualScreenRect() {
    const int left = GetSystemMetrics(SM_XVIRTUALSCREEN);
    const int top = GetSystemMetrics(SM_YVIRTUALSCREEN);
    return RECT{left, top, left + GetSystemMetrics(SM_CXVIRTUALSCREEN), top + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
}

Registrations CountRegistrations(const Transcript& transcript) {
    Registrations counted;
    std::map<long long, int> balance;
    for (size_t i = 0; i < transcript.lines.size(); ++i) {
        const nlohmann::json& line = transcript.lines[i];
        const std::string ev = line.value("ev", "");
        if (ev.find(".add_") != std::string::npos && line.contains("token")) {
            ++counted.added;
            ++balance[line["token"].get<long long>()];
        } else if (ev.find(".remove_") != std::string::npos) {
            if (!line.value("found", false)) ++counted.unknownRemoved;
            --balance[line.value("token", 0LL)];
            counted.lastRemoved = static_cast<long>(i);
        }
    }
    for (const auto& [token, count] : balance) {
        if (count != 0) counted.open.push_back(token);
    }
    return counted;
}

}  // namespace e2e
