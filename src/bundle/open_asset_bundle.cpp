// Windows-only.
#include "bundle/open_asset_bundle.h"

#include <exception>

#include "util/file_query.h"
#include "util/long_path.h"
#include "util/text_convert.h"

void BundleMapping::Close() {
    view.reset();
    mapping.reset();
    file.reset();
}

bool OpenAssetBundle(AssetBundle& bundle, const std::string& appFolder, BundleMapping& mapping) {
    const std::string path = appFolder + "www\\" + "assets.dat";
    if (!PathExists(path)) {
        return true;  // no archive: everything comes from the folder
    }
    uint64_t length = FileSize(path);

    mapping.Close();
    mapping.file.reset(::CreateFileW(ToLongPath(Utf8ToWide(path)).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                     OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!mapping.file.valid()) {
        return false;
    }
    // The file may have changed between the size query and the open. Once open
    // it cannot be written by anyone, and the view covers exactly what the
    // handle sees, so reads must stop there.
    LARGE_INTEGER current{};
    if (!::GetFileSizeEx(mapping.file.get(), &current)) {
        return false;
    }
    if (static_cast<uint64_t>(current.QuadPart) != length) {
        length = static_cast<uint64_t>(current.QuadPart);
    }

    mapping.mapping.reset(::CreateFileMappingW(mapping.file.get(), nullptr, PAGE_READONLY, 0, 0, nullptr));
    if (!mapping.mapping.valid()) {
        return false;
    }
    mapping.view.reset(::MapViewOfFile(mapping.mapping.get(), FILE_MAP_READ, 0, 0, 0));
    if (!mapping.view.valid()) {
        return false;
    }

    bundle.SetMemorySource(mapping.view.get(), length);
    try {
        bundle.Load();
    } catch (const std::exception&) {
        return false;
    }
    return true;
}
