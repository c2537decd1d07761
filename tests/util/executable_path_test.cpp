#include "util/executable_path.h"

#include <gtest/gtest.h>

#include "util/file_query.h"

TEST(ExecutablePath, FullPathOfThisExecutableAndStable) {
    const std::string first = ExecutablePath();
    const std::string suffix = "\\util_tests.exe";
    ASSERT_GT(first.size(), suffix.size());
    EXPECT_EQ(first.compare(first.size() - suffix.size(), suffix.size(), suffix), 0) << first;
    EXPECT_EQ(first.rfind("\\\\?\\", 0), std::string::npos) << first;
    EXPECT_EQ(first.find('/'), std::string::npos) << first;
    EXPECT_GT(FileSize(first), 0u);
    EXPECT_EQ(ExecutablePath(), first);
}
