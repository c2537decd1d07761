#include "util/file_query.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "support/temp_folder.h"

TEST(FileQuery, ExistenceAndSizeOfFilesFoldersAndBrokenPaths) {
    const test_support::TempFolder folder(L"tessarine-query");
    ASSERT_TRUE(folder.Write(L"ten.bin", "0123456789") && folder.Write(L"empty.bin", ""));
    std::string slashed = folder.Utf8(L"ten.bin");
    for (char& c : slashed) c = c == '\\' ? '/' : c;
    struct Case {
        std::string path;
        bool exists;
        uint64_t size;
    };
    const Case cases[] = {
        {folder.Utf8(L"ten.bin"), true, 10},
        {folder.Utf8(L"empty.bin"), true, 0},
        {slashed, true, 10},
        {folder.Utf8(L""), true, 0},  // a folder exists but has no size
        {folder.Utf8(L"missing.bin"), false, 0},
        {"", false, 0},
        // A NUL would end the path early at the system call and name the file before it.
        {folder.Utf8(L"ten.bin") + std::string("\0x", 2), false, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(PathExists(c.path), c.exists) << c.path;
        EXPECT_EQ(FileSize(c.path), c.size) << c.path;
    }
}

TEST(FileQuery, SizesBeyondFourGibibytesAndPathsBeyondTheClassicLimit) {
    const test_support::TempFolder folder(L"tessarine-query-big");
    // Past 4 GiB: neither a signed nor an unsigned 32-bit size holds it.
    ASSERT_TRUE(folder.WriteZeros(L"big.bin", 5368709123u));
    EXPECT_EQ(FileSize(folder.Utf8(L"big.bin")), 5368709123u);
    EXPECT_TRUE(DeleteFileW(folder.Wide(L"big.bin").c_str()));

    std::wstring deep;
    for (wchar_t letter = L'a'; letter < L'f'; ++letter)
        ASSERT_TRUE(folder.MakeFolder(deep += std::wstring(60, letter) + L"\\"));
    ASSERT_TRUE(folder.Write(deep + L"deep.txt", "12345"));
    ASSERT_GT(folder.Utf8(deep + L"deep.txt").size(), 300u);
    EXPECT_TRUE(PathExists(folder.Utf8(deep + L"deep.txt")));
    EXPECT_EQ(FileSize(folder.Utf8(deep + L"deep.txt")), 5u);
}
