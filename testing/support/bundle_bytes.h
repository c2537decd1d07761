#pragma once

// Builds archive bytes by hand for the tests, independently of BundleWriter, and reads
// an entry's bytes back.

#include <cstdint>
#include <cstdio>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "bundle/asset_bundle.h"

namespace bundle_test {

inline std::string BigEndian(uint64_t value, int bytes) {
    std::string out;
    for (int shift = 8 * (bytes - 1); shift >= 0; shift -= 8) out.push_back(static_cast<char>(value >> shift));
    return out;
}

inline std::string Header(uint32_t firstChunk = 16, uint32_t version = 0, uint32_t flags = 0) {
    return "tzab" + BigEndian(version, 4) + BigEndian(firstChunk, 4) + BigEndian(flags, 4);
}

inline std::string Chunk(const std::string& id, const std::string& data) {
    return id + BigEndian(data.size(), 8) + data;
}

struct RawEntry {
    std::string name;
    uint64_t offset = 0;
    uint64_t length = 0;
    uint64_t extra = 0;
    uint8_t compression = 0;
    uint32_t reserved = 0;  // the first reserved field
};

inline std::string EntryBytes(const RawEntry& e) {
    return BigEndian(e.reserved, 4) + BigEndian(0, 4) + BigEndian(e.offset, 8) + BigEndian(e.length, 8) +
           BigEndian(e.extra, 8) + std::string(1, static_cast<char>(e.compression)) + BigEndian(e.name.size(), 4) +
           e.name;
}

inline std::string Directory(const std::vector<RawEntry>& entries) {
    std::string out = BigEndian(entries.size(), 4);
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

// The bytes of the named entry in a memory-mode bundle, or "<missing>".
inline std::string EntryText(const AssetBundle& bundle, const std::string& name) {
    const BundleEntry* entry = bundle.Find(name);
    if (entry == nullptr) return "<missing>";
    return std::string(reinterpret_cast<const char*>(bundle.DataPointer(entry->offset)), entry->length);
}

// Loads the bytes in memory mode, or with `stream` through a temporary file announced as
// `announced` bytes long (0: as long as it is), which the caller closes: "" on success,
// else the message, "range: " first for std::range_error.
inline std::string LoadMessage(AssetBundle& bundle, const std::string& bytes, FILE** stream = nullptr,
                               size_t announced = 0) {
    try {
        if (stream != nullptr) {
            *stream = std::tmpfile();
            if (*stream == nullptr || std::fwrite(bytes.data(), 1, bytes.size(), *stream) != bytes.size()) {
                return "tmpfile";
            }
            std::rewind(*stream);
            bundle.SetStreamSource(*stream, announced ? announced : bytes.size());
        } else {
            bundle.SetMemorySource(bytes.data(), bytes.size());
        }
        bundle.Load();
    } catch (const std::range_error& error) {
        return std::string("range: ") + error.what();
    } catch (const std::exception& error) {
        return error.what();
    }
    return "";
}

inline std::string LoadMessage(const std::string& bytes) {
    AssetBundle bundle;
    return LoadMessage(bundle, bytes);
}

// Entries with names of 0 to 40 bytes over a small alphabet with bytes above 0x7F, so
// that many share prefixes, some repeat and byte order differs from signed char order.
inline std::vector<RawEntry> GeneratedEntries(size_t count, unsigned seed) {
    std::mt19937 random(seed);
    const std::string alphabet = std::string("ab/.Z") + "\x80\xC3\xFF";
    std::vector<RawEntry> entries;
    for (size_t i = 0; i < count; ++i) {
        std::string name(random() % 41, 'a');
        for (char& c : name) c = alphabet[random() % alphabet.size()];
        if (!entries.empty() && random() % 8 == 0) name = entries[random() % entries.size()].name;
        entries.push_back({name, random() % 1000, random() % 1000, i});
    }
    return entries;
}

}  // namespace bundle_test
