// The flat directory against the rules a map kept for free: byte order, the first
// of equal names, lookups that find exactly the stored names; in memory and
// stream mode, whole and cut short by a damaged entry.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "bundle/asset_bundle.h"
#include "support/bundle_bytes.h"

using namespace bundle_test;

namespace {

constexpr uint64_t kBlobLength = 1 << 20;

std::string Archive(const std::vector<RawEntry>& entries) {
    return Header() + Chunk("blob", std::string(kBlobLength, 'x')) + Chunk("fdir", Directory(entries));
}

// What the directory must hold: the first entry of each name, in byte order.
std::map<std::string, RawEntry> FirstOfEachName(const std::vector<RawEntry>& entries) {
    std::map<std::string, RawEntry> expected;
    for (const RawEntry& entry : entries) expected.emplace(entry.name, entry);
    return expected;
}

void ExpectSameDirectory(const AssetBundle& bundle, const std::map<std::string, RawEntry>& expected) {
    ASSERT_EQ(bundle.entries.size(), expected.size());
    auto want = expected.begin();
    for (const BundleEntry& entry : bundle.entries) {
        ASSERT_EQ(entry.name, want->first);
        EXPECT_EQ(entry.offset, want->second.offset) << want->first;
        EXPECT_EQ(entry.length, want->second.length) << want->first;
        EXPECT_EQ(entry.extra, want->second.extra) << want->first;
        EXPECT_EQ(bundle.Find(want->first), &entry) << want->first;
        // Near misses: one byte more, one byte less, another last byte.
        const std::string& name = want->first;
        for (const std::string& other : {name + "a", name.substr(0, name.size() - (name.empty() ? 0 : 1)),
                                         name.empty() ? std::string("\x80") : name.substr(0, name.size() - 1) + "q"}) {
            EXPECT_EQ(bundle.Find(other) != nullptr, expected.count(other) != 0) << other;
        }
        ++want;
    }
}

TEST(BundleDirectory, KeepsByteOrderAndTheFirstOfEqualNamesInBothModes) {
    struct Row {
        size_t count;
        bool sorted;       // as the packer writes them
        size_t damagedAt;  // entries before it are kept; SIZE_MAX: none damaged
        const char* error;
    };
    const Row rows[] = {
        {0, false, SIZE_MAX, ""},
        {1, false, SIZE_MAX, ""},
        {2, false, SIZE_MAX, ""},
        {3000, false, SIZE_MAX, ""},
        {3000, true, SIZE_MAX, ""},
        {3000, false, 1700, "bad file entry"},
        {3000, true, 1700, "bad file entry"},
        {50, false, 0, "bad file entry"},
    };
    for (const Row& row : rows) {
        for (const bool fromStream : {false, true}) {
            SCOPED_TRACE(std::to_string(row.count) + (row.sorted ? " sorted" : "") + (fromStream ? " stream" : "") +
                         " damaged at " + std::to_string(row.damagedAt));
            std::vector<RawEntry> entries = GeneratedEntries(row.count, static_cast<unsigned>(row.count));
            if (row.sorted) {
                std::stable_sort(entries.begin(), entries.end(),
                                 [](const RawEntry& a, const RawEntry& b) { return a.name < b.name; });
            }
            std::vector<RawEntry> served = entries;
            if (row.damagedAt != SIZE_MAX) {
                entries[row.damagedAt].offset = kBlobLength;  // ends past the blob
                served.resize(row.damagedAt);
            }
            const std::string bytes = Archive(entries);
            AssetBundle bundle;
            FILE* file = nullptr;
            EXPECT_EQ(LoadMessage(bundle, bytes, fromStream ? &file : nullptr), row.error);
            ExpectSameDirectory(bundle, FirstOfEachName(served));
            if (file != nullptr) std::fclose(file);
        }
    }
}

TEST(BundleDirectory, AStreamShorterThanAnnouncedFailsWhereTheBytesEndAndKeepsWhatCameBefore) {
    const std::string bytes = Archive(GeneratedEntries(40, 7));
    AssetBundle bundle;
    FILE* file = nullptr;
    // Ends inside the last entries: a read error of the file, not a damaged directory.
    EXPECT_EQ(LoadMessage(bundle, bytes.substr(0, bytes.size() - 100), &file, bytes.size()), "file read error");
    EXPECT_GT(bundle.entries.size(), 20u);
    std::fclose(file);
    // A whole stream loads, but has no bytes in memory to point at.
    AssetBundle whole;
    ASSERT_EQ(LoadMessage(whole, bytes, &file), "");
    try {
        whole.DataPointer(0);
        ADD_FAILURE() << "a pointer into a stream";
    } catch (const std::runtime_error& error) {
        EXPECT_STREQ(error.what(), "wrong read mode");
    }
    std::fclose(file);
}

}  // namespace
