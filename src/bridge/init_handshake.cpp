// The page's start-up handshake: folder handles, then the component ids, then the
// extension's held-back messages.
#include <windows.h>
#include <knownfolders.h>

#include <array>

#include <nlohmann/json.hpp>

#include "util/known_folder.h"
#include "util/text_convert.h"
#include "webview/pallant_webview.h"

namespace {

constexpr size_t folderCount = 13;

}  // namespace

void PallantWebView::SendInitResponse() {
    SendDirectoryHandles();
    nlohmann::json ids = nlohmann::json::array();
    for (const auto& id : extensions.ComponentIds()) ids.push_back(id);
    PostToPage(nlohmann::json{{"type", "wrapper-init-response"}, {"registeredComponentIds", ids}}.dump());
    extensions.OnPageReady();
}

void PallantWebView::SendDirectoryHandles() {
    if (!environment || !webView) return;
    auto environment14 = environment.query<ICoreWebView2Environment14>(__uuidof(ICoreWebView2Environment14));
    auto webView23 = webView.query<ICoreWebView2_23>(__uuidof(ICoreWebView2_23));
    if (!environment14 || !webView23) return;

    const std::array<std::pair<const char*, std::string>, folderCount> folders{{
        {"<app>", appFolder},
        {"<web-resource>", appFolder + webFolder},
        {"<current-app-data>", userDataFolder},
        {"<local-app-data>", GetKnownFolderPath(FOLDERID_LocalAppData)},
        {"<roaming-app-data>", GetKnownFolderPath(FOLDERID_RoamingAppData)},
        {"<desktop>", GetKnownFolderPath(FOLDERID_Desktop)},
        {"<documents>", GetKnownFolderPath(FOLDERID_Documents)},
        {"<downloads>", GetKnownFolderPath(FOLDERID_Downloads)},
        {"<pictures>", GetKnownFolderPath(FOLDERID_Pictures)},
        {"<profile>", GetKnownFolderPath(FOLDERID_Profile)},
        {"<saved-games>", GetKnownFolderPath(FOLDERID_SavedGames)},
        {"<screenshots>", GetKnownFolderPath(FOLDERID_Screenshots)},
        {"<videos>", GetKnownFolderPath(FOLDERID_Videos)},
    }};
    std::array<ComPtr<ICoreWebView2FileSystemHandle>, folderCount> handles;
    for (size_t i = 0; i < folderCount; ++i) {
        AddDirectoryHandle(environment14.get(), handles[i].put(), folders[i].first, folders[i].second);
    }
    std::array<IUnknown*, folderCount> items{};
    for (size_t i = 0; i < folderCount; ++i) items[i] = handles[i].get();
    ComPtr<ICoreWebView2ObjectCollection> collection;
    environment14->CreateObjectCollection(static_cast<UINT32>(folderCount), items.data(), collection.put());
    const std::wstring message = Utf8ToWide(nlohmann::json{{"type", "directory-handles"}}.dump());
    webView23->PostWebMessageAsJsonWithAdditionalObjects(message.c_str(), collection.get());
}

void PallantWebView::AddDirectoryHandle(ICoreWebView2Environment14* environment14, ICoreWebView2FileSystemHandle** slot,
                                        const std::string& placeholder, const std::string& path) {
    if (path.empty()) return;
    folderPaths[placeholder] = path;
    environment14->CreateWebFileSystemDirectoryHandle(Utf8ToWide(path).c_str(),
                                                      COREWEBVIEW2_FILE_SYSTEM_HANDLE_PERMISSION_READ_WRITE, slot);
}
