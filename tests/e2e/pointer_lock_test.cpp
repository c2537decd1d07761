// Pointer lock seen from outside the host: the answers to the page, the clipped,
// hidden and centred cursor, and the raw mouse motion streamed while locked.
#include <windows.h>

#include <gtest/gtest.h>

#include "cursor_sampler.h"
#include "host_test_support.h"
#include "page_bridge_support.h"

namespace {

using bridge_e2e::CursorSample;
using bridge_e2e::Scenario;
using nlohmann::json;

const char kEnable[] = R"({"type":"set-pointer-lock-enabled","isEnabled":true})";
const char kDisable[] = R"({"type":"set-pointer-lock-enabled","isEnabled":false})";
const char kEnabledReply[] = R"({"isEnabled":true,"isOk":true,"type":"set-pointer-lock-enabled-response"})";
const char kDisabledReply[] = R"({"isEnabled":false,"isOk":true,"type":"set-pointer-lock-enabled-response"})";

using Posts = std::vector<std::string>;

bool Locked(const CursorSample& sample) {
    return sample.windowFound && bridge_e2e::SameRect(sample.clip, sample.windowRect);
}

bool Released(const CursorSample& sample) {
    return sample.windowFound && bridge_e2e::SameRect(sample.clip, bridge_e2e::VirtualScreenRect());
}

std::vector<std::string> MovementPosts(const e2e::Transcript& transcript) {
    std::vector<std::string> posts;
    for (const auto& text : bridge_e2e::AllPosts(transcript)) {
        if (text.find("pointer-lock-movement") != std::string::npos) posts.push_back(text);
    }
    return posts;
}

std::string Movement(int dx, int dy) {
    return R"({"movementX":)" + std::to_string(dx) + R"(,"movementY":)" + std::to_string(dy) +
           R"(,"type":"pointer-lock-movement"})";
}

void MoveMouseBy(int dx, int dy) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = dx;
    input.mi.dy = dy;
    input.mi.dwFlags = MOUSEEVENTF_MOVE;
    SendInput(1, &input, sizeof input);
}

TEST(PointerLock, LockClipsHidesAndCentresTheCursorUntilReleased) {
    auto app = e2e_test::MakeApp(R"({"name": "Pointer Lock"})");
    Scenario scenario;
    scenario.Add("dom-content-loaded");
    scenario.Add("wait 500");
    const int enable = scenario.Message(kEnable);
    scenario.Add("wait 1500");
    const int locked = scenario.RecordWindow();
    const int enableAgain = scenario.Message(kEnable);
    const int disable = scenario.Message(kDisable);
    scenario.Add("wait 1500");
    const int disableAgain = scenario.Message(kDisable);
    scenario.Add("close-window");

    bridge_e2e::CursorSampler sampler;
    const e2e::HostRun run = bridge_e2e::RunScenario(*app, scenario);
    const std::vector<CursorSample> samples = sampler.Stop();
    e2e_test::ExpectEnded(run, 0);

    EXPECT_EQ(bridge_e2e::PostsDuring(run.transcript, enable), Posts{kEnabledReply}) << run.Describe();
    EXPECT_TRUE(bridge_e2e::PostsDuring(run.transcript, enableAgain).empty());
    EXPECT_EQ(bridge_e2e::PostsDuring(run.transcript, disable), Posts{kDisabledReply});
    EXPECT_TRUE(bridge_e2e::PostsDuring(run.transcript, disableAgain).empty());

    const auto window = bridge_e2e::WindowAt(run.transcript, locked);
    ASSERT_TRUE(window.found) << run.Describe();
    const RECT& rect = window.windowRect;
    const POINT centre{rect.left + (rect.right - rect.left) / 2, rect.top + (rect.bottom - rect.top) / 2};

    // Free before the lock, clipped to the whole window while locked, free again after.
    size_t firstLocked = samples.size();
    size_t lastLocked = 0;
    for (size_t i = 0; i < samples.size(); ++i) {
        if (!Locked(samples[i])) continue;
        firstLocked = std::min(firstLocked, i);
        lastLocked = i;
    }
    ASSERT_LT(firstLocked, samples.size()) << "the cursor was never clipped to the window";
    EXPECT_TRUE(bridge_e2e::SameRect(samples[lastLocked].clip, rect)) << bridge_e2e::RectText(samples[lastLocked].clip);
    bool freeBefore = false;
    for (size_t i = 0; i < firstLocked; ++i) freeBefore = freeBefore || Released(samples[i]);
    EXPECT_TRUE(freeBefore) << "the window was never seen unclipped before the lock";
    bool freeAfter = false;
    for (size_t i = lastLocked + 1; i < samples.size(); ++i) freeAfter = freeAfter || Released(samples[i]);
    EXPECT_TRUE(freeAfter) << "the clip was not released while the window still existed";

    // Parked at the centre and hidden from then on. Samples taken while the host is still
    // between the clip, the move and the hide (a busy machine stretches that) do not count.
    auto centredAndHidden = [&](const CursorSample& sample) {
        return sample.cursor.x == centre.x && sample.cursor.y == centre.y && !sample.cursorShowing;
    };
    size_t settled = firstLocked;
    while (settled <= lastLocked && !(Locked(samples[settled]) && centredAndHidden(samples[settled]))) ++settled;
    ASSERT_LE(settled, lastLocked) << "the locked cursor was never parked at the centre and hidden";
    // Wine reports another process's cursor visibility from whichever thread holds the
    // input at that moment, so later samples are checked for position only; the hide and
    // show count itself is pinned by the host's unit tests.
    int offCentre = 0;
    for (size_t i = settled + 1; i <= lastLocked; ++i) {
        if (!Locked(samples[i])) continue;
        if (samples[i].cursor.x != centre.x || samples[i].cursor.y != centre.y) ++offCentre;
    }
    EXPECT_EQ(offCentre, 0) << "centre " << centre.x << "," << centre.y << "; last seen at "
                            << samples[lastLocked].cursor.x << "," << samples[lastLocked].cursor.y;
    bool shownAgain = false;
    for (size_t i = lastLocked + 1; i < samples.size(); ++i) {
        shownAgain = shownAgain || (Released(samples[i]) && samples[i].cursorShowing);
    }
    EXPECT_TRUE(shownAgain) << "the cursor was not shown again after the lock";
}

TEST(PointerLock, AnswersOnlyChangesAndReadsAnythingButTrueAsOff) {
    auto app = e2e_test::MakeApp(R"({"name": "Pointer Lock Requests"})");
    Scenario scenario;
    scenario.Add("dom-content-loaded");
    const int missingWhileOff = scenario.Message(R"({"type":"set-pointer-lock-enabled"})");
    const int stringWhileOff = scenario.Message(R"({"type":"set-pointer-lock-enabled","isEnabled":"true"})");
    const int enable = scenario.Message(kEnable);
    const int one = scenario.Message(R"({"type":"set-pointer-lock-enabled","isEnabled":1})");
    const int enableAgain = scenario.Message(kEnable);
    const int missing = scenario.Message(R"({"type":"set-pointer-lock-enabled"})");
    const int nullFlag = scenario.Message(R"({"type":"set-pointer-lock-enabled","isEnabled":null})");
    scenario.Add("close-window");
    const e2e::HostRun run = bridge_e2e::RunScenario(*app, scenario);
    e2e_test::ExpectEnded(run, 0);

    EXPECT_TRUE(bridge_e2e::PostsDuring(run.transcript, missingWhileOff).empty()) << run.Describe();
    EXPECT_TRUE(bridge_e2e::PostsDuring(run.transcript, stringWhileOff).empty());
    EXPECT_EQ(bridge_e2e::PostsDuring(run.transcript, enable), Posts{kEnabledReply});
    EXPECT_EQ(bridge_e2e::PostsDuring(run.transcript, one), Posts{kDisabledReply});
    EXPECT_EQ(bridge_e2e::PostsDuring(run.transcript, enableAgain), Posts{kEnabledReply});
    EXPECT_EQ(bridge_e2e::PostsDuring(run.transcript, missing), Posts{kDisabledReply});
    EXPECT_TRUE(bridge_e2e::PostsDuring(run.transcript, nullFlag).empty());
}

TEST(PointerLock, MouseMotionReachesThePageOnlyWhileLocked) {
    auto app = e2e_test::MakeApp(R"({"name": "Pointer Motion"})");
    Scenario scenario;
    scenario.Add("dom-content-loaded");
    scenario.Add("wait 300");
    scenario.Message(kEnable);
    scenario.Add("wait 2500");
    scenario.Message(kDisable);
    scenario.Add("wait 1500");
    scenario.Add("close-window");

    // Moves the mouse once the lock is seen, and once more after it has gone.
    int phase = 0;
    bridge_e2e::CursorSampler sampler([&phase](const CursorSample& sample) {
        if (phase == 0 && Locked(sample)) {
            phase = 1;
            Sleep(200);
            MoveMouseBy(5, -3);
            Sleep(200);
            MoveMouseBy(-2, 4);
            Sleep(200);
            // A sample without motion (a wheel turn) posts nothing.
            INPUT wheel{};
            wheel.type = INPUT_MOUSE;
            wheel.mi.mouseData = WHEEL_DELTA;
            wheel.mi.dwFlags = MOUSEEVENTF_WHEEL;
            SendInput(1, &wheel, sizeof wheel);
        } else if (phase == 1 && Released(sample)) {
            phase = 2;
            MoveMouseBy(9, 9);
        }
    });
    const e2e::HostRun run = bridge_e2e::RunScenario(*app, scenario);
    sampler.Stop();
    e2e_test::ExpectEnded(run, 0);
    ASSERT_EQ(phase, 2) << "the lock was not seen coming and going\n" << run.Describe();

    EXPECT_EQ(MovementPosts(run.transcript), (Posts{Movement(5, -3), Movement(-2, 4)})) << run.Describe();
}

}  // namespace
