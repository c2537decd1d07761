// The stand-in browser runtime's transcript: one JSON object per line.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

namespace e2e {

struct Transcript {
    std::vector<nlohmann::json> lines;
    // Lines that were not JSON objects (a run killed mid-write leaves at most one).
    std::vector<std::string> badLines;

    // Lines whose "ev" is exactly this name, in order.
    std::vector<nlohmann::json> Events(const std::string& name) const;
    // The first such line, or null when there is none.
    nlohmann::json First(const std::string& name) const;
    bool Has(const std::string& name) const { return !First(name).is_null(); }
    // Index of the first line with this "ev" at or after `from`; -1 when none.
    long IndexOf(const std::string& name, size_t from = 0) const;
    // Every "ev" in order, one per line, for failure messages.
    std::string Summary() const;
};

Transcript ParseTranscript(const std::string& text);
// A missing file gives an empty transcript.
Transcript ReadTranscript(const std::filesystem::path& path);

}  // namespace e2e
