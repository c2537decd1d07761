// Windows-only. Maps www\assets.dat at start-up and loads its directory.
#pragma once

#include <string>

#include "bundle/asset_bundle.h"
#include "util/mapped_file.h"

// The archive's file, mapping and view. The loaded bundle points into the view, so
// the mapping must outlive every use of the bundle.
using BundleMapping = MappedFile;

// Opens appFolder + "www\assets.dat" (appFolder ends with a backslash).
// Returns false when start-up must report "Error reading asset bundle";
// true when the archive loaded or does not exist. Whatever was obtained stays
// in `mapping` either way, and a directory read part way stays in `bundle`.
bool OpenAssetBundle(AssetBundle& bundle, const std::string& appFolder, BundleMapping& mapping);
