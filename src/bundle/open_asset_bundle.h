// Windows-only. Maps www\assets.dat at start-up and loads its directory.
#pragma once

#include <string>

#include "bundle/asset_bundle.h"
#include "util/mapped_file.h"

// The folder beside the executable that holds the app's files and their bundle.
inline constexpr char webFolderName[] = "www\\";

// Opens appFolder + webFolderName + "assets.dat" (appFolder ends with a backslash).
// The archive's file, mapping and view are shared: the loaded bundle points into the
// view and holds a reference until Clear, and every response body made from it holds
// one until the browser lets it go. The last holder closes it.
// Returns false when start-up must report "Error reading asset bundle";
// true when the archive loaded or does not exist (`mapping` then stays empty).
// Whatever was obtained stays in `mapping` either way, and a directory read part
// way stays in `bundle`.
bool OpenAssetBundle(AssetBundle& bundle, const std::string& appFolder, SharedMappedFile& mapping);
