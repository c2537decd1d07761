#pragma once

#include <cstdint>
#include <cstdio>
#include <map>
#include <memory>
#include <string_view>

// One chunk of the archive: its id (four bytes, big-endian) and where its data lies.
struct BundleChunk {
    uint32_t id = 0;
    uint64_t start = 0;  // absolute offset of the chunk's data
    uint64_t length = 0;
};

// One file of the archive; offset is relative to the blob data. The name is a
// view of the directory's bytes: valid while the bundle is loaded.
struct BundleEntry {
    std::string_view name;
    uint32_t compression = 0;
    uint64_t offset = 0;
    uint64_t length = 0;
    uint64_t extra = 0;
};

// The file directory: one array of entries sorted by the bytes of their names,
// one entry per name (the first of equal names in file order), and a hash index
// over it, all in a single allocation. Find is one probe of the index, not a
// walk down a tree.
class BundleDirectory {
public:
    BundleDirectory() = default;
    BundleDirectory(BundleDirectory&& other) noexcept;
    BundleDirectory& operator=(BundleDirectory&& other) noexcept;
    BundleDirectory(const BundleDirectory&) = delete;
    BundleDirectory& operator=(const BundleDirectory&) = delete;

    const BundleEntry* begin() const { return Entries(); }
    const BundleEntry* end() const { return Entries() + count_; }
    size_t size() const { return count_; }
    bool empty() const { return count_ == 0; }
    const BundleEntry* Find(std::string_view name) const;
    void clear();

    // Building, for the reader: room for `capacity` entries, then Append in file
    // order (at most `capacity`), then Finish to sort, drop repeated names and index.
    // Every name must lie in the `namesLength` bytes at `namesBase`.
    void Reserve(size_t capacity);
    void Append(const BundleEntry& entry);
    void Finish(const char* namesBase, uint64_t namesLength);

private:
    BundleEntry* Entries() const { return reinterpret_cast<BundleEntry*>(storage_.get()); }
    uint64_t* Slots() const { return reinterpret_cast<uint64_t*>(storage_.get() + slotsOffset_); }

    std::unique_ptr<unsigned char[]> storage_;  // the entries, then the index slots
    size_t count_ = 0;
    size_t capacity_ = 0;
    size_t slotsOffset_ = 0;
    uint64_t slotMask_ = 0;   // slot count - 1; the count is a power of two
    uint32_t indexMask_ = 0;  // the low bits of a slot's high half: entry index + 1 (0: empty slot)
    // A slot's low half is where its name starts in these bytes, so a lookup reads the
    // name and the entry at once instead of one after the other. Null when the names
    // lie too far apart for 32 bits; the lookup then takes them from the entries.
    const char* namesBase_ = nullptr;
    uint64_t namesLength_ = 0;
};

// Reader of the assets.dat archive. It owns neither the bytes behind `base`
// nor `stream`: the caller keeps them alive until after Clear().
class AssetBundle {
public:
    static constexpr uint32_t kReadModeNone = 0;
    static constexpr uint32_t kReadModeMemory = 1;
    static constexpr uint32_t kReadModeStream = 2;

    std::map<uint32_t, BundleChunk> chunks;
    BundleDirectory entries;
    uint64_t blobOffset = 0;
    uint64_t blobLength = 0;
    uint32_t readMode = kReadModeNone;
    uint64_t position = 0;
    uint64_t limit = 0;
    FILE* stream = nullptr;
    const uint8_t* base = nullptr;

    // `base` must hold `length` readable bytes. `owner`, if given, keeps them
    // alive: the bundle holds it until Clear, and hands it to whoever needs the
    // bytes to outlive the bundle (response bodies).
    void SetMemorySource(const void* base, uint64_t length, std::shared_ptr<const void> owner = nullptr);
    // `stream` must be a binary stream over a file of `length` bytes, at offset 0.
    void SetStreamSource(FILE* stream, uint64_t length);
    const std::shared_ptr<const void>& SourceOwner() const { return owner_; }

    // Reads and checks the whole archive; throws on the first error and keeps
    // what was read before it.
    void Load();
    // Reads the directory chunk whose data lies at [start, start + length);
    // the region must lie inside the source, as Load's chunk walk ensures.
    void ReadDirectory(uint64_t start, uint64_t length);

    uint32_t ReadU32();
    uint64_t ReadU64();
    void ReadBytes(void* destination, uint64_t count);

    const BundleEntry* Find(std::string_view name) const { return entries.Find(name); }
    // Address of a blob-relative offset; memory mode only.
    const uint8_t* DataPointer(uint64_t offset) const;
    // Empties the tables and lets go of the source's owner; `base` stays as it is.
    void Clear();

private:
    uint64_t Remaining() const;
    void SeekStream(uint64_t offset);

    std::shared_ptr<const void> owner_;
    // In stream mode the directory's bytes, read once; the names point into them.
    std::unique_ptr<uint8_t[]> directoryCopy_;
};
