#include "host_runner.h"

#include <algorithm>
#include <fstream>
#include <map>

#include "message_box_watcher.h"
#include "util/win_handles.h"

namespace e2e {

namespace fs = std::filesystem;

namespace {

struct NoCase {
    bool operator()(const std::wstring& a, const std::wstring& b) const { return _wcsicmp(a.c_str(), b.c_str()) < 0; }
};

// This process's environment with the overrides applied, as a CreateProcessW block.
std::wstring EnvironmentBlock(const std::vector<std::pair<std::wstring, std::wstring>>& overrides) {
    std::vector<std::wstring> hidden;  // "=C:=C:\..." style entries keep their place up front
    std::map<std::wstring, std::wstring, NoCase> variables;
    if (wchar_t* strings = GetEnvironmentStringsW()) {
        for (const wchar_t* entry = strings; *entry; entry += wcslen(entry) + 1) {
            std::wstring text(entry);
            const size_t equals = text.find(L'=', 1);
            if (text[0] == L'=' || equals == std::wstring::npos) {
                hidden.push_back(text);
            } else {
                variables[text.substr(0, equals)] = text.substr(equals + 1);
            }
        }
        FreeEnvironmentStringsW(strings);
    }
    for (const auto& [name, value] : overrides) variables[name] = value;
    std::wstring block;
    for (const auto& entry : hidden) block += entry + L'\0';
    for (const auto& [name, value] : variables) block += name + L'=' + value + L'\0';
    block += L'\0';
    return block;
}

std::string LastErrorText(const char* what) {
    return std::string(what) + " failed, error " + std::to_string(GetLastError());
}

}  // namespace

std::string HostRun::Describe() const {
    std::string text;
    if (!started) return "host not started: " + startError + "\n";
    text += timedOut ? "timed out and killed\n" : "exit code " + std::to_string(exitCode) + "\n";
    if (stuckBoxes) text += std::to_string(stuckBoxes) + " message box(es) did not close\n";
    for (const auto& box : boxes) text += "box: " + FormatMessageBoxLine(box) + "\n";
    text += "windows:";
    for (const auto& name : windowClasses) text += " " + name;
    text += "\ntranscript:\n" + transcript.Summary();
    return text;
}

bool HostRun::SawWindowClass(const std::string& name) const {
    return std::find(windowClasses.begin(), windowClasses.end(), name) != windowClasses.end();
}

HostRun RunHost(const AppFolder& folder, const HostRunOptions& options) {
    HostRun run;
    const fs::path scenarioPath = folder.Base() / L"scenario.txt";
    const fs::path transcriptPath = folder.Base() / L"transcript.jsonl";
    {
        std::ofstream scenario(scenarioPath, std::ios::binary | std::ios::trunc);
        scenario << options.scenario;
    }
    std::error_code ignored;
    fs::remove(transcriptPath, ignored);

    auto environment = options.environment;
    environment.emplace_back(L"TESSARINE_STANDIN_SCENARIO", scenarioPath.wstring());
    environment.emplace_back(L"TESSARINE_STANDIN_TRANSCRIPT", transcriptPath.wstring());
    std::wstring block = EnvironmentBlock(environment);

    const std::wstring exe = folder.Exe().wstring();
    std::wstring commandLine = L"\"" + exe + L"\"";
    if (!options.arguments.empty()) commandLine += L" " + options.arguments;
    const std::wstring workingFolder = folder.App().wstring();

    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, CREATE_UNICODE_ENVIRONMENT,
                        block.data(), workingFolder.c_str(), &startup, &process)) {
        run.startError = LastErrorText("CreateProcessW");
        return run;
    }
    run.started = true;
    UniqueHandle child(process.hProcess);
    UniqueHandle childThread(process.hThread);
    {
        MessageBoxWatcher watcher(process.dwProcessId, {}, options.boxButton);
        if (WaitForSingleObject(child.get(), options.timeoutMs) != WAIT_OBJECT_0) {
            run.timedOut = true;
            TerminateProcess(child.get(), 0xDEAD);
            WaitForSingleObject(child.get(), 10000);
        }
        watcher.Stop();
        run.boxes = watcher.Boxes();
        run.stuckBoxes = watcher.StuckBoxes();
        run.windowClasses = watcher.WindowClasses();
    }
    GetExitCodeProcess(child.get(), &run.exitCode);
    run.transcript = ReadTranscript(transcriptPath);
    return run;
}

}  // namespace e2e
