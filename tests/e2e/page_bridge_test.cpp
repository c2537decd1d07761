// Page messages end to end: who is heard, which texts are used or dropped, the
// handshake with its folder handles, a burst of messages, and the extension library
// between host and page.
#include <windows.h>
#include <knownfolders.h>

#include <algorithm>

#include <gtest/gtest.h>

#include "host_checks.h"

namespace {

using e2e_test::ExpectEnded;
using nlohmann::json;
using Posts = std::vector<std::string>;

const std::string kPage = std::string("message ") + e2e::kPageUrl + " ";
const char kInit[] = R"({"type":"wrapper-init"})";
const char kInitResponse[] = R"({"registeredComponentIds":[],"type":"wrapper-init-response"})";
const char kLockOn[] = R"({"isEnabled":true,"isOk":true,"type":"set-pointer-lock-enabled-response"})";
const char kLockOff[] = R"({"isEnabled":false,"isOk":true,"type":"set-pointer-lock-enabled-response"})";

std::string Lock(const std::string& member) {
    return kPage + R"({"type":"set-pointer-lock-enabled")" + member + "}";
}

// The thirteen slots the page should get, in order: a handle for each folder that exists.
json ExpectedHandles(const e2e::AppFolder& app, const std::string& name) {
    const std::string appFolder = e2e::AppFolderText(app);
    std::vector<std::string> paths{appFolder, appFolder + "www\\", e2e::LocalAppDataFolder() + "\\" + name};
    for (const GUID* id :
         {&FOLDERID_LocalAppData, &FOLDERID_RoamingAppData, &FOLDERID_Desktop, &FOLDERID_Documents, &FOLDERID_Downloads,
          &FOLDERID_Pictures, &FOLDERID_Profile, &FOLDERID_SavedGames, &FOLDERID_Screenshots, &FOLDERID_Videos}) {
        paths.push_back(e2e::KnownFolder(*id));
    }
    json slots = json::array();
    for (const auto& path : paths) {
        // The app's folders, the folders above the browser profile and the profile are read-only.
        const size_t index = slots.size();
        const int permission = index <= 1 || index == 3 || index == 4 || index == 9 ? 0 : 1;
        slots.push_back(path.empty() ? json()
                                     : json{{"kind", "directory"}, {"path", path}, {"permission", permission}});
    }
    return slots;
}

TEST(PageBridge, UsesWhatItCanReadFromItsOwnPagesDropsTheRestAndKeepsAnswering) {
    constexpr size_t depth = 100000;
    const std::string arrays = std::string(depth, '[') + std::string(depth, ']');
    std::string objects;
    for (size_t i = 0; i < depth; ++i) objects += R"({"a":)";
    objects += "0" + std::string(depth, '}');
    // 50 MiB with two-byte characters, so both text conversions have work.
    std::string padding;
    while (padding.size() < (50u << 20)) padding += "0123456789abcdefghijklmnopqrstuvwxyz caf\xC3\xA9 ";

    const json none = json::array();
    const json answered = json::array({kInitResponse});
    const std::vector<e2e_test::StepCheck> checks = {
        {kPage + kInit, answered},
        // Only pages of the app origin are heard (the prefix rule itself, with
        // look-alikes, is the page-trust table's); a NUL source stands for a page without a URL.
        {"message https://tessarine.localhost/deep/page.html?q=1#top " + std::string(kInit), answered},
        {"message https://example.com/index.html " + std::string(kInit), none},
        {"message% %00 " + std::string(kInit), none},
        // Only string messages count.
        {std::string("message-json ") + e2e::kPageUrl + " " + kInit, none},
        {std::string("message-json ") + e2e::kPageUrl + R"( "{\"type\":\"wrapper-init\"}")", none},
        // Types match whole and in their case; a message without a string type has none.
        {kPage + R"({"type":"Wrapper-Init"})", none},
        {kPage + R"({"type":"wrapper-init "})", none},
        {kPage + R"({"type":"wrapper-initialize"})", none},
        {kPage + R"({"type":"wrapper-ini"})", none},
        {kPage + R"({"type":"wrapper-init\u0000"})", none},
        {kPage + R"(["wrapper-init"])", none},
        {kPage + R"({"type":["wrapper-init"]})", none},
        {kPage + R"({"Type":"wrapper-init"})", none},
        {kPage + R"({"type":""})", none},
        {kPage + R"({"type":"extension-message","note":"no library is loaded"})", none},
        // Strict JSON only; text after a NUL is not part of the message.
        {kPage + R"({"type":"wrapper-init")", none},
        {kPage, none},
        {kPage + R"({"type":"wrapper-init"} trailing)", none},
        {kPage + R"({"type":"wrapper-init",})", none},
        {kPage + R"({"type":"wrapper-init" /* comment */})", none},
        {kPage + R"({"type":"wrapper-init","n":1e999999})", none},
        {std::string("message% ") + e2e::kPageUrl + R"( {"type":"wrapper-init"}%00{"broken)", answered},
        // Unpaired surrogates as the page's escapes and as raw bytes: used or dropped, the host carries on.
        {kPage + R"({"type":"wrapper-init","s":"\ud800"})", nullptr, ""},
        {std::string("message% ") + e2e::kPageUrl + R"( {"type":"wrapper-init","s":"%ED%A0%80%FF%FE%C0%80"})", nullptr,
         ""},
        // Over-deep and over-long messages are dropped, valid or not (the limits
        // themselves are the page-message unit test's).
        {kPage + R"({"type":"maximize-window","deep":)" + arrays + "}", none},
        {kPage + R"({"type":"minimize-window","deep":)" + objects + "}", none},
        {kPage + arrays, none},
        {kPage + R"({"type":"wrapper-init","deep":)" + std::string(depth, '['), none},
        // Sizes and positions far off any screen, then a 50 MiB message; the record below
        // shows the last two plain ones were used and the long one was not.
        {kPage + R"({"type":"set-window-size","windowWidth":2147483647,"windowHeight":2147483647})", none},
        {kPage + R"({"type":"set-window-position","windowX":2147483647,"windowY":-2147483648})", none},
        {kPage + R"({"type":"set-window-size","windowWidth":1e308,"windowHeight":-1e308})", none},
        {kPage + R"({"type":"set-window-position","windowX":40,"windowY":30})", none},
        {kPage + R"({"type":"set-window-size","windowWidth":640,"windowHeight":480})", none},
        {kPage + R"({"type":"set-window-size","windowWidth":320,"windowHeight":200,"pad":")" + padding + "\"}", none},
        // Pointer lock answers only changes, and anything but true asks for it off.
        {Lock(""), none},
        {Lock(R"(,"isEnabled":"true")"), none},
        {Lock(R"(,"isEnabled":true)"), json::array({kLockOn})},
        {Lock(R"(,"isEnabled":1)"), json::array({kLockOff})},
        {Lock(R"(,"isEnabled":true)"), json::array({kLockOn})},
        {Lock(R"(,"isEnabled":true)"), none},
        {Lock(""), json::array({kLockOff})},
        {Lock(R"(,"isEnabled":null)"), none},
        {"record-window", nullptr, ""},
        {kPage + kInit, answered},
    };
    auto app = e2e::MakeApp("page-messages", R"({"name": "Page Messages"})");
    e2e::HostRunOptions options;
    options.timeoutMs = 300000;
    const e2e_test::Played played = e2e_test::Play(*app, checks, {}, options);
    const e2e::HostRun& run = played.run;
    const std::vector<int>& lines = played.lines;
    const auto state = e2e::WindowAt(run.transcript, lines[lines.size() - 2]);
    EXPECT_EQ(state.clientWidth * 96 / e2e::SystemDpi(), 640) << run.Describe();
    EXPECT_EQ(state.clientHeight * 96 / e2e::SystemDpi(), 480);
    EXPECT_EQ(state.windowRect.left * 96 / e2e::SystemDpi(), 40);
    EXPECT_EQ(state.windowRect.top * 96 / e2e::SystemDpi(), 30);

    // Every handshake gets the folder handles first, then the init response.
    const json handles = ExpectedHandles(*app, "Page Messages");
    EXPECT_EQ(handles[11].is_null(), e2e::KnownFolder(FOLDERID_Screenshots).empty());  // Wine has no Screenshots
    for (const int line : {lines.front(), lines.back()}) {
        const auto posted = e2e::CallsDuring(run.transcript, line, "WebView.PostWebMessageAsJsonWithAdditionalObjects");
        ASSERT_EQ(posted.size(), 1u) << run.Describe();
        EXPECT_EQ(posted[0]["text"], R"({"type":"directory-handles"})");
        EXPECT_EQ(posted[0]["objects"], handles) << posted[0]["objects"].dump(1);
    }
    const long handlesAt = run.transcript.IndexOf("WebView.PostWebMessageAsJsonWithAdditionalObjects");
    EXPECT_LT(handlesAt, run.transcript.IndexOf("WebView.PostWebMessageAsJson")) << "handles go first";
}

// A burst played by one repeat step, within a single tick of the stand-in, as a browser
// delivering a backlog: every message reaches the one handler, each answer comes once, in order.
TEST(PageBridge, ABurstOfMessagesIsAnsweredOnceAndInOrder) {
    const std::pair<std::string, std::string> block[] = {
        // one round: step, answer ("" for none)
        {Lock(R"(,"isEnabled":true)"), kLockOn},
        {Lock(R"(,"isEnabled":true)"), ""},
        {kPage + "{broken", ""},
        {"message https://elsewhere.example/index.html " + std::string(kInit), ""},
        {kPage + kInit, kInitResponse},
        {Lock(""), kLockOff},
    };
    constexpr size_t rounds = 500;
    auto app = e2e::MakeApp("burst", R"({"name": "Burst"})");
    std::vector<e2e_test::StepCheck> checks = {{"repeat " + std::to_string(rounds) + " 6", nullptr, ""}};
    for (const auto& [step, answer] : block) checks.push_back({step, nullptr, ""});
    checks.push_back({kPage + kInit, json::array({kInitResponse})});  // still answering afterwards
    // No folder handles: a lighter transcript.
    const e2e::HostRun run = e2e_test::Play(*app, checks, {"offer environment14 off"}).run;
    const json step = e2e::StepResult(run.transcript, 3);
    EXPECT_EQ(step.value("rounds", size_t{0}), rounds) << step.dump();
    EXPECT_EQ(step.value("results", json()), (json{{"0x00000000", rounds * std::size(block)}}));
    Posts expected;
    for (size_t round = 0; round < rounds; ++round) {
        for (const auto& [message, answer] : block)
            if (!answer.empty()) expected.push_back(answer);
    }
    EXPECT_EQ(e2e::PostsDuring(run.transcript, 3), expected);
}

TEST(Extension, CallsComeInOrderAndItsMessagesWaitForTheHandshake) {
    // Whitespace, CRLF line ends, a tab and a non-ASCII name: handed over byte for byte.
    const std::string packageJson = "{\r\n\t\"name\":  \"Extension Caf\xC3\xA9\" ,\r\n  \"window\": {}\r\n}\r\n  ";
    auto app = e2e::MakeApp("extension", packageJson);
    // Texts with their own spacing: the host must pass them on exactly as written.
    const std::string fromInit = R"({ "type": "from-init", "n": 1 })";
    const std::string fromWindow = R"({"type" :"from-window"})";
    e2e::TestExtension extension(
        *app, json{{"componentIds", {"alpha", "beta", "alpha"}},
                   {"init", {{"packageJson", true}, {"folderPaths", {"<desktop>"}}, {"post", {fromInit}}}},
                   {"mainWindowCreated", {{"post", {fromWindow}}}},
                   {"message", {{"folderPaths", {"<desktop>", "<no-such-folder>"}}, {"echo", true}}}});
    const std::string early = R"({ "type" : "extension-message",  "payload": {"b": 2, "a": 1} })";
    const std::string late = "{\"type\":\"extension-message\",\t\"text\":\"caf\xC3\xA9\" }";
    std::string lateStep = std::string("message% ") + e2e::kPageUrl + " " + late;  // the tab escaped
    lateStep.replace(lateStep.find('\t'), 1, "%09");
    e2e::HostRunOptions options;
    extension.Apply(options);
    // Queued messages follow the init response, oldest first; later ones go at once, and a
    // second handshake repeats the answer and nothing delivered before.
    const std::string response =
        R"({"registeredComponentIds":["alpha","beta","alpha"],"type":"wrapper-init-response"})";
    const e2e_test::Played played = e2e_test::Play(*app,
                                                   {{kPage + early, json::array()},
                                                    {kPage + kInit, nullptr, ""},
                                                    {lateStep, nullptr, ""},
                                                    {kPage + kInit, json::array({response})}},
                                                   {}, options);
    const e2e::HostRun& run = played.run;
    const auto record = extension.Record();
    ASSERT_EQ(e2e::CallNames(record),
              (std::vector<std::string>{
                  "Init@", "GetPackageJson@Init", "GetFolderPath@Init", "PostMessageToPage@Init",
                  "OnMainWindowCreated@", "PostMessageToPage@OnMainWindowCreated", "OnExtensionMessage@",
                  "GetFolderPath@OnExtensionMessage", "GetFolderPath@OnExtensionMessage",
                  "PostMessageToPage@OnExtensionMessage", "OnExtensionMessage@", "GetFolderPath@OnExtensionMessage",
                  "GetFolderPath@OnExtensionMessage", "PostMessageToPage@OnExtensionMessage", "Release@"}))
        << json(record).dump(1);
    EXPECT_EQ(record[0]["appFolder"], e2e::AppFolderText(*app));
    EXPECT_EQ(record[0]["webFolder"], "www\\");
    EXPECT_EQ(record[0]["userDataFolder"], e2e::LocalAppDataFolder() + "\\Extension Caf\xC3\xA9");
    EXPECT_EQ(record[0]["hasApp"], true);
    EXPECT_EQ(record[1]["result"], packageJson);
    // The main window exists but is not shown yet; no folder is known before the handshake.
    EXPECT_EQ(record[4]["isWindow"], true);
    EXPECT_EQ(record[4]["isVisible"], false);
    EXPECT_EQ(record[4]["className"], "Tessarine");
    const std::vector<std::string> folders = {record[2]["result"], record[7]["result"], record[8]["result"],
                                              record[11]["result"], record[12]["result"]};
    const std::string desktop = e2e::KnownFolder(FOLDERID_Desktop);
    ASSERT_FALSE(desktop.empty());
    EXPECT_EQ(folders, (std::vector<std::string>{"", "", "", desktop, ""}));
    EXPECT_EQ(record[6]["text"], early);
    EXPECT_EQ(record[10]["text"], late);
    // The library's answers, first held back, then passed on exactly as it posted them.
    EXPECT_EQ(e2e::PostsDuring(run.transcript, played.lines[1]),
              (Posts{response, fromInit, fromWindow, record[9]["text"].get<std::string>()}));
    EXPECT_EQ(e2e::PostsDuring(run.transcript, played.lines[2]), Posts{record[13]["text"].get<std::string>()});
}

// Libraries lacking an export or failing Init are the extension manager's unit tests.
TEST(Extension, WithoutEitherHandleInterfaceFoldersStayUnknown) {
    for (const char* knob : {"offer environment14 off", "offer webview23 off"}) {
        SCOPED_TRACE(knob);
        auto app = e2e::MakeApp("no-handles", R"({"name": "No Handles"})");
        e2e::TestExtension extension(
            *app, json{{"componentIds", {"gamma"}}, {"message", {{"echo", true}, {"folderPaths", {"<app>"}}}}});
        e2e::HostRunOptions options;
        extension.Apply(options);
        const auto response = R"({"registeredComponentIds":["gamma"],"type":"wrapper-init-response"})";
        const e2e::HostRun run = e2e_test::Play(*app,
                                                {{kPage + kInit, json::array({response})},
                                                 {kPage + R"({"type":"extension-message"})", nullptr, ""}},
                                                {knob}, options)
                                     .run;
        EXPECT_FALSE(run.transcript.Has("WebView.PostWebMessageAsJsonWithAdditionalObjects"));
        EXPECT_FALSE(run.transcript.Has("Environment.CreateWebFileSystemDirectoryHandle"));
        const auto record = extension.Record();
        const auto lookup = std::find_if(record.begin(), record.end(),
                                         [](const json& line) { return line["call"] == "GetFolderPath"; });
        ASSERT_NE(lookup, record.end()) << json(record).dump(1);
        EXPECT_EQ((*lookup)["result"], "");
    }
}

}  // namespace
