#include "extensions/extension_manager.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "app/app_config.h"
#include "app/host_globals.h"
#include "bundle/asset_bundle.h"
#include "extension_folder.h"
#include "support/fake_web_view.h"
#include "webview/browser_loader.h"
#include "webview/pallant_webview.h"

namespace {

using nlohmann::json;
using Strings = std::vector<std::string>;
using WideStrings = std::vector<std::wstring>;

const std::string webFolder = "www\\";
const std::string userDataFolder = "C:\\Users\\T\xC3\xA9st\\AppData\\Local\\Demo \xC3\x84pp";
// Handed over byte for byte: byte-order mark, CRLF, tabs and trailing blanks included.
const std::string packageJson =
    "\xEF\xBB\xBF{\r\n\t\"name\": \"Demo \xC3\x84pp\",  \r\n\t\"main\": \"index.html\"\n}\r\n  ";

Strings Calls(const std::vector<json>& records) {
    Strings calls;
    for (const auto& record : records) calls.push_back(record.at("call").get<std::string>());
    return calls;
}

// The main window as start-up hands it over: created, not yet shown.
struct HiddenWindow {
    static constexpr wchar_t className[] = L"TessarineExtensionTestWindow";
    HiddenWindow() {
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = DefWindowProcW;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = className;
        RegisterClassExW(&windowClass);  // already registered by an earlier test: fine
        handle = CreateWindowExW(0, className, L"", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr,
                                 windowClass.hInstance, nullptr);
    }
    ~HiddenWindow() { DestroyWindow(handle); }
    HWND handle;
};

// A web view host whose browser web view is a fake, attached to the manager the way
// start-up attaches it.
class PageHost {
public:
    explicit PageHost(ExtensionManager& manager)
        : published_(manager),
          host(config_, bundle_, nullptr, "C:\\app\\", webFolder, nullptr, userDataFolder, loader_) {
        host.webView = ComPtr<ICoreWebView2>::Wrap(page.get());
    }

private:
    struct Published {
        explicit Published(ExtensionManager& manager) { g_extensionManager = &manager; }
        ~Published() { g_extensionManager = nullptr; }
    } published_;
    AppConfig config_;
    AssetBundle bundle_;
    BrowserLoader loader_;

public:
    ComPtr<FakeWebView> page = FakeWebView::Create();
    PallantWebView host;
};

TEST(ExtensionManager, WithoutLibraryNothingIsLoaded) {
    ExtensionFolder folder;
    ExtensionManager manager(folder.AppFolder(), webFolder, userDataFolder, packageJson);
    EXPECT_FALSE(manager.LoadExtension());
    EXPECT_FALSE(manager.module);
    EXPECT_TRUE(manager.ComponentIds().empty());

    // The host goes on as usual: these find nothing to call.
    HiddenWindow window;
    manager.NotifyMainWindowCreated(window.handle);
    manager.DeliverPageMessage(R"({"type":"extension-message"})");
    manager.Unload();
    EXPECT_EQ(GetModuleHandleW(L"Orvanta.dll"), nullptr);
}

TEST(ExtensionManager, InitGetsTheFoldersAndAUsableHostAndItsIdsAreCopiedInOrder) {
    ExtensionFolder folder;
    folder.InstallLibrary(L"Orvanta.dll");
    folder.Configure(R"({"componentIds": ["alpha", "beta", "alpha", ""],
                         "init": {"packageJson": true, "folderPaths": ["<desktop>"], "post": [{"n": 1}]}})");
    ExtensionManager manager(folder.AppFolder(), webFolder, userDataFolder, packageJson);
    ASSERT_TRUE(manager.LoadExtension());
    EXPECT_EQ(manager.ComponentIds(), (Strings{"alpha", "beta", "alpha", ""}));

    const auto records = folder.Records();
    ASSERT_EQ(Calls(records), (Strings{"Init", "GetPackageJson", "GetFolderPath", "PostMessageToPage"}));
    EXPECT_EQ(records[0]["appFolder"], folder.AppFolder());
    EXPECT_EQ(records[0]["webFolder"], webFolder);
    EXPECT_EQ(records[0]["userDataFolder"], userDataFolder);
    EXPECT_EQ(records[0]["hasApp"], true);
    EXPECT_EQ(records[1]["result"], packageJson);
    // No web view exists yet.
    EXPECT_EQ(records[2]["result"], "");
    // The page is not ready either: the message waits.
    EXPECT_EQ(manager.pendingMessages, Strings{R"({"n":1})"});
    manager.Unload();
}

TEST(ExtensionManager, EntryPointsGetTheWindowAndThePageTextAndReleaseComesLast) {
    ExtensionFolder folder;
    folder.InstallLibrary(L"Orvanta.dll");
    ExtensionManager manager(folder.AppFolder(), webFolder, userDataFolder, packageJson);
    ASSERT_TRUE(manager.LoadExtension());
    EXPECT_TRUE(manager.ComponentIds().empty());

    HiddenWindow window;
    manager.NotifyMainWindowCreated(window.handle);
    const std::string text =
        "{ \"type\" : \"extension-message\",\n\t\"word\": \"Gr\xC3\xBC\xC3\x9F"
        "e\", \"n\": [1, 2.50] }";
    manager.DeliverPageMessage(text);
    const HMODULE loaded = manager.module.get();
    manager.Unload();
    EXPECT_FALSE(manager.module);
    wchar_t name[MAX_PATH];
    EXPECT_EQ(GetModuleFileNameW(loaded, name, MAX_PATH), 0u) << "the library is still loaded";

    const auto records = folder.Records();
    ASSERT_EQ(Calls(records), (Strings{"Init", "OnMainWindowCreated", "OnExtensionMessage", "Release"}));
    for (size_t i = 0; i < records.size(); ++i) EXPECT_EQ(records[i]["seq"], i + 1);
    EXPECT_EQ(records[1]["isWindow"], true);
    EXPECT_EQ(records[1]["isVisible"], false);
    EXPECT_EQ(records[1]["className"], "TessarineExtensionTestWindow");
    EXPECT_EQ(records[2]["text"], text);
}

TEST(ExtensionManager, LibraryLackingAnExportIsNotUsedAtAll) {
    for (const std::wstring variant : {L"OrvantaWithoutRelease.dll", L"OrvantaWithoutMessage.dll"}) {
        SCOPED_TRACE(std::string(variant.begin(), variant.end()));
        ExtensionFolder folder;
        folder.InstallLibrary(variant);
        folder.Configure(R"({"componentIds": ["alpha"], "init": {"post": ["\"early\""]}})");
        ExtensionManager manager(folder.AppFolder(), webFolder, userDataFolder, packageJson);
        EXPECT_FALSE(manager.LoadExtension());
        EXPECT_TRUE(manager.ComponentIds().empty());
        EXPECT_FALSE(manager.module);
        EXPECT_EQ(GetModuleHandleW(L"Orvanta.dll"), nullptr) << "the library is still loaded";

        HiddenWindow window;
        manager.NotifyMainWindowCreated(window.handle);
        manager.DeliverPageMessage(R"({"type":"extension-message"})");
        manager.Unload();
        EXPECT_TRUE(manager.pendingMessages.empty());
        EXPECT_EQ(Calls(folder.Records()), Strings{});
    }
}

TEST(ExtensionManager, InitReturningNullLeavesOnlyRelease) {
    ExtensionFolder folder;
    folder.InstallLibrary(L"Orvanta.dll");
    folder.Configure(R"({"componentIds": ["alpha"], "initReturnsNull": true, "message": {"echo": true}})");
    ExtensionManager manager(folder.AppFolder(), webFolder, userDataFolder, packageJson);
    EXPECT_FALSE(manager.LoadExtension());
    EXPECT_TRUE(manager.ComponentIds().empty());

    HiddenWindow window;
    manager.NotifyMainWindowCreated(window.handle);
    manager.DeliverPageMessage(R"({"type":"extension-message"})");
    manager.Unload();
    EXPECT_FALSE(manager.module);
    EXPECT_EQ(Calls(folder.Records()), (Strings{"Init", "Release"}));
}

TEST(ExtensionManager, MessagesWaitForThePageThenGoInOrderAndLaterOnesGoAtOnce) {
    ExtensionFolder folder;
    folder.InstallLibrary(L"Orvanta.dll");
    folder.Configure(R"({"init": {"post": [{"type": "first"}, "not json {", {"word": "Gr\u00fc\u00dfe \u2713"}]},
                         "mainWindowCreated": {"post": [{"type": "second"}]},
                         "message": {"echo": true}})");
    ExtensionManager manager(folder.AppFolder(), webFolder, userDataFolder, packageJson);
    ASSERT_TRUE(manager.LoadExtension());
    HiddenWindow window;
    manager.NotifyMainWindowCreated(window.handle);
    PageHost page(manager);
    manager.DeliverPageMessage(R"({"type":"extension-message","n":1})");
    EXPECT_EQ(page.page->postedJson, WideStrings{});

    manager.OnPageReady();
    // Exactly as posted, even text that is not JSON: the browser, not the host, refuses it.
    const WideStrings held{
        L"{\"type\":\"first\"}",
        L"not json {",
        L"{\"word\":\"Gr\u00fc\u00dfe \u2713\"}",
        L"{\"type\":\"second\"}",
        L"{\"received\":{\"n\":1,\"type\":\"extension-message\"},\"type\":\"extension-echo\"}",
    };
    EXPECT_EQ(page.page->postedJson, held);
    EXPECT_TRUE(manager.pendingMessages.empty());

    manager.DeliverPageMessage(R"({"type":"extension-message","n":2})");
    manager.PostMessageToPage("[1,2]");
    WideStrings all = held;
    all.push_back(L"{\"received\":{\"n\":2,\"type\":\"extension-message\"},\"type\":\"extension-echo\"}");
    all.push_back(L"[1,2]");
    EXPECT_EQ(page.page->postedJson, all);

    // A second handshake (the page reloaded) sends nothing twice.
    manager.OnPageReady();
    EXPECT_EQ(page.page->postedJson, all);
    manager.Unload();
}

TEST(ExtensionManager, FolderPathsComeFromTheWebViewAndPackageJsonIsExact) {
    ExtensionFolder folder;
    folder.InstallLibrary(L"Orvanta.dll");
    folder.Configure(R"({"message": {"packageJson": true, "folderPaths": ["<desktop>", "<videos>"]}})");
    ExtensionManager manager(folder.AppFolder(), webFolder, userDataFolder, packageJson);
    ASSERT_TRUE(manager.LoadExtension());
    EXPECT_STREQ(manager.GetFolderPath("<desktop>"), "");

    PageHost page(manager);
    EXPECT_STREQ(manager.GetFolderPath("<desktop>"), "");
    const std::string desktop = "C:\\Users\\T\xC3\xA9st\\Desktop";
    page.host.folderPaths["<desktop>"] = desktop;
    EXPECT_STREQ(manager.GetFolderPath("<desktop>"), desktop.c_str());
    EXPECT_STREQ(manager.GetFolderPath("<videos>"), "");
    EXPECT_STREQ(manager.GetPackageJson(), packageJson.c_str());

    // The same through the library, which calls the interface by slot.
    manager.DeliverPageMessage(R"({"type":"extension-message"})");
    const auto records = folder.Records();
    ASSERT_EQ(Calls(records),
              (Strings{"Init", "OnExtensionMessage", "GetPackageJson", "GetFolderPath", "GetFolderPath"}));
    EXPECT_EQ(records[2]["result"], packageJson);
    EXPECT_EQ(records[3]["placeholder"], "<desktop>");
    EXPECT_EQ(records[3]["result"], desktop);
    EXPECT_EQ(records[4]["result"], "");
    manager.Unload();
}

}  // namespace
