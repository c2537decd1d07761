#pragma once
// The assets.dat layout, for the reader and the writer alike. Numbers are big-endian.
// A 16-byte header ("tzab", version, the first chunk's offset, flags) is followed by
// chunks, each a four-letter id and a 64-bit length: the "blob" of file bytes back to
// back, and the "fdir" directory naming them.

#include <cstdint>

constexpr uint32_t kBundleMagic = 0x747A6162;  // "tzab"
constexpr uint32_t kBundleVersion = 0;
constexpr uint32_t kBundleFlags = 0;
constexpr uint64_t kBundleHeaderLength = 16;
constexpr uint64_t kChunkHeaderLength = 12;         // id, length
constexpr uint32_t kBlobChunkId = 0x626C6F62;       // "blob"
constexpr uint32_t kDirectoryChunkId = 0x66646972;  // "fdir"
// The fixed part of a directory entry: two reserved fields, offset, length, extra,
// compression, name length.
constexpr uint64_t kEntryFixedLength = 37;
