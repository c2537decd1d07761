// A page that sends garbage: the host must drop what it cannot use, stay responsive
// (a later handshake is still answered) and still end normally when closed.
#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "host_test_support.h"
#include "page_bridge_support.h"

namespace {

using bridge_e2e::Scenario;

const char kInitMessage[] = R"({"type":"wrapper-init"})";
const char kEmptyInitResponse[] = R"({"registeredComponentIds":[],"type":"wrapper-init-response"})";
using Posts = std::vector<std::string>;

// Ends every hostile scenario: the host must still answer and close normally.
int AddProbeAndClose(Scenario& scenario) {
    const int probe = scenario.Message(kInitMessage);
    scenario.Add("close-window");
    return probe;
}

void ExpectStillResponsive(const e2e::HostRun& run, int probe) {
    e2e_test::ExpectEnded(run, 0);
    EXPECT_TRUE(run.boxes.empty()) << run.Describe();
    EXPECT_EQ(bridge_e2e::PostsDuring(run.transcript, probe), Posts{kEmptyInitResponse}) << run.Describe();
}

TEST(HostilePage, MalformedAndOddTextsAreDropped) {
    auto app = e2e_test::MakeApp(R"({"name": "Malformed"})");
    Scenario scenario;
    scenario.Add("offer environment14 off");
    scenario.Add("dom-content-loaded");
    std::vector<int> dropped;
    for (const char* text : {
             R"({"type":"wrapper-init")",
             "not json at all",
             "",
             R"({"type":"wrapper-init"} trailing)",
             R"({"type":"wrapper-init"} {"type":"wrapper-init"})",
             R"({"type":"wrapper-init",})",
             R"({"type":"wrapper-init" /* comment */})",
             R"({'type':'wrapper-init'})",
             R"({"type":"wrapper-init","x":NaN})",
             R"({"type":"wrapper-init","n":1e999999})",
             R"({"type":"wrapper-init","s":"\x41"})",
             R"({"type":"unknown-type"})",
             R"({"type":""})",
             R"({"type":"extension-message","note":"no library is loaded"})",
         }) {
        dropped.push_back(scenario.Message(text));
    }
    // Text after a NUL is not part of the message.
    const int cut = scenario.EscapedMessage(R"({"type":"wrapper-init"}%00{"broken)");
    // An unpaired surrogate, written as the page's JSON escape and as raw bytes; whether
    // such a message is used or dropped, the host must carry on.
    scenario.Message(R"({"type":"wrapper-init","s":"\ud800"})");
    scenario.Message(R"({"type":"wrapper-init","s":"\udc00\ud800x"})");
    scenario.EscapedMessage(R"({"type":"wrapper-init","s":"%ED%A0%80"})");
    scenario.EscapedMessage(R"({"type":"wrapper-init","s":"%FF%FE%C0%80"})");
    // Sizes and positions far off any screen.
    scenario.Message(R"({"type":"set-window-size","windowWidth":2147483647,"windowHeight":2147483647})");
    scenario.Message(R"({"type":"set-window-position","windowX":2147483647,"windowY":-2147483648})");
    scenario.Message(R"({"type":"set-window-size","windowWidth":1e308,"windowHeight":-1e308})");
    scenario.Message(R"({"type":"set-window-size","windowWidth":800,"windowHeight":600})");
    scenario.Message(R"({"type":"set-window-position","windowX":40,"windowY":30})");
    const int window = scenario.RecordWindow();
    const int probe = AddProbeAndClose(scenario);
    const e2e::HostRun run = bridge_e2e::RunScenario(*app, scenario);
    ExpectStillResponsive(run, probe);

    for (const int line : dropped) {
        EXPECT_TRUE(bridge_e2e::PostsDuring(run.transcript, line).empty()) << "scenario line " << line;
    }
    EXPECT_EQ(bridge_e2e::PostsDuring(run.transcript, cut), Posts{kEmptyInitResponse});
    const auto state = bridge_e2e::WindowAt(run.transcript, window);
    ASSERT_TRUE(state.found) << run.Describe();
    EXPECT_EQ(state.clientWidth * 96 / e2e_test::SystemDpi(), 800);
    EXPECT_EQ(state.clientHeight * 96 / e2e_test::SystemDpi(), 600);
    EXPECT_EQ(state.windowRect.left * 96 / e2e_test::SystemDpi(), 40);
    EXPECT_EQ(state.windowRect.top * 96 / e2e_test::SystemDpi(), 30);
}

TEST(HostilePage, DeeplyNestedMessagesAreHandled) {
    constexpr size_t depth = 100000;
    const std::string arrays = std::string(depth, '[') + std::string(depth, ']');
    std::string objects;
    for (size_t i = 0; i < depth; ++i) objects += R"({"a":)";
    objects += "0" + std::string(depth, '}');

    auto app = e2e_test::MakeApp(R"({"name": "Deep"})");
    Scenario scenario;
    scenario.Add("offer environment14 off");
    scenario.Add("dom-content-loaded");
    // Deep but valid: the message is read and its action runs.
    const int deepArray = scenario.Message(R"({"type":"maximize-window","deep":)" + arrays + "}");
    scenario.Message(R"({"type":"restore-window"})");
    const int deepObject = scenario.Message(R"({"type":"minimize-window","deep":)" + objects + "}");
    scenario.Message(R"({"type":"restore-window"})");
    // Deep without a type, and deep and never closed.
    const int typeless = scenario.Message(arrays);
    const int unclosed = scenario.Message(R"({"type":"wrapper-init","deep":)" + std::string(depth, '['));
    const int probe = AddProbeAndClose(scenario);
    e2e::HostRunOptions options;
    options.timeoutMs = 120000;
    const e2e::HostRun run = bridge_e2e::RunScenario(*app, scenario, options);
    ExpectStillResponsive(run, probe);

    EXPECT_EQ(bridge_e2e::PostsDuring(run.transcript, deepArray), Posts{R"({"type":"window-maximized"})"});
    EXPECT_EQ(bridge_e2e::PostsDuring(run.transcript, deepObject), Posts{R"({"type":"window-minimized"})"});
    EXPECT_TRUE(bridge_e2e::PostsDuring(run.transcript, typeless).empty());
    EXPECT_TRUE(bridge_e2e::PostsDuring(run.transcript, unclosed).empty());
}

TEST(HostilePage, A50MegabyteMessageIsHandled) {
    // 50 MiB of padding, with two-byte characters so both text conversions have work.
    const std::string unit = "0123456789abcdefghijklmnopqrstuvwxyz caf\xC3\xA9 ";
    std::string padding;
    padding.reserve(50u << 20);
    while (padding.size() + unit.size() <= (50u << 20)) padding += unit;

    auto app = e2e_test::MakeApp(R"({"name": "Huge"})");
    Scenario scenario;
    scenario.Add("offer environment14 off");
    scenario.Add("dom-content-loaded");
    scenario.Message(R"({"type":"set-window-size","windowWidth":640,"windowHeight":480,"pad":")" + padding + "\"}");
    padding.clear();
    padding.shrink_to_fit();
    const int resized = scenario.RecordWindow();
    const int probe = AddProbeAndClose(scenario);
    e2e::HostRunOptions options;
    options.timeoutMs = 300000;
    const e2e::HostRun run = bridge_e2e::RunScenario(*app, scenario, options);
    ExpectStillResponsive(run, probe);

    const auto state = bridge_e2e::WindowAt(run.transcript, resized);
    ASSERT_TRUE(state.found) << run.Describe();
    EXPECT_EQ(state.clientWidth * 96 / e2e_test::SystemDpi(), 640);
    EXPECT_EQ(state.clientHeight * 96 / e2e_test::SystemDpi(), 480);
}

// The flood is played by one repeat step, all inside a single tick of the stand-in, as a
// browser delivering a backlog; TESSARINE_E2E_FLOOD sets another count.
size_t FloodSize() {
    const char* text = std::getenv("TESSARINE_E2E_FLOOD");
    const long value = text ? std::strtol(text, nullptr, 10) : 0;
    return value > 0 ? static_cast<size_t>(value) : 100000;
}

// One message of the flood's repeated block, and the answer it must get (empty: none).
struct FloodMessage {
    std::string step;
    std::string answer;
};

std::vector<FloodMessage> FloodBlock() {
    const std::string page = std::string("message ") + bridge_e2e::kPageUrl + " ";
    const std::string lockOn = R"({"isEnabled":true,"isOk":true,"type":"set-pointer-lock-enabled-response"})";
    const std::string lockOff = R"({"isEnabled":false,"isOk":true,"type":"set-pointer-lock-enabled-response"})";
    // Mostly handshakes and garbage; one real lock and unlock per block (each costs the
    // system cursor calls), and repeats of them that must stay unanswered.
    return {
        {page + R"({"type":"set-pointer-lock-enabled","isEnabled":true})", lockOn},
        {page + R"({"type":"set-pointer-lock-enabled","isEnabled":true})", ""},
        {page + R"({"type":"no-such-type","n":1})", ""},
        {page + kInitMessage, kEmptyInitResponse},
        {page + "{broken", ""},
        {std::string("message-json ") + bridge_e2e::kPageUrl + " " + kInitMessage, ""},
        {std::string("message https://elsewhere.example/index.html ") + kInitMessage, ""},
        {page + kInitMessage, kEmptyInitResponse},
        {page + R"({"type":""})", ""},
        {page + R"({"type":"set-pointer-lock-enabled","isEnabled":false})", lockOff},
        {page + R"({"type":"set-pointer-lock-enabled"})", ""},
        {page + kInitMessage, kEmptyInitResponse},
        {page, ""},
        {page + "not json", ""},
        {page + kInitMessage, kEmptyInitResponse},
        {page + R"({"type":"extension-message","note":"no library is loaded"})", ""},
        {page + "[1,2,3]", ""},
        {page + kInitMessage, kEmptyInitResponse},
        {page + R"({"type":"wrapper-init")", ""},
        {page + kInitMessage, kEmptyInitResponse},
    };
}

TEST(HostilePage, AFloodOfMessagesIsAnsweredInOrder) {
    const std::vector<FloodMessage> block = FloodBlock();
    const size_t rounds = std::max<size_t>(FloodSize() / block.size(), 1);
    const size_t count = rounds * block.size();
    auto app = e2e_test::MakeApp(R"({"name": "Flood"})");
    Scenario scenario;
    scenario.Add("offer environment14 off");
    scenario.Add("dom-content-loaded");
    const int flood = scenario.Add("repeat " + std::to_string(rounds) + " " + std::to_string(block.size()));
    for (const FloodMessage& message : block) scenario.Add(message.step);
    const int probe = AddProbeAndClose(scenario);
    e2e::HostRunOptions options;
    options.timeoutMs = static_cast<DWORD>(60000 + count * 2);
    const e2e::HostRun run = bridge_e2e::RunScenario(*app, scenario, options);
    ExpectStillResponsive(run, probe);

    // Every message reached the host's one handler, which accepted it.
    const nlohmann::json step = bridge_e2e::StepResult(run.transcript, flood);
    ASSERT_TRUE(step.is_object()) << "the flood never ran";
    EXPECT_FALSE(step.contains("error")) << step.dump();
    EXPECT_EQ(step.value("rounds", size_t{0}), rounds);
    EXPECT_EQ(step.value("handlers", size_t{0}), count);
    EXPECT_EQ(step.value("results", nlohmann::json()), (nlohmann::json{{"0x00000000", count}}));

    // Every answer came, once and in order, while the flood was delivered.
    Posts expected;
    for (size_t round = 0; round < rounds; ++round) {
        for (const FloodMessage& message : block) {
            if (!message.answer.empty()) expected.push_back(message.answer);
        }
    }
    const Posts posts = bridge_e2e::PostsDuring(run.transcript, flood);
    EXPECT_EQ(posts.size(), expected.size());
    size_t wrong = 0;
    for (size_t i = 0; i < std::min(posts.size(), expected.size()); ++i) {
        if (posts[i] != expected[i] && wrong++ < 5) ADD_FAILURE() << "answer " << i << ": " << posts[i];
    }
    EXPECT_EQ(wrong, 0u);
    EXPECT_EQ(bridge_e2e::AllPosts(run.transcript).size(), expected.size() + 1);
}

}  // namespace
