#include "bundle/asset_bundle.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <limits>
#include <new>
#include <stdexcept>
#include <type_traits>
#include <utility>

#if defined(_MSC_VER) && !defined(__clang__)
#include <xmmintrin.h>
#endif

#include "bundle/bundle_format.h"
#include "util/file_seek.h"

namespace {

// A hint only: the lookup is correct without it.
inline void Prefetch(const void* address) {
#if defined(__GNUC__) || defined(__clang__)
    __builtin_prefetch(address);
#elif defined(_M_X64)
    _mm_prefetch(static_cast<const char*>(address), _MM_HINT_T0);
#else
    static_cast<void>(address);
#endif
}

[[noreturn]] void ThrowReadError() {
    throw std::range_error("bundle read error");
}
[[noreturn]] void ThrowFileReadError() {
    throw std::runtime_error("file read error");
}

uint64_t CombineBigEndian(const uint8_t* bytes, int count) {
    uint64_t value = 0;
    for (int i = 0; i < count; ++i) {
        value = (value << 8) | bytes[i];
    }
    return value;
}

// Reads the directory chunk's bytes with the reader's rules: a read past the
// chunk is a "bundle read error"; a read within the chunk of bytes the stream
// did not deliver is a "file read error".
class DirectoryCursor {
public:
    DirectoryCursor(const uint8_t* bytes, uint64_t length, uint64_t available)
        : begin_(bytes), at_(bytes), length_(length), available_(available) {}

    const uint8_t* Take(uint64_t count) {
        const uint64_t used = Consumed();
        if (count > length_ - used) ThrowReadError();
        if (count > available_ - used) ThrowFileReadError();
        const uint8_t* taken = at_;
        at_ += count;
        return taken;
    }
    uint32_t U32() { return static_cast<uint32_t>(CombineBigEndian(Take(4), 4)); }
    uint64_t U64() { return CombineBigEndian(Take(8), 8); }
    uint64_t Consumed() const { return static_cast<uint64_t>(at_ - begin_); }

private:
    const uint8_t* const begin_;
    const uint8_t* at_;
    const uint64_t length_;
    const uint64_t available_;
};

uint64_t Load64(const char* bytes) {
    uint64_t word;
    std::memcpy(&word, bytes, sizeof word);
    return word;
}

uint32_t Load32(const char* bytes) {
    uint32_t word;
    std::memcpy(&word, bytes, sizeof word);
    return word;
}

uint64_t Mix(uint64_t hash, uint64_t word) {
    hash = (hash ^ word) * 0xFF51AFD7ED558CCDull;
    return hash ^ (hash >> 32);
}

// Chosen once per process, so an archive cannot be built whose names all fall on
// the same slots (a page that can write www\ could otherwise make every start crawl).
uint64_t ProcessSeed() {
    static const uint64_t seed = [] {
        int local = 0;
        const auto time = static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
        return Mix(time, reinterpret_cast<uintptr_t>(&local)) | 1;
    }();
    return seed;
}

// A fast hash of a name for the index, eight bytes at a time, keyed by the
// process's seed.
uint64_t HashName(std::string_view name) {
    const char* bytes = name.data();
    const size_t length = name.size();
    uint64_t hash = ProcessSeed() ^ length;
    if (length >= 8) {
        size_t i = 0;
        for (; i + 8 <= length; i += 8) hash = Mix(hash, Load64(bytes + i));
        if (i < length) hash = Mix(hash, Load64(bytes + length - 8));  // the tail, overlapping
    } else if (length >= 4) {
        hash = Mix(hash, Load32(bytes) | (uint64_t{Load32(bytes + length - 4)} << 32));
    } else if (length > 0) {
        const auto byte = [&](size_t i) { return uint64_t{static_cast<unsigned char>(bytes[i])}; };
        hash = Mix(hash, byte(0) | (byte(length / 2) << 8) | (byte(length - 1) << 16));
    }
    hash ^= hash >> 29;
    hash *= 0xC4CEB9FE1A85EC53ull;
    return hash ^ (hash >> 32);
}

}  // namespace

static_assert(std::is_trivially_destructible_v<BundleEntry>, "entries live in raw storage");

BundleDirectory::BundleDirectory(BundleDirectory&& other) noexcept {
    *this = std::move(other);
}

BundleDirectory& BundleDirectory::operator=(BundleDirectory&& other) noexcept {
    if (this != &other) {
        storage_ = std::move(other.storage_);
        count_ = std::exchange(other.count_, 0);
        capacity_ = std::exchange(other.capacity_, 0);
        slotsOffset_ = std::exchange(other.slotsOffset_, 0);
        slotMask_ = std::exchange(other.slotMask_, 0);
        indexMask_ = std::exchange(other.indexMask_, 0);
        namesBase_ = std::exchange(other.namesBase_, nullptr);
        namesLength_ = std::exchange(other.namesLength_, 0);
    }
    return *this;
}

void BundleDirectory::clear() {
    *this = BundleDirectory();
}

void BundleDirectory::Reserve(size_t capacity) {
    clear();
    if (capacity == 0) return;
    if (capacity >= std::numeric_limits<uint32_t>::max()) throw std::bad_alloc();
    // At most four fifths of the slots are used: a probe soon meets an empty one, and
    // the tags keep the probes within the slot array.
    uint64_t slots = 1;
    while (slots < capacity + capacity / 4 + 1) slots <<= 1;
    uint64_t indexLimit = 1;
    while (indexLimit <= capacity) indexLimit <<= 1;
    slotsOffset_ = capacity * sizeof(BundleEntry);
    storage_.reset(new unsigned char[slotsOffset_ + slots * sizeof(uint64_t)]);
    capacity_ = capacity;
    slotMask_ = slots - 1;
    indexMask_ = static_cast<uint32_t>(indexLimit - 1);
}

void BundleDirectory::Append(const BundleEntry& entry) {
    if (count_ == capacity_) throw std::logic_error("directory full");
    new (Entries() + count_) BundleEntry(entry);
    ++count_;
}

void BundleDirectory::Finish(const char* namesBase, uint64_t namesLength) {
    BundleEntry* const first = Entries();
    BundleEntry* last = first + count_;
    const auto byName = [](const BundleEntry& a, const BundleEntry& b) { return a.name < b.name; };
    // Packed archives are already in order; only others pay for a sort. The sort
    // is stable, so the first of equal names in file order comes first and stays.
    if (!std::is_sorted(first, last, byName)) std::stable_sort(first, last, byName);
    last = std::unique(first, last, [](const BundleEntry& a, const BundleEntry& b) { return a.name == b.name; });
    count_ = static_cast<size_t>(last - first);
    const bool near = namesLength <= std::numeric_limits<uint32_t>::max();
    namesBase_ = near ? namesBase : nullptr;
    namesLength_ = near ? namesLength : 0;
    if (capacity_ == 0) return;

    uint64_t* const slots = Slots();
    std::memset(slots, 0, (slotMask_ + 1) * sizeof(uint64_t));
    for (size_t i = 0; i < count_; ++i) {
        const uint64_t hash = HashName(first[i].name);
        uint64_t slot = hash & slotMask_;
        while (slots[slot] != 0) slot = (slot + 1) & slotMask_;
        const uint32_t high = (static_cast<uint32_t>(hash >> 32) & ~indexMask_) | static_cast<uint32_t>(i + 1);
        const uint64_t nameAt = namesBase_ ? static_cast<uint64_t>(first[i].name.data() - namesBase_) : 0;
        slots[slot] = (uint64_t{high} << 32) | nameAt;
    }
}

const BundleEntry* BundleDirectory::Find(std::string_view name) const {
    if (count_ == 0) return nullptr;
    const uint64_t hash = HashName(name);
    // The high bits of a slot hold bits of the hash, so most other names are
    // passed over without touching their entries.
    const uint32_t tag = static_cast<uint32_t>(hash >> 32) & ~indexMask_;
    const uint64_t* const slots = Slots();
    for (uint64_t slot = hash & slotMask_;; slot = (slot + 1) & slotMask_) {
        const uint64_t value = slots[slot];
        if (value == 0) return nullptr;
        const uint32_t high = static_cast<uint32_t>(value >> 32);
        if ((high & ~indexMask_) != tag) continue;
        const BundleEntry* const entry = Entries() + (high & indexMask_) - 1;
        if (!namesBase_) {
            if (entry->name == name) return entry;
            continue;
        }
        // The entry is fetched while its name is compared where it lies.
        Prefetch(entry);
        const uint64_t nameAt = static_cast<uint32_t>(value);
        const bool bytesMatch = name.empty() || (name.size() <= namesLength_ - nameAt &&
                                                 std::memcmp(namesBase_ + nameAt, name.data(), name.size()) == 0);
        if (bytesMatch && entry->name.size() == name.size()) {
            return entry;
        }
    }
}

void AssetBundle::SetMemorySource(const void* source, uint64_t length, std::shared_ptr<const void> owner) {
    owner_ = std::move(owner);
    readMode = kReadModeMemory;
    base = static_cast<const uint8_t*>(source);
    position = 0;
    limit = length;
}

void AssetBundle::SetStreamSource(FILE* source, uint64_t length) {
    readMode = kReadModeStream;
    stream = source;
    position = 0;
    limit = length;
}

uint64_t AssetBundle::Remaining() const {
    // The position may lie past the limit after a seek to a hostile offset.
    return position < limit ? limit - position : 0;
}

void AssetBundle::SeekStream(uint64_t offset) {
    if (!SeekFile(stream, offset)) {
        ThrowFileReadError();
    }
}

void AssetBundle::ReadBytes(void* destination, uint64_t count) {
    if (count > Remaining()) {
        ThrowReadError();
    }
    if (readMode == kReadModeMemory) {
        if (count != 0) {
            std::memcpy(destination, base + position, static_cast<size_t>(count));
        }
    } else if (readMode == kReadModeStream) {
        // fread reports a zero-sized block as not read, so skip empty reads.
        if (count != 0 && std::fread(destination, static_cast<size_t>(count), 1, stream) != 1) {
            ThrowFileReadError();
        }
    } else {
        throw std::runtime_error("invalid read mode");
    }
    position += count;
}

uint32_t AssetBundle::ReadU32() {
    uint8_t bytes[4];
    ReadBytes(bytes, sizeof bytes);
    return static_cast<uint32_t>(CombineBigEndian(bytes, 4));
}

uint64_t AssetBundle::ReadU64() {
    uint8_t bytes[8];
    ReadBytes(bytes, sizeof bytes);
    return CombineBigEndian(bytes, 8);
}

void AssetBundle::Load() {
    blobOffset = 0;
    blobLength = 0;
    chunks.clear();
    entries.clear();

    if (ReadU32() != kBundleMagic) {
        throw std::runtime_error("bad format");
    }
    if (ReadU32() != kBundleVersion) {
        throw std::runtime_error("unsupported version");
    }
    const uint32_t firstChunkOffset = ReadU32();
    if (ReadU32() != kBundleFlags) {
        throw std::runtime_error("invalid flags");
    }

    position = firstChunkOffset;
    if (readMode == kReadModeStream) {
        SeekStream(position);
    }
    // Walk the chunk headers only; the data of each chunk is skipped.
    while (position < limit) {
        const uint32_t id = ReadU32();
        const uint64_t length = ReadU64();
        const uint64_t start = position;
        if (length > limit - start) {
            throw std::runtime_error("bad chunk");
        }
        chunks.try_emplace(id, BundleChunk{id, start, length});
        position = start + length;
        if (readMode == kReadModeStream) {
            SeekStream(position);
        }
    }

    const auto blob = chunks.find(kBlobChunkId);
    if (blob == chunks.end()) {
        throw std::runtime_error("missing blob chunk");
    }
    blobOffset = blob->second.start;
    blobLength = blob->second.length;

    const auto directory = chunks.find(kDirectoryChunkId);
    if (directory == chunks.end()) {
        throw std::runtime_error("missing fdir chunk");
    }
    ReadDirectory(directory->second.start, directory->second.length);
}

void AssetBundle::ReadDirectory(uint64_t start, uint64_t length) {
    if (length > std::numeric_limits<uint64_t>::max() - start) {
        throw std::runtime_error("bad chunk");
    }
    position = start;
    limit = start + length;
    entries.clear();
    if (readMode != kReadModeMemory && readMode != kReadModeStream) {
        ReadU32();  // raises what a read without a source raises
    }

    // Names stay where they are: in the mapping, or in one copy of the whole chunk
    // read from the stream. Nothing is allocated per entry.
    const uint8_t* bytes = nullptr;
    uint64_t available = length;
    if (readMode == kReadModeMemory) {
        bytes = base + start;
    } else {
        SeekStream(start);
        if (length > std::numeric_limits<size_t>::max()) ThrowFileReadError();
        directoryCopy_.reset(new uint8_t[static_cast<size_t>(length)]);
        bytes = directoryCopy_.get();
        available = length == 0 ? 0 : std::fread(directoryCopy_.get(), 1, static_cast<size_t>(length), stream);
    }

    DirectoryCursor in(bytes, length, available);
    try {
        const uint32_t count = in.U32();
        // Every entry takes at least its fixed part: a count the chunk cannot hold
        // reserves no more than the chunk could, and fails when the bytes run out.
        entries.Reserve(static_cast<size_t>(std::min<uint64_t>(count, (length - 4) / kEntryFixedLength)));
        for (uint32_t index = 0; index < count; ++index) {
            const uint32_t reserved1 = in.U32();
            const uint32_t reserved2 = in.U32();
            if (reserved1 != 0 || reserved2 != 0) {
                throw std::runtime_error("bad file entry");
            }
            const uint64_t offset = in.U64();
            const uint64_t fileLength = in.U64();
            const uint64_t extra = in.U64();
            if (fileLength > blobLength || offset > blobLength - fileLength) {
                throw std::runtime_error("bad file entry");
            }
            if (*in.Take(1) != 0) {
                throw std::runtime_error("bad file compression");
            }
            const uint32_t nameLength = in.U32();
            const char* name = reinterpret_cast<const char*>(in.Take(nameLength));
            entries.Append(BundleEntry{std::string_view(name, nameLength), 0, offset, fileLength, extra});
        }
    } catch (...) {
        // The entries read before the failure are served.
        position = start + in.Consumed();
        entries.Finish(reinterpret_cast<const char*>(bytes), available);
        throw;
    }
    position = start + in.Consumed();
    entries.Finish(reinterpret_cast<const char*>(bytes), available);
}

const uint8_t* AssetBundle::DataPointer(uint64_t offset) const {
    if (readMode != kReadModeMemory) {
        throw std::runtime_error("wrong read mode");
    }
    // One past the blob's last byte is still a valid end address.
    if (offset > blobLength) {
        ThrowReadError();
    }
    return base + blobOffset + offset;
}

void AssetBundle::Clear() {
    chunks.clear();
    entries.clear();
    directoryCopy_.reset();
    owner_.reset();
}
