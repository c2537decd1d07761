#include "util/text_convert.h"

#include <gtest/gtest.h>

#include <new>

TEST(TextConvert, ConvertsBothWaysAndReplacesWhatIsMalformed) {
    struct Case {
        std::string utf8;
        std::wstring wide;
        bool roundTrips;
    };
    const Case cases[] = {
        {"", L"", true},
        {"abc", L"abc", true},
        {std::string("a\0b", 3), std::wstring(L"a\0b", 3), true},
        // U+00FC, U+65E5 and U+1F600, a surrogate pair in UTF-16.
        {"\xC3\xBC\xE6\x97\xA5\xF0\x9F\x98\x80", L"\x00FC\x65E5\xD83D\xDE00", true},
        {"\xFF", L"\xFFFD", false},
        {"a\xFF!", L"a\xFFFD!", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Utf8ToWide(c.utf8), c.wide) << c.utf8;
        if (c.roundTrips) {
            EXPECT_EQ(WideToUtf8(c.wide), c.utf8) << c.utf8;
        }
    }
    // Lone or swapped surrogate halves each become U+FFFD.
    EXPECT_EQ(WideToUtf8(std::wstring{L'x', wchar_t(0xDC00)}), "x\xEF\xBF\xBD");
    EXPECT_EQ(WideToUtf8(std::wstring{wchar_t(0xDC00), wchar_t(0xD800)}), "\xEF\xBF\xBD\xEF\xBF\xBD");
    EXPECT_EQ(WideToUtf8(static_cast<const wchar_t*>(nullptr)), "");
}

TEST(TextConvert, InputBeyondTheSystemCountGivesEmpty) {
    // 2^32 + 1 bytes: a count cut to 32 bits would read as 1 and convert just "a".
    std::string huge;
    try {
        huge.assign((size_t{1} << 32) + 1, 'a');
    } catch (const std::bad_alloc&) {
        GTEST_SKIP() << "not enough memory for a 4 GiB string";
    }
    EXPECT_EQ(Utf8ToWide(huge), L"");
}
