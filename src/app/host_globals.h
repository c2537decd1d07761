#pragma once
// The process-wide pointers of the run; null outside the message loop.

class ExtensionManager;
class PallantWebView;

extern PallantWebView* g_webView;
extern ExtensionManager* g_extensionManager;
