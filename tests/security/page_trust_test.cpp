// Which pages the host listens to and hands the user's folders, and which names
// could lead a request or an unpacked file out of its folder on Windows.
#include <gtest/gtest.h>

#include <string>

#include "entry_name_check.h"
#include "server/folder_path.h"
#include "util/navigation_policy.h"
#include "util/windows_names.h"

namespace {

// Each question about "is this URL the app" against one table: where a navigation may
// go (a byte prefix), who gets permissions (the origin), who is heard (an app page);
// and, for the pages heard, which ones get folders.
TEST(PageTrust, EachQuestionKeepsItsOwnRuleAndOnlySecurePagesGetFolders) {
    struct Case {
        const char* app;
        const char* url;
        bool navigates;
        bool permitted;
        bool heard;
        bool secure;
    };
    const Case cases[] = {
        {"https://tessarine.localhost/", "https://tessarine.localhost/game/index.html#x", true, true, true, true},
        {"https://tessarine.localhost/", "https://TESSARINE.localhost/", false, true, false, true},
        {"https://tessarine.localhost/", "https://tessarine.localhost.evil.net/", false, false, false, true},
        {"https://example.com", "https://example.com/", true, true, true, true},
        {"https://example.com", "https://example.com.evil.net/", true, false, false, true},
        {"https://example.com", "https://example.com@evil.net/", true, false, false, true},
        {"https://example.com", "https://example.com:8443/", true, false, false, true},
        {"https://example.com", "http://example.com/", false, false, false, false},
        {"https://Example.COM/", "https://example.com/a?b#c", false, true, true, true},
        {"https://example.com/", "HTTPS://EXAMPLE.COM/", false, true, false, true},
        {"https://example.com/", "https://example.com", false, true, false, true},
        {"https://example.com/app", "https://example.com/app?mode=1", true, true, true, true},
        {"https://example.com/app", "https://example.com/app/deep/page.html", true, true, true, true},
        {"https://example.com/app", "https://example.com/apple", true, true, false, true},
        {"https://example.com/app/", "https://example.com/app/x", true, true, true, true},
        {"https://example.com/app/", "https://example.com/app/../admin/", true, true, false, true},
        {"https://example.com/app/", "https://example.com/app/%2e%2e/admin/", true, true, false, true},
        {"https://example.com/app/index.html?v=2", "https://example.com/app/index.html", false, true, true, true},
        {"http://example.com/", "http://example.com/", true, true, true, false},
        {"http://localhost:8080/", "http://localhost:8080/game/", true, true, true, true},
        {"http://[::1]:9000/", "http://[::1]:9000/", true, true, true, true},
        {"http://[::1]:9000/", "http://[::1]:9001/", false, false, false, true},
        {"http://localhost/", "http://localhost.evil.net/", false, false, false, false},
        {"https://h:443:443/", "https://h/", false, false, false, true},
        {"https://tessarine.localhost/", "https://evil.example/https://tessarine.localhost/", false, false, false,
         true},
        {"not a url", "not a url", true, false, false, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IsAppUrl(AppUrlQuestion::Navigation, c.url, c.app), c.navigates) << c.app << " <- " << c.url;
        EXPECT_EQ(IsAppUrl(AppUrlQuestion::Permission, c.url, c.app), c.permitted) << c.app << " <- " << c.url;
        EXPECT_EQ(IsAppUrl(AppUrlQuestion::Message, c.url, c.app), c.heard) << c.app << " <- " << c.url;
        EXPECT_EQ(IsSecurePage(c.url), c.secure) << c.url;
    }
}

TEST(PageTrust, OnlyWebPagesAndMailWithoutAttachmentsGoToTheShell) {
    const std::pair<const char*, bool> cases[] = {
        {"https://example.com/", true},
        {"HTTP://EXAMPLE.NET/", true},
        {"mailto:someone@example.com", true},
        {"mailto:a@example.com?subject=Attach%20me&body=attachment", true},
        {"mailto:a@example.com?attached=1", true},
        {"mailto:a@example.com?attach=C:\\Users\\Ann\\Documents\\save.dat", false},
        {"MAILTO:a@example.com?subject=x&Attachment=%USERPROFILE%\\a.txt", false},
        {"mailto:a@example.com?subject=x;ATTACH=/etc/passwd", false},
        {"mailto:a@example.com?%61ttach=x", false},
        {"mailto:a@example.com?%2561ttachment=x", false},
        {"mailto:a@example.com?subject=x&%20attach%20=x", false},
        {"mailto:a@example.com%3Fattach%3Dx", false},
        {"mailto:a@example.com?attach", false},
        {"file:///C:/Windows/notepad.exe", false},
        {"tessarine-probe:x", false},
        {"javascript:alert(1)", false},
        {"", false},
    };
    for (const auto& [uri, safe] : cases) EXPECT_EQ(IsShellSafeUri(uri), safe) << uri;
}

TEST(PageTrust, OriginsKeepOneValidPortAndAreStable) {
    const std::pair<const char*, const char*> cases[] = {
        {"HTTPS://Example.com:443/x", "https://example.com"},
        {"https://h:443:443/", ""},
        {"https://h:44a/", ""},
        {"https://h:99999/", ""},
        {"https://h:0443/", "https://h"},
        {"http://h:8080", "http://h:8080"},
        {"http://[::1]:80/", "http://[::1]"},
        {"http://[::1/", ""},
        {"https://user:pw@h:8443/", "https://h:8443"},
    };
    for (const auto& [url, origin] : cases) {
        EXPECT_EQ(UrlOrigin(url), origin) << url;
        EXPECT_EQ(UrlOrigin(UrlOrigin(url)), origin) << url;
    }
}

TEST(WindowsNames, NamesThatLeaveTheFolderOrOpenADeviceAreRefused) {
    struct Case {
        std::string name;
        bool servedFromFolder;
        bool unpacked;
    };
    const Case cases[] = {
        {"images/logo.png", true, true},
        {"a..b/..c/d.png", true, true},
        {"", true, false},
        {"./index.html", true, false},
        {"a..b/..c/d..", true, false},
        {"..", false, false},
        {"a/..", false, false},
        {"a\\..\\..\\secret", false, false},
        {"C:/Windows/win.ini", false, false},
        {"file.txt:stream", false, false},
        {std::string("index.html\0.png", 15), false, false},
        {"com10.txt", true, true},
        {"lpt\xC2\xB9x", true, true},
        {"../secret", false, false},
        {".. /secret", false, false},
        {"a/.../b", false, false},
        {"CON", false, false},
        {"con.txt", false, false},
        {"nul .txt", false, false},
        {"CONOUT$", false, false},
        {"COM0.js", false, false},
        {"COM\xC2\xB9", false, false},
        {"sub/lpt\xC2\xB3.log", false, false},
        // Characters Windows refuses in a name: the packer would fail halfway.
        {"q?.txt", true, false},
        {"a<b>.js", true, false},
        {"pipe|name", true, false},
        {"say\"hi\".txt", true, false},
        {"star*.png", true, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IsSafeFolderPath(c.name), c.servedFromFolder) << c.name;
        EXPECT_EQ(UnsafeEntryNameReason(c.name).empty(), c.unpacked) << c.name;
    }
    EXPECT_EQ(FolderPathFor("C:\\app\\", "www\\", "a/b//c.txt"), "C:\\app\\www\\a\\b\\\\c.txt");
}

TEST(WindowsNames, AnAppNameBecomesOneSafeFolderAndAValidNameKeepsItsFolder) {
    const std::pair<const char*, const char*> cases[] = {
        {"My Game", "My Game"},
        {"Caf\xC3\xA9 \xE2\x80\x93 2", "Caf\xC3\xA9 \xE2\x80\x93 2"},
        {".hidden game", ".hidden game"},
        {"com10", "com10"},
        {"..\\..\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs\\Startup",
         ".._.._Roaming_Microsoft_Windows_Start Menu_Programs_Startup"},
        {"../../x", ".._.._x"},
        {"C:\\Windows", "C__Windows"},
        {"a:stream", "a_stream"},
        {"*?<>|\"", "______"},
        {"tab\tthere\n", "tab_there_"},
        {"game. . .", "game"},
        {"game  ", "game"},
        {"..", "_"},
        {" . ", "_"},
        {"CON", "CON_"},
        {"con", "con_"},
        {"Nul.txt", "Nul_.txt"},
        {"com\xC2\xB9.txt", "com\xC2\xB9_.txt"},
        {"LPT3 .log.", "LPT3_ .log"},
        {"conout$", "conout$_"},
    };
    for (const auto& [name, folder] : cases) {
        const std::string safe = SafeFolderName(name);
        EXPECT_EQ(safe, folder) << name;
        // Once safe, always the same folder: a second pass changes nothing.
        EXPECT_EQ(SafeFolderName(safe), safe) << name;
        EXPECT_FALSE(IsWindowsDeviceName(safe)) << name;
    }
}

}  // namespace
