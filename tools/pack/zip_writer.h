#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <ostream>
#include <streambuf>
#include <string>
#include <vector>

#include "output_file.h"

// Writes a zip archive whose bytes depend only on what goes in: entries in the order
// added, one fixed time for all, fixed attributes, no extra fields. Media that is
// compressed already is stored; other files are deflated with zlib, or stored when
// deflating their first bytes gains little.
class ZipWriter {
public:
    // `time`: seconds since 1970 (UTC) that every entry carries, from 1980 to 2107.
    ZipWriter(std::ostream& out, int64_t time);
    // Into a file of the packer's: a stored file whose CRC-32 is known goes in by a copy
    // in the kernel, never read by this process.
    ZipWriter(OutputFile& out, int64_t time);

    // `name`: UTF-8, "/" between segments. `crc`: the file's CRC-32 when the caller
    // knows it already (it wrote the file). Throws std::runtime_error when the file
    // cannot be read or the archive would pass the format's 4 GiB limits.
    void AddFile(const std::string& name, const std::filesystem::path& source,
                 std::optional<uint32_t> crc = std::nullopt);
    // Writes the central directory; returns the archive's length.
    uint64_t Finish();

private:
    struct Entry {
        std::string name;
        uint16_t method = 0;
        uint32_t crc = 0;
        uint64_t compressed = 0;
        uint64_t length = 0;
        uint64_t offset = 0;
    };
    // The one time of every entry, as the format keeps it.
    void SetTime(int64_t time);
    // The data descriptor after the entry's bytes; the entry joins the directory.
    void FinishEntry(Entry entry);
    void Write(const char* data, size_t length);
    void Write(const std::string& bytes);

    std::ostream& out_;
    OutputFile* file_ = nullptr;
    uint16_t dosTime_ = 0;
    uint16_t dosDate_ = 0;
    uint64_t written_ = 0;
    std::vector<Entry> entries_;
};

// The entries' time: SOURCE_DATE_EPOCH when set (a number), else 2020-01-01 00:00 UTC.
int64_t ReproducibleTime();

// True for file types whose contents are compressed already (images, sound, video, fonts).
bool IsCompressedMedia(const std::string& name);

// Passes everything written on to another stream and keeps the CRC-32 of it, so that a
// file written once goes into a zip without being read again.
class Crc32PassThrough : public std::streambuf {
public:
    explicit Crc32PassThrough(std::ostream& out) : out_(out) {}
    uint32_t Crc() const { return crc_; }

protected:
    std::streamsize xsputn(const char* data, std::streamsize length) override;
    int_type overflow(int_type c) override;
    int sync() override;

private:
    std::ostream& out_;
    uint32_t crc_ = 0;
};
