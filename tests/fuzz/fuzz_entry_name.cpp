// Nothing the packer's name check lets through leaves the extraction folder on Windows,
// and no list of names it lets through makes two files, or a file and a folder, one.
#include <set>
#include <string>
#include <vector>

#include "entry_name_check.h"
#include "fuzz/windows_path_oracle.h"

namespace {

std::string Lower(std::string text) {
    for (char& c : text) c = c >= 'A' && c <= 'Z' ? static_cast<char>(c | 0x20) : c;
    return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string name(reinterpret_cast<const char*>(data), size);
    if (UnsafeEntryNameReason(name).empty() && !fuzz_oracle::StaysInside(name)) __builtin_trap();

    // The same bytes as a list, one name a line.
    std::vector<std::string> names;
    for (size_t start = 0; start <= name.size();) {
        const size_t end = std::min(name.find('\n', start), name.size());
        names.push_back(name.substr(start, end - start));
        start = end + 1;
    }
    if (FirstBadEntry(names)) return 0;
    std::set<std::string> files, folders;
    for (const std::string& entry : names) {
        if (!UnsafeEntryNameReason(entry).empty() || !files.insert(Lower(entry)).second) __builtin_trap();
        for (size_t slash = entry.find('/'); slash != std::string::npos; slash = entry.find('/', slash + 1)) {
            folders.insert(Lower(entry.substr(0, slash)));
        }
    }
    for (const std::string& file : files) {
        if (folders.count(file)) __builtin_trap();
    }
    return 0;
}
