// Answers the browser's requests for the app origin from the bundle or www\.
#include "server/content_server.h"

#include <shlwapi.h>

#include <climits>
#include <optional>
#include <utility>

#include "server/ascii_text.h"
#include "server/folder_path.h"
#include "server/response_head.h"
#include "util/file_query.h"
#include "util/long_path.h"
#include "util/text_convert.h"

#ifndef URL_UNESCAPE_AS_UTF8
#define URL_UNESCAPE_AS_UTF8 0x00040000
#endif

namespace {

constexpr DWORD decodeBufferUnits = 2048;
constexpr char notFoundBody[] = "File not found";

// Percent-decoded request path; the raw path when decoding fails. A decoded %00 stays
// in the path (the count says where it ends) so that the folder check refuses it
// instead of serving whatever name comes before it.
std::string DecodeRequestPath(const std::string& rawPath) {
    std::wstring input = Utf8ToWide(rawPath);
    wchar_t decoded[decodeBufferUnits] = {};
    DWORD units = decodeBufferUnits;
    if (UrlUnescapeW(input.data(), decoded, &units, URL_UNESCAPE_AS_UTF8) != S_OK) return rawPath;
    return WideToUtf8(std::wstring(decoded, units < decodeBufferUnits ? units : decodeBufferUnits - 1));
}

ComPtr<IStream> MemoryStream(const uint8_t* bytes, uint64_t length) {
    ComPtr<IStream> stream;
    stream.attach(SHCreateMemStream(bytes, static_cast<UINT>(length)));
    return stream;
}

ComPtr<IStream> FileStream(const std::string& fullPath) {
    ComPtr<IStream> stream;
    SHCreateStreamOnFileEx(ToLongPath(Utf8ToWide(fullPath)).c_str(), STGM_READ, 0, FALSE, nullptr, stream.put());
    return stream;
}

void SetServerError(ResponseHead& head) {
    head.status = 500;
    head.reason = "Internal Server Error";
}

}  // namespace

ContentServer::ContentServer(const AssetBundle& bundle, std::string appFolder, std::string webFolder,
                             std::string originUrl)
    : bundle_(bundle),
      appFolder_(std::move(appFolder)),
      webFolder_(std::move(webFolder)),
      originUrl_(std::move(originUrl)) {}

HRESULT ContentServer::HandleResourceRequest(ICoreWebView2Environment* environment,
                                             ICoreWebView2WebResourceRequestedEventArgs* args) {
    try {
        ComPtr<ICoreWebView2WebResourceRequest> request;
        args->get_Request(request.put());
        if (!request) return S_OK;
        CoTaskMemPtr<wchar_t> uri;
        request->get_Uri(uri.put());
        const std::string uriText = WideToUtf8(uri.get());
        const std::string rawPath = uriText.size() > originUrl_.size() ? uriText.substr(originUrl_.size()) : "";
        const std::string requestPath = DecodeRequestPath(rawPath);
        ComPtr<ICoreWebView2HttpRequestHeaders> headers;
        request->get_Headers(headers.put());

        const BundleEntry* entry = bundle_.Find(requestPath);
        const std::string fullPath = FolderPathFor(appFolder_, webFolder_, requestPath);
        const bool inFolder = !entry && IsSafeFolderPath(requestPath) && PathExists(fullPath);

        ResponseHead head;
        ComPtr<IStream> body;
        if (!entry && !inFolder) {
            head = ComposeMissingResponseHead();
            body = MemoryStream(reinterpret_cast<const uint8_t*>(notFoundBody), sizeof notFoundBody - 1);
        } else {
            const uint64_t length = entry ? entry->length : FileSize(fullPath);
            std::optional<std::string> range;
            BOOL hasRange = FALSE;
            if (headers && SUCCEEDED(headers->Contains(L"Range", &hasRange)) && hasRange) {
                CoTaskMemPtr<wchar_t> value;
                headers->GetHeader(L"Range", value.put());
                std::string text = WideToUtf8(value.get());
                TrimSpace(text);
                range = text;
            }
            head = ComposeResponseHead(requestPath, length, range);
            if (head.status == 200 || head.status == 206) {
                if (entry) {
                    // A memory stream's length is 32-bit: never send a cut-off body.
                    if (head.rangeLength > UINT_MAX) {
                        SetServerError(head);
                    } else {
                        body = MemoryStream(bundle_.DataPointer(entry->offset + head.rangeStart), head.rangeLength);
                    }
                } else if (head.status == 200 || head.rangeLength == length) {
                    body = FileStream(fullPath);
                } else if (const uint8_t* view = MapFile(requestPath, fullPath)) {
                    body = MemoryStream(view + head.rangeStart, head.rangeLength);
                } else {
                    SetServerError(head);
                }
            }
        }

        ComPtr<ICoreWebView2WebResourceResponse> response;
        environment->CreateWebResourceResponse(body.get(), head.status, Utf8ToWide(head.reason).c_str(),
                                               Utf8ToWide(JoinHeaderLines(head.headers)).c_str(), response.put());
        args->put_Response(response.get());
    } catch (...) {
        // Nothing may leave the browser's callback; the request goes unanswered.
    }
    return S_OK;
}

const uint8_t* ContentServer::MapFile(const std::string& requestPath, const std::string& fullPath) {
    const auto cached = mappedFiles.find(requestPath);
    if (cached != mappedFiles.end()) return cached->second.data();
    // A failed attempt keeps nothing, so the next partial request tries again.
    MappedFile mapped = OpenMappedFile(fullPath);
    if (!mapped.view) return nullptr;
    return mappedFiles.emplace(requestPath, std::move(mapped)).first->second.data();
}

void ContentServer::CloseMappedFiles() {
    // Each entry unmaps its view, then closes its mapping and its file, in key order.
    for (auto& entry : mappedFiles) entry.second.Close();
    mappedFiles.clear();
}
