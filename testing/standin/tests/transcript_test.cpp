#include "transcript.h"

#include <cstdio>
#include <string>

#include <gtest/gtest.h>

#include "body_digest.h"
#include "browser_version.h"
#include "wildcard.h"

namespace standin {
namespace {

TEST(Transcript, EachLineIsOneJsonObjectWithEvFirst) {
    Json line = Event("WebView.PostWebMessageAsJson");
    line["text"] = "quote \" backslash \\ newline \n cr \r tab \t nul " + std::string(1, '\0') + " end";
    line["a"] = 1;
    const std::string text = FormatLine(line);
    EXPECT_EQ(text.find('\n'), std::string::npos);
    EXPECT_EQ(text.find('\r'), std::string::npos);
    EXPECT_EQ(text.rfind("{\"ev\":\"WebView.PostWebMessageAsJson\",", 0), 0u) << text;
    const Json parsed = Json::parse(text);
    EXPECT_EQ(parsed, line);
}

TEST(Transcript, BrokenUtf8IsReplacedInsteadOfLosingTheLine) {
    Json line = Event("step:title");
    line["title"] = std::string("ok \xFF\xC0 end");
    const Json parsed = Json::parse(FormatLine(line));
    EXPECT_EQ(parsed["title"], "ok \xEF\xBF\xBD\xEF\xBF\xBD end");
}

TEST(Transcript, AppendsAndFlushesEveryLine) {
    std::FILE* file = std::tmpfile();
    ASSERT_NE(file, nullptr);
    Transcript transcript;
    EXPECT_FALSE(transcript.IsOn());
    transcript.Write(Event("dropped"));  // off: nothing happens
    transcript.Attach(file);
    ASSERT_TRUE(transcript.IsOn());
    transcript.Write(Event("first"));
    Json second = Event("second");
    second["n"] = 2;
    transcript.Write(second);

    // Read through the same stream without closing it: the lines are already out.
    std::rewind(file);
    char buffer[256] = {};
    const std::size_t size = std::fread(buffer, 1, sizeof buffer - 1, file);
    EXPECT_EQ(std::string(buffer, size), "{\"ev\":\"first\"}\n{\"ev\":\"second\",\"n\":2}\n");
}

TEST(Transcript, CodesAndHandlesAsHexText) {
    EXPECT_EQ(HresultText(0), "0x00000000");
    EXPECT_EQ(HresultText(static_cast<std::int32_t>(0x80070057u)), "0x80070057");
    EXPECT_EQ(HresultText(static_cast<std::int32_t>(0x8000FFFFu)), "0x8000ffff");
    EXPECT_EQ(HandleText(0x1a2b), "0x1a2b");
}

TEST(Transcript, HostStringsAsUtf8WithNullKept) {
    EXPECT_EQ(WideJson(nullptr), Json(nullptr));
    EXPECT_EQ(WideJson(L"h\u00e9\U0001F600"), Json("h\xC3\xA9\xF0\x9F\x98\x80"));
    // A lone surrogate, either half, must not cost the line.
    const wchar_t lone[] = {L'a', wchar_t(0xD800), L'b', wchar_t(0xDC00), 0};
    EXPECT_EQ(WideJson(lone), Json("a\xEF\xBF\xBD"
                                   "b\xEF\xBF\xBD"));
}

TEST(BodyDigest, KnownDigestsAndTheHexLimit) {
    const auto digest = [](const std::string& text) {
        return DigestText(Fnv1a64(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
    };
    EXPECT_EQ(digest(""), "cbf29ce484222325");
    EXPECT_EQ(digest("a"), "af63dc4c8601ec8c");
    EXPECT_EQ(digest("foobar"), "85944171f73967e8");

    const Json small = DescribeBody({0x00, 0x0f, 0xa0, 0xff});
    EXPECT_EQ(small["length"], 4);
    EXPECT_EQ(small["hex"], "000fa0ff");
    EXPECT_EQ(DescribeBody(std::vector<std::uint8_t>(4096, 1))["hex"].get<std::string>().size(), 8192u);
    const Json large = DescribeBody(std::vector<std::uint8_t>(4097, 1));
    EXPECT_EQ(large["length"], 4097);
    EXPECT_FALSE(large.contains("hex"));
    EXPECT_EQ(large["fnv1a64"].get<std::string>().size(), 16u);
}

TEST(Wildcard, StarsAndQuestionMarks) {
    EXPECT_TRUE(WildcardMatch(L"https://app.localhost/*", L"https://app.localhost/"));
    EXPECT_TRUE(WildcardMatch(L"https://app.localhost/*", L"https://app.localhost/a/b.js?x=1"));
    EXPECT_FALSE(WildcardMatch(L"https://app.localhost/*", L"https://app.localhost"));
    EXPECT_FALSE(WildcardMatch(L"https://app.localhost/*", L"https://other.localhost/"));
    EXPECT_TRUE(WildcardMatch(L"a*b*c", L"abxbc"));
    EXPECT_FALSE(WildcardMatch(L"a*b*c", L"abxbd"));
    EXPECT_TRUE(WildcardMatch(L"?x", L"ax"));
    EXPECT_FALSE(WildcardMatch(L"?x", L"x"));
    EXPECT_TRUE(WildcardMatch(L"**", L""));
    EXPECT_FALSE(WildcardMatch(L"", L"a"));
}

TEST(BrowserVersion, ComparesPartsAsNumbers) {
    int order = 99;
    ASSERT_TRUE(CompareVersions("144.0.3719.77", "144.0.3719.77", order));
    EXPECT_EQ(order, 0);
    ASSERT_TRUE(CompareVersions("144.0.3719.9", "144.0.3719.77", order));
    EXPECT_LT(order, 0);
    ASSERT_TRUE(CompareVersions("145", "144.9.9.9", order));
    EXPECT_GT(order, 0);
    ASSERT_TRUE(CompareVersions("144.0", "144.0.0.0", order));
    EXPECT_EQ(order, 0);
    EXPECT_FALSE(CompareVersions("144..1", "1", order));
    EXPECT_FALSE(CompareVersions("", "1", order));
    EXPECT_FALSE(CompareVersions("1.x", "1", order));
}

}  // namespace
}  // namespace standin
