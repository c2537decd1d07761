// The packer against a hostile file system: a link planted where the archive is
// written, and an archive unpacked over the user's files.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>

#include "pack_commands.h"

namespace fs = std::filesystem;

namespace {

std::string Read(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void Write(const fs::path& path, const std::string& bytes) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
}

class PackSafety : public ::testing::Test {
protected:
    void SetUp() override {
        root = fs::temp_directory_path() /
               ("tessarine-safety-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(root);
        Write(root / "app/index.html", "<p>app</p>");
        Write(root / "app/img/logo.png", "png");
    }
    void TearDown() override { fs::remove_all(root); }
    fs::path root;
};

TEST_F(PackSafety, CreateNeverWritesThroughALinkAtTheTemporaryNameAndLeavesNoTemporaryFile) {
    Write(root / "victim.txt", "keep me");
    for (const char* suffix : {".partial", ".partial-0", ".tmp"}) {
        fs::create_symlink(root / "victim.txt", root / (std::string("assets.dat") + suffix));
    }
    RunCreate(root / "app", root / "assets.dat");
    EXPECT_EQ(Read(root / "victim.txt"), "keep me");
    int partial = 0;
    for (const auto& entry : fs::directory_iterator(root)) {
        const std::string name = entry.path().filename().string();
        if (name.rfind("assets.dat.partial-", 0) == 0 && !entry.is_symlink()) ++partial;
    }
    EXPECT_EQ(partial, 0);
    EXPECT_FALSE(fs::is_symlink(root / "assets.dat"));
    testing::internal::CaptureStdout();
    RunVerify(root / "assets.dat");
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "OK: 2 files\n");
}

TEST_F(PackSafety, ExtractReplacesExistingFilesOnlyWhenForced) {
    RunCreate(root / "app", root / "assets.dat");
    Write(root / "out/index.html", "the user's own page");
    try {
        RunExtract(root / "assets.dat", root / "out");
        ADD_FAILURE() << "an existing file was overwritten";
    } catch (const std::runtime_error& error) {
        EXPECT_EQ(std::string(error.what()),
                  "refusing to overwrite " + (root / "out/index.html").u8string() + " (--force replaces it)");
    }
    // Refused before anything was written.
    EXPECT_EQ(Read(root / "out/index.html"), "the user's own page");
    EXPECT_FALSE(fs::exists(root / "out/img"));

    const std::string command = std::string(TESSARINE_PACK_EXE) + " extract '" + (root / "assets.dat").string() +
                                "' '" + (root / "out").string() + "' --force > /dev/null";
    EXPECT_EQ(std::system(command.c_str()), 0);
    EXPECT_EQ(Read(root / "out/index.html"), "<p>app</p>");
    EXPECT_EQ(Read(root / "out/img/logo.png"), "png");
}

TEST_F(PackSafety, ExtractRefusesALinkAtTheFileItWouldWriteEvenWhenForced) {
    RunCreate(root / "app", root / "assets.dat");
    Write(root / "victim.txt", "keep me");
    fs::create_directories(root / "out");
    fs::create_symlink(root / "victim.txt", root / "out/index.html");
    EXPECT_THROW(RunExtract(root / "assets.dat", root / "out", true), std::runtime_error);
    EXPECT_EQ(Read(root / "victim.txt"), "keep me");
}

}  // namespace
