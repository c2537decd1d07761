// The app's life as the player sees it: crashed and hung browser processes, a window
// that always shows, a close that lets the page save, the teardown and a second copy.
#include <gtest/gtest.h>

#include <algorithm>

#include "e2e/transcript_trigger.h"
#include "host_checks.h"

namespace {

using e2e::IconKind;
using e2e_test::ExpectBox;
using e2e_test::ExpectEnded;
using nlohmann::json;

const char kInit[] = R"({"type":"wrapper-init"})";
const char kInitAnswer[] = R"({"registeredComponentIds":[],"type":"wrapper-init-response"})";
const char kRestartedAnswer[] = R"({"registeredComponentIds":[],"restarted":true,"type":"wrapper-init-response"})";
const char kCloseHandlingOn[] = R"({"type":"set-close-handling","isEnabled":true})";
const char kCloseAnnounced[] = R"({"type":"window-close-requested"})";
const char kStopped[] =
    "The app stopped working and could not be restarted. It will close now; starting it again may help.";

std::string Message(const std::string& text) {
    return std::string("message ") + e2e::kPageUrl + " " + text;
}

size_t Count(const e2e::HostRun& run, const std::string& ev) {
    return run.transcript.Events(ev).size();
}

TEST(ProcessFailures, TheRendererIsReloadedTheBrowserRecreatedAndOtherProcessesLeftToTheRuntime) {
    auto app = e2e::MakeApp("process-failures", R"({"name": "Crashing"})");
    const e2e::Played played =
        e2e_test::Play(*app, {
                                 {"process-failed frame", 0, "calls:WebView.Reload"},
                                 {"process-failed gpu", 0, "calls:WebView.Reload"},
                                 {"process-failed utility", 0, "calls:WebView.Reload"},
                                 {"process-failed unknown", 0, "calls:WebView.Reload"},
                                 {"process-failed render", 1, "handlers"},
                                 // The restarted page learns so at its handshake, once.
                                 {Message(kInit), json::array({kRestartedAnswer})},
                                 {Message(kInit), json::array({kInitAnswer})},
                                 // The browser's own process: the new one waits for the old one's exit.
                                 {"process-failed browser", 0, "calls:Loader.CreateCoreWebView2EnvironmentWithOptions"},
                                 {"browser-exited failed", 1, "handlers"},
                                 {"wait 300", nullptr, ""},
                                 {Message(kInit), json::array({kRestartedAnswer})},
                                 {"record-window", true, "visible"},
                             });
    const e2e::HostRun& run = played.run;
    EXPECT_EQ(Count(run, "WebView.Reload"), 1u);
    // The same profile and options, and the start page again.
    const auto folders =
        e2e::Values(run.transcript, "Loader.CreateCoreWebView2EnvironmentWithOptions", "userDataFolder");
    ASSERT_EQ(folders.size(), 2u) << run.Describe();
    EXPECT_EQ(folders[0], folders[1]);
    EXPECT_EQ(e2e::Values(run.transcript, "WebView.Navigate", "uri"),
              std::vector<json>(2, json(std::string(e2e::kPageUrl))));
    // The first browser's controller was closed with every handler already removed.
    EXPECT_EQ(e2e::Values(run.transcript, "Controller.Close", "handlersReleased"), std::vector<json>(2, json(0)));
}

TEST(ProcessFailures, AfterThreeRestartsInAMinuteTheAppSaysSoAndEndsWithExitCode1) {
    struct Row {
        const char* what;
        std::vector<std::string> failures;
    };
    const std::string render = "process-failed render";
    const std::string browser = "process-failed browser";
    const Row rows[] = {
        {"renderer", {render, render, render, render}},
        {"mixed", {render, "browser-exited failed", "wait 300", render, "browser-exited failed"}},
        // Without the environment's exit event (a knob holds for the whole run) the process failure
        // alone brings a new browser.
        {"browser", {"offer environment5 off", browser, browser, browser, browser}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        auto app = e2e::MakeApp(std::string("restart-limit-") + row.what,
                                R"({"name": "Doomed", "window": {"title": "Doomed Game"}})");
        std::vector<int> lines;
        std::vector<std::string> steps;
        for (const std::string& failure : row.failures) {
            steps.push_back(failure);
            steps.push_back("wait 100");
        }
        steps.push_back("wait 5000");
        const e2e::HostRun run = e2e::PlaySteps(*app, {}, steps, lines);
        ExpectEnded(run, 1);
        ExpectBox(run, "Doomed Game", kStopped, IconKind::Error);
        const size_t restarts =
            Count(run, "WebView.Reload") + Count(run, "Loader.CreateCoreWebView2EnvironmentWithOptions") - 1;
        EXPECT_EQ(restarts, 3u) << run.Describe();
    }
}

TEST(ProcessFailures, AHungPageMakesTheHostAskFromTheMessageLoop) {
    // OK, the default, keeps waiting and the page talks again; Cancel starts it again.
    for (const int button : {IDOK, IDCANCEL}) {
        SCOPED_TRACE(button);
        auto app = e2e::MakeApp("unresponsive", R"({"name": "Hung", "window": {"title": "Hung Game"}})");
        e2e::HostRunOptions options;
        options.boxButton = button;
        std::vector<int> lines;
        const e2e::HostRun run = e2e::PlaySteps(
            *app, {}, {"process-failed unresponsive", "process-failed unresponsive", "wait 10500", Message(kInit)},
            lines, options);
        ExpectEnded(run, 0);
        ExpectBox(run, "Hung Game",
                  "The app is not responding.\n\nChoose OK to keep waiting for it, or Cancel to restart it.",
                  IconKind::Warning);
        EXPECT_EQ(Count(run, "WebView.Reload"), button == IDOK ? 0u : 1u);
        EXPECT_EQ(e2e::PostsDuring(run.transcript, lines.back()),
                  std::vector<std::string>{button == IDOK ? kInitAnswer : kRestartedAnswer});
    }
}

TEST(Visibility, TheWindowShowsWhenLoadingFailsOrNeverEnds) {
    struct Row {
        const char* what;
        std::vector<std::string> knobs;
        std::vector<std::string> steps;  // before the window is recorded
    };
    const Row rows[] = {
        {"failed first navigation", {}, {"navigation-completed failed"}},
        {"refused navigation", {"navigate-result E_ACCESSDENIED"}, {}},
        {"no answer at all", {}, {"wait 6000"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        auto app = e2e::MakeApp("visible", R"({"name": "Visible"})");
        e2e::Scenario scenario;
        for (const std::string& knob : row.knobs) scenario.Add(knob);
        const int before = scenario.RecordWindow();
        for (const std::string& step : row.steps) scenario.Add(step);
        const int after = scenario.RecordWindow();
        scenario.Add("close-window");
        const e2e::HostRun run = e2e::RunScenario(*app, scenario);
        ExpectEnded(run, 0);
        EXPECT_EQ(e2e::StepResult(run.transcript, before).value("visible", true), !row.knobs.empty());
        EXPECT_EQ(e2e::StepResult(run.transcript, after).value("visible", false), true) << run.Describe();
    }
}

TEST(ResourceFilter, ARefusedSourceKindsFilterFallsBackToThePlainOne) {
    auto app = e2e::MakeApp("filter-fallback", R"({"name": "Fallback"})");
    const e2e::HostRun run = e2e_test::Play(*app, {{std::string("request GET ") + e2e::kPageUrl, 1, "handlers"}},
                                            {"filter-with-kinds-result E_FAIL"})
                                 .run;
    EXPECT_EQ(e2e::Lookup(run.transcript, "WebView.AddWebResourceRequestedFilterWithRequestSourceKinds.hr"),
              "0x80004005");
    EXPECT_EQ(e2e::Lookup(run.transcript, "WebView.AddWebResourceRequestedFilter.uri"),
              "https://tessarine.localhost/*");
}

TEST(Closing, ThePageMaySaveFirstButThePlayerIsNeverTrapped) {
    struct Row {
        const char* what;
        std::string settings;
        std::vector<std::string> steps;  // after the close handling is asked for
        bool announced;
    };
    const std::string closed = Message(R"({"type":"close-window"})");
    const Row rows[] = {
        {"off by default", "", {"close-window", "wait 500"}, false},
        {"closed by the page", "", {"close-window", "wait 200", "record-window", closed, "wait 500"}, true},
        {"closed on the timeout", R"(, "settings": {"close-timeout": 1})", {"close-window", "wait 3000"}, true},
        {"a second close", "", {"close-window", "wait 200", "close-window", "wait 500"}, true},
        {"no waiting", R"(, "settings": {"close-timeout": 0})", {"close-window", "wait 500"}, false},
        {"turned off again",
         "",
         {Message(R"({"type":"set-close-handling","isEnabled":false})"), "close-window", "wait 500"},
         false},
        {"window.close()", "", {"window-close-requested", "wait 500"}, false},
        // A log-off waits while the page saves, as the loop runs inside the session's end.
        {"log-off", "", {"end-session", "wait 200", "record-window", closed, "wait 500"}, true},
        {"log-off on the timeout", R"(, "settings": {"close-timeout": 1})", {"end-session", "wait 3000"}, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        auto app = e2e::MakeApp("closing", R"({"name": "Saving")" + row.settings + "}");
        e2e::Scenario scenario;
        scenario.Add("dom-content-loaded");
        if (std::string(row.what) != "off by default") scenario.Add(Message(kCloseHandlingOn));
        int recorded = 0;
        for (const std::string& step : row.steps) {
            const int line = scenario.Add(step);
            if (step == "record-window") recorded = line;
        }
        const int tail = scenario.RecordWindow();
        const e2e::HostRun run = e2e::RunScenario(*app, scenario);
        ExpectEnded(run, 0);
        ExpectBox(run, "");
        const auto posts = e2e::AllPosts(run.transcript);
        EXPECT_EQ(std::count(posts.begin(), posts.end(), kCloseAnnounced), row.announced ? 1 : 0) << run.Describe();
        // The app closed before the scenario's last step.
        EXPECT_TRUE(e2e::StepResult(run.transcript, tail).is_null());
        // While the page saves, the window is still there.
        if (recorded != 0) {
            EXPECT_EQ(e2e::StepResult(run.transcript, recorded).value("exists", false), true);
        }
    }
}

TEST(Teardown, EveryHandlerIsRemovedAndTheControllerClosedWhileTheWindowExists) {
    auto app = e2e::MakeApp("teardown", R"({"name": "Orderly"})");
    const e2e::HostRun run = e2e_test::Play(*app, {{"record-window", true, "visible"}}).run;
    const e2e::Registrations registrations = e2e::CountRegistrations(run.transcript);
    EXPECT_GT(registrations.added, 10);
    EXPECT_EQ(registrations.open, std::vector<long long>());
    EXPECT_EQ(registrations.unknownRemoved, 0);
    const long closed = run.transcript.IndexOf("Controller.Close");
    ASSERT_GE(closed, 0) << run.Describe();
    EXPECT_GT(closed, registrations.lastRemoved);
    EXPECT_EQ(e2e::Lookup(run.transcript, "Controller.Close.handlersReleased"), 0);
    EXPECT_EQ(e2e::Lookup(run.transcript, "Controller.Close.parentWindowExists"), true);
    EXPECT_EQ(e2e::Lookup(run.transcript, "unload.handlersReleased"), 0);
}

TEST(SingleInstance, ASecondStartBringsTheRunningWindowBackAndEndsWithExitCode0) {
    const std::string package = R"({"name": "Only One", "settings": {"single-instance": true}})";
    // Another folder, the same app: its own scenario and transcript.
    auto app = e2e::MakeApp("single", package);
    auto again = e2e::MakeApp("single-again", package);
    e2e::HostRun second;
    e2e::TranscriptTrigger trigger(*app, e2e::AfterEvents("step:message", 1), [&] {
        e2e::HostRunOptions options;
        options.timeoutMs = 8000;
        second = e2e::RunHost(*again, options);
    });
    std::vector<int> lines;
    const e2e::HostRun first =
        e2e::PlaySteps(*app, {}, {Message(R"({"type":"minimize-window"})"), "wait 6000", "record-window"}, lines);
    ASSERT_TRUE(trigger.Finish());
    ExpectEnded(first, 0);
    EXPECT_EQ(e2e::StepResult(first.transcript, lines.back()).value("minimized", true), false);
    ExpectEnded(second, 0);
    EXPECT_TRUE(second.windowClasses.empty()) << second.Describe();
}

}  // namespace
