// Raw mouse samples while the pointer is locked: absolute positions become
// differences, relative motion is passed on, samples without motion post nothing.
#include <windows.h>

#include <gtest/gtest.h>

#include "bridge_host.h"

namespace {

using bridge_test::BridgeHost;
using Posts = std::vector<std::string>;

std::string Movement(int dx, int dy) {
    return R"({"movementX":)" + std::to_string(dx) + R"(,"movementY":)" + std::to_string(dy) +
           R"(,"type":"pointer-lock-movement"})";
}

RAWMOUSE Sample(USHORT flags, LONG x, LONG y) {
    RAWMOUSE mouse{};
    mouse.usFlags = flags;
    mouse.lLastX = x;
    mouse.lLastY = y;
    return mouse;
}

// Turns the lock on for a window of the test, so the host is in the state raw input
// arrives in, and forgets the answer.
class LockedHost {
public:
    LockedHost() : window_(100, 50, 300, 200), bridge_(window_.handle()) {
        bridge_.host().SetPointerLockEnabled(true);
        bridge_.TakePosts();
    }
    ~LockedHost() { bridge_.host().SetPointerLockEnabled(false); }
    PallantWebView& host() { return bridge_.host(); }
    BridgeHost& bridge() { return bridge_; }

private:
    bridge_test::TestWindow window_;
    BridgeHost bridge_;
};

TEST(RawMouse, AbsoluteSamplesPostTheDistanceFromThePreviousOne) {
    const int width = GetSystemMetrics(SM_CXSCREEN);
    const int height = GetSystemMetrics(SM_CYSCREEN);
    LockedHost locked;
    // The first sample after locking only sets the reference.
    locked.host().OnRawMouse(Sample(MOUSE_MOVE_ABSOLUTE, 0, 0));
    EXPECT_TRUE(locked.bridge().TakePosts().empty());
    // 0..65535 spans the whole primary screen.
    locked.host().OnRawMouse(Sample(MOUSE_MOVE_ABSOLUTE, 65535, 65535));
    EXPECT_EQ(locked.bridge().TakePosts(), Posts{Movement(width, height)});
    locked.host().OnRawMouse(Sample(MOUSE_MOVE_ABSOLUTE, 0, 65535));
    EXPECT_EQ(locked.bridge().TakePosts(), Posts{Movement(-width, 0)});
    // The same position again: a zero movement is still reported.
    locked.host().OnRawMouse(Sample(MOUSE_MOVE_ABSOLUTE, 0, 65535));
    EXPECT_EQ(locked.bridge().TakePosts(), Posts{Movement(0, 0)});

    // Relative samples leave the absolute reference alone.
    locked.host().OnRawMouse(Sample(MOUSE_MOVE_RELATIVE, 40, 40));
    locked.bridge().TakePosts();
    locked.host().OnRawMouse(Sample(MOUSE_MOVE_ABSOLUTE, 65535, 0));
    EXPECT_EQ(locked.bridge().TakePosts(), Posts{Movement(width, -height)});
}

TEST(RawMouse, VirtualDesktopSamplesSpanTheVirtualScreen) {
    const int left = GetSystemMetrics(SM_XVIRTUALSCREEN);
    const int top = GetSystemMetrics(SM_YVIRTUALSCREEN);
    const int width = GetSystemMetrics(SM_CXVIRTUALSCREEN);
    const int height = GetSystemMetrics(SM_CYVIRTUALSCREEN);
    LockedHost locked;
    const USHORT virtualAbsolute = MOUSE_MOVE_ABSOLUTE | MOUSE_VIRTUAL_DESKTOP;
    locked.host().OnRawMouse(Sample(virtualAbsolute, 65535, 65535));
    EXPECT_TRUE(locked.bridge().TakePosts().empty());
    // The reference is the virtual screen's far corner; the primary screen's origin
    // seen through a plain absolute sample lies (left, top) from the virtual origin.
    locked.host().OnRawMouse(Sample(MOUSE_MOVE_ABSOLUTE, 0, 0));
    EXPECT_EQ(locked.bridge().TakePosts(), Posts{Movement(-(left + width), -(top + height))});
    locked.host().OnRawMouse(Sample(virtualAbsolute, 0, 0));
    EXPECT_EQ(locked.bridge().TakePosts(), Posts{Movement(left, top)});
}

TEST(RawMouse, RelativeSamplesPostTheirOwnDeltasAndNothingWithoutMotion) {
    LockedHost locked;
    locked.host().OnRawMouse(Sample(MOUSE_MOVE_RELATIVE, 0, 0));
    RAWMOUSE button = Sample(MOUSE_MOVE_RELATIVE, 0, 0);
    button.usButtonFlags = RI_MOUSE_LEFT_BUTTON_DOWN;
    locked.host().OnRawMouse(button);
    EXPECT_TRUE(locked.bridge().TakePosts().empty());

    locked.host().OnRawMouse(Sample(MOUSE_MOVE_RELATIVE, -3, 5));
    locked.host().OnRawMouse(Sample(MOUSE_MOVE_RELATIVE, 0, -1));
    locked.host().OnRawMouse(Sample(MOUSE_MOVE_RELATIVE, 2147483647, -2147483647 - 1));
    EXPECT_EQ(locked.bridge().TakePosts(),
              (Posts{Movement(-3, 5), Movement(0, -1), Movement(2147483647, -2147483647 - 1)}));
    // Relative motion does not use up the skipped first absolute sample.
    locked.host().OnRawMouse(Sample(MOUSE_MOVE_ABSOLUTE, 100, 100));
    EXPECT_TRUE(locked.bridge().TakePosts().empty());
}

TEST(RawMouse, LockingAgainSkipsTheFirstAbsoluteSampleAgain) {
    LockedHost locked;
    locked.host().OnRawMouse(Sample(MOUSE_MOVE_ABSOLUTE, 0, 0));
    locked.host().OnRawMouse(Sample(MOUSE_MOVE_ABSOLUTE, 65535, 65535));
    EXPECT_EQ(locked.bridge().TakePosts().size(), 1u);

    locked.host().SetPointerLockEnabled(false);
    locked.host().SetPointerLockEnabled(true);
    locked.bridge().TakePosts();
    // The old reference is forgotten: the next sample only sets the new one.
    locked.host().OnRawMouse(Sample(MOUSE_MOVE_ABSOLUTE, 65535, 65535));
    EXPECT_TRUE(locked.bridge().TakePosts().empty());
    locked.host().OnRawMouse(Sample(MOUSE_MOVE_ABSOLUTE, 65535, 0));
    EXPECT_EQ(locked.bridge().TakePosts(), Posts{Movement(0, -GetSystemMetrics(SM_CYSCREEN))});
}

}  // namespace
