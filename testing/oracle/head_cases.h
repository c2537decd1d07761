// Generated answers for comparing the head composer with the one it replaced.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace oracle {

struct HeadCase {
    std::string path;
    uint64_t length = 0;
    std::optional<std::string> range;  // the trimmed Range value, if the request has one
};

// Every combination of paths (extensions in any case, none, a dot in a folder, a NUL),
// content lengths (empty, around 1000, the 2 MiB cap, 2 GiB, beyond 32 bits) and Range
// values (each form around those numbers, and malformed ones); without the values
// holding a number of 2^31 or more, the one place where the two readers differ.
std::vector<HeadCase> GeneratedHeadCases();

}  // namespace oracle
