// Windows-only. The options object handed to the WebView2 loader when the
// browser environment is created.
#pragma once

#include "util/win_handles.h"
#include "util/webview2.h"

// The browser version the host is built against: the oldest runtime it accepts.
inline constexpr wchar_t kTargetCompatibleBrowserVersion[] = L"144.0.3719.77";

// A fresh options object with the WebView2 SDK's standard defaults. It answers
// IUnknown and every ICoreWebView2EnvironmentOptions interface (1 to 8), since
// the loader reads each property through the interface that declares it.
// Empty only when memory runs out.
ComPtr<ICoreWebView2EnvironmentOptions> CreateEnvironmentOptions();
