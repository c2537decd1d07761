// Windows-only: page sizes become device pixels.
#include <windows.h>

#include <gtest/gtest.h>

#include <climits>

#include "app/window_metrics.h"

TEST(MainWindow, ScaleForDpiKeepsHugeAndTinyPageValuesInRange) {
    // Runs in a 96-DPI prefix: scale 1.
    EXPECT_EQ(ScaleForDpi(1024), 1024);
    EXPECT_EQ(ScaleForDpi(-3), -3);
    EXPECT_EQ(ScaleForDpi(INT_MAX), INT_MAX);
    EXPECT_EQ(ScaleForDpi(INT_MIN), INT_MIN);
}

TEST(MainWindow, OuterSizeAddsTheFrameWithoutOverflowingOnPageSentSizes) {
    const DWORD style = WS_OVERLAPPEDWINDOW;
    RECT frame{0, 0, 0, 0};
    AdjustWindowRectEx(&frame, style, FALSE, 0);
    const int32_t frameWidth = frame.right - frame.left;
    const int32_t frameHeight = frame.bottom - frame.top;
    ASSERT_GT(frameWidth, 0);
    struct Case {
        int32_t client;
        int32_t width;
        int32_t height;
    };
    for (const Case& c :
         {Case{800, 800 + frameWidth, 800 + frameHeight}, Case{INT_MAX - 1, INT_MAX, INT_MAX},
          Case{INT_MAX, INT_MAX, INT_MAX}, Case{INT_MIN, INT_MIN + frameWidth, INT_MIN + frameHeight}}) {
        const OuterSize outer = OuterSizeForClient(c.client, c.client, style, 0);
        EXPECT_EQ(outer.width, c.width) << c.client;
        EXPECT_EQ(outer.height, c.height) << c.client;
    }
}
