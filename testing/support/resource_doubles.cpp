// Windows-only.
#include "support/resource_doubles.h"

namespace test_support {

namespace {

template <class T>
HRESULT GiveOut(const ComPtr<T>& held, T** out) {
    if (out == nullptr) return E_POINTER;
    *out = held.get();
    if (*out != nullptr) (*out)->AddRef();
    return S_OK;
}

}  // namespace

void RecordedResponse::Set(IStream* content, int statusCode, const wchar_t* reasonPhrase, const wchar_t* headerText) {
    body = ComPtr<IStream>::Wrap(content);
    status = statusCode;
    reason = reasonPhrase ? reasonPhrase : L"";
    headers = headerText ? headerText : L"";
}

HRESULT RecordedResponse::get_Content(IStream** content) {
    return GiveOut(body, content);
}
HRESULT RecordedResponse::put_Content(IStream* content) {
    body = ComPtr<IStream>::Wrap(content);
    return S_OK;
}
HRESULT RecordedResponse::get_Headers(ICoreWebView2HttpResponseHeaders**) {
    return E_NOTIMPL;
}
HRESULT RecordedResponse::get_StatusCode(int* statusCode) {
    if (statusCode == nullptr) return E_POINTER;
    *statusCode = status;
    return S_OK;
}
HRESULT RecordedResponse::put_StatusCode(int statusCode) {
    status = statusCode;
    return S_OK;
}
HRESULT RecordedResponse::get_ReasonPhrase(LPWSTR* reasonPhrase) {
    return CopyToCaller(reason, reasonPhrase);
}
HRESULT RecordedResponse::put_ReasonPhrase(LPCWSTR reasonPhrase) {
    reason = reasonPhrase ? reasonPhrase : L"";
    return S_OK;
}

ResponseMaker::ResponseMaker(bool reuse) {
    if (reuse) reused_.attach(new RecordedResponse());
}

HRESULT ResponseMaker::CreateCoreWebView2Controller(HWND, ICoreWebView2CreateCoreWebView2ControllerCompletedHandler*) {
    return E_NOTIMPL;
}

HRESULT ResponseMaker::CreateWebResourceResponse(IStream* content, int statusCode, LPCWSTR reasonPhrase,
                                                 LPCWSTR headers, ICoreWebView2WebResourceResponse** response) {
    if (response == nullptr) return E_POINTER;
    ComPtr<RecordedResponse> made = reused_;
    if (!made) made.attach(new RecordedResponse());
    made->Set(content, statusCode, reasonPhrase, headers);
    *response = made.detach();
    return S_OK;
}

HRESULT ResponseMaker::get_BrowserVersionString(LPWSTR* versionInfo) {
    return CopyToCaller(L"0.0.0.0", versionInfo);
}
HRESULT ResponseMaker::add_NewBrowserVersionAvailable(ICoreWebView2NewBrowserVersionAvailableEventHandler*,
                                                      EventRegistrationToken*) {
    return E_NOTIMPL;
}
HRESULT ResponseMaker::remove_NewBrowserVersionAvailable(EventRegistrationToken) {
    return E_NOTIMPL;
}

RequestArgs::RequestArgs(std::wstring uri, std::vector<std::pair<std::wstring, std::wstring>> headers)
    : uri_(std::move(uri)), headers_(std::move(headers)) {}

HRESULT RequestArgs::get_Request(ICoreWebView2WebResourceRequest** request) {
    if (request == nullptr) return E_POINTER;
    *request = this;
    AddRef();
    return S_OK;
}
HRESULT RequestArgs::get_Response(ICoreWebView2WebResourceResponse** response) {
    return GiveOut(other_, response);
}
HRESULT RequestArgs::put_Response(ICoreWebView2WebResourceResponse* response) {
    other_ = ComPtr<ICoreWebView2WebResourceResponse>::Wrap(response);
    // Only this file makes RecordedResponse objects, and they answer only this interface.
    answer_ = ComPtr<RecordedResponse>::Wrap(static_cast<RecordedResponse*>(response));
    return S_OK;
}
HRESULT RequestArgs::GetDeferral(ICoreWebView2Deferral**) {
    return E_NOTIMPL;
}
HRESULT RequestArgs::get_ResourceContext(COREWEBVIEW2_WEB_RESOURCE_CONTEXT*) {
    return E_NOTIMPL;
}
HRESULT RequestArgs::get_Uri(LPWSTR* uri) {
    return CopyToCaller(uri_, uri);
}
HRESULT RequestArgs::put_Uri(LPCWSTR) {
    return E_NOTIMPL;
}
HRESULT RequestArgs::get_Method(LPWSTR* method) {
    return CopyToCaller(L"GET", method);
}
HRESULT RequestArgs::put_Method(LPCWSTR) {
    return E_NOTIMPL;
}
HRESULT RequestArgs::get_Content(IStream** content) {
    if (content == nullptr) return E_POINTER;
    *content = nullptr;
    return S_OK;
}
HRESULT RequestArgs::put_Content(IStream*) {
    return E_NOTIMPL;
}
HRESULT RequestArgs::get_Headers(ICoreWebView2HttpRequestHeaders** headers) {
    if (headers == nullptr) return E_POINTER;
    *headers = this;
    AddRef();
    return S_OK;
}

const std::pair<std::wstring, std::wstring>* RequestArgs::FindHeader(LPCWSTR name) const {
    for (const auto& header : headers_) {
        if (name != nullptr && _wcsicmp(header.first.c_str(), name) == 0) return &header;
    }
    return nullptr;
}

HRESULT RequestArgs::GetHeader(LPCWSTR name, LPWSTR* value) {
    if (onGetHeader) onGetHeader();
    const auto* header = FindHeader(name);
    if (header == nullptr) return HRESULT_FROM_WIN32(ERROR_NOT_FOUND);
    return CopyToCaller(header->second, value);
}
HRESULT RequestArgs::GetHeaders(LPCWSTR, ICoreWebView2HttpHeadersCollectionIterator**) {
    return E_NOTIMPL;
}
HRESULT RequestArgs::Contains(LPCWSTR name, BOOL* value) {
    if (value == nullptr) return E_POINTER;
    *value = FindHeader(name) != nullptr;
    return S_OK;
}
HRESULT RequestArgs::SetHeader(LPCWSTR, LPCWSTR) {
    return E_NOTIMPL;
}
HRESULT RequestArgs::RemoveHeader(LPCWSTR) {
    return E_NOTIMPL;
}
HRESULT RequestArgs::GetIterator(ICoreWebView2HttpHeadersCollectionIterator**) {
    return E_NOTIMPL;
}

std::string ReadToEnd(IStream* stream, ULONG piece) {
    std::string bytes;
    if (stream == nullptr) return bytes;
    std::string buffer(piece, '\0');
    for (;;) {
        ULONG read = 0;
        const HRESULT hr = stream->Read(buffer.data(), piece, &read);
        bytes.append(buffer.data(), read);
        if (FAILED(hr) || hr == S_FALSE || read < piece) return bytes;
    }
}

}  // namespace test_support
