#include "pack_commands.h"

#include <iostream>

#include "bundle_file.h"
#include "entry_name_check.h"
#include "server/mime_types.h"

void RunList(const std::filesystem::path& archive) {
    BundleFile file(archive);
    for (const BundleEntry& entry : file.Bundle().entries) {
        // Names come from the archive: nothing in them may steer the terminal.
        std::cout << PrintableName(std::string(entry.name)) << '\t' << entry.length << '\t'
                  << MimeTypeForPath(entry.name) << '\n';
    }
    std::cout.flush();
}
