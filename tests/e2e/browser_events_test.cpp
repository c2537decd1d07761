// Following the page: the browser settings the host fixes and what it does with the
// browser's events (keys, navigations, permissions, new windows, titles, closing).
#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <thread>

#include <gtest/gtest.h>

#include "e2e/wide_text.h"
#include "host_test_support.h"
#include "shell_class_override.h"
#include "webview/app_origin.h"

namespace {

using e2e_test::ExpectEnded;
using e2e_test::MakeApp;
using nlohmann::json;

const std::string kOrigin = appOriginUrl;
constexpr int64_t kCaptionBits = 0x00C00000;  // WS_CAPTION

e2e::HostRun RunScenario(const e2e::AppFolder& app, const std::string& scenario) {
    e2e::HostRunOptions options;
    options.scenario = scenario;
    options.environment.push_back(e2e_test::NoExternalBrowser());
    return RunHost(app, options);
}

// The lines of the transcript whose "ev" begins with the prefix, as (ev, value).
std::vector<std::pair<std::string, json>> CallsStartingWith(const e2e::Transcript& transcript,
                                                            const std::string& prefix) {
    std::vector<std::pair<std::string, json>> calls;
    for (const auto& line : transcript.lines) {
        const std::string ev = line.value("ev", std::string());
        if (ev.rfind(prefix, 0) == 0) calls.emplace_back(ev, line.value("value", json()));
    }
    return calls;
}

// For each step line named stepEvent: how many `call` lines the host wrote while that
// step ran (the stand-in writes a step's line after the calls it caused).
std::vector<int> CallsPerStep(const e2e::Transcript& transcript, const std::string& stepEvent,
                              const std::string& call) {
    std::vector<int> counts;
    int sinceLastStep = 0;
    for (const auto& line : transcript.lines) {
        const std::string ev = line.value("ev", std::string());
        if (ev == call) ++sinceLastStep;
        if (ev.rfind("step:", 0) == 0) {
            if (ev == stepEvent) counts.push_back(sinceLastStep);
            sinceLastStep = 0;
        }
    }
    return counts;
}

// A member of every step line named stepEvent, in order.
std::vector<json> StepValues(const e2e::Transcript& transcript, const std::string& stepEvent,
                             const std::string& member) {
    std::vector<json> values;
    for (const auto& step : transcript.Events(stepEvent)) values.push_back(step.value(member, json("(missing)")));
    return values;
}

TEST(BrowserSettings, AreAppliedInOrderWithTheLaterInterfacesOnlyWhenOffered) {
    struct Case {
        bool settings3;
        bool settings8;
        const char* devTools;  // the "enable-devtools" member, or nullptr for the default
    };
    const Case cases[] = {
        {true, true, nullptr}, {false, true, "false"}, {true, false, "true"}, {false, false, nullptr}};
    for (const Case& c : cases) {
        const bool devTools = c.devTools == nullptr || std::string(c.devTools) == "true";
        SCOPED_TRACE(std::string("settings3 ") + (c.settings3 ? "on" : "off") + ", settings8 " +
                     (c.settings8 ? "on" : "off") + ", devtools " + (devTools ? "on" : "off"));
        std::string packageJson = R"({"name": "Settings")";
        if (c.devTools) packageJson += std::string(R"(, "settings": {"enable-devtools": )") + c.devTools + "}";
        auto app = MakeApp(packageJson + "}");
        const std::string offers = std::string("offer settings3 ") + (c.settings3 ? "on" : "off") +
                                   "\noffer settings8 " + (c.settings8 ? "on" : "off") + "\n";
        const e2e::HostRun run = RunScenario(*app, offers + "dom-content-loaded\naccelerator 123\nclose-window\n");
        ExpectEnded(run, 0);

        std::vector<std::pair<std::string, json>> expected = {
            {"Settings.put_IsScriptEnabled", true},
            {"Settings.put_AreHostObjectsAllowed", false},
            {"Settings.put_AreDefaultScriptDialogsEnabled", true},
            {"Settings.put_IsWebMessageEnabled", true},
            {"Settings.put_IsZoomControlEnabled", false},
            {"Settings.put_AreDefaultContextMenusEnabled", true},
            {"Settings.put_AreDevToolsEnabled", devTools},
        };
        if (c.settings3) expected.push_back({"Settings.put_AreBrowserAcceleratorKeysEnabled", false});
        if (c.settings8) {
            expected.push_back({"Settings.put_IsReputationCheckingRequired", false});
            expected.push_back({"Settings.put_IsPinchZoomEnabled", false});
            expected.push_back({"Settings.put_IsSwipeNavigationEnabled", false});
        }
        EXPECT_EQ(CallsStartingWith(run.transcript, "Settings.put_"), expected) << run.Describe();

        // The key handler comes with the browser's own keys switched off, before the
        // Settings8 changes and before the first navigation; without Settings3 F12 is the browser's.
        const long keysOff = run.transcript.IndexOf("Settings.put_AreBrowserAcceleratorKeysEnabled");
        const long keyHandler = run.transcript.IndexOf("Controller.add_AcceleratorKeyPressed");
        const long navigate = run.transcript.IndexOf("WebView.Navigate");
        ASSERT_GE(navigate, 0) << run.Describe();
        EXPECT_EQ(run.transcript.Events("Controller.add_AcceleratorKeyPressed").size(), c.settings3 ? 1u : 0u);
        if (c.settings3) {
            EXPECT_GT(keyHandler, keysOff);
            EXPECT_LT(keyHandler, navigate);
            const long reputation = run.transcript.IndexOf("Settings.put_IsReputationCheckingRequired");
            if (c.settings8) {
                EXPECT_LT(keyHandler, reputation);
            }
        }
        const json keyStep = run.transcript.First("step:accelerator");
        ASSERT_FALSE(keyStep.is_null()) << run.Describe();
        EXPECT_EQ(keyStep["handlers"], c.settings3 ? 1 : 0);
        EXPECT_EQ(run.transcript.Events("WebView.OpenDevToolsWindow").size(), c.settings3 && devTools ? 1u : 0u);
    }
}

TEST(DevTools, F12OpensThemOnlyWhenEnabledAndEveryKeyEventCounts) {
    const char* keys =
        "accelerator 123\n"
        "accelerator 123 key-up\n"
        "accelerator 123 system-key-down\n"
        "accelerator 122\n"
        "accelerator 0x7B system-key-up\n"
        "accelerator 124\n";
    for (const bool enabled : {true, false}) {
        SCOPED_TRACE(enabled ? "enabled" : "disabled");
        auto app = MakeApp(std::string(R"({"name": "Keys", "settings": {"enable-devtools": )") +
                           (enabled ? "true" : "false") + "}}");
        const e2e::HostRun run = RunScenario(*app, std::string("dom-content-loaded\n") + keys + "close-window\n");
        ExpectEnded(run, 0);
        const std::vector<int> opened = CallsPerStep(run.transcript, "step:accelerator", "WebView.OpenDevToolsWindow");
        const std::vector<int> expected =
            enabled ? std::vector<int>{1, 1, 1, 0, 1, 0} : std::vector<int>{0, 0, 0, 0, 0, 0};
        EXPECT_EQ(opened, expected) << run.Describe();
        EXPECT_EQ(StepValues(run.transcript, "step:accelerator", "handlers"), std::vector<json>(6, 1));
        // The key goes on to the page either way.
        EXPECT_EQ(StepValues(run.transcript, "step:accelerator", "handled"), std::vector<json>(6, false));
        const json devTools = run.transcript.First("Settings.put_AreDevToolsEnabled");
        ASSERT_FALSE(devTools.is_null()) << run.Describe();
        EXPECT_EQ(devTools["value"], enabled);
    }
}

TEST(BundleMode, ServesOnlyTheAppOriginAndKeepsNavigationInIt) {
    auto app = MakeApp(R"({"name": "Guarded"})");
    struct Navigation {
        std::string uri;
        bool cancelled;
    };
    const Navigation navigations[] = {
        {kOrigin, false},
        {kOrigin + "index.html", false},
        {kOrigin + "deep/page.html?x=1#top", false},
        {"https://tessarine.localhost", true},
        {"https://example.com/", true},
        {"https://tessarine.localhost.example.com/", true},
        {"https://tessarine.localhost@example.com/", true},
        {"http://tessarine.localhost/", true},
        {"HTTPS://TESSARINE.LOCALHOST/", true},
        {"https://example.com/" + kOrigin, true},
        {"about:blank", true},
        {"file:///C:/windows/win.ini", true},
    };
    // The plain filter here; the one with source kinds is the hardening test's.
    std::string scenario = "offer webview22 off\ndom-content-loaded\n";
    for (const auto& navigation : navigations) scenario += "navigate " + navigation.uri + "\n";
    scenario += "request GET " + kOrigin + "index.html\nrequest GET https://example.com/app.js\nclose-window\n";
    const e2e::HostRun run = RunScenario(*app, scenario);
    ExpectEnded(run, 0);

    const auto steps = run.transcript.Events("step:navigate");
    ASSERT_EQ(steps.size(), std::size(navigations)) << run.Describe();
    for (size_t i = 0; i < steps.size(); ++i) {
        SCOPED_TRACE(navigations[i].uri);
        EXPECT_EQ(steps[i]["handlers"], 1);
        EXPECT_EQ(steps[i]["cancel"], navigations[i].cancelled);
    }
    // A cancelled navigation goes nowhere else.
    EXPECT_EQ(run.transcript.Events("WebView.Navigate").size(), 1u) << run.Describe();

    const auto filters = run.transcript.Events("WebView.AddWebResourceRequestedFilter");
    ASSERT_EQ(filters.size(), 1u) << run.Describe();
    EXPECT_EQ(filters[0]["uri"], kOrigin + "*");
    EXPECT_EQ(filters[0]["context"], 0);
    EXPECT_EQ(run.transcript.Events("WebView.add_WebResourceRequested").size(), 1u);
    EXPECT_EQ(run.transcript.Events("WebView.add_NavigationStarting").size(), 1u);
    const auto requests = run.transcript.Events("step:request");
    ASSERT_EQ(requests.size(), 2u) << run.Describe();
    EXPECT_EQ(requests[0]["handlers"], 1);
    EXPECT_EQ(requests[1]["handlers"], 0);
    EXPECT_TRUE(requests[1]["response"].is_null());
}

TEST(RemoteMode, LeavesRequestsAndNavigationToTheBrowserAndStartsAtMainAsWritten) {
    const std::string main = "https://example.com/app/start%20page.html?x=1#top";
    auto app = MakeApp(R"({"name": "Remote", "main": ")" + main + R"(", "settings": {"content-mode": "remote"}})");
    const e2e::HostRun run =
        RunScenario(*app, "dom-content-loaded\nnavigate https://elsewhere.example.org/\nrequest GET " + kOrigin +
                              "index.html\nrequest GET https://example.com/app/app.js\nrecord-window\nclose-window\n");
    ExpectEnded(run, 0);
    const auto navigations = run.transcript.Events("WebView.Navigate");
    ASSERT_EQ(navigations.size(), 1u) << run.Describe();
    EXPECT_EQ(navigations[0]["uri"], main);
    EXPECT_FALSE(run.transcript.Has("WebView.AddWebResourceRequestedFilter")) << run.Describe();
    EXPECT_FALSE(run.transcript.Has("WebView.add_WebResourceRequested")) << run.Describe();
    EXPECT_FALSE(run.transcript.Has("WebView.add_NavigationStarting")) << run.Describe();

    const json navigation = run.transcript.First("step:navigate");
    ASSERT_FALSE(navigation.is_null()) << run.Describe();
    EXPECT_EQ(navigation["handlers"], 0);
    EXPECT_EQ(navigation["cancel"], false);
    for (const auto& request : run.transcript.Events("step:request")) {
        EXPECT_EQ(request["handlers"], 0) << request.dump();
        EXPECT_TRUE(request["response"].is_null()) << request.dump();
    }
    // Everything else is as in bundle mode: the page is shown.
    const json window = run.transcript.First("step:record-window");
    ASSERT_FALSE(window.is_null()) << run.Describe();
    EXPECT_EQ(window["visible"], true);
}

TEST(Permissions, AreGrantedOnlyToTheOriginTheAppComesFrom) {
    struct Request {
        const char* kind;
        std::string uri;
        int state;  // 0 left to the browser, 1 allowed
    };
    struct Case {
        std::string packageJson;
        std::vector<Request> requests;
    };
    const Case cases[] = {
        {R"({"name": "Perms"})",
         {
             {"camera", kOrigin + "index.html", 1},
             {"microphone", kOrigin + "deep/page.html?q=1", 1},
             {"geolocation", "https://tessarine.localhost:443/", 1},
             {"notifications", "HTTPS://Tessarine.LocalHost/page", 1},
             {"clipboard-read", kOrigin, 1},
             {"clipboard-read", "https://tessarine.localhost:8443/", 0},
             {"camera", "http://tessarine.localhost/", 0},
             {"camera", "https://example.com/", 0},
             {"microphone", "https://tessarine.localhost.example.com/", 0},
             {"geolocation", "https://tessarine.localhost@example.com/", 0},
             {"notifications", "https://evil.localhost/", 0},
             {"midi-system-exclusive-messages", "about:blank", 0},
             {"file-read-write", "file:///C:/", 0},
         }},
        {R"({"name": "Perms", "main": "https://example.com/app/start.html?x=1",
           "settings": {"content-mode": "remote"}})",
         {
             {"camera", "https://example.com/other/page.html", 1},
             {"microphone", "https://example.com:443/", 1},
             {"camera", "https://cdn.example.com/", 0},
             {"camera", "http://example.com/", 0},
             {"geolocation", kOrigin, 0},
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.packageJson);
        auto app = MakeApp(c.packageJson);
        std::string scenario = "dom-content-loaded\n";
        for (const auto& request : c.requests)
            scenario += std::string("permission ") + request.kind + " " + request.uri + "\n";
        const e2e::HostRun run = RunScenario(*app, scenario + "close-window\n");
        ExpectEnded(run, 0);
        const auto steps = run.transcript.Events("step:permission");
        ASSERT_EQ(steps.size(), c.requests.size()) << run.Describe();
        for (size_t i = 0; i < steps.size(); ++i) {
            SCOPED_TRACE(std::string(c.requests[i].kind) + " " + c.requests[i].uri);
            EXPECT_EQ(steps[i]["handlers"], 1);
            EXPECT_EQ(steps[i]["state"], c.requests[i].state);
        }
        // Nothing is ever denied outright: the browser asks the user.
        EXPECT_EQ(run.transcript.Events("PermissionRequestedArgs.put_State").size(),
                  static_cast<size_t>(std::count_if(c.requests.begin(), c.requests.end(),
                                                    [](const Request& r) { return r.state == 1; })));
    }
}

// The arguments the shell recorder was started with, one per launch, sorted.
std::vector<std::string> RecordedLaunches(const std::filesystem::path& folder) {
    std::vector<std::string> launches;
    std::error_code ignored;
    for (const auto& entry : std::filesystem::directory_iterator(folder, ignored)) {
        std::ifstream in(entry.path(), std::ios::binary);
        launches.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    std::sort(launches.begin(), launches.end());
    return launches;
}

// Waits until at least `count` launches are recorded, then a little longer for strays.
std::vector<std::string> AwaitLaunches(const std::filesystem::path& folder, size_t count) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (RecordedLaunches(folder).size() < count && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    return RecordedLaunches(folder);
}

std::string FileUrl(const std::filesystem::path& path) {
    std::string url = "file:///" + e2e::NarrowToUtf8(path.wstring());
    std::replace(url.begin(), url.end(), '\\', '/');
    return url;
}

TEST(NewWindows, OnlyWebAndMailAddressesGoToTheShell) {
    auto app = MakeApp(R"({"name": "Popups"})");
    const std::filesystem::path launches = app->Base() / L"launches";
    std::filesystem::create_directories(launches);
    const std::wstring recorder = (e2e::RunnerFolder() / L"e2e_shell_recorder.exe").wstring();
    const std::wstring command = L"\"" + recorder + L"\" \"" + launches.wstring() + L"\" \"%1\"";

    // Every scheme below, and a file type, opens with the recorder for this test.
    e2e_test::ShellClassOverride classes;
    for (const wchar_t* scheme : {L"http", L"https", L"mailto", L"tessarine-probe"}) {
        ASSERT_TRUE(classes.SetOpenCommand(scheme, command));
    }
    ASSERT_TRUE(classes.SetDefault(L".tessprobe", L"tessarine_probe_file"));
    ASSERT_TRUE(classes.SetOpenCommand(L"tessarine_probe_file", command));
    app->WriteFile("probe.tessprobe", "probe");
    const std::string fileUrl = FileUrl(app->App() / L"probe.tessprobe");

    // The shell does start the recorder for the custom scheme and the file URL, so their
    // absence below is the host's doing.
    for (const std::string& target : {std::string("tessarine-probe:control"), fileUrl}) {
        const auto result = reinterpret_cast<INT_PTR>(
            ShellExecuteW(nullptr, L"open", e2e::WidenUtf8(target).c_str(), nullptr, nullptr, SW_SHOWDEFAULT));
        ASSERT_GT(result, 32) << target;
    }
    const std::vector<std::string> controls = AwaitLaunches(launches, 2);
    ASSERT_EQ(controls.size(), 2u);
    std::filesystem::remove_all(launches);
    std::filesystem::create_directories(launches);

    const std::vector<std::string> shellSafe = {
        "https://example.com/page?x=1&y=2#z", "http://example.org/",     "mailto:someone@example.com?subject=Hi",
        "HTTPS://EXAMPLE.NET/UPPER",          kOrigin + "own-page.html",
    };
    const std::vector<std::string> dropped = {
        "tessarine-probe:from-page",
        "tessarine-probe://https://example.com/",
        fileUrl,
        "javascript:alert(1)",
        "ms-settings:display",
        "shell:startup",
        "%20https://example.com/lead",
        // Opened by a script, not by the user: blocked like a pop-up.
        "https://example.com/by-script script",
    };
    std::string scenario = "dom-content-loaded\n";
    for (const auto& uri : dropped) scenario += "new-window% " + uri + "\n";
    for (const auto& uri : shellSafe) scenario += "new-window " + uri + "\n";
    const e2e::HostRun run = RunScenario(*app, scenario + "close-window\n");
    ExpectEnded(run, 0);

    std::vector<std::string> expected = shellSafe;
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(AwaitLaunches(launches, expected.size()), expected) << run.Describe();
    const auto steps = run.transcript.Events("step:new-window");
    ASSERT_EQ(steps.size(), dropped.size() + shellSafe.size()) << run.Describe();
    for (const auto& step : steps) {
        SCOPED_TRACE(step.dump());
        EXPECT_EQ(step["handlers"], 1);
        // Handled either way: the browser opens no window of its own.
        EXPECT_EQ(step["handled"], true);
    }
}

TEST(PageWindow, TitleChangesSetTheWindowTextAndThePageCanCloseTheApp) {
    auto app = MakeApp(R"({"name": "Titles", "window": {"title": "Configured Title"}})");
    const e2e::HostRun run = RunScenario(*app,
                                         "record-window\n"
                                         "dom-content-loaded\n"
                                         "title Premi\xC3\xA8re page \xE2\x80\x93 1\n"
                                         "record-window\n"
                                         "title\n"
                                         "record-window\n"
                                         "title% two%0Alines%20\n"
                                         "record-window\n"
                                         "window-close-requested\n");
    ExpectEnded(run, 0);
    EXPECT_TRUE(run.boxes.empty()) << run.Describe();
    const std::vector<json> texts = StepValues(run.transcript, "step:record-window", "text");
    ASSERT_EQ(texts.size(), 4u) << run.Describe();
    EXPECT_EQ(texts[0], "Configured Title");
    EXPECT_EQ(texts[1], "Premi\xC3\xA8re page \xE2\x80\x93 1");
    EXPECT_EQ(texts[2], "");
    EXPECT_EQ(texts[3], "two\nlines ");
    EXPECT_EQ(StepValues(run.transcript, "step:title", "handlers"), std::vector<json>(3, 1));
    // The caption was configured: it stays.
    const auto windows = run.transcript.Events("step:record-window");
    EXPECT_EQ(windows[1]["style"].get<int64_t>() & kCaptionBits, kCaptionBits);

    // The page asking to close ends the app as the user would: the window goes.
    const json closing = run.transcript.First("step:window-close-requested");
    ASSERT_FALSE(closing.is_null()) << run.Describe();
    EXPECT_EQ(closing["handlers"], 1);
}

int64_t Width(const json& rect) {
    return rect[2].get<int64_t>() - rect[0].get<int64_t>();
}
int64_t Height(const json& rect) {
    return rect[3].get<int64_t>() - rect[1].get<int64_t>();
}

TEST(PageWindow, CaptionIsRemovedOnlyOnceTheFirstDocumentHasLoaded) {
    auto app = MakeApp(R"({"name": "Bare", "window": {"caption": false, "width": 640, "height": 480}})");
    const e2e::HostRun run = RunScenario(*app,
                                         "record-window\n"
                                         "dom-content-loaded\n"
                                         "record-window\n"
                                         "dom-content-loaded\n"
                                         "record-window\n"
                                         "close-window\n");
    ExpectEnded(run, 0);
    const auto windows = run.transcript.Events("step:record-window");
    ASSERT_EQ(windows.size(), 3u) << run.Describe();
    // Hidden, with the caption the system gives every overlapped window.
    EXPECT_EQ(windows[0]["visible"], false);
    EXPECT_EQ(windows[0]["style"].get<int64_t>() & kCaptionBits, kCaptionBits);
    for (size_t i = 1; i < 3; ++i) {
        SCOPED_TRACE(windows[i].dump());
        EXPECT_EQ(windows[i]["visible"], true);
        EXPECT_EQ(windows[i]["style"].get<int64_t>() & kCaptionBits, 0);
        // The frame was recomputed: nothing but client area is left.
        EXPECT_EQ(Width(windows[i]["clientRect"]), Width(windows[i]["windowRect"]));
        EXPECT_EQ(Height(windows[i]["clientRect"]), Height(windows[i]["windowRect"]));
    }
    const long firstLoad = run.transcript.IndexOf("step:dom-content-loaded");
    EXPECT_LT(run.transcript.IndexOf("step:record-window"), firstLoad);
}

TEST(PageWindow, WithoutDomContentLoadedEventsTheWindowShowsRightAfterNavigating) {
    auto app = MakeApp(R"({"name": "Old Runtime", "window": {"caption": false}})");
    const e2e::HostRun run =
        RunScenario(*app, "offer webview2 off\nrecord-window\ndom-content-loaded\nrecord-window\nclose-window\n");
    ExpectEnded(run, 0);
    EXPECT_TRUE(run.boxes.empty()) << run.Describe();
    const auto windows = run.transcript.Events("step:record-window");
    ASSERT_EQ(windows.size(), 2u) << run.Describe();
    for (const auto& window : windows) {
        SCOPED_TRACE(window.dump());
        EXPECT_EQ(window["visible"], true);
        EXPECT_EQ(window["style"].get<int64_t>() & kCaptionBits, 0);
    }
    EXPECT_EQ(run.transcript.First("step:dom-content-loaded")["handlers"], 0);
    // Shown once, right after the first navigation: visible controller, focus.
    const long navigate = run.transcript.IndexOf("WebView.Navigate");
    ASSERT_GE(navigate, 0) << run.Describe();
    EXPECT_EQ(run.transcript.Events("Controller.put_IsVisible").size(), 1u) << run.Describe();
    EXPECT_GT(run.transcript.IndexOf("Controller.put_IsVisible"), navigate);
    EXPECT_GT(run.transcript.IndexOf("Controller.MoveFocus"), navigate);
}

}  // namespace
