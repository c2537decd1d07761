#include "test_app.h"

#include <shlobj.h>

#include <fstream>

#include "standin/body_digest.h"
#include "util/text_convert.h"
#include "util/win_handles.h"

namespace e2e {

namespace fs = std::filesystem;
using nlohmann::json;

std::unique_ptr<AppFolder> MakeApp(const std::string& label, const std::optional<std::string>& packageJson,
                                   bool withLoader) {
    auto app = std::make_unique<AppFolder>(label);
    if (packageJson) app->WritePackageJson(*packageJson);
    app->WriteFile("www/index.html", "<!doctype html><title>e2e</title><p>Hello</p>\n");
    app->CopyHost(withLoader);
    return app;
}

HostRun RunScenario(const AppFolder& app, const Scenario& scenario, HostRunOptions options) {
    options.scenario = scenario.Text();
    options.environment.push_back(NoExternalBrowser());
    return RunHost(app, options);
}

HostRun PlaySteps(const AppFolder& app, const std::vector<std::string>& knobs, const std::vector<std::string>& steps,
                  std::vector<int>& lines, HostRunOptions options) {
    Scenario scenario;
    for (const std::string& knob : knobs) scenario.Add(knob);
    scenario.Add("dom-content-loaded");
    lines.clear();
    for (const std::string& step : steps) lines.push_back(scenario.Add(step));
    scenario.Add("close-window");
    return RunScenario(app, scenario, std::move(options));
}

// Read here, not through the host's GetKnownFolderPath: its answers are what the tests check.
std::string KnownFolder(const GUID& id) {
    CoTaskMemPtr<wchar_t> path;
    std::string folder;
    if (SUCCEEDED(SHGetKnownFolderPath(id, 0, nullptr, path.put())) && path) folder = WideToUtf8(path.get());
    if (folder.rfind("\\\\?\\", 0) == 0) folder.erase(0, 4);
    return folder;
}

std::string LocalAppDataFolder() {
    return KnownFolder(FOLDERID_LocalAppData);
}

std::string AppFolderText(const AppFolder& app) {
    return WideToUtf8(app.App().wstring()) + "\\";
}

int SystemDpi() {
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    return dpi;
}

std::pair<std::wstring, std::wstring> NoExternalBrowser() {
    std::wstring overrides(4096, L'\0');
    const DWORD length = GetEnvironmentVariableW(L"WINEDLLOVERRIDES", overrides.data(), 4096);
    overrides.resize(length < 4096 ? length : 0);
    if (!overrides.empty()) overrides += L";";
    return {L"WINEDLLOVERRIDES", overrides + L"winebrowser.exe=d"};
}

std::string PatternBytes(size_t size, uint32_t seed) {
    std::string bytes(size, '\0');
    uint32_t state = seed * 2654435761u + 1;
    for (char& byte : bytes) {
        state = state * 1664525u + 1013904223u;
        byte = static_cast<char>(state >> 24);
    }
    return bytes;
}

json RecordedBody(const std::string& bytes) {
    return standin::DescribeBody(std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
}

TestExtension::TestExtension(const AppFolder& app, const json& config, const std::string& library)
    : config_(app.Base() / L"extension-config.json"), record_(app.Base() / L"extension-record.jsonl") {
    app.CopyFromRunner(library, "Orvanta.dll");
    std::ofstream(config_, std::ios::binary | std::ios::trunc) << config.dump();
    std::error_code ignored;
    fs::remove(record_, ignored);
}

void TestExtension::Apply(HostRunOptions& options) const {
    options.environment.emplace_back(L"TESSARINE_TEST_EXTENSION_CONFIG", config_.wstring());
    options.environment.emplace_back(L"TESSARINE_TEST_EXTENSION_RECORD", record_.wstring());
}

std::vector<json> TestExtension::Record() const {
    std::vector<json> lines;
    std::ifstream file(record_, std::ios::binary);
    for (std::string text; std::getline(file, text);) {
        if (text.empty()) continue;
        json line = json::parse(text, nullptr, false);
        lines.push_back(line.is_discarded() ? json{{"call", "(unreadable line)"}, {"text", text}} : line);
    }
    return lines;
}

}  // namespace e2e
