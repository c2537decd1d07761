// Page messages: read from the browser's event and checked for their sender.
#include "bridge/web_message.h"

#include <cwchar>

#include "util/text_convert.h"
#include "util/win_handles.h"
#include "util/navigation_policy.h"

void ReceiveWebMessage(ICoreWebView2WebMessageReceivedEventArgs* args, const std::string& appUrl,
                       PageRequests& requests) {
    CoTaskMemPtr<wchar_t> source;
    args->get_Source(source.put());
    const std::string sender = WideToUtf8(source.get());
    if (!IsAppUrl(AppUrlQuestion::Message, sender, appUrl)) return;
    // A message posted as a non-string value has no text: ignore it.
    CoTaskMemPtr<wchar_t> text;
    if (FAILED(args->TryGetWebMessageAsString(text.put())) || !text) return;
    // Every UTF-16 unit is at least one byte of UTF-8: an over-long text is dropped
    // before it is converted.
    if (wcsnlen(text.get(), maxPageMessageBytes + 1) > maxPageMessageBytes) return;
    HandleWebMessage(WideToUtf8(text.get()), requests, IsSecurePage(sender));
}

bool TopDocumentIsAppPage(ICoreWebView2* webView, const std::string& appUrl) {
    CoTaskMemPtr<wchar_t> source;
    if (!webView || FAILED(webView->get_Source(source.put())) || !source) return false;
    return IsAppUrl(AppUrlQuestion::Message, WideToUtf8(source.get()), appUrl);
}
