// Windows-only. Existence and size of files named by UTF-8 paths.
#pragma once

#include <cstdint>
#include <string>

// The \\?\ form of a UTF-8 path for a Windows file call, or empty when it cannot
// name a file: a NUL inside would silently cut the path short at the system call.
std::wstring SystemFilePath(const std::string& path);

// True for any file or folder whose attributes can be read.
bool PathExists(const std::string& path);

// The file's size in bytes; 0 for a folder and for a missing or unreadable file.
uint64_t FileSize(const std::string& path);
