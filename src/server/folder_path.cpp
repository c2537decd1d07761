#include "server/folder_path.h"

#include "util/windows_names.h"

bool IsSafeFolderPath(const std::string& requestPath) {
    if (requestPath.find(':') != std::string::npos || requestPath.find('\0') != std::string::npos) return false;
    std::string::size_type start = 0;
    while (start <= requestPath.size()) {
        const auto end = requestPath.find_first_of("/\\", start);
        const auto segment =
            std::string_view(requestPath).substr(start, (end == std::string::npos ? requestPath.size() : end) - start);
        // Windows drops trailing dots and spaces, so ".. " climbs like ".."; a device
        // name opens the device, not a file of the folder.
        if (IsDotSegment(segment) || IsWindowsDeviceName(segment)) return false;
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
