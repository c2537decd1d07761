// The packer against a hostile file system: a link planted where the archive is
// written, and an archive unpacked over the user's files.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>

#include "pack_commands.h"

namespace fs = std::filesystem;

namespace {

std::string Read(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class PackSafety : public ::testing::Test {
protected:
    void SetUp() override {
        fs::remove_all(root);
        fs::create_directories(root / "app/img");
        std::ofstream(root / "app/index.html") << "<p>app</p>";
        std::ofstream(root / "app/img/logo.png") << "png";
        std::ofstream(root / "victim.txt") << "keep me";
    }
    void TearDown() override { fs::remove_all(root); }
    const fs::path root = fs::temp_directory_path() / "tessarine-pack-safety";
};

TEST_F(PackSafety, CreateNeverWritesThroughALinkAtATemporaryName) {
    for (const char* name : {"assets.dat.partial", "assets.dat.partial-0", "assets.dat.tmp"}) {
        fs::create_symlink(root / "victim.txt", root / name);
    }
    RunCreate(root / "app", root / "assets.dat");
    EXPECT_EQ(Read(root / "victim.txt"), "keep me");
    EXPECT_FALSE(fs::is_symlink(root / "assets.dat"));
    size_t left = 0;
    for (const auto& entry : fs::directory_iterator(root)) left += entry.is_symlink() ? 0 : 1;
    EXPECT_EQ(left, 3u) << "only app, victim.txt and assets.dat";
    testing::internal::CaptureStdout();
    RunVerify(root / "assets.dat");
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "OK: 2 files\n");
}

TEST_F(PackSafety, ExtractReplacesExistingFilesOnlyWhenForced) {
    RunCreate(root / "app", root / "assets.dat");
    fs::create_directories(root / "out");
    std::ofstream(root / "out/index.html") << "the user's own page";
    try {
        RunExtract(root / "assets.dat", root / "out");
        ADD_FAILURE() << "an existing file was overwritten";
    } catch (const std::runtime_error& error) {
        EXPECT_EQ(error.what(), "refusing to overwrite " + (root / "out/index.html").u8string() + " (--force replaces it)");
    }
    // Refused before anything was written.
    EXPECT_EQ(Read(root / "out/index.html"), "the user's own page");
    EXPECT_FALSE(fs::exists(root / "out/img"));

    const std::string command = std::string(TESSARINE_PACK_EXE) + " extract " + (root / "assets.dat").string() + " " +
                                (root / "out").string() + " --force > /dev/null";
    EXPECT_EQ(std::system(command.c_str()), 0);
    EXPECT_EQ(Read(root / "out/index.html"), "<p>app</p>");
    EXPECT_EQ(Read(root / "out/img/logo.png"), "png");
}

}  // namespace
