// The archive reader over memory (the host) and over a stream (the packer) must
// agree on every input, and every entry it keeps must lie inside the input.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "bundle/asset_bundle.h"

namespace {

bool Load(AssetBundle& bundle) {
    try {
        bundle.Load();
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    AssetBundle memory;
    memory.SetMemorySource(data, size);
    const bool loaded = Load(memory);
    if (loaded) {
        for (const auto& [name, entry] : memory.entries) {
            if (memory.Find(name) != &entry) abort();
            if (entry.offset > memory.blobLength || entry.length > memory.blobLength - entry.offset) abort();
            if (memory.blobOffset + memory.blobLength > size) abort();
            if (entry.length > 0 && memory.DataPointer(entry.offset) + entry.length > data + size) abort();
        }
    }
    if (size == 0) return 0;
    FILE* file = fmemopen(const_cast<uint8_t*>(data), size, "rb");
    if (!file) return 0;
    AssetBundle stream;
    stream.SetStreamSource(file, size);
    const bool streamLoaded = Load(stream);
    fclose(file);
    if (streamLoaded != loaded) abort();
    if (loaded && (stream.entries.size() != memory.entries.size() || stream.blobOffset != memory.blobOffset)) abort();
    return 0;
}
