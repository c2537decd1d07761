#include "server/ascii_text.h"

#include <gtest/gtest.h>

namespace {

std::string Trimmed(std::string text) {
    TrimSpace(text);
    return text;
}

}  // namespace

TEST(AsciiText, LowerCaseTouchesOnlyAsciiLetters) {
    EXPECT_EQ(ToLowerAscii("PHOTO.JPG"), "photo.jpg");
    EXPECT_EQ(ToLowerAscii("@AZ[`az{"), "@az[`az{");
    // UTF-8 bytes of a capital letter stay as they are.
    EXPECT_EQ(ToLowerAscii("\xC3\x89T\xC3\x89.PNG"), "\xC3\x89t\xC3\x89.png");
    EXPECT_EQ(ToLowerAscii(""), "");
}

TEST(AsciiText, TrimRemovesAsciiBlanksAtBothEnds) {
    EXPECT_EQ(Trimmed("  bytes=5-9 "), "bytes=5-9");
    EXPECT_EQ(Trimmed("\t\n\v\f\r x y \r\n"), "x y");
    EXPECT_EQ(Trimmed(" \t "), "");
    EXPECT_EQ(Trimmed("none"), "none");
    // Latin-1 no-break space and NEL are not white space here.
    EXPECT_EQ(Trimmed("\xA0x\x85"), "\xA0x\x85");
    EXPECT_EQ(Trimmed(" \xC2\xA0 "), "\xC2\xA0");
    EXPECT_EQ(Trimmed(std::string(" \0 ", 3)), std::string("\0", 1));
}
