// Shared pieces of the end-to-end tests: app folders with the host, and the checks
// every run gets.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "e2e/app_folder.h"
#include "e2e/host_runner.h"

namespace e2e_test {

// A fresh folder named after the running test, with tessarine.exe, the stand-in
// WebView2Loader.dll (unless withLoader is false), www\index.html and, unless
// packageJson is nullopt, package.json with exactly that text.
std::unique_ptr<e2e::AppFolder> MakeApp(const std::optional<std::string>& packageJson, bool withLoader = true);

// The local application data folder in UTF-8, as the shell reports it.
std::string LocalAppDataFolder();

// The system DPI of the Wine prefix the tests run in.
int SystemDpi();

// Environment for the host that keeps Wine from starting a real web browser.
std::pair<std::wstring, std::wstring> NoExternalBrowser();

// The run ended by itself with this exit code, no box got stuck and the stand-in
// understood its scenario.
void ExpectEnded(const e2e::HostRun& run, unsigned long exitCode);

// The run showed exactly one message box, with these texts and icon.
void ExpectOnlyBox(const e2e::HostRun& run, const std::string& caption, const std::string& text, e2e::IconKind icon);

// The host got no further than its start-up checks: no browser environment asked for
// and no main window.
void ExpectNoBrowserAndNoWindow(const e2e::HostRun& run);

}  // namespace e2e_test
