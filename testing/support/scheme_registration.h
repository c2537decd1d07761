// Windows-only. A custom scheme registration that only counts its references, for
// tests of what holds one.
#pragma once

#include "util/com_object.h"
#include "util/webview2.h"

namespace test_support {

class SchemeRegistration final : public ComObject<ICoreWebView2CustomSchemeRegistration> {
public:
    ULONG References() {
        AddRef();
        return Release();
    }
    HRESULT STDMETHODCALLTYPE get_SchemeName(LPWSTR*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_TreatAsSecure(BOOL*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_TreatAsSecure(BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetAllowedOrigins(UINT32*, LPWSTR**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetAllowedOrigins(UINT32, LPCWSTR*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_HasAuthorityComponent(BOOL*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_HasAuthorityComponent(BOOL) override { return E_NOTIMPL; }
};

}  // namespace test_support
