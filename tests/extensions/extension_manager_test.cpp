// Windows-only. What the end-to-end runs cannot see of the extension manager: that a
// library it must not use is gone at once, that nothing calls into it after Unload,
// and that held-back messages go out in order when posting one makes the library post.
#include "extensions/extension_manager.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "support/extension_page.h"

namespace {

using Strings = std::vector<std::string>;

TEST(ExtensionManager, ALibraryItMustNotUseIsFreedAtOnceAndNothingCallsIntoOneAfterUnload) {
    struct Case {
        const wchar_t* library;
        const char* config;  // the test library's behaviour
        bool loads;
        Strings calls;
    };
    // A library whose Init failed stays loaded so that Release can clean up, and hears nothing else.
    for (const Case& c :
         {Case{L"OrvantaWithoutRelease.dll", "{}", false, {}}, Case{L"OrvantaWithoutMessage.dll", "{}", false, {}},
          Case{L"Orvanta.dll", R"({"initReturnsNull": true})", false, {"Init", "Release"}},
          Case{L"Orvanta.dll", "{}", true, {"Init", "OnMainWindowCreated", "OnExtensionMessage", "Release"}}}) {
        SCOPED_TRACE(c.config);
        SCOPED_TRACE(c.library);
        const test_support::TempFolder app(L"tessarine-extension");
        ASSERT_TRUE(CopyFileW((test_support::ProgramFolder() + L"\\" + c.library).c_str(),
                              app.Wide(L"Orvanta.dll").c_str(), TRUE));
        std::ofstream(app.Wide(L"config.json").c_str()) << c.config;
        SetEnvironmentVariableW(L"TESSARINE_TEST_EXTENSION_CONFIG", app.Wide(L"config.json").c_str());
        SetEnvironmentVariableW(L"TESSARINE_TEST_EXTENSION_RECORD", app.Wide(L"record.jsonl").c_str());
        ExtensionManager manager(app.Utf8(L"") + "\\", "www\\", "C:\\data\\App", "{}");
        const bool loaded = manager.LoadExtension();
        EXPECT_EQ(loaded, c.loads);
        EXPECT_EQ(GetModuleHandleW(L"Orvanta.dll") != nullptr, c.calls.size() > 0);
        for (int round = 0; round < 2; ++round) {
            // Each of these would crash (or hang) on an entry point of the freed library.
            manager.NotifyMainWindowCreated(GetDesktopWindow());
            manager.DeliverPageMessage(R"({"type":"extension-message"})");
            manager.Unload();
            EXPECT_EQ(GetModuleHandleW(L"Orvanta.dll"), nullptr) << "the library is still loaded";
        }
        EXPECT_EQ(test_support::RecordedCalls(app), c.calls);
        SetEnvironmentVariableW(L"TESSARINE_TEST_EXTENSION_CONFIG", nullptr);
    }
}

TEST(ExtensionManager, HeldMessagesGoOutOnceInOrderEvenWhenPostingOnePostsAgain) {
    ExtensionManager manager("C:\\app\\", "www\\", "C:\\data\\A", "{}");
    test_support::RecordingPage page;
    page.onPost = [&manager](const std::string& json) {
        if (json == "first") manager.PostMessageToPage("answer to first");
    };
    manager.PostMessageToPage("first");
    manager.PostMessageToPage("not json {");
    manager.AttachWebView(&page);
    EXPECT_TRUE(page.posts.empty());
    manager.OnPageReady();
    EXPECT_EQ(page.posts, (Strings{"first", "answer to first", "not json {"}));
    manager.OnPageReady();
    manager.PostMessageToPage("[1,2]");
    EXPECT_EQ(page.posts, (Strings{"first", "answer to first", "not json {", "[1,2]"}));
}

}  // namespace

TEST(ExtensionManager, AFolderPathHandedOutStaysValidAfterTheNextHandshake) {
    ExtensionManager manager("C:\\app\\", "www\\", "C:\\data\\A", "{}");
    test_support::RecordingPage page;
    EXPECT_STREQ(manager.GetFolderPath("<documents>"), "") << "no page side yet";
    manager.AttachWebView(&page);
    page.documents = "C:\\users\\first\\Documents";
    const char* first = manager.GetFolderPath("<documents>");
    // Same length: the page side's buffer is rewritten where it is.
    page.documents = "C:\\users\\other\\Documents";
    const char* second = manager.GetFolderPath("<documents>");
    page.documents = std::string(200, 'x');
    EXPECT_STREQ(first, "C:\\users\\first\\Documents");
    EXPECT_STREQ(second, "C:\\users\\other\\Documents");
    EXPECT_STREQ(manager.GetFolderPath("<desktop>"), "");
}
