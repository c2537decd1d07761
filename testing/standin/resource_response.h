// Windows-only. A web resource response made by the environment for the host:
// status, reason phrase, header text and body stream.
#pragma once

#include <string>

#include "recorded_object.h"
#include "header_collection.h"

namespace standin {

class ResponseHeaders final : public HeaderCollection<ResponseHeaders, ICoreWebView2HttpResponseHeaders> {
public:
    static constexpr char objectName[] = "ResponseHeaders";
    explicit ResponseHeaders(std::wstring text);
    bool Answers(REFIID iid) const;

    HRESULT STDMETHODCALLTYPE AppendHeader(LPCWSTR name, LPCWSTR value) override;

    // The header lines exactly as given, CRLF between lines.
    const std::wstring& text() const { return text_; }

private:
    std::wstring text_;
};

class Response final : public RecordedObject<Response, ICoreWebView2WebResourceResponse> {
public:
    static constexpr char objectName[] = "Response";
    Response(IStream* content, int statusCode, std::wstring reasonPhrase, std::wstring headers);
    bool Answers(REFIID iid) const;

    HRESULT STDMETHODCALLTYPE get_Content(IStream** content) override;
    HRESULT STDMETHODCALLTYPE put_Content(IStream* content) override;
    HRESULT STDMETHODCALLTYPE get_Headers(ICoreWebView2HttpResponseHeaders** headers) override;
    HRESULT STDMETHODCALLTYPE get_StatusCode(int* statusCode) override;
    HRESULT STDMETHODCALLTYPE put_StatusCode(int statusCode) override;
    HRESULT STDMETHODCALLTYPE get_ReasonPhrase(LPWSTR* reasonPhrase) override;
    HRESULT STDMETHODCALLTYPE put_ReasonPhrase(LPCWSTR reasonPhrase) override;

    // What the browser would send, read without transcript lines for the calls.
    // The body is read to its end.
    Json Describe();

    // What the host set, read without transcript lines (the live engine sends it on).
    int statusCode() const { return statusCode_; }
    const std::wstring& reasonPhrase() const { return reasonPhrase_; }
    const std::wstring& headerText() const { return headers_->text(); }
    const ComPtr<IStream>& content() const { return content_; }

private:
    ComPtr<IStream> content_;
    int statusCode_;
    std::wstring reasonPhrase_;
    ComPtr<ResponseHeaders> headers_;
};

}  // namespace standin
