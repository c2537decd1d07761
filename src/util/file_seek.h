#pragma once
// Portable. A stdio stream moved to a 64-bit offset from its start.

#include <cstdint>
#include <cstdio>
#include <limits>
#ifndef _WIN32
#include <sys/types.h>
#endif

// False when the offset is past what the platform's seek takes or the seek fails.
inline bool SeekFile(FILE* stream, uint64_t offset) {
    if (offset > static_cast<uint64_t>(std::numeric_limits<int64_t>::max())) return false;
#ifdef _WIN32
    return _fseeki64(stream, static_cast<int64_t>(offset), SEEK_SET) == 0;
#else
    return fseeko(stream, static_cast<off_t>(offset), SEEK_SET) == 0;
#endif
}
