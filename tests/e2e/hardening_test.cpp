// Hostile pages against the real host: foreign senders in remote mode, folders the app
// closed, requests of the app's service worker, and pointer lock while the user works
// in another window and after the page let go of it.
#include <windows.h>

#include <gtest/gtest.h>

#include "e2e/background_lock.h"
#include "host_checks.h"

namespace {

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

TEST(FolderAccess, FoldersAreHandedOutAsThePackageAsks) {
    auto app = e2e::MakeApp("folder-access", R"({"name": "Closed Folders",
        "settings": {"folder-access": {"<app>": "read", "<web-resource>": "none"}}})");
    const e2e_test::Played played =
        e2e_test::Play(*app, {{std::string("message ") + e2e::kPageUrl + kInit, json::array({kInitResponse})}});
    const auto posted = e2e::CallsDuring(played.run.transcript, played.lines[0], kHandles);
    ASSERT_EQ(posted.size(), 1u) << played.run.Describe();
    const json& slots = posted[0]["objects"];
    ASSERT_EQ(slots.size(), 13u);
    EXPECT_EQ(slots[0], (json{{"kind", "directory"}, {"path", e2e::AppFolderText(*app)}, {"permission", 0}}));
    EXPECT_TRUE(slots[1].is_null()) << slots.dump();
    EXPECT_EQ(slots[2]["permission"], 1);
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
