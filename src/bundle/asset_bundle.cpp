#include "bundle/asset_bundle.h"

#include <cstring>
#include <limits>
#include <stdexcept>

namespace {

constexpr uint32_t kMagic = 0x747A6162;             // "tzab"
constexpr uint32_t kBlobChunkId = 0x626C6F62;       // "blob"
constexpr uint32_t kDirectoryChunkId = 0x66646972;  // "fdir"

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

}  // namespace

void AssetBundle::SetMemorySource(const void* source, uint64_t length) {
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
    if (offset > static_cast<uint64_t>(std::numeric_limits<int64_t>::max())) {
        ThrowFileReadError();
    }
#ifdef _WIN32
    const int result = _fseeki64(stream, static_cast<int64_t>(offset), SEEK_SET);
#else
    const int result = fseeko(stream, static_cast<off_t>(offset), SEEK_SET);
#endif
    if (result != 0) {
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

    if (ReadU32() != kMagic) {
        throw std::runtime_error("bad format");
    }
    if (ReadU32() != 0) {
        throw std::runtime_error("unsupported version");
    }
    const uint32_t firstChunkOffset = ReadU32();
    if (ReadU32() != 0) {
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
    if (readMode == kReadModeStream) {
        SeekStream(position);
    }
    limit = start + length;

    const uint32_t count = ReadU32();
    for (uint32_t index = 0; index < count; ++index) {
        const uint32_t reserved1 = ReadU32();
        const uint32_t reserved2 = ReadU32();
        if (reserved1 != 0 || reserved2 != 0) {
            throw std::runtime_error("bad file entry");
        }
        const uint64_t offset = ReadU64();
        const uint64_t fileLength = ReadU64();
        const uint64_t extra = ReadU64();
        if (fileLength > blobLength || offset > blobLength - fileLength) {
            throw std::runtime_error("bad file entry");
        }
        uint8_t compression = 0;
        ReadBytes(&compression, 1);
        if (compression != 0) {
            throw std::runtime_error("bad file compression");
        }
        const uint32_t nameLength = ReadU32();
        // Check before allocating: a hostile length must not reserve gigabytes.
        if (nameLength > Remaining()) {
            ThrowReadError();
        }
        std::string name(nameLength, '\0');
        ReadBytes(name.data(), nameLength);
        if (entries.find(name) == entries.end()) {
            BundleEntry entry{name, 0, offset, fileLength, extra};
            entries.emplace(std::move(name), std::move(entry));
        }
    }
}

const BundleEntry* AssetBundle::Find(const std::string& name) const {
    const auto found = entries.find(name);
    return found == entries.end() ? nullptr : &found->second;
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
}
