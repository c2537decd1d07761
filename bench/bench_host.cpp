// tessarine-bench-host: the host's request handler timed in-process under Wine, with
// light doubles for the browser's request objects. Prints one JSON object.
//   requests <appFolder> <runs>   per request at the bundle's size: hit, miss, range
//   whole <appFolder> <runs> <name>...   host time of a whole answer per entry, the
//                                 resident memory it adds, and what copying it would cost
#include <windows.h>
#include <psapi.h>
#include <shlwapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <climits>
#include <memory>
#include <stdexcept>
#include <random>
#include <string>
#include <vector>

#include "bundle/open_asset_bundle.h"
#include "median_time.h"
#include "server/content_server.h"
#include "support/resource_doubles.h"
#include "util/text_convert.h"

namespace {

using test_support::RequestArgs;
using test_support::ResponseMaker;

constexpr char kOrigin[] = "https://tessarine.localhost/";

ComPtr<RequestArgs> MakeRequest(const std::string& path, const wchar_t* range) {
    std::vector<std::pair<std::wstring, std::wstring>> headers;
    if (range != nullptr) headers.emplace_back(L"Range", range);
    ComPtr<RequestArgs> args;
    args.attach(new RequestArgs(Utf8ToWide(kOrigin + path), headers));
    return args;
}

uint64_t WorkingSet() {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    return counters.WorkingSetSize;
}

struct Host {
    AssetBundle bundle;
    SharedMappedFile mapping;
    std::unique_ptr<ContentServer> server;
    ComPtr<ResponseMaker> maker;

    explicit Host(const std::string& appFolder) {
        if (!OpenAssetBundle(bundle, appFolder, mapping) || !mapping) throw std::runtime_error("cannot open bundle");
        server = std::make_unique<ContentServer>(bundle, appFolder, "www\\", kOrigin);
        maker.attach(new ResponseMaker(true));  // one response object, reused: the double costs nothing
    }
    void Answer(RequestArgs* args) { server->HandleResourceRequest(maker.get(), args); }
};

int Requests(const std::string& appFolder, int runs) {
    Host host(appFolder);
    std::vector<std::string> names;
    for (const BundleEntry& entry : host.bundle.entries) names.emplace_back(entry.name);
    std::shuffle(names.begin(), names.end(), std::mt19937(13));
    names.resize(std::min<size_t>(names.size(), 20000));
    std::vector<ComPtr<RequestArgs>> hits, misses, ranges;
    for (const std::string& name : names) {
        hits.push_back(MakeRequest(name, nullptr));
        misses.push_back(MakeRequest(name + "x", nullptr));
        ranges.push_back(MakeRequest(name, L"bytes=10-"));
    }
    const auto perRequestNs = [&](std::vector<ComPtr<RequestArgs>>& requests) {
        return MedianMicroseconds(runs,
                                  [&] {
                                      for (auto& request : requests) host.Answer(request.get());
                                  }) *
               1000.0 / static_cast<double>(requests.size());
    };
    const double hit = perRequestNs(hits);
    const double miss = perRequestNs(misses);
    const double range = perRequestNs(ranges);
    const int status = hits.front()->Answer() ? hits.front()->Answer()->status : 0;
    std::printf("{\"files\": %zu, \"hit\": %.1f, \"miss\": %.1f, \"range\": %.1f, \"hit_status\": %d}\n",
                host.bundle.entries.size(), hit, miss, range, status);
    return 0;
}

int Whole(const std::string& appFolder, int runs, const std::vector<std::string>& names) {
    Host host(appFolder);
    std::printf("{\"entries\": [");
    for (size_t i = 0; i < names.size(); ++i) {
        const BundleEntry* entry = host.bundle.Find(names[i]);
        if (entry == nullptr) throw std::runtime_error("no entry " + names[i]);
        ComPtr<RequestArgs> request = MakeRequest(names[i], nullptr);
        const double hostUs = MedianMicroseconds(runs, [&] { host.Answer(request.get()); });
        // Resident memory the answer adds while the browser holds it, unread.
        request.reset();
        const uint64_t before = WorkingSet();
        request = MakeRequest(names[i], nullptr);
        host.Answer(request.get());
        const uint64_t after = WorkingSet();
        const int status = request->Answer() ? request->Answer()->status : 0;
        request.reset();
        // What the answer cost when it copied the entry into a memory stream.
        const double copyUs = entry->length > UINT_MAX ? -1.0 : MedianMicroseconds(std::max(3, runs / 10), [&] {
            ComPtr<IStream> copy;
            copy.attach(SHCreateMemStream(host.bundle.DataPointer(entry->offset), static_cast<UINT>(entry->length)));
        });
        std::printf(
            "%s{\"bytes\": %llu, \"host_us\": %.2f, \"rss_added_bytes\": %lld, \"copy_us\": %.1f, "
            "\"status\": %d}",
            i ? ", " : "", static_cast<unsigned long long>(entry->length), hostUs,
            static_cast<long long>(after) - static_cast<long long>(before), copyUs, status);
    }
    std::printf("]}\n");
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    try {
        const std::string command = argc > 1 ? argv[1] : "";
        if (command == "requests" && argc == 4) return Requests(argv[2], std::atoi(argv[3]));
        if (command == "whole" && argc >= 5) {
            return Whole(argv[2], std::atoi(argv[3]), std::vector<std::string>(argv + 4, argv + argc));
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "tessarine-bench-host: %s\n", error.what());
        return 1;
    }
    std::fprintf(stderr,
                 "usage: tessarine-bench-host requests <appFolder> <runs> | whole <appFolder> <runs> <name>...\n");
    return 2;
}
