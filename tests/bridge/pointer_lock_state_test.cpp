// Turning the pointer lock on and off: the clip, the cursor's place and display
// counter, the re-clip timer and the answers to the page.
#include <windows.h>

#include <gtest/gtest.h>

#include "app/main_window.h"
#include "bridge_host.h"

namespace {

using bridge_test::BridgeHost;
using bridge_test::TestWindow;
using Posts = std::vector<std::string>;

const char kEnabledReply[] = R"({"isEnabled":true,"isOk":true,"type":"set-pointer-lock-enabled-response"})";
const char kDisabledReply[] = R"({"isEnabled":false,"isOk":true,"type":"set-pointer-lock-enabled-response"})";

// This thread's cursor display counter, left as it was.
int CursorCounter() {
    const int counter = ShowCursor(TRUE) - 1;
    ShowCursor(FALSE);
    return counter;
}

RECT ClipRect() {
    RECT clip{};
    GetClipCursor(&clip);
    return clip;
}

RECT VirtualScreen() {
    const int left = GetSystemMetrics(SM_XVIRTUALSCREEN);
    const int top = GetSystemMetrics(SM_YVIRTUALSCREEN);
    return RECT{left, top, left + GetSystemMetrics(SM_CXVIRTUALSCREEN), top + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
}

::testing::AssertionResult SameRect(const RECT& got, const RECT& expected) {
    if (got.left == expected.left && got.top == expected.top && got.right == expected.right &&
        got.bottom == expected.bottom) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << "[" << got.left << "," << got.top << "," << got.right << "," << got.bottom
                                         << "] instead of [" << expected.left << "," << expected.top << ","
                                         << expected.right << "," << expected.bottom << "]";
}

TEST(PointerLockState, EnablingConfinesCentresAndHidesTheCursorAndDisablingUndoesIt) {
    // Window rectangle (100, 50) to (901, 650): the centre is (500, 350).
    TestWindow window(100, 50, 801, 600);
    ASSERT_TRUE(window.handle());
    BridgeHost bridge(window.handle());
    PallantWebView& host = bridge.host();
    const int shownCounter = CursorCounter();

    host.SetPointerLockEnabled(true);
    EXPECT_EQ(bridge.TakePosts(), Posts{kEnabledReply});
    EXPECT_TRUE(SameRect(ClipRect(), RECT{100, 50, 901, 650}));
    POINT cursor{};
    GetCursorPos(&cursor);
    EXPECT_EQ(cursor.x, 500);
    EXPECT_EQ(cursor.y, 350);
    EXPECT_EQ(CursorCounter(), shownCounter - 1);

    // Another timer leaves the cursor alone; the lock's timer puts it back after
    // something else has moved it or lifted the clip.
    ClipCursor(nullptr);
    SetCursorPos(10, 10);
    EXPECT_EQ(MainWindowProc(window.handle(), WM_TIMER, pointerLockTimerId + 1, 0), 0);
    EXPECT_TRUE(SameRect(ClipRect(), VirtualScreen()));
    EXPECT_GT(window.PumpTimerTicks(200), 0);
    EXPECT_TRUE(SameRect(ClipRect(), RECT{100, 50, 901, 650}));
    GetCursorPos(&cursor);
    EXPECT_EQ(cursor.x, 500);
    EXPECT_EQ(cursor.y, 350);

    // A repeated request changes nothing and is not answered.
    host.SetPointerLockEnabled(true);
    EXPECT_TRUE(bridge.TakePosts().empty());
    EXPECT_EQ(CursorCounter(), shownCounter - 1);

    host.SetPointerLockEnabled(false);
    EXPECT_EQ(bridge.TakePosts(), Posts{kDisabledReply});
    EXPECT_TRUE(SameRect(ClipRect(), VirtualScreen()));
    EXPECT_EQ(CursorCounter(), shownCounter);
    EXPECT_EQ(window.PumpTimerTicks(100), 0) << "the re-clip timer kept running";

    host.SetPointerLockEnabled(false);
    EXPECT_TRUE(bridge.TakePosts().empty());
    EXPECT_EQ(CursorCounter(), shownCounter);
}

TEST(PointerLockState, AFailedRegistrationIsAnsweredWithTheSystemError) {
    // Raw input for a sink needs a target window; without one the system refuses.
    BridgeHost bridge(nullptr);
    PallantWebView& host = bridge.host();
    const int shownCounter = CursorCounter();
    ClipCursor(nullptr);

    host.SetPointerLockEnabled(true);
    EXPECT_EQ(bridge.TakePosts(), Posts{R"({"error":87,"isOk":false,"type":"set-pointer-lock-enabled-response"})"});
    // Nothing was done to the cursor; the request itself is remembered.
    EXPECT_TRUE(SameRect(ClipRect(), VirtualScreen()));
    EXPECT_EQ(CursorCounter(), shownCounter);
    EXPECT_TRUE(host.pointerLockEnabled);
    host.SetPointerLockEnabled(true);
    EXPECT_TRUE(bridge.TakePosts().empty());
}

}  // namespace
