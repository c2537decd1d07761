// Portable. The keys package.json knows, and the near misses of them that a typo
// makes: a misspelt "folder-access" would otherwise leave every folder open.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

// True when `key` is not `known` but equals it once letter case, '-', '_' and spaces
// are ignored, or is within two single-character edits of it (insert, delete,
// replace, swap of two neighbours).
bool IsNearMiss(std::string_view key, std::string_view known);

// An unknown key that is a near miss of a known key of the same section.
struct NearMissKey {
    std::string section;  // "" for the root, else "window", "settings", ...
    std::string key;
    std::string suggestion;
};

// Every unknown key of the root, its sections and "folder-access" that is a near miss
// of a key known there, in the order of the sections, then of the keys. A key known in
// another section ("folder-access" at the root) counts as unknown where it stands.
std::vector<NearMissKey> FindNearMissKeys(const nlohmann::json& root);
