// Windows-only.
#include "resource_request.h"

#include <utility>

namespace standin {

RequestHeaders::RequestHeaders(std::vector<std::pair<std::wstring, std::wstring>> headers)
    : HeaderCollection(HeaderList(std::move(headers))) {}

bool RequestHeaders::Answers(REFIID iid) const {
    return iid == __uuidof(ICoreWebView2HttpRequestHeaders);
}

HRESULT RequestHeaders::SetHeader(LPCWSTR name, LPCWSTR value) {
    const HRESULT hr = NoteHeader("SetHeader", name, value);
    if (SUCCEEDED(hr)) headers_.Set(name, value);
    return hr;
}

HRESULT RequestHeaders::RemoveHeader(LPCWSTR name) {
    Json line = Call("RemoveHeader");
    line["name"] = WideJson(name);
    Record(std::move(line));
    if (name == nullptr) return E_INVALIDARG;
    headers_.Remove(name);
    return S_OK;
}

Request::Request(std::wstring uri, std::wstring method, ComPtr<RequestHeaders> headers)
    : uri_(std::move(uri)), method_(std::move(method)), headers_(std::move(headers)) {}

bool Request::Answers(REFIID iid) const {
    return iid == __uuidof(ICoreWebView2WebResourceRequest);
}

HRESULT Request::get_Uri(LPWSTR* uri) {
    return AnswerText("get_Uri", uri, uri_);
}

HRESULT Request::put_Uri(LPCWSTR uri) {
    return NoteSetText("put_Uri", uri, uri_);
}

HRESULT Request::get_Method(LPWSTR* method) {
    return AnswerText("get_Method", method, method_);
}

HRESULT Request::put_Method(LPCWSTR method) {
    return NoteSetText("put_Method", method, method_);
}

HRESULT Request::get_Content(IStream** content) {
    // Requests of steps carry no body.
    return Answer<IStream*>("get_Content", content, nullptr, nullptr);
}

HRESULT Request::get_Headers(ICoreWebView2HttpRequestHeaders** headers) {
    return AnswerPart("get_Headers", headers, headers_.get());
}

WebResourceRequestedArgs::WebResourceRequestedArgs(ComPtr<Request> request, COREWEBVIEW2_WEB_RESOURCE_CONTEXT context)
    : request_(std::move(request)), context_(context) {}

bool WebResourceRequestedArgs::Answers(REFIID iid) const {
    return iid == __uuidof(ICoreWebView2WebResourceRequestedEventArgs);
}

HRESULT WebResourceRequestedArgs::get_Request(ICoreWebView2WebResourceRequest** request) {
    return AnswerPart("get_Request", request, request_.get());
}

HRESULT WebResourceRequestedArgs::get_Response(ICoreWebView2WebResourceResponse** response) {
    return AnswerHeld("get_Response", response, response_);
}

HRESULT WebResourceRequestedArgs::put_Response(ICoreWebView2WebResourceResponse* response) {
    NoteSet("put_Response", response != nullptr);
    response_ = ComPtr<ICoreWebView2WebResourceResponse>::Wrap(response);
    return S_OK;
}

HRESULT WebResourceRequestedArgs::get_ResourceContext(COREWEBVIEW2_WEB_RESOURCE_CONTEXT* context) {
    return Answer<COREWEBVIEW2_WEB_RESOURCE_CONTEXT>("get_ResourceContext", context, context_,
                                                     static_cast<int>(context_));
}

}  // namespace standin
