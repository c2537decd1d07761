// Page messages: parsed and dispatched by type.
#include "bridge/page_message.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <string_view>
#include <functional>
#include <map>

#include <nlohmann/json.hpp>

#include "util/json_get.h"

namespace {

struct Message {
    const nlohmann::json& json;
    const std::string& text;
    bool securePage;
};
using MessageAction = std::function<void(PageRequests&, const Message&)>;

// Types are compared whole and case-sensitively; members are read before anything changes.
const std::map<std::string, MessageAction>& MessageActions() {
    static const std::map<std::string, MessageAction> actions{
        {"wrapper-init", [](PageRequests& host, const Message& m) { host.SendInitResponse(m.securePage); }},
        {"extension-message", [](PageRequests& host, const Message& m) { host.DeliverPageMessage(m.text); }},
        {"set-fullscreen",
         [](PageRequests& host, const Message& m) { host.SetFullscreen(JsonGetBool(m.json, "fullscreen", false)); }},
        {"set-window-size",
         [](PageRequests& host, const Message& m) {
             const int32_t height = JsonGetInt(m.json, "windowHeight", 0);
             const int32_t width = JsonGetInt(m.json, "windowWidth", 0);
             host.SetClientSize(width, height);
         }},
        {"set-window-position",
         [](PageRequests& host, const Message& m) {
             const int32_t y = JsonGetInt(m.json, "windowY", 0);
             const int32_t x = JsonGetInt(m.json, "windowX", 0);
             host.MoveWindowTo(x, y);
         }},
        {"maximize-window", [](PageRequests& host, const Message&) { host.ShowMainWindow(WindowShow::Maximize); }},
        {"minimize-window", [](PageRequests& host, const Message&) { host.ShowMainWindow(WindowShow::Minimize); }},
        {"restore-window", [](PageRequests& host, const Message&) { host.ShowMainWindow(WindowShow::Restore); }},
        {"focus-window", [](PageRequests& host, const Message&) { host.FocusWindow(); }},
        {"set-pointer-lock-enabled",
         [](PageRequests& host, const Message& m) {
             host.SetPointerLockEnabled(JsonGetBool(m.json, "isEnabled", false));
         }},
        {"set-close-handling",
         [](PageRequests& host, const Message& m) { host.SetCloseHandling(JsonGetBool(m.json, "isEnabled", false)); }},
        {"close-window", [](PageRequests& host, const Message&) { host.CloseWindow(); }},
    };
    return actions;
}

// Keeps the top-level object's members that some request reads, and nothing nested:
// no request reads more, and a tree of the rest could take many times the text.
bool KeepReadMember(int depth, nlohmann::json::parse_event_t event, nlohmann::json& parsed) {
    using Event = nlohmann::json::parse_event_t;
    switch (event) {
        case Event::object_start:
            return depth == 0;
        case Event::array_start:
            return false;
        case Event::key: {
            static const std::array<std::string_view, 7> read = {"type",    "fullscreen", "windowWidth", "windowHeight",
                                                                 "windowX", "windowY",    "isEnabled"};
            const auto& key = parsed.get_ref<const std::string&>();
            return depth != 1 || std::find(read.begin(), read.end(), key) != read.end();
        }
        default:
            return true;
    }
}

}  // namespace

bool IsWithinPageMessageLimits(std::string_view text) {
    if (text.size() > maxPageMessageBytes) return false;
    size_t depth = 0;
    bool inString = false;
    bool escaped = false;
    for (const char c : text) {
        if (inString) {
            if (escaped) {
                escaped = false;
            } else if (c == '\\') {
                escaped = true;
            } else if (c == '"') {
                inString = false;
            }
        } else if (c == '"') {
            inString = true;
        } else if (c == '[' || c == '{') {
            if (++depth > maxPageMessageDepth) return false;
        } else if ((c == ']' || c == '}') && depth > 0) {
            --depth;
        }
    }
    return true;
}

void HandleWebMessage(const std::string& text, PageRequests& requests, bool securePage) {
    try {
        // The text counts up to its first NUL character; a copy only when there is one.
        const size_t length = std::strlen(text.c_str());
        const std::string truncated = length == text.size() ? std::string() : text.substr(0, length);
        const std::string& json = length == text.size() ? text : truncated;
        if (!IsWithinPageMessageLimits(json)) return;
        const nlohmann::json message = nlohmann::json::parse(json.begin(), json.end(), KeepReadMember, false);
        if (message.is_discarded()) return;
        const auto& actions = MessageActions();
        const auto action = actions.find(JsonGetString(message, "type", ""));
        if (action != actions.end()) action->second(requests, Message{message, json, securePage});
    } catch (...) {
        // A page message never takes the host down; what was done stays done.
    }
}
