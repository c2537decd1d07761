// Windows-only. A web resource request as the host sees it: the event arguments,
// the request (URI, method, headers) and its header collection.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "recorded_object.h"
#include "header_collection.h"

namespace standin {

class RequestHeaders final : public HeaderCollection<RequestHeaders, ICoreWebView2HttpRequestHeaders> {
public:
    static constexpr char objectName[] = "RequestHeaders";
    explicit RequestHeaders(std::vector<std::pair<std::wstring, std::wstring>> headers);
    bool Answers(REFIID iid) const;

    HRESULT STDMETHODCALLTYPE SetHeader(LPCWSTR name, LPCWSTR value) override;
    HRESULT STDMETHODCALLTYPE RemoveHeader(LPCWSTR name) override;
};

class Request final : public RecordedObject<Request, ICoreWebView2WebResourceRequest> {
public:
    static constexpr char objectName[] = "Request";
    Request(std::wstring uri, std::wstring method, ComPtr<RequestHeaders> headers);
    bool Answers(REFIID iid) const;

    HRESULT STDMETHODCALLTYPE get_Uri(LPWSTR* uri) override;
    HRESULT STDMETHODCALLTYPE put_Uri(LPCWSTR uri) override;
    HRESULT STDMETHODCALLTYPE get_Method(LPWSTR* method) override;
    HRESULT STDMETHODCALLTYPE put_Method(LPCWSTR method) override;
    HRESULT STDMETHODCALLTYPE get_Content(IStream** content) override;
    HRESULT STDMETHODCALLTYPE get_Headers(ICoreWebView2HttpRequestHeaders** headers) override;

private:
    std::wstring uri_;
    std::wstring method_;
    ComPtr<RequestHeaders> headers_;
};

class WebResourceRequestedArgs final
    : public RecordedObject<WebResourceRequestedArgs, ICoreWebView2WebResourceRequestedEventArgs> {
public:
    static constexpr char objectName[] = "WebResourceRequestedArgs";
    WebResourceRequestedArgs(ComPtr<Request> request, COREWEBVIEW2_WEB_RESOURCE_CONTEXT context);
    bool Answers(REFIID iid) const;

    HRESULT STDMETHODCALLTYPE get_Request(ICoreWebView2WebResourceRequest** request) override;
    HRESULT STDMETHODCALLTYPE get_Response(ICoreWebView2WebResourceResponse** response) override;
    HRESULT STDMETHODCALLTYPE put_Response(ICoreWebView2WebResourceResponse* response) override;
    HRESULT STDMETHODCALLTYPE get_ResourceContext(COREWEBVIEW2_WEB_RESOURCE_CONTEXT* context) override;

    // The response the host set, if any.
    ICoreWebView2WebResourceResponse* response() const { return response_.get(); }

private:
    ComPtr<Request> request_;
    ComPtr<ICoreWebView2WebResourceResponse> response_;
    COREWEBVIEW2_WEB_RESOURCE_CONTEXT context_;
};

}  // namespace standin
