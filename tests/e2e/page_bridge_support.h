// Pieces shared by the page-bridge end-to-end tests: scenarios built step by step, what
// the host posted while each step ran, and the test extension's settings and record.
#pragma once

#include <windows.h>

#include <filesystem>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "e2e/app_folder.h"
#include "e2e/host_runner.h"

namespace bridge_e2e {

// A page of the app, the usual sender of page messages.
inline constexpr char kPageUrl[] = "https://tessarine.localhost/index.html";

// A stand-in scenario whose steps know their own line numbers.
class Scenario {
public:
    // Appends one line (a knob or a step) and returns its line number.
    int Add(const std::string& line);
    // A string message with this exact text from this sender.
    int Message(const std::string& text, const std::string& source = kPageUrl);
    // The same through the escaped form of the step (%XX becomes byte XX).
    int EscapedMessage(const std::string& text, const std::string& source = kPageUrl);
    int RecordWindow() { return Add("record-window"); }
    const std::string& Text() const { return text_; }

private:
    std::string text_;
    int lines_ = 0;
};

// The transcript line of the step written at this scenario line; null when it never ran.
nlohmann::json StepResult(const e2e::Transcript& transcript, int line);

// Transcript lines with this "ev" written while the step at this scenario line ran
// (after the previous step's line, before its own).
std::vector<nlohmann::json> CallsDuring(const e2e::Transcript& transcript, int line, const std::string& ev);

// The texts the host posted with PostWebMessageAsJson while the step ran, in order.
std::vector<std::string> PostsDuring(const e2e::Transcript& transcript, int line);

// Every text the host posted with PostWebMessageAsJson, in order.
std::vector<std::string> AllPosts(const e2e::Transcript& transcript);

// Window rectangle and client size of a record-window step.
struct WindowRecord {
    bool found = false;
    long style = 0;
    long exStyle = 0;
    RECT windowRect{};
    long clientWidth = 0;
    long clientHeight = 0;
    bool minimized = false;
    bool maximized = false;
};
WindowRecord WindowAt(const e2e::Transcript& transcript, int line);
bool SameRect(const RECT& a, const RECT& b);
std::string RectText(const RECT& rect);

// The primary monitor's rectangle, as the test process sees it.
RECT PrimaryMonitorRect();

// The test extension library, copied into the app folder as Orvanta.dll, with its
// settings file and record file beside the app folder.
class TestExtension {
public:
    // `library`: the file of the test program's folder to copy ("Orvanta.dll" or a variant).
    TestExtension(const e2e::AppFolder& app, const nlohmann::json& config, const std::string& library = "Orvanta.dll");
    // Points the host run at the settings and record files.
    void Apply(e2e::HostRunOptions& options) const;
    // Every line the library recorded, in order.
    std::vector<nlohmann::json> Record() const;
    // The recorded lines whose "call" is this name.
    std::vector<nlohmann::json> Calls(const std::string& call) const;

private:
    std::filesystem::path config_;
    std::filesystem::path record_;
};

// Known-folder path as the host reports it: no trailing backslash, empty when the
// folder does not exist in this prefix.
std::string KnownFolder(const GUID& id);

// The app folder as the host names it: UTF-8 with a trailing backslash.
std::string AppFolderText(const e2e::AppFolder& app);

// Runs the host with the scenario and the extra settings in `options`.
e2e::HostRun RunScenario(const e2e::AppFolder& app, const Scenario& scenario, e2e::HostRunOptions options = {});

}  // namespace bridge_e2e
