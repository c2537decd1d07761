// The archive reader over memory (the host) and over a stream (the packer) must
// agree on every input, and every entry it keeps must lie inside the input.
#include <cstdio>
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
    for (const BundleEntry& entry : memory.entries) {
        if (!loaded) break;
        if (memory.Find(entry.name) != &entry || memory.blobOffset + memory.blobLength > size ||
            entry.offset > memory.blobLength || entry.length > memory.blobLength - entry.offset) {
            __builtin_trap();
        }
    }
    FILE* file = size == 0 ? nullptr : fmemopen(const_cast<uint8_t*>(data), size, "rb");
    if (!file) return 0;
    AssetBundle stream;
    stream.SetStreamSource(file, size);
    const bool streamLoaded = Load(stream);
    fclose(file);
    if (streamLoaded != loaded || (loaded && stream.entries.size() != memory.entries.size())) __builtin_trap();
    return 0;
}
