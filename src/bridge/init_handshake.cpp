// The page's start-up handshake: folder handles, then the component ids.
#include "bridge/init_handshake.h"

#include <windows.h>
#include <knownfolders.h>

#include <array>
#include <utility>

#include <nlohmann/json.hpp>

#include "util/debug_trace.h"
#include "util/folder_defaults.h"
#include "util/known_folder.h"
#include "util/text_convert.h"
#include "util/win_handles.h"

namespace {

constexpr size_t folderCount = folderPlaceholders.size();

}  // namespace

InitHandshake::InitHandshake(std::string appFolder, std::string webFolder, std::string userDataFolder,
                             std::map<std::string, FolderAccess> folderAccess)
    : appFolder_(std::move(appFolder)),
      webFolder_(std::move(webFolder)),
      userDataFolder_(std::move(userDataFolder)),
      folderAccess_(std::move(folderAccess)) {}

void InitHandshake::SendDirectoryHandles(ICoreWebView2Environment* environment, ICoreWebView2* webView) {
    if (!environment || !webView) return;
    auto environment14 = ComPtr<ICoreWebView2Environment>::Wrap(environment).query<ICoreWebView2Environment14>();
    auto webView23 = ComPtr<ICoreWebView2>::Wrap(webView).query<ICoreWebView2_23>();
    if (!environment14 || !webView23) return;

    // The paths in the order of folderPlaceholders: the page finds each folder by its place.
    const std::array<std::string, folderCount> paths{
        appFolder_,
        appFolder_ + webFolder_,
        userDataFolder_,
        GetKnownFolderPath(FOLDERID_LocalAppData),
        GetKnownFolderPath(FOLDERID_RoamingAppData),
        GetKnownFolderPath(FOLDERID_Desktop),
        GetKnownFolderPath(FOLDERID_Documents),
        GetKnownFolderPath(FOLDERID_Downloads),
        GetKnownFolderPath(FOLDERID_Pictures),
        GetKnownFolderPath(FOLDERID_Profile),
        GetKnownFolderPath(FOLDERID_SavedGames),
        GetKnownFolderPath(FOLDERID_Screenshots),
        GetKnownFolderPath(FOLDERID_Videos),
    };
    std::array<ComPtr<ICoreWebView2FileSystemHandle>, folderCount> handles;
    for (size_t i = 0; i < folderCount; ++i) {
        AddDirectoryHandle(environment14.get(), handles[i].put(), folderPlaceholders[i], paths[i]);
    }
    std::array<IUnknown*, folderCount> items{};
    for (size_t i = 0; i < folderCount; ++i) items[i] = handles[i].get();
    ComPtr<ICoreWebView2ObjectCollection> collection;
    TraceIfFailed(
        environment14->CreateObjectCollection(static_cast<UINT32>(folderCount), items.data(), collection.put()),
        "CreateObjectCollection");
    const std::wstring message = Utf8ToWide(nlohmann::json{{"type", "directory-handles"}}.dump());
    TraceIfFailed(webView23->PostWebMessageAsJsonWithAdditionalObjects(message.c_str(), collection.get()),
                  "PostWebMessageAsJsonWithAdditionalObjects");
}

void InitHandshake::AddDirectoryHandle(ICoreWebView2Environment14* environment14, ICoreWebView2FileSystemHandle** slot,
                                       const std::string& placeholder, const std::string& path) {
    if (path.empty()) return;
    folderPaths[placeholder] = path;
    const FolderAccess access = EffectiveFolderAccess(folderAccess_, placeholder, path, appFolder_);
    if (access == FolderAccess::None) return;
    // A folder the runtime cannot open keeps an empty slot; the page sees it as closed.
    TraceIfFailed(environment14->CreateWebFileSystemDirectoryHandle(
                      Utf8ToWide(path).c_str(),
                      access == FolderAccess::Read ? COREWEBVIEW2_FILE_SYSTEM_HANDLE_PERMISSION_READ_ONLY
                                                   : COREWEBVIEW2_FILE_SYSTEM_HANDLE_PERMISSION_READ_WRITE,
                      slot),
                  "CreateWebFileSystemDirectoryHandle");
}

std::string InitHandshake::InitResponse(const std::vector<std::string>& componentIds, bool restarted) {
    nlohmann::json response{{"type", "wrapper-init-response"}, {"registeredComponentIds", componentIds}};
    if (restarted) response["restarted"] = true;
    return response.dump();
}

const std::string* InitHandshake::FindFolderPath(const std::string& placeholder) const {
    const auto found = folderPaths.find(placeholder);
    return found == folderPaths.end() ? nullptr : &found->second;
}
