// Start-up failures: each one is told in a box and ends the host with exit code 1
// before any browser or window exists.
#include <gtest/gtest.h>

#include "host_test_support.h"

namespace {

using e2e::IconKind;
using e2e_test::ExpectEnded;
using e2e_test::ExpectNoBrowserAndNoWindow;
using e2e_test::ExpectOnlyBox;
using e2e_test::MakeApp;

const char kLoadFailed[] = "Failed to load package.json. Check the file is in the same folder as the app.";
const char kParseFailed[] =
    "Failed to parse package.json. Check the file has valid JSON and that all parameters are correct.";
const char kDefaultInstallText[] =
    "This app requires the Microsoft Edge WebView2 runtime. Please download and install it in order to use this "
    "app. When you press OK, the web page where it can be downloaded will open.";
const char kFixedRuntimeMissing[] =
    "This app is set to \"fixed\" distribution mode, but the WebView2 control failed to initialize. Check there is "
    "a valid fixed distribution of Microsoft Edge WebView2 runtime in the \"webview2\" subfolder.";

std::string LoaderWithout(const std::string& exportName) {
    return "WebView2Loader.dll does not provide " + exportName +
           ". Put the WebView2Loader.dll of the WebView2 SDK in the same folder as the app and start it again.";
}

std::string BrowserFailed(const std::string& code) {
    return "The browser control could not be started (error " + code + ").";
}

TEST(StartupFailure, UnusablePackageJsonIsReportedAndEndsTheHost) {
    struct Case {
        const char* what;
        std::optional<std::string> packageJson;
        const char* text;
    };
    const Case cases[] = {
        {"no file", std::nullopt, kLoadFailed},
        {"empty file", std::string(), kLoadFailed},
        {"syntax error", std::string("{\"name\": \"Broken\",\n  \"window\": {\"title\": \"x\"}\n"), kParseFailed},
        {"comment", std::string("{\"name\": \"Commented\" // no comments in JSON\n}"), kParseFailed},
        {"empty name", std::string("{\"name\": \"\", \"window\": {\"title\": \"Nameless\"}}"), kParseFailed},
        {"bad content mode", std::string("{\"name\": \"Modes\", \"settings\": {\"content-mode\": \"Bundle\"}}"),
         kParseFailed},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto app = MakeApp(c.packageJson);
        const e2e::HostRun run = RunHost(*app);
        ExpectEnded(run, 1);
        ExpectOnlyBox(run, "Tessarine", c.text, IconKind::Error);
        ExpectNoBrowserAndNoWindow(run);
        // The configuration is checked before the runtime is looked for.
        EXPECT_FALSE(run.transcript.Has("Loader.GetAvailableCoreWebView2BrowserVersionString")) << run.Describe();
    }
}

TEST(StartupFailure, MissingEvergreenRuntimeShowsTheInstallTextUnderTheTitle) {
    struct Case {
        const char* what;
        std::string packageJson;
        std::string text;
    };
    const Case cases[] = {
        {"default text", R"({"name": "Evergreen", "window": {"title": "Evergreen App"}})", kDefaultInstallText},
        {"configured text",
         R"({"name": "Evergreen", "window": {"title": "Evergreen App"},
           "messages": {"install-webview2-required": "Get the runtime first, then try again \u2013 thanks!"}})",
         "Get the runtime first, then try again \xE2\x80\x93 thanks!"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto app = MakeApp(c.packageJson);
        e2e::HostRunOptions options;
        options.scenario = "runtime evergreen absent\n";
        options.environment.push_back(e2e_test::NoExternalBrowser());
        const e2e::HostRun run = RunHost(*app, options);
        ExpectEnded(run, 1);
        ExpectOnlyBox(run, "Evergreen App", c.text, IconKind::Warning);
        ExpectNoBrowserAndNoWindow(run);
        const auto check = run.transcript.First("Loader.GetAvailableCoreWebView2BrowserVersionString");
        ASSERT_FALSE(check.is_null()) << run.Describe();
        EXPECT_TRUE(check["browserFolder"].is_null());
    }
}

TEST(StartupFailure, MissingFixedRuntimeShowsTheFixedModeError) {
    auto app = MakeApp(R"({"name": "Fixed", "window": {"title": "Fixed App"},
                         "settings": {"distribution-mode": "fixed"}})");
    e2e::HostRunOptions options;
    // An installed runtime must not count in fixed mode.
    options.scenario = "runtime fixed absent\nruntime evergreen present\n";
    options.environment.push_back(e2e_test::NoExternalBrowser());
    const e2e::HostRun run = RunHost(*app, options);
    ExpectEnded(run, 1);
    ExpectOnlyBox(run, "Fixed App", kFixedRuntimeMissing, IconKind::Error);
    ExpectNoBrowserAndNoWindow(run);
    const auto checks = run.transcript.Events("Loader.GetAvailableCoreWebView2BrowserVersionString");
    ASSERT_EQ(checks.size(), 1u) << run.Describe();
    EXPECT_EQ(checks[0]["browserFolder"], "webview2");
}

TEST(StartupFailure, MissingOrIncompleteLoaderIsNamed) {
    const std::string packageJson = R"({"name": "Loaderless", "window": {"title": "Loaderless App"}})";
    {
        SCOPED_TRACE("no loader");
        auto app = MakeApp(packageJson, false);
        const e2e::HostRun run = RunHost(*app);
        ExpectEnded(run, 1);
        ExpectOnlyBox(
            run, "Tessarine",
            "Could not load WebView2Loader.dll. Put WebView2Loader.dll in the same folder as the app and start "
            "it again.",
            IconKind::Error);
        EXPECT_FALSE(run.SawWindowClass("Tessarine")) << run.Describe();
    }
    struct Case {
        const char* library;
        const char* missing;
    };
    const Case cases[] = {
        {"e2e_loader_version_only.dll", "CreateCoreWebView2EnvironmentWithOptions"},
        {"e2e_loader_create_only.dll", "GetAvailableCoreWebView2BrowserVersionString"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.library);
        auto app = MakeApp(packageJson, false);
        app->CopyFromRunner(c.library, "WebView2Loader.dll");
        const e2e::HostRun run = RunHost(*app);
        ExpectEnded(run, 1);
        ExpectOnlyBox(run, "Tessarine", LoaderWithout(c.missing), IconKind::Error);
        EXPECT_FALSE(run.SawWindowClass("Tessarine")) << run.Describe();
    }
}

TEST(StartupFailure, BrowserControlThatCannotStartIsReportedWithItsCode) {
    struct Case {
        const char* scenario;
        const char* code;
    };
    const Case cases[] = {
        {"environment-result 0x80070005\n", "0x80070005"},
        {"controller-result E_FAIL\n", "0x80004005"},
        {"controller-result 0x8007000e\n", "0x8007000E"},
        // Success without an object is no success.
        {"environment-result S_OK\n", "0x80004003"},
        {"controller-result S_OK\n", "0x80004003"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.scenario);
        auto app = MakeApp(R"({"name": "Brittle", "window": {"title": "Brittle App"}})");
        e2e::HostRunOptions options;
        options.scenario = c.scenario;
        const e2e::HostRun run = RunHost(*app, options);
        ExpectEnded(run, 1);
        ExpectOnlyBox(run, "Tessarine", BrowserFailed(c.code), IconKind::Error);
        EXPECT_FALSE(run.transcript.Has("WebView.Navigate")) << run.Describe();
    }
}

}  // namespace
