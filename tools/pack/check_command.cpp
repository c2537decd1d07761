#include "pack_commands.h"

#include <fstream>
#include <iostream>
#include <iterator>
#include <stdexcept>

#include <nlohmann/json.hpp>

#include "util/app_config.h"
#include "util/config_keys.h"
#include "util/folder_defaults.h"

namespace fs = std::filesystem;

void RunCheck(const fs::path& appFolder) {
    const fs::path path = appFolder / "package.json";
    std::ifstream file(path, std::ios::binary);
    if (!file) throw std::runtime_error("cannot read " + path.u8string());
    const std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());

    // The near misses first: they explain most failures of the parse below.
    const nlohmann::json root = nlohmann::json::parse(text.c_str(), nullptr, false);
    if (!root.is_discarded()) {
        for (const NearMissKey& miss : FindNearMissKeys(root)) {
            std::cout << "warning: unknown key '" << miss.key << "'"
                      << (miss.section.empty() ? std::string(" at the top level") : " in \"" + miss.section + "\"")
                      << ": did you mean '" << miss.suggestion << "'?\n";
        }
    }
    AppConfig config;
    try {
        ParseAppConfig(text, config);
    } catch (const std::exception& error) {
        std::cout.flush();
        throw std::runtime_error("the host would refuse " + path.u8string() + ": " + error.what());
    }
    for (const char* placeholder : folderPlaceholders) {
        const auto named = config.folderAccess.find(placeholder);
        const FolderAccess access =
            named == config.folderAccess.end() ? DefaultFolderAccess(placeholder) : named->second;
        if (access == FolderAccess::ReadWrite) {
            std::cout << "warning: " << placeholder << " is read-write: any script in the page can change it"
                      << (named == config.folderAccess.end() ? R"( (the default; "read" or "none" closes it))" : "")
                      << "\n";
        }
    }
    std::cout << "OK: " << path.u8string() << std::endl;
}
