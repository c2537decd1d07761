// Page messages: parsed and dispatched by type.
#include "bridge/page_message.h"

#include <cstring>
#include <functional>
#include <map>

#include <nlohmann/json.hpp>

#include "app/json_get.h"

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

}  // namespace

void HandleWebMessage(const std::string& text, PageRequests& requests, bool securePage) {
    try {
        // The text counts up to its first NUL character.
        const std::string json(text.c_str(), std::strlen(text.c_str()));
        const nlohmann::json message = nlohmann::json::parse(json, nullptr, false);
        if (message.is_discarded()) return;
        const auto& actions = MessageActions();
        const auto action = actions.find(JsonGetString(message, "type", ""));
        if (action != actions.end()) action->second(requests, Message{message, json, securePage});
    } catch (...) {
        // A page message never takes the host down; what was done stays done.
    }
}
