// Nothing the packer's name check lets through leaves the extraction folder on Windows.
#include <string>

#include "entry_name_check.h"
#include "fuzz/windows_path_oracle.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string name(reinterpret_cast<const char*>(data), size);
    if (UnsafeEntryNameReason(name).empty() && !fuzz_oracle::StaysInside(name)) __builtin_trap();
    return 0;
}
