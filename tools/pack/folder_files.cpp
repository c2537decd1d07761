#include "folder_files.h"

#include <algorithm>
#include <stdexcept>
#include <system_error>

#include "output_file.h"

namespace fs = std::filesystem;

namespace {

// "www/" would otherwise yield names relative to an empty last segment.
fs::path WithoutTrailingSeparator(fs::path folder) {
    while (!folder.has_filename() && folder.has_relative_path()) {
        folder = folder.parent_path();
    }
    return folder;
}

bool IsSkipped(const fs::path& file, const std::vector<fs::path>& skip) {
    for (const fs::path& other : skip) {
        // Compare names first: it spares a file-system query for nearly every file.
        if (file.filename() != other.filename()) continue;
        std::error_code error;
        if (fs::equivalent(file, other, error)) return true;
    }
    return false;
}

}  // namespace

std::vector<FolderFile> ListFolderFiles(const fs::path& folder, const std::vector<fs::path>& skip) {
    std::error_code error;
    if (!fs::exists(folder, error)) {
        throw std::runtime_error("folder not found: " + folder.u8string());
    }
    if (!fs::is_directory(folder, error)) {
        throw std::runtime_error("not a folder: " + folder.u8string());
    }
    const fs::path root = WithoutTrailingSeparator(folder);

    std::vector<FolderFile> files;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(root)) {
        // A link or junction would pack a file from anywhere on the disk.
        if (IsLinkOrJunction(entry.path()))
            throw std::runtime_error("refusing to pack the link " + entry.path().u8string());
        if (!entry.is_regular_file() || IsSkipped(entry.path(), skip)) continue;
        files.push_back({entry.path().lexically_relative(root).generic_u8string(), entry.path()});
    }
    // std::string compares as unsigned bytes, the order the reader keeps too.
    std::sort(files.begin(), files.end(), [](const FolderFile& a, const FolderFile& b) { return a.name < b.name; });
    return files;
}
