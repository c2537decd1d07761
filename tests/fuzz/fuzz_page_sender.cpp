// The sender check: a page it hears has the app's origin, and origins are stable.
#include <string>

#include "util/navigation_policy.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    const auto split = input.find('\n');
    const std::string app = input.substr(0, split);
    const std::string source = split == std::string::npos ? input : input.substr(split + 1);
    const std::string origin = UrlOrigin(source);
    if (UrlOrigin(origin) != origin) __builtin_trap();
    // A page the host hears is one it grants permissions to.
    if (IsAppUrl(AppUrlQuestion::Message, source, app) && !IsAppUrl(AppUrlQuestion::Permission, source, app)) {
        __builtin_trap();
    }
    IsSecurePage(source);
    return 0;
}
