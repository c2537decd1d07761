#include "app/host_globals.h"

PallantWebView* g_webView = nullptr;
ExtensionManager* g_extensionManager = nullptr;
