// The page's start-up handshake: folder handles, then the component ids.
#include "bridge/init_handshake.h"

#include <windows.h>
#include <knownfolders.h>

#include <array>
#include <utility>

#include <nlohmann/json.hpp>

#include "util/known_folder.h"
#include "util/text_convert.h"
#include "util/win_handles.h"

namespace {

constexpr size_t folderCount = 13;

}  // namespace

InitHandshake::InitHandshake(std::string appFolder, std::string webFolder, std::string userDataFolder)
    : appFolder_(std::move(appFolder)), webFolder_(std::move(webFolder)), userDataFolder_(std::move(userDataFolder)) {}

void InitHandshake::SendDirectoryHandles(ICoreWebView2Environment* environment, ICoreWebView2* webView) {
    if (!environment || !webView) return;
    auto environment14 = ComPtr<ICoreWebView2Environment>::Wrap(environment).query<ICoreWebView2Environment14>();
    auto webView23 = ComPtr<ICoreWebView2>::Wrap(webView).query<ICoreWebView2_23>();
    if (!environment14 || !webView23) return;

    // The page finds each folder by its place in this list.
    const std::array<std::pair<const char*, std::string>, folderCount> folders{{
        {"<app>", appFolder_},
        {"<web-resource>", appFolder_ + webFolder_},
        {"<current-app-data>", userDataFolder_},
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

void InitHandshake::AddDirectoryHandle(ICoreWebView2Environment14* environment14, ICoreWebView2FileSystemHandle** slot,
                                       const std::string& placeholder, const std::string& path) {
    if (path.empty()) return;
    folderPaths[placeholder] = path;
    environment14->CreateWebFileSystemDirectoryHandle(Utf8ToWide(path).c_str(),
                                                      COREWEBVIEW2_FILE_SYSTEM_HANDLE_PERMISSION_READ_WRITE, slot);
}

std::string InitHandshake::InitResponse(const std::vector<std::string>& componentIds) {
    return nlohmann::json{{"type", "wrapper-init-response"}, {"registeredComponentIds", componentIds}}.dump();
}

const std::string* InitHandshake::FindFolderPath(const std::string& placeholder) const {
    const auto found = folderPaths.find(placeholder);
    return found == folderPaths.end() ? nullptr : &found->second;
}
