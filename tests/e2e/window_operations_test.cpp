// Window operations the page asks for: client size, position, fullscreen, the show
// commands with their notices, and focus. Dpi144.* runs in a 144-DPI prefix.
#include <windows.h>

#include <atomic>
#include <thread>

#include <gtest/gtest.h>

#include "host_test_support.h"
#include "page_bridge_support.h"

namespace {

using bridge_e2e::Scenario;
using bridge_e2e::WindowAt;
using nlohmann::json;

constexpr long kCaptionAndSizingBorder = 0x00C40000;
constexpr long kEdgeExStyles = 0x00020301;

std::string SizeMessage(int width, int height) {
    return R"({"type":"set-window-size","windowWidth":)" + std::to_string(width) + R"(,"windowHeight":)" +
           std::to_string(height) + "}";
}

std::string PositionMessage(int x, int y) {
    return R"({"type":"set-window-position","windowX":)" + std::to_string(x) + R"(,"windowY":)" + std::to_string(y) +
           "}";
}

const char kEnterFullscreen[] = R"({"type":"set-fullscreen","fullscreen":true})";
const char kLeaveFullscreen[] = R"({"type":"set-fullscreen","fullscreen":false})";

// The bounds the browser control got last while the step ran.
json LastBounds(const e2e::Transcript& transcript, int line) {
    const auto calls = bridge_e2e::CallsDuring(transcript, line, "Controller.put_Bounds");
    return calls.empty() ? json() : calls.back()["value"];
}

TEST(Dpi96, SetWindowSizeSetsTheClientAreaUnlessInvalidOrFullscreen) {
    ASSERT_EQ(e2e_test::SystemDpi(), 96) << "this suite expects a 96-DPI prefix";
    auto app = e2e_test::MakeApp(R"({"name": "Sizes", "window": {"width": 1024, "height": 768}})");
    Scenario scenario;
    scenario.Add("dom-content-loaded");
    const int start = scenario.RecordWindow();
    const int resize = scenario.Message(SizeMessage(800, 600));
    const int resized = scenario.RecordWindow();
    for (const auto& [width, height] : std::vector<std::pair<int, int>>{{0, 600}, {800, 0}, {-640, 480}, {640, -1}}) {
        scenario.Message(SizeMessage(width, height));
    }
    const int afterInvalid = scenario.RecordWindow();
    scenario.Message(kEnterFullscreen);
    scenario.Message(SizeMessage(640, 480));
    const int duringFullscreen = scenario.RecordWindow();
    scenario.Message(kLeaveFullscreen);
    const int afterFullscreen = scenario.RecordWindow();
    scenario.Add("close-window");
    const e2e::HostRun run = bridge_e2e::RunScenario(*app, scenario);
    e2e_test::ExpectEnded(run, 0);

    const auto before = WindowAt(run.transcript, start);
    ASSERT_TRUE(before.found) << run.Describe();
    const auto after = WindowAt(run.transcript, resized);
    EXPECT_EQ(after.clientWidth, 800);
    EXPECT_EQ(after.clientHeight, 600);
    // Only the size changes; the browser control follows the client area.
    EXPECT_EQ(after.windowRect.left, before.windowRect.left);
    EXPECT_EQ(after.windowRect.top, before.windowRect.top);
    EXPECT_EQ(after.style, before.style);
    EXPECT_EQ(LastBounds(run.transcript, resize), json::array({0, 0, 800, 600})) << run.Describe();
    EXPECT_TRUE(bridge_e2e::PostsDuring(run.transcript, resize).empty());

    const auto invalid = WindowAt(run.transcript, afterInvalid);
    EXPECT_TRUE(bridge_e2e::SameRect(invalid.windowRect, after.windowRect)) << bridge_e2e::RectText(invalid.windowRect);
    const auto full = WindowAt(run.transcript, duringFullscreen);
    EXPECT_TRUE(bridge_e2e::SameRect(full.windowRect, bridge_e2e::PrimaryMonitorRect()))
        << bridge_e2e::RectText(full.windowRect);
    const auto back = WindowAt(run.transcript, afterFullscreen);
    EXPECT_TRUE(bridge_e2e::SameRect(back.windowRect, after.windowRect)) << bridge_e2e::RectText(back.windowRect);
    EXPECT_EQ(back.clientWidth, 800);

    // Without title bar or sizing border the client area is sized all the same.
    auto bare = e2e_test::MakeApp(R"({"name": "Bare Sizes", "window": {"caption": false, "resizable": false}})");
    Scenario bareScenario;
    bareScenario.Add("dom-content-loaded");
    bareScenario.Message(SizeMessage(640, 480));
    const int bareResized = bareScenario.RecordWindow();
    bareScenario.Add("close-window");
    const e2e::HostRun bareRun = bridge_e2e::RunScenario(*bare, bareScenario);
    e2e_test::ExpectEnded(bareRun, 0);
    const auto bareAfter = WindowAt(bareRun.transcript, bareResized);
    ASSERT_TRUE(bareAfter.found) << bareRun.Describe();
    EXPECT_EQ(bareAfter.style & 0x00C00000, 0);
    EXPECT_EQ(bareAfter.clientWidth, 640);
    EXPECT_EQ(bareAfter.clientHeight, 480);
}

TEST(Dpi144, SetWindowSizeAndPositionScaleWithTheSystemDpi) {
    ASSERT_EQ(e2e_test::SystemDpi(), 144) << "this suite needs a 144-DPI prefix (TESSARINE_DPI=144)";
    auto app = e2e_test::MakeApp(R"({"name": "Sizes 144"})");
    Scenario scenario;
    scenario.Add("dom-content-loaded");
    const int resize = scenario.Message(SizeMessage(800, 600));
    const int resized = scenario.RecordWindow();
    scenario.Message(PositionMessage(100, 50));
    const int moved = scenario.RecordWindow();
    scenario.Add("close-window");
    const e2e::HostRun run = bridge_e2e::RunScenario(*app, scenario);
    e2e_test::ExpectEnded(run, 0);

    const auto after = WindowAt(run.transcript, resized);
    ASSERT_TRUE(after.found) << run.Describe();
    EXPECT_EQ(after.clientWidth, 1200);
    EXPECT_EQ(after.clientHeight, 900);
    EXPECT_EQ(LastBounds(run.transcript, resize), json::array({0, 0, 1200, 900})) << run.Describe();
    const auto corner = WindowAt(run.transcript, moved);
    EXPECT_EQ(corner.windowRect.left, 150);
    EXPECT_EQ(corner.windowRect.top, 75);
    EXPECT_EQ(corner.clientWidth, 1200);
}

TEST(Dpi96, SetWindowPositionMovesTheOuterCornerUnlessFullscreen) {
    ASSERT_EQ(e2e_test::SystemDpi(), 96) << "this suite expects a 96-DPI prefix";
    auto app = e2e_test::MakeApp(R"({"name": "Positions"})");
    Scenario scenario;
    scenario.Add("dom-content-loaded");
    const int start = scenario.RecordWindow();
    const int move = scenario.Message(PositionMessage(100, 50));
    const int moved = scenario.RecordWindow();
    // Off-screen positions are passed on unchanged.
    scenario.Message(PositionMessage(-30, 20));
    const int offScreen = scenario.RecordWindow();
    scenario.Message(kEnterFullscreen);
    const int ignored = scenario.Message(PositionMessage(300, 300));
    const int duringFullscreen = scenario.RecordWindow();
    scenario.Message(kLeaveFullscreen);
    const int afterFullscreen = scenario.RecordWindow();
    scenario.Add("close-window");
    const e2e::HostRun run = bridge_e2e::RunScenario(*app, scenario);
    e2e_test::ExpectEnded(run, 0);

    const auto before = WindowAt(run.transcript, start);
    ASSERT_TRUE(before.found) << run.Describe();
    const long width = before.windowRect.right - before.windowRect.left;
    const long height = before.windowRect.bottom - before.windowRect.top;
    const auto first = WindowAt(run.transcript, moved);
    EXPECT_TRUE(bridge_e2e::SameRect(first.windowRect, RECT{100, 50, 100 + width, 50 + height}))
        << bridge_e2e::RectText(first.windowRect);
    EXPECT_TRUE(bridge_e2e::PostsDuring(run.transcript, move).empty());
    const auto second = WindowAt(run.transcript, offScreen);
    EXPECT_TRUE(bridge_e2e::SameRect(second.windowRect, RECT{-30, 20, -30 + width, 20 + height}))
        << bridge_e2e::RectText(second.windowRect);
    const auto full = WindowAt(run.transcript, duringFullscreen);
    EXPECT_TRUE(bridge_e2e::SameRect(full.windowRect, bridge_e2e::PrimaryMonitorRect()))
        << bridge_e2e::RectText(full.windowRect);
    EXPECT_TRUE(bridge_e2e::PostsDuring(run.transcript, ignored).empty());
    const auto back = WindowAt(run.transcript, afterFullscreen);
    EXPECT_TRUE(bridge_e2e::SameRect(back.windowRect, second.windowRect)) << bridge_e2e::RectText(back.windowRect);
}

// Gives the host's window, once shown, every edge style that fullscreen removes and one
// it keeps, so that restoring the extended style shows (the host creates it with none).
class EdgeStyler {
public:
    EdgeStyler()
        : thread_([this] {
              for (int i = 0; i < 3000 && !done_; ++i) {
                  HWND window = FindWindowW(L"Tessarine", nullptr);
                  if (window && IsWindowVisible(window)) {
                      SetWindowLongW(window, GWL_EXSTYLE,
                                     GetWindowLongW(window, GWL_EXSTYLE) | kEdgeExStyles | WS_EX_ACCEPTFILES);
                      SetWindowPos(window, nullptr, 0, 0, 0, 0,
                                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
                      return;
                  }
                  Sleep(5);
              }
          }) {}
    ~EdgeStyler() {
        done_ = true;
        thread_.join();
    }

private:
    std::atomic<bool> done_{false};
    std::thread thread_;
};

TEST(WindowOperations, FullscreenDropsTheFrameCoversTheMonitorAndRestoresExactly) {
    auto app = e2e_test::MakeApp(R"({"name": "Fullscreen"})");
    Scenario scenario;
    scenario.Add("dom-content-loaded");
    scenario.Add("wait 1000");
    // Away from the corner, so a restore to the monitor origin would show.
    scenario.Message(PositionMessage(120, 80));
    const int windowed = scenario.RecordWindow();
    const int enter = scenario.Message(kEnterFullscreen);
    const int entered = scenario.RecordWindow();
    scenario.Message(kEnterFullscreen);
    const int enteredTwice = scenario.RecordWindow();
    // Without the member the page asks to leave.
    scenario.Message(R"({"type":"set-fullscreen"})");
    const int left = scenario.RecordWindow();
    // The same through the page's own fullscreen element.
    scenario.Add("fullscreen 1");
    const int elementEntered = scenario.RecordWindow();
    scenario.Add("fullscreen 0");
    const int elementLeft = scenario.RecordWindow();
    scenario.Add("close-window");
    EdgeStyler styler;
    const e2e::HostRun run = bridge_e2e::RunScenario(*app, scenario);
    e2e_test::ExpectEnded(run, 0);

    const RECT monitor = bridge_e2e::PrimaryMonitorRect();
    const auto before = WindowAt(run.transcript, windowed);
    ASSERT_TRUE(before.found) << run.Describe();
    ASSERT_NE(before.style & kCaptionAndSizingBorder, 0) << "the window should start with a frame";
    ASSERT_EQ(before.exStyle & (kEdgeExStyles | WS_EX_ACCEPTFILES), kEdgeExStyles | WS_EX_ACCEPTFILES)
        << "the test could not give the window its edges";
    for (const int line : {entered, enteredTwice, elementEntered}) {
        SCOPED_TRACE("record-window at scenario line " + std::to_string(line));
        const auto full = WindowAt(run.transcript, line);
        EXPECT_EQ(full.style, before.style & ~kCaptionAndSizingBorder);
        EXPECT_EQ(full.exStyle, before.exStyle & ~kEdgeExStyles);
        EXPECT_TRUE(bridge_e2e::SameRect(full.windowRect, monitor)) << bridge_e2e::RectText(full.windowRect);
        EXPECT_EQ(full.clientWidth, monitor.right - monitor.left);
        EXPECT_EQ(full.clientHeight, monitor.bottom - monitor.top);
    }
    EXPECT_EQ(LastBounds(run.transcript, enter),
              json::array({0, 0, monitor.right - monitor.left, monitor.bottom - monitor.top}));
    EXPECT_TRUE(bridge_e2e::PostsDuring(run.transcript, enter).empty());
    for (const int line : {left, elementLeft}) {
        SCOPED_TRACE("record-window at scenario line " + std::to_string(line));
        const auto back = WindowAt(run.transcript, line);
        EXPECT_EQ(back.style, before.style);
        EXPECT_EQ(back.exStyle, before.exStyle);
        EXPECT_TRUE(bridge_e2e::SameRect(back.windowRect, before.windowRect)) << bridge_e2e::RectText(back.windowRect);
        EXPECT_EQ(back.clientWidth, before.clientWidth);
        EXPECT_EQ(back.clientHeight, before.clientHeight);
    }
}

TEST(WindowOperations, MaximizeAndMinimizeAreReportedRestoreIsNotAndFocusGoesToTheBrowser) {
    auto app = e2e_test::MakeApp(R"({"name": "Show Commands"})");
    Scenario scenario;
    scenario.Add("dom-content-loaded");
    const int maximize = scenario.Message(R"({"type":"maximize-window"})");
    const int maximized = scenario.RecordWindow();
    const int restoreFromMaximized = scenario.Message(R"({"type":"restore-window"})");
    const int restored = scenario.RecordWindow();
    const int minimize = scenario.Message(R"({"type":"minimize-window"})");
    const int minimized = scenario.RecordWindow();
    const int restoreFromMinimized = scenario.Message(R"({"type":"restore-window"})");
    const int restoredAgain = scenario.RecordWindow();
    const int focus = scenario.Message(R"({"type":"focus-window"})");
    scenario.Add("close-window");
    const e2e::HostRun run = bridge_e2e::RunScenario(*app, scenario);
    e2e_test::ExpectEnded(run, 0);

    EXPECT_EQ(bridge_e2e::PostsDuring(run.transcript, maximize),
              std::vector<std::string>{R"({"type":"window-maximized"})"})
        << run.Describe();
    EXPECT_TRUE(WindowAt(run.transcript, maximized).maximized);
    EXPECT_TRUE(bridge_e2e::PostsDuring(run.transcript, restoreFromMaximized).empty());
    EXPECT_FALSE(WindowAt(run.transcript, restored).maximized);
    EXPECT_EQ(bridge_e2e::PostsDuring(run.transcript, minimize),
              std::vector<std::string>{R"({"type":"window-minimized"})"})
        << run.Describe();
    EXPECT_TRUE(WindowAt(run.transcript, minimized).minimized);
    EXPECT_TRUE(bridge_e2e::PostsDuring(run.transcript, restoreFromMinimized).empty());
    const auto last = WindowAt(run.transcript, restoredAgain);
    EXPECT_FALSE(last.minimized);
    EXPECT_FALSE(last.maximized);

    const auto focusCalls = bridge_e2e::CallsDuring(run.transcript, focus, "Controller.MoveFocus");
    ASSERT_FALSE(focusCalls.empty()) << run.Describe();
    for (const auto& call : focusCalls) EXPECT_EQ(call["reason"], 0);
    EXPECT_TRUE(bridge_e2e::PostsDuring(run.transcript, focus).empty());
}

}  // namespace
