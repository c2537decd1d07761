// The main window: its size and styles at the prefix's DPI (AnyDpi.* also runs in a
// 144-DPI prefix) and the window operations the page asks for. Pointer lock's motion is
// the hardening test's (with another window in front) and client_live's (a real mouse).
#include <windows.h>

#include <cmath>
#include <cstdlib>

#include <gtest/gtest.h>

#include "e2e/edge_styler.h"
#include "host_checks.h"

namespace {

using e2e::LastBounds;
using e2e::SameRect;
using e2e::WindowAt;
using e2e_test::ExpectEnded;
using nlohmann::json;
using Posts = std::vector<std::string>;

constexpr long kFrameBits = 0x00FF0000;
constexpr long kCaptionAndSizingBorder = 0x00C40000;
constexpr long kEdgeExStyles = 0x00020301;

TEST(AnyDpi, TheWindowTakesItsConfiguredClientSizeAndStylesAndThePageMayResizeAndMoveIt) {
    struct Row {
        int dpi;
        std::string window;  // the "window" settings
        long frame;          // the style's frame bits once the first document has loaded
        long width;          // the client area in pixels
        long height;
    };
    const Row rows[] = {
        {96, R"("width": 900, "height": 700)", 0x00CF0000, 900, 700},
        {96, R"("resizable": false)", 0x00CA0000, 1024, 768},
        {96, R"("caption": false, "width": 800, "height": 600)", 0, 800, 600},
        // Half pixels round up.
        {144, R"("resizable": false, "width": 301, "height": 201)", 0x00CA0000, 452, 302},
        {144, R"("caption": false, "resizable": false)", 0, 1536, 1152},
    };
    const int dpi = e2e::SystemDpi();
    const char* prefixDpi = std::getenv("TESSARINE_DPI");  // set for the 144-DPI run
    ASSERT_EQ(dpi, prefixDpi ? std::atoi(prefixDpi) : 96) << "the Wine prefix lost its DPI";
    const auto scaled = [dpi](int value) { return static_cast<long>(std::ceil(value * dpi / 96.0)); };
    for (const Row& row : rows) {
        if (row.dpi != dpi) continue;
        SCOPED_TRACE(row.window);
        auto app = e2e::MakeApp("geometry",
                                R"({"name": "Geometry", "window": {"title": "Geometry App", )" + row.window + "}}");
        e2e::Scenario scenario;
        const int hidden = scenario.RecordWindow();
        scenario.Add("dom-content-loaded");
        const int shown = scenario.RecordWindow();
        // Neither a missing title bar nor a fixed border keeps the page from sizing the window.
        const int resize = scenario.Message(e2e::SizeMessage("640", "480"));
        scenario.Message(e2e::PositionMessage("100", "50"));
        const int moved = scenario.RecordWindow();
        scenario.Add("close-window");
        const e2e::HostRun run = e2e::RunScenario(*app, scenario);
        ExpectEnded(run, 0);

        const auto before = WindowAt(run.transcript, hidden);
        const auto after = WindowAt(run.transcript, shown);
        EXPECT_FALSE(before.visible);
        EXPECT_TRUE(after.visible) << run.Describe();
        EXPECT_EQ(after.text, "Geometry App");
        EXPECT_EQ(after.style & kFrameBits, row.frame) << std::hex << after.style;
        EXPECT_EQ(after.style & static_cast<long>(0xC0000000), 0) << "no popup or child window";
        EXPECT_EQ(after.exStyle & ~0x100L, 0) << "only the system's window edge may be added";
        EXPECT_EQ(after.clientWidth, row.width);
        EXPECT_EQ(after.clientHeight, row.height);
        // The title bar goes only once the first document is there.
        EXPECT_EQ(before.style & kFrameBits, row.frame ? row.frame : 0x00C00000) << std::hex << before.style;
        const auto last = WindowAt(run.transcript, moved);
        EXPECT_EQ(LastBounds(run.transcript, resize), json::array({0, 0, scaled(640), scaled(480)}));
        EXPECT_EQ(last.clientWidth, scaled(640));
        EXPECT_EQ(last.clientHeight, scaled(480));
        EXPECT_EQ(last.windowRect.left, scaled(100));
        EXPECT_EQ(last.windowRect.top, scaled(50));
    }
}

TEST(Window, PageOperationsSizeMoveFullscreenAndFocusIt) {
    auto app = e2e::MakeApp("operations", R"({"name": "Operations"})");
    e2e::Scenario scenario;
    scenario.Add("dom-content-loaded");
    scenario.Add("wait 1000");  // for the edge styles
    const int start = scenario.RecordWindow();
    const int resize = scenario.Message(e2e::SizeMessage("800", "600"));
    const int resized = scenario.RecordWindow();
    // Sizes below 1, also where members of the wrong kind take their default 0 (a float
    // beyond 32 bits gives the minimum): nothing happens.
    for (const char* width : {"0", "-1", "\"800\"", "true", "1e10"}) scenario.Message(e2e::SizeMessage(width, "600"));
    scenario.Message(R"({"type":"set-window-size","windowWidth":800})");
    const int unchanged = scenario.RecordWindow();
    // Floats are cut toward zero, integers keep their low 32 bits (2^32 + 640).
    scenario.Message(e2e::SizeMessage("4294967936", "480.99"));
    const int cut = scenario.RecordWindow();
    scenario.Message(e2e::PositionMessage("100", "50"));
    const int moved = scenario.RecordWindow();
    // A string coordinate is 0; negative ones are passed on. A flag that is not a boolean
    // is false: leaving fullscreen while windowed does nothing.
    scenario.Message(e2e::PositionMessage("\"100\"", "-30"));
    scenario.Message(R"({"type":"set-fullscreen","fullscreen":"true"})");
    const int windowed = scenario.RecordWindow();
    const int enter = scenario.Message(R"({"type":"set-fullscreen","fullscreen":true})");
    scenario.Message(R"({"type":"set-fullscreen","fullscreen":true})");
    scenario.Message(e2e::SizeMessage("640", "480"));
    scenario.Message(e2e::PositionMessage("300", "300"));
    const int full = scenario.RecordWindow();
    scenario.Message(R"({"type":"set-fullscreen"})");
    const int left = scenario.RecordWindow();
    // The same through the page's own fullscreen element.
    scenario.Add("fullscreen 1");
    const int elementFull = scenario.RecordWindow();
    scenario.Add("fullscreen 0");
    const int elementLeft = scenario.RecordWindow();
    const int focus = scenario.Message(R"({"type":"focus-window"})");
    scenario.Add("close-window");
    e2e::EdgeStyler styler(kEdgeExStyles | WS_EX_ACCEPTFILES);
    const e2e::HostRun run = e2e::RunScenario(*app, scenario);
    ExpectEnded(run, 0);
    ASSERT_EQ(e2e::SystemDpi(), 96) << "the sizes below are for a 96-DPI prefix";

    const RECT first = WindowAt(run.transcript, start).windowRect;
    const auto sized = WindowAt(run.transcript, resized);
    EXPECT_EQ(std::make_pair(sized.clientWidth, sized.clientHeight), std::make_pair(800L, 600L));
    EXPECT_EQ(std::make_pair(sized.windowRect.left, sized.windowRect.top), std::make_pair(first.left, first.top));
    EXPECT_EQ(LastBounds(run.transcript, resize), json::array({0, 0, 800, 600}));
    EXPECT_TRUE(SameRect(WindowAt(run.transcript, unchanged).windowRect, sized.windowRect));
    const auto small = WindowAt(run.transcript, cut);
    EXPECT_EQ(std::make_pair(small.clientWidth, small.clientHeight), std::make_pair(640L, 480L));
    const long width = small.windowRect.right - small.windowRect.left;
    const long height = small.windowRect.bottom - small.windowRect.top;
    EXPECT_TRUE(SameRect(WindowAt(run.transcript, moved).windowRect, RECT{100, 50, 100 + width, 50 + height}));
    const auto before = WindowAt(run.transcript, windowed);
    EXPECT_TRUE(SameRect(before.windowRect, RECT{0, -30, width, height - 30})) << e2e::RectText(before.windowRect);
    ASSERT_EQ(before.exStyle & (kEdgeExStyles | WS_EX_ACCEPTFILES), kEdgeExStyles | WS_EX_ACCEPTFILES)
        << "the test could not give the window its edges";

    // Fullscreen drops the frame and covers the monitor; leaving restores everything exactly.
    const RECT monitor = e2e::PrimaryMonitorRect();
    for (const int line : {full, elementFull, left, elementLeft}) {
        const bool isFull = line == full || line == elementFull;
        const auto state = WindowAt(run.transcript, line);
        EXPECT_EQ(state.style, isFull ? before.style & ~kCaptionAndSizingBorder : before.style) << line;
        EXPECT_EQ(state.exStyle, isFull ? before.exStyle & ~kEdgeExStyles : before.exStyle) << line;
        EXPECT_TRUE(SameRect(state.windowRect, isFull ? monitor : before.windowRect))
            << e2e::RectText(state.windowRect);
    }
    EXPECT_EQ(LastBounds(run.transcript, enter),
              json::array({0, 0, monitor.right - monitor.left, monitor.bottom - monitor.top}));

    // Maximize, minimize and restore with their notices: client_live's, in the real engine.
    // Focus goes to the browser.
    for (const int line : {resize, enter, focus}) EXPECT_EQ(e2e::PostsDuring(run.transcript, line), Posts{}) << line;
    EXPECT_EQ(e2e::Values(run.transcript, "Controller.MoveFocus", "reason").back(), 0);
    EXPECT_FALSE(e2e::CallsDuring(run.transcript, focus, "Controller.MoveFocus").empty());
}

}  // namespace
