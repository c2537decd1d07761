#include "server/folder_path.h"

#include <gtest/gtest.h>

TEST(FolderPath, PlainPathsMayReachTheFolder) {
    EXPECT_TRUE(IsSafeFolderPath(""));
    EXPECT_TRUE(IsSafeFolderPath("images/logo.png"));
    EXPECT_TRUE(IsSafeFolderPath("a..b/..c/d.."));
    EXPECT_TRUE(IsSafeFolderPath("./index.html"));
}

TEST(FolderPath, PathsThatCouldLeaveTheFolderAreRefused) {
    EXPECT_FALSE(IsSafeFolderPath(".."));
    EXPECT_FALSE(IsSafeFolderPath("../package.json"));
    EXPECT_FALSE(IsSafeFolderPath("a\\..\\..\\secret"));
    EXPECT_FALSE(IsSafeFolderPath("a/.."));
    EXPECT_FALSE(IsSafeFolderPath("C:/Windows/win.ini"));
    EXPECT_FALSE(IsSafeFolderPath("\\\\?\\C:\\Windows\\win.ini"));
    EXPECT_FALSE(IsSafeFolderPath("file.txt:stream"));
    EXPECT_FALSE(IsSafeFolderPath(std::string("index.html\0.png", 15)));
}

TEST(FolderPath, RequestPathJoinsTheFolderWithBackslashes) {
    EXPECT_EQ(FolderPathFor("C:\\app\\", "www\\", "a/b//c.txt"), "C:\\app\\www\\a\\b\\\\c.txt");
    EXPECT_EQ(FolderPathFor("C:\\app\\", "www\\", ""), "C:\\app\\www\\");
}
