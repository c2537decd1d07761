#include "util/app_config.h"

#include <algorithm>
#include <set>
#include <stdexcept>
#include <utility>
#include <vector>

#include "util/config_keys.h"
#include "util/json_get.h"

namespace {

// Watches the parse for the keys whose second copy would silently replace the first:
// "settings", "folder-access" in it, and the placeholders in that.
class DuplicateKeyWatch {
public:
    bool OnEvent(int depth, nlohmann::json::parse_event_t event, const nlohmann::json& parsed) {
        using Event = nlohmann::json::parse_event_t;
        if (event == Event::object_start || event == Event::array_start) {
            std::string name = frames_.empty() || !frames_.back().isObject ? "" : frames_.back().pendingKey;
            frames_.push_back({event == Event::object_start, std::move(name), {}, {}});
        } else if ((event == Event::object_end || event == Event::array_end) && !frames_.empty()) {
            frames_.pop_back();
        } else if (event == Event::key && depth > 0 && !frames_.empty()) {
            Frame& frame = frames_.back();
            frame.pendingKey = parsed.get<std::string>();
            if (Watched(frame.pendingKey) && !frame.keys.insert(frame.pendingKey).second) found_ = true;
        }
        return true;
    }
    bool Found() const { return found_; }

private:
    struct Frame {
        bool isObject;
        std::string name;
        std::string pendingKey;
        std::set<std::string> keys;
    };

    bool Watched(const std::string& key) const {
        switch (frames_.size()) {
            case 1:
                return key == "settings";
            case 2:
                return frames_[1].name == "settings" && key == "folder-access";
            case 3:
                return frames_[1].name == "settings" && frames_[2].name == "folder-access";
            default:
                return false;
        }
    }

    std::vector<Frame> frames_;
    bool found_ = false;
};

// A near miss of "settings" at the root or of "folder-access" in it, or "folder-access"
// at the root, would leave every folder at its default without a word.
bool HasMisplacedFolderAccess(const nlohmann::json& root) {
    if (!root.is_object()) return false;
    for (const auto& item : root.items()) {
        if (item.key() == "folder-access" || IsNearMiss(item.key(), "settings") ||
            IsNearMiss(item.key(), "folder-access")) {
            return true;
        }
    }
    const auto settings = root.find("settings");
    if (settings == root.end() || !settings->is_object()) return false;
    for (const auto& item : settings->items()) {
        if (IsNearMiss(item.key(), "folder-access")) return true;
    }
    return false;
}

const nlohmann::json& Section(const nlohmann::json& root, const char* name) {
    // A missing section reads like one of the wrong type: every lookup falls back.
    static const nlohmann::json absent;
    const auto found = root.find(name);
    return found == root.end() ? absent : *found;
}

uint8_t ColorByte(const nlohmann::json& element) {
    if (element.is_boolean()) return element.get<bool>() ? 1 : 0;
    if (const auto number = JsonNumberToInt32(element)) return static_cast<uint8_t>(static_cast<uint32_t>(*number));
    throw nlohmann::json::type_error::create(302, "type must be number, but is " + std::string(element.type_name()),
                                             &element);
}

RgbColor ReadBackgroundColor(const nlohmann::json& window) {
    RgbColor color;
    if (!window.is_object()) return color;
    const auto found = window.find("background-color");
    if (found == window.end() || !found->is_array()) return color;
    // at() raises the library's out_of_range error for a short array.
    color.red = ColorByte(found->at(0));
    color.green = ColorByte(found->at(1));
    color.blue = ColorByte(found->at(2));
    return color;
}

DistributionMode ReadDistributionMode(const nlohmann::json& settings) {
    const std::string word = JsonGetString(settings, "distribution-mode", "evergreen");
    if (word == "evergreen") return DistributionMode::Evergreen;
    if (word == "fixed") return DistributionMode::Fixed;
    throw std::runtime_error("invalid distribution mode");
}

HostingMode ReadHostingMode(const nlohmann::json& settings) {
    const std::string word = JsonGetString(settings, "hosting-mode", "windowed");
    if (word == "windowed") return HostingMode::Windowed;
    if (word == "window-to-visual") return HostingMode::WindowToVisual;
    throw std::runtime_error("invalid hosting mode");
}

ContentMode ReadContentMode(const nlohmann::json& settings) {
    const std::string word = JsonGetString(settings, "content-mode", "bundle");
    if (word == "bundle") return ContentMode::Bundle;
    if (word == "remote") return ContentMode::Remote;
    throw std::runtime_error("invalid content mode");
}

// Every member must name a folder of the handshake and hold one of the three words:
// a typo must not leave a folder writable that the author meant to close.
std::map<std::string, FolderAccess> ReadFolderAccess(const nlohmann::json& settings) {
    std::map<std::string, FolderAccess> access;
    if (!settings.is_object()) return access;
    const auto found = settings.find("folder-access");
    if (found == settings.end()) return access;
    if (!found->is_object()) throw std::runtime_error("invalid folder access");
    static const std::map<std::string, FolderAccess> words{
        {"read-write", FolderAccess::ReadWrite}, {"read", FolderAccess::Read}, {"none", FolderAccess::None}};
    for (const auto& [placeholder, value] : found->items()) {
        const bool known =
            std::find(folderPlaceholders.begin(), folderPlaceholders.end(), placeholder) != folderPlaceholders.end();
        const auto word = value.is_string() ? words.find(value.get<std::string>()) : words.end();
        if (!known || word == words.end()) throw std::runtime_error("invalid folder access");
        access[placeholder] = word->second;
    }
    return access;
}

}  // namespace

void ParseAppConfig(const std::string& text, AppConfig& config) {
    // The file is read as raw bytes; anything after a NUL is not part of it.
    const std::size_t nul = text.find('\0');
    const auto end = nul == std::string::npos ? text.end() : text.begin() + static_cast<std::ptrdiff_t>(nul);
    const bool allowExceptions = true;
    const bool ignoreComments = false;
    DuplicateKeyWatch duplicates;
    const nlohmann::json root = nlohmann::json::parse(
        text.begin(), end,
        [&duplicates](int depth, nlohmann::json::parse_event_t event, nlohmann::json& parsed) {
            return duplicates.OnEvent(depth, event, parsed);
        },
        allowExceptions, ignoreComments);

    config.name = JsonGetString(root, "name", "");
    if (config.name.empty()) throw std::runtime_error("invalid name");
    config.main = JsonGetString(root, "main", "index.html");

    const nlohmann::json& window = Section(root, "window");
    config.title = JsonGetString(window, "title", "Tessarine");
    config.width = JsonGetInt(window, "width", 1024);
    config.height = JsonGetInt(window, "height", 768);
    config.icon = JsonGetString(window, "icon", "");
    config.caption = JsonGetBool(window, "caption", true);
    config.resizable = JsonGetBool(window, "resizable", true);
    config.backgroundColor = ReadBackgroundColor(window);

    config.chromiumArgs = JsonGetString(root, "chromium-args", "");

    const nlohmann::json& settings = Section(root, "settings");
    config.distributionMode = ReadDistributionMode(settings);
    config.hostingMode = ReadHostingMode(settings);
    config.contentMode = ReadContentMode(settings);
    if (duplicates.Found() || HasMisplacedFolderAccess(root)) throw std::runtime_error("invalid folder access");
    config.folderAccess = ReadFolderAccess(settings);
    config.enableDevTools = JsonGetBool(settings, "enable-devtools", true);
    config.allowHostInputProcessing = JsonGetBool(settings, "allow-host-input-processing", true);
    // At most a day: the wait is a timer in milliseconds.
    config.closeTimeoutSeconds = std::clamp(JsonGetInt(settings, "close-timeout", 10), 0, 86400);
    config.singleInstance = JsonGetBool(settings, "single-instance", false);

    const nlohmann::json& messages = Section(root, "messages");
    config.installRuntimeMessage = JsonGetString(messages, "install-webview2-required", defaultInstallRuntimeMessage);
}
