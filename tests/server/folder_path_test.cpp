#include "server/folder_path.h"

#include <gtest/gtest.h>

TEST(FolderPath, RefusesDotDotSegmentsColonsAndNul) {
    const std::pair<std::string, bool> rows[] = {
        {"", true},
        {"images/logo.png", true},
        {"a..b/..c/d..", true},  // dots inside names are fine
        {"./index.html", true},
        {"..", false},
        {"../package.json", false},
        {"a/..", false},
        {"a\\..\\..\\secret", false},
        {"C:/Windows/win.ini", false},
        {"file.txt:stream", false},
        {std::string("index.html\0.png", 15), false},
    };
    for (const auto& [path, safe] : rows) EXPECT_EQ(IsSafeFolderPath(path), safe) << path;
    EXPECT_EQ(FolderPathFor("C:\\app\\", "www\\", "a/b//c.txt"), "C:\\app\\www\\a\\b\\\\c.txt");
}
