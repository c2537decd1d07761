#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

// Writes an assets.dat archive: the header, one "blob" chunk with every file's
// bytes back to back, and one "fdir" chunk naming them. Files are stored in the
// order they were added, so the same input always gives the same bytes.
// File contents are streamed from disk and never held in memory as a whole.
class BundleWriter {
public:
    // Called while file bytes are written: bytes of the blob done so far, and in total.
    using Progress = std::function<void(uint64_t written, uint64_t total)>;

    // `name` is the entry's UTF-8 name as the content server looks it up.
    void AddBytes(const std::string& name, std::string bytes);
    void AddFile(const std::string& name, const std::filesystem::path& source);

    size_t Count() const { return files_.size(); }

    // Writes the archive and returns its total length in bytes. Throws
    // std::runtime_error on a duplicate name, a size beyond the format's
    // limits, a source that cannot be read or changes while it is copied, or
    // a failed write.
    uint64_t Write(std::ostream& out, const Progress& progress = {}) const;

private:
    struct File {
        std::string name;
        std::string bytes;
        std::filesystem::path source;  // empty: the contents are in `bytes`
        bool fromFile = false;
    };
    std::vector<File> files_;
};
