// Hostile pages against the real host: foreign senders in remote mode, folders the app
// closed, requests of the app's service worker, and pointer lock while the user works
// in another window and after the page let go of it.
#include <windows.h>
#include <knownfolders.h>

#include <atomic>
#include <filesystem>
#include <map>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "e2e/background_lock.h"
#include "util/win_handles.h"
#include "util/text_convert.h"
#include "host_checks.h"

namespace {

namespace fs = std::filesystem;
using nlohmann::json;

const char kInit[] = R"( {"type":"wrapper-init"})";
const char kInitResponse[] = R"({"registeredComponentIds":[],"type":"wrapper-init-response"})";
const std::string kHandles = "WebView.PostWebMessageAsJsonWithAdditionalObjects";

TEST(HostileSender, RemoteModeHandsFoldersOnlyToTheAppsOwnSecurePages) {
    struct Case {
        const char* main;
        const char* source;
        bool heard;
        bool folders;
    };
    // Look-alike senders are the page-trust table's; remote mode with an https page is
    // the browser events' run.
    for (const Case& c : {Case{"http://example.com/", "http://example.com/game.html", true, false},
                          Case{"http://localhost:8080/", "http://localhost:8080/", true, true}}) {
        SCOPED_TRACE(std::string(c.main) + " <- " + c.source);
        auto app = e2e::MakeApp("remote-senders", std::string(R"({"name": "Remote Senders", "main": ")") + c.main +
                                                      R"(", "settings": {"content-mode": "remote"}})");
        const std::string message = std::string("message ") + c.source + kInit;
        e2e_test::Play(*app, {{message, c.heard ? json::array({kInitResponse}) : json::array()},
                              {message, c.folders ? 1 : 0, "calls:" + kHandles}});
    }
}

TEST(HostileSender, AForeignTopDocumentHearsNothingUntilAnAppPageIsBack) {
    const std::string main = "https://app.example/game/index.html";
    auto app = e2e::MakeApp(
        "remote-away", R"({"name": "Remote Away", "main": ")" + main + R"(", "settings": {"content-mode": "remote"}})");
    e2e::TestExtension extension(*app, json{{"message", {{"echo", true}}}});
    e2e::HostRunOptions options;
    extension.Apply(options);
    // The app's page stays a sender, as a frame inside the foreign page would be.
    const std::string fromApp = "message " + main + " ";
    const std::string toExtension = R"({"type":"extension-message"})";
    const std::string echo = json{{"type", "extension-echo"}, {"received", json::parse(toExtension)}}.dump();
    const json none = json::array();
    e2e_test::Play(*app,
                   {
                       {fromApp + kInit, json::array({kInitResponse})},
                       {"navigate https://elsewhere.example/", nullptr, ""},
                       {fromApp + kInit, none},
                       {fromApp + kInit, 0, "calls:" + kHandles},
                       {fromApp + R"({"type":"maximize-window"})", none},
                       {fromApp + R"({"type":"restore-window"})", none},
                       {fromApp + R"({"type":"set-pointer-lock-enabled","isEnabled":true})", none},
                       {fromApp + toExtension, none},
                       {"navigate " + main + "?level=2", nullptr, ""},
                       {fromApp + R"({"type":"maximize-window"})", json::array({R"({"type":"window-maximized"})"})},
                       {fromApp + R"({"type":"set-pointer-lock-enabled","isEnabled":false})",
                        json::array({R"({"isEnabled":false,"isOk":true,"type":"set-pointer-lock-enabled-response"})"})},
                       {fromApp + toExtension, json::array({echo})},
                       {fromApp + kInit, 1, "calls:" + kHandles},
                   },
                   {}, options);
}

TEST(FolderAccess, CodeAndFoldersHoldingItAreReadOnlyUnlessThePackageSaysOtherwise) {
    // Read-only 0, read-write 1, null for no handle; in the order of the handshake.
    const json defaults = {0, 0, 1, 0, 0, 1, 1, 1, 1, 0, 1, 1, 1};
    struct Case {
        const char* label;
        const char* settings;
        bool appInDocuments;
        json permissions;
    };
    const Case cases[] = {
        {"defaults", "{}", false, defaults},
        {"named",
         R"({"folder-access": {"<app>": "read-write", "<web-resource>": "none", "<documents>": "read",
          "<profile>": "read-write", "<videos>": "none"}})",
         false,
         {1, nullptr, 1, 0, 0, 1, 0, 1, 1, 1, 1, 1, nullptr}},
        {"in Documents", "{}", true, {0, 0, 1, 0, 0, 1, 0, 1, 1, 0, 1, 1, 1}},
        {"in Documents, opened", R"({"folder-access": {"<documents>": "read-write"}})", true, defaults},
    };
    const bool noScreenshots = e2e::KnownFolder(FOLDERID_Screenshots).empty();  // as under Wine
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        // An app unzipped into Documents: its folder lies below a read-write default.
        const std::wstring documents = Utf8ToWide(e2e::KnownFolder(FOLDERID_Documents));
        if (c.appInDocuments) SetEnvironmentVariableW(L"TESSARINE_E2E_ROOT", documents.c_str());
        auto app =
            e2e::MakeApp("folder-access", std::string(R"({"name": "Closed Folders", "settings": )") + c.settings + "}");
        if (c.appInDocuments) SetEnvironmentVariableW(L"TESSARINE_E2E_ROOT", nullptr);
        ASSERT_EQ(e2e::AppFolderText(*app).rfind(WideToUtf8(documents), 0) == 0, c.appInDocuments);
        const e2e_test::Played played =
            e2e_test::Play(*app, {{std::string("message ") + e2e::kPageUrl + kInit, json::array({kInitResponse})}});
        const auto posted = e2e::CallsDuring(played.run.transcript, played.lines[0], kHandles);
        ASSERT_EQ(posted.size(), 1u) << played.run.Describe();
        const json& slots = posted[0]["objects"];
        ASSERT_EQ(slots.size(), 13u);
        json permissions = json::array();
        for (const json& slot : slots) permissions.push_back(slot.is_null() ? json() : slot["permission"]);
        json expected = c.permissions;
        if (noScreenshots) expected[11] = nullptr;
        EXPECT_EQ(permissions, expected);
        EXPECT_EQ(slots[0]["path"], e2e::AppFolderText(*app));
    }
}

TEST(HeldFiles, NoOtherProcessMayWriteRenameOrDeleteTheAppsCodeConfigurationOrBundleWhileItRuns) {
    auto app = e2e::MakeApp("held-files", R"({"name": "Held Files"})");
    app->WriteBundle({{"index.html", "<p>held</p>"}});
    app->CopyFromRunner("Orvanta.dll", "Orvanta.dll");
    const char* const names[] = {"tessarine.exe", "WebView2Loader.dll", "Orvanta.dll", "package.json",
                                 "www\\assets.dat"};
    // This process plays the page's folder handle, once the host's window is there (an
    // open for writing any earlier could make the host's own start fail).
    std::atomic<bool> stop{false};
    std::map<std::string, std::vector<DWORD>> refused;  // the errors, per file: write, delete, rename
    std::thread other([&] {
        while (!stop && !FindWindowW(L"Tessarine", nullptr)) Sleep(20);
        for (const char* name : names) {
            if (stop) break;
            const std::wstring path = (app->App() / Utf8ToWide(name)).wstring();
            UniqueHandle writer(CreateFileW(path.c_str(), GENERIC_WRITE,
                                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                            OPEN_EXISTING, 0, nullptr));
            const DWORD writeError = writer ? 0 : GetLastError();
            const DWORD deleteError = DeleteFileW(path.c_str()) ? 0 : GetLastError();
            const DWORD renameError = MoveFileW(path.c_str(), (path + L".old").c_str()) ? 0 : GetLastError();
            refused[name] = {writeError, deleteError, renameError};
        }
    });
    e2e::Scenario scenario;
    scenario.Add("dom-content-loaded");
    scenario.Add("wait 3000");
    scenario.Add("close-window");
    const e2e::HostRun run = e2e::RunScenario(*app, scenario);
    stop = true;
    other.join();
    e2e_test::ExpectEnded(run, 0);
    for (const char* name : names) {
        EXPECT_EQ(refused[name], (std::vector<DWORD>(3, ERROR_SHARING_VIOLATION))) << name;
        EXPECT_TRUE(fs::exists(app->App() / Utf8ToWide(name))) << name;
    }
    // Once the host is gone, the files are the user's again.
    UniqueHandle after(
        CreateFileW((app->App() / L"package.json").c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    EXPECT_TRUE(after.valid());
}

TEST(ServiceWorker, RequestsOfTheAppsWorkersAreServedWhereTheRuntimeFiltersBySource) {
    for (const bool offered : {true, false}) {
        SCOPED_TRACE(offered ? "ICoreWebView2_22 offered" : "ICoreWebView2_22 withheld");
        auto app = e2e::MakeApp("service-worker", R"({"name": "Worker App"})");
        std::vector<e2e_test::StepCheck> checks;
        for (const char* source : {"document", "service-worker", "shared-worker"}) {
            const bool served = offered || std::string(source) == "document";
            checks.push_back({std::string("request-from ") + source + " GET https://tessarine.localhost/index.html",
                              served ? 1 : 0, "handlers"});
        }
        const e2e::HostRun run =
            e2e_test::Play(*app, checks, {std::string("offer webview22 ") + (offered ? "on" : "off")}).run;
        const std::string withKinds = "WebView.AddWebResourceRequestedFilterWithRequestSourceKinds";
        EXPECT_EQ(e2e::Lookup(run.transcript, withKinds + "#"), offered ? 1 : 0);
        EXPECT_EQ(e2e::Lookup(run.transcript, "WebView.AddWebResourceRequestedFilter#"), offered ? 0 : 1);
        EXPECT_EQ(e2e::Lookup(run.transcript, withKinds + ".sourceKinds"), offered ? json(0xFFFFFFFFu) : "(no call)");
    }
}

TEST(PointerLockInBackground, TheCursorIsFreeAndNoMotionReachesThePageWhileAnotherWindowIsInFrontOrTheLockIsOff) {
    auto app = e2e::MakeApp("background-lock", R"({"name": "Background Lock"})");
    e2e::Scenario scenario;
    scenario.Add("dom-content-loaded");
    scenario.Add("wait 300");
    scenario.Message(R"({"type":"set-pointer-lock-enabled","isEnabled":true})");
    scenario.Add("wait 6000");
    scenario.Message(R"({"type":"set-pointer-lock-enabled","isEnabled":false})");
    scenario.Add("wait 1500");
    scenario.Add("close-window");
    e2e::BackgroundLockUser user;
    e2e::CursorSampler sampler([&user](const e2e::CursorSample& sample) { user.OnSample(sample); });
    const e2e::HostRun run = e2e::RunScenario(*app, scenario);
    sampler.Stop();
    e2e_test::ExpectEnded(run, 0);
    ASSERT_GE(user.phase, 2) << run.Describe();
    EXPECT_TRUE(user.freedWhileBehind) << "the cursor stayed captive while another window was in front";
    EXPECT_GE(user.phase, 3) << "the lock did not come back with the window";
    EXPECT_EQ(user.phase, 4) << "the lock did not let go when asked";
    std::vector<std::string> movements;
    for (const auto& text : e2e::AllPosts(run.transcript)) {
        if (text.find("pointer-lock-movement") != std::string::npos) movements.push_back(text);
    }
    EXPECT_EQ(movements, std::vector<std::string>{R"({"movementX":-4,"movementY":2,"type":"pointer-lock-movement"})"})
        << run.Describe();
}

}  // namespace
