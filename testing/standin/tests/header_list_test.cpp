#include "header_list.h"

#include <gtest/gtest.h>

namespace standin {
namespace {

std::wstring ValueOf(const HeaderList& headers, const wchar_t* name) {
    const std::wstring* value = headers.Find(name);
    return value != nullptr ? *value : L"<none>";
}

TEST(HeaderList, NamesMatchInAnyCaseAndTheFirstOneCounts) {
    const HeaderList headers({{L"Range", L"bytes=0-9"}, {L"RANGE", L"bytes=5-"}, {L"Accept", L"*/*"}});
    EXPECT_EQ(ValueOf(headers, L"range"), L"bytes=0-9");
    EXPECT_EQ(ValueOf(headers, L"ACCEPT"), L"*/*");
    EXPECT_EQ(ValueOf(headers, L"Rang"), L"<none>");
    EXPECT_EQ(ValueOf(headers, L""), L"<none>");
    EXPECT_TRUE(SameHeaderName(L"Content-Type", L"content-TYPE"));
    EXPECT_FALSE(SameHeaderName(L"Content-Type", L"Content_Type"));
}

TEST(HeaderList, TextLinesBecomeHeaders) {
    HeaderList headers;
    headers.AddLines(L"Content-Type: text/plain\r\nX-Tab:\t two\nNo colon here\r\nLocation: http://a/b:1\r\n");
    EXPECT_EQ(ValueOf(headers, L"content-type"), L"text/plain");
    EXPECT_EQ(ValueOf(headers, L"x-tab"), L"two");              // leading blanks go, the line break too
    EXPECT_EQ(ValueOf(headers, L"location"), L"http://a/b:1");  // the first colon splits
    EXPECT_EQ(ValueOf(headers, L"No colon here"), L"<none>");

    headers.AddLines(L"Content-Type: text/html");  // added after: the first one still counts
    EXPECT_EQ(ValueOf(headers, L"Content-Type"), L"text/plain");
    HeaderList empty;
    empty.AddLines(L"");
    EXPECT_EQ(ValueOf(empty, L""), L"<none>");
}

TEST(HeaderList, SetReplacesTheFirstMatchAndRemoveTakesEveryMatch) {
    HeaderList headers({{L"A", L"1"}, {L"a", L"2"}, {L"B", L"3"}});
    headers.Set(L"A", L"one");
    headers.Set(L"C", L"new");
    EXPECT_EQ(ValueOf(headers, L"a"), L"one");
    EXPECT_EQ(ValueOf(headers, L"c"), L"new");
    headers.Remove(L"A");
    EXPECT_EQ(ValueOf(headers, L"a"), L"<none>");  // the second "a" went too
    EXPECT_EQ(ValueOf(headers, L"b"), L"3");
    headers.Remove(L"missing");
    EXPECT_EQ(ValueOf(headers, L"c"), L"new");
}

}  // namespace
}  // namespace standin
