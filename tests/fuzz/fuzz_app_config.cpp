// package.json: any text either parses or fails with an exception the start-up catches.
#include <string>

#include "util/app_config.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    AppConfig config;
    try {
        ParseAppConfig(std::string(reinterpret_cast<const char*>(data), size), config);
    } catch (const std::exception&) {
        return 0;
    }
    if (config.name.empty()) __builtin_trap();
    return 0;
}
