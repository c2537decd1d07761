// Page messages: checked, parsed and dispatched by type.
#include "bridge/web_message.h"

#include <cstring>
#include <functional>
#include <map>

#include <nlohmann/json.hpp>

#include "app/json_get.h"
#include "util/text_convert.h"
#include "util/win_handles.h"

namespace {

using MessageAction = std::function<void(PageRequests&, const nlohmann::json&, const std::string&)>;

// Types are compared whole and case-sensitively; members are read before anything changes.
const std::map<std::string, MessageAction>& MessageActions() {
    static const std::map<std::string, MessageAction> actions{
        {"wrapper-init",
         [](PageRequests& host, const nlohmann::json&, const std::string&) { host.SendInitResponse(); }},
        {"extension-message",
         [](PageRequests& host, const nlohmann::json&, const std::string& text) { host.DeliverPageMessage(text); }},
        {"set-fullscreen", [](PageRequests& host, const nlohmann::json& message,
                              const std::string&) { host.SetFullscreen(JsonGetBool(message, "fullscreen", false)); }},
        {"set-window-size",
         [](PageRequests& host, const nlohmann::json& message, const std::string&) {
             const int32_t height = JsonGetInt(message, "windowHeight", 0);
             const int32_t width = JsonGetInt(message, "windowWidth", 0);
             host.SetClientSize(width, height);
         }},
        {"set-window-position",
         [](PageRequests& host, const nlohmann::json& message, const std::string&) {
             const int32_t y = JsonGetInt(message, "windowY", 0);
             const int32_t x = JsonGetInt(message, "windowX", 0);
             host.MoveWindowTo(x, y);
         }},
        {"maximize-window",
         [](PageRequests& host, const nlohmann::json&, const std::string&) { host.ShowMainWindow(SW_MAXIMIZE); }},
        {"minimize-window",
         [](PageRequests& host, const nlohmann::json&, const std::string&) { host.ShowMainWindow(SW_MINIMIZE); }},
        {"restore-window",
         [](PageRequests& host, const nlohmann::json&, const std::string&) { host.ShowMainWindow(SW_RESTORE); }},
        {"focus-window", [](PageRequests& host, const nlohmann::json&, const std::string&) { host.FocusWindow(); }},
        {"set-pointer-lock-enabled",
         [](PageRequests& host, const nlohmann::json& message, const std::string&) {
             host.SetPointerLockEnabled(JsonGetBool(message, "isEnabled", false));
         }},
    };
    return actions;
}

}  // namespace

void HandleWebMessage(const std::string& text, PageRequests& requests) {
    try {
        // The text counts up to its first NUL character.
        const std::string json(text.c_str(), std::strlen(text.c_str()));
        const nlohmann::json message = nlohmann::json::parse(json, nullptr, false);
        if (message.is_discarded()) return;
        const auto& actions = MessageActions();
        const auto action = actions.find(JsonGetString(message, "type", ""));
        if (action != actions.end()) action->second(requests, message, json);
    } catch (...) {
        // A page message never takes the host down; what was done stays done.
    }
}

void ReceiveWebMessage(ICoreWebView2WebMessageReceivedEventArgs* args, const std::string& originUrl,
                       PageRequests& requests) {
    CoTaskMemPtr<wchar_t> source;
    args->get_Source(source.put());
    if (WideToUtf8(source.get()).compare(0, originUrl.size(), originUrl) != 0) return;
    // A message posted as a non-string value has no text: ignore it.
    CoTaskMemPtr<wchar_t> text;
    if (FAILED(args->TryGetWebMessageAsString(text.put())) || !text) return;
    HandleWebMessage(WideToUtf8(text.get()), requests);
}
