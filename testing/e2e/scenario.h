// Stand-in scenarios built step by step, and what the host did while each step ran
// (Windows-only).
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "transcript.h"

namespace e2e {

// A page of the app, the usual sender of page messages.
inline constexpr char kPageUrl[] = "https://tessarine.localhost/index.html";

// A scenario whose steps know their own line numbers.
class Scenario {
public:
    // Appends one line (a knob or a step) and returns its line number.
    int Add(const std::string& line);
    // A string message with this exact text from this sender.
    int Message(const std::string& text, const std::string& source = kPageUrl);
    int RecordWindow() { return Add("record-window"); }
    const std::string& Text() const { return text_; }

private:
    std::string text_;
    int lines_ = 0;
};

// The transcript line of the step written at this scenario line; null when it never ran.
nlohmann::json StepResult(const Transcript& transcript, int line);

// Lines with this "ev" written while the step at this scenario line ran (after the
// previous step's line, before its own).
std::vector<nlohmann::json> CallsDuring(const Transcript& transcript, int line, const std::string& ev);

// The texts the host posted with PostWebMessageAsJson while the step ran, or in the
// whole run, in order.
std::vector<std::string> PostsDuring(const Transcript& transcript, int line);
std::vector<std::string> AllPosts(const Transcript& transcript);

// The host's event registrations over a run: every add_ with its token, every remove_.
struct Registrations {
    int added = 0;
    std::vector<long long> open;  // tokens never removed
    int unknownRemoved = 0;       // removals the runtime did not know
    long lastRemoved = -1;        // index of the last remove_ line
};
Registrations CountRegistrations(const Transcript& transcript);

// A member of every line named `ev`, in order ("(missing)" where a line lacks it).
std::vector<nlohmann::json> Values(const Transcript& transcript, const std::string& ev, const std::string& member);

// "Method=value" of every line whose "ev" starts with `prefix` (which is left out), in
// order, separated by blanks; the value as compact JSON.
std::string CallValues(const Transcript& transcript, const std::string& prefix);

// "Ev.member": that member of the first line with that "ev" ("(no call)" when there is
// none); "Ev#": how many lines have that "ev".
nlohmann::json Lookup(const Transcript& transcript, const std::string& query);

// The window as a record-window step saw it.
struct WindowRecord {
    bool found = false;
    bool visible = false;
    long style = 0;
    long exStyle = 0;
    RECT windowRect{};
    long clientWidth = 0;
    long clientHeight = 0;
    bool minimized = false;
    bool maximized = false;
    std::string text;
};
WindowRecord WindowAt(const Transcript& transcript, int line);

bool SameRect(const RECT& a, const RECT& b);
std::string RectText(const RECT& rect);
// The primary monitor's rectangle, and the whole virtual screen (a released clip).
RECT PrimaryMonitorRect();
RECT VirtualScreenRect();

}  // namespace e2e
