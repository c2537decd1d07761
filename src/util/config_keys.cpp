#include "util/config_keys.h"

#include <algorithm>
#include <array>
#include <utility>

#include "util/app_config.h"

namespace {

std::string Folded(std::string_view text) {
    std::string folded;
    for (const char c : text) {
        if (c == '-' || c == '_' || c == ' ') continue;
        folded += c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c;
    }
    return folded;
}

// The optimal-string-alignment distance, but only as far as "more than two".
size_t EditDistanceUpToThree(std::string_view a, std::string_view b) {
    if ((a.size() > b.size() ? a.size() - b.size() : b.size() - a.size()) > 2) return 3;
    std::vector<size_t> before(b.size() + 1), previous(b.size() + 1), current(b.size() + 1);
    for (size_t j = 0; j <= b.size(); ++j) previous[j] = j;
    for (size_t i = 1; i <= a.size(); ++i) {
        current[0] = i;
        size_t rowBest = current[0];
        for (size_t j = 1; j <= b.size(); ++j) {
            const size_t replace = previous[j - 1] + (a[i - 1] == b[j - 1] ? 0 : 1);
            current[j] = std::min({previous[j] + 1, current[j - 1] + 1, replace});
            if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1]) {
                current[j] = std::min(current[j], before[j - 2] + 1);
            }
            rowBest = std::min(rowBest, current[j]);
        }
        if (rowBest > 2) return 3;
        before.swap(previous);
        previous.swap(current);
    }
    return std::min<size_t>(previous[b.size()], 3);
}

struct Section {
    const char* name;
    std::vector<std::string> keys;
};

const std::vector<Section>& KnownSections() {
    static const std::vector<Section> sections = [] {
        std::vector<Section> known{
            {"", {"name", "main", "window", "chromium-args", "settings", "messages"}},
            {"window", {"title", "width", "height", "icon", "caption", "resizable", "background-color"}},
            {"settings",
             {"distribution-mode", "hosting-mode", "content-mode", "folder-access", "enable-devtools",
              "allow-host-input-processing"}},
            {"messages", {"install-webview2-required"}},
            {"folder-access", {}},
        };
        known.back().keys.assign(folderPlaceholders.begin(), folderPlaceholders.end());
        return known;
    }();
    return sections;
}

const nlohmann::json* Member(const nlohmann::json& object, const std::string& name) {
    if (!object.is_object()) return nullptr;
    const auto found = object.find(name);
    return found == object.end() ? nullptr : &*found;
}

void CollectNearMisses(const nlohmann::json& object, const Section& section, std::vector<NearMissKey>& found) {
    if (!object.is_object()) return;
    for (const auto& item : object.items()) {
        const std::string& key = item.key();
        if (std::find(section.keys.begin(), section.keys.end(), key) != section.keys.end()) continue;
        const auto near = std::find_if(section.keys.begin(), section.keys.end(),
                                       [&key](const std::string& known) { return IsNearMiss(key, known); });
        if (near != section.keys.end()) found.push_back({section.name, key, *near});
    }
}

}  // namespace

bool IsNearMiss(std::string_view key, std::string_view known) {
    if (key == known) return false;
    return Folded(key) == Folded(known) || EditDistanceUpToThree(key, known) <= 2;
}

std::vector<NearMissKey> FindNearMissKeys(const nlohmann::json& root) {
    std::vector<NearMissKey> found;
    const auto& sections = KnownSections();
    CollectNearMisses(root, sections[0], found);
    // "folder-access" belongs in "settings": at the root it closes nothing.
    if (Member(root, "folder-access")) found.push_back({"", "folder-access", "settings.folder-access"});
    for (size_t i = 1; i + 1 < sections.size(); ++i) {
        if (const nlohmann::json* section = Member(root, sections[i].name)) {
            CollectNearMisses(*section, sections[i], found);
        }
    }
    if (const nlohmann::json* settings = Member(root, "settings")) {
        if (const nlohmann::json* access = Member(*settings, "folder-access")) {
            CollectNearMisses(*access, sections.back(), found);
        }
    }
    return found;
}
