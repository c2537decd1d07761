#include "browser_version.h"

#include <cstdint>
#include <vector>

namespace standin {
namespace {

bool SplitVersion(std::string_view text, std::vector<std::uint64_t>& parts) {
    if (text.empty()) return false;
    std::uint64_t part = 0;
    bool digits = false;
    for (char c : text) {
        if (c == '.') {
            if (!digits) return false;
            parts.push_back(part);
            part = 0;
            digits = false;
        } else if (c >= '0' && c <= '9') {
            if (part > 100000000000ull) return false;
            part = part * 10 + static_cast<unsigned>(c - '0');
            digits = true;
        } else {
            return false;
        }
    }
    if (!digits) return false;
    parts.push_back(part);
    return true;
}

}  // namespace

bool CompareVersions(std::string_view a, std::string_view b, int& result) {
    std::vector<std::uint64_t> left;
    std::vector<std::uint64_t> right;
    if (!SplitVersion(a, left) || !SplitVersion(b, right)) return false;
    const std::size_t count = left.size() > right.size() ? left.size() : right.size();
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint64_t x = i < left.size() ? left[i] : 0;
        const std::uint64_t y = i < right.size() ? right[i] : 0;
        if (x != y) {
            result = x < y ? -1 : 1;
            return true;
        }
    }
    result = 0;
    return true;
}

}  // namespace standin
