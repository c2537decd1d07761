// Windows-only.
#include "resource_response.h"

#include <cstdint>
#include <utility>
#include <vector>

#include "body_digest.h"

namespace standin {

ResponseHeaders::ResponseHeaders(std::wstring text) : text_(std::move(text)) {}

bool ResponseHeaders::Answers(REFIID iid) const {
  return iid == __uuidof(ICoreWebView2HttpResponseHeaders);
}

bool ResponseHeaders::Find(LPCWSTR name, std::wstring& value) const {
  if (name == nullptr) return false;
  std::size_t start = 0;
  while (start <= text_.size()) {
    std::size_t end = text_.find(L'\n', start);
    if (end == std::wstring::npos) end = text_.size();
    std::wstring_view line(text_.data() + start, end - start);
    if (!line.empty() && line.back() == L'\r') line.remove_suffix(1);
    const std::size_t colon = line.find(L':');
    if (colon != std::wstring_view::npos && SameHeaderName(line.substr(0, colon), name)) {
      std::wstring_view rest = line.substr(colon + 1);
      while (!rest.empty() && (rest.front() == L' ' || rest.front() == L'\t')) rest.remove_prefix(1);
      value.assign(rest.begin(), rest.end());
      return true;
    }
    start = end + 1;
  }
  return false;
}

HRESULT ResponseHeaders::AppendHeader(LPCWSTR name, LPCWSTR value) {
  Json line = Call("AppendHeader");
  line["name"] = WideJson(name);
  line["value"] = WideJson(value);
  Record(std::move(line));
  if (name == nullptr || value == nullptr) return E_INVALIDARG;
  if (!text_.empty()) text_ += L"\r\n";
  text_ += std::wstring(name) + L": " + value;
  return S_OK;
}

HRESULT ResponseHeaders::Contains(LPCWSTR name, BOOL* value) {
  std::wstring found;
  const bool present = Find(name, found);
  Json line = Call("Contains");
  line["name"] = WideJson(name);
  if (value == nullptr) {
    line["hr"] = HresultText(E_POINTER);
    Record(std::move(line));
    return E_POINTER;
  }
  *value = present ? TRUE : FALSE;
  line["value"] = present;
  Record(std::move(line));
  return S_OK;
}

HRESULT ResponseHeaders::GetHeader(LPCWSTR name, LPWSTR* value) {
  std::wstring found;
  if (!Find(name, found)) {
    Json line = Call("GetHeader");
    line["name"] = WideJson(name);
    line["value"] = nullptr;
    const HRESULT hr = value == nullptr ? E_POINTER : HRESULT_FROM_WIN32(ERROR_NOT_FOUND);
    if (value != nullptr) *value = nullptr;
    line["hr"] = HresultText(hr);
    Record(std::move(line));
    return hr;
  }
  return AnswerText("GetHeader", value, found);
}

Response::Response(IStream* content, int statusCode, std::wstring reasonPhrase,
                   std::wstring headers)
    : content_(ComPtr<IStream>::Wrap(content)),
      statusCode_(statusCode),
      reasonPhrase_(std::move(reasonPhrase)),
      headers_(MakeObject<ResponseHeaders>(std::move(headers))) {}

bool Response::Answers(REFIID iid) const {
  return iid == __uuidof(ICoreWebView2WebResourceResponse);
}

HRESULT Response::get_Content(IStream** content) {
  Json line = Call("get_Content");
  if (content == nullptr) {
    line["hr"] = HresultText(E_POINTER);
    Record(std::move(line));
    return E_POINTER;
  }
  line["value"] = static_cast<bool>(content_);
  Record(std::move(line));
  *content = content_.get();
  if (*content != nullptr) (*content)->AddRef();
  return S_OK;
}

HRESULT Response::put_Content(IStream* content) {
  Json line = Call("put_Content");
  line["value"] = content != nullptr;
  Record(std::move(line));
  content_ = ComPtr<IStream>::Wrap(content);
  return S_OK;
}

HRESULT Response::get_Headers(ICoreWebView2HttpResponseHeaders** headers) {
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

HRESULT Response::get_StatusCode(int* statusCode) {
  return Answer<int>("get_StatusCode", statusCode, statusCode_, statusCode_);
}

HRESULT Response::put_StatusCode(int statusCode) {
  statusCode_ = statusCode;
  Json line = Call("put_StatusCode");
  line["value"] = statusCode;
  Record(std::move(line));
  return S_OK;
}

HRESULT Response::get_ReasonPhrase(LPWSTR* reasonPhrase) {
  return AnswerText("get_ReasonPhrase", reasonPhrase, reasonPhrase_);
}

HRESULT Response::put_ReasonPhrase(LPCWSTR reasonPhrase) {
  Json line = Call("put_ReasonPhrase");
  line["value"] = WideJson(reasonPhrase);
  Record(std::move(line));
  if (reasonPhrase == nullptr) return E_INVALIDARG;
  reasonPhrase_ = reasonPhrase;
  return S_OK;
}

Json Response::Describe() {
  Json response = Json::object();
  response["status"] = statusCode_;
  response["reason"] = WideJson(reasonPhrase_.c_str());
  response["headers"] = WideJson(headers_->text().c_str());
  if (!content_) {
    response["body"] = nullptr;
    return response;
  }
  // Read as the browser does: from where the stream stands to its end.
  std::vector<std::uint8_t> bytes;
  std::vector<std::uint8_t> buffer(64 * 1024);
  HRESULT hr = S_OK;
  for (;;) {
    ULONG read = 0;
    hr = content_->Read(buffer.data(), static_cast<ULONG>(buffer.size()), &read);
    if (FAILED(hr)) break;
    bytes.insert(bytes.end(), buffer.begin(), buffer.begin() + read);
    if (read == 0 || hr == S_FALSE) break;
  }
  Json body = DescribeBody(bytes);
  if (FAILED(hr)) body["readError"] = HresultText(hr);
  response["body"] = std::move(body);
  return response;
}

}  // namespace standin
