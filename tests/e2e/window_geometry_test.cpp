// The main window's client size and styles, at the system DPI of the Wine prefix the
// test runs in (Dpi144.* runs in a prefix set to 144 DPI).
#include <gtest/gtest.h>

#include "host_test_support.h"

namespace {

using nlohmann::json;

constexpr long kCaption = 0x00C00000;    // title bar and border
constexpr long kFrameBits = 0x00FF0000;  // caption, border, scroll bars, system menu, sizing, boxes
constexpr long kPopupOrChild = static_cast<long>(0xC0000000);

struct Geometry {
    bool caption;
    bool resizable;
    int width;  // configured, 96-DPI units
    int height;
    int clientWidth;  // expected, pixels
    int clientHeight;
    long frameStyle;  // expected kFrameBits once the first document has loaded
};

std::string Describe(const Geometry& g) {
    return "caption " + std::to_string(g.caption) + ", resizable " + std::to_string(g.resizable) + ", " +
           std::to_string(g.width) + "x" + std::to_string(g.height);
}

json ClientSize(const json& record) {
    const json& rect = record["clientRect"];
    return json::array({rect[2].get<long>() - rect[0].get<long>(), rect[3].get<long>() - rect[1].get<long>()});
}

void CheckGeometry(const Geometry& g) {
    SCOPED_TRACE(Describe(g));
    auto app = e2e_test::MakeApp(json{{"name", "Geometry"},
                                      {"window",
                                       {{"title", "Geometry App"},
                                        {"width", g.width},
                                        {"height", g.height},
                                        {"caption", g.caption},
                                        {"resizable", g.resizable}}}}
                                     .dump());
    e2e::HostRunOptions options;
    options.scenario = "record-window\ndom-content-loaded\nrecord-window\nclose-window\n";
    const e2e::HostRun run = RunHost(*app, options);
    e2e_test::ExpectEnded(run, 0);
    EXPECT_TRUE(run.boxes.empty()) << run.Describe();
    const auto records = run.transcript.Events("step:record-window");
    ASSERT_EQ(records.size(), 2u) << run.Describe();
    const json& before = records[0];
    const json& after = records[1];

    EXPECT_EQ(before["visible"], false);
    EXPECT_EQ(after["visible"], true);
    EXPECT_EQ(after["text"], "Geometry App");
    const long styleBefore = before["style"].get<long>();
    const long styleAfter = after["style"].get<long>();
    EXPECT_EQ(styleAfter & kFrameBits, g.frameStyle) << std::hex << styleAfter;
    EXPECT_EQ(styleAfter & kPopupOrChild, 0) << std::hex << styleAfter;
    EXPECT_EQ(after["exStyle"].get<long>() & ~0x100L, 0) << "only the system's window edge may be added";
    EXPECT_EQ(ClientSize(after), json::array({g.clientWidth, g.clientHeight})) << after.dump();
    if (g.caption) {
        // Nothing changes when the window is shown.
        EXPECT_EQ(styleBefore & kFrameBits, g.frameStyle) << std::hex << styleBefore;
        EXPECT_EQ(ClientSize(before), ClientSize(after));
    } else {
        // The title bar goes only once the first document is there.
        EXPECT_EQ(styleBefore & kCaption, kCaption) << std::hex << styleBefore;
    }
}

TEST(Dpi96, ClientSizeAndStylesFollowCaptionAndResizable) {
    ASSERT_EQ(e2e_test::SystemDpi(), 96) << "this suite expects a 96-DPI prefix";
    CheckGeometry({true, true, 1024, 768, 1024, 768, 0x00CF0000});
    CheckGeometry({true, false, 1024, 768, 1024, 768, 0x00CA0000});
    CheckGeometry({false, true, 1024, 768, 1024, 768, 0});
    CheckGeometry({false, false, 800, 600, 800, 600, 0});
}

TEST(Dpi144, ClientSizeScalesWithTheSystemDpi) {
    ASSERT_EQ(e2e_test::SystemDpi(), 144) << "this suite needs a 144-DPI prefix (TESSARINE_DPI=144)";
    CheckGeometry({true, true, 1024, 768, 1536, 1152, 0x00CF0000});
    CheckGeometry({false, true, 1024, 768, 1536, 1152, 0});
    // Half pixels round up (kept above the system's smallest window).
    CheckGeometry({true, false, 301, 201, 452, 302, 0x00CA0000});
}

}  // namespace
