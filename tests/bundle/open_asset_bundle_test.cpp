// Windows-only: runs under Wine with real files.
#include "bundle/open_asset_bundle.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "bundle_bytes.h"

namespace fs = std::filesystem;
using namespace bundle_test;

namespace {

// An app folder whose name is not plain ASCII, removed afterwards.
class AppFolder {
public:
    AppFolder() {
        root_ = fs::temp_directory_path() / fs::u8path(std::string("tessarine-\xC3\xA4pp-") +
                                                       ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(root_);
        fs::create_directories(root_ / "www");
    }
    ~AppFolder() {
        std::error_code ignored;
        fs::remove_all(root_, ignored);
    }
    std::string Utf8() const { return root_.u8string() + "\\"; }
    fs::path Archive() const { return root_ / "www" / "assets.dat"; }
    void WriteArchive(const std::string& bytes) const { std::ofstream(Archive(), std::ios::binary) << bytes; }

private:
    fs::path root_;
};

std::string EntryText(const AssetBundle& bundle, const std::string& name) {
    const BundleEntry* entry = bundle.Find(name);
    if (entry == nullptr) return "<missing>";
    return std::string(reinterpret_cast<const char*>(bundle.DataPointer(entry->offset)), entry->length);
}

// A missing archive, and what the host serves from the others, are the end-to-end tests'.
TEST(OpenAssetBundle, MapsAValidArchiveReadOnlyUntilClosed) {
    AppFolder app;
    AssetBundle bundle;
    BundleMapping mapping;
    app.WriteArchive(ExampleArchive());
    ASSERT_TRUE(OpenAssetBundle(bundle, app.Utf8(), mapping));
    ASSERT_TRUE(mapping && mapping->view.valid());
    EXPECT_EQ(bundle.base, mapping->view.get());
    EXPECT_EQ(EntryText(bundle, "a"), "abc");
    // Others may read the archive but not change it while it is mapped.
    EXPECT_TRUE(std::ifstream(app.Archive(), std::ios::binary).is_open());
    EXPECT_FALSE(std::ofstream(app.Archive(), std::ios::binary | std::ios::app).is_open());
    // The bundle and the host hold the mapping; the last of them closes it.
    const std::weak_ptr<MappedFile> watch = mapping;
    bundle.Clear();
    mapping.reset();
    EXPECT_TRUE(watch.expired());
    std::error_code error;
    EXPECT_TRUE(fs::remove(app.Archive(), error)) << error.message();
}

TEST(OpenAssetBundle, ReportsArchivesItCannotOpenOrRead) {
    AppFolder app;
    for (const std::string& bytes :
         {"tzaB" + ExampleArchive().substr(4), std::string(), ExampleArchive().substr(0, 60)}) {
        app.WriteArchive(bytes);
        AssetBundle bundle;
        BundleMapping mapping;
        EXPECT_FALSE(OpenAssetBundle(bundle, app.Utf8(), mapping)) << bytes.size();
        EXPECT_TRUE(bundle.entries.empty());
    }

    // A bad second entry: the first stays usable through the kept view.
    app.WriteArchive(Header() + Chunk("blob", "hello") + Chunk("fdir", Directory({{"good", 0, 5}, {"bad", 1, 5}})));
    AssetBundle partial;
    BundleMapping mapping;
    EXPECT_FALSE(OpenAssetBundle(partial, app.Utf8(), mapping));
    EXPECT_EQ(EntryText(partial, "good"), "hello");
    partial.Clear();
    mapping.reset();

    // A folder where the archive should be cannot be opened as a file.
    fs::remove(app.Archive());
    fs::create_directories(app.Archive());
    AssetBundle folder;
    BundleMapping folderMapping;
    EXPECT_FALSE(OpenAssetBundle(folder, app.Utf8(), folderMapping));
}

TEST(OpenAssetBundle, OpensArchivesBeyondFourGibibytes) {
    AppFolder app;
    // A sparse blob of 4 GiB + 4 KiB; only the file at its very end holds bytes.
    const uint64_t blobLength = (uint64_t{1} << 32) + 4096;
    const std::string tail = "tail of a very large archive";
    const std::string head = Header() + "blob" + BigEndian(blobLength, 8);
    const std::string directory =
        Directory({{"first.bin", 0, 16}, {"last.txt", blobLength - tail.size(), tail.size()}});
    {
        std::ofstream out(app.Archive(), std::ios::binary);
        out << head;
        out.seekp(static_cast<std::streamoff>(head.size() + blobLength - tail.size()));
        out << tail << Chunk("fdir", directory);
        ASSERT_TRUE(out.good());
    }
    AssetBundle bundle;
    BundleMapping mapping;
    ASSERT_TRUE(OpenAssetBundle(bundle, app.Utf8(), mapping));
    EXPECT_EQ(bundle.limit, 28 + blobLength + 12 + directory.size());
    EXPECT_EQ(EntryText(bundle, "last.txt"), tail);
    EXPECT_EQ(EntryText(bundle, "first.bin"), std::string(16, '\0'));
}

}  // namespace
