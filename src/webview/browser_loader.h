#pragma once
// The WebView2 loader library, loaded at run time from the executable's folder so
// the same exe runs with the real loader and with a test stand-in.

#include <windows.h>

#include <string>

#include "util/win_handles.h"
#include "util/webview2.h"

struct BrowserLoader {
    ModuleHandle module;
    GetAvailableCoreWebView2BrowserVersionStringFn getAvailableBrowserVersion = nullptr;
    CreateCoreWebView2EnvironmentWithOptionsFn createEnvironmentWithOptions = nullptr;
};

inline constexpr char browserLoaderFileName[] = "WebView2Loader.dll";

// Fills the loader from appFolder (ending in a backslash). Returns the message to
// show the user when the library or one of its exports is missing, else empty.
std::string LoadBrowserLoader(const std::string& appFolder, BrowserLoader& loader);
