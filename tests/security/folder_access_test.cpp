// "folder-access" in package.json: what the page may do with each folder it is handed.
#include <gtest/gtest.h>

#include <map>
#include <stdexcept>
#include <string>

#include "util/app_config.h"
#include "util/config_keys.h"
#include "util/folder_defaults.h"

namespace {

std::string ParseFailure(const std::string& text) {
    AppConfig config;
    try {
        ParseAppConfig(text, config);
    } catch (const std::exception& error) {
        return error.what();
    }
    return "";
}

TEST(FolderAccessSetting, NamesFoldersWithOneOfThreeWordsAndRefusesAnythingElse) {
    using Access = std::map<std::string, FolderAccess>;
    const std::pair<const char*, Access> valid[] = {
        {R"({})", {}},
        {R"({"folder-access": {"<app>": "read", "<documents>": "none", "<videos>": "read-write"}})",
         {{"<app>", FolderAccess::Read}, {"<documents>", FolderAccess::None}, {"<videos>", FolderAccess::ReadWrite}}},
    };
    for (const auto& [settings, access] : valid) {
        AppConfig config;
        ParseAppConfig(std::string(R"({"name": "demo", "settings": )") + settings + "}", config);
        EXPECT_EQ(config.folderAccess, access) << settings;
    }
    // A typo must not leave a folder open: the package is refused.
    for (const char* settings :
         {R"({"<app>": "Read"})", R"({"<app>": "write"})", R"({"<app>": null})", R"({"<app>": 0})",
          R"({"<documnets>": "none"})", R"({"app": "none"})", R"(["<app>", "read"])", R"("read")"}) {
        AppConfig config;
        const std::string text = std::string(R"({"name": "demo", "settings": {"folder-access": )") + settings + "}}";
        try {
            ParseAppConfig(text, config);
            ADD_FAILURE() << "parsed: " << settings;
        } catch (const std::runtime_error& error) {
            EXPECT_STREQ(error.what(), "invalid folder access") << settings;
        }
    }
}

TEST(FolderAccessSetting, TyposAndDuplicatesThatWouldLeaveFoldersOpenFailTheParse) {
    const std::string closed = R"({"<app>": "none"})";
    for (const std::string& text : {
             R"({"name": "n", "settings": {"folder-acess": )" + closed + "}}",
             R"({"name": "n", "settings": {"Folder_Access": )" + closed + "}}",
             R"({"name": "n", "settings": {"folder access": )" + closed + "}}",
             R"({"name": "n", "settings": {"folder-accsess": )" + closed + "}}",
             R"({"name": "n", "settings": {"fodler-access": )" + closed + "}}",
             R"({"name": "n", "settings": {"folders-acces": )" + closed + "}}",
             R"({"name": "n", "folder-access": )" + closed + "}",
             R"({"name": "n", "setting": {"folder-access": )" + closed + "}}",
             R"({"name": "n", "Settings": {"folder-access": )" + closed + "}}",
             R"({"name": "n", "settings": {}, "settngs": {"folder-access": )" + closed + "}}",
             R"({"name": "n", "settings": {"folder-access": )" + closed + R"(}, "settings": {}})",
             R"({"name": "n", "settings": {"folder-access": )" + closed + R"(, "folder-access": {}}})",
             std::string(R"({"name": "n", "settings": {"folder-access": {"<app>": "none", "<app>": "read-write"}}})"),
         }) {
        EXPECT_EQ(ParseFailure(text), "invalid folder access") << text;
    }
    // Unknown keys far from any known one stay ignored, and a placeholder may be both a
    // key elsewhere and a value.
    for (const char* text : {
             R"({"name": "n", "version": "1.2", "settings": {"folder-access": {"<app>": "read"}, "theme": "dark"}})",
             R"({"name": "n", "window": {"settings": 1}, "messages": {"folder-access": 2}})",
             R"({"name": "n", "settings": {"folder-access": {}}, "extra": {"settings": {}, "settings": {}}})",
         }) {
        EXPECT_EQ(ParseFailure(text), "") << text;
    }
}

TEST(FolderAccessSetting, NearMissesAreWithinTwoEditsOrEqualIgnoringCaseAndSeparators) {
    const std::pair<const char*, bool> rows[] = {
        {"folder-access", false}, {"folder-acess", true},   {"folderaccess", true},       {"FOLDER ACCESS", true},
        {"fodler-access", true},  {"folder-accesss", true}, {"foldr-acces", true},        {"fol-access", false},
        {"older-acces", true},    {"folder-axxxss", false}, {"f-o-l-d-e-r-access", true}, {"", false},
    };
    for (const auto& [key, near] : rows) EXPECT_EQ(IsNearMiss(key, "folder-access"), near) << key;

    const auto misses = FindNearMissKeys(nlohmann::json::parse(R"({"name": "n", "titel": 1, "folder-access": {},
        "window": {"widht": 1, "colour": 2}, "setings": {}, "settings": {"content_mode": "remote",
        "folder-access": {"<documnets>": "none", "<app>": "read"}}, "messages": {"install-webview-required": ""}})"));
    std::vector<std::string> found;
    for (const NearMissKey& miss : misses) found.push_back(miss.section + ":" + miss.key + ">" + miss.suggestion);
    EXPECT_EQ(found, (std::vector<std::string>{":setings>settings", ":folder-access>settings.folder-access",
                                               "window:widht>width", "settings:content_mode>content-mode",
                                               "messages:install-webview-required>install-webview2-required",
                                               "folder-access:<documnets>><documents>"}));
}

TEST(FolderDefaults, CodeAndTheFoldersAboveTheProfileAreReadOnlyAndSoIsAnyFolderHoldingTheApp) {
    const std::string app = "C:\\Users\\Ann\\Downloads\\Game\\";
    const std::map<std::string, FolderAccess> none;
    struct Row {
        const char* placeholder;
        const char* path;
        FolderAccess access;
    };
    const Row rows[] = {
        {"<app>", "C:\\Users\\Ann\\Downloads\\Game\\", FolderAccess::Read},
        {"<web-resource>", "C:\\Users\\Ann\\Downloads\\Game\\www\\", FolderAccess::Read},
        {"<current-app-data>", "C:\\Users\\Ann\\AppData\\Local\\Game", FolderAccess::ReadWrite},
        {"<local-app-data>", "C:\\Users\\Ann\\AppData\\Local", FolderAccess::Read},
        {"<roaming-app-data>", "C:\\Users\\Ann\\AppData\\Roaming", FolderAccess::Read},
        {"<profile>", "C:\\Users\\Ann", FolderAccess::Read},
        {"<desktop>", "C:\\Users\\Ann\\Desktop", FolderAccess::ReadWrite},
        {"<documents>", "C:\\Users\\Ann\\Documents", FolderAccess::ReadWrite},
        // Holds the app: any case, either separator, a long-path prefix.
        {"<downloads>", "c:/users/ann/DOWNLOADS", FolderAccess::Read},
        {"<downloads>", "\\\\?\\C:\\Users\\Ann\\Downloads\\", FolderAccess::Read},
        {"<downloads>", "C:\\Users\\Ann\\Down", FolderAccess::ReadWrite},
        {"<saved-games>", "C:\\", FolderAccess::Read},
        {"<videos>", "C:\\Users\\Ann\\Downloads\\Game\\www", FolderAccess::ReadWrite},
        {"<videos>", "", FolderAccess::ReadWrite},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(EffectiveFolderAccess(none, row.placeholder, row.path, app), row.access)
            << row.placeholder << " " << row.path;
    }
    // What the package names it gets, even where that is the app folder.
    const std::map<std::string, FolderAccess> named{{"<app>", FolderAccess::ReadWrite},
                                                    {"<downloads>", FolderAccess::ReadWrite},
                                                    {"<pictures>", FolderAccess::None}};
    EXPECT_EQ(EffectiveFolderAccess(named, "<app>", app, app), FolderAccess::ReadWrite);
    EXPECT_EQ(EffectiveFolderAccess(named, "<downloads>", "C:\\Users\\Ann\\Downloads", app), FolderAccess::ReadWrite);
    EXPECT_EQ(EffectiveFolderAccess(named, "<pictures>", "D:\\Pictures", app), FolderAccess::None);
}

}  // namespace
