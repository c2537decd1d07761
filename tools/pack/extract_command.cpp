#include "pack_commands.h"

#include <fstream>
#include <iostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "bundle_file.h"
#include "entry_name_check.h"
#include "output_file.h"

namespace fs = std::filesystem;

namespace {

// A link or junction already inside the folder could lead a write outside of it.
void RefuseLinks(const fs::path& folder, const std::string& name) {
    fs::path current = folder;
    for (const fs::path& segment : fs::u8path(name)) {
        current /= segment;
        if (IsLinkOrJunction(current)) {
            throw std::runtime_error("refusing to write through the link " + current.u8string());
        }
    }
}

}  // namespace

void RunExtract(const fs::path& archive, const fs::path& folder, bool force) {
    BundleFile file(archive);
    const auto& entries = file.Bundle().entries;
    // Check every name, and the names together, before writing anything.
    std::vector<std::string> names;
    for (const BundleEntry& entry : entries) names.emplace_back(entry.name);
    if (const auto bad = FirstBadEntry(names)) {
        throw std::runtime_error("refusing to extract '" + PrintableName(names[bad->index]) + "': " + bad->reason);
    }

    // Nothing of the user's is replaced unless asked: check every file before writing any.
    for (const BundleEntry& entry : entries) {
        const std::string name(entry.name);
        RefuseLinks(folder, name);
        const fs::path target = folder / fs::u8path(name);
        std::error_code error;
        if (!force && fs::exists(fs::symlink_status(target, error))) {
            throw std::runtime_error("refusing to overwrite " + target.u8string() + " (--force replaces it)");
        }
    }

    fs::create_directories(folder);
    for (const BundleEntry& entry : entries) {
        const std::string name(entry.name);
        RefuseLinks(folder, name);
        const fs::path target = folder / fs::u8path(name);
        fs::create_directories(target.parent_path());
        std::error_code error;
        if (force && fs::is_regular_file(fs::symlink_status(target, error))) fs::remove(target);
        OutputFile out = OutputFile::Exclusive(target);
        file.ReadEntry(entry, [&](const char* data, size_t length) {
            out.Stream().write(data, static_cast<std::streamsize>(length));
        });
        out.Commit();
    }
    std::cout << "Extracted " << entries.size() << " files into " << folder.u8string() << std::endl;
}
