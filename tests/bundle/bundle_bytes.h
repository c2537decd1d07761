#pragma once

// Builds archive bytes by hand for the tests, independently of BundleWriter.

#include <cstdint>
#include <string>

namespace bundle_test {

inline void PutU32(std::string& out, uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<char>(value >> shift));
}

inline void PutU64(std::string& out, uint64_t value) {
    for (int shift = 56; shift >= 0; shift -= 8) out.push_back(static_cast<char>(value >> shift));
}

inline std::string Header(uint32_t firstChunk = 16, uint32_t version = 0, uint32_t flags = 0) {
    std::string out = "tzab";
    PutU32(out, version);
    PutU32(out, firstChunk);
    PutU32(out, flags);
    return out;
}

inline std::string Chunk(const std::string& id, const std::string& data) {
    std::string out = id;
    PutU64(out, data.size());
    return out + data;
}

struct RawEntry {
    std::string name;
    uint64_t offset = 0;
    uint64_t length = 0;
    uint64_t extra = 0;
    uint8_t compression = 0;
    uint32_t reserved = 0;
};

inline std::string EntryBytes(const RawEntry& entry) {
    std::string out;
    PutU32(out, entry.reserved);
    PutU32(out, 0);
    PutU64(out, entry.offset);
    PutU64(out, entry.length);
    PutU64(out, entry.extra);
    out.push_back(static_cast<char>(entry.compression));
    PutU32(out, static_cast<uint32_t>(entry.name.size()));
    return out + entry.name;
}

inline std::string Directory(std::initializer_list<RawEntry> entries) {
    std::string out;
    PutU32(out, static_cast<uint32_t>(entries.size()));
    for (const RawEntry& entry : entries) out += EntryBytes(entry);
    return out;
}

// The 85-byte archive holding one file "a" with the bytes "abc", spelled out.
inline std::string ExampleArchive() {
    static const unsigned char bytes[] = {
        0x74, 0x7A, 0x61, 0x62, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x00, 0x00, 0x00, 0x62,
        0x6C, 0x6F, 0x62, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x03, 0x61, 0x62, 0x63, 0x66, 0x64, 0x69,
        0x72, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x2A, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x00,
        0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
        0x00, 0x00, 0x03, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x01, 0x61};
    return std::string(reinterpret_cast<const char*>(bytes), sizeof bytes);
}

}  // namespace bundle_test
