// Windows-only: runs under Wine with real files. Archives beyond 4 GiB are the content
// server's tests; a missing archive, and what the host serves from the others, are the
// end-to-end tests'.
#include "bundle/open_asset_bundle.h"

#include <gtest/gtest.h>

#include <fstream>

#include "support/bundle_bytes.h"
#include "support/temp_folder.h"

using namespace bundle_test;

namespace {

const wchar_t kArchive[] = L"www\\assets.dat";

// A fresh app folder whose www folder holds the archive bytes given.
struct App {
    explicit App(const std::string& bytes, const wchar_t* name = L"tessarine-open") : folder(name) {
        folder.MakeFolder(L"www");
        folder.Write(kArchive, bytes);
    }
    bool Open(AssetBundle& bundle, SharedMappedFile& mapping) const {
        return OpenAssetBundle(bundle, folder.Utf8(L"") + "\\", mapping);
    }
    test_support::TempFolder folder;
};

TEST(OpenAssetBundle, MapsAValidArchiveReadOnlyUntilClosed) {
    const App app(ExampleArchive());
    AssetBundle bundle;
    SharedMappedFile mapping;
    ASSERT_TRUE(app.Open(bundle, mapping));
    ASSERT_TRUE(mapping && mapping->view.valid());
    EXPECT_EQ(bundle.base, mapping->view.get());
    EXPECT_EQ(EntryText(bundle, "a"), "abc");
    // Others may read the archive but not change it while it is mapped.
    EXPECT_TRUE(std::ifstream(app.folder.Wide(kArchive).c_str(), std::ios::binary).is_open());
    EXPECT_FALSE(std::ofstream(app.folder.Wide(kArchive).c_str(), std::ios::binary | std::ios::app).is_open());
    // The bundle and the host hold the mapping; the last of them closes it.
    const std::weak_ptr<const MappedFile> watch = mapping;
    bundle.Clear();
    mapping.reset();
    EXPECT_TRUE(watch.expired());
    EXPECT_TRUE(app.folder.Write(kArchive, ""));
}

TEST(OpenAssetBundle, ReportsArchivesItCannotOpenOrRead) {
    for (const std::string& bytes :
         {"tzaB" + ExampleArchive().substr(4), std::string(), ExampleArchive().substr(0, 60)}) {
        const App app(bytes);
        AssetBundle bundle;
        SharedMappedFile mapping;
        EXPECT_FALSE(app.Open(bundle, mapping)) << bytes.size();
        EXPECT_TRUE(bundle.entries.empty());
    }
    // A bad second entry: the first stays usable through the kept view.
    const App partial(Header() + Chunk("blob", "hello") + Chunk("fdir", Directory({{"good", 0, 5}, {"bad", 1, 5}})));
    AssetBundle bundle;
    SharedMappedFile mapping;
    EXPECT_FALSE(partial.Open(bundle, mapping));
    EXPECT_EQ(EntryText(bundle, "good"), "hello");

    // A folder where the archive should be cannot be opened as a file.
    const App folder("", L"tessarine-open-folder");
    ASSERT_TRUE(DeleteFileW(folder.folder.Wide(kArchive).c_str()) && folder.folder.MakeFolder(kArchive));
    AssetBundle none;
    SharedMappedFile noMapping;
    EXPECT_FALSE(folder.Open(none, noMapping));
}

}  // namespace
