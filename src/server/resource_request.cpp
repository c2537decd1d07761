// Answers the browser's requests for the app origin from the bundle or www\.
#include <shlwapi.h>

#include <climits>
#include <optional>

#include "server/ascii_text.h"
#include "server/folder_path.h"
#include "server/response_head.h"
#include "util/file_query.h"
#include "util/long_path.h"
#include "util/text_convert.h"
#include "webview/pallant_webview.h"

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

HRESULT PallantWebView::HandleResourceRequest(ICoreWebView2WebResourceRequestedEventArgs* args) {
    try {
        ComPtr<ICoreWebView2WebResourceRequest> request;
        args->get_Request(request.put());
        if (!request) return S_OK;
        CoTaskMemPtr<wchar_t> uri;
        request->get_Uri(uri.put());
        const std::string uriText = WideToUtf8(uri.get());
        const std::string rawPath = uriText.size() > originUrl.size() ? uriText.substr(originUrl.size()) : "";
        const std::string requestPath = DecodeRequestPath(rawPath);
        ComPtr<ICoreWebView2HttpRequestHeaders> headers;
        request->get_Headers(headers.put());

        const BundleEntry* entry = bundle.Find(requestPath);
        const std::string fullPath = FolderPathFor(appFolder, webFolder, requestPath);
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
                        body = MemoryStream(bundle.DataPointer(entry->offset + head.rangeStart), head.rangeLength);
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

const uint8_t* PallantWebView::MapFile(const std::string& requestPath, const std::string& fullPath) {
    const auto cached = mappedFiles.find(requestPath);
    if (cached != mappedFiles.end()) return static_cast<const uint8_t*>(cached->second.view.get());

    MappedFile mapped;
    mapped.file.reset(CreateFileW(ToLongPath(Utf8ToWide(fullPath)).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!mapped.file.valid()) return nullptr;
    mapped.mapping.reset(CreateFileMappingW(mapped.file.get(), nullptr, PAGE_READONLY, 0, 0, nullptr));
    if (!mapped.mapping.valid()) return nullptr;
    mapped.view.reset(MapViewOfFile(mapped.mapping.get(), FILE_MAP_READ, 0, 0, 0));
    if (!mapped.view.get()) return nullptr;
    const auto* view = static_cast<const uint8_t*>(mapped.view.get());
    mappedFiles.emplace(requestPath, std::move(mapped));
    return view;
}

void PallantWebView::CloseMappedFiles() {
    // Each owner unmaps the view, then closes the mapping and the file.
    for (auto& [path, mapped] : mappedFiles) {
        mapped.view.reset();
        mapped.mapping.reset();
        mapped.file.reset();
    }
    mappedFiles.clear();
}
