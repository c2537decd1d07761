#pragma once

#include <cstdint>
#include <cstdio>
#include <map>
#include <string>

// One chunk of the archive: its id (four bytes, big-endian) and where its data lies.
struct BundleChunk {
    uint32_t id = 0;
    uint64_t start = 0;  // absolute offset of the chunk's data
    uint64_t length = 0;
};

// One file of the archive; offset is relative to the blob data.
struct BundleEntry {
    std::string name;
    uint32_t compression = 0;
    uint64_t offset = 0;
    uint64_t length = 0;
    uint64_t extra = 0;
};

// Reader of the assets.dat archive. It owns neither the bytes behind `base`
// nor `stream`: the caller keeps them alive until after Clear().
class AssetBundle {
public:
    static constexpr uint32_t kReadModeNone = 0;
    static constexpr uint32_t kReadModeMemory = 1;
    static constexpr uint32_t kReadModeStream = 2;

    std::map<uint32_t, BundleChunk> chunks;
    std::map<std::string, BundleEntry> entries;
    uint64_t blobOffset = 0;
    uint64_t blobLength = 0;
    uint32_t readMode = kReadModeNone;
    uint64_t position = 0;
    uint64_t limit = 0;
    FILE* stream = nullptr;
    const uint8_t* base = nullptr;

    // `base` must hold `length` readable bytes.
    void SetMemorySource(const void* base, uint64_t length);
    // `stream` must be a binary stream over a file of `length` bytes, at offset 0.
    void SetStreamSource(FILE* stream, uint64_t length);

    // Reads and checks the whole archive; throws on the first error and keeps
    // what was read before it.
    void Load();
    // Reads the directory chunk whose data lies at [start, start + length);
    // the region must lie inside the source, as Load's chunk walk ensures.
    void ReadDirectory(uint64_t start, uint64_t length);

    uint32_t ReadU32();
    uint64_t ReadU64();
    void ReadBytes(void* destination, uint64_t count);

    const BundleEntry* Find(const std::string& name) const;
    // Address of a blob-relative offset; memory mode only.
    const uint8_t* DataPointer(uint64_t offset) const;
    void Clear();

private:
    uint64_t Remaining() const;
    void SeekStream(uint64_t offset);
};
