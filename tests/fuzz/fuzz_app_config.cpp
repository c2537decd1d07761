// package.json: any text either parses or fails with an exception the start-up catches,
// and no text that parses keeps a near miss of "settings" or "folder-access".
#include <string>

#include <nlohmann/json.hpp>

#include "util/app_config.h"
#include "util/config_keys.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    AppConfig config;
    try {
        ParseAppConfig(text, config);
    } catch (const std::exception&) {
        return 0;
    }
    if (config.name.empty()) __builtin_trap();
    for (const NearMissKey& miss : FindNearMissKeys(nlohmann::json::parse(text.c_str(), nullptr, false))) {
        const bool opensFolders = miss.suggestion == "settings" || miss.suggestion == "folder-access" ||
                                  miss.suggestion == "settings.folder-access";
        if (opensFolders) __builtin_trap();
        // A near miss is one both ways.
        if (!IsNearMiss(miss.suggestion, miss.key)) __builtin_trap();
    }
    return 0;
}
