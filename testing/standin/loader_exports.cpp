// Windows-only. The exports of WebView2Loader.dll and the DLL's entry point.
#include <windows.h>

#include <string>
#include <utility>

#include "browser_version.h"
#include "com_text.h"
#include "environment.h"
#include "options_reader.h"
#include "runtime.h"
#include "util/win_handles.h"
#include "util/webview2.h"

using namespace standin;

namespace {

const HRESULT runtimeNotFound = HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);

// A null or empty folder asks for the installed (evergreen) runtime; any
// other names a fixed copy.
bool RuntimePresent(PCWSTR browserFolder) {
    const Scenario& scenario = Runtime::Get().scenario();
    const bool evergreen = browserFolder == nullptr || browserFolder[0] == L'\0';
    return evergreen ? scenario.evergreenPresent : scenario.fixedPresent;
}

void DeliverEnvironment(const ComPtr<ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler>& handler,
                        const std::wstring& userDataFolder, std::optional<std::int32_t> failure) {
    Deliver("deliver:environment", handler, failure, [&] { return MakeObject<Environment>(userDataFolder); });
}

HRESULT StartEnvironment(Json line, PCWSTR browserFolder, PCWSTR userDataFolder,
                         ICoreWebView2EnvironmentOptions* options,
                         ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler* handler) {
    Runtime& runtime = Runtime::Get();
    runtime.SetBrowserThread(::GetCurrentThreadId());
    HRESULT hr = S_OK;
    if (handler == nullptr) {
        hr = E_INVALIDARG;
    } else if (!RuntimePresent(browserFolder)) {
        hr = runtimeNotFound;
    }
    line["hr"] = HresultText(hr);
    runtime.Record(std::move(line));
    const std::wstring arguments = RecordEnvironmentOptions(options);
    if (FAILED(hr)) return hr;

    auto completion = ComPtr<ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler>::Wrap(handler);
    std::wstring folder = userDataFolder != nullptr ? userDataFolder : L"";
    if (LiveEngine* live = runtime.live()) {
        // The browser starts now, with the host's extra arguments on its command line.
        live->StartBrowser(arguments, [completion, folder](HRESULT code) {
            DeliverEnvironment(completion, folder, FAILED(code) ? std::optional<std::int32_t>(code) : std::nullopt);
        });
        return S_OK;
    }
    runtime.After(runtime.scenario().tickMs, [completion, folder = std::move(folder)] {
        DeliverEnvironment(completion, folder, Runtime::Get().scenario().environmentResult);
    });
    return S_OK;
}

}  // namespace

extern "C" {

HRESULT STDAPICALLTYPE GetAvailableCoreWebView2BrowserVersionString(PCWSTR browserExecutableFolder,
                                                                    LPWSTR* versionInfo) {
    Runtime& runtime = Runtime::Get();
    Json line = Event("Loader.GetAvailableCoreWebView2BrowserVersionString");
    line["browserFolder"] = WideJson(browserExecutableFolder);
    HRESULT hr = S_OK;
    if (versionInfo == nullptr) {
        hr = E_POINTER;
    } else if (RuntimePresent(browserExecutableFolder)) {
        hr = CopyToCaller(Utf8ToWide(runtime.scenario().browserVersion), versionInfo);
    } else {
        *versionInfo = nullptr;
        hr = runtimeNotFound;
    }
    line["version"] = SUCCEEDED(hr) ? Json(runtime.scenario().browserVersion) : Json(nullptr);
    line["hr"] = HresultText(hr);
    runtime.Record(std::move(line));
    return hr;
}

HRESULT STDAPICALLTYPE CreateCoreWebView2EnvironmentWithOptions(
    PCWSTR browserExecutableFolder, PCWSTR userDataFolder, ICoreWebView2EnvironmentOptions* environmentOptions,
    ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler* environmentCreatedHandler) {
    Json line = Event("Loader.CreateCoreWebView2EnvironmentWithOptions");
    line["browserFolder"] = WideJson(browserExecutableFolder);
    line["userDataFolder"] = WideJson(userDataFolder);
    std::wstring hostingMode;
    line["forcedHostingMode"] = ReadEnvironmentVariable(L"COREWEBVIEW2_FORCED_HOSTING_MODE", hostingMode)
                                    ? WideJson(hostingMode.c_str())
                                    : Json(nullptr);
    line["options"] = environmentOptions != nullptr;
    return StartEnvironment(std::move(line), browserExecutableFolder, userDataFolder, environmentOptions,
                            environmentCreatedHandler);
}

HRESULT STDAPICALLTYPE
CreateCoreWebView2Environment(ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler* environmentCreatedHandler) {
    return StartEnvironment(Event("Loader.CreateCoreWebView2Environment"), nullptr, nullptr, nullptr,
                            environmentCreatedHandler);
}

HRESULT STDAPICALLTYPE CompareBrowserVersions(PCWSTR version1, PCWSTR version2, int* result) {
    Json line = Event("Loader.CompareBrowserVersions");
    line["version1"] = WideJson(version1);
    line["version2"] = WideJson(version2);
    HRESULT hr = S_OK;
    int order = 0;
    if (result == nullptr) {
        hr = E_POINTER;
    } else if (version1 == nullptr || version2 == nullptr ||
               !CompareVersions(WideToUtf8(version1), WideToUtf8(version2), order)) {
        hr = E_INVALIDARG;
    } else {
        *result = order;
        line["value"] = order;
    }
    if (FAILED(hr)) line["hr"] = HresultText(hr);
    Runtime::Get().Record(std::move(line));
    return hr;
}

BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID reserved) {
    if (reason == DLL_PROCESS_ATTACH) {
        ::DisableThreadLibraryCalls(module);
    } else if (reason == DLL_PROCESS_DETACH) {
        // A non-null reserved pointer: the process is ending rather than unloading us.
        Runtime::Unload(reserved != nullptr);
    }
    return TRUE;
}

}  // extern "C"
