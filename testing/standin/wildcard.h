#pragma once
// Matching of resource filter patterns: '*' stands for any run of characters
// (also none), '?' for exactly one; everything else matches itself.

#include <string_view>

namespace standin {

bool WildcardMatch(std::wstring_view pattern, std::wstring_view text);

}  // namespace standin
