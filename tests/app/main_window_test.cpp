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
