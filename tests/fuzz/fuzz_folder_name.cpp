// The app name rule: any name becomes one folder Windows reads as itself, and a name
// that already was one keeps it.
#include <string>

#include "fuzz/windows_path_oracle.h"
#include "util/windows_names.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string name(reinterpret_cast<const char*>(data), size);
    const std::string folder = SafeFolderName(name);
    if (folder.empty() || fuzz_oracle::OpensDevice(folder)) __builtin_trap();
    if (folder.back() == '.' || folder.back() == ' ') __builtin_trap();
    for (const char c : folder) {
        if (static_cast<unsigned char>(c) < 0x20 || std::string("<>:\"/\\|?*").find(c) != std::string::npos) {
            __builtin_trap();
        }
    }
    if (!fuzz_oracle::StaysInside(folder)) __builtin_trap();
    if (SafeFolderName(folder) != folder) __builtin_trap();
    return 0;
}
