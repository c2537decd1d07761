#pragma once

#include <string>

// Why an entry name may not be written below an extraction folder, or an
// empty string when it is safe: the name must stay inside the folder on
// every system and name the same file everywhere.
std::string UnsafeEntryNameReason(const std::string& name);
