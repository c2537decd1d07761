// Page messages: parsed, dispatched by type; host messages posted back as JSON.
#include <cstring>
#include <functional>
#include <map>

#include <nlohmann/json.hpp>

#include "app/json_get.h"
#include "util/text_convert.h"
#include "webview/pallant_webview.h"

namespace {

using MessageAction = std::function<void(PallantWebView&, const nlohmann::json&, const std::string&)>;

// Types are compared whole and case-sensitively; members are read before anything changes.
const std::map<std::string, MessageAction>& MessageActions() {
    static const std::map<std::string, MessageAction> actions{
        {"wrapper-init",
         [](PallantWebView& host, const nlohmann::json&, const std::string&) { host.SendInitResponse(); }},
        {"extension-message", [](PallantWebView& host, const nlohmann::json&,
                                 const std::string& text) { host.extensions.DeliverPageMessage(text); }},
        {"set-fullscreen", [](PallantWebView& host, const nlohmann::json& message,
                              const std::string&) { host.SetFullscreen(JsonGetBool(message, "fullscreen", false)); }},
        {"set-window-size",
         [](PallantWebView& host, const nlohmann::json& message, const std::string&) {
             const int32_t height = JsonGetInt(message, "windowHeight", 0);
             const int32_t width = JsonGetInt(message, "windowWidth", 0);
             host.SetClientSize(width, height);
         }},
        {"set-window-position",
         [](PallantWebView& host, const nlohmann::json& message, const std::string&) {
             const int32_t y = JsonGetInt(message, "windowY", 0);
             const int32_t x = JsonGetInt(message, "windowX", 0);
             host.MoveWindowTo(x, y);
         }},
        {"maximize-window",
         [](PallantWebView& host, const nlohmann::json&, const std::string&) { ShowWindow(host.window, SW_MAXIMIZE); }},
        {"minimize-window",
         [](PallantWebView& host, const nlohmann::json&, const std::string&) { ShowWindow(host.window, SW_MINIMIZE); }},
        {"restore-window",
         [](PallantWebView& host, const nlohmann::json&, const std::string&) { ShowWindow(host.window, SW_RESTORE); }},
        {"focus-window", [](PallantWebView& host, const nlohmann::json&, const std::string&) { host.FocusWindow(); }},
        {"set-pointer-lock-enabled",
         [](PallantWebView& host, const nlohmann::json& message, const std::string&) {
             host.SetPointerLockEnabled(JsonGetBool(message, "isEnabled", false));
         }},
    };
    return actions;
}

}  // namespace

void PallantWebView::HandleWebMessage(const std::string& text) {
    try {
        // The text counts up to its first NUL character.
        const std::string json(text.c_str(), std::strlen(text.c_str()));
        const nlohmann::json message = nlohmann::json::parse(json, nullptr, false);
        if (message.is_discarded()) return;
        const auto& actions = MessageActions();
        const auto action = actions.find(JsonGetString(message, "type", ""));
        if (action != actions.end()) action->second(*this, message, json);
    } catch (...) {
        // A page message never takes the host down; what was done stays done.
    }
}

void PallantWebView::PostToPage(const std::string& json) {
    if (webView) webView->PostWebMessageAsJson(Utf8ToWide(json).c_str());
}
