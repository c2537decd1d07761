#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <ostream>

// A file the packer writes, created exclusively: never through a link or over a file
// that appeared meanwhile. Removed again unless Commit succeeds.
class OutputFile {
public:
    // A new file with a unique name beside `target` ("<target>.partial-<random>"),
    // renamed over `target` by Commit once it is complete and on disk.
    static OutputFile Temporary(const std::filesystem::path& target);
    // Exactly `path`; throws when anything (a file, a link) is already there.
    static OutputFile Exclusive(const std::filesystem::path& path);

    // The bytes' way to the disk (defined in output_file.cpp).
    class Buffer;

    OutputFile(OutputFile&&) noexcept;
    ~OutputFile();

    std::ostream& Stream();
    // Appends `length` bytes of `source` after what the stream holds, copied by the kernel
    // where the system can (no trip through this process). Throws std::runtime_error when
    // the source cannot be read or is shorter.
    void AppendFileBytes(const std::filesystem::path& source, uint64_t length);
    const std::filesystem::path& Path() const { return path_; }
    // OnDisk: the bytes (and a rename) reach the disk before Commit returns. InCache: they
    // are left to the system's write-back, for outputs that are made again after a crash
    // rather than trusted (a shipped folder and its zip); waiting for the disk there takes
    // longer than writing them.
    enum class Durability { OnDisk, InCache };

    // Flushes the bytes, closes the file and, for a temporary file, renames it over its
    // target. Throws std::runtime_error on any failure.
    void Commit(Durability durability = Durability::OnDisk);

private:
    OutputFile(std::filesystem::path path, std::filesystem::path target, std::unique_ptr<Buffer> buffer);

    std::filesystem::path path_;
    std::filesystem::path target_;  // empty: written in place
    std::unique_ptr<Buffer> buffer_;
    std::unique_ptr<std::ostream> stream_;
    bool committed_ = false;
};

// True when the path is a symbolic link, a junction or another reparse point (which
// the C++ library does not report on Windows). False when it does not exist.
bool IsLinkOrJunction(const std::filesystem::path& path);
