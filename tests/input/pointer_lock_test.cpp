// Windows-only. Pointer lock on a real window and the real cursor: the clip, the
// cursor's place and display counter, the re-clip timer, the answers to the page,
// and raw mouse samples turned into movements.
#include "input/pointer_lock.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/pointer_lock_window.h"

namespace {

using Posts = std::vector<std::string>;
using test_support::ClipRect;
using test_support::CursorCounter;
using test_support::CursorPos;
using test_support::PointerLockWindow;
using test_support::VirtualScreen;

const char kEnabledReply[] = R"({"isEnabled":true,"isOk":true,"type":"set-pointer-lock-enabled-response"})";
const char kDisabledReply[] = R"({"isEnabled":false,"isOk":true,"type":"set-pointer-lock-enabled-response"})";

std::string Movement(int dx, int dy) {
    return R"({"movementX":)" + std::to_string(dx) + R"(,"movementY":)" + std::to_string(dy) +
           R"(,"type":"pointer-lock-movement"})";
}

TEST(PointerLock, ARefusedRegistrationIsAnsweredWithTheSystemErrorAndTouchesNothing) {
    // Raw input for a sink needs a target window; without one the system refuses.
    PointerLockWindow locked(0, 0, 0, 0, false);
    const int shown = CursorCounter();
    ClipCursor(nullptr);
    locked.lock->SetPointerLockEnabled(true);
    EXPECT_EQ(locked.TakePosts(), Posts{R"({"error":87,"isOk":false,"type":"set-pointer-lock-enabled-response"})"});
    EXPECT_EQ(ClipRect(), VirtualScreen());
    EXPECT_EQ(CursorCounter(), shown);
    // The request itself is remembered.
    locked.lock->SetPointerLockEnabled(true);
    EXPECT_TRUE(locked.TakePosts().empty());
    // Releasing a lock that never held the cursor must not show it one time too many.
    locked.lock->SetPointerLockEnabled(false);
    EXPECT_EQ(locked.TakePosts(), Posts{kDisabledReply});
    EXPECT_EQ(CursorCounter(), shown);
}

TEST(PointerLock, RawSamplesBecomeMovements) {
    const int width = GetSystemMetrics(SM_CXSCREEN);
    const int height = GetSystemMetrics(SM_CYSCREEN);
    const int left = GetSystemMetrics(SM_XVIRTUALSCREEN);
    const int top = GetSystemMetrics(SM_YVIRTUALSCREEN);
    const int virtualWidth = GetSystemMetrics(SM_CXVIRTUALSCREEN);
    const int virtualHeight = GetSystemMetrics(SM_CYVIRTUALSCREEN);
    constexpr USHORT absolute = MOUSE_MOVE_ABSOLUTE;
    constexpr USHORT virtualDesktop = MOUSE_MOVE_ABSOLUTE | MOUSE_VIRTUAL_DESKTOP;
    struct Sample {
        USHORT flags;
        LONG x, y;
        USHORT buttons;
        Posts expected;
    };
    // Applied in order after the lock is turned on; 0..65535 spans the (virtual) screen.
    const Sample samples[] = {
        {MOUSE_MOVE_RELATIVE, 0, 0, 0, {}},
        {MOUSE_MOVE_RELATIVE, 0, 0, RI_MOUSE_LEFT_BUTTON_DOWN, {}},
        {MOUSE_MOVE_RELATIVE, -3, 5, 0, {Movement(-3, 5)}},
        {MOUSE_MOVE_RELATIVE, 2147483647, -2147483647 - 1, 0, {Movement(2147483647, -2147483647 - 1)}},
        {absolute, 0, 0, 0, {}},  // the first absolute sample after locking only sets the reference
        {absolute, 65535, 65535, 0, {Movement(width, height)}},
        {absolute, 0, 65535, 0, {Movement(-width, 0)}},
        {absolute, 0, 65535, 0, {Movement(0, 0)}},
        {MOUSE_MOVE_RELATIVE, 40, 40, 0, {Movement(40, 40)}},  // leaves the reference alone
        {absolute, 65535, 0, 0, {Movement(width, -height)}},
        {virtualDesktop, 65535, 65535, 0, {Movement(left + virtualWidth - width, top + virtualHeight)}},
        {virtualDesktop, 0, 0, 0, {Movement(-virtualWidth, -virtualHeight)}},
    };
    PointerLockWindow locked(100, 50, 300, 200);
    locked.lock->SetPointerLockEnabled(true);
    locked.TakePosts();
    for (const Sample& sample : samples) {
        EXPECT_EQ(locked.Feed(sample.flags, sample.x, sample.y, sample.buttons), sample.expected)
            << sample.flags << " " << sample.x << "," << sample.y;
    }
    // Locking again forgets the reference: the next absolute sample only sets a new one.
    locked.lock->SetPointerLockEnabled(false);
    locked.lock->SetPointerLockEnabled(true);
    locked.TakePosts();
    EXPECT_EQ(locked.Feed(absolute, 65535, 0), Posts{});
    EXPECT_EQ(locked.Feed(absolute, 65535, 65535), Posts{Movement(0, height)});
    locked.lock->SetPointerLockEnabled(false);
}

// Window rectangle (100, 50) to (901, 650): the centre is (500, 350).
TEST(PointerLock, HoldsTheCursorInTheWindowCentreUntilAnotherWindowIsInFrontMinimisedOrDisabled) {
    PointerLockWindow locked(100, 50, 801, 600);
    ASSERT_EQ(GetForegroundWindow(), locked.window);
    const int shown = CursorCounter();
    locked.lock->SetPointerLockEnabled(true);
    EXPECT_EQ(locked.TakePosts(), Posts{kEnabledReply});
    // Repeated requests change nothing and are not answered: the cursor is hidden once.
    locked.lock->SetPointerLockEnabled(true);
    EXPECT_TRUE(locked.TakePosts().empty());
    EXPECT_EQ(CursorCounter(), shown - 1);

    struct Step {
        const char* what;
        void (*act)(HWND locked, HWND other);
        bool held;
    };
    // In each step the cursor is moved away; the re-clip timer brings back what is held.
    const Step steps[] = {
        {"another window in front", [](HWND, HWND other) { SetForegroundWindow(other); }, false},
        {"back in front", [](HWND locked, HWND) { SetForegroundWindow(locked); }, true},
        {"something else lifts the clip", [](HWND, HWND) { ClipCursor(nullptr); }, true},
        {"minimised", [](HWND locked, HWND) { ShowWindow(locked, SW_MINIMIZE); }, false},
        {"restored",
         [](HWND locked, HWND) {
             ShowWindow(locked, SW_RESTORE);
             SetForegroundWindow(locked);
         },
         true},
    };
    const HWND other = CreateWindowExW(0, L"STATIC", L"other", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 400, 400, 200, 100,
                                       nullptr, nullptr, nullptr, nullptr);
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        step.act(locked.window, other);
        EXPECT_GT(locked.PumpTimerTicks(100), 0) << "the lock itself stays on";
        SetCursorPos(20, 20);
        locked.PumpTimerTicks(50);
        EXPECT_EQ(CursorCounter(), step.held ? shown - 1 : shown);
        EXPECT_EQ(ClipRect(), step.held ? (std::vector<LONG>{100, 50, 901, 650}) : VirtualScreen());
        EXPECT_EQ(CursorPos(), step.held ? (std::vector<LONG>{500, 350}) : (std::vector<LONG>{20, 20}));
        EXPECT_EQ(locked.Feed(MOUSE_MOVE_RELATIVE, 3, 0), step.held ? Posts{Movement(3, 0)} : Posts{});
    }
    // A deactivation lets go at once, before the next tick.
    locked.lock->OnActivation(false);
    EXPECT_EQ(CursorCounter(), shown);
    EXPECT_EQ(ClipRect(), VirtualScreen());
    DestroyWindow(other);
    locked.lock->SetPointerLockEnabled(false);
    EXPECT_EQ(locked.TakePosts(), Posts{kDisabledReply});
    EXPECT_EQ(CursorCounter(), shown);
    EXPECT_EQ(ClipRect(), VirtualScreen());
    EXPECT_EQ(locked.PumpTimerTicks(100), 0) << "the re-clip timer kept running";
    EXPECT_EQ(locked.Feed(MOUSE_MOVE_RELATIVE, 3, 0), Posts{}) << "motion after the lock was off";
    locked.lock->SetPointerLockEnabled(false);
    EXPECT_EQ(locked.TakePosts(), Posts{}) << "an answer to a request that changes nothing";
    EXPECT_EQ(CursorCounter(), shown);
}

}  // namespace
