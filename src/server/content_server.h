// Windows-only. The local content server: answers the browser's requests for the
// app origin from the asset bundle, then from the www folder.
#pragma once

#include <cstdint>
#include <map>
#include <string>

#include "bundle/asset_bundle.h"
#include "util/mapped_file.h"
#include "webview/webview2.h"

class ContentServer {
public:
    // The bundle must outlive the server; appFolder ends in a backslash, webFolder is
    // "www\"; originUrl is cut off the front of every request URI.
    ContentServer(const AssetBundle& bundle, std::string appFolder, std::string webFolder, std::string originUrl);
    ContentServer(const ContentServer&) = delete;
    ContentServer& operator=(const ContentServer&) = delete;

    // Sets the request's response, made with `environment`, before returning. Always
    // S_OK: nothing may leave the browser's callback.
    HRESULT HandleResourceRequest(ICoreWebView2Environment* environment,
                                  ICoreWebView2WebResourceRequestedEventArgs* args);
    // A read-only view of the whole folder file, mapped on the first partial request
    // for requestPath and kept until CloseMappedFiles; null when it cannot be mapped.
    const uint8_t* MapFile(const std::string& requestPath, const std::string& fullPath);
    // Unmaps and closes every cached file; start-up calls it before the bundle goes.
    void CloseMappedFiles();

private:
    const AssetBundle& bundle_;
    const std::string appFolder_;
    const std::string webFolder_;
    const std::string originUrl_;
    std::map<std::string, MappedFile> mappedFiles;
};
