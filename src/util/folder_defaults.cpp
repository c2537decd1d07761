#include "util/folder_defaults.h"

#include <algorithm>
#include <array>

namespace {

// Lower case, one kind of separator, no long-path prefix and no trailing separators.
std::string Comparable(std::string path) {
    std::replace(path.begin(), path.end(), '/', '\\');
    if (path.rfind(R"(\\?\UNC\)", 0) == 0) {
        path.erase(0, 8);
        path.insert(0, "\\\\");
    } else if (path.rfind(R"(\\?\)", 0) == 0) {
        path.erase(0, 4);
    }
    while (!path.empty() && path.back() == '\\') path.pop_back();
    std::transform(path.begin(), path.end(), path.begin(),
                   [](unsigned char c) { return static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c); });
    return path;
}

}  // namespace

FolderAccess DefaultFolderAccess(const std::string& placeholder) {
    // The app's own code, the folders above the browser profile, and the whole profile.
    static constexpr std::array<const char*, 5> readOnly = {"<app>", "<web-resource>", "<local-app-data>",
                                                            "<roaming-app-data>", "<profile>"};
    for (const char* name : readOnly) {
        if (placeholder == name) return FolderAccess::Read;
    }
    return FolderAccess::ReadWrite;
}

bool FolderHoldsApp(const std::string& folder, const std::string& appFolder) {
    const std::string outer = Comparable(folder);
    const std::string app = Comparable(appFolder);
    if (outer.empty() || app.empty()) return false;
    return app == outer ||
           (app.size() > outer.size() && app.compare(0, outer.size(), outer) == 0 && app[outer.size()] == '\\');
}

FolderAccess EffectiveFolderAccess(const std::map<std::string, FolderAccess>& configured,
                                   const std::string& placeholder, const std::string& path,
                                   const std::string& appFolder) {
    const auto named = configured.find(placeholder);
    if (named != configured.end()) return named->second;
    const FolderAccess access = DefaultFolderAccess(placeholder);
    if (access == FolderAccess::ReadWrite && FolderHoldsApp(path, appFolder)) return FolderAccess::Read;
    return access;
}
