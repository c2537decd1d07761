// Nothing the folder guard lets through leaves www\ once Windows (or Wine) has read it.
#include <string>

#include "fuzz/windows_path_oracle.h"
#include "server/folder_path.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string path(reinterpret_cast<const char*>(data), size);
    if (IsSafeFolderPath(path) && !fuzz_oracle::StaysInside(path)) __builtin_trap();
    return 0;
}
