// Hostile pages against the real host: foreign senders in remote mode, folders the app
// closed, requests of the app's service worker, and pointer lock while the user works
// in another window.
#include <windows.h>

#include <gtest/gtest.h>

#include "cursor_sampler.h"
#include "host_test_support.h"
#include "page_bridge_support.h"

namespace {

using bridge_e2e::Scenario;
using nlohmann::json;

const char kInitMessage[] = R"({"type":"wrapper-init"})";
const char kEmptyInitResponse[] = R"({"registeredComponentIds":[],"type":"wrapper-init-response"})";

TEST(HostileSender, RemoteModeHandsFoldersOnlyToTheAppsOwnSecurePages) {
    struct Case {
        const char* main;
        const char* source;
        bool heard;
        bool folders;
    };
    const Case cases[] = {
        {"https://example.com", "https://example.com/", true, true},
        {"https://example.com", "https://example.com.evil.net/", false, false},
        {"https://example.com/app", "https://example.com/apple/", false, false},
        {"http://example.com/", "http://example.com/game.html", true, false},
        {"http://localhost:8080/", "http://localhost:8080/", true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.main) + " <- " + c.source);
        auto app = e2e_test::MakeApp(std::string(R"({"name": "Remote Senders", "main": ")") + c.main +
                                     R"(", "settings": {"content-mode": "remote"}})");
        Scenario scenario;
        scenario.Add("dom-content-loaded");
        const int init = scenario.Message(kInitMessage, c.source);
        scenario.Add("close-window");
        const e2e::HostRun run = bridge_e2e::RunScenario(*app, scenario);
        e2e_test::ExpectEnded(run, 0);
        EXPECT_EQ(bridge_e2e::PostsDuring(run.transcript, init),
                  c.heard ? std::vector<std::string>{kEmptyInitResponse} : std::vector<std::string>{})
            << run.Describe();
        EXPECT_EQ(
            bridge_e2e::CallsDuring(run.transcript, init, "WebView.PostWebMessageAsJsonWithAdditionalObjects").size(),
            c.folders ? 1u : 0u);
        EXPECT_EQ(
            bridge_e2e::CallsDuring(run.transcript, init, "Environment.CreateWebFileSystemDirectoryHandle").empty(),
            !c.folders);
    }
}

TEST(FolderAccess, FoldersAreHandedOutAsThePackageAsks) {
    auto app = e2e_test::MakeApp(
        R"({"name": "Closed Folders", "settings": {"folder-access": {"<app>": "read", "<web-resource>": "none"}}})");
    Scenario scenario;
    scenario.Add("dom-content-loaded");
    const int init = scenario.Message(kInitMessage);
    scenario.Add("close-window");
    const e2e::HostRun run = bridge_e2e::RunScenario(*app, scenario);
    e2e_test::ExpectEnded(run, 0);
    const auto posted =
        bridge_e2e::CallsDuring(run.transcript, init, "WebView.PostWebMessageAsJsonWithAdditionalObjects");
    ASSERT_EQ(posted.size(), 1u) << run.Describe();
    const json& slots = posted[0]["objects"];
    ASSERT_EQ(slots.size(), 13u);
    EXPECT_EQ(slots[0], (json{{"kind", "directory"}, {"path", bridge_e2e::AppFolderText(*app)}, {"permission", 0}}));
    EXPECT_TRUE(slots[1].is_null()) << slots.dump();
    EXPECT_EQ(slots[2]["permission"], 1);
    EXPECT_EQ(bridge_e2e::PostsDuring(run.transcript, init), std::vector<std::string>{kEmptyInitResponse});
}

TEST(ServiceWorker, RequestsOfTheAppsWorkersAreServedWhereTheRuntimeFiltersBySource) {
    for (const bool offered : {true, false}) {
        SCOPED_TRACE(offered ? "ICoreWebView2_22 offered" : "ICoreWebView2_22 withheld");
        auto app = e2e_test::MakeApp(R"({"name": "Worker App"})");
        Scenario scenario;
        if (!offered) scenario.Add("offer webview22 off");
        scenario.Add("dom-content-loaded");
        for (const char* source : {"document", "service-worker", "shared-worker"}) {
            scenario.Add(std::string("request-from ") + source + " GET https://tessarine.localhost/index.html");
        }
        scenario.Add("close-window");
        const e2e::HostRun run = bridge_e2e::RunScenario(*app, scenario);
        e2e_test::ExpectEnded(run, 0);
        const auto withKinds = run.transcript.Events("WebView.AddWebResourceRequestedFilterWithRequestSourceKinds");
        const auto plain = run.transcript.Events("WebView.AddWebResourceRequestedFilter");
        ASSERT_EQ(withKinds.size() + plain.size(), 1u) << run.Describe();
        if (offered) {
            ASSERT_EQ(withKinds.size(), 1u);
            EXPECT_EQ(withKinds[0]["uri"], "https://tessarine.localhost/*");
            EXPECT_EQ(withKinds[0]["sourceKinds"], 0xFFFFFFFFu);
        }
        const auto requests = run.transcript.Events("step:request-from");
        ASSERT_EQ(requests.size(), 3u) << run.Describe();
        for (size_t i = 0; i < requests.size(); ++i) {
            const bool served = i == 0 || offered;
            EXPECT_EQ(requests[i]["handlers"], served ? 1 : 0) << requests[i].dump();
            EXPECT_EQ(requests[i]["response"].is_null() ? 0 : requests[i]["response"]["status"].get<int>(),
                      served ? 200 : 0);
        }
    }
}

bool Locked(const bridge_e2e::CursorSample& sample) {
    return sample.windowFound && bridge_e2e::SameRect(sample.clip, sample.windowRect);
}

bool Released(const bridge_e2e::CursorSample& sample) {
    return sample.windowFound && bridge_e2e::SameRect(sample.clip, bridge_e2e::VirtualScreenRect());
}

void PumpFor(DWORD milliseconds) {
    for (const ULONGLONG end = GetTickCount64() + milliseconds; GetTickCount64() < end; Sleep(5)) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
    }
}

void MoveMouseBy(int dx, int dy) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = dx;
    input.mi.dy = dy;
    input.mi.dwFlags = MOUSEEVENTF_MOVE;
    SendInput(1, &input, sizeof input);
}

TEST(PointerLockInBackground, TheCursorIsFreeAndNoMotionReachesThePageWhileAnotherWindowIsInFront) {
    auto app = e2e_test::MakeApp(R"({"name": "Background Lock"})");
    Scenario scenario;
    scenario.Add("dom-content-loaded");
    scenario.Add("wait 300");
    scenario.Message(R"({"type":"set-pointer-lock-enabled","isEnabled":true})");
    scenario.Add("wait 6000");
    scenario.Add("close-window");

    // Once the lock is seen, a window of this process takes the foreground for a second,
    // the mouse moves meanwhile; then the host's window comes back to the front.
    int phase = 0;
    HWND other = nullptr;
    HWND host = nullptr;
    ULONGLONG phaseEnd = 0;
    bool released = false;
    bridge_e2e::CursorSampler sampler([&](const bridge_e2e::CursorSample& sample) {
        if (phase == 0 && Locked(sample)) {
            phase = 1;
            host = GetForegroundWindow();
            other = CreateWindowExW(0, L"STATIC", L"other", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300, 200, nullptr,
                                    nullptr, nullptr, nullptr);
            SetForegroundWindow(other);
            PumpFor(300);
            MoveMouseBy(7, 7);
            phaseEnd = GetTickCount64() + 1000;
        } else if (phase == 1) {
            // The visibility Wine reports is this process's own now: the clip tells.
            released = released || Released(sample);
            PumpFor(5);
            if (GetTickCount64() < phaseEnd) return;
            SetForegroundWindow(host);
            DestroyWindow(other);
            PumpFor(300);
            phase = 2;
        } else if (phase == 2 && Locked(sample)) {
            phase = 3;
            MoveMouseBy(-4, 2);
        }
    });
    const e2e::HostRun run = bridge_e2e::RunScenario(*app, scenario);
    sampler.Stop();
    e2e_test::ExpectEnded(run, 0);
    ASSERT_GE(phase, 2) << run.Describe();
    EXPECT_TRUE(released) << "the cursor stayed captive while another window was in front";
    EXPECT_EQ(phase, 3) << "the lock did not come back with the window";
    std::vector<std::string> movements;
    for (const auto& text : bridge_e2e::AllPosts(run.transcript)) {
        if (text.find("pointer-lock-movement") != std::string::npos) movements.push_back(text);
    }
    EXPECT_EQ(movements, std::vector<std::string>{R"({"movementX":-4,"movementY":2,"type":"pointer-lock-movement"})"})
        << run.Describe();
}

}  // namespace
