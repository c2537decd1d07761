#include "bundle/bundle_writer.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "bundle/asset_bundle.h"
#include "bundle_bytes.h"

namespace fs = std::filesystem;

namespace {

class TempFolder {
public:
    TempFolder() {
        path_ = fs::temp_directory_path() / ("tessarine-writer-" + std::to_string(reinterpret_cast<uintptr_t>(this)) +
                                             "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(path_);
        fs::create_directories(path_);
    }
    ~TempFolder() { fs::remove_all(path_); }
    fs::path operator/(const std::string& name) const { return path_ / name; }

private:
    fs::path path_;
};

void WriteFile(const fs::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary);
    out << bytes;
}

std::string WriteToString(const BundleWriter& writer, const BundleWriter::Progress& progress = {}) {
    std::ostringstream out;
    const uint64_t length = writer.Write(out, progress);
    EXPECT_EQ(length, out.str().size());
    return out.str();
}

std::string WriteError(const BundleWriter& writer, const BundleWriter::Progress& progress = {}) {
    std::ostringstream out;
    try {
        writer.Write(out, progress);
    } catch (const std::runtime_error& error) {
        return error.what();
    }
    return "";
}

}  // namespace

TEST(BundleWriter, WritesTheMinimalExample) {
    BundleWriter fromBytes;
    fromBytes.AddBytes("a", "abc");
    EXPECT_EQ(WriteToString(fromBytes), bundle_test::ExampleArchive());

    TempFolder folder;
    WriteFile(folder / "a.bin", "abc");
    BundleWriter fromFile;
    fromFile.AddFile("a", folder / "a.bin");
    EXPECT_EQ(WriteToString(fromFile), bundle_test::ExampleArchive());

    BundleWriter empty;
    AssetBundle bundle;
    const std::string bytes = WriteToString(empty);
    bundle.SetMemorySource(bytes.data(), bytes.size());
    ASSERT_NO_THROW(bundle.Load());
    EXPECT_TRUE(bundle.entries.empty());
}

TEST(BundleWriter, RoundTripsLargeAndEmptyFilesDeterministically) {
    TempFolder folder;
    std::string large(3 * (1 << 20) + 17, '\0');
    for (size_t i = 0; i < large.size(); ++i) large[i] = static_cast<char>(i * 7 + i / 251);
    WriteFile(folder / "large", large);
    WriteFile(folder / "empty", "");

    auto build = [&] {
        BundleWriter writer;
        writer.AddFile("media/large.bin", folder / "large");
        writer.AddBytes("index.html", "<p>hi</p>");
        writer.AddFile("empty.txt", folder / "empty");
        writer.AddBytes("", "unnamed");
        return writer;
    };
    uint64_t lastWritten = 0;
    uint64_t reportedTotal = 0;
    int calls = 0;
    const std::string first = WriteToString(build(), [&](uint64_t written, uint64_t total) {
        EXPECT_GE(written, lastWritten);
        lastWritten = written;
        reportedTotal = total;
        ++calls;
    });
    EXPECT_EQ(first, WriteToString(build()));
    EXPECT_GT(calls, 3);
    EXPECT_EQ(lastWritten, large.size() + 9 + 7);
    EXPECT_EQ(reportedTotal, lastWritten);

    AssetBundle bundle;
    bundle.SetMemorySource(first.data(), first.size());
    ASSERT_NO_THROW(bundle.Load());
    ASSERT_EQ(bundle.entries.size(), 4u);
    EXPECT_EQ(bundle.blobOffset, 28u);
    const auto contents = [&](const std::string& name) {
        const BundleEntry* entry = bundle.Find(name);
        if (entry == nullptr) return std::string("<missing>");
        return std::string(reinterpret_cast<const char*>(bundle.DataPointer(entry->offset)), entry->length);
    };
    EXPECT_TRUE(contents("media/large.bin") == large);
    EXPECT_EQ(contents("index.html"), "<p>hi</p>");
    EXPECT_EQ(contents("empty.txt"), "");
    EXPECT_EQ(contents(""), "unnamed");
    // Files lie in the blob in the order they were added.
    EXPECT_EQ(bundle.Find("media/large.bin")->offset, 0u);
    EXPECT_EQ(bundle.Find("index.html")->offset, large.size());
}

TEST(BundleWriter, RefusesInputsThatWouldGiveAWrongArchive) {
    BundleWriter duplicate;
    duplicate.AddBytes("x", "1");
    duplicate.AddBytes("x", "2");
    EXPECT_EQ(WriteError(duplicate), "duplicate entry name: x");

    TempFolder folder;
    BundleWriter missing;
    missing.AddFile("gone", folder / "gone");
    EXPECT_NE(WriteError(missing).find("cannot read"), std::string::npos);

    // A later file changes after it was measured but before it is copied.
    std::string bigFirst(3 << 20, 'a');
    WriteFile(folder / "first", bigFirst);
    for (const std::string& changed : {std::string("longer than before"), std::string("s")}) {
        WriteFile(folder / "second", "original");
        BundleWriter writer;
        writer.AddFile("first", folder / "first");
        writer.AddFile("second", folder / "second");
        bool rewritten = false;
        const std::string error = WriteError(writer, [&](uint64_t, uint64_t) {
            if (!rewritten) WriteFile(folder / "second", changed);
            rewritten = true;
        });
        EXPECT_EQ(error, "file changed while packing: " + (folder / "second").u8string());
    }

    BundleWriter writer;
    writer.AddBytes("a", "abc");
    std::ofstream closed;  // never opened: every write fails
    EXPECT_THROW(writer.Write(closed), std::runtime_error);
}
