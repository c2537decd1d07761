// What the host hands the shell: URL schemes and a file type whose open command is
// the shell recorder for the length of a test (Windows-only).
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "shell_class_override.h"

namespace e2e {

class ShellLaunches {
public:
    // Records into `folder`, which is created; every scheme and the file class open with
    // the recorder, and files ending in `extension` are of that class.
    ShellLaunches(const std::filesystem::path& folder, const std::vector<std::wstring>& schemes,
                  const std::wstring& extension, const std::wstring& fileClass);
    bool Ready() const { return ready_; }
    // Waits until at least `count` launches are recorded (20 s at most), then a little
    // longer for strays; returns the arguments, sorted, and forgets them.
    std::vector<std::string> Await(size_t count);

private:
    std::filesystem::path folder_;
    ShellClassOverride classes_;
    bool ready_ = true;
};

}  // namespace e2e
