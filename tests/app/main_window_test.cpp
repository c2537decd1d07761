// Windows-only: page sizes become device pixels.
#include <windows.h>

#include <gtest/gtest.h>

#include <climits>

#include "app/window_metrics.h"

TEST(MainWindow, ScaleForDpiRoundsUpAtTheMonitorsDpiAndKeepsPageValuesInRange) {
    struct Row {
        int32_t value;
        uint32_t dpi;
        int32_t pixels;
    };
    const Row rows[] = {
        {1024, 96, 1024},
        {-3, 96, -3},
        {1024, 144, 1536},
        {768, 144, 1152},
        {101, 144, 152},
        {3, 120, 4},
        {-3, 120, -3},
        {1280, 192, 2560},
        {1, 168, 2},
        {0, 288, 0},
        {INT_MAX, 96, INT_MAX},
        {INT_MIN, 96, INT_MIN},
        {INT_MAX, 144, INT_MAX},
        {INT_MIN, 192, INT_MIN},
        {2000000000, 120, INT_MAX},
    };
    for (const Row& row : rows)
        EXPECT_EQ(ScaleForDpi(row.value, row.dpi), row.pixels) << row.value << " at " << row.dpi;
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
