#include "pack_commands.h"

#include <cstdio>
#include <fstream>
#include <iostream>
#include <stdexcept>

#include "bundle_file.h"
#include "entry_name_check.h"

namespace fs = std::filesystem;

namespace {

// Names come from the archive: keep control bytes out of the terminal.
std::string Printable(const std::string& name) {
    std::string out;
    for (const char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) {
            char escaped[5];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
            out += escaped;
        } else {
            out += c;
        }
    }
    return out;
}

// A link already inside the folder could lead a write outside of it.
void RefuseLinks(const fs::path& folder, const std::string& name) {
    fs::path current = folder;
    for (const fs::path& segment : fs::u8path(name)) {
        current /= segment;
        std::error_code error;
        if (fs::is_symlink(fs::symlink_status(current, error))) {
            throw std::runtime_error("refusing to write through the link " + current.u8string());
        }
    }
}

}  // namespace

void RunExtract(const fs::path& archive, const fs::path& folder) {
    BundleFile file(archive);
    const auto& entries = file.Bundle().entries;
    // Check every name before writing anything.
    for (const BundleEntry& entry : entries) {
        const std::string name(entry.name);
        const std::string reason = UnsafeEntryNameReason(name);
        if (!reason.empty()) {
            throw std::runtime_error("refusing to extract '" + Printable(name) + "': " + reason);
        }
    }

    fs::create_directories(folder);
    for (const BundleEntry& entry : entries) {
        const std::string name(entry.name);
        RefuseLinks(folder, name);
        const fs::path target = folder / fs::u8path(name);
        fs::create_directories(target.parent_path());
        std::ofstream out(target, std::ios::binary | std::ios::trunc);
        if (!out) {
            throw std::runtime_error("cannot create " + target.u8string());
        }
        file.ReadEntry(entry,
                       [&](const char* data, size_t length) { out.write(data, static_cast<std::streamsize>(length)); });
        out.close();
        if (!out) {
            throw std::runtime_error("cannot write " + target.u8string());
        }
    }
    std::cout << "Extracted " << entries.size() << " files into " << folder.u8string() << std::endl;
}
