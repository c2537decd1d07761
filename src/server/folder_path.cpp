#include "server/folder_path.h"

bool IsSafeFolderPath(const std::string& requestPath) {
    if (requestPath.find(':') != std::string::npos || requestPath.find('\0') != std::string::npos) return false;
    std::string::size_type start = 0;
    while (start <= requestPath.size()) {
        const auto end = requestPath.find_first_of("/\\", start);
        const auto length = (end == std::string::npos ? requestPath.size() : end) - start;
        if (length == 2 && requestPath.compare(start, 2, "..") == 0) return false;
        if (end == std::string::npos) break;
        start = end + 1;
    }
    return true;
}

std::string FolderPathFor(const std::string& appFolder, const std::string& webFolder, const std::string& requestPath) {
    std::string path = appFolder + webFolder + requestPath;
    for (auto i = appFolder.size() + webFolder.size(); i < path.size(); ++i) {
        if (path[i] == '/') path[i] = '\\';
    }
    return path;
}
