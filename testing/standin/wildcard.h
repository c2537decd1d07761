#pragma once
// Matching of resource filter patterns: '*' stands for any run of characters
// (also none), '?' for exactly one; everything else matches itself.

#include <string_view>

namespace standin {

bool WildcardMatch(std::u16string_view pattern, std::u16string_view text);

}  // namespace standin
