#include "webview/browser_loader.h"

#include "util/long_path.h"
#include "util/text_convert.h"

std::string LoadBrowserLoader(const std::string& appFolder, BrowserLoader& loader) {
    const std::wstring path = ToLongPath(Utf8ToWide(appFolder + browserLoaderFileName));
    // What the loader needs is Windows' own: from System32, never from beside it.
    loader.module.reset(LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32));
    if (!loader.module) {
        return std::string("Could not load ") + browserLoaderFileName + ". Put " + browserLoaderFileName +
               " in the same folder as the app and start it again.";
    }
    const char* const versionExport = "GetAvailableCoreWebView2BrowserVersionString";
    const char* const createExport = "CreateCoreWebView2EnvironmentWithOptions";
    loader.getAvailableBrowserVersion = reinterpret_cast<GetAvailableCoreWebView2BrowserVersionStringFn>(
        reinterpret_cast<void*>(GetProcAddress(loader.module.get(), versionExport)));
    loader.createEnvironmentWithOptions = reinterpret_cast<CreateCoreWebView2EnvironmentWithOptionsFn>(
        reinterpret_cast<void*>(GetProcAddress(loader.module.get(), createExport)));
    const char* missing = !loader.getAvailableBrowserVersion     ? versionExport
                          : !loader.createEnvironmentWithOptions ? createExport
                                                                 : nullptr;
    if (missing) {
        return std::string(browserLoaderFileName) + " does not provide " + missing + ". Put the " +
               browserLoaderFileName + " of the WebView2 SDK in the same folder as the app and start it again.";
    }
    return {};
}
