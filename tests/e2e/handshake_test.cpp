// The page's start-up handshake: directory handles for the thirteen folders, then the
// init response, each time the page asks.
#include <windows.h>
#include <knownfolders.h>

#include <gtest/gtest.h>

#include "host_test_support.h"
#include "page_bridge_support.h"

namespace {

using bridge_e2e::Scenario;
using nlohmann::json;

const char kInitMessage[] = R"({"type":"wrapper-init"})";
const char kEmptyInitResponse[] = R"({"registeredComponentIds":[],"type":"wrapper-init-response"})";

// The thirteen slots the page should get, in order: a handle for each folder that exists.
json ExpectedHandles(const e2e::AppFolder& app, const std::string& appName) {
    const std::string appFolder = bridge_e2e::AppFolderText(app);
    std::vector<std::string> paths{appFolder, appFolder + "www\\", e2e_test::LocalAppDataFolder() + "\\" + appName};
    for (const GUID* id :
         {&FOLDERID_LocalAppData, &FOLDERID_RoamingAppData, &FOLDERID_Desktop, &FOLDERID_Documents, &FOLDERID_Downloads,
          &FOLDERID_Pictures, &FOLDERID_Profile, &FOLDERID_SavedGames, &FOLDERID_Screenshots, &FOLDERID_Videos}) {
        paths.push_back(bridge_e2e::KnownFolder(*id));
    }
    json slots = json::array();
    for (const auto& path : paths) {
        slots.push_back(path.empty() ? json() : json{{"kind", "directory"}, {"path", path}, {"permission", 1}});
    }
    return slots;
}

TEST(Handshake, AnswersWithFolderHandlesThenTheInitResponseEveryTime) {
    auto app = e2e_test::MakeApp(R"({"name": "Handshake App"})");
    Scenario scenario;
    scenario.Add("dom-content-loaded");
    const int first = scenario.Message(kInitMessage);
    const int second = scenario.Message(kInitMessage);
    scenario.Add("close-window");
    const e2e::HostRun run = bridge_e2e::RunScenario(*app, scenario);
    e2e_test::ExpectEnded(run, 0);
    const json expected = ExpectedHandles(*app, "Handshake App");
    // Folders the prefix lacks (Wine has no Screenshots folder) must give empty slots.
    EXPECT_EQ(expected[11].is_null(), bridge_e2e::KnownFolder(FOLDERID_Screenshots).empty());

    for (const int line : {first, second}) {
        SCOPED_TRACE("wrapper-init at scenario line " + std::to_string(line));
        const auto handles =
            bridge_e2e::CallsDuring(run.transcript, line, "WebView.PostWebMessageAsJsonWithAdditionalObjects");
        ASSERT_EQ(handles.size(), 1u) << run.Describe();
        EXPECT_EQ(handles[0]["text"], R"({"type":"directory-handles"})");
        EXPECT_EQ(handles[0]["objects"], expected) << handles[0]["objects"].dump(1);

        const auto collections = bridge_e2e::CallsDuring(run.transcript, line, "Environment.CreateObjectCollection");
        ASSERT_EQ(collections.size(), 1u);
        EXPECT_EQ(collections[0]["length"], 13);

        // Every existing folder got a read-write handle, in table order.
        const auto created =
            bridge_e2e::CallsDuring(run.transcript, line, "Environment.CreateWebFileSystemDirectoryHandle");
        json createdPaths = json::array();
        for (const auto& call : created) {
            createdPaths.push_back(call["path"]);
            EXPECT_EQ(call["permission"], 1);
        }
        json expectedPaths = json::array();
        for (const auto& slot : expected) {
            if (!slot.is_null()) expectedPaths.push_back(slot["path"]);
        }
        EXPECT_EQ(createdPaths, expectedPaths);

        EXPECT_EQ(bridge_e2e::PostsDuring(run.transcript, line), std::vector<std::string>{kEmptyInitResponse});
    }
    // The handles go first, the init response second.
    const long handlesAt = run.transcript.IndexOf("WebView.PostWebMessageAsJsonWithAdditionalObjects");
    const long responseAt = run.transcript.IndexOf("WebView.PostWebMessageAsJson");
    EXPECT_GE(handlesAt, 0);
    EXPECT_LT(handlesAt, responseAt) << run.Describe();
    EXPECT_EQ(bridge_e2e::AllPosts(run.transcript).size(), 2u) << run.Describe();
}

TEST(Handshake, WithoutTheHandleInterfacesOnlyTheInitResponseIsSent) {
    for (const char* missing : {"environment14", "webview23"}) {
        SCOPED_TRACE(std::string("offer ") + missing + " off");
        auto app = e2e_test::MakeApp(R"({"name": "No Handles"})");
        // The extension asks for folder paths after the handshake: none are known.
        bridge_e2e::TestExtension extension(*app, json{{"message", {{"folderPaths", {"<app>", "<desktop>"}}}}});
        Scenario scenario;
        scenario.Add(std::string("offer ") + missing + " off");
        scenario.Add("dom-content-loaded");
        const int init = scenario.Message(kInitMessage);
        scenario.Message(R"({"type":"extension-message"})");
        scenario.Add("close-window");
        e2e::HostRunOptions options;
        extension.Apply(options);
        const e2e::HostRun run = bridge_e2e::RunScenario(*app, scenario, options);
        e2e_test::ExpectEnded(run, 0);

        EXPECT_EQ(bridge_e2e::PostsDuring(run.transcript, init), std::vector<std::string>{kEmptyInitResponse});
        EXPECT_FALSE(run.transcript.Has("WebView.PostWebMessageAsJsonWithAdditionalObjects")) << run.Describe();
        EXPECT_FALSE(run.transcript.Has("Environment.CreateWebFileSystemDirectoryHandle")) << run.Describe();
        EXPECT_FALSE(run.transcript.Has("Environment.CreateObjectCollection")) << run.Describe();

        const auto lookups = extension.Calls("GetFolderPath");
        ASSERT_EQ(lookups.size(), 2u);
        for (const auto& lookup : lookups) EXPECT_EQ(lookup["result"], "") << lookup.dump();
    }
}

}  // namespace
