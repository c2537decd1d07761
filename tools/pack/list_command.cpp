#include "pack_commands.h"

#include <iostream>

#include "bundle_file.h"
#include "server/mime_types.h"

void RunList(const std::filesystem::path& archive) {
    BundleFile file(archive);
    for (const BundleEntry& entry : file.Bundle().entries) {
        std::cout << entry.name << '\t' << entry.length << '\t' << MimeTypeForPath(entry.name) << '\n';
    }
    std::cout.flush();
}
