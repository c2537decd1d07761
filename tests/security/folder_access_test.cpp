// "folder-access" in package.json: what the page may do with each folder it is handed.
#include <gtest/gtest.h>

#include <map>
#include <stdexcept>
#include <string>

#include "util/app_config.h"

namespace {

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

}  // namespace
