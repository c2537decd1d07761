#pragma once
// Owns the optional extension library: loads it, implements IWrapperApp for it and
// holds its messages back until the page has done its start-up handshake.

#include <string>
#include <vector>

#include "extensions/wrapper_app.h"
#include "util/win_handles.h"

class PallantWebView;

inline constexpr char extensionLibraryFileName[] = "Orvanta.dll";

class ExtensionManager final : public IWrapperApp {
public:
    ExtensionManager(std::string appFolder, std::string webFolder, std::string userDataFolder,
                     std::string packageJsonText);
    ExtensionManager(const ExtensionManager&) = delete;
    ExtensionManager& operator=(const ExtensionManager&) = delete;

    bool LoadExtension();
    void NotifyMainWindowCreated(HWND mainWindow);
    void AttachWebView(PallantWebView* webView);
    void DeliverPageMessage(const std::string& text);
    const std::vector<std::string>& ComponentIds() const { return componentIds; }
    void OnPageReady();
    void Unload();

    void PostMessageToPage(const char* json) override;
    const char* GetFolderPath(const char* placeholder) override;
    const char* GetPackageJson() override;

    ModuleHandle module;
    ExtensionInitFunction initEntry = nullptr;
    ExtensionReleaseFunction releaseEntry = nullptr;
    ExtensionMainWindowCreatedFunction mainWindowCreatedEntry = nullptr;
    ExtensionMessageFunction extensionMessageEntry = nullptr;
    std::string appFolder;
    std::string webFolder;
    std::string userDataFolder;
    std::string packageJsonText;
    PallantWebView* webViewHost = nullptr;
    std::vector<std::string> componentIds;
    bool pageReady = false;
    std::vector<std::string> pendingMessages;
};
