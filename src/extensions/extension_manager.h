#pragma once
// Owns the optional extension library: loads it, implements IWrapperApp for it and
// holds its messages back until the page has done its start-up handshake.

#include <string>
#include <vector>

#include "extensions/wrapper_app.h"
#include "util/win_handles.h"

inline constexpr char extensionLibraryFileName[] = "Orvanta.dll";

// What the manager needs of the page side: the web view host implements it.
class ExtensionPage {
public:
    virtual void PostToPage(const std::string& json) = 0;
    // The path behind a placeholder such as "<documents>" from the last handshake;
    // null when none was found. It stays valid until the next handshake.
    virtual const std::string* FindFolderPath(const std::string& placeholder) const = 0;

protected:
    ~ExtensionPage() = default;
};

class ExtensionManager final : public IWrapperApp {
public:
    ExtensionManager(std::string appFolder, std::string webFolder, std::string userDataFolder,
                     std::string packageJsonText);
    ExtensionManager(const ExtensionManager&) = delete;
    ExtensionManager& operator=(const ExtensionManager&) = delete;

    // False when there is no library, it lacks an export (it is then unloaded at
    // once) or its Init fails (only its Release is called after that).
    bool LoadExtension();
    void NotifyMainWindowCreated(HWND mainWindow);
    // The page side; before it is attached the library's folder lookups find nothing.
    void AttachWebView(ExtensionPage* page);
    void DeliverPageMessage(const std::string& text);
    const std::vector<std::string>& ComponentIds() const { return componentIds; }
    // Posts the held-back messages in order; from then on messages go at once.
    void OnPageReady();
    // Release, then the library is freed; nothing calls into it afterwards.
    void Unload();

    void PostMessageToPage(const char* json) override;
    const char* GetFolderPath(const char* placeholder) override;
    const char* GetPackageJson() override;

private:
    void ForgetEntries();

    ModuleHandle module;
    ExtensionInitFunction initEntry = nullptr;
    ExtensionReleaseFunction releaseEntry = nullptr;
    ExtensionMainWindowCreatedFunction mainWindowCreatedEntry = nullptr;
    ExtensionMessageFunction extensionMessageEntry = nullptr;
    const std::string appFolder;
    const std::string webFolder;
    const std::string userDataFolder;
    const std::string packageJsonText;
    ExtensionPage* webViewHost = nullptr;
    std::vector<std::string> componentIds;
    bool pageReady = false;
    std::vector<std::string> pendingMessages;
};
