// Windows-only. Existence and size of files named by UTF-8 paths.
#pragma once

#include <cstdint>
#include <string>

// True for any file or folder whose attributes can be read.
bool PathExists(const std::string& path);

// The file's size in bytes; 0 for a folder and for a missing or unreadable file.
uint64_t FileSize(const std::string& path);
