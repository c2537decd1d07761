#include "pack_commands.h"

#include <fstream>
#include <iostream>
#include <stdexcept>
#include <system_error>

#include "bundle/bundle_writer.h"
#include "folder_files.h"
#include "output_file.h"

namespace fs = std::filesystem;

namespace {

constexpr uint64_t kProgressStep = uint64_t{64} << 20;

uint64_t Mebibytes(uint64_t bytes) {
    return bytes >> 20;
}

}  // namespace

void RunCreate(const fs::path& folder, const fs::path& target) {
    // The archive may be written into the folder it packs: never pack it into itself.
    const std::vector<FolderFile> files = ListFolderFiles(folder, {target});

    BundleWriter writer;
    for (const FolderFile& file : files) {
        writer.AddFile(file.name, file.path);
    }

    // A fresh file of its own: a link or a file planted under a predictable name is
    // never written through. It replaces the target only once it is on the disk.
    OutputFile temporary = OutputFile::Temporary(target);
    std::ostream& out = temporary.Stream();
    uint64_t nextReport = kProgressStep;
    uint64_t contentBytes = 0;
    const uint64_t archiveBytes = writer.Write(out, [&](uint64_t written, uint64_t total) {
        contentBytes = written;
        if (written >= nextReport) {
            std::cout << "  " << Mebibytes(written) << " MiB of " << Mebibytes(total) << " MiB written" << std::endl;
            nextReport = (written / kProgressStep + 1) * kProgressStep;
        }
    });
    temporary.Commit();
    std::cout << "Packed " << files.size() << " files, " << contentBytes << " bytes of content, into "
              << target.u8string() << " (" << archiveBytes << " bytes)" << std::endl;
}
