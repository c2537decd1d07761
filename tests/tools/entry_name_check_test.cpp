#include "entry_name_check.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

TEST(EntryNameCheck, AcceptsNamesThatStayInsideTheFolder) {
    for (const std::string name : {"index.html", "a/b/c.js", ".hidden", "a..b", "..a/b..c", "con-fig.txt", "com10.txt",
                                   "\xC3\xBC/\xE6\x97\xA5.txt", "with space.txt"}) {
        EXPECT_EQ(UnsafeEntryNameReason(name), "") << name;
    }
}

TEST(EntryNameCheck, RefusesNamesThatEscapeOrAreAmbiguous) {
    for (const std::string& name : std::vector<std::string>{"",
                                                            "..",
                                                            "a/../../evil",
                                                            "a/..",
                                                            "/etc/passwd",
                                                            "C:evil",
                                                            "file:stream",
                                                            "a\\..\\b",
                                                            "a//b",
                                                            "a/",
                                                            "./a",
                                                            "a/./b",
                                                            "CON",
                                                            "nul.txt",
                                                            "sub/Com1.js",
                                                            "LPT9",
                                                            "dot.",
                                                            "space ",
                                                            std::string("nul\0byte", 8),
                                                            "tab\there"}) {
        EXPECT_NE(UnsafeEntryNameReason(name), "") << name;
    }
}
