#include "bundle/asset_bundle.h"

#include <gtest/gtest.h>

#include "support/bundle_bytes.h"

using namespace bundle_test;

namespace {

std::string WithDirectory(const std::vector<RawEntry>& entries, const std::string& blob = "0123456789") {
    return Header() + Chunk("blob", blob) + Chunk("fdir", Directory(entries));
}

TEST(AssetBundle, LoadsTheMinimalExampleAndAddressesItsBlob) {
    const std::string bytes = ExampleArchive();
    AssetBundle bundle;
    ASSERT_EQ(LoadMessage(bundle, bytes), "");
    EXPECT_EQ(bundle.blobOffset, 28u);
    EXPECT_EQ(bundle.blobLength, 3u);
    EXPECT_EQ(EntryText(bundle, "a"), "abc");
    EXPECT_EQ(bundle.Find("A"), nullptr);
    EXPECT_EQ(bundle.DataPointer(0), reinterpret_cast<const uint8_t*>(bytes.data()) + 28);
    EXPECT_EQ(bundle.DataPointer(3), bundle.DataPointer(0) + 3);  // the end of the blob
    EXPECT_THROW(bundle.DataPointer(4), std::range_error);
    bundle.Clear();
    EXPECT_TRUE(bundle.entries.empty() && bundle.chunks.empty());
    EXPECT_EQ(bundle.base, reinterpret_cast<const uint8_t*>(bytes.data()));
    // A failure before the directory leaves it empty, even after an earlier load.
    ASSERT_EQ(LoadMessage(bundle, bytes), "");
    EXPECT_EQ(LoadMessage(bundle, "x" + bytes.substr(1)), "bad format");
    EXPECT_TRUE(bundle.entries.empty());
    EXPECT_EQ(bundle.blobLength, 0u);
}

TEST(AssetBundle, ReadsOnlyWithinTheLimitAndOnlyFromASource) {
    const std::string bytes = "\x01\x02\x03\x04\x05";
    AssetBundle bundle;
    bundle.SetMemorySource(bytes.data(), bytes.size());
    EXPECT_EQ(bundle.ReadU32(), 0x01020304u);
    EXPECT_THROW(bundle.ReadU32(), std::range_error);
    bundle.ReadBytes(nullptr, 0);
    EXPECT_EQ(bundle.position, 4u);

    AssetBundle noSource;
    noSource.limit = 16;
    std::string message;
    try {
        noSource.ReadU32();
    } catch (const std::exception& error) {
        message = error.what();
    }
    EXPECT_EQ(message, "invalid read mode");
}

TEST(AssetBundle, RefusesEveryMalformedArchiveWithItsMessage) {
    const auto hugeChunk = [](uint64_t length) { return Header() + "blob" + BigEndian(length, 8) + "abc"; };
    std::string secondReserved = BigEndian(1, 4) + EntryBytes({"r", 0, 1});
    secondReserved[11] = 1;
    std::string hugeName = Directory({{"", 0, 1}});
    hugeName.replace(hugeName.size() - 4, 4, "\xFF\xFF\xFF\xFF");
    std::string cutName = Directory({{"abcdef", 0, 1}});
    cutName.pop_back();
    const std::pair<std::string, std::string> rows[] = {
        {"Tzab" + ExampleArchive().substr(4), "bad format"},
        {Header(16, 1) + ExampleArchive().substr(16), "unsupported version"},
        {Header(16, 0, 2) + ExampleArchive().substr(16), "invalid flags"},
        {ExampleArchive().substr(0, 10), "range: bundle read error"},
        {Header(), "missing blob chunk"},
        // A first chunk offset past the end walks no chunks at all.
        {Header(0xFFFFFFFF) + Chunk("blob", "") + Chunk("fdir", Directory({})), "missing blob chunk"},
        {Header() + Chunk("blob", "abc"), "missing fdir chunk"},
        {Header() + Chunk("fdir", Directory({})), "missing blob chunk"},
        {(Header() + Chunk("blob", "abc")).substr(0, 30), "bad chunk"},
        // Chunk lengths whose sum with the start wraps around 64 bits.
        {hugeChunk(~uint64_t{0}), "bad chunk"},
        {hugeChunk(~uint64_t{0} - 27), "bad chunk"},
        {WithDirectory({}) + std::string("xyzw\0\0\0", 7), "range: bundle read error"},
        {WithDirectory({{"end", 4, 7}}), "bad file entry"},
        {WithDirectory({{"wrap", ~uint64_t{0}, 2}}), "bad file entry"},
        {WithDirectory({{"wrap", 2, ~uint64_t{0}}}), "bad file entry"},
        {WithDirectory({{"r", 0, 1, 0, 0, 1}}), "bad file entry"},
        {Header() + Chunk("blob", "0") + Chunk("fdir", secondReserved), "bad file entry"},
        {WithDirectory({{"p", 0, 1, 0, 1}}), "bad file compression"},
        // Directory reads stop at the end of its chunk, even where more bytes follow.
        {Header() + Chunk("blob", "0") + Chunk("fdir", BigEndian(2, 4) + EntryBytes({"one", 0, 1})) +
             Chunk("more", EntryBytes({"two", 0, 1})),
         "range: bundle read error"},
        {Header() + Chunk("blob", "0") + Chunk("fdir", cutName), "range: bundle read error"},
        {Header() + Chunk("blob", "0") + Chunk("fdir", hugeName + "abc"), "range: bundle read error"},
        {Header() + Chunk("blob", "0") + Chunk("fdir", std::string(2, '\0')), "range: bundle read error"},
    };
    for (const auto& [bytes, message] : rows) EXPECT_EQ(LoadMessage(bytes), message) << testing::PrintToString(bytes);
}

TEST(AssetBundle, AcceptsOddButValidLayouts) {
    AssetBundle bundle;
    const std::string directory = Directory({{"x.txt", 1, 2, 77}});
    // Chunks in any order, unknown ones skipped, the first of each id kept.
    const std::string shuffled = Header() + Chunk("fdir", directory) + Chunk("junk", "ignored") +
                                 Chunk("blob", "wxyz") + Chunk("fdir", Directory({{"other", 0, 1}})) +
                                 Chunk("blob", "second blob");
    ASSERT_EQ(LoadMessage(bundle, shuffled), "");
    EXPECT_EQ(bundle.blobOffset, 16u + 12 + directory.size() + 12 + 7 + 12);
    EXPECT_EQ(bundle.entries.size(), 1u);
    EXPECT_EQ(bundle.Find("x.txt")->extra, 77u);
    EXPECT_EQ(EntryText(bundle, "x.txt"), "xy");

    // A gap after the header; files ending exactly at the blob's end, empty ones, an
    // empty name; bytes after the last entry.
    const std::string edges = Header(20) + "pad!" + Chunk("blob", "0123456789") +
                              Chunk("fdir", Directory({{"end", 4, 6}, {"empty", 10, 0}, {"", 0, 0}}) + "trailing");
    ASSERT_EQ(LoadMessage(bundle, edges), "");
    EXPECT_EQ(bundle.blobOffset, 32u);
    EXPECT_EQ(EntryText(bundle, "end"), "456789");
    EXPECT_EQ(EntryText(bundle, "empty"), "");
    EXPECT_EQ(EntryText(bundle, ""), "");
}

}  // namespace
