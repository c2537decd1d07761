#pragma once

#include <cstdint>
#include <string>

// Little-endian numbers appended to bytes, as PE, icon and zip files store them.
inline void AppendLe16(std::string& out, uint32_t value) {
    out.push_back(static_cast<char>(value & 0xFF));
    out.push_back(static_cast<char>((value >> 8) & 0xFF));
}

inline void AppendLe32(std::string& out, uint64_t value) {
    AppendLe16(out, static_cast<uint32_t>(value & 0xFFFF));
    AppendLe16(out, static_cast<uint32_t>((value >> 16) & 0xFFFF));
}
