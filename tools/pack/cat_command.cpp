#include "pack_commands.h"

#include <cstdio>
#include <stdexcept>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

#include "bundle_file.h"

void RunCat(const std::filesystem::path& archive, const std::string& name) {
    BundleFile file(archive);
    const BundleEntry* entry = file.Bundle().Find(name);
    if (entry == nullptr) {
        throw std::runtime_error("no entry named '" + name + "' in " + archive.u8string());
    }
#ifdef _WIN32
    // Text mode would turn every line feed into CR LF.
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    file.ReadEntry(*entry, [](const char* data, size_t length) {
        if (std::fwrite(data, 1, length, stdout) != length) {
            throw std::runtime_error("cannot write to standard output");
        }
    });
    if (std::fflush(stdout) != 0) {
        throw std::runtime_error("cannot write to standard output");
    }
}
