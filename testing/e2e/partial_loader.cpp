// A WebView2Loader.dll that lacks one of the two exports the host needs: built once
// with only the version query and once with only environment creation.
#include <windows.h>
#include <objbase.h>

#include <cwchar>

#if defined(PARTIAL_LOADER_VERSION_ONLY)
extern "C" __declspec(dllexport) HRESULT STDMETHODCALLTYPE
    GetAvailableCoreWebView2BrowserVersionString(PCWSTR, LPWSTR* version) {
    // Says a runtime is there, so only the missing export can stop the host.
    static const wchar_t text[] = L"144.0.3719.77";
    if (!version) return E_POINTER;
    *version = static_cast<LPWSTR>(CoTaskMemAlloc(sizeof(text)));
    if (!*version) return E_OUTOFMEMORY;
    std::wmemcpy(*version, text, sizeof(text) / sizeof(text[0]));
    return S_OK;
}
#else
extern "C" __declspec(dllexport) HRESULT STDMETHODCALLTYPE
    CreateCoreWebView2EnvironmentWithOptions(PCWSTR, PCWSTR, IUnknown*, IUnknown*) {
    return E_FAIL;
}
#endif
