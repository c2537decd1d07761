// "folder-access" in package.json: what the page may do with each folder it is handed.
#include <gtest/gtest.h>

#include <map>
#include <stdexcept>
#include <string>

#include "app/app_config.h"

namespace {

using Access = std::map<std::string, FolderAccess>;

TEST(FolderAccessSetting, NamesFoldersWithOneOfThreeWordsAndRefusesAnythingElse) {
    struct Case {
        const char* settings;
        Access access;  // when the parse succeeds
        bool valid;
    };
    const Case cases[] = {
        {R"({})", {}, true},
        {R"({"folder-access": {}})", {}, true},
        {R"({"folder-access": {"<app>": "read", "<documents>": "none", "<videos>": "read-write"}})",
         {{"<app>", FolderAccess::Read}, {"<documents>", FolderAccess::None}, {"<videos>", FolderAccess::ReadWrite}},
         true},
        {R"({"folder-access": {"<web-resource>": "read", "<app>": "none", "<app>": "read"}})",
         {{"<web-resource>", FolderAccess::Read}, {"<app>", FolderAccess::Read}},
         true},
        {R"({"folder-access": {"<app>": "Read"}})", {}, false},
        {R"({"folder-access": {"<app>": "read "}})", {}, false},
        {R"({"folder-access": {"<app>": "write"}})", {}, false},
        {R"({"folder-access": {"<app>": null}})", {}, false},
        {R"({"folder-access": {"<app>": 0}})", {}, false},
        {R"({"folder-access": {"<documnets>": "none"}})", {}, false},
        {R"({"folder-access": {"app": "none"}})", {}, false},
        {R"({"folder-access": ["<app>", "read"]})", {}, false},
        {R"({"folder-access": "read"})", {}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.settings);
        AppConfig config;
        const std::string text = std::string(R"({"name": "demo", "settings": )") + c.settings + "}";
        if (!c.valid) {
            try {
                ParseAppConfig(text, config);
                ADD_FAILURE() << "parsed";
            } catch (const std::runtime_error& error) {
                EXPECT_STREQ(error.what(), "invalid folder access");
            }
            continue;
        }
        ParseAppConfig(text, config);
        EXPECT_EQ(config.folderAccess, c.access);
    }
}

}  // namespace
