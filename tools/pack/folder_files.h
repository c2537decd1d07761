#pragma once

#include <filesystem>
#include <string>
#include <vector>

struct FolderFile {
    std::string name;  // UTF-8, relative to the folder, "/" between segments
    std::filesystem::path path;
};

// Every regular file below `folder`, sorted by the bytes of their names.
// Files that are the same file as one of `skip` are left out.
std::vector<FolderFile> ListFolderFiles(const std::filesystem::path& folder,
                                        const std::vector<std::filesystem::path>& skip);
