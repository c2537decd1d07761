// Windows-only. The loader's reading of the host's environment options: every
// property through each of the eight options interfaces, as the real loader
// does, each value on its own transcript line.
#pragma once

#include <string>

#include "util/webview2.h"

namespace standin {

// Returns the extra browser arguments the host set (empty when none).
std::wstring RecordEnvironmentOptions(ICoreWebView2EnvironmentOptions* options);

}  // namespace standin
