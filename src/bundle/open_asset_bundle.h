// Windows-only. Maps www\assets.dat at start-up and loads its directory.
#pragma once

#include <string>

#include "bundle/asset_bundle.h"
#include "util/win_handles.h"

// Owns the archive's file handle, file mapping and view; the loaded bundle
// points into the view, so this must outlive every use of the bundle.
class BundleMapping {
public:
    BundleMapping() = default;
    ~BundleMapping() { Close(); }
    BundleMapping(const BundleMapping&) = delete;
    BundleMapping& operator=(const BundleMapping&) = delete;

    // Unmaps the view, then closes the mapping, then the file; each only if held.
    void Close();

    UniqueHandle file;
    UniqueHandle mapping;
    MappedView view;
};

// Opens appFolder + "www\assets.dat" (appFolder ends with a backslash).
// Returns false when start-up must report "Error reading asset bundle";
// true when the archive loaded or does not exist. Whatever was obtained stays
// in `mapping` either way, and a directory read part way stays in `bundle`.
bool OpenAssetBundle(AssetBundle& bundle, const std::string& appFolder, BundleMapping& mapping);
