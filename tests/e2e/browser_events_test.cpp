// Following the page: the browser settings the host fixes and what it does with the
// browser's events (keys, navigations, permissions, new windows, titles) in either
// content mode.
#include <windows.h>
#include <shellapi.h>

#include <algorithm>

#include <gtest/gtest.h>

#include "e2e/shell_launches.h"
#include "e2e/wide_text.h"
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
    const char* keys[] = {"123", "123 key-up", "123 system-key-down", "122", "0x7B system-key-up", "124"};
    const std::vector<json> f12 = {1, 1, 1, 0, 1, 0};
    for (const Row& row : {Row{true, true, true}, Row{true, false, false}, Row{false, true, true}}) {
        SCOPED_TRACE(testing::Message() << "settings3 " << row.settings3 << ", settings8 " << row.settings8);
        auto app = e2e::MakeApp("settings", std::string(R"({"name": "Settings", "settings": {"enable-devtools": )") +
                                                (row.devTools ? "true" : "false") + "}}");
        e2e::Scenario scenario;
        scenario.Add(std::string("offer settings3 ") + (row.settings3 ? "on" : "off"));
        scenario.Add(std::string("offer settings8 ") + (row.settings8 ? "on" : "off"));
        scenario.Add("dom-content-loaded");
        std::vector<int> keyLines;
        for (const char* key : keys) keyLines.push_back(scenario.Add(std::string("accelerator ") + key));
        scenario.Add("close-window");
        const e2e::HostRun run = e2e::RunScenario(*app, scenario);
        ExpectEnded(run, 0);

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
        std::vector<json> opened;
        for (const int line : keyLines)
            opened.push_back(e2e::CallsDuring(run.transcript, line, "WebView.OpenDevToolsWindow").size());
        EXPECT_EQ(opened, row.settings3 && row.devTools ? f12 : std::vector<json>(6, 0));
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
    std::string fileUrl = "file:///" + e2e::NarrowToUtf8((app->App() / L"probe.tessprobe").wstring());
    std::replace(fileUrl.begin(), fileUrl.end(), '\\', '/');
    for (const std::string& target : {std::string("tessarine-probe:control"), fileUrl}) {
        ShellExecuteW(nullptr, L"open", e2e::WidenUtf8(target).c_str(), nullptr, nullptr, SW_SHOWDEFAULT);
    }
    ASSERT_EQ(launches.Await(2).size(), 2u);

    const std::pair<std::string, bool> navigations[] = {
        // uri, cancelled
        {kOrigin, false},
        {kOrigin + "deep/page.html?x=1#top", false},
        {"https://tessarine.localhost", true},
        {"https://example.com/", true},
        {"https://tessarine.localhost.example.com/", true},
        {"https://tessarine.localhost@example.com/", true},
        {"http://tessarine.localhost/", true},
        {"HTTPS://TESSARINE.LOCALHOST/", true},
        {"https://example.com/" + kOrigin, true},
        {"file:///C:/windows/win.ini", true},
    };
    const std::pair<std::string, int> permissions[] = {
        // uri, state: 0 left to the browser, 1 allowed
        {"camera " + kOrigin + "index.html", 1},
        {"geolocation https://tessarine.localhost:443/", 1},
        {"notifications HTTPS://Tessarine.LocalHost/page", 1},
        {"clipboard-read https://tessarine.localhost:8443/", 0},
        {"camera http://tessarine.localhost/", 0},
        {"microphone https://tessarine.localhost.example.com/", 0},
        {"geolocation https://tessarine.localhost@example.com/", 0},
        {"notifications https://evil.localhost/", 0},
        {"file-read-write file:///C:/", 0},
    };
    const std::vector<std::string> shellSafe = {"https://example.com/page?x=1&y=2#z", "http://example.org/",
                                                "mailto:someone@example.com?subject=Hi", "HTTPS://EXAMPLE.NET/UPPER",
                                                kOrigin + "own-page.html"};
    const std::vector<std::string> dropped = {"tessarine-probe:from-page",
                                              "tessarine-probe://https://example.com/",
                                              fileUrl,
                                              "javascript:alert(1)",
                                              "ms-settings:display",
                                              "%20https://example.com/lead"};
    e2e::Scenario scenario;
    scenario.Add("dom-content-loaded");
    for (const auto& [uri, cancelled] : navigations) scenario.Add("navigate " + uri);
    const int own = scenario.Add("request GET " + kOrigin + "index.html");
    const int foreign = scenario.Add("request GET https://example.com/app.js");
    for (const auto& [request, state] : permissions) scenario.Add("permission " + request);
    for (const auto& uri : dropped) scenario.Add("new-window% " + uri);
    for (const auto& uri : shellSafe) scenario.Add("new-window " + uri);
    // Titles become the window's text; the configured caption stays.
    const std::vector<std::string> titles = {"Premi\xC3\xA8re page \xE2\x80\x93 1", "", "two\nlines "};
    std::vector<int> titled;
    for (const char* title : {"title Premi\xC3\xA8re page \xE2\x80\x93 1", "title", "title% two%0Alines%20"}) {
        scenario.Add(title);
        titled.push_back(scenario.RecordWindow());
    }
    scenario.Add("close-window");
    const e2e::HostRun run = e2e::RunScenario(*app, scenario);
    ExpectEnded(run, 0);

    const auto steps = run.transcript.Events("step:navigate");
    ASSERT_EQ(steps.size(), std::size(navigations)) << run.Describe();
    for (size_t i = 0; i < steps.size(); ++i)
        EXPECT_EQ(steps[i]["cancel"], navigations[i].second) << navigations[i].first;
    EXPECT_EQ(run.transcript.Events("WebView.Navigate").size(), 1u);  // a cancelled one goes nowhere else
    EXPECT_EQ(e2e::StepResult(run.transcript, own)["handlers"], 1);
    EXPECT_EQ(e2e::StepResult(run.transcript, foreign)["filtered"], false);

    const auto granted = run.transcript.Events("step:permission");
    ASSERT_EQ(granted.size(), std::size(permissions)) << run.Describe();
    for (size_t i = 0; i < granted.size(); ++i)
        EXPECT_EQ(granted[i]["state"], permissions[i].second) << permissions[i].first;

    std::vector<std::string> expectedLaunches = shellSafe;
    std::sort(expectedLaunches.begin(), expectedLaunches.end());
    EXPECT_EQ(launches.Await(expectedLaunches.size()), expectedLaunches);
    // Handled either way: the browser opens no window of its own.
    EXPECT_EQ(e2e::Values(run.transcript, "step:new-window", "handled"),
              std::vector<json>(dropped.size() + shellSafe.size(), true));

    for (size_t i = 0; i < titles.size(); ++i) {
        const auto window = e2e::WindowAt(run.transcript, titled[i]);
        EXPECT_EQ(window.text, titles[i]);
        EXPECT_EQ(window.style & kCaption, kCaption);
    }
}

TEST(RemoteMode, LeavesRequestsAndNavigationToTheBrowserAndTrustsOnlyTheMainUrl) {
    const std::string main = "https://app.example/start/index%20page.html?x=1";
    auto app = e2e::MakeApp("remote",
                            R"({"name": "Remote", "main": ")" + main + R"(", "settings": {"content-mode": "remote"}})");
    const std::pair<std::string, bool> senders[] = {
        {main, true},
        {main + "&mode=kiosk", true},
        {"https://app.example/start/other.html", false},
        {"https://app.example/", false},
        {e2e::kPageUrl, false},
    };
    const std::pair<std::string, int> permissions[] = {
        {"camera https://app.example/other/page.html", 1},
        {"microphone https://app.example:443/", 1},
        {"camera https://cdn.app.example/", 0},
        {"camera http://app.example/", 0},
        {"geolocation " + kOrigin, 0},
    };
    e2e::Scenario scenario;
    scenario.Add("dom-content-loaded");
    const int navigation = scenario.Add("navigate https://elsewhere.example.org/");
    const int request = scenario.Add("request GET " + kOrigin + "index.html");
    std::vector<int> messages;
    for (const auto& [source, heard] : senders)
        messages.push_back(scenario.Message(R"({"type":"wrapper-init"})", source));
    for (const auto& [asked, state] : permissions) scenario.Add("permission " + asked);
    const int window = scenario.RecordWindow();
    scenario.Add("close-window");
    const e2e::HostRun run = e2e::RunScenario(*app, scenario);
    ExpectEnded(run, 0);

    EXPECT_EQ(e2e::Lookup(run.transcript, "WebView.Navigate.uri"), main);
    for (const char* unused : {"WebView.AddWebResourceRequestedFilter#", "WebView.add_WebResourceRequested#",
                               "WebView.add_NavigationStarting#"}) {
        EXPECT_EQ(e2e::Lookup(run.transcript, unused), 0) << unused;
    }
    EXPECT_EQ(e2e::StepResult(run.transcript, navigation)["cancel"], false);
    EXPECT_TRUE(e2e::StepResult(run.transcript, request)["response"].is_null());
    for (size_t i = 0; i < messages.size(); ++i) {
        EXPECT_EQ(e2e::PostsDuring(run.transcript, messages[i]).size(), senders[i].second ? 1u : 0u)
            << senders[i].first;
    }
    const auto granted = run.transcript.Events("step:permission");
    ASSERT_EQ(granted.size(), std::size(permissions)) << run.Describe();
    for (size_t i = 0; i < granted.size(); ++i)
        EXPECT_EQ(granted[i]["state"], permissions[i].second) << permissions[i].first;
    EXPECT_TRUE(e2e::WindowAt(run.transcript, window).visible);
}

TEST(OlderRuntime, WithoutDocumentEventsTheWindowShowsRightAfterNavigating) {
    auto app = e2e::MakeApp("no-dom-events", R"({"name": "Old Runtime", "window": {"caption": false}})");
    e2e::Scenario scenario;
    scenario.Add("offer webview2 off");
    const int first = scenario.RecordWindow();
    const int loaded = scenario.Add("dom-content-loaded");
    scenario.Add("close-window");
    const e2e::HostRun run = e2e::RunScenario(*app, scenario);
    ExpectEnded(run, 0);
    const auto window = e2e::WindowAt(run.transcript, first);
    EXPECT_TRUE(window.visible) << run.Describe();
    EXPECT_EQ(window.style & kCaption, 0);
    EXPECT_EQ(e2e::StepResult(run.transcript, loaded)["handlers"], 0);
    // Shown once, after the first navigation: visible controller, focus.
    EXPECT_EQ(run.transcript.Events("Controller.put_IsVisible").size(), 1u);
    EXPECT_GT(run.transcript.IndexOf("Controller.put_IsVisible"), run.transcript.IndexOf("WebView.Navigate"));
    EXPECT_GT(run.transcript.IndexOf("Controller.MoveFocus"), run.transcript.IndexOf("WebView.Navigate"));
}

}  // namespace
