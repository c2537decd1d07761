#include "bundle/asset_bundle.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <limits>
#include <stdexcept>

#include "bundle_bytes.h"

using namespace bundle_test;

namespace {

// Loads the bytes in memory mode; returns "" on success, else the message,
// prefixed with "range: " for std::range_error.
std::string LoadMessage(const std::string& bytes, AssetBundle& bundle) {
    bundle.SetMemorySource(bytes.data(), bytes.size());
    try {
        bundle.Load();
    } catch (const std::range_error& error) {
        return std::string("range: ") + error.what();
    } catch (const std::runtime_error& error) {
        return error.what();
    }
    return "";
}

std::string LoadMessage(const std::string& bytes) {
    AssetBundle bundle;
    return LoadMessage(bytes, bundle);
}

std::string WithBlobAndDirectory(const std::string& blob, const std::string& directory) {
    return Header() + Chunk("blob", blob) + Chunk("fdir", directory);
}

}  // namespace

TEST(AssetBundle, LoadsTheMinimalExample) {
    const std::string bytes = ExampleArchive();
    ASSERT_EQ(bytes.size(), 85u);
    AssetBundle bundle;
    EXPECT_EQ(bundle.readMode, 0u);
    ASSERT_EQ(LoadMessage(bytes, bundle), "");

    EXPECT_EQ(bundle.blobOffset, 28u);
    EXPECT_EQ(bundle.blobLength, 3u);
    ASSERT_EQ(bundle.chunks.size(), 2u);
    EXPECT_EQ(bundle.chunks.at(0x626C6F62).start, 28u);
    EXPECT_EQ(bundle.chunks.at(0x66646972).start, 0x2Bu);
    EXPECT_EQ(bundle.chunks.at(0x66646972).length, 42u);

    const BundleEntry* entry = bundle.Find("a");
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->name, "a");
    EXPECT_EQ(entry->offset, 0u);
    EXPECT_EQ(entry->length, 3u);
    EXPECT_EQ(entry->compression, 0u);
    EXPECT_EQ(bundle.Find("A"), nullptr);
    EXPECT_EQ(bundle.Find(""), nullptr);

    const uint8_t* data = bundle.DataPointer(0);
    EXPECT_EQ(data, reinterpret_cast<const uint8_t*>(bytes.data()) + 28);
    EXPECT_EQ(*data, 0x61);
    EXPECT_EQ(bundle.DataPointer(3), data + 3);  // the end of the blob
    EXPECT_THROW(bundle.DataPointer(4), std::range_error);

    bundle.Clear();
    EXPECT_TRUE(bundle.entries.empty());
    EXPECT_TRUE(bundle.chunks.empty());
    EXPECT_EQ(bundle.readMode, 1u);
    EXPECT_EQ(bundle.base, reinterpret_cast<const uint8_t*>(bytes.data()));
}

TEST(AssetBundle, ReadsBigEndianValuesWithinTheLimit) {
    const std::string bytes = "\x01\x02\x03\x04\x05\x06\x07\x08\x09\x0A\x0B\x0C\xFF";
    AssetBundle bundle;
    bundle.SetMemorySource(bytes.data(), bytes.size());
    EXPECT_EQ(bundle.ReadU32(), 0x01020304u);
    EXPECT_EQ(bundle.position, 4u);
    EXPECT_EQ(bundle.ReadU64(), 0x05060708090A0B0Cull);
    EXPECT_EQ(bundle.position, 12u);
    EXPECT_THROW(bundle.ReadU32(), std::range_error);
    EXPECT_EQ(bundle.position, 12u);
    uint8_t last = 0;
    bundle.ReadBytes(&last, 1);
    EXPECT_EQ(last, 0xFF);
    bundle.ReadBytes(nullptr, 0);
    EXPECT_EQ(bundle.position, 13u);

    AssetBundle noSource;
    noSource.limit = 16;
    try {
        noSource.ReadU32();
        ADD_FAILURE() << "read without a source";
    } catch (const std::range_error&) {
        ADD_FAILURE() << "wrong exception type";
    } catch (const std::runtime_error& error) {
        EXPECT_STREQ(error.what(), "invalid read mode");
    }
    EXPECT_THROW(noSource.DataPointer(0), std::runtime_error);
}

TEST(AssetBundle, RejectsBadHeaders) {
    std::string badMagic = ExampleArchive();
    badMagic[0] = 'T';
    EXPECT_EQ(LoadMessage(badMagic), "bad format");
    EXPECT_EQ(LoadMessage(Header(16, 1) + ExampleArchive().substr(16)), "unsupported version");
    EXPECT_EQ(LoadMessage(Header(16, 0, 2) + ExampleArchive().substr(16)), "invalid flags");
    // Magic and version, then the first chunk offset cut short.
    EXPECT_EQ(LoadMessage(ExampleArchive().substr(0, 10)), "range: bundle read error");
    EXPECT_EQ(LoadMessage(""), "range: bundle read error");
    EXPECT_EQ(LoadMessage(Header()), "missing blob chunk");
    // A first chunk offset past the end walks no chunks at all.
    EXPECT_EQ(LoadMessage(Header(0xFFFFFFFF) + Chunk("blob", "") + Chunk("fdir", Directory({}))), "missing blob chunk");
}

TEST(AssetBundle, RejectsBrokenChunkSequences) {
    EXPECT_EQ(LoadMessage(Header() + Chunk("blob", "abc")), "missing fdir chunk");
    EXPECT_EQ(LoadMessage(Header() + Chunk("fdir", Directory({}))), "missing blob chunk");

    // Data running one byte past the end.
    std::string overrun = Header() + Chunk("blob", "abc");
    overrun.pop_back();
    EXPECT_EQ(LoadMessage(overrun), "bad chunk");

    // Lengths that would wrap a 64-bit sum.
    for (uint64_t length :
         {std::numeric_limits<uint64_t>::max(), std::numeric_limits<uint64_t>::max() - 27, uint64_t{1} << 63}) {
        std::string huge = Header() + "blob";
        PutU64(huge, length);
        huge += "abc";
        EXPECT_EQ(LoadMessage(huge), "bad chunk") << length;
    }

    // A chunk header cut short by the end of the file.
    const std::string valid = WithBlobAndDirectory("", Directory({}));
    EXPECT_EQ(LoadMessage(valid + "xy"), "range: bundle read error");
    EXPECT_EQ(LoadMessage(valid + std::string("xyzw\0\0\0", 7)), "range: bundle read error");
}

TEST(AssetBundle, AcceptsChunksInAnyOrderAndKeepsTheFirstOfEachId) {
    AssetBundle bundle;
    const std::string directory = Directory({{"x.txt", 1, 2, 77}});
    const std::string bytes = Header() + Chunk("fdir", directory) + Chunk("junk", "ignored") + Chunk("blob", "wxyz") +
                              Chunk("fdir", Directory({{"other", 0, 1}})) + Chunk("blob", "longer second blob");
    ASSERT_EQ(LoadMessage(bytes, bundle), "");
    EXPECT_EQ(bundle.chunks.size(), 3u);
    EXPECT_EQ(bundle.blobLength, 4u);
    EXPECT_EQ(bundle.blobOffset, 16u + 12 + directory.size() + 12 + 7 + 12);
    ASSERT_EQ(bundle.entries.size(), 1u);
    const BundleEntry* entry = bundle.Find("x.txt");
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->extra, 77u);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(bundle.DataPointer(entry->offset)), entry->length), "xy");
    EXPECT_EQ(bundle.Find("other"), nullptr);

    // Header gap: the first chunk offset need not follow the header directly.
    AssetBundle gap;
    ASSERT_EQ(LoadMessage(Header(20) + "pad!" + Chunk("blob", "") + Chunk("fdir", Directory({})), gap), "");
    EXPECT_EQ(gap.blobOffset, 32u);
    EXPECT_TRUE(gap.entries.empty());
}

TEST(AssetBundle, ChecksDirectoryEntries) {
    const std::string blob = "0123456789";
    // A file ending exactly at the blob's end is fine, one byte more is not.
    AssetBundle edge;
    ASSERT_EQ(LoadMessage(WithBlobAndDirectory(blob, Directory({{"end", 4, 6}, {"empty", 10, 0}, {"", 0, 0}})), edge),
              "");
    EXPECT_EQ(edge.entries.size(), 3u);
    EXPECT_NE(edge.Find(""), nullptr);
    EXPECT_EQ(LoadMessage(WithBlobAndDirectory(blob, Directory({{"end", 4, 7}}))), "bad file entry");
    EXPECT_EQ(LoadMessage(WithBlobAndDirectory(blob, Directory({{"big", 0, 11}}))), "bad file entry");
    EXPECT_EQ(LoadMessage(WithBlobAndDirectory(blob, Directory({{"wrap", ~uint64_t{0}, 2}}))), "bad file entry");
    EXPECT_EQ(LoadMessage(WithBlobAndDirectory(blob, Directory({{"wrap", 2, ~uint64_t{0}}}))), "bad file entry");

    RawEntry reserved{"r", 0, 1};
    reserved.reserved = 1;
    EXPECT_EQ(LoadMessage(WithBlobAndDirectory(blob, Directory({reserved}))), "bad file entry");
    std::string secondReserved = EntryBytes({"r", 0, 1});
    secondReserved[7] = 1;
    std::string count;
    PutU32(count, 1);
    EXPECT_EQ(LoadMessage(WithBlobAndDirectory(blob, count + secondReserved)), "bad file entry");

    RawEntry packed{"p", 0, 1};
    packed.compression = 1;
    EXPECT_EQ(LoadMessage(WithBlobAndDirectory(blob, Directory({packed}))), "bad file compression");
}

TEST(AssetBundle, BoundsDirectoryReadsByTheChunk) {
    const std::string blob = "0123456789";
    // Count promises two entries, the chunk holds one; bytes after the chunk
    // (another chunk) must not be read as the second entry.
    std::string twoPromised;
    PutU32(twoPromised, 2);
    twoPromised += EntryBytes({"one", 0, 1});
    EXPECT_EQ(LoadMessage(WithBlobAndDirectory(blob, twoPromised) + Chunk("more", EntryBytes({"two", 0, 1}))),
              "range: bundle read error");

    std::string cutName = Directory({{"abcdef", 0, 1}});
    cutName.pop_back();
    EXPECT_EQ(LoadMessage(WithBlobAndDirectory(blob, cutName)), "range: bundle read error");

    // A 4 GiB name length fails before anything is allocated for it.
    std::string hugeName = Directory({{"", 0, 1}});
    hugeName.replace(hugeName.size() - 4, 4, "\xFF\xFF\xFF\xFF");
    EXPECT_EQ(LoadMessage(WithBlobAndDirectory(blob, hugeName + "abc")), "range: bundle read error");

    const std::string noCount(2, '\0');
    EXPECT_EQ(LoadMessage(WithBlobAndDirectory(blob, noCount)), "range: bundle read error");

    // Trailing bytes after the last entry are not read.
    AssetBundle bundle;
    EXPECT_EQ(LoadMessage(WithBlobAndDirectory(blob, Directory({{"a", 0, 1}}) + "trailing"), bundle), "");
    EXPECT_EQ(bundle.entries.size(), 1u);
}

TEST(AssetBundle, KeepsEntriesReadBeforeAFailure) {
    AssetBundle bundle;
    const std::string bytes =
        WithBlobAndDirectory("hello world", Directory({{"b", 6, 5}, {"a", 0, 5}, {"b", 0, 1}, {"bad", 0, 12}}));
    EXPECT_EQ(LoadMessage(bytes, bundle), "bad file entry");
    ASSERT_EQ(bundle.entries.size(), 2u);
    EXPECT_EQ(bundle.readMode, 1u);
    EXPECT_EQ(bundle.blobLength, 11u);
    // The first of two equal names counts.
    const BundleEntry* b = bundle.Find("b");
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(bundle.DataPointer(b->offset)), b->length), "world");
    EXPECT_EQ(bundle.entries.begin()->name, "a");

    // A failure before the directory leaves it empty, even after an earlier load.
    std::string broken = bytes;
    broken[0] = 'x';
    EXPECT_EQ(LoadMessage(broken, bundle), "bad format");
    EXPECT_TRUE(bundle.entries.empty());
    EXPECT_EQ(bundle.blobLength, 0u);
}

TEST(AssetBundle, ReadsFromAStream) {
    const std::string bytes = Header() + Chunk("note", "skip me") + Chunk("blob", "abcdef") +
                              Chunk("fdir", Directory({{"f", 2, 3}, {"", 6, 0}}));
    FILE* file = std::tmpfile();
    ASSERT_NE(file, nullptr);
    ASSERT_EQ(std::fwrite(bytes.data(), 1, bytes.size(), file), bytes.size());
    std::rewind(file);

    AssetBundle bundle;
    bundle.SetStreamSource(file, bytes.size());
    EXPECT_EQ(bundle.readMode, 2u);
    ASSERT_NO_THROW(bundle.Load());
    EXPECT_EQ(bundle.entries.size(), 2u);
    EXPECT_EQ(bundle.blobOffset, 16u + 12 + 7 + 12);
    try {
        bundle.DataPointer(0);
        ADD_FAILURE() << "DataPointer in stream mode";
    } catch (const std::runtime_error& error) {
        EXPECT_STREQ(error.what(), "wrong read mode");
    }

    // A stream shorter than the length it was announced with.
    std::rewind(file);
    AssetBundle shortStream;
    shortStream.SetStreamSource(file, bytes.size() + 40);
    try {
        shortStream.Load();
        ADD_FAILURE() << "short stream loaded";
    } catch (const std::range_error&) {
        ADD_FAILURE() << "wrong exception type";
    } catch (const std::runtime_error& error) {
        EXPECT_STREQ(error.what(), "file read error");
    }
    std::fclose(file);
}
