// Following the page: the browser settings the host fixes and what it does with the
// browser's events (keys, navigations, permissions, new windows, titles) in either
// content mode.
#include <windows.h>
#include <shellapi.h>

#include <algorithm>

#include <gtest/gtest.h>

#include "e2e/shell_launches.h"
#include "util/text_convert.h"
#include "host_checks.h"
#include "webview/app_origin.h"

namespace {

using e2e_test::ExpectEnded;
using nlohmann::json;

const std::string kOrigin = appOriginUrl;
constexpr long kCaption = 0x00C00000;

TEST(BrowserSettings, AreAppliedInOrderWithTheLaterInterfacesOnlyWhenOfferedAndF12OpensDevTools) {
    struct Row {
        bool settings3;
        bool settings8;
        bool devTools;
    };
    // F12 in any kind of key event opens the tools; other keys do not.
    const std::pair<const char*, int> keys[] = {{"123", 1}, {"123 key-up", 1},         {"123 system-key-down", 1},
                                                {"122", 0}, {"0x7B system-key-up", 1}, {"124", 0}};
    for (const Row& row : {Row{true, true, true}, Row{true, false, false}, Row{false, true, true}}) {
        SCOPED_TRACE(testing::Message() << "settings3 " << row.settings3 << ", settings8 " << row.settings8);
        auto app = e2e::MakeApp("settings", std::string(R"({"name": "Settings", "settings": {"enable-devtools": )") +
                                                (row.devTools ? "true" : "false") + "}}");
        std::vector<e2e_test::StepCheck> checks;
        for (const auto& [key, f12] : keys) {
            checks.push_back({std::string("accelerator ") + key, row.settings3 && row.devTools ? f12 : 0,
                              "calls:WebView.OpenDevToolsWindow"});
        }
        const e2e::HostRun run = e2e_test::Play(*app, checks,
                                                {std::string("offer settings3 ") + (row.settings3 ? "on" : "off"),
                                                 std::string("offer settings8 ") + (row.settings8 ? "on" : "off")})
                                     .run;

        std::string expected =
            "IsScriptEnabled=true AreHostObjectsAllowed=false AreDefaultScriptDialogsEnabled=true "
            "IsWebMessageEnabled=true IsZoomControlEnabled=false AreDefaultContextMenusEnabled=true "
            "AreDevToolsEnabled=" +
            std::string(row.devTools ? "true" : "false");
        if (row.settings3) expected += " AreBrowserAcceleratorKeysEnabled=false";
        if (row.settings8)
            expected += " IsReputationCheckingRequired=false IsPinchZoomEnabled=false IsSwipeNavigationEnabled=false";
        EXPECT_EQ(e2e::CallValues(run.transcript, "Settings.put_"), expected);

        // The key handler comes after the browser's own keys are switched off and before
        // the Settings8 changes and the first navigation; without Settings3, F12 stays the browser's.
        const long handler = run.transcript.IndexOf("Controller.add_AcceleratorKeyPressed");
        EXPECT_EQ(handler >= 0, row.settings3);
        if (row.settings3) {
            EXPECT_GT(handler, run.transcript.IndexOf("Settings.put_AreBrowserAcceleratorKeysEnabled"));
            EXPECT_LT(handler, run.transcript.IndexOf("WebView.Navigate"));
            if (row.settings8) {
                EXPECT_LT(handler, run.transcript.IndexOf("Settings.put_IsReputationCheckingRequired"));
            }
        }
        EXPECT_EQ(e2e::Values(run.transcript, "step:accelerator", "handlers"),
                  std::vector<json>(6, row.settings3 ? 1 : 0));
        // The key goes on to the page either way.
        EXPECT_EQ(e2e::Values(run.transcript, "step:accelerator", "handled"), std::vector<json>(6, false));
    }
}

TEST(BundleMode, KeepsThePageInItsOriginAndHandsOnlyWebAndMailLinksToTheShell) {
    auto app = e2e::MakeApp("bundle-events", R"({"name": "Guarded", "window": {"title": "Configured"}})");
    // Every scheme below, and a file type, opens with the shell recorder; the shell does
    // start it for the custom scheme and the file, so their absence is the host's doing.
    e2e::ShellLaunches launches(app->Base() / L"launches", {L"http", L"https", L"mailto", L"tessarine-probe"},
                                L".tessprobe", L"tessarine_probe_file");
    ASSERT_TRUE(launches.Ready());
    app->WriteFile("probe.tessprobe", "probe");
    std::string fileUrl = "file:///" + WideToUtf8((app->App() / L"probe.tessprobe").wstring());
    std::replace(fileUrl.begin(), fileUrl.end(), '\\', '/');
    for (const std::string& target : {std::string("tessarine-probe:control"), fileUrl}) {
        ShellExecuteW(nullptr, L"open", Utf8ToWide(target).c_str(), nullptr, nullptr, SW_SHOWDEFAULT);
    }
    ASSERT_EQ(launches.Await(2).size(), 2u);

    // The URL rules themselves are tested in tests/security; these rows show
    // that each rule is applied where it belongs.
    const std::vector<e2e_test::StepCheck> checks = {
        {"navigate " + kOrigin + "deep/page.html?x=1#top", false, "cancel"},
        {"navigate https://tessarine.localhost", true, "cancel"},
        {"navigate https://example.com/" + kOrigin, true, "cancel"},
        {"request GET " + kOrigin + "index.html", 1, "handlers"},
        {"request GET https://example.com/app.js", false, "filtered"},
        // Permissions: 1 allowed, 0 left to the browser, which asks the user.
        {"permission camera " + kOrigin + "index.html", 1, "state"},
        {"permission geolocation HTTPS://Tessarine.LocalHost:443/page", 1, "state"},
        {"permission microphone https://tessarine.localhost@example.com/", 0, "state"},
        {"permission camera http://tessarine.localhost/", 0, "state"},
        // New windows are always handled, so the browser opens none of its own; only web
        // and mail addresses go to the shell.
        {"new-window https://example.com/page?x=1&y=2#z", true, "handled"},
        {"new-window mailto:someone@example.com", true, "handled"},
        // A mail link that names files to attach is handled, and never launched.
        {"new-window mailto:someone@example.com?attach=C:\\Windows\\win.ini", true, "handled"},
        {"new-window mailto:someone@example.com?subject=hi&Attachment=%2E%2E%5Csave.dat", true, "handled"},
        {"new-window HTTP://EXAMPLE.NET/UPPER", true, "handled"},
        {"new-window " + kOrigin + "own-page.html", true, "handled"},
        {"new-window tessarine-probe:from-page", true, "handled"},
        {"new-window " + fileUrl, true, "handled"},
        {"new-window% %20https://example.com/lead", true, "handled"},
        // Opened by a script, not by the user: blocked like a pop-up.
        {"new-window https://example.com/by-script script", true, "handled"},
        // Titles become the window's text.
        {"title Premi\xC3\xA8re page \xE2\x80\x93 1", nullptr, ""},
        {"record-window", "Premi\xC3\xA8re page \xE2\x80\x93 1", "text"},
        {"title", nullptr, ""},
        {"record-window", "", "text"},
        {"title% two%0Alines%20", nullptr, ""},
        {"record-window", "two\nlines ", "text"},
    };
    const e2e_test::Played played = e2e_test::Play(*app, checks);
    EXPECT_EQ(played.run.transcript.Events("WebView.Navigate").size(), 1u);  // a cancelled one goes nowhere else
    EXPECT_EQ(launches.Await(4),
              (std::vector<std::string>{"HTTP://EXAMPLE.NET/UPPER", "https://example.com/page?x=1&y=2#z",
                                        kOrigin + "own-page.html", "mailto:someone@example.com"}));
    // The configured caption stays.
    EXPECT_EQ(e2e::WindowAt(played.run.transcript, played.lines.back()).style & kCaption, kCaption);
}

TEST(RemoteMode, LeavesRequestsAndNavigationToTheBrowserAndTrustsOnlyTheMainUrl) {
    const std::string main = "https://app.example/start/index%20page.html?x=1";
    auto app = e2e::MakeApp("remote",
                            R"({"name": "Remote", "main": ")" + main + R"(", "settings": {"content-mode": "remote"}})");
    const std::string init = R"( {"type":"wrapper-init"})";
    const std::string response = R"({"registeredComponentIds":[],"type":"wrapper-init-response"})";
    const e2e::HostRun run =
        e2e_test::Play(*app,
                       {
                           {"navigate https://elsewhere.example.org/", 0, "handlers"},
                           // Back on the app's page, which alone hears the host.
                           {"navigate " + main, 0, "handlers"},
                           {"request GET " + kOrigin + "index.html", nullptr, "response"},
                           // Messages are heard from pages under the main URL only.
                           {"message " + main + init, json::array({response})},
                           {"message " + main + init, 1, "calls:WebView.PostWebMessageAsJsonWithAdditionalObjects"},
                           {"message " + main + "&mode=kiosk" + init, json::array({response})},
                           {"message https://app.example/start/other.html" + init, json::array()},
                           {"message " + std::string(e2e::kPageUrl) + init, json::array()},
                           // Permissions are for the main URL's origin.
                           {"permission camera https://app.example/other/page.html", 1, "state"},
                           {"permission microphone https://app.example:443/", 1, "state"},
                           {"permission camera https://cdn.app.example/", 0, "state"},
                           {"permission geolocation " + kOrigin, 0, "state"},
                           {"record-window", true, "visible"},
                       })
            .run;
    EXPECT_EQ(e2e::Lookup(run.transcript, "WebView.Navigate.uri"), main);
    for (const char* unused :
         {"WebView.AddWebResourceRequestedFilter#", "WebView.AddWebResourceRequestedFilterWithRequestSourceKinds#",
          "WebView.add_WebResourceRequested#", "WebView.add_NavigationStarting#"}) {
        EXPECT_EQ(e2e::Lookup(run.transcript, unused), 0) << unused;
    }
}

TEST(OlderRuntime, WithoutDocumentEventsTheWindowShowsRightAfterNavigating) {
    auto app = e2e::MakeApp("no-dom-events", R"({"name": "Old Runtime", "window": {"caption": false}})");
    const e2e::HostRun run = e2e_test::Play(*app, {{"record-window", true, "visible"}}, {"offer webview2 off"}).run;
    EXPECT_EQ(e2e::Lookup(run.transcript, "step:record-window.style").get<long>() & kCaption, 0);
    EXPECT_EQ(e2e::Lookup(run.transcript, "step:dom-content-loaded.handlers"), 0);
    // Shown once, after the first navigation: visible controller, focus.
    EXPECT_EQ(run.transcript.Events("Controller.put_IsVisible").size(), 1u);
    EXPECT_GT(run.transcript.IndexOf("Controller.put_IsVisible"), run.transcript.IndexOf("WebView.Navigate"));
    EXPECT_GT(run.transcript.IndexOf("Controller.MoveFocus"), run.transcript.IndexOf("WebView.Navigate"));
}

}  // namespace
