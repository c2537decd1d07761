// Portable. What the page may do with a folder the package does not name: the folders
// that hold code, or hold everything, are read-only unless the package opens them.
#pragma once

#include <map>
#include <string>

#include "util/app_config.h"

// The access of a folder the package leaves alone: read-only for <app>,
// <web-resource>, <local-app-data>, <roaming-app-data> and <profile>, read-write
// for the others.
FolderAccess DefaultFolderAccess(const std::string& placeholder);

// True when `folder` is `appFolder` or one of the folders above it. Windows paths:
// \ or /, an optional \\?\ prefix and trailing separators do not count, nor letter case.
bool FolderHoldsApp(const std::string& folder, const std::string& appFolder);

// What the page gets for the placeholder's folder at `path`: what the package names,
// else the default, made read-only when the folder holds the app (a game unzipped
// into Downloads must not be able to rewrite itself).
FolderAccess EffectiveFolderAccess(const std::map<std::string, FolderAccess>& configured,
                                   const std::string& placeholder, const std::string& path,
                                   const std::string& appFolder);
