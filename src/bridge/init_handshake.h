// Windows-only. The page's start-up handshake: directory handles for thirteen
// folders, kept by placeholder for the extension, then the init response.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "util/app_config.h"
#include "util/webview2.h"

class InitHandshake {
public:
    // appFolder ends in a backslash, webFolder is "www\"; userDataFolder is the browser's.
    // folderAccess: what the page may do with each folder the package names; the others
    // get their defaults (EffectiveFolderAccess).
    InitHandshake(std::string appFolder, std::string webFolder, std::string userDataFolder,
                  std::map<std::string, FolderAccess> folderAccess);
    InitHandshake(const InitHandshake&) = delete;
    InitHandshake& operator=(const InitHandshake&) = delete;

    // Posts "directory-handles" with the folders' handles attached, reading the known
    // folders afresh; does nothing when the browser lacks the interfaces it needs. A
    // folder the app closed ("none") gets an empty slot but is still found by
    // FindFolderPath: the extension is native code and trusted.
    void SendDirectoryHandles(ICoreWebView2Environment* environment, ICoreWebView2* webView);
    void AddDirectoryHandle(ICoreWebView2Environment14* environment14, ICoreWebView2FileSystemHandle** slot,
                            const std::string& placeholder, const std::string& path);
    // The text of "wrapper-init-response" for these component ids; `restarted` (only
    // when true) tells a page that the host brought it back after a crash.
    static std::string InitResponse(const std::vector<std::string>& componentIds, bool restarted = false);
    // The path found for a placeholder at the last handshake; null when none was.
    const std::string* FindFolderPath(const std::string& placeholder) const;

private:
    const std::string appFolder_;
    const std::string webFolder_;
    const std::string userDataFolder_;
    const std::map<std::string, FolderAccess> folderAccess_;
    // Filled at each handshake; entries are replaced, never removed, so a path handed
    // out stays valid until the same placeholder is found again.
    std::map<std::string, std::string> folderPaths;
};
