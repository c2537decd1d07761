// Answers the browser's requests for the app origin from the bundle or www\.
#include "server/content_server.h"

#include <shlwapi.h>

#include <cwchar>
#include <optional>
#include <utility>

#include "server/ascii_text.h"
#include "server/body_stream.h"
#include "server/folder_path.h"
#include "util/debug_trace.h"
#include "util/file_query.h"
#include "util/long_path.h"
#include "util/text_convert.h"

#ifndef URL_UNESCAPE_AS_UTF8
#define URL_UNESCAPE_AS_UTF8 0x00040000
#endif

namespace {

constexpr DWORD decodeBufferUnits = 2048;
constexpr char notFoundBody[] = "File not found";

ComPtr<IStream> FileStream(const std::string& fullPath) {
    ComPtr<IStream> stream;
    SHCreateStreamOnFileEx(ToLongPath(Utf8ToWide(fullPath)).c_str(), STGM_READ, 0, FALSE, nullptr, stream.put());
    return stream;
}

// Header text and reason phrases are ASCII (the MIME table's types, digits and
// literals), so each byte is one UTF-16 unit.
void WidenAscii(std::string_view text, std::wstring& wide) {
    wide.resize(text.size());
    for (size_t i = 0; i < text.size(); ++i) wide[i] = static_cast<unsigned char>(text[i]);
}

}  // namespace

ContentServer::ContentServer(const AssetBundle& bundle, std::string appFolder, std::string webFolder,
                             std::string originUrl, size_t mappedFileLimit)
    : bundle_(bundle),
      appFolder_(std::move(appFolder)),
      webFolder_(std::move(webFolder)),
      originUrl_(std::move(originUrl)),
      mappedFileLimit_(mappedFileLimit) {}

// The percent-decoded path after the origin into requestPath_; the raw path when
// decoding fails. A decoded %00 stays in the path (the count says where it ends) so
// that the folder check refuses it instead of serving whatever name comes before it.
void ContentServer::DecodeRequestPath(const wchar_t* uri) {
    const size_t units = uri == nullptr ? 0 : std::wcslen(uri);
    // The filter lets through only URIs that begin with the (ASCII) origin: then the
    // origin's bytes are as many UTF-16 units, and the path is cut from the text as
    // it came. Anything else takes the long way through UTF-8.
    size_t cut = originUrl_.size();
    bool asciiPrefix = units >= cut;
    for (size_t i = 0; asciiPrefix && i < cut; ++i) asciiPrefix = uri[i] < 0x80;
    std::wstring fallback;
    const wchar_t* rawPath = nullptr;
    if (asciiPrefix) {
        rawPath = uri + cut;
    } else {
        const std::string uriText = WideToUtf8(uri);
        fallback = Utf8ToWide(uriText.size() > cut ? uriText.substr(cut) : std::string());
        rawPath = fallback.c_str();
    }
    if (*rawPath == L'\0') {
        requestPath_.clear();
        return;
    }
    wchar_t decoded[decodeBufferUnits];
    DWORD decodedUnits = decodeBufferUnits;
    // The API takes a writable path but only reads it when given an output buffer.
    // NOLINTNEXTLINE(cppcoreguidelines-pro-type-const-cast)
    if (UrlUnescapeW(const_cast<wchar_t*>(rawPath), decoded, &decodedUnits, URL_UNESCAPE_AS_UTF8) != S_OK) {
        WideToUtf8(rawPath, std::wcslen(rawPath), requestPath_);
        return;
    }
    WideToUtf8(decoded, decodedUnits < decodeBufferUnits ? decodedUnits : decodeBufferUnits - 1, requestPath_);
}

HRESULT ContentServer::HandleResourceRequest(ICoreWebView2Environment* environment,
                                             ICoreWebView2WebResourceRequestedEventArgs* args) {
    try {
        ComPtr<ICoreWebView2WebResourceRequest> request;
        args->get_Request(request.put());
        if (!request) return S_OK;
        CoTaskMemPtr<wchar_t> uri;
        request->get_Uri(uri.put());
        DecodeRequestPath(uri.get());
        ComPtr<ICoreWebView2HttpRequestHeaders> headers;
        request->get_Headers(headers.put());

        std::optional<std::string_view> range;
        BOOL hasRange = FALSE;
        if (headers && SUCCEEDED(headers->Contains(L"Range", &hasRange)) && hasRange) {
            CoTaskMemPtr<wchar_t> value;
            headers->GetHeader(L"Range", value.put());
            WideToUtf8(value.get(), value.get() ? std::wcslen(value.get()) : 0, rangeText_);
            TrimSpace(rangeText_);
            range = rangeText_;
        }

        ComPtr<IStream> body;
        if (const BundleEntry* entry = bundle_.Find(requestPath_)) {
            ComposeResponseHead(requestPath_, entry->length, range, head_);
            if (head_.status == 200 || head_.status == 206) {
                // Straight from the mapping: no copy, whatever the entry's size.
                body = MakeBodyStream(bundle_.SourceOwner(), bundle_.DataPointer(entry->offset + head_.rangeStart),
                                      head_.rangeLength);
            }
        } else {
            const std::string fullPath = FolderPathFor(appFolder_, webFolder_, requestPath_);
            if (!IsSafeFolderPath(requestPath_) || !PathExists(fullPath)) {
                ComposeMissingResponseHead(head_);
                body = MakeBodyStream(nullptr, reinterpret_cast<const uint8_t*>(notFoundBody), sizeof notFoundBody - 1);
            } else {
                // A partial answer reads the mapping, so its length is the mapping's
                // own: the file may have changed since any earlier look at its size.
                SharedMappedFile mapped;
                if (range) mapped = MapFile(requestPath_, fullPath);
                const uint64_t length = mapped ? mapped->size : FileSize(fullPath);
                ComposeResponseHead(requestPath_, length, range, head_);
                if (head_.status == 200 || (head_.status == 206 && head_.rangeLength == length)) {
                    body = FileStream(fullPath);
                } else if (head_.status == 206 && mapped) {
                    body = MakeBodyStream(mapped, mapped->data() + head_.rangeStart, head_.rangeLength);
                } else if (head_.status == 206) {
                    SetServerError(head_);
                }
            }
        }

        WidenAscii(head_.reason, wideReason_);
        WidenAscii(head_.headerText, wideText_);
        ComPtr<ICoreWebView2WebResourceResponse> response;
        // A response the runtime refuses leaves the request unanswered, as below.
        TraceIfFailed(environment->CreateWebResourceResponse(body.get(), head_.status, wideReason_.c_str(),
                                                             wideText_.c_str(), response.put()),
                      "CreateWebResourceResponse");
        TraceIfFailed(args->put_Response(response.get()), "put_Response");
    } catch (...) {
        // Nothing may leave the browser's callback; the request goes unanswered.
    }
    return S_OK;
}

SharedMappedFile ContentServer::MapFile(const std::string& requestPath, const std::string& fullPath) {
    const auto cached = mappedFiles.find(requestPath);
    if (cached != mappedFiles.end()) {
        cached->second.lastUse = ++useCount_;
        return cached->second.file;
    }
    // A failed attempt keeps nothing, so the next partial request tries again.
    MappedFile opened = OpenMappedFile(fullPath);
    if (!opened.view) return nullptr;
    SharedMappedFile mapped = std::make_shared<const MappedFile>(std::move(opened));
    if (mappedFiles.size() < mappedFileLimit_ || EvictLeastRecentlyUsed()) {
        mappedFiles.emplace(requestPath, CachedFile{mapped, ++useCount_});
    }
    return mapped;
}

// Only the cache holds a file nobody reads: a count of one cannot grow behind our
// back, since only this thread hands out new references.
bool ContentServer::EvictLeastRecentlyUsed() {
    auto oldest = mappedFiles.end();
    for (auto it = mappedFiles.begin(); it != mappedFiles.end(); ++it) {
        if (it->second.file.use_count() == 1 &&
            (oldest == mappedFiles.end() || it->second.lastUse < oldest->second.lastUse)) {
            oldest = it;
        }
    }
    if (oldest == mappedFiles.end()) return false;
    mappedFiles.erase(oldest);
    return true;
}

void ContentServer::CloseMappedFiles() {
    // Each file unmaps its view, then closes its mapping and its file, once the
    // last body reading it is released.
    mappedFiles.clear();
}
