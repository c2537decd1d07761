// App folders with the host for one test, the test extension library beside it, and
// what the host reads from the system (Windows-only).
#pragma once

#include <windows.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <nlohmann/json.hpp>

#include "app_folder.h"
#include "host_runner.h"
#include "scenario.h"

namespace e2e {

// A fresh folder with tessarine.exe, the stand-in WebView2Loader.dll (unless withLoader
// is false), www\index.html and, unless packageJson is nullopt, package.json with
// exactly that text.
std::unique_ptr<AppFolder> MakeApp(const std::string& label, const std::optional<std::string>& packageJson,
                                   bool withLoader = true);

// Runs the host with the scenario and the other settings in `options`; links it opens go
// nowhere (see NoExternalBrowser).
HostRun RunScenario(const AppFolder& app, const Scenario& scenario, HostRunOptions options = {});

// Runs the knobs, "dom-content-loaded", the steps and "close-window"; `lines` gets the
// scenario line of each step.
HostRun PlaySteps(const AppFolder& app, const std::vector<std::string>& knobs, const std::vector<std::string>& steps,
                  std::vector<int>& lines, HostRunOptions options = {});

// Known-folder path as the host reports it: no trailing backslash, empty when the folder
// does not exist in this prefix.
std::string KnownFolder(const GUID& id);
std::string LocalAppDataFolder();
// The app folder as the host names it: UTF-8 with a trailing backslash.
std::string AppFolderText(const AppFolder& app);

// The system DPI of the Wine prefix the tests run in.
int SystemDpi();

// Environment for the host that keeps Wine from starting a real web browser.
std::pair<std::wstring, std::wstring> NoExternalBrowser();

// Reproducible bytes standing in for media and script files.
std::string PatternBytes(size_t size, uint32_t seed);

// A response body as the stand-in records it: {length, fnv1a64 (FNV-1a 64-bit, 16
// lower-case hex digits), hex (of bodies up to 4096 bytes)}.
nlohmann::json RecordedBody(const std::string& bytes);

// The test extension library, copied into the app folder as Orvanta.dll, with its
// settings file and record file beside the app folder.
class TestExtension {
public:
    // `library`: the file of the test program's folder to copy ("Orvanta.dll" or a variant).
    TestExtension(const AppFolder& app, const nlohmann::json& config, const std::string& library = "Orvanta.dll");
    // Points the host run at the settings and record files.
    void Apply(HostRunOptions& options) const;
    // Every line the library recorded, in order.
    std::vector<nlohmann::json> Record() const;

private:
    std::filesystem::path config_;
    std::filesystem::path record_;
};

}  // namespace e2e
