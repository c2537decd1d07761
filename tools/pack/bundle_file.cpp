#include "bundle_file.h"

#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <string>
#include <system_error>

#include "util/file_seek.h"

namespace {

FILE* OpenForReading(const std::filesystem::path& path) {
#ifdef _WIN32
    return _wfopen(path.c_str(), L"rb");
#else
    return std::fopen(path.c_str(), "rb");
#endif
}

}  // namespace

BundleFile::BundleFile(const std::filesystem::path& path) : path_(path) {
    std::error_code error;
    if (std::filesystem::is_directory(path, error)) {
        throw std::runtime_error("not a file: " + path.u8string());
    }
    const uint64_t length = std::filesystem::file_size(path, error);
    if (error) {
        throw std::runtime_error("cannot read " + path.u8string() + ": " + error.message());
    }
    stream_.reset(OpenForReading(path));
    if (!stream_) {
        throw std::runtime_error("cannot open " + path.u8string() + ": " + std::strerror(errno));
    }
    bundle_.SetStreamSource(stream_.get(), length);
    bundle_.Load();
}

void BundleFile::ReadEntry(const BundleEntry& entry, const std::function<void(const char* data, size_t length)>& sink) {
    // Load guarantees the entry lies inside the blob and the blob inside the file.
    if (!SeekFile(stream_.get(), bundle_.blobOffset + entry.offset)) {
        throw std::runtime_error("cannot read " + path_.u8string());
    }
    // One buffer for every entry, made on first use and never zero-filled.
    if (!buffer_) buffer_.reset(new char[kBufferLength]);
    uint64_t left = entry.length;
    while (left > 0) {
        const size_t want = left < kBufferLength ? static_cast<size_t>(left) : kBufferLength;
        if (std::fread(buffer_.get(), 1, want, stream_.get()) != want) {
            throw std::runtime_error("cannot read " + path_.u8string() + ": file shorter than its directory says");
        }
        sink(buffer_.get(), want);
        left -= want;
    }
}
