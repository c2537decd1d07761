// tessarine-bench-core: the portable core timed natively. Each command prints one
// JSON object on standard output; scripts/bench collects them.
//   open <archive> <runs>            open (map + load), load alone, one validating pass
//   requests <archive> <runs>        lookup and head composition per request: hit, miss, range
//   rss <archive>                    resident memory added by opening, and the directory's size
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <optional>
#include <random>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "bundle/asset_bundle.h"
#include "median_time.h"
#include "server/response_head.h"

namespace {

// A read-only mapping of a whole file, as the host maps the bundle.
class Mapping {
public:
    explicit Mapping(const char* path) {
        descriptor_ = ::open(path, O_RDONLY);
        struct stat status {};
        if (descriptor_ < 0 || ::fstat(descriptor_, &status) != 0) throw std::runtime_error("cannot open archive");
        size_ = static_cast<uint64_t>(status.st_size);
        view_ = ::mmap(nullptr, size_, PROT_READ, MAP_SHARED, descriptor_, 0);
        if (view_ == MAP_FAILED) throw std::runtime_error("cannot map archive");
    }
    ~Mapping() {
        ::munmap(view_, size_);
        ::close(descriptor_);
    }
    const uint8_t* data() const { return static_cast<const uint8_t*>(view_); }
    uint64_t size() const { return size_; }

private:
    int descriptor_ = -1;
    void* view_ = nullptr;
    uint64_t size_ = 0;
};

// Loads the bundle from the mapping, as the host does once it has mapped the file.
void LoadMapped(AssetBundle& bundle, const Mapping& mapping) {
    bundle.SetMemorySource(mapping.data(), mapping.size());
    bundle.Load();
}

uint64_t BigEndian(const uint8_t* bytes, int count) {
    uint64_t value = 0;
    for (int i = 0; i < count; ++i) value = (value << 8) | bytes[i];
    return value;
}

// The least any reader must do: walk every entry once, check its fields, skip its
// name; nothing kept. The directory's place comes from the bundle's chunk table.
size_t ValidatingPass(const uint8_t* directory, uint64_t length, uint64_t blobLength) {
    const uint8_t* at = directory + 4;
    const uint8_t* const end = directory + length;
    const uint64_t count = BigEndian(directory, 4);
    size_t valid = 0;
    for (uint64_t i = 0; i < count; ++i) {
        if (end - at < 37) break;
        const uint64_t offset = BigEndian(at + 8, 8);
        const uint64_t fileLength = BigEndian(at + 16, 8);
        const uint64_t nameLength = BigEndian(at + 33, 4);
        if (BigEndian(at, 8) != 0 || fileLength > blobLength || offset > blobLength - fileLength || at[32] != 0 ||
            nameLength > static_cast<uint64_t>(end - at - 37)) {
            break;
        }
        at += 37 + nameLength;
        ++valid;
    }
    return valid;
}

volatile size_t sink;

int Open(const char* archive, int runs) {
    const double openUs = MedianMicroseconds(runs, [&] {
        Mapping mapping(archive);
        AssetBundle bundle;
        LoadMapped(bundle, mapping);
        sink = bundle.entries.size();
    });
    Mapping mapping(archive);
    AssetBundle loaded;
    LoadMapped(loaded, mapping);
    const BundleChunk& directory = loaded.chunks.at(0x66646972);
    // Load and the pass take turns, so that both meet the same machine; the ratio is
    // the median of the ratios of each pair.
    std::vector<double> loads, floors, ratios;
    for (int i = 0; i < runs; ++i) {
        const double load = MedianMicroseconds(1, [&] {
            AssetBundle bundle;
            LoadMapped(bundle, mapping);
            sink = bundle.entries.size();
        });
        const double pass = MedianMicroseconds(
            1, [&] { sink = ValidatingPass(mapping.data() + directory.start, directory.length, loaded.blobLength); });
        loads.push_back(load);
        floors.push_back(pass);
        ratios.push_back(load / pass);
    }
    std::printf(
        "{\"files\": %zu, \"open_us\": %.2f, \"load_us\": %.2f, \"floor_us\": %.2f, \"load_over_floor\": %.2f}\n",
        loaded.entries.size(), openUs, Median(loads), Median(floors), Median(ratios));
    return 0;
}

// Names laid out one after another in the order they are asked for: a request's
// path is in the cache when it is looked up, so the names' own misses do not count.
struct Names {
    std::string bytes;
    std::vector<std::pair<size_t, size_t>> spans;
    std::string_view operator[](size_t i) const {
        return std::string_view(bytes).substr(spans[i].first, spans[i].second);
    }
    void Add(std::string_view name) {
        spans.emplace_back(bytes.size(), name.size());
        bytes += name;
    }
};

int Requests(const char* archive, int runs) {
    Mapping mapping(archive);
    AssetBundle bundle;
    LoadMapped(bundle, mapping);
    // Every name once, in random order, so that each lookup goes where the last did not.
    std::vector<std::string_view> order;
    for (const BundleEntry& entry : bundle.entries) order.push_back(entry.name);
    std::shuffle(order.begin(), order.end(), std::mt19937(13));
    Names hits, misses;
    for (const std::string_view name : order) {
        hits.Add(name);
        misses.Add(std::string(name) + "x");
    }

    // The directory as it was before: a tree of copied names, for comparison.
    std::map<std::string, BundleEntry, std::less<>> tree;
    for (const BundleEntry& entry : bundle.entries) tree.emplace(std::string(entry.name), entry);
    const auto findInTree = [&](std::string_view name) -> const BundleEntry* {
        const auto found = tree.find(name);
        return found == tree.end() ? nullptr : &found->second;
    };
    const auto findInBundle = [&](std::string_view name) { return bundle.Find(name); };

    ResponseHead head;
    const auto perRequestNs = [&](const Names& names, std::optional<std::string_view> range, const auto& find) {
        const double us = MedianMicroseconds(runs, [&] {
            for (size_t i = 0; i < names.spans.size(); ++i) {
                const std::string_view name = names[i];
                if (const BundleEntry* entry = find(name)) {
                    ComposeResponseHead(name, entry->length, range, head);
                } else {
                    ComposeMissingResponseHead(head);
                }
                sink = head.headerText.size();
            }
        });
        return us * 1000.0 / static_cast<double>(names.spans.size());
    };
    const double hit = perRequestNs(hits, std::nullopt, findInBundle);
    const double miss = perRequestNs(misses, std::nullopt, findInBundle);
    const double range = perRequestNs(hits, std::string_view("bytes=10-"), findInBundle);
    const double treeHit = perRequestNs(hits, std::nullopt, findInTree);
    std::printf("{\"files\": %zu, \"hit\": %.1f, \"miss\": %.1f, \"range\": %.1f, \"tree_hit\": %.1f}\n", order.size(),
                hit, miss, range, treeHit);
    return 0;
}

uint64_t ResidentBytes() {
    std::ifstream statm("/proc/self/statm");
    uint64_t size = 0, resident = 0;
    statm >> size >> resident;
    return resident * static_cast<uint64_t>(::sysconf(_SC_PAGESIZE));
}

int Resident(const char* archive) {
    const uint64_t before = ResidentBytes();
    Mapping mapping(archive);
    AssetBundle bundle;
    LoadMapped(bundle, mapping);
    const uint64_t after = ResidentBytes();
    std::printf("{\"files\": %zu, \"archive_bytes\": %llu, \"rss_added_bytes\": %llu, \"directory_bytes\": %llu}\n",
                bundle.entries.size(), static_cast<unsigned long long>(mapping.size()),
                static_cast<unsigned long long>(after - before),
                static_cast<unsigned long long>(bundle.chunks.at(0x66646972).length));
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    try {
        const std::string command = argc > 1 ? argv[1] : "";
        if (command == "open" && argc == 4) return Open(argv[2], std::atoi(argv[3]));
        if (command == "requests" && argc == 4) return Requests(argv[2], std::atoi(argv[3]));
        if (command == "rss" && argc == 3) return Resident(argv[2]);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "tessarine-bench-core: %s\n", error.what());
        return 1;
    }
    std::fprintf(stderr, "usage: tessarine-bench-core open|requests <archive> <runs> | rss <archive>\n");
    return 2;
}
