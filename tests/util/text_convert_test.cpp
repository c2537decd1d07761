#include "util/text_convert.h"

#include <gtest/gtest.h>

#include <new>

TEST(TextConvert, EmptyAndAsciiRoundTrip) {
    EXPECT_EQ(Utf8ToWide(""), L"");
    EXPECT_EQ(WideToUtf8(L""), "");
    EXPECT_EQ(Utf8ToWide("abc"), L"abc");
    EXPECT_EQ(WideToUtf8(L"abc"), "abc");
}

TEST(TextConvert, NonAsciiAndSurrogatePairs) {
    // U+00FC, U+65E5 and U+1F600 (a surrogate pair in UTF-16).
    const std::string utf8 = "\xC3\xBC\xE6\x97\xA5\xF0\x9F\x98\x80";
    const std::wstring wide = Utf8ToWide(utf8);
    EXPECT_EQ(wide, std::wstring(L"\x00FC\x65E5\xD83D\xDE00"));
    EXPECT_EQ(WideToUtf8(wide), utf8);
}

TEST(TextConvert, MalformedInputBecomesReplacementCharacter) {
    EXPECT_EQ(Utf8ToWide("\xFF"), std::wstring(1, L'\xFFFD'));
    EXPECT_EQ(Utf8ToWide("a\xFF"
                         "b"),
              std::wstring(L"a\xFFFD"
                           L"b"));
    EXPECT_EQ(WideToUtf8(std::wstring(1, wchar_t(0xD800))), "\xEF\xBF\xBD");
    EXPECT_EQ(WideToUtf8(std::wstring{L'x', wchar_t(0xDC00)}), "x\xEF\xBF\xBD");
    // A pair in the wrong order is two lone halves.
    EXPECT_EQ(WideToUtf8(std::wstring{wchar_t(0xDC00), wchar_t(0xD800)}), "\xEF\xBF\xBD\xEF\xBF\xBD");
}

TEST(TextConvert, EmbeddedNulIsKept) {
    const std::string utf8("a\0b", 3);
    const std::wstring wide(L"a\0b", 3);
    EXPECT_EQ(Utf8ToWide(utf8), wide);
    EXPECT_EQ(WideToUtf8(wide), utf8);
}

TEST(TextConvert, InputBeyondSystemCountGivesEmpty) {
    // 2^32 + 1 bytes: a count cut to 32 bits would read as 1 and convert just "a".
    std::string huge;
    try {
        huge.assign((size_t{1} << 32) + 1, 'a');
    } catch (const std::bad_alloc&) {
        GTEST_SKIP() << "not enough memory for a 4 GiB string";
    }
    EXPECT_EQ(Utf8ToWide(huge), L"");
}
