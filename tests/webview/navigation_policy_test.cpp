#include "webview/navigation_policy.h"

#include <gtest/gtest.h>

TEST(NavigationPolicy, PrefixIsExactAndCaseSensitive) {
    const std::string origin = "https://tessarine.localhost/";
    EXPECT_TRUE(HasPrefix("https://tessarine.localhost/", origin));
    EXPECT_TRUE(HasPrefix("https://tessarine.localhost/sub/page.html?x=1", origin));
    EXPECT_FALSE(HasPrefix("https://tessarine.localhost", origin));  // shorter
    EXPECT_FALSE(HasPrefix("HTTPS://tessarine.localhost/", origin));
    EXPECT_FALSE(HasPrefix("https://tessarine.localhost.evil.example/", "https://tessarine.localhost/x"));
    EXPECT_TRUE(HasPrefix("anything", ""));
}

TEST(NavigationPolicy, OriginIsSchemeHostAndPort) {
    EXPECT_EQ(UrlOrigin("https://tessarine.localhost/index.html"), "https://tessarine.localhost");
    EXPECT_EQ(UrlOrigin("HTTPS://Tessarine.LocalHost/a"), "https://tessarine.localhost");
    EXPECT_EQ(UrlOrigin("https://tessarine.localhost:443/a"), "https://tessarine.localhost");
    EXPECT_EQ(UrlOrigin("http://example.com:80"), "http://example.com");
    EXPECT_EQ(UrlOrigin("https://example.com:8443/x?y#z"), "https://example.com:8443");
    EXPECT_EQ(UrlOrigin("https://example.com?q=/a"), "https://example.com");
    // User information must not let another host pose as the app.
    EXPECT_EQ(UrlOrigin("https://tessarine.localhost@evil.example/"), "https://evil.example");
    EXPECT_EQ(UrlOrigin("about:blank"), "");
    EXPECT_EQ(UrlOrigin("no scheme here"), "");
    EXPECT_EQ(UrlOrigin("https:///path"), "");
    EXPECT_EQ(UrlOrigin(""), "");
}

TEST(NavigationPolicy, OnlyWebAndMailSchemesGoToTheShell) {
    EXPECT_TRUE(IsShellSafeUri("https://example.com/"));
    EXPECT_TRUE(IsShellSafeUri("HTTP://example.com/"));
    EXPECT_TRUE(IsShellSafeUri("mailto:someone@example.com"));
    EXPECT_FALSE(IsShellSafeUri("file:///C:/Windows/System32/calc.exe"));
    EXPECT_FALSE(IsShellSafeUri("C:\\Windows\\System32\\calc.exe"));
    EXPECT_FALSE(IsShellSafeUri("ms-settings:display"));
    EXPECT_FALSE(IsShellSafeUri("javascript:alert(1)"));
    EXPECT_FALSE(IsShellSafeUri("https"));
    EXPECT_FALSE(IsShellSafeUri(" https://example.com/"));
    EXPECT_FALSE(IsShellSafeUri(""));
}
