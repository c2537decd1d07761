// Windows-only.
#include "resource_request.h"

#include <utility>

namespace standin {

RequestHeaders::RequestHeaders(std::vector<std::pair<std::wstring, std::wstring>> headers)
    : headers_(std::move(headers)) {}

bool RequestHeaders::Answers(REFIID iid) const {
  return iid == __uuidof(ICoreWebView2HttpRequestHeaders);
}

const std::wstring* RequestHeaders::Find(LPCWSTR name) const {
  if (name == nullptr) return nullptr;
  for (const auto& header : headers_) {
    if (SameHeaderName(header.first, name)) return &header.second;
  }
  return nullptr;
}

HRESULT RequestHeaders::GetHeader(LPCWSTR name, LPWSTR* value) {
  Json line = Call("GetHeader");
  line["name"] = WideJson(name);
  HRESULT hr = S_OK;
  if (value == nullptr) {
    hr = E_POINTER;
  } else if (const std::wstring* found = Find(name)) {
    hr = CopyToCaller(*found, value);
    if (SUCCEEDED(hr)) line["value"] = WideJson(found->c_str());
  } else {
    *value = nullptr;
    hr = HRESULT_FROM_WIN32(ERROR_NOT_FOUND);
    line["value"] = nullptr;
  }
  if (FAILED(hr)) line["hr"] = HresultText(hr);
  Record(std::move(line));
  return hr;
}

HRESULT RequestHeaders::Contains(LPCWSTR name, BOOL* value) {
  const bool found = Find(name) != nullptr;
  Json line = Call("Contains");
  line["name"] = WideJson(name);
  if (value == nullptr) {
    line["hr"] = HresultText(E_POINTER);
    Record(std::move(line));
    return E_POINTER;
  }
  *value = found ? TRUE : FALSE;
  line["value"] = found;
  Record(std::move(line));
  return S_OK;
}

HRESULT RequestHeaders::SetHeader(LPCWSTR name, LPCWSTR value) {
  Json line = Call("SetHeader");
  line["name"] = WideJson(name);
  line["value"] = WideJson(value);
  Record(std::move(line));
  if (name == nullptr || value == nullptr) return E_INVALIDARG;
  for (auto& header : headers_) {
    if (SameHeaderName(header.first, name)) {
      header.second = value;
      return S_OK;
    }
  }
  headers_.emplace_back(name, value);
  return S_OK;
}

HRESULT RequestHeaders::RemoveHeader(LPCWSTR name) {
  Json line = Call("RemoveHeader");
  line["name"] = WideJson(name);
  Record(std::move(line));
  if (name == nullptr) return E_INVALIDARG;
  for (auto header = headers_.begin(); header != headers_.end();) {
    header = SameHeaderName(header->first, name) ? headers_.erase(header) : header + 1;
  }
  return S_OK;
}

Request::Request(std::wstring uri, std::wstring method, ComPtr<RequestHeaders> headers)
    : uri_(std::move(uri)), method_(std::move(method)), headers_(std::move(headers)) {}

bool Request::Answers(REFIID iid) const { return iid == __uuidof(ICoreWebView2WebResourceRequest); }

HRESULT Request::get_Uri(LPWSTR* uri) { return AnswerText("get_Uri", uri, uri_); }

HRESULT Request::put_Uri(LPCWSTR uri) {
  Json line = Call("put_Uri");
  line["value"] = WideJson(uri);
  Record(std::move(line));
  if (uri == nullptr) return E_INVALIDARG;
  uri_ = uri;
  return S_OK;
}

HRESULT Request::get_Method(LPWSTR* method) { return AnswerText("get_Method", method, method_); }

HRESULT Request::put_Method(LPCWSTR method) {
  Json line = Call("put_Method");
  line["value"] = WideJson(method);
  Record(std::move(line));
  if (method == nullptr) return E_INVALIDARG;
  method_ = method;
  return S_OK;
}

HRESULT Request::get_Content(IStream** content) {
  // Requests of steps carry no body.
  return Answer<IStream*>("get_Content", content, nullptr, nullptr);
}

HRESULT Request::get_Headers(ICoreWebView2HttpRequestHeaders** headers) {
  Json line = Call("get_Headers");
  if (headers == nullptr) {
    line["hr"] = HresultText(E_POINTER);
    Record(std::move(line));
    return E_POINTER;
  }
  Record(std::move(line));
  headers_->AddRef();
  *headers = headers_->AsInterface();
  return S_OK;
}

WebResourceRequestedArgs::WebResourceRequestedArgs(ComPtr<Request> request,
                                                   COREWEBVIEW2_WEB_RESOURCE_CONTEXT context)
    : request_(std::move(request)), context_(context) {}

bool WebResourceRequestedArgs::Answers(REFIID iid) const {
  return iid == __uuidof(ICoreWebView2WebResourceRequestedEventArgs);
}

HRESULT WebResourceRequestedArgs::get_Request(ICoreWebView2WebResourceRequest** request) {
  Json line = Call("get_Request");
  if (request == nullptr) {
    line["hr"] = HresultText(E_POINTER);
    Record(std::move(line));
    return E_POINTER;
  }
  Record(std::move(line));
  request_->AddRef();
  *request = request_->AsInterface();
  return S_OK;
}

HRESULT WebResourceRequestedArgs::get_Response(ICoreWebView2WebResourceResponse** response) {
  Json line = Call("get_Response");
  if (response == nullptr) {
    line["hr"] = HresultText(E_POINTER);
    Record(std::move(line));
    return E_POINTER;
  }
  line["value"] = static_cast<bool>(response_);
  Record(std::move(line));
  *response = response_.get();
  if (*response != nullptr) (*response)->AddRef();
  return S_OK;
}

HRESULT WebResourceRequestedArgs::put_Response(ICoreWebView2WebResourceResponse* response) {
  Json line = Call("put_Response");
  line["value"] = response != nullptr;
  Record(std::move(line));
  response_ = ComPtr<ICoreWebView2WebResourceResponse>::Wrap(response);
  return S_OK;
}

HRESULT WebResourceRequestedArgs::get_ResourceContext(COREWEBVIEW2_WEB_RESOURCE_CONTEXT* context) {
  return Answer<COREWEBVIEW2_WEB_RESOURCE_CONTEXT>("get_ResourceContext", context, context_,
                                                   static_cast<int>(context_));
}

}  // namespace standin
