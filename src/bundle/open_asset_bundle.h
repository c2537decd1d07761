// Windows-only. Maps www\assets.dat at start-up and loads its directory.
#pragma once

#include <memory>
#include <string>

#include "bundle/asset_bundle.h"
#include "util/mapped_file.h"

// The archive's file, mapping and view, shared: the loaded bundle points into the
// view and holds a reference until Clear, and every response body made from it
// holds one until the browser lets it go. The last holder closes it.
using BundleMapping = std::shared_ptr<MappedFile>;

// Opens appFolder + "www\assets.dat" (appFolder ends with a backslash).
// Returns false when start-up must report "Error reading asset bundle";
// true when the archive loaded or does not exist (`mapping` then stays empty).
// Whatever was obtained stays in `mapping` either way, and a directory read part
// way stays in `bundle`.
bool OpenAssetBundle(AssetBundle& bundle, const std::string& appFolder, BundleMapping& mapping);
