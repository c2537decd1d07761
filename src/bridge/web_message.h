// Windows-only. The page's message channel: a message is read from the browser's
// event, checked for its sender and handed to the dispatch.
#pragma once

#include <string>

#include "bridge/page_message.h"
#include "webview/webview2.h"

// The web-message event: drops a message that does not come from one of the app's
// pages (the Message question against appUrl) or that is not a string, and hands the rest to
// HandleWebMessage.
void ReceiveWebMessage(ICoreWebView2WebMessageReceivedEventArgs* args, const std::string& appUrl,
                       PageRequests& requests);
