// Page messages: who may send them, how their members are read and how their types
// are matched.
#include <gtest/gtest.h>

#include "host_test_support.h"
#include "page_bridge_support.h"

namespace {

using bridge_e2e::Scenario;
using nlohmann::json;

const char kInitMessage[] = R"({"type":"wrapper-init"})";
const char kEmptyInitResponse[] = R"({"registeredComponentIds":[],"type":"wrapper-init-response"})";

struct Sender {
    std::string source;
    bool heard;
};

// Sends the handshake from each source; a heard one is answered, any other is not.
void ExpectHeardOnlyFrom(const std::string& packageJson, const std::vector<Sender>& senders) {
    auto app = e2e_test::MakeApp(packageJson);
    Scenario scenario;
    scenario.Add("offer environment14 off");
    scenario.Add("dom-content-loaded");
    std::vector<int> lines;
    for (const Sender& sender : senders) {
        // A NUL as the whole source stands for a page without a URL.
        lines.push_back(sender.source.empty() ? scenario.EscapedMessage(kInitMessage, "%00")
                                              : scenario.Message(kInitMessage, sender.source));
    }
    scenario.Add("close-window");
    const e2e::HostRun run = bridge_e2e::RunScenario(*app, scenario);
    e2e_test::ExpectEnded(run, 0);
    for (size_t i = 0; i < senders.size(); ++i) {
        const auto expected =
            senders[i].heard ? std::vector<std::string>{kEmptyInitResponse} : std::vector<std::string>{};
        EXPECT_EQ(bridge_e2e::PostsDuring(run.transcript, lines[i]), expected)
            << "source \"" << senders[i].source << "\"";
    }
}

TEST(PageMessages, OnlyPagesOfTheAppOriginAreHeard) {
    ExpectHeardOnlyFrom(R"({"name": "Senders"})", {
                                                      {"https://tessarine.localhost/index.html", true},
                                                      {"https://tessarine.localhost/deep/page.html?q=1#top", true},
                                                      {"https://example.com/index.html", false},
                                                      {"https://tessarine.localhost.evil/index.html", false},
                                                      {"https://tessarine.localhost.evil/", false},
                                                      {"http://tessarine.localhost/index.html", false},
                                                      {"https://tessarine.localhost", false},
                                                      {"https://evil.example/https://tessarine.localhost/", false},
                                                      {"HTTPS://TESSARINE.LOCALHOST/index.html", false},
                                                      {"", false},
                                                  });
}

TEST(PageMessages, RemoteModeHearsOnlyPagesUnderTheMainUrl) {
    ExpectHeardOnlyFrom(
        R"({"name": "Remote", "main": "https://app.example/start/index.html", "settings": {"content-mode": "remote"}})",
        {
            {"https://app.example/start/index.html", true},
            {"https://app.example/start/index.html?mode=kiosk", true},
            {"https://app.example/start/other.html", false},
            {"https://app.example/start/index.htm", false},
            {"https://app.example/", false},
            {"https://tessarine.localhost/index.html", false},
        });
}

TEST(PageMessages, MessagesThatAreNotStringsAreIgnored) {
    auto app = e2e_test::MakeApp(R"({"name": "Not Strings"})");
    Scenario scenario;
    scenario.Add("offer environment14 off");
    scenario.Add("dom-content-loaded");
    const int object = scenario.Add(std::string("message-json ") + bridge_e2e::kPageUrl + " " + kInitMessage);
    const int literal =
        scenario.Add(std::string("message-json ") + bridge_e2e::kPageUrl + R"( "{\"type\":\"wrapper-init\"}")");
    const int text = scenario.Message(kInitMessage);
    scenario.Add("close-window");
    const e2e::HostRun run = bridge_e2e::RunScenario(*app, scenario);
    e2e_test::ExpectEnded(run, 0);
    EXPECT_TRUE(bridge_e2e::PostsDuring(run.transcript, object).empty()) << run.Describe();
    EXPECT_TRUE(bridge_e2e::PostsDuring(run.transcript, literal).empty()) << run.Describe();
    EXPECT_EQ(bridge_e2e::PostsDuring(run.transcript, text), std::vector<std::string>{kEmptyInitResponse});
}

TEST(Dpi96, MembersOfTheWrongKindTakeTheirDefaults) {
    ASSERT_EQ(e2e_test::SystemDpi(), 96) << "this suite expects a 96-DPI prefix";
    auto app = e2e_test::MakeApp(R"({"name": "Member Kinds", "window": {"width": 1024, "height": 768}})");
    Scenario scenario;
    scenario.Add("dom-content-loaded");
    const int start = scenario.RecordWindow();
    // A string, a missing member, a boolean and a float too large: width or height 0 or
    // less, so nothing happens.
    scenario.Message(R"({"type":"set-window-size","windowWidth":"800","windowHeight":"600"})");
    scenario.Message(R"({"type":"set-window-size","windowWidth":800})");
    scenario.Message(R"({"type":"set-window-size","windowWidth":true,"windowHeight":600})");
    scenario.Message(R"({"type":"set-window-size","windowWidth":1e10,"windowHeight":600})");
    const int unchanged = scenario.RecordWindow();
    // Floats are cut toward zero.
    scenario.Message(R"({"type":"set-window-size","windowWidth":800.9,"windowHeight":600.99})");
    const int truncated = scenario.RecordWindow();
    // Integers keep their low 32 bits: 2^32 + 700.
    scenario.Message(R"({"type":"set-window-size","windowWidth":4294967996,"windowHeight":500})");
    const int wrapped = scenario.RecordWindow();
    // A string coordinate is 0.
    scenario.Message(R"({"type":"set-window-position","windowX":"100","windowY":50})");
    const int moved = scenario.RecordWindow();
    // A non-boolean flag is false: leaving fullscreen while windowed does nothing ...
    scenario.Message(R"({"type":"set-fullscreen","fullscreen":"true"})");
    const int stillWindowed = scenario.RecordWindow();
    scenario.Message(R"({"type":"set-fullscreen","fullscreen":true})");
    const int fullscreen = scenario.RecordWindow();
    // ... and 1 takes the window out of fullscreen.
    scenario.Message(R"({"type":"set-fullscreen","fullscreen":1})");
    const int left = scenario.RecordWindow();
    // A non-boolean "isEnabled" asks for the lock to be off, which it is: no answer.
    const int lock = scenario.Message(R"({"type":"set-pointer-lock-enabled","isEnabled":1})");
    // Messages that are not objects, or whose type is not a string, have no type.
    std::vector<int> typeless;
    for (const char* text : {R"(["wrapper-init"])", R"("wrapper-init")", R"({"type":["wrapper-init"]})",
                             R"({"type":null})", R"({"Type":"wrapper-init"})", R"({"type":{"type":"wrapper-init"}})"}) {
        typeless.push_back(scenario.Message(text));
    }
    scenario.Add("close-window");
    const e2e::HostRun run = bridge_e2e::RunScenario(*app, scenario);
    e2e_test::ExpectEnded(run, 0);

    const auto before = bridge_e2e::WindowAt(run.transcript, start);
    ASSERT_TRUE(before.found) << run.Describe();
    EXPECT_EQ(before.clientWidth, 1024);
    EXPECT_EQ(before.clientHeight, 768);
    const auto same = bridge_e2e::WindowAt(run.transcript, unchanged);
    EXPECT_TRUE(bridge_e2e::SameRect(same.windowRect, before.windowRect)) << bridge_e2e::RectText(same.windowRect);
    const auto cut = bridge_e2e::WindowAt(run.transcript, truncated);
    EXPECT_EQ(cut.clientWidth, 800);
    EXPECT_EQ(cut.clientHeight, 600);
    const auto low = bridge_e2e::WindowAt(run.transcript, wrapped);
    EXPECT_EQ(low.clientWidth, 700);
    EXPECT_EQ(low.clientHeight, 500);
    const auto corner = bridge_e2e::WindowAt(run.transcript, moved);
    EXPECT_EQ(corner.windowRect.left, 0);
    EXPECT_EQ(corner.windowRect.top, 50);

    const auto windowed = bridge_e2e::WindowAt(run.transcript, stillWindowed);
    EXPECT_TRUE(bridge_e2e::SameRect(windowed.windowRect, corner.windowRect));
    EXPECT_EQ(windowed.style, corner.style);
    const auto full = bridge_e2e::WindowAt(run.transcript, fullscreen);
    EXPECT_TRUE(bridge_e2e::SameRect(full.windowRect, bridge_e2e::PrimaryMonitorRect()))
        << bridge_e2e::RectText(full.windowRect);
    const auto back = bridge_e2e::WindowAt(run.transcript, left);
    EXPECT_TRUE(bridge_e2e::SameRect(back.windowRect, corner.windowRect)) << bridge_e2e::RectText(back.windowRect);
    EXPECT_EQ(back.style, corner.style);

    EXPECT_TRUE(bridge_e2e::PostsDuring(run.transcript, lock).empty()) << run.Describe();
    for (const int line : typeless) {
        EXPECT_TRUE(bridge_e2e::PostsDuring(run.transcript, line).empty()) << "scenario line " << line;
        EXPECT_TRUE(
            bridge_e2e::CallsDuring(run.transcript, line, "WebView.PostWebMessageAsJsonWithAdditionalObjects").empty());
    }
}

TEST(PageMessages, TypesMatchOnlyWholeAndInTheirCase) {
    auto app = e2e_test::MakeApp(R"({"name": "Near Misses"})");
    bridge_e2e::TestExtension extension(*app, json::object());
    Scenario scenario;
    scenario.Add("offer environment14 off");
    scenario.Add("dom-content-loaded");
    std::vector<int> misses;
    for (const char* type :
         {"Wrapper-Init", "WRAPPER-INIT", "wrapper-init ", " wrapper-init", "wrapper_init", "wrapper-initialize",
          "wrapper-ini", R"(wrapper-init\n)", R"(wrapper-init\u0000)", "extension-message ", "Extension-Message",
          "maximize-window ", "Maximize-Window", "set-pointer-lock-enabled "}) {
        misses.push_back(scenario.Message(std::string(R"({"type":")") + type + R"(","isEnabled":true})"));
    }
    const int state = scenario.RecordWindow();
    const int exact = scenario.Message(kInitMessage);
    scenario.Add("close-window");
    e2e::HostRunOptions options;
    extension.Apply(options);
    const e2e::HostRun run = bridge_e2e::RunScenario(*app, scenario, options);
    e2e_test::ExpectEnded(run, 0);

    for (const int line : misses) {
        EXPECT_TRUE(bridge_e2e::PostsDuring(run.transcript, line).empty()) << "scenario line " << line;
    }
    EXPECT_TRUE(extension.Calls("OnExtensionMessage").empty());
    const auto window = bridge_e2e::WindowAt(run.transcript, state);
    ASSERT_TRUE(window.found) << run.Describe();
    EXPECT_FALSE(window.maximized);
    EXPECT_EQ(bridge_e2e::PostsDuring(run.transcript, exact), std::vector<std::string>{kEmptyInitResponse});
}

}  // namespace
