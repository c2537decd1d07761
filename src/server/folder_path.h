#pragma once
// Request paths that may be looked up in the www folder.

#include <string>

// False for a path that could leave the folder: a segment that Windows reads as ".."
// (between "/" or "\" separators; "...", ".. " too), a device name, a drive or
// stream colon, or a NUL byte.
bool IsSafeFolderPath(const std::string& requestPath);

// appFolder + webFolder + the request path with every "/" turned into "\".
std::string FolderPathFor(const std::string& appFolder, const std::string& webFolder, const std::string& requestPath);
