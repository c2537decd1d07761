#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

// Why an entry name may not be written below an extraction folder, or an
// empty string when it is safe: the name must stay inside the folder on
// every system and name the same file everywhere.
std::string UnsafeEntryNameReason(const std::string& name);

// The first entry (in archive order) that cannot be written beside the others into one
// Windows folder: an unsafe name, the same name as an earlier one once letter case is
// ignored, or a file that another name needs as a folder. Nothing when all are fine.
struct BadEntry {
    size_t index;
    std::string reason;
};
std::optional<BadEntry> FirstBadEntry(const std::vector<std::string>& names);

// The name with every byte that could steer a terminal (C0 and C1 controls, DEL,
// bytes outside valid UTF-8) written as \xNN.
std::string PrintableName(const std::string& name);
