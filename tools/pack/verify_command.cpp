#include "pack_commands.h"

#include <iostream>

#include "bundle_file.h"

void RunVerify(const std::filesystem::path& archive) {
    BundleFile file(archive);
    std::cout << "OK: " << file.Bundle().entries.size() << " files" << std::endl;
}
