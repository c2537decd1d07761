#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <memory>

#include "bundle/asset_bundle.h"

// An archive on disk, read through a stream so that large archives need not
// fit in memory. Throws std::runtime_error (or the reader's exceptions) when
// the file cannot be opened or is not a valid archive.
class BundleFile {
public:
    explicit BundleFile(const std::filesystem::path& path);
    BundleFile(const BundleFile&) = delete;
    BundleFile& operator=(const BundleFile&) = delete;

    const AssetBundle& Bundle() const { return bundle_; }

    // Hands the entry's bytes to `sink` piece by piece, in order.
    void ReadEntry(const BundleEntry& entry, const std::function<void(const char* data, size_t length)>& sink);

private:
    struct StreamCloser {
        void operator()(FILE* stream) const { std::fclose(stream); }
    };
    static constexpr size_t kBufferLength = 1 << 20;
    std::filesystem::path path_;
    std::unique_ptr<FILE, StreamCloser> stream_;
    AssetBundle bundle_;
    std::unique_ptr<char[]> buffer_;
};
