#include "extensions/extension_manager.h"

#include "util/long_path.h"
#include "util/text_convert.h"

namespace {

template <class Function>
Function Export(HMODULE module, const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

}  // namespace

ExtensionManager::ExtensionManager(std::string appFolder, std::string webFolder, std::string userDataFolder,
                                   std::string packageJsonText)
    : appFolder(std::move(appFolder)),
      webFolder(std::move(webFolder)),
      userDataFolder(std::move(userDataFolder)),
      packageJsonText(std::move(packageJsonText)) {}

bool ExtensionManager::LoadExtension() {
    const std::wstring path = ToLongPath(Utf8ToWide(appFolder) + Utf8ToWide(extensionLibraryFileName));
    // Its own dependencies come from its folder and System32, never the working folder.
    module.reset(
        LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR | LOAD_LIBRARY_SEARCH_SYSTEM32));
    if (!module) return false;
    initEntry = Export<ExtensionInitFunction>(module.get(), "Init");
    releaseEntry = Export<ExtensionReleaseFunction>(module.get(), "Release");
    mainWindowCreatedEntry = Export<ExtensionMainWindowCreatedFunction>(module.get(), "OnMainWindowCreated");
    extensionMessageEntry = Export<ExtensionMessageFunction>(module.get(), "OnExtensionMessage");
    if (!initEntry || !releaseEntry || !mainWindowCreatedEntry || !extensionMessageEntry) {
        // Not an extension of ours: calling any part of it could not be sound.
        ForgetEntries();
        module.reset();
        return false;
    }
    const char** ids = initEntry(appFolder.c_str(), webFolder.c_str(), userDataFolder.c_str(), this);
    if (!ids) {
        // A failed Init leaves the library to clean up in Release, and nothing else.
        mainWindowCreatedEntry = nullptr;
        extensionMessageEntry = nullptr;
        return false;
    }
    for (; *ids; ++ids) componentIds.emplace_back(*ids);
    return true;
}

void ExtensionManager::NotifyMainWindowCreated(HWND mainWindow) {
    if (mainWindowCreatedEntry) mainWindowCreatedEntry(mainWindow);
}

void ExtensionManager::AttachWebView(ExtensionPage* page) {
    webViewHost = page;
}

void ExtensionManager::DeliverPageMessage(const std::string& text) {
    if (extensionMessageEntry) extensionMessageEntry(text.c_str());
}

void ExtensionManager::OnPageReady() {
    // Swap first: posting may reach the library, which may post again.
    std::vector<std::string> queued;
    queued.swap(pendingMessages);
    pageReady = true;
    for (const auto& message : queued) {
        if (webViewHost) webViewHost->PostToPage(message);
    }
}

void ExtensionManager::Unload() {
    if (releaseEntry) releaseEntry();
    // Nothing may call into the library once it is gone.
    ForgetEntries();
    module.reset();
}

void ExtensionManager::ForgetEntries() {
    initEntry = nullptr;
    releaseEntry = nullptr;
    mainWindowCreatedEntry = nullptr;
    extensionMessageEntry = nullptr;
}

void ExtensionManager::PostMessageToPage(const char* json) {
    std::string text = json ? json : "";
    if (pageReady && webViewHost) {
        webViewHost->PostToPage(text);
    } else {
        pendingMessages.push_back(std::move(text));
    }
}

const char* ExtensionManager::GetFolderPath(const char* placeholder) {
    if (!webViewHost || !placeholder) return "";
    const std::string* path = webViewHost->FindFolderPath(placeholder);
    return path ? folderPathsGiven.insert(*path).first->c_str() : "";
}

const char* ExtensionManager::GetPackageJson() {
    return packageJsonText.c_str();
}
