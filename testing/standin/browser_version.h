#pragma once
// Comparison of browser version strings such as "144.0.3719.77".

#include <string_view>

namespace standin {

// Negative, zero or positive as a is older than, the same as or newer than b.
// Parts are compared as numbers, left to right; a missing part counts as 0.
// False when either text is not a dotted list of decimal numbers.
bool CompareVersions(std::string_view a, std::string_view b, int& result);

}  // namespace standin
