// Windows-only. The page's message channel: a message is read from the browser's
// event, checked for its sender, parsed and dispatched by its "type".
#pragma once

#include <cstdint>
#include <string>

#include "webview/webview2.h"

// What a page message can ask of the host. The web view host implements it; the
// channel only reads the message's members and calls the matching request.
class PageRequests {
public:
    virtual void SendInitResponse() = 0;
    virtual void DeliverPageMessage(const std::string& text) = 0;
    virtual void SetFullscreen(bool on) = 0;
    virtual void SetClientSize(int32_t width, int32_t height) = 0;
    virtual void MoveWindowTo(int32_t x, int32_t y) = 0;
    virtual void ShowMainWindow(int showCommand) = 0;
    virtual void FocusWindow() = 0;
    virtual void SetPointerLockEnabled(bool enabled) = 0;

protected:
    ~PageRequests() = default;
};

// Parses the text (up to its first NUL) and runs the request its "type" names. Text
// that is not JSON and unknown types are dropped; nothing raised inside leaves.
void HandleWebMessage(const std::string& text, PageRequests& requests);

// The web-message event: drops a message whose sender's URL does not begin with
// originUrl, or that is not a string, and hands the rest to HandleWebMessage.
void ReceiveWebMessage(ICoreWebView2WebMessageReceivedEventArgs* args, const std::string& originUrl,
                       PageRequests& requests);
