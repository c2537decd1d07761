#include "pack_commands.h"

#include <iostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "bundle_file.h"
#include "entry_name_check.h"

void RunVerify(const std::filesystem::path& archive) {
    BundleFile file(archive);
    const auto& entries = file.Bundle().entries;
    // An archive that extract would refuse is no good archive either.
    std::vector<std::string> names;
    for (const BundleEntry& entry : entries) names.emplace_back(entry.name);
    if (const auto bad = FirstBadEntry(names)) {
        throw std::runtime_error("bad entry " + std::to_string(bad->index + 1) + " '" +
                                 PrintableName(names[bad->index]) + "': " + bad->reason);
    }
    std::cout << "OK: " << entries.size() << " files" << std::endl;
}
