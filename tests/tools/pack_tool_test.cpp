// Runs the tessarine-pack executable end to end on real folders.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <vector>

#include "bundle_bytes.h"

namespace fs = std::filesystem;

namespace {

struct ToolResult {
    int exitCode = -1;
    std::string out;
    std::string err;
};

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void WriteFile(const fs::path& path, const std::string& bytes) {
    fs::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary);
    out << bytes;
}

std::string ShellQuote(const std::string& text) {
    std::string quoted = "'";
    for (const char c : text) {
        if (c == '\'')
            quoted += "'\\''";
        else
            quoted += c;
    }
    return quoted + "'";
}

class PackTool : public ::testing::Test {
protected:
    void SetUp() override {
        root_ = fs::temp_directory_path() / (std::string("tessarine-pack-") + std::to_string(::getpid()) + "-" +
                                             ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(root_);
        fs::create_directories(root_);
    }
    void TearDown() override { fs::remove_all(root_); }

    fs::path At(const std::string& relative) const { return root_ / fs::u8path(relative); }

    ToolResult Run(const std::vector<std::string>& args) const {
        std::string command = ShellQuote(TESSARINE_PACK_EXE);
        for (const std::string& arg : args) command += " " + ShellQuote(arg);
        const fs::path out = root_ / "stdout.txt";
        const fs::path err = root_ / "stderr.txt";
        command += " >" + ShellQuote(out.string()) + " 2>" + ShellQuote(err.string());
        const int status = std::system(command.c_str());
        ToolResult result;
        result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        result.out = ReadFile(out);
        result.err = ReadFile(err);
        fs::remove(out);
        fs::remove(err);
        return result;
    }

    // Every regular file below the folder, by generic relative name.
    static std::map<std::string, std::string> Snapshot(const fs::path& folder) {
        std::map<std::string, std::string> files;
        for (const auto& entry : fs::recursive_directory_iterator(folder)) {
            if (entry.is_regular_file()) {
                files[entry.path().lexically_relative(folder).generic_u8string()] = ReadFile(entry.path());
            }
        }
        return files;
    }

    fs::path root_;
};

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

}  // namespace

TEST_F(PackTool, RoundTripsAFolderOfManyFiles) {
    std::map<std::string, std::string> expected;
    for (int i = 0; i < 150; ++i) {
        const std::string name = "sub" + std::to_string(i % 7) + "/deeper" + std::to_string(i % 3) + "/file" +
                                 std::to_string(i) + (i % 2 ? ".js" : ".png");
        expected[name] = std::string(static_cast<size_t>(i * 37), static_cast<char>(i));
    }
    expected["index.html"] = "<!doctype html><p>hello</p>\n";
    expected["empty.txt"] = "";
    expected["empty/also-empty.bin"] = "";
    expected["\xC3\xBCml\xC3\xA4ut/\xE6\x97\xA5\xE6\x9C\xAC.json"] = "{\"non\":\"ascii\"}";
    expected["B upper.txt"] = "upper case sorts first";
    std::string large(3 * (1 << 20) + 5, '\0');
    for (size_t i = 0; i < large.size(); ++i) large[i] = static_cast<char>(i % 251);
    expected["media/large.bin"] = large;
    for (const auto& [name, bytes] : expected) WriteFile(At("src/" + name), bytes);
    fs::create_directories(At("src/empty-folder"));

    // A trailing separator on the folder must not change the names.
    const ToolResult created = Run({"create", At("src").string() + "/", At("out/assets.dat").string()});
    // The output folder does not exist yet.
    EXPECT_EQ(created.exitCode, 1);
    fs::create_directories(At("out"));
    ASSERT_EQ(Run({"create", At("src").string() + "/", At("out/assets.dat").string()}).exitCode, 0);
    const ToolResult again = Run({"create", At("src").string(), At("out/again.dat").string()});
    ASSERT_EQ(again.exitCode, 0) << again.err;
    EXPECT_NE(again.out.find("Packed " + std::to_string(expected.size()) + " files"), std::string::npos) << again.out;
    EXPECT_TRUE(ReadFile(At("out/assets.dat")) == ReadFile(At("out/again.dat")));
    EXPECT_FALSE(fs::exists(At("out/assets.dat.partial")));

    const ToolResult verified = Run({"verify", At("out/assets.dat").string()});
    EXPECT_EQ(verified.exitCode, 0);
    EXPECT_EQ(verified.out, "OK: " + std::to_string(expected.size()) + " files\n");

    const ToolResult listed = Run({"list", At("out/assets.dat").string()});
    ASSERT_EQ(listed.exitCode, 0);
    const std::vector<std::string> lines = Lines(listed.out);
    ASSERT_EQ(lines.size(), expected.size());
    EXPECT_EQ(lines.front(), "B upper.txt\t22\ttext/plain; charset=utf-8");
    EXPECT_NE(std::find(lines.begin(), lines.end(), "index.html\t28\ttext/html; charset=utf-8"), lines.end());
    EXPECT_NE(std::find(lines.begin(), lines.end(), "media/large.bin\t3145733\tapplication/octet-stream"), lines.end());
    EXPECT_NE(std::find(lines.begin(), lines.end(), "empty.txt\t0\ttext/plain; charset=utf-8"), lines.end());
    EXPECT_EQ(lines.back().substr(0, 8), "\xC3\xBCml\xC3\xA4ut");
    EXPECT_TRUE(std::is_sorted(lines.begin(), lines.end()));

    const ToolResult extracted = Run({"extract", At("out/assets.dat").string(), At("copy").string()});
    ASSERT_EQ(extracted.exitCode, 0) << extracted.err;
    EXPECT_TRUE(Snapshot(At("copy")) == expected);

    const ToolResult catted = Run({"cat", At("out/assets.dat").string(), "media/large.bin"});
    EXPECT_EQ(catted.exitCode, 0);
    EXPECT_TRUE(catted.out == large);
    const ToolResult missing = Run({"cat", At("out/assets.dat").string(), "Index.html"});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_EQ(missing.out, "");
    EXPECT_NE(missing.err.find("no entry named 'Index.html'"), std::string::npos);
}

TEST_F(PackTool, WritesTheMinimalExampleAndNeverPacksItsOwnOutput) {
    WriteFile(At("www/a"), "abc");
    ASSERT_EQ(Run({"create", At("www").string(), At("www/assets.dat").string()}).exitCode, 0);
    EXPECT_TRUE(ReadFile(At("www/assets.dat")) == bundle_test::ExampleArchive());
    // Packing again beside the old archive leaves that archive out.
    ASSERT_EQ(Run({"create", At("www").string(), At("www/assets.dat").string()}).exitCode, 0);
    EXPECT_TRUE(ReadFile(At("www/assets.dat")) == bundle_test::ExampleArchive());
    EXPECT_EQ(Run({"cat", At("www/assets.dat").string(), "a"}).out, "abc");
}

TEST_F(PackTool, ShowsLargeArchiveProgress) {
    fs::create_directories(At("big"));
    std::ofstream(At("big/zeros.bin")).close();
    fs::resize_file(At("big/zeros.bin"), (uint64_t{130} << 20) + 1);  // sparse: cheap to make
    WriteFile(At("big/note.txt"), "note");
    const ToolResult created = Run({"create", At("big").string(), At("big.dat").string()});
    ASSERT_EQ(created.exitCode, 0) << created.err;
    const std::vector<std::string> lines = Lines(created.out);
    ASSERT_EQ(lines.size(), 3u) << created.out;
    EXPECT_EQ(lines[0], "  64 MiB of 130 MiB written");
    EXPECT_EQ(lines[1], "  128 MiB of 130 MiB written");
    EXPECT_EQ(lines[2].substr(0, 42), "Packed 2 files, 136314885 bytes of content");
    EXPECT_EQ(fs::file_size(At("big.dat")), 136314885u + 16 + 12 + 12 + 4 + 2 * 37 + 9 + 8);
}

TEST_F(PackTool, RefusesHostileNamesWhenExtracting) {
    for (const std::string name : {"../escaped", "/absolute", ""}) {
        const fs::path archive = At("hostile.dat");
        // Which names are refused is the name check's own test; here: the hostile entry
    // sorts after the harmless one, and neither may be written.
        const std::string harmless = name.empty() ? "z-first" : " first";
        WriteFile(archive, bundle_test::Header() + bundle_test::Chunk("blob", "xy") +
                               bundle_test::Chunk("fdir", bundle_test::Directory({{harmless, 0, 1}, {name, 1, 1}})));
        EXPECT_EQ(Run({"verify", archive.string()}).exitCode, 0) << name;
        const ToolResult extracted = Run({"extract", archive.string(), At("into/deeper").string()});
        EXPECT_EQ(extracted.exitCode, 1) << name;
        EXPECT_NE(extracted.err.find("refusing to extract"), std::string::npos) << extracted.err;
        EXPECT_FALSE(fs::exists(At("into"))) << name;
        EXPECT_FALSE(fs::exists(At("into/escaped")));
    }

    // A link planted in the target folder must not carry writes outside it.
    WriteFile(At("linked.dat"), bundle_test::Header() + bundle_test::Chunk("blob", "x") +
                                    bundle_test::Chunk("fdir", bundle_test::Directory({{"sub/file", 0, 1}})));
    fs::create_directories(At("target"));
    fs::create_directories(At("elsewhere"));
    fs::create_directory_symlink(At("elsewhere"), At("target/sub"));
    const ToolResult linked = Run({"extract", At("linked.dat").string(), At("target").string()});
    EXPECT_EQ(linked.exitCode, 1);
    EXPECT_FALSE(fs::exists(At("elsewhere/file")));
}

TEST_F(PackTool, ReportsFailuresWithoutLeavingArchivesBehind) {
    const ToolResult noFolder = Run({"create", At("missing").string(), At("a.dat").string()});
    EXPECT_EQ(noFolder.exitCode, 1);
    EXPECT_NE(noFolder.err.find("folder not found"), std::string::npos) << noFolder.err;
    EXPECT_FALSE(fs::exists(At("a.dat")));

    WriteFile(At("plain-file"), "x");
    EXPECT_EQ(Run({"create", At("plain-file").string(), At("a.dat").string()}).exitCode, 1);

    // The final rename fails (the target is a non-empty folder): the written
    // archive must be removed and the target left as it was.
    WriteFile(At("www/index.html"), "<p>");
    WriteFile(At("taken/keep.txt"), "keep");
    const ToolResult renameFails = Run({"create", At("www").string(), At("taken").string()});
    EXPECT_EQ(renameFails.exitCode, 1);
    EXPECT_FALSE(fs::exists(At("taken.partial")));
    EXPECT_EQ(ReadFile(At("taken/keep.txt")), "keep");

    // A failed create keeps the previous archive intact.
    ASSERT_EQ(Run({"create", At("www").string(), At("good.dat").string()}).exitCode, 0);
    const std::string before = ReadFile(At("good.dat"));
    EXPECT_EQ(Run({"create", At("missing").string(), At("good.dat").string()}).exitCode, 1);
    EXPECT_EQ(ReadFile(At("good.dat")), before);

    std::string broken = before;
    broken[0] = 'X';
    WriteFile(At("broken.dat"), broken);
    const ToolResult badFormat = Run({"verify", At("broken.dat").string()});
    EXPECT_EQ(badFormat.exitCode, 1);
    EXPECT_NE(badFormat.err.find("bad format"), std::string::npos) << badFormat.err;
    WriteFile(At("short.dat"), before.substr(0, before.size() - 1));
    const ToolResult truncated = Run({"list", At("short.dat").string()});
    EXPECT_EQ(truncated.exitCode, 1);
    EXPECT_NE(truncated.err.find("bad chunk"), std::string::npos) << truncated.err;
    EXPECT_EQ(Run({"verify", At("nothing.dat").string()}).exitCode, 1);
    EXPECT_EQ(Run({"verify", At("www").string()}).exitCode, 1);
}

TEST_F(PackTool, ExplainsItsUsage) {
    const ToolResult none = Run({});
    EXPECT_EQ(none.exitCode, 2);
    EXPECT_NE(none.err.find("Usage: tessarine-pack"), std::string::npos);
    const ToolResult help = Run({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.out.find("extract <assets.dat> <folder>"), std::string::npos);
    const ToolResult unknown = Run({"pack", "x"});
    EXPECT_EQ(unknown.exitCode, 2);
    EXPECT_NE(unknown.err.find("unknown command 'pack'"), std::string::npos);
    EXPECT_EQ(Run({"create", "only-one"}).exitCode, 2);
    EXPECT_EQ(Run({"verify", "a", "b"}).exitCode, 2);
}
