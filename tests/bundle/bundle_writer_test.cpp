// The writer's refusals; what it writes is pinned by the packer's end-to-end test.
#include "bundle/bundle_writer.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace fs = std::filesystem;

namespace {

void WriteFile(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
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

TEST(BundleWriter, RefusesInputsThatWouldGiveAWrongArchive) {
    BundleWriter duplicate;
    duplicate.AddBytes("x", "1");
    duplicate.AddBytes("x", "2");
    EXPECT_EQ(WriteError(duplicate), "duplicate entry name: x");

    const fs::path folder = fs::temp_directory_path() / ("tessarine-writer-" + std::to_string(std::random_device{}()));
    fs::remove_all(folder);
    fs::create_directories(folder);
    BundleWriter missing;
    missing.AddFile("gone", folder / "gone");
    EXPECT_NE(WriteError(missing).find("cannot read"), std::string::npos);

    // A later file changes after it was measured but before it is copied.
    WriteFile(folder / "first", std::string(3 << 20, 'a'));
    for (const std::string changed : {"longer than before", "s"}) {
        WriteFile(folder / "second", "original");
        BundleWriter writer;
        writer.AddFile("first", folder / "first");
        writer.AddFile("second", folder / "second");
        bool rewritten = false;
        const std::string error = WriteError(writer, [&](uint64_t, uint64_t) {
            if (!rewritten) WriteFile(folder / "second", changed);
            rewritten = true;
        });
        EXPECT_EQ(error, "file changed while packing: " + (folder / "second").u8string()) << changed;
    }
    fs::remove_all(folder);

    BundleWriter writer;
    writer.AddBytes("a", "abc");
    std::ofstream closed;  // never opened: every write fails
    EXPECT_THROW(writer.Write(closed), std::runtime_error);
}

}  // namespace
