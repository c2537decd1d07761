// The flat directory against the rules a map kept for free: byte order, the first
// of equal names, lookups that find exactly the stored names; in memory and
// stream mode, whole and cut short by a damaged entry.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <map>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "bundle/asset_bundle.h"
#include "support/bundle_bytes.h"

using namespace bundle_test;

namespace {

constexpr uint64_t kBlobLength = 1 << 20;

// Names of 0 to 40 bytes over a small alphabet with bytes above 0x7F, so that
// many share prefixes, some repeat and byte order differs from signed char order.
std::vector<RawEntry> GeneratedEntries(size_t count, unsigned seed) {
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

// Loads in memory mode, or through a stream over a temporary file announced as
// `announced` bytes long (0: as long as it is); "" or the message, "range: " first
// for a damaged archive.
std::string Load(const std::string& bytes, bool fromStream, AssetBundle& bundle, FILE*& file, size_t announced = 0) {
    try {
        if (fromStream) {
            file = std::tmpfile();
            if (file == nullptr || std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size()) return "tmpfile";
            std::rewind(file);
            bundle.SetStreamSource(file, announced ? announced : bytes.size());
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
            EXPECT_EQ(Load(bytes, fromStream, bundle, file), row.error);
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
    EXPECT_EQ(Load(bytes.substr(0, bytes.size() - 100), true, bundle, file, bytes.size()), "file read error");
    EXPECT_GT(bundle.entries.size(), 20u);
    std::fclose(file);
    // A whole stream loads, but has no bytes in memory to point at.
    AssetBundle whole;
    ASSERT_EQ(Load(bytes, true, whole, file), "");
    try {
        whole.DataPointer(0);
        ADD_FAILURE() << "a pointer into a stream";
    } catch (const std::runtime_error& error) {
        EXPECT_STREQ(error.what(), "wrong read mode");
    }
    std::fclose(file);
}

}  // namespace
