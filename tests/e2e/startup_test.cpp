// Start-up as the user and the browser runtime see it: the message box of every
// failure, what a normal start hands the runtime, and how the window comes and goes.
#include <gtest/gtest.h>

#include "e2e/shell_launches.h"
#include "util/text_convert.h"
#include "host_checks.h"
#include "webview/app_origin.h"
#include "webview/runtime_check.h"

namespace {

using e2e::IconKind;
using e2e_test::ExpectBox;
using e2e_test::ExpectEnded;
using nlohmann::json;

const std::string kOrigin = appOriginUrl;
const char kLoadFailed[] = "Failed to load package.json. Check the file is in the same folder as the app.";
const char kParseFailed[] =
    "Failed to parse package.json. Check the file has valid JSON and that all parameters are correct.";
const char kInstallText[] =
    "This app requires the Microsoft Edge WebView2 runtime. Please download and install it in order to use this "
    "app. When you press OK, the web page where it can be downloaded will open.";
const char kFixedMissing[] =
    "This app is set to \"fixed\" distribution mode, but the WebView2 control failed to initialize. Check there is "
    "a valid fixed distribution of Microsoft Edge WebView2 runtime in the \"webview2\" subfolder.";

std::string LoaderWithout(const std::string& name) {
    return "WebView2Loader.dll does not provide " + name +
           ". Put the WebView2Loader.dll of the WebView2 SDK in the same folder as the app and start it again.";
}

std::string BrowserFailed(const std::string& code) {
    return "The browser control could not be started (error " + code + ").";
}

TEST(Startup, EveryFailureIsToldInABoxAndEndsWithExitCode1) {
    const std::string titled = R"({"name": "Broken", "window": {"title": "Broken App"})";
    const std::string plain = titled + "}";
    struct Row {
        const char* what;
        std::optional<std::string> packageJson;
        std::string loader;  // "stand-in", "none", or a loader of the test program's folder
        const char* scenario;
        const char* caption;
        std::string text;
        IconKind icon;
        int reached;  // 0: the runtime was not looked for, 1: only checked, 2: asked for a browser
    };
    const Row rows[] = {
        {"no package.json", std::nullopt, "stand-in", "", "Tessarine", kLoadFailed, IconKind::Error, 0},
        {"empty package.json", "", "stand-in", "", "Tessarine", kLoadFailed, IconKind::Error, 0},
        {"syntax error", "{\"name\": \"Broken\",\n", "stand-in", "", "Tessarine", kParseFailed, IconKind::Error, 0},
        {"no loader", plain, "none", "", "Tessarine",
         "Could not load WebView2Loader.dll. Put WebView2Loader.dll in the same folder as the app and start it again.",
         IconKind::Error, 0},
        {"loader without environment creation", plain, "e2e_loader_version_only.dll", "", "Tessarine",
         LoaderWithout("CreateCoreWebView2EnvironmentWithOptions"), IconKind::Error, 0},
        {"loader without version query", plain, "e2e_loader_create_only.dll", "", "Tessarine",
         LoaderWithout("GetAvailableCoreWebView2BrowserVersionString"), IconKind::Error, 0},
        {"no runtime", plain, "stand-in", "runtime evergreen absent", "Broken App", kInstallText, IconKind::Warning, 1},
        {"no runtime, configured text",
         titled + R"(, "messages": {"install-webview2-required": "Get the runtime first \u2013 thanks!"}})", "stand-in",
         "runtime evergreen absent", "Broken App", "Get the runtime first \xE2\x80\x93 thanks!", IconKind::Warning, 1},
        // An installed runtime does not count in fixed mode.
        {"no fixed runtime", titled + R"(, "settings": {"distribution-mode": "fixed"}})", "stand-in",
         "runtime fixed absent", "Broken App", kFixedMissing, IconKind::Error, 1},
        {"environment failed", plain, "stand-in", "environment-result 0x80070005", "Tessarine",
         BrowserFailed("0x80070005"), IconKind::Error, 2},
        {"controller failed", plain, "stand-in", "controller-result 0x8007000e", "Tessarine",
         BrowserFailed("0x8007000E"), IconKind::Error, 2},
        // Success without an object is no success.
        {"environment without object", plain, "stand-in", "environment-result S_OK", "Tessarine",
         BrowserFailed("0x80004003"), IconKind::Error, 2},
        {"controller without object", plain, "stand-in", "controller-result S_OK", "Tessarine",
         BrowserFailed("0x80004003"), IconKind::Error, 2},
    };
    // Web addresses open with the shell recorder: only a missing evergreen runtime opens one.
    const e2e::AppFolder recorded("launches");
    e2e::ShellLaunches launches(recorded.Base() / L"launches", {L"http", L"https"}, L".tessprobe", L"tessprobe");
    ASSERT_TRUE(launches.Ready());
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        auto app = e2e::MakeApp(row.what, row.packageJson, row.loader == "stand-in");
        if (row.loader != "stand-in" && row.loader != "none") app->CopyFromRunner(row.loader, "WebView2Loader.dll");
        e2e::HostRunOptions options;
        options.scenario = row.scenario;
        const e2e::HostRun run = RunHost(*app, options);
        ExpectEnded(run, 1);
        ExpectBox(run, row.caption, row.text, row.icon);
        EXPECT_EQ(run.transcript.Has("Loader.GetAvailableCoreWebView2BrowserVersionString"), row.reached >= 1);
        EXPECT_EQ(run.transcript.Has("Loader.CreateCoreWebView2EnvironmentWithOptions"), row.reached >= 2);
        EXPECT_EQ(run.SawWindowClass("Tessarine"), row.reached >= 2) << run.Describe();
        EXPECT_FALSE(run.transcript.Has("WebView.Navigate"));
    }
    const std::string page = WideToUtf8(runtimeDownloadUrl);
    EXPECT_EQ(launches.Await(2), (std::vector<std::string>{page, page}));
}

TEST(Startup, TheRuntimeGetsTheConfiguration) {
    const std::string userData = e2e::LocalAppDataFolder() + "\\";
    struct Row {
        std::string packageJson;
        std::string knobs;
        std::map<std::string, json> expected;  // transcript lookups: "Ev.member" or "Ev#"
    };
    const Row rows[] = {
        {R"({"name": "Start Caf\u00e9", "chromium-args": "--disable-gpu --lang=de"})",
         "",
         {{"Loader.GetAvailableCoreWebView2BrowserVersionString.browserFolder", nullptr},
          {"Loader.CreateCoreWebView2EnvironmentWithOptions.browserFolder", nullptr},
          {"Loader.CreateCoreWebView2EnvironmentWithOptions.userDataFolder", userData + "Start Caf\xC3\xA9"},
          {"Loader.CreateCoreWebView2EnvironmentWithOptions.forcedHostingMode", nullptr},
          {"Loader.CreateCoreWebView2EnvironmentWithOptions.options", true},
          // The options' defaults are the options object's unit tests.
          {"Options.get_AdditionalBrowserArguments.value", "--disable-gpu --lang=de"},
          {"Options.get_TargetCompatibleBrowserVersion.value", "144.0.3719.77"},
          {"Environment.CreateCoreWebView2ControllerWithOptions#", 1},
          {"Environment.CreateCoreWebView2Controller#", 0},
          {"ControllerOptions.put_DefaultBackgroundColor.value", "255,0,0,0"},
          {"ControllerOptions.put_AllowHostInputProcessing.value", true},
          {"WebView.AddWebResourceRequestedFilterWithRequestSourceKinds.uri", kOrigin + "*"},
          {"WebView.AddWebResourceRequestedFilterWithRequestSourceKinds.context", 0},
          {"WebView.Navigate.uri", kOrigin + "index.html"}}},
        // A name that would lead the profile out of the local application data is one folder.
        {R"({"name": "..\\..\\Roaming\\Start*up:CON. ", "main": "app/start.html", "window": {"background-color": [10, 20, 300]},
            "settings": {"distribution-mode": "fixed", "hosting-mode": "window-to-visual",
                         "allow-host-input-processing": false}})",
         "runtime evergreen absent",
         {{"Loader.GetAvailableCoreWebView2BrowserVersionString.browserFolder", "webview2"},
          {"Loader.CreateCoreWebView2EnvironmentWithOptions.userDataFolder", userData + ".._.._Roaming_Start_up_CON"},
          {"Loader.CreateCoreWebView2EnvironmentWithOptions.browserFolder", "webview2"},
          {"Loader.CreateCoreWebView2EnvironmentWithOptions.forcedHostingMode",
           "COREWEBVIEW2_HOSTING_MODE_WINDOW_TO_VISUAL"},
          {"Options.get_AdditionalBrowserArguments.value", ""},
          {"ControllerOptions.put_DefaultBackgroundColor.value", "255,10,20,44"},
          {"ControllerOptions.put_AllowHostInputProcessing.value", false},
          {"WebView.Navigate.uri", kOrigin + "app/start.html"}}},
        // Older runtimes get a plain controller request, or one without the options they lack.
        {R"({"name": "Older"})",
         "offer environment10 off",
         {{"Environment.CreateCoreWebView2Controller#", 1},
          {"Environment.CreateCoreWebView2ControllerWithOptions#", 0},
          {"ControllerOptions.put_DefaultBackgroundColor#", 0},
          {"step:record-window.visible", true}}},
        {R"({"name": "Older"})",
         "offer controller-options4 off",
         {{"Environment.CreateCoreWebView2ControllerWithOptions#", 1},
          {"ControllerOptions.put_DefaultBackgroundColor#", 0},
          {"ControllerOptions.put_AllowHostInputProcessing#", 0},
          {"step:record-window.visible", true}}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.packageJson);
        auto app = e2e::MakeApp("configuration", row.packageJson);
        e2e::HostRunOptions options;
        options.scenario = row.knobs + "\ndom-content-loaded\nrecord-window\nclose-window\n";
        const e2e::HostRun run = RunHost(*app, options);
        ExpectEnded(run, 0);
        ExpectBox(run, "");
        for (const auto& [query, value] : row.expected) EXPECT_EQ(e2e::Lookup(run.transcript, query), value) << query;
    }
}

TEST(Startup, TheWindowShowsWithTheFirstDocumentAndThePageMayCloseIt) {
    auto app = e2e::MakeApp("showing", R"({"name": "Visible"})");
    // The page's request to close ends the run before the usual close. (Hidden before the
    // first document, shown after it: the geometry test's records.)
    const e2e_test::Played played = e2e_test::Play(*app, {{"window-close-requested", 1, "handlers"}});
    const e2e::Transcript& transcript = played.run.transcript;
    // While the first document's event (scenario line 1) is handled, the control is made
    // visible and focused.
    EXPECT_EQ(e2e::StepResult(transcript, 1)["handlers"], 1);
    const auto visible = e2e::CallsDuring(transcript, 1, "Controller.put_IsVisible");
    ASSERT_EQ(visible.size(), 1u) << played.run.Describe();
    EXPECT_EQ(visible[0]["value"], true);
    const auto focus = e2e::CallsDuring(transcript, 1, "Controller.MoveFocus");
    ASSERT_FALSE(focus.empty());
    EXPECT_EQ(focus[0]["reason"], 0);
    // An orderly end lets go of the browser objects.
    for (const char* object : {"destroyed:Controller", "destroyed:WebView", "destroyed:Environment"}) {
        EXPECT_TRUE(transcript.Has(object)) << object;
    }
}

}  // namespace
