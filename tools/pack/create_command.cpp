#include "pack_commands.h"

#include <fstream>
#include <iostream>
#include <stdexcept>
#include <system_error>

#include "bundle/bundle_writer.h"
#include "folder_files.h"

namespace fs = std::filesystem;

namespace {

constexpr uint64_t kProgressStep = uint64_t{64} << 20;

uint64_t Mebibytes(uint64_t bytes) {
    return bytes >> 20;
}

// Removes the half-written archive unless the work completed.
class TemporaryFile {
public:
    explicit TemporaryFile(fs::path path) : path_(std::move(path)) {}
    ~TemporaryFile() {
        if (!kept_) {
            std::error_code ignored;
            fs::remove(path_, ignored);
        }
    }
    const fs::path& Path() const { return path_; }
    void Keep() { kept_ = true; }

private:
    fs::path path_;
    bool kept_ = false;
};

}  // namespace

void RunCreate(const fs::path& folder, const fs::path& target) {
    fs::path temporaryPath = target;
    temporaryPath += ".partial";
    // The archive may be written into the folder it packs: never pack it into itself.
    const std::vector<FolderFile> files = ListFolderFiles(folder, {target, temporaryPath});

    BundleWriter writer;
    for (const FolderFile& file : files) {
        writer.AddFile(file.name, file.path);
    }

    TemporaryFile temporary(temporaryPath);
    std::ofstream out(temporary.Path(), std::ios::binary | std::ios::trunc);
    if (!out) {
        throw std::runtime_error("cannot create " + temporary.Path().u8string());
    }
    uint64_t nextReport = kProgressStep;
    uint64_t contentBytes = 0;
    const uint64_t archiveBytes = writer.Write(out, [&](uint64_t written, uint64_t total) {
        contentBytes = written;
        if (written >= nextReport) {
            std::cout << "  " << Mebibytes(written) << " MiB of " << Mebibytes(total) << " MiB written" << std::endl;
            nextReport = (written / kProgressStep + 1) * kProgressStep;
        }
    });
    out.close();
    if (!out) {
        throw std::runtime_error("cannot write " + temporary.Path().u8string());
    }
    fs::rename(temporary.Path(), target);
    temporary.Keep();
    std::cout << "Packed " << files.size() << " files, " << contentBytes << " bytes of content, into "
              << target.u8string() << " (" << archiveBytes << " bytes)" << std::endl;
}
