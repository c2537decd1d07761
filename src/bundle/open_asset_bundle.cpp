// Windows-only.
#include "bundle/open_asset_bundle.h"

#include <exception>

#include "util/file_query.h"

bool OpenAssetBundle(AssetBundle& bundle, const std::string& appFolder, SharedMappedFile& mapping) {
    const std::string path = appFolder + webFolderName + "assets.dat";
    if (!PathExists(path)) {
        return true;  // no archive: everything comes from the folder
    }
    mapping = std::make_shared<const MappedFile>(OpenMappedFile(path));
    if (!mapping->view) {
        return false;
    }
    // Once open the file cannot be written by anyone, and the view covers exactly
    // the size the handle saw, so reads stop there.
    bundle.SetMemorySource(mapping->view.get(), mapping->size, mapping);
    try {
        bundle.Load();
    } catch (const std::exception&) {
        return false;
    }
    return true;
}
