#pragma once
// Reading the variables that point the library at its configuration and record files.

#include <optional>
#include <string>

// The variable's value, or nothing when it is not set.
std::optional<std::wstring> EnvironmentVariable(const wchar_t* name);
