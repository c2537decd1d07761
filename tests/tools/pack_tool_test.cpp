// Runs the tessarine-pack executable end to end on real folders.
#include <gtest/gtest.h>

#include <filesystem>

#include "support/bundle_bytes.h"
#include "support/pack_runner.h"

namespace fs = std::filesystem;
using namespace test_support;

namespace {

class PackTool : public ::testing::Test {
protected:
    std::string At(const std::string& relative) const { return runner_.At(relative); }
    ToolResult Run(const std::vector<std::string>& args, const std::string& out = "") const {
        return runner_.Run(args, out);
    }

    // An archive of a harmless entry and then one named `name`, written by hand.
    std::string ArchiveWith(const std::string& name) const { return ArchiveOf({" first", name}); }
    std::string ArchiveOf(const std::vector<std::string>& names) const {
        const std::string path = At("hostile.dat");
        std::vector<bundle_test::RawEntry> entries;
        for (const std::string& name : names) entries.push_back({name, 0, 1, 0, 0, 0});
        WriteFile(path, bundle_test::Header() + bundle_test::Chunk("blob", "xy") +
                            bundle_test::Chunk("fdir", bundle_test::Directory(entries)));
        return path;
    }

    const PackRunner runner_{TESSARINE_PACK_EXE, ::testing::UnitTest::GetInstance()->current_test_info()->name()};
};

TEST_F(PackTool, RoundTripsAFolderByteForByteAndInTheSameOrderEveryTime) {
    // Names that only look unusual are written as they are.
    const std::string large = LargeFile();
    const std::map<std::string, std::string> files = SampleTree(large);
    for (const auto& [name, bytes] : files) WriteFile(At("src/" + name), bytes);
    fs::create_directories(At("src/empty-folder"));
    fs::create_directories(At("out"));
    size_t content = 0;
    for (const auto& [name, bytes] : files) content += bytes.size();

    // A trailing separator on the folder changes nothing.
    const ToolResult created = Run({"create", At("src") + "/", At("out/assets.dat")});
    ASSERT_EQ(created.exitCode, 0) << created.err;
    EXPECT_EQ(created.out, "Packed " + std::to_string(files.size()) + " files, " + std::to_string(content) +
                               " bytes of content, into " + At("out/assets.dat") + " (" +
                               std::to_string(fs::file_size(At("out/assets.dat"))) + " bytes)\n");
    ASSERT_EQ(Run({"create", At("src"), At("out/again.dat")}).exitCode, 0);
    EXPECT_TRUE(ReadFile(At("out/assets.dat")) == ReadFile(At("out/again.dat")));

    EXPECT_EQ(Run({"verify", At("out/assets.dat")}).out, "OK: " + std::to_string(files.size()) + " files\n");
    // One line per file, in byte order of the names: name, length and MIME type.
    std::string expected;
    for (const auto& [name, bytes] : files) expected += name + "\t" + std::to_string(bytes.size()) + "\t|";
    const std::string listed = Run({"list", At("out/assets.dat")}).out;
    std::string seen;
    for (size_t at = 0, end; (end = listed.find('\n', at)) != std::string::npos; at = end + 1) {
        seen += listed.substr(at, listed.rfind('\t', end) + 1 - at) + "|";
    }
    EXPECT_EQ(seen, expected);
    EXPECT_NE(listed.find("\nindex.html\t10\ttext/html; charset=utf-8\n"), std::string::npos) << listed;

    const ToolResult extracted = Run({"extract", At("out/assets.dat"), At("copy")});
    EXPECT_EQ(extracted.out, "Extracted " + std::to_string(files.size()) + " files into " + At("copy") + "\n");
    EXPECT_TRUE(Snapshot(At("copy")) == files);
    EXPECT_TRUE(Run({"cat", At("out/assets.dat"), "media/large.bin"}).out == large);

    // Into a folder holding one of its files (not the first in order): refused before
    // anything is written; --force replaces it.
    WriteFile(At("over/index.html"), "the user's own page");
    const ToolResult refused = Run({"extract", At("out/assets.dat"), At("over")});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_EQ(refused.err,
              "tessarine-pack: refusing to overwrite " + At("over/index.html") + " (--force replaces it)\n");
    EXPECT_EQ(Snapshot(At("over")).size(), 1u);
    EXPECT_EQ(ReadFile(At("over/index.html")), "the user's own page");
    EXPECT_EQ(Run({"extract", At("out/assets.dat"), At("over"), "--force"}).exitCode, 0);
    EXPECT_TRUE(Snapshot(At("over")) == files);
}

TEST_F(PackTool, CreateNeverWritesThroughALinkAtATemporaryName) {
    WriteFile(At("app/index.html"), "<p>app</p>");
    WriteFile(At("victim.txt"), "keep me");
    for (const char* name : {"assets.dat.partial", "assets.dat.partial-0", "assets.dat.tmp"}) {
        fs::create_symlink(At("victim.txt"), At(name));
    }
    ASSERT_EQ(Run({"create", At("app"), At("assets.dat")}).exitCode, 0);
    EXPECT_EQ(ReadFile(At("victim.txt")), "keep me");
    EXPECT_FALSE(fs::is_symlink(At("assets.dat")));
    size_t left = 0;
    for (const auto& entry : fs::directory_iterator(At(""))) left += entry.is_symlink() ? 0 : 1;
    EXPECT_EQ(left, 3u) << "only app, victim.txt and assets.dat";
    EXPECT_EQ(Run({"verify", At("assets.dat")}).out, "OK: 1 files\n");
}

TEST_F(PackTool, WritesTheMinimalExampleAndNeverPacksItsOwnOutput) {
    WriteFile(At("www/a"), "abc");
    for (int round = 0; round < 2; ++round) {
        ASSERT_EQ(Run({"create", At("www"), At("www/assets.dat")}).exitCode, 0);
        EXPECT_TRUE(ReadFile(At("www/assets.dat")) == bundle_test::ExampleArchive()) << "round " << round;
    }
}

TEST_F(PackTool, ReportsProgressOnLargeFolders) {
    fs::create_directories(At("big"));
    std::ofstream(At("big/zeros.bin")).close();
    fs::resize_file(At("big/zeros.bin"), (uint64_t{130} << 20) + 1);  // sparse: cheap to make
    const ToolResult created = Run({"create", At("big"), At("big.dat")});
    ASSERT_EQ(created.exitCode, 0) << created.err;
    EXPECT_EQ(created.out.substr(0, created.out.find("Packed")),
              "  64 MiB of 130 MiB written\n  128 MiB of 130 MiB written\n");
}

TEST_F(PackTool, RefusesEveryUnsafeNameBeforeExtractingAnything) {
    // One name of each kind, with the reason the packer gives.
    const std::pair<std::string, std::string> rows[] = {
        {"", "empty name"},
        {"/etc/passwd", "absolute path"},
        {"a\\..\\b", "backslash in name"},
        {"C:evil", "drive or stream designator ':'"},
        {"tab\there", "control character in name"},
        {std::string("nul\0byte", 8), "control character in name"},
        {"a//b", "empty path segment"},
        {"a/./b", "'.' segment"},
        {"a/../../evil", "'..' segment"},
        {"dot.", "segment ending in a dot or space"},
        {"CON", "reserved device name 'CON'"},
        {"sub/Com1.js", "reserved device name 'Com1.js'"},
    };
    for (const auto& [name, reason] : rows) {
        std::string shown;  // control bytes are shown escaped
        for (const char c : name) shown += c == '\t' ? "\\x09" : c == '\0' ? "\\x00" : std::string(1, c);
        const ToolResult extracted = Run({"extract", ArchiveWith(name), At("into/deeper")});
        EXPECT_EQ(extracted.exitCode, 1) << shown;
        EXPECT_EQ(extracted.err, "tessarine-pack: refusing to extract '" + shown + "': " + reason + "\n");
        EXPECT_FALSE(fs::exists(At("into"))) << shown;
    }

    // A link planted in the target folder must not carry writes outside it.
    fs::create_directories(At("target"));
    fs::create_directories(At("elsewhere"));
    fs::create_directory_symlink(At("elsewhere"), At("target/sub"));
    const ToolResult linked = Run({"extract", ArchiveWith("sub/file"), At("target")});
    EXPECT_EQ(linked.err, "tessarine-pack: refusing to write through the link " + At("target/sub") + "\n");
    EXPECT_FALSE(fs::exists(At("elsewhere/file")));
}

TEST_F(PackTool, RefusesArchivesWhoseNamesCollideOnWindowsAndShowsNamesEscaped) {
    // The reader keeps entries in byte order of their names.
    struct Row {
        std::vector<std::string> names;
        std::string bad;  // the first bad entry, shown, and why
        size_t number;
    };
    const std::string longSegment(300, 'x');
    const Row rows[] = {
        {{"a", "a/b"}, "'a/b': 'a' is both a file and a folder", 2},
        {{"A", "a/b"}, "'a/b': 'A' is both a file and a folder", 2},
        {{"README", "docs/x", "readme"}, "'readme': the same file as 'README' once case is ignored", 3},
        {{"ok.txt", "q?.txt"}, "'q?.txt': character '?' that Windows refuses in names", 2},
        {{"ok.txt", "z/" + longSegment + "/f"},
         "'z/" + longSegment + "/f': path segment longer than 255 characters",
         2},
        {{"bell\a.txt"}, "'bell\\x07.txt': control character in name", 1},
    };
    for (const Row& row : rows) {
        const std::string archive = ArchiveOf(row.names);
        const ToolResult extracted = Run({"extract", archive, At("into")});
        EXPECT_EQ(extracted.exitCode, 1) << row.bad;
        EXPECT_EQ(extracted.err, "tessarine-pack: refusing to extract " + row.bad + "\n");
        EXPECT_FALSE(fs::exists(At("into"))) << row.bad;
        const ToolResult verified = Run({"verify", archive});
        EXPECT_EQ(verified.exitCode, 1) << row.bad;
        EXPECT_EQ(verified.err, "tessarine-pack: bad entry " + std::to_string(row.number) + " " + row.bad + "\n");
    }
    // 255 characters, counted as Windows counts them, are fine.
    EXPECT_EQ(Run({"verify", ArchiveOf({std::string(255, 'y'), "\xF0\x9F\x8E\xB2" + std::string(253, 'z')})}).out,
              "OK: 2 files\n");
    // list never writes a control byte, a C1 control or broken UTF-8 to the terminal.
    const ToolResult listed = Run({"list", ArchiveOf({"\x1B]0;owned\x07", "caf\xC3\xA9", "c1\xC2\x9B", "bad\xFF"})});
    EXPECT_EQ(listed.out,
              "\\x1B]0;owned\\x07\t1\tapplication/octet-stream\nbad\\xFF\t1\tapplication/octet-stream\n"
              "c1\\xC2\\x9B\t1\tapplication/octet-stream\ncaf\xC3\xA9\t1\tapplication/octet-stream\n");
}

TEST_F(PackTool, CreateRefusesLinksInsteadOfPackingWhatTheyPointAt) {
    WriteFile(At("www/index.html"), "<p>");
    WriteFile(At("secret/key.txt"), "secret");
    fs::create_symlink(At("secret/key.txt"), At("www/key.txt"));
    const ToolResult fileLink = Run({"create", At("www"), At("a.dat")});
    EXPECT_EQ(fileLink.exitCode, 1);
    EXPECT_EQ(fileLink.err, "tessarine-pack: refusing to pack the link " + At("www/key.txt") + "\n");
    fs::remove(At("www/key.txt"));
    fs::create_directory_symlink(At("secret"), At("www/sub"));
    const ToolResult folderLink = Run({"create", At("www"), At("a.dat")});
    EXPECT_EQ(folderLink.err, "tessarine-pack: refusing to pack the link " + At("www/sub") + "\n");
    EXPECT_FALSE(fs::exists(At("a.dat")));
}

TEST_F(PackTool, CheckParsesPackageJsonAsTheHostDoesAndPointsAtNearMissesAndWritableFolders) {
    const std::string closedRest = R"("<desktop>": "read", "<documents>": "none", "<downloads>": "read",
        "<pictures>": "read", "<saved-games>": "read", "<screenshots>": "read", "<videos>": "read")";
    struct Row {
        std::string packageJson;
        int exitCode;
        std::string out;
        std::string err;
    };
    const std::string ok = "OK: " + At("app/package.json") + "\n";
    const std::string refused = "tessarine-pack: the host would refuse " + At("app/package.json") + ": ";
    const Row rows[] = {
        {R"({"name": "n", "settings": {"folder-acess": {"<app>": "none"}}})", 1,
         "warning: unknown key 'folder-acess' in \"settings\": did you mean 'folder-access'?\n",
         refused + "invalid folder access\n"},
        {R"({"name": "n", "Settings": {}, "folder-access": {}})", 1,
         "warning: unknown key 'Settings' at the top level: did you mean 'settings'?\n"
         "warning: unknown key 'folder-access' at the top level: did you mean 'settings.folder-access'?\n",
         refused + "invalid folder access\n"},
        {R"({"name": "n", "settings": {"folder-access": {"<documnets>": "none"}}})", 1,
         "warning: unknown key '<documnets>' in \"folder-access\": did you mean '<documents>'?\n",
         refused + "invalid folder access\n"},
        {R"({"name": ""})", 1, "", refused + "invalid name\n"},
        {R"({"name": "n", "titel": "x", "window": {"widht": 5}, "version": 2, "settings": {"folder-access": {)" +
             closedRest + R"(, "<current-app-data>": "read-write"}}})",
         0,
         "warning: unknown key 'widht' in \"window\": did you mean 'width'?\n"
         "warning: <current-app-data> is read-write: any script in the page can change it\n" +
             ok,
         ""},
        {R"({"name": "n", "settings": {"folder-access": {)" + closedRest + R"(, "<app>": "read-write"}}})", 0,
         "warning: <app> is read-write: any script in the page can change it\n"
         "warning: <current-app-data> is read-write: any script in the page can change it (the default; \"read\" or "
         "\"none\" closes it)\n" +
             ok,
         ""},
    };
    for (const Row& row : rows) {
        WriteFile(At("app/package.json"), row.packageJson);
        const ToolResult checked = Run({"check", At("app")});
        EXPECT_EQ(checked.exitCode, row.exitCode) << row.packageJson;
        EXPECT_EQ(checked.out, row.out) << row.packageJson;
        EXPECT_EQ(checked.err, row.err) << row.packageJson;
    }
    const ToolResult missing = Run({"check", At("nowhere")});
    EXPECT_EQ(missing.err, "tessarine-pack: cannot read " + At("nowhere/package.json") + "\n");
}

TEST_F(PackTool, ExplainsEveryFailureAndLeavesNoArchiveBehind) {
    WriteFile(At("www/index.html"), "<p>");
    WriteFile(At("taken/keep.txt"), "keep");
    fs::create_directories(At("into/file"));  // where an entry's file would go
    ASSERT_EQ(Run({"create", At("www"), At("good.dat")}).exitCode, 0);
    const std::string good = ReadFile(At("good.dat"));
    WriteFile(At("broken.dat"), "X" + good.substr(1));
    WriteFile(At("short.dat"), good.substr(0, good.size() - 1));
    const ToolResult help = Run({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.out.find("  extract <assets.dat> <folder> [--force]\n"), std::string::npos);

    struct Row {
        std::vector<std::string> args;
        int exitCode;
        std::string error;  // the first line of standard error
    };
    const Row rows[] = {
        {{}, 2, "tessarine-pack: no command given"},
        {{"pack", "x"}, 2, "tessarine-pack: unknown command 'pack'"},
        {{"create", "only-one"}, 2, "tessarine-pack: 'create' takes 2 arguments"},
        {{"verify", "a", "b"}, 2, "tessarine-pack: 'verify' takes 1 argument"},
        {{"create", At("missing"), At("good.dat")}, 1, "tessarine-pack: folder not found: " + At("missing")},
        {{"create", At("good.dat"), At("a.dat")}, 1, "tessarine-pack: not a folder: " + At("good.dat")},
        {{"create", At("www"), At("no/such/a.dat")},
         1,
         "tessarine-pack: cannot create a temporary file beside " + At("no/such/a.dat") +
             ": No such file or directory"},
        {{"verify", At("broken.dat")}, 1, "tessarine-pack: bad format"},
        {{"list", At("short.dat")}, 1, "tessarine-pack: bad chunk"},
        {{"verify", At("www")}, 1, "tessarine-pack: not a file: " + At("www")},
        {{"cat", At("good.dat"), "Index.html"}, 1, "tessarine-pack: no entry named 'Index.html' in " + At("good.dat")},
        {{"extract", ArchiveWith("file"), At("into"), "--force"},
         1,
         "tessarine-pack: cannot create " + At("into/file") + ": File exists"},
    };
    for (const Row& row : rows) {
        const ToolResult result = Run(row.args);
        EXPECT_EQ(result.exitCode, row.exitCode) << row.error;
        EXPECT_EQ(result.err.substr(0, result.err.find('\n')), row.error);
        EXPECT_EQ(result.out, "") << row.error;
        // Usage errors come with the usage text.
        if (row.exitCode == 2) {
            EXPECT_EQ(result.err.substr(result.err.find('\n') + 2), help.out) << row.error;
        }
    }
    const ToolResult missing = Run({"verify", At("nothing.dat")});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_EQ(missing.err.rfind("tessarine-pack: cannot read " + At("nothing.dat") + ": ", 0), 0u) << missing.err;
    const ToolResult full = Run({"cat", At("good.dat"), "index.html"}, "/dev/full");
    EXPECT_EQ(full.exitCode, 1);
    EXPECT_EQ(full.err, "tessarine-pack: cannot write to standard output\n");

    // A failed create leaves no partial file and keeps what the target held before.
    EXPECT_EQ(Run({"create", At("missing"), At("good.dat")}).exitCode, 1);
    EXPECT_EQ(ReadFile(At("good.dat")), good);
    EXPECT_EQ(Run({"create", At("www"), At("taken")}).exitCode, 1);  // the final rename fails
    EXPECT_EQ(ReadFile(At("taken/keep.txt")), "keep");
    EXPECT_FALSE(fs::exists(At("taken.partial")) || fs::exists(At("a.dat")) || fs::exists(At("no")));
}

}  // namespace
