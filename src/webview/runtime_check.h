#pragma once

#include "util/app_config.h"
#include "webview/browser_loader.h"

// The download page of the public WebView2 runtime, opened when none is installed.
inline constexpr wchar_t runtimeDownloadUrl[] = L"https://go.microsoft.com/fwlink/p/?LinkId=2124703";

inline constexpr char fixedRuntimeMissingMessage[] =
    "This app is set to \"fixed\" distribution mode, but the WebView2 control failed to initialize. "
    "Check there is a valid fixed distribution of Microsoft Edge WebView2 runtime in the \"webview2\" subfolder.";

// Asks the loader for an installed runtime. False: the user has been told and
// start-up must end. Sets browserFolder (null for evergreen, "webview2" for fixed).
bool CheckBrowserRuntime(const AppConfig& config, const BrowserLoader& loader, const wchar_t*& browserFolder);
