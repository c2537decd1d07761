#pragma once

#include <optional>
#include <string>

// The bytes of the entry `name` (exact, "/" separated) of a zip archive held in memory,
// stored or deflated; nothing when the archive has no such entry. Throws
// std::runtime_error when `archive` is not a readable zip archive.
std::optional<std::string> ReadZipEntry(const std::string& archive, const std::string& name);
