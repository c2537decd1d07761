// The extension library between host and page: its calls in order, its messages held
// back until the handshake, the page's messages handed over untouched.
#include <windows.h>
#include <knownfolders.h>

#include <gtest/gtest.h>

#include "host_test_support.h"
#include "page_bridge_support.h"

namespace {

using bridge_e2e::Scenario;
using nlohmann::json;

const char kInitMessage[] = R"({"type":"wrapper-init"})";

// Whitespace, CRLF line ends, a tab and a non-ASCII name: handed over byte for byte.
const char kPackageJson[] =
    "{\r\n\t\"name\":  \"Extension Caf\xC3\xA9\" ,\r\n  \"window\": {\"title\": \"Ext\"}\r\n}\r\n  ";

std::vector<std::string> CallNames(const std::vector<json>& record) {
    std::vector<std::string> names;
    for (const auto& line : record) names.push_back(line.value("call", "?") + "@" + line.value("during", ""));
    return names;
}

TEST(ExtensionBridge, CallsComeInOrderAndMessagesWaitForTheHandshake) {
    auto app = e2e_test::MakeApp(std::string(kPackageJson));
    // Texts with their own spacing: the host must post them exactly as written.
    const std::string fromInit1 = R"({ "type": "from-init", "n": 1 })";
    const std::string fromInit2 = R"({"type":"from-init","n":2})";
    const std::string fromWindow = R"({"type" :"from-window"})";
    bridge_e2e::TestExtension extension(
        *app,
        json{{"componentIds", {"alpha", "beta", "alpha"}},
             {"init", {{"packageJson", true}, {"folderPaths", {"<desktop>"}}, {"post", {fromInit1, fromInit2}}}},
             {"mainWindowCreated", {{"folderPaths", {"<app>"}}, {"post", {fromWindow}}}},
             {"message", {{"packageJson", true}, {"folderPaths", {"<desktop>", "<no-such-folder>"}}, {"echo", true}}}});

    // Spacing and members beyond "type" must reach the library untouched.
    const std::string early = R"({ "type" : "extension-message",  "payload": {"b": 2, "a": 1} })";
    const std::string late = "{\"type\":\"extension-message\",\t\"text\":\"caf\xC3\xA9\" }";
    Scenario scenario;
    scenario.Add("dom-content-loaded");
    const int earlyLine = scenario.Message(early);
    const int firstInit = scenario.Message(kInitMessage);
    const int lateLine = scenario.EscapedMessage("{\"type\":\"extension-message\",%09\"text\":\"caf\xC3\xA9\" }");
    const int secondInit = scenario.Message(kInitMessage);
    scenario.Add("close-window");
    e2e::HostRunOptions options;
    extension.Apply(options);
    const e2e::HostRun run = bridge_e2e::RunScenario(*app, scenario, options);
    e2e_test::ExpectEnded(run, 0);

    const auto record = extension.Record();
    const std::vector<std::string> expectedCalls{"Init@",
                                                 "GetPackageJson@Init",
                                                 "GetFolderPath@Init",
                                                 "PostMessageToPage@Init",
                                                 "PostMessageToPage@Init",
                                                 "OnMainWindowCreated@",
                                                 "GetFolderPath@OnMainWindowCreated",
                                                 "PostMessageToPage@OnMainWindowCreated",
                                                 "OnExtensionMessage@",
                                                 "GetPackageJson@OnExtensionMessage",
                                                 "GetFolderPath@OnExtensionMessage",
                                                 "GetFolderPath@OnExtensionMessage",
                                                 "PostMessageToPage@OnExtensionMessage",
                                                 "OnExtensionMessage@",
                                                 "GetPackageJson@OnExtensionMessage",
                                                 "GetFolderPath@OnExtensionMessage",
                                                 "GetFolderPath@OnExtensionMessage",
                                                 "PostMessageToPage@OnExtensionMessage",
                                                 "Release@"};
    ASSERT_EQ(CallNames(record), expectedCalls) << json(record).dump(1);

    const std::string appFolder = bridge_e2e::AppFolderText(*app);
    const std::string userData = e2e_test::LocalAppDataFolder() + "\\Extension Caf\xC3\xA9";
    EXPECT_EQ(record[0]["appFolder"], appFolder);
    EXPECT_EQ(record[0]["webFolder"], "www\\");
    EXPECT_EQ(record[0]["userDataFolder"], userData);
    EXPECT_EQ(record[0]["hasApp"], true);
    EXPECT_EQ(record[1]["result"], kPackageJson);
    // Nothing is known about folders before the page's first handshake.
    EXPECT_EQ(record[2]["result"], "");
    // The main window exists but is not shown yet.
    EXPECT_EQ(record[5]["isWindow"], true);
    EXPECT_EQ(record[5]["isVisible"], false);
    EXPECT_EQ(record[5]["className"], "Tessarine");
    EXPECT_EQ(record[6]["result"], "");

    EXPECT_EQ(record[8]["text"], early);
    EXPECT_EQ(record[9]["result"], kPackageJson);
    EXPECT_EQ(record[10]["result"], "");
    EXPECT_EQ(record[11]["result"], "");
    const std::string earlyEcho = record[12]["text"];

    EXPECT_EQ(record[13]["text"], late);
    EXPECT_EQ(record[15]["placeholder"], "<desktop>");
    EXPECT_EQ(record[15]["result"], bridge_e2e::KnownFolder(FOLDERID_Desktop));
    EXPECT_NE(record[15]["result"], "");
    EXPECT_EQ(record[16]["result"], "") << "a placeholder the host does not know";
    const std::string lateEcho = record[17]["text"];

    // Queued messages follow the init response, oldest first; later ones go at once.
    EXPECT_TRUE(bridge_e2e::PostsDuring(run.transcript, earlyLine).empty()) << run.Describe();
    const std::string response =
        R"({"registeredComponentIds":["alpha","beta","alpha"],"type":"wrapper-init-response"})";
    EXPECT_EQ(bridge_e2e::PostsDuring(run.transcript, firstInit),
              (std::vector<std::string>{response, fromInit1, fromInit2, fromWindow, earlyEcho}));
    EXPECT_EQ(bridge_e2e::PostsDuring(run.transcript, lateLine), std::vector<std::string>{lateEcho});
    // A second handshake repeats the answer and nothing that was delivered before.
    EXPECT_EQ(
        bridge_e2e::CallsDuring(run.transcript, secondInit, "WebView.PostWebMessageAsJsonWithAdditionalObjects").size(),
        1u);
    EXPECT_EQ(bridge_e2e::PostsDuring(run.transcript, secondInit), std::vector<std::string>{response});
    EXPECT_EQ(bridge_e2e::AllPosts(run.transcript).size(), 7u) << run.Describe();
}

TEST(ExtensionBridge, WithoutAUsableLibraryNothingReachesIt) {
    struct Case {
        const char* label;
        const char* library;  // null: no library at all
        json config;
        std::vector<std::string> calls;  // what the library sees
    };
    const json registering{{"componentIds", {"gamma"}}, {"message", {{"echo", true}}}};
    json failingInit = registering;
    failingInit["initReturnsNull"] = true;
    const std::vector<Case> cases{
        {"no library", nullptr, registering, {}},
        {"library without Release", "OrvantaWithoutRelease.dll", registering, {}},
        {"library without OnExtensionMessage", "OrvantaWithoutMessage.dll", registering, {}},
        // A failed Init leaves the library only its Release.
        {"Init returns null", "Orvanta.dll", failingInit, {"Init@", "Release@"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        auto app = e2e_test::MakeApp(R"({"name": "Unused Extension"})");
        std::unique_ptr<bridge_e2e::TestExtension> extension;
        e2e::HostRunOptions options;
        if (c.library) {
            extension = std::make_unique<bridge_e2e::TestExtension>(*app, c.config, c.library);
            extension->Apply(options);
        }
        Scenario scenario;
        scenario.Add("offer environment14 off");
        scenario.Add("dom-content-loaded");
        const int before = scenario.Message(R"({"type":"extension-message","n":1})");
        const int init = scenario.Message(kInitMessage);
        const int after = scenario.Message(R"({"type":"extension-message","n":2})");
        scenario.Add("close-window");
        const e2e::HostRun run = bridge_e2e::RunScenario(*app, scenario, options);
        e2e_test::ExpectEnded(run, 0);
        EXPECT_TRUE(run.boxes.empty()) << run.Describe();

        EXPECT_TRUE(bridge_e2e::PostsDuring(run.transcript, before).empty()) << run.Describe();
        EXPECT_TRUE(bridge_e2e::PostsDuring(run.transcript, after).empty()) << run.Describe();
        EXPECT_EQ(bridge_e2e::PostsDuring(run.transcript, init),
                  std::vector<std::string>{R"({"registeredComponentIds":[],"type":"wrapper-init-response"})"});
        if (extension) {
            EXPECT_EQ(CallNames(extension->Record()), c.calls) << json(extension->Record()).dump(1);
        }
    }
}

}  // namespace
