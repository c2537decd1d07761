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
        fs::create_directories(root_);
    }
    ~AppFolder() {
        std::error_code ignored;
        fs::remove_all(root_, ignored);
    }
    std::string Utf8() const { return root_.u8string() + "\\"; }
    fs::path Archive() const { return root_ / "www" / "assets.dat"; }
    void WriteArchive(const std::string& bytes) const {
        fs::create_directories(root_ / "www");
        std::ofstream out(Archive(), std::ios::binary);
        out << bytes;
    }

private:
    fs::path root_;
};

std::string EntryText(const AssetBundle& bundle, const std::string& name) {
    const BundleEntry* entry = bundle.Find(name);
    if (entry == nullptr) return "<missing>";
    return std::string(reinterpret_cast<const char*>(bundle.DataPointer(entry->offset)), entry->length);
}

}  // namespace

TEST(OpenAssetBundle, TreatsAMissingArchiveAsNoArchive) {
    AppFolder app;
    AssetBundle bundle;
    BundleMapping mapping;
    EXPECT_TRUE(OpenAssetBundle(bundle, app.Utf8(), mapping));
    fs::create_directories(app.Archive().parent_path());
    EXPECT_TRUE(OpenAssetBundle(bundle, app.Utf8(), mapping));
    EXPECT_TRUE(bundle.entries.empty());
    EXPECT_EQ(bundle.readMode, 0u);
    EXPECT_FALSE(mapping);
}

TEST(OpenAssetBundle, MapsAndLoadsAValidArchive) {
    AppFolder app;
    app.WriteArchive(ExampleArchive());
    AssetBundle bundle;
    {
        BundleMapping mapping;
        ASSERT_TRUE(OpenAssetBundle(bundle, app.Utf8(), mapping));
        EXPECT_TRUE(mapping->file.valid());
        EXPECT_TRUE(mapping->mapping.valid());
        ASSERT_TRUE(mapping->view.valid());
        EXPECT_EQ(bundle.readMode, 1u);
        EXPECT_EQ(bundle.base, mapping->view.get());
        EXPECT_EQ(bundle.SourceOwner(), mapping);
        EXPECT_EQ(bundle.blobOffset, 28u);
        EXPECT_EQ(EntryText(bundle, "a"), "abc");

        // The archive is open for reading only, and others may still read it.
        std::ifstream reader(app.Archive(), std::ios::binary);
        EXPECT_TRUE(reader.is_open());
        EXPECT_FALSE(std::ofstream(app.Archive(), std::ios::binary | std::ios::app).is_open());

        // The bundle and the host are the two holders; the last one closes it.
        const std::weak_ptr<MappedFile> watch = mapping;
        bundle.Clear();
        EXPECT_EQ(bundle.SourceOwner(), nullptr);
        mapping.reset();
        EXPECT_TRUE(watch.expired());
    }
    // Everything is released: the archive can be replaced now.
    std::error_code error;
    EXPECT_TRUE(fs::remove(app.Archive(), error)) << error.message();
}

TEST(OpenAssetBundle, ReportsBrokenArchives) {
    AppFolder app;
    std::string badMagic = ExampleArchive();
    badMagic[1] = 'Z';
    for (const std::string& bytes : {badMagic, std::string(), ExampleArchive().substr(0, 60)}) {
        app.WriteArchive(bytes);
        AssetBundle bundle;
        BundleMapping mapping;
        EXPECT_FALSE(OpenAssetBundle(bundle, app.Utf8(), mapping)) << bytes.size();
        EXPECT_TRUE(bundle.entries.empty());
    }

    // A bad second entry: the first one stays usable through the kept view.
    app.WriteArchive(Header() + Chunk("blob", "hello") + Chunk("fdir", Directory({{"good", 0, 5}, {"bad", 1, 5}})));
    AssetBundle partial;
    BundleMapping mapping;
    EXPECT_FALSE(OpenAssetBundle(partial, app.Utf8(), mapping));
    EXPECT_TRUE(mapping->view.valid());
    EXPECT_EQ(EntryText(partial, "good"), "hello");
    EXPECT_EQ(partial.Find("bad"), nullptr);
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
    std::string head = Header() + "blob";
    PutU64(head, blobLength);
    const std::string directory =
        Directory({{"first.bin", 0, 16}, {"last.txt", blobLength - tail.size(), tail.size()}});
    fs::create_directories(app.Archive().parent_path());
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
    EXPECT_EQ(bundle.blobLength, blobLength);
    EXPECT_EQ(bundle.limit, 28 + blobLength + 12 + directory.size());
    EXPECT_EQ(EntryText(bundle, "last.txt"), tail);
    EXPECT_EQ(EntryText(bundle, "first.bin"), std::string(16, '\0'));
}
