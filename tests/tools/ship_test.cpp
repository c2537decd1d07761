// The pieces of tessarine-pack ship that stand alone: versions, program names, the
// PE reader's refusals and the zip writer and reader against Info-ZIP's tools.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <sstream>

#include "host_resources.h"
#include "output_file.h"
#include "pe_file.h"
#include "ship_command.h"
#include "support/pack_runner.h"
#include "zip_reader.h"
#include "zip_writer.h"

namespace fs = std::filesystem;
using test_support::ReadFile;
using test_support::WriteFile;

namespace {

TEST(ShipVersion, ReadsOneToFourNumbersAndRefusesTheRest) {
    const struct {
        const char* text;
        std::array<uint16_t, 4> parts;
    } good[] = {{"1", {1, 0, 0, 0}}, {"1.2", {1, 2, 0, 0}}, {"1.2.3", {1, 2, 3, 0}}, {"65535.0.7.4", {65535, 0, 7, 4}}};
    for (const auto& row : good) EXPECT_EQ(ParseVersion(row.text), row.parts) << row.text;
    for (const char* bad : {"", "1.", ".1", "1..2", "1.2.3.4.5", "v1", "1.2-beta", "65536", "1.-2", " 1"}) {
        try {
            ParseVersion(bad);
            ADD_FAILURE() << "accepted \"" << bad << "\"";
        } catch (const std::runtime_error& error) {
            EXPECT_EQ(std::string(error.what()).rfind("invalid version \"" + std::string(bad) + "\": ", 0), 0u)
                << error.what();
        }
    }
}

TEST(ShipExeName, IsAFileNameWindowsAccepts) {
    const struct {
        const char* name;
        const char* exe;
    } rows[] = {
        {"Skyward Lanterns", "Skyward Lanterns.exe"},
        {"a/b\\c:d*e?f\"g<h>i|j", "a_b_c_d_e_f_g_h_i_j.exe"},
        {"Game. . ", "Game.exe"},
        {"  Game", "Game.exe"},
        {"CON", "CON_.exe"},
        {"lpt1.txt", "lpt1.txt_.exe"},
        {"...", "App.exe"},
        {"tab\there", "tab_here.exe"},
        {"\xC3\xA9t\xC3\xA9", "\xC3\xA9t\xC3\xA9.exe"},
    };
    for (const auto& row : rows) EXPECT_EQ(SafeExeName(row.name), row.exe) << row.name;
}

TEST(ShipArguments, RefusesWhatCannotBeMeant) {
    auto args = [](std::initializer_list<const char*> list) { return std::vector<fs::path>(list.begin(), list.end()); };
    const struct {
        std::vector<fs::path> args;
        const char* message;
    } rows[] = {
        {args({"app"}), "'ship' takes an app folder and an output folder"},
        {args({"app", "out", "extra"}), "'ship' takes an app folder and an output folder"},
        {args({"app", "out", "--zap"}), "unknown option '--zap'"},
        {args({"app", "out", "--loader"}), "--loader needs a value"},
        {args({"app", "out", "--webview2", "always"}), "--webview2 takes \"skip\" or \"bootstrapper FILE\""},
        {args({"app", "out", "--sign-command", "signtool sign"}), "--sign-command needs {file}"},
        {args({"app", "out", "--per-machine"}), "go with --installer"},
    };
    for (const auto& row : rows) {
        try {
            ParseShipArguments(row.args);
            ADD_FAILURE() << "accepted: " << row.message;
        } catch (const std::invalid_argument& error) {
            EXPECT_NE(std::string(error.what()).find(row.message), std::string::npos) << error.what();
        }
    }
    const ShipOptions options = ParseShipArguments(
        args({"--zip", "app", "--webview2", "bootstrapper", "setup.exe", "out", "--installer", "--per-machine"}));
    EXPECT_EQ(options.app, "app");
    EXPECT_EQ(options.out, "out");
    EXPECT_TRUE(options.zip && options.installer && options.perMachine && !options.loose);
    EXPECT_EQ(options.runtimeSetup, RuntimeSetup::Bootstrapper);
    EXPECT_EQ(options.bootstrapper, "setup.exe");
}

TEST(ShipPeFile, RefusesWhatIsNoSixtyFourBitProgram) {
    std::string pe(0x200, '\0');
    pe.replace(0, 2, "MZ");
    pe[0x3C] = 0x40;
    pe.replace(0x40, 4, std::string("PE\0\0", 4));
    std::string i386 = pe;
    i386[0x44] = 0x4C;
    i386[0x45] = 0x01;
    std::string amd64 = pe;
    amd64[0x44] = 0x64;
    amd64[0x45] = static_cast<char>(0x86);
    const struct {
        std::string bytes;
        const char* problem;
    } rows[] = {
        {"", "not a Windows program or library"},
        {"MZ" + std::string(100, '\0'), "not a Windows program or library"},
        {i386, "not a 64-bit (x64) program or library"},
        {amd64, "not a 64-bit (PE32+) program or library"},
    };
    for (const auto& row : rows) {
        try {
            PeFile file(row.bytes, "game.dll");
            ADD_FAILURE() << "accepted: " << row.problem;
        } catch (const std::runtime_error& error) {
            EXPECT_EQ(std::string(error.what()), std::string("game.dll: ") + row.problem);
        }
    }
}

class ShipZip : public ::testing::Test {
protected:
    ShipZip() : root_(fs::temp_directory_path() / ("tessarine-zip-" + std::to_string(::getpid()))) {
        fs::remove_all(root_);
        fs::create_directories(root_);
    }
    ~ShipZip() override { fs::remove_all(root_); }
    std::string At(const std::string& name) const { return (root_ / name).string(); }

    // Through a stream; with the bundle's CRC-32 given, into a file of the packer's, as
    // ship writes it.
    std::string Zip(int64_t time, std::optional<uint32_t> bundleCrc = std::nullopt) const {
        std::ostringstream stream;
        std::optional<OutputFile> file;
        std::optional<ZipWriter> zip;
        if (bundleCrc) file.emplace(OutputFile::Exclusive(At("kernel.zip")));
        file ? zip.emplace(*file, time) : zip.emplace(stream, time);
        for (const char* name : {"Game/www/assets.dat", "Game/art/icon.png", "Game/package.json", "Game/empty.txt"}) {
            const bool bundle = std::string(name) == "Game/www/assets.dat";
            zip->AddFile(name, At(fs::path(name).filename().string()), bundle ? bundleCrc : std::nullopt);
        }
        const uint64_t length = zip->Finish();
        if (file) file->Commit(OutputFile::Durability::InCache);
        const std::string bytes = file ? ReadFile(At("kernel.zip")) : stream.str();
        EXPECT_EQ(length, bytes.size());
        return bytes;
    }

    fs::path root_;
};

TEST_F(ShipZip, StoresMediaAndNoiseDeflatesTextTheSameWayInAFileAndInfoZipReadsIt) {
    std::string noise(3 << 20, '\0');
    uint32_t state = 1;
    for (char& c : noise) c = static_cast<char>((state = state * 1103515245 + 12345) >> 24);
    const std::string text = std::string(5000, 'a') + "{\"name\": \"Game\"}";
    // A bundle may begin with scripts and hold mostly media: the whole of it decides.
    noise.replace(0, 128 << 10, std::string(128 << 10, 'x'));
    WriteFile(At("assets.dat"), noise);
    WriteFile(At("icon.png"), text);  // compressible, yet media by its name
    WriteFile(At("package.json"), text);
    WriteFile(At("empty.txt"), "");
    const std::string zip = Zip(1700000000);
    EXPECT_EQ(zip, Zip(1700000000)) << "the same inputs, the same bytes";
    EXPECT_NE(zip, Zip(1700000002));
    WriteFile(At("game.zip"), zip);

    const std::string list = At("list.txt");
    ASSERT_EQ(std::system(("zipinfo '" + At("game.zip") + "' > '" + list + "'").c_str()), 0);
    const std::string listing = ReadFile(list);
    for (const char* line : {"stor 23-Nov-14 22:13 Game/www/assets.dat", "stor 23-Nov-14 22:13 Game/art/icon.png",
                             "defN 23-Nov-14 22:13 Game/package.json", "stor 23-Nov-14 22:13 Game/empty.txt"}) {
        EXPECT_NE(listing.find(line), std::string::npos) << line << " in\n" << listing;
    }
    ASSERT_EQ(std::system(("unzip -qq -d '" + At("out") + "' '" + At("game.zip") + "'").c_str()), 0);
    EXPECT_EQ(ReadFile(At("out/Game/www/assets.dat")), noise);
    EXPECT_EQ(ReadFile(At("out/Game/package.json")), text);

    // Our reader, which takes the loader out of Microsoft's package, on what zip writes.
    ASSERT_EQ(std::system(("cd '" + At("") + "' && zip -q -r made.zip assets.dat package.json").c_str()), 0);
    const std::string made = ReadFile(At("made.zip"));
    EXPECT_EQ(ReadZipEntry(made, "assets.dat"), noise);
    EXPECT_EQ(ReadZipEntry(made, "package.json"), text);
    EXPECT_EQ(ReadZipEntry(made, "package"), std::nullopt);
    EXPECT_THROW(ReadZipEntry(text, "package.json"), std::runtime_error);
    EXPECT_THROW(ReadZipEntry(made.substr(0, made.size() - 30), "package.json"), std::runtime_error);

    std::ostringstream sink;  // the CRC as ship keeps it, while it writes the bundle
    Crc32PassThrough crc(sink);
    std::ostream(&crc) << noise << std::flush;
    EXPECT_EQ(sink.str(), noise);
    EXPECT_EQ(Zip(1700000000, crc.Crc()), zip) << "the bundle copied in the kernel";

    // A file shorter than measured stops the copy: the directory would lie.
    OutputFile cut = OutputFile::Exclusive(At("cut.zip"));
    for (const std::string& source : {At("empty.txt"), At("missing.txt")}) {
        try {
            cut.AppendFileBytes(source, 10);
            ADD_FAILURE() << source;
        } catch (const std::runtime_error& error) {
            EXPECT_EQ(std::string(error.what()), source == At("empty.txt")
                                                     ? "cannot copy " + source + " into " + At("cut.zip")
                                                     : "cannot read " + source);
        }
    }
}

TEST(ShipZipTime, ComesFromSourceDateEpochOrAFixedDay) {
    unsetenv("SOURCE_DATE_EPOCH");
    EXPECT_EQ(ReproducibleTime(), 1577836800);
    setenv("SOURCE_DATE_EPOCH", "1700000000", 1);
    EXPECT_EQ(ReproducibleTime(), 1700000000);
    setenv("SOURCE_DATE_EPOCH", "yesterday", 1);
    EXPECT_THROW(ReproducibleTime(), std::runtime_error);
    unsetenv("SOURCE_DATE_EPOCH");
}

}  // namespace
