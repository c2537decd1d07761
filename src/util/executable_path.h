// Windows-only. Where the running executable lies.
#pragma once

#include <string>

// UTF-8 full path of the executable file, with backslashes and without \\?\.
// Computed on the first call and cached for the life of the process.
std::string ExecutablePath();
