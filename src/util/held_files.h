// Windows-only. Files the host keeps from being changed while it runs: its own code,
// its configuration and its bundle, which a page with a writable folder handle (or
// anything else of the user's) could otherwise replace for the next start.
#pragma once

#include <string>
#include <vector>

#include "util/win_handles.h"

class HeldFiles {
public:
    HeldFiles() = default;
    HeldFiles(const HeldFiles&) = delete;
    HeldFiles& operator=(const HeldFiles&) = delete;

    // Opens the file for reading, sharing only reading, until this object goes: no one
    // may write, rename or delete it meanwhile. A file that is not there is passed over.
    void Hold(const std::string& path);

private:
    std::vector<UniqueHandle> handles_;
};
