// Windows-only. The page's message channel: a message is read from the browser's
// event, checked for its sender and handed to the dispatch.
#pragma once

#include <string>

#include "bridge/page_message.h"
#include "util/webview2.h"

// The web-message event: drops a message that does not come from one of the app's
// pages (the Message question against appUrl) or that is not a string, and hands the rest to
// HandleWebMessage.
void ReceiveWebMessage(ICoreWebView2WebMessageReceivedEventArgs* args, const std::string& appUrl,
                       PageRequests& requests);

// Whether the top-level document is one of the app's pages, so that it may hear the
// host: in remote mode a page can navigate the window to another site, which must get
// nothing meant for the app.
bool TopDocumentIsAppPage(ICoreWebView2* webView, const std::string& appUrl);
