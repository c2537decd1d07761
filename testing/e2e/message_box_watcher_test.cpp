// The watcher against boxes this test shows itself: it must read caption and text
// exactly, tell the icons apart, and press OK.
#include <windows.h>

#include <gtest/gtest.h>

#include <thread>

#include "e2e/icon_kind.h"
#include "e2e/message_box_watcher.h"
#include "util/text_convert.h"

namespace {

using e2e::IconKind;

struct ShownBox {
    std::vector<e2e::MessageBoxRecord> seen;
    int result = 0;
    int stuck = 0;
};

ShownBox ShowAndWatch(const std::string& caption, const std::string& text, UINT style) {
    ShownBox shown;
    e2e::MessageBoxWatcher watcher(GetCurrentProcessId());
    std::thread box(
        [&] { shown.result = MessageBoxW(nullptr, Utf8ToWide(text).c_str(), Utf8ToWide(caption).c_str(), style); });
    box.join();
    watcher.Stop();
    shown.seen = watcher.Boxes();
    shown.stuck = watcher.StuckBoxes();
    return shown;
}

TEST(MessageBoxWatcher, ReadsTextAndTellsIconsApartThenPressesOk) {
    struct Case {
        UINT style;
        IconKind icon;
    };
    const Case cases[] = {
        {MB_OK | MB_ICONERROR, IconKind::Error},
        {MB_OK | MB_ICONWARNING, IconKind::Warning},
        {MB_OK | MB_ICONINFORMATION, IconKind::Information},
        {MB_OK, IconKind::None},
    };
    const std::string text =
        "Line one. Gr\xC3\xBC\xC3\x9F"
        "e \xE2\x80\x93 \xE2\x9C\x93 & more";
    for (const Case& c : cases) {
        const std::string caption = "Watcher " + e2e::IconKindName(c.icon);
        ShownBox shown = ShowAndWatch(caption, text, c.style);
        ASSERT_EQ(shown.seen.size(), 1u) << caption;
        EXPECT_EQ(shown.seen[0].caption, caption);
        EXPECT_EQ(shown.seen[0].text, text) << caption;
        EXPECT_EQ(e2e::IconKindName(shown.seen[0].icon), e2e::IconKindName(c.icon)) << caption;
        EXPECT_EQ(shown.result, IDOK) << caption;
        EXPECT_EQ(shown.stuck, 0) << caption;
        EXPECT_EQ(e2e::FormatMessageBoxLine(shown.seen[0]), caption + " | " + text + " | " + e2e::IconKindName(c.icon));
    }
}

TEST(MessageBoxWatcher, LeavesOtherProcessesAndPlainAreasAlone) {
    // Boxes of this process are not boxes of another one.
    e2e::MessageBoxWatcher watcher(GetCurrentProcessId() + 4);
    std::thread box([] { MessageBoxW(nullptr, L"not watched", L"Elsewhere", MB_OK); });
    Sleep(1500);
    const auto seen = watcher.Boxes();
    for (HWND window : e2e::FindMessageBoxes(GetCurrentProcessId())) e2e::DismissMessageBox(window);
    box.join();
    watcher.Stop();
    EXPECT_TRUE(seen.empty());

    // Grey, white and black areas, or a few coloured pixels, are no icon.
    std::vector<uint32_t> plain(32 * 32, 0xF0F0F0);
    EXPECT_EQ(e2e::ClassifyIconPixels(plain), IconKind::Unknown);
    for (size_t i = 0; i < 20; ++i) plain[i] = 0xFF0000;
    EXPECT_EQ(e2e::ClassifyIconPixels(plain), IconKind::Unknown);
    EXPECT_EQ(e2e::ClassifyIconPixels({}), IconKind::Unknown);
}

}  // namespace
