// Windows-only. A response body that reads straight from memory someone else
// owns (the bundle's mapping, a mapped folder file): nothing is copied when the
// response is made, whatever the size.
#pragma once

#include <objidl.h>

#include <cstdint>
#include <memory>

#include "util/win_handles.h"

// A read-only IStream over the `size` bytes at `data`, positioned at 0. It holds
// `owner` (which keeps the bytes alive) until its last reference is released, on
// whichever thread that happens. Reads, seeks and clones may come from any thread.
// `owner` may be empty for bytes that live as long as the process.
ComPtr<IStream> MakeBodyStream(std::shared_ptr<const void> owner, const uint8_t* data, uint64_t size);
