#include "util/long_path.h"

#include <gtest/gtest.h>

TEST(LongPath, AddsPrefixAndBackslashes) {
    EXPECT_EQ(ToLongPath(L"C:/app/www/index.html"), L"\\\\?\\C:\\app\\www\\index.html");
    EXPECT_EQ(ToLongPath(L"C:\\app\\www\\a b.txt"), L"\\\\?\\C:\\app\\www\\a b.txt");
    // Nothing but the separators changes.
    EXPECT_EQ(ToLongPath(L"C:/App/./x/../y//Z"), L"\\\\?\\C:\\App\\.\\x\\..\\y\\\\Z");
}

TEST(LongPath, PrefixOnlyWhenMissingAndLongEnough) {
    EXPECT_EQ(ToLongPath(L"\\\\?\\C:/app/x"), L"\\\\?\\C:\\app\\x");
    EXPECT_EQ(ToLongPath(L"C:/"), L"C:\\");
    EXPECT_EQ(ToLongPath(L""), L"");
    // A slashed look-alike of the prefix is not the prefix.
    EXPECT_EQ(ToLongPath(L"//?/C:/x"), L"\\\\?\\\\\\?\\C:\\x");
}

TEST(LongPath, NetworkPathsTakeUncPrefix) {
    EXPECT_EQ(ToLongPath(L"\\\\server\\share\\app\\x.js"), L"\\\\?\\UNC\\server\\share\\app\\x.js");
    EXPECT_EQ(ToLongPath(L"//server/share/x"), L"\\\\?\\UNC\\server\\share\\x");
    EXPECT_EQ(StripLongPathPrefix(L"\\\\?\\UNC\\server\\share\\x"), L"\\\\server\\share\\x");
    EXPECT_EQ(StripLongPathPrefix(L"\\\\?\\unc\\server\\share"), L"\\\\server\\share");
}

TEST(LongPath, StripRemovesOnlyThePrefix) {
    EXPECT_EQ(StripLongPathPrefix(L"\\\\?\\C:\\app\\"), L"C:\\app\\");
    EXPECT_EQ(StripLongPathPrefix(L"C:\\app\\"), L"C:\\app\\");
    EXPECT_EQ(StripLongPathPrefix(L"\\\\?\\"), L"");
    EXPECT_EQ(StripLongPathPrefix(L"\\\\?"), L"\\\\?");
    EXPECT_EQ(StripLongPathPrefix(L"\\\\?\\C:/a"), L"C:/a");
    EXPECT_EQ(StripLongPathPrefix(L"\\\\?\\UNCLE\\x"), L"UNCLE\\x");
    for (const wchar_t* path : {L"C:\\app\\www\\index.html", L"\\\\server\\share\\app"}) {
        EXPECT_EQ(StripLongPathPrefix(ToLongPath(path)), path);
    }
}
