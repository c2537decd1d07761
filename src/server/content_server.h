// Windows-only. The local content server: answers the browser's requests for the
// app origin from the asset bundle, then from the www folder.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>

#include "bundle/asset_bundle.h"
#include "server/response_head.h"
#include "util/mapped_file.h"
#include "util/webview2.h"

class ContentServer {
public:
    // Folder files kept mapped for partial answers, at most.
    static constexpr size_t defaultMappedFileLimit = 32;

    // The bundle must outlive the server; appFolder ends in a backslash, webFolder is
    // "www\"; originUrl is cut off the front of every request URI.
    ContentServer(const AssetBundle& bundle, std::string appFolder, std::string webFolder, std::string originUrl,
                  size_t mappedFileLimit = defaultMappedFileLimit);
    ContentServer(const ContentServer&) = delete;
    ContentServer& operator=(const ContentServer&) = delete;

    // Sets the request's response, made with `environment`, before returning. Always
    // S_OK: nothing may leave the browser's callback. Bodies from the bundle and from
    // mapped folder files read the mapping itself and keep it alive while the browser
    // holds them, on any thread, also after CloseMappedFiles.
    HRESULT HandleResourceRequest(ICoreWebView2Environment* environment,
                                  ICoreWebView2WebResourceRequestedEventArgs* args);
    // The whole folder file mapped read-only, from the cache or mapped now; empty
    // when it cannot be mapped. The cache keeps at most mappedFileLimit files: a new
    // one pushes out the least recently used file that no response still reads, and
    // when every cached file is being read the new one is not kept.
    SharedMappedFile MapFile(const std::string& requestPath, const std::string& fullPath);
    // Lets go of every cached file; start-up calls it before the bundle goes. Files
    // that bodies still read are closed when the last of those bodies is released.
    void CloseMappedFiles();

private:
    struct CachedFile {
        SharedMappedFile file;
        uint64_t lastUse = 0;
    };
    void DecodeRequestPath(const wchar_t* uri);
    bool EvictLeastRecentlyUsed();

    const AssetBundle& bundle_;
    const std::string appFolder_;
    const std::string webFolder_;
    const std::string originUrl_;
    const size_t mappedFileLimit_;
    std::map<std::string, CachedFile, std::less<>> mappedFiles;
    uint64_t useCount_ = 0;
    // Reused by every request: after the first few, composing an answer allocates nothing.
    std::string requestPath_;
    std::string rangeText_;
    ResponseHead head_;
    std::wstring wideReason_;
    std::wstring wideText_;
};
