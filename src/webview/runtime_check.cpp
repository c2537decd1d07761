#include "webview/runtime_check.h"

#include <shellapi.h>

#include "util/text_convert.h"
#include "util/win_handles.h"

bool CheckBrowserRuntime(const AppConfig& config, const BrowserLoader& loader, const wchar_t*& browserFolder) {
    const bool fixed = config.distributionMode == DistributionMode::Fixed;
    browserFolder = fixed ? L"webview2" : nullptr;
    CoTaskMemPtr<wchar_t> version;
    loader.getAvailableBrowserVersion(browserFolder, version.put());
    if (version) return true;

    const std::wstring caption = Utf8ToWide(config.title);
    if (fixed) {
        MessageBoxW(nullptr, Utf8ToWide(fixedRuntimeMissingMessage).c_str(), caption.c_str(), MB_OK | MB_ICONERROR);
    } else {
        MessageBoxW(nullptr, Utf8ToWide(config.installRuntimeMessage).c_str(), caption.c_str(), MB_OK | MB_ICONWARNING);
        ShellExecuteW(nullptr, L"open", runtimeDownloadUrl, nullptr, nullptr, SW_SHOWDEFAULT);
    }
    return false;
}
