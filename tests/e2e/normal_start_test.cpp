// A normal start: what the host hands the browser runtime, how it brings the window up,
// and how it ends.
#include <gtest/gtest.h>

#include "host_test_support.h"
#include "webview/app_origin.h"

namespace {

using e2e_test::ExpectEnded;
using e2e_test::MakeApp;
using nlohmann::json;

const char kShowAndClose[] = "dom-content-loaded\nclose-window\n";

e2e::HostRun RunScenario(const e2e::AppFolder& app, const std::string& scenario) {
    e2e::HostRunOptions options;
    options.scenario = scenario;
    return RunHost(app, options);
}

// The value the loader read through the host's options object.
json OptionValue(const e2e::HostRun& run, const std::string& property) {
    const json line = run.transcript.First("Options.get_" + property);
    return line.is_null() ? json("(not read)") : line["value"];
}

TEST(NormalStart, LoaderGetsTheConfiguredArgumentsAndEveryOtherOptionAtItsDefault) {
    auto app = MakeApp(R"({"name": "Start Caf\u00e9", "chromium-args": "--disable-gpu --lang=de",
                         "window": {"title": "Start"}})");
    const e2e::HostRun run = RunScenario(*app, kShowAndClose);
    ExpectEnded(run, 0);
    EXPECT_TRUE(run.boxes.empty()) << run.Describe();

    const auto checks = run.transcript.Events("Loader.GetAvailableCoreWebView2BrowserVersionString");
    ASSERT_EQ(checks.size(), 1u) << run.Describe();
    EXPECT_TRUE(checks[0]["browserFolder"].is_null());

    const auto creations = run.transcript.Events("Loader.CreateCoreWebView2EnvironmentWithOptions");
    ASSERT_EQ(creations.size(), 1u) << run.Describe();
    EXPECT_TRUE(creations[0]["browserFolder"].is_null());
    EXPECT_EQ(creations[0]["userDataFolder"], e2e_test::LocalAppDataFolder() + "\\Start Caf\xC3\xA9");
    EXPECT_TRUE(creations[0]["forcedHostingMode"].is_null());
    EXPECT_EQ(creations[0]["options"], true);

    // The loader asks for all eight options interfaces; each must be answered.
    const auto queries = run.transcript.Events("Options.QueryInterface");
    EXPECT_EQ(queries.size(), 8u) << run.Describe();
    for (const auto& query : queries) EXPECT_EQ(query["hr"], "0x00000000") << query.dump();

    EXPECT_EQ(OptionValue(run, "AdditionalBrowserArguments"), "--disable-gpu --lang=de");
    EXPECT_EQ(OptionValue(run, "Language"), json());
    EXPECT_EQ(OptionValue(run, "TargetCompatibleBrowserVersion"), "144.0.3719.77");
    EXPECT_EQ(OptionValue(run, "AllowSingleSignOnUsingOSPrimaryAccount"), false);
    EXPECT_EQ(OptionValue(run, "ExclusiveUserDataFolderAccess"), false);
    EXPECT_EQ(OptionValue(run, "IsCustomCrashReportingEnabled"), false);
    EXPECT_EQ(OptionValue(run, "EnableTrackingPrevention"), true);
    EXPECT_EQ(OptionValue(run, "AreBrowserExtensionsEnabled"), false);
    EXPECT_EQ(OptionValue(run, "ChannelSearchKind"), 0);
    EXPECT_EQ(OptionValue(run, "ReleaseChannels"), 0x1F);
    EXPECT_EQ(OptionValue(run, "ScrollBarStyle"), 0);
    const json schemes = run.transcript.First("Options.GetCustomSchemeRegistrations");
    ASSERT_FALSE(schemes.is_null()) << run.Describe();
    EXPECT_EQ(schemes["count"], 0);

    // Without "chromium-args" the arguments are still set, to an empty string.
    auto bare = MakeApp(R"({"name": "Bare"})");
    const e2e::HostRun bareRun = RunScenario(*bare, kShowAndClose);
    ExpectEnded(bareRun, 0);
    EXPECT_EQ(OptionValue(bareRun, "AdditionalBrowserArguments"), "") << bareRun.Describe();
    const auto bareCreation = bareRun.transcript.First("Loader.CreateCoreWebView2EnvironmentWithOptions");
    ASSERT_FALSE(bareCreation.is_null()) << bareRun.Describe();
    EXPECT_EQ(bareCreation["userDataFolder"], e2e_test::LocalAppDataFolder() + "\\Bare");
}

TEST(NormalStart, FixedModeHandsTheWebview2FolderToTheLoader) {
    auto app = MakeApp(R"({"name": "Fixed", "settings": {"distribution-mode": "fixed"}})");
    const e2e::HostRun run = RunScenario(*app, "runtime evergreen absent\ndom-content-loaded\nclose-window\n");
    ExpectEnded(run, 0);
    EXPECT_TRUE(run.boxes.empty()) << run.Describe();
    const auto check = run.transcript.First("Loader.GetAvailableCoreWebView2BrowserVersionString");
    const auto creation = run.transcript.First("Loader.CreateCoreWebView2EnvironmentWithOptions");
    ASSERT_FALSE(check.is_null() || creation.is_null()) << run.Describe();
    EXPECT_EQ(check["browserFolder"], "webview2");
    EXPECT_EQ(creation["browserFolder"], "webview2");
}

TEST(NormalStart, HostingModeVariableIsSetOnlyForWindowToVisual) {
    struct Case {
        const char* mode;
        json expected;
    };
    const Case cases[] = {
        {"window-to-visual", "COREWEBVIEW2_HOSTING_MODE_WINDOW_TO_VISUAL"},
        {"windowed", json()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        auto app = MakeApp(std::string(R"({"name": "Hosting", "settings": {"hosting-mode": ")") + c.mode + "\"}}");
        const e2e::HostRun run = RunScenario(*app, kShowAndClose);
        ExpectEnded(run, 0);
        const auto creation = run.transcript.First("Loader.CreateCoreWebView2EnvironmentWithOptions");
        ASSERT_FALSE(creation.is_null()) << run.Describe();
        EXPECT_EQ(creation["forcedHostingMode"], c.expected);
    }
}

TEST(NormalStart, ControllerOptionsCarryTheOpaqueBackgroundAndInputProcessing) {
    struct Case {
        const char* packageJson;
        const char* colour;
        bool inputProcessing;
    };
    const Case cases[] = {
        {R"({"name": "Colours"})", "255,0,0,0", true},
        {R"({"name": "Colours", "window": {"background-color": [10, 20, 300]},
           "settings": {"allow-host-input-processing": false}})",
         "255,10,20,44", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.colour);
        auto app = MakeApp(std::string(c.packageJson));
        const e2e::HostRun run = RunScenario(*app, "dom-content-loaded\nrecord-window\nclose-window\n");
        ExpectEnded(run, 0);
        const auto colours = run.transcript.Events("ControllerOptions.put_DefaultBackgroundColor");
        const auto inputs = run.transcript.Events("ControllerOptions.put_AllowHostInputProcessing");
        ASSERT_EQ(colours.size(), 1u) << run.Describe();
        ASSERT_EQ(inputs.size(), 1u) << run.Describe();
        EXPECT_EQ(colours[0]["value"], c.colour);
        EXPECT_EQ(inputs[0]["value"], c.inputProcessing);

        const auto creations = run.transcript.Events("Environment.CreateCoreWebView2ControllerWithOptions");
        ASSERT_EQ(creations.size(), 1u) << run.Describe();
        EXPECT_FALSE(run.transcript.Has("Environment.CreateCoreWebView2Controller")) << run.Describe();
        EXPECT_EQ(creations[0]["options"]["defaultBackgroundColor"], c.colour);
        EXPECT_EQ(creations[0]["options"]["allowHostInputProcessing"], c.inputProcessing);
        const auto window = run.transcript.First("step:record-window");
        ASSERT_FALSE(window.is_null()) << run.Describe();
        EXPECT_EQ(creations[0]["parentWindow"], window["window"]);
    }
}

TEST(NormalStart, OlderRuntimesGetAPlainControllerRequest) {
    struct Case {
        const char* offer;
        const char* creation;
    };
    const Case cases[] = {
        {"offer environment10 off\n", "Environment.CreateCoreWebView2Controller"},
        {"offer controller-options4 off\n", "Environment.CreateCoreWebView2ControllerWithOptions"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.offer);
        auto app = MakeApp(R"({"name": "Older", "window": {"background-color": [1, 2, 3]}})");
        const e2e::HostRun run =
            RunScenario(*app, std::string(c.offer) + "dom-content-loaded\nrecord-window\nclose-window\n");
        ExpectEnded(run, 0);
        EXPECT_TRUE(run.boxes.empty()) << run.Describe();
        EXPECT_EQ(run.transcript.Events("Environment.CreateCoreWebView2Controller").size() +
                      run.transcript.Events("Environment.CreateCoreWebView2ControllerWithOptions").size(),
                  1u)
            << run.Describe();
        EXPECT_TRUE(run.transcript.Has(c.creation)) << run.Describe();
        EXPECT_FALSE(run.transcript.Has("ControllerOptions.put_DefaultBackgroundColor")) << run.Describe();
        EXPECT_FALSE(run.transcript.Has("ControllerOptions.put_AllowHostInputProcessing")) << run.Describe();
        const auto window = run.transcript.First("step:record-window");
        ASSERT_FALSE(window.is_null()) << run.Describe();
        EXPECT_EQ(window["visible"], true);
    }
}

TEST(NormalStart, WindowStaysHiddenUntilTheFirstDocumentThenShowsAndCloses) {
    auto app = MakeApp(R"({"name": "Visible", "main": "app/start.html", "window": {"title": "Visible App"}})");
    const e2e::HostRun run = RunScenario(*app, "record-window\ndom-content-loaded\nrecord-window\nclose-window\n");
    ExpectEnded(run, 0);
    EXPECT_TRUE(run.boxes.empty()) << run.Describe();

    const auto filters = run.transcript.Events("WebView.AddWebResourceRequestedFilterWithRequestSourceKinds");
    ASSERT_EQ(filters.size(), 1u) << run.Describe();
    EXPECT_EQ(filters[0]["uri"], std::string(appOriginUrl) + "*");
    EXPECT_EQ(filters[0]["context"], 0);
    const auto navigations = run.transcript.Events("WebView.Navigate");
    ASSERT_EQ(navigations.size(), 1u) << run.Describe();
    EXPECT_EQ(navigations[0]["uri"], std::string(appOriginUrl) + "app/start.html");

    const auto windows = run.transcript.Events("step:record-window");
    ASSERT_EQ(windows.size(), 2u) << run.Describe();
    EXPECT_EQ(windows[0]["exists"], true);
    EXPECT_EQ(windows[0]["visible"], false);
    EXPECT_EQ(windows[1]["visible"], true);
    EXPECT_EQ(windows[1]["text"], "Visible App");

    // Shown by the first document: while its event is handled (a step's line follows what
    // the host did in it) the browser control is made visible and gets the focus.
    const long before = run.transcript.IndexOf("step:record-window");
    const long loaded = run.transcript.IndexOf("step:dom-content-loaded");
    ASSERT_GE(before, 0) << run.Describe();
    ASSERT_GT(loaded, before) << run.Describe();
    EXPECT_EQ(run.transcript.lines[loaded]["handlers"], 1);
    const long visible = run.transcript.IndexOf("Controller.put_IsVisible", before);
    ASSERT_GE(visible, 0) << run.Describe();
    EXPECT_LT(visible, loaded) << run.Describe();
    EXPECT_EQ(run.transcript.lines[visible]["value"], true);
    const long focus = run.transcript.IndexOf("Controller.MoveFocus", visible);
    ASSERT_GE(focus, 0) << run.Describe();
    EXPECT_LT(focus, loaded) << run.Describe();
    EXPECT_EQ(run.transcript.lines[focus]["reason"], 0);

    // An orderly end lets go of the browser objects.
    EXPECT_TRUE(run.transcript.Has("destroyed:Controller")) << run.Describe();
    EXPECT_TRUE(run.transcript.Has("destroyed:WebView")) << run.Describe();
    EXPECT_TRUE(run.transcript.Has("destroyed:Environment")) << run.Describe();
}

TEST(NormalStart, RemoteContentNavigatesToMainItself) {
    auto app = MakeApp(R"({"name": "Remote", "main": "https://example.com/app/?q=1",
                         "settings": {"content-mode": "remote"}})");
    const e2e::HostRun run = RunScenario(*app, kShowAndClose);
    ExpectEnded(run, 0);
    const auto navigations = run.transcript.Events("WebView.Navigate");
    ASSERT_EQ(navigations.size(), 1u) << run.Describe();
    EXPECT_EQ(navigations[0]["uri"], "https://example.com/app/?q=1");
    EXPECT_FALSE(run.transcript.Has("WebView.AddWebResourceRequestedFilter")) << run.Describe();
}

TEST(NormalStart, ThePageAskingToCloseEndsWithExitCodeZero) {
    auto app = MakeApp(R"({"name": "Closing"})");
    const e2e::HostRun run = RunScenario(*app, "dom-content-loaded\nwindow-close-requested\n");
    ExpectEnded(run, 0);
    EXPECT_TRUE(run.boxes.empty()) << run.Describe();
    const auto request = run.transcript.First("step:window-close-requested");
    ASSERT_FALSE(request.is_null()) << run.Describe();
    EXPECT_EQ(request["handlers"], 1);
}

}  // namespace
