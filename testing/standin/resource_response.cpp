// Windows-only.
#include "resource_response.h"

#include <cstdint>
#include <utility>
#include <vector>

#include "body_digest.h"

namespace standin {

ResponseHeaders::ResponseHeaders(std::wstring text) : text_(std::move(text)) {
    headers_.AddLines(text_);
}

bool ResponseHeaders::Answers(REFIID iid) const {
    return iid == __uuidof(ICoreWebView2HttpResponseHeaders);
}

HRESULT ResponseHeaders::AppendHeader(LPCWSTR name, LPCWSTR value) {
    const HRESULT hr = NoteHeader("AppendHeader", name, value);
    if (FAILED(hr)) return hr;
    const std::wstring added = std::wstring(name) + L": " + value;
    if (!text_.empty()) text_ += L"\r\n";
    text_ += added;
    headers_.AddLines(added);
    return S_OK;
}

Response::Response(IStream* content, int statusCode, std::wstring reasonPhrase, std::wstring headers)
    : content_(ComPtr<IStream>::Wrap(content)),
      statusCode_(statusCode),
      reasonPhrase_(std::move(reasonPhrase)),
      headers_(MakeObject<ResponseHeaders>(std::move(headers))) {}

bool Response::Answers(REFIID iid) const {
    return iid == __uuidof(ICoreWebView2WebResourceResponse);
}

HRESULT Response::get_Content(IStream** content) {
    return AnswerHeld("get_Content", content, content_);
}

HRESULT Response::put_Content(IStream* content) {
    NoteSet("put_Content", content != nullptr);
    content_ = ComPtr<IStream>::Wrap(content);
    return S_OK;
}

HRESULT Response::get_Headers(ICoreWebView2HttpResponseHeaders** headers) {
    return AnswerPart("get_Headers", headers, headers_.get());
}

HRESULT Response::get_StatusCode(int* statusCode) {
    return Answer<int>("get_StatusCode", statusCode, statusCode_, statusCode_);
}

HRESULT Response::put_StatusCode(int statusCode) {
    statusCode_ = statusCode;
    return NoteSet("put_StatusCode", statusCode);
}

HRESULT Response::get_ReasonPhrase(LPWSTR* reasonPhrase) {
    return AnswerText("get_ReasonPhrase", reasonPhrase, reasonPhrase_);
}

HRESULT Response::put_ReasonPhrase(LPCWSTR reasonPhrase) {
    return NoteSetText("put_ReasonPhrase", reasonPhrase, reasonPhrase_);
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
