// Windows-only. Light stand-ins for the browser's side of one resource request, for
// driving the content server in-process: the event arguments with their request
// and headers, and an environment whose responses keep what the host gave them.
// Built on the host's own COM base and owners.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "util/com_object.h"
#include "util/win_handles.h"
#include "util/webview2.h"

namespace test_support {

// What the host answered: status, reason, header text and body, as handed over.
class RecordedResponse final : public ComObject<ICoreWebView2WebResourceResponse> {
public:
    void Set(IStream* content, int status, const wchar_t* reason, const wchar_t* headers);

    ComPtr<IStream> body;
    int status = 0;
    std::wstring reason;
    std::wstring headers;

    HRESULT STDMETHODCALLTYPE get_Content(IStream** content) override;
    HRESULT STDMETHODCALLTYPE put_Content(IStream* content) override;
    HRESULT STDMETHODCALLTYPE get_Headers(ICoreWebView2HttpResponseHeaders** headers) override;
    HRESULT STDMETHODCALLTYPE get_StatusCode(int* statusCode) override;
    HRESULT STDMETHODCALLTYPE put_StatusCode(int statusCode) override;
    HRESULT STDMETHODCALLTYPE get_ReasonPhrase(LPWSTR* reasonPhrase) override;
    HRESULT STDMETHODCALLTYPE put_ReasonPhrase(LPCWSTR reasonPhrase) override;
};

// Makes responses. With `reuse` it hands out the same response object every time,
// so that timing the host measures the host and not this double.
class ResponseMaker final : public ComObject<ICoreWebView2Environment> {
public:
    explicit ResponseMaker(bool reuse = false);

    HRESULT STDMETHODCALLTYPE CreateCoreWebView2Controller(
        HWND parentWindow, ICoreWebView2CreateCoreWebView2ControllerCompletedHandler* handler) override;
    HRESULT STDMETHODCALLTYPE CreateWebResourceResponse(IStream* content, int statusCode, LPCWSTR reasonPhrase,
                                                        LPCWSTR headers,
                                                        ICoreWebView2WebResourceResponse** response) override;
    HRESULT STDMETHODCALLTYPE get_BrowserVersionString(LPWSTR* versionInfo) override;
    HRESULT STDMETHODCALLTYPE add_NewBrowserVersionAvailable(
        ICoreWebView2NewBrowserVersionAvailableEventHandler* eventHandler, EventRegistrationToken* token) override;
    HRESULT STDMETHODCALLTYPE remove_NewBrowserVersionAvailable(EventRegistrationToken token) override;

private:
    ComPtr<RecordedResponse> reused_;
};

// One request: its URI and header lines. `onGetHeader`, if set, runs when the host
// asks for a header's value, before the value is handed over (to change the world
// in the middle of an answer).
class RequestArgs final : public ComObject<ICoreWebView2WebResourceRequestedEventArgs, ICoreWebView2WebResourceRequest,
                                           ICoreWebView2HttpRequestHeaders> {
public:
    RequestArgs(std::wstring uri, std::vector<std::pair<std::wstring, std::wstring>> headers);

    // The response the host set, if it is one of ours.
    RecordedResponse* Answer() const { return answer_.get(); }
    std::function<void()> onGetHeader;

    // Event arguments.
    HRESULT STDMETHODCALLTYPE get_Request(ICoreWebView2WebResourceRequest** request) override;
    HRESULT STDMETHODCALLTYPE get_Response(ICoreWebView2WebResourceResponse** response) override;
    HRESULT STDMETHODCALLTYPE put_Response(ICoreWebView2WebResourceResponse* response) override;
    HRESULT STDMETHODCALLTYPE GetDeferral(ICoreWebView2Deferral** deferral) override;
    HRESULT STDMETHODCALLTYPE get_ResourceContext(COREWEBVIEW2_WEB_RESOURCE_CONTEXT* context) override;
    // The request.
    HRESULT STDMETHODCALLTYPE get_Uri(LPWSTR* uri) override;
    HRESULT STDMETHODCALLTYPE put_Uri(LPCWSTR uri) override;
    HRESULT STDMETHODCALLTYPE get_Method(LPWSTR* method) override;
    HRESULT STDMETHODCALLTYPE put_Method(LPCWSTR method) override;
    HRESULT STDMETHODCALLTYPE get_Content(IStream** content) override;
    HRESULT STDMETHODCALLTYPE put_Content(IStream* content) override;
    HRESULT STDMETHODCALLTYPE get_Headers(ICoreWebView2HttpRequestHeaders** headers) override;
    // Its headers.
    HRESULT STDMETHODCALLTYPE GetHeader(LPCWSTR name, LPWSTR* value) override;
    HRESULT STDMETHODCALLTYPE GetHeaders(LPCWSTR name, ICoreWebView2HttpHeadersCollectionIterator** value) override;
    HRESULT STDMETHODCALLTYPE Contains(LPCWSTR name, BOOL* value) override;
    HRESULT STDMETHODCALLTYPE SetHeader(LPCWSTR name, LPCWSTR value) override;
    HRESULT STDMETHODCALLTYPE RemoveHeader(LPCWSTR name) override;
    HRESULT STDMETHODCALLTYPE GetIterator(ICoreWebView2HttpHeadersCollectionIterator** value) override;

private:
    const std::pair<std::wstring, std::wstring>* FindHeader(LPCWSTR name) const;

    std::wstring uri_;
    std::vector<std::pair<std::wstring, std::wstring>> headers_;
    ComPtr<RecordedResponse> answer_;
    ComPtr<ICoreWebView2WebResourceResponse> other_;
};

// A copy target that takes half of what it is given and, meanwhile, stands for another
// thread that moves the source's position to `moveTo`.
class HalfTaker final : public ComObject<IStream> {
public:
    HalfTaker(IStream* source, int64_t moveTo) : source_(source), moveTo_(moveTo) {}
    HRESULT STDMETHODCALLTYPE Write(const void* data, ULONG count, ULONG* done) override {
        taken.append(static_cast<const char*>(data), count / 2);
        *done = count / 2;
        LARGE_INTEGER elsewhere{};
        elsewhere.QuadPart = moveTo_;
        source_->Seek(elsewhere, STREAM_SEEK_SET, nullptr);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Read(void*, ULONG, ULONG*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Seek(LARGE_INTEGER, DWORD, ULARGE_INTEGER*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetSize(ULARGE_INTEGER) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CopyTo(IStream*, ULARGE_INTEGER, ULARGE_INTEGER*, ULARGE_INTEGER*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Commit(DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Revert() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE LockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE UnlockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Stat(STATSTG*, DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Clone(IStream**) override { return E_NOTIMPL; }
    std::string taken;

private:
    IStream* source_;
    int64_t moveTo_;
};

// Every byte a reader gets from the stream, read the way the browser does: from
// where it stands, in pieces, until a short read.
std::string ReadToEnd(IStream* stream, ULONG piece = 64 * 1024);

}  // namespace test_support
