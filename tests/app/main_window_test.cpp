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
    RECT frame{0, 0, 0, 0};
    AdjustWindowRectEx(&frame, WS_OVERLAPPEDWINDOW, FALSE, 0);
    const int32_t border = frame.right - frame.left;
    ASSERT_GT(border, 0);
    for (const auto& [client, outer] : {std::pair<int32_t, int32_t>{800, 800 + border},
                                        {INT_MAX - 1, INT_MAX},
                                        {INT_MAX, INT_MAX},
                                        {INT_MIN, INT_MIN + border}}) {
        EXPECT_EQ(OuterSizeForClient(client, 600, WS_OVERLAPPEDWINDOW, 0).width, outer) << client;
    }
    EXPECT_EQ(OuterSizeForClient(800, INT_MAX, WS_OVERLAPPEDWINDOW, 0).height, INT_MAX);
}
