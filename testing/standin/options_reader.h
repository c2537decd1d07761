// Windows-only. The loader's reading of the host's environment options: every
// property through each of the eight options interfaces, as the real loader
// does, each value on its own transcript line.
#pragma once

#include "webview/webview2.h"

namespace standin {

void RecordEnvironmentOptions(ICoreWebView2EnvironmentOptions* options);

}  // namespace standin
